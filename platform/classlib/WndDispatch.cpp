// Dispatch of window messages through the message maps, commands and
// notifications, and the reflection of child notifications.
#include "platform/classlib/Wnd.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/ScrollBar.h"
#include "platform/classlib/ThreadState.h"

#include <windowsx.h>

namespace {

const AFX_MSGMAP_ENTRY* FindWndEntry(const AFX_MSGMAP* pMap, UINT message) {
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; ++pEntry) {
            if (pEntry->nSig < AfxSig_l_w_l)
                continue;  // command, notification and update entries go through OnCmdMsg
            if (pEntry->nMessage == AFX_WM_REGISTERED) {
                if (pEntry->pnRegistered != nullptr && *pEntry->pnRegistered != 0 &&
                    *pEntry->pnRegistered == message)
                    return pEntry;
            } else if (pEntry->nMessage == message) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

bool IsReflectedChildMessage(UINT message) {
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return true;
    default:
        return false;
    }
}

// The state of a menu or accelerator command before it is routed: only
// whether it is enabled counts.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCWSTR) override {}

    BOOL m_bEnabled = TRUE;
};

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = 0;
    // `this` may be gone after a handler ran: only locals are used afterwards.
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
    } else {
        UINT nLookup = message;
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            nLookup = AFX_WM_CTLCOLOR;
        const AFX_MSGMAP_ENTRY* pEntry = FindWndEntry(GetMessageMap(), nLookup);
        if (pEntry == nullptr || !DispatchWndMsg(pEntry, message, wParam, lParam, &lResult))
            return FALSE;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::DispatchWndMsg(const AFX_MSGMAP_ENTRY* pEntry, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult) {
    AFX_PMSG pfn = pEntry->pfn;
    LRESULT lResult = 0;
    CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (pEntry->nSig) {
    case AfxSig_l_w_l:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_l_w_l>(pfn))(wParam, lParam);
        break;
    case AfxSig_v_v:
        (this->*AfxFromPmsg<AfxPmsgW_v_v>(pfn))();
        break;
    case AfxSig_b_v:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_v>(pfn))();
        break;
    case AfxSig_u_v:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_u_v>(pfn))();
        break;
    case AfxSig_i_CREATE:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_i_CREATE>(pfn))(reinterpret_cast<LPCREATESTRUCTW>(lParam));
        break;
    case AfxSig_b_CREATE:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_CREATE>(pfn))(reinterpret_cast<LPCREATESTRUCTW>(lParam));
        break;
    case AfxSig_v_u_i_i:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_i_i>(pfn))(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                                                         static_cast<short>(HIWORD(lParam)));
        break;
    case AfxSig_v_u_RECT:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_RECT>(pfn))(static_cast<UINT>(wParam), reinterpret_cast<LPRECT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_v_u_pt:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_pt>(pfn))(static_cast<UINT>(wParam), point);
        break;
    case AfxSig_b_u_s_pt:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_u_s_pt>(pfn))(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                                                    point);
        break;
    case AfxSig_v_u_u_u:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_u_u>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_W:
        (this->*AfxFromPmsg<AfxPmsgW_v_W>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case AfxSig_v_W_pt:
        (this->*AfxFromPmsg<AfxPmsgW_v_W_pt>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)), point);
        break;
    case AfxSig_b_W_u_u:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_W_u_u>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)),
                                                                   LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_i_W_u_u:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_i_W_u_u>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)),
                                                                   LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_u_u_SB:
        // The scroll bar is whatever object wraps the control; it adds no data to CWnd.
        (this->*AfxFromPmsg<AfxPmsgW_v_u_u_SB>(pfn))(
            LOWORD(wParam), HIWORD(wParam), static_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam))));
        break;
    case AfxSig_v_t:
        (this->*AfxFromPmsg<AfxPmsgW_v_t>(pfn))(static_cast<UINT_PTR>(wParam));
        break;
    case AfxSig_b_D:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_D>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case AfxSig_v_b_NCCALC:
        (this->*AfxFromPmsg<AfxPmsgW_v_b_NCCALC>(pfn))(static_cast<BOOL>(wParam),
                                                            reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    case AfxSig_l_pt:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_l_pt>(pfn))(point);
        break;
    case AfxSig_v_MINMAX:
        (this->*AfxFromPmsg<AfxPmsgW_v_MINMAX>(pfn))(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case AfxSig_v_u_W_b:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_W_b>(pfn))(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)),
                                                         HIWORD(wParam));
        break;
    case AfxSig_v_b_h:
        (this->*AfxFromPmsg<AfxPmsgW_v_b_h>(pfn))(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
        break;
    case AfxSig_b_b:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_b>(pfn))(static_cast<BOOL>(wParam));
        break;
    case AfxSig_v_b:
        (this->*AfxFromPmsg<AfxPmsgW_v_b>(pfn))(static_cast<BOOL>(wParam));
        break;
    case AfxSig_v_POS:
        (this->*AfxFromPmsg<AfxPmsgW_v_POS>(pfn))(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case AfxSig_v_u_l:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_l>(pfn))(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_v_u_sz:
        (this->*AfxFromPmsg<AfxPmsgW_v_u_sz>(pfn))(static_cast<UINT>(wParam), reinterpret_cast<LPCWSTR>(lParam));
        break;
    case AfxSig_l_u_u_M:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_l_u_u_M>(pfn))(LOWORD(wParam), HIWORD(wParam),
                                                                   CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        break;
    case AfxSig_v_M_u_b:
        (this->*AfxFromPmsg<AfxPmsgW_v_M_u_b>(pfn))(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)),
                                                         LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_i_DRAW:
        (this->*AfxFromPmsg<AfxPmsgW_v_i_DRAW>(pfn))(static_cast<int>(wParam),
                                                          reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_v_i_MEASURE:
        (this->*AfxFromPmsg<AfxPmsgW_v_i_MEASURE>(pfn))(static_cast<int>(wParam),
                                                             reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        lResult = TRUE;
        break;
    case AfxSig_hbr_D_W_u:
        lResult = reinterpret_cast<LRESULT>((this->*AfxFromPmsg<AfxPmsgW_hbr_D_W_u>(pfn))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), FromHandle(reinterpret_cast<HWND>(lParam)),
            message - WM_CTLCOLORMSGBOX));
        break;
    case AfxSig_hbr_D_u: {
        // Reflected: lParam carries the CTLCOLOR_xxx code. No brush leaves it to the parent.
        HBRUSH hbr = (this->*AfxFromPmsg<AfxPmsgW_hbr_D_u>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                                      static_cast<UINT>(lParam));
        if (hbr == nullptr)
            return FALSE;
        lResult = reinterpret_cast<LRESULT>(hbr);
        break;
    }
    case AfxSig_v_HDROP:
        (this->*AfxFromPmsg<AfxPmsgW_v_HDROP>(pfn))(reinterpret_cast<HDROP>(wParam));
        break;
    case AfxSig_b_HELPINFO:
        lResult = (this->*AfxFromPmsg<AfxPmsgW_b_HELPINFO>(pfn))(reinterpret_cast<HELPINFO*>(lParam));
        break;
    case AfxSig_v_b_W_W: {
        HWND hWndActivate = reinterpret_cast<HWND>(lParam);
        HWND hWndDeactivate = reinterpret_cast<HWND>(wParam);
        BOOL bActivate = hWndActivate == m_hWnd;
        (this->*AfxFromPmsg<AfxPmsgW_v_b_W_W>(pfn))(bActivate, FromHandle(hWndActivate),
                                                         FromHandle(hWndDeactivate));
        break;
    }
    default:
        return FALSE;
    }
    *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == nullptr) {
        // A menu or accelerator command: one whose item is disabled is dropped,
        // as it would be if the user could reach the item.
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        if (pChild != nullptr && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndCtrl));
    int nCode = static_cast<int>(pNMHDR->code);
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    CWnd* pChild = FromHandlePermanent(hWndCtrl);
    if (pChild != nullptr && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        // Only this object's own map: the reflection is not routed further.
        int nCode = HIWORD(wParam);
        if (!CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr))
            return FALSE;
        if (pResult != nullptr)
            *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        LRESULT lTemp = 0;
        AFX_NOTIFY notify = {pResult != nullptr ? pResult : &lTemp, pNMHDR};
        return CCmdTarget::OnCmdMsg(0, MAKELONG(static_cast<int>(pNMHDR->code), WM_REFLECT_BASE + WM_NOTIFY),
                                    &notify, nullptr);
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        return OnWndMsg(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, wParam,
                              static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX), pResult);
    }
    if (IsReflectedChildMessage(message))
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == nullptr)
        return FALSE;
    return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}
