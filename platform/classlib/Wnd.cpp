#include "platform/classlib/Wnd.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DataExchange.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/WinApp.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

LPCWSTR AfxRegisterWindowClassOnce(LPCWSTR lpszClassName, UINT nClassStyle, HBRUSH hbrBackground) {
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSW wc;
    if (::GetClassInfoW(hInst, lpszClassName, &wc))
        return lpszClassName;
    wc = WNDCLASSW();
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInst;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = lpszClassName;
    return ::RegisterClassW(&wc) ? lpszClassName : nullptr;
}

namespace {

CObject* NewTempWnd(void* handle) {
    CWnd* p = new CWnd;
    p->m_hWnd = static_cast<HWND>(handle);
    return p;
}

void DeleteTempWnd(CObject* pObject) {
    CWnd* p = static_cast<CWnd*>(pObject);
    p->m_hWnd = nullptr;
    delete p;
}

// The class of windows created without a class name.
const wchar_t kDefaultWndClass[] = L"OTClassLibWnd";

LPCWSTR DefaultWndClass() {
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSW wc;
    if (!::GetClassInfoW(hInst, kDefaultWndClass, &wc)) {
        wc = WNDCLASSW();
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = hInst;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kDefaultWndClass;
        if (!::RegisterClassW(&wc))
            return nullptr;
    }
    return kDefaultWndClass;
}

// Dialog windows are subclassed by the library; their dialog procedure leaves
// every message to the dialog manager's default processing.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL ModifyStyleImpl(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = static_cast<DWORD>(::GetWindowLongW(hWnd, nStyleOffset));
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongW(hWnd, nStyleOffset, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

HWND ParentOwner(HWND hWnd) {
    if (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            // Called directly, so a handler sees the message even while the window is disabled.
            CWnd* pWnd = CWnd::FromHandlePermanent(hWndChild);
            if (pWnd != nullptr)
                AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
        } else {
            ::SendMessageW(hWndChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hWndChild) != nullptr)
            SendToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

}  // namespace

CHandleMap* afxMapHWND() {
    // Never destroyed: window objects with static lifetime may outlive any other static.
    static CHandleMap* pMap = new CHandleMap(afxHandleWnd, NewTempWnd, DeleteTempWnd);
    return pMap;
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_CTLCOLOR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_MESSAGE(WM_DELETEITEM, OnChildItemMessage)
    ON_MESSAGE(WM_COMPAREITEM, OnChildItemMessage)
    ON_MESSAGE(WM_VKEYTOITEM, OnChildItemMessage)
    ON_MESSAGE(WM_CHARTOITEM, OnChildItemMessage)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr), m_hWndOwner(nullptr), m_nFlags(0), m_nModalResult(0) {}

CWnd::~CWnd() {
    // A window still attached goes with its object; derived parts are gone by
    // now, so only the handlers of CWnd run.
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        DestroyWindow();
        if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
            Detach();
    }
}

HWND CWnd::GetSafeHwnd() const {
    // Called on null pointers by design; the barrier keeps the compiler from
    // assuming that `this` is not null.
    const CWnd* p = this;
    __asm__("" : "+r"(p));
    return p != nullptr ? p->m_hWnd : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) { return static_cast<CWnd*>(afxMapHWND()->FromHandle(hWnd)); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    return static_cast<CWnd*>(afxMapHWND()->LookupPermanent(hWnd));
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    afxMapHWND()->SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr && FromHandlePermanent(hWnd) == this)
        afxMapHWND()->RemoveHandle(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

WNDPROC* CWnd::GetSuperWndProcAddr() { return &m_pfnSuper; }

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    WNDPROC oldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (oldWndProc != AfxWndProc && *lplpfn == nullptr)
        *lplpfn = oldWndProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWndControl = ::GetDlgItem(CWnd::SafeHwndOf(pParent), static_cast<int>(nID));
    if (hWndControl == nullptr)
        return FALSE;
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (m_hWnd != nullptr && *lplpfn != nullptr)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*lplpfn));
    *lplpfn = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr)
        cs.lpszClass = DefaultWndClass();
    return cs.lpszClass != nullptr;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, CWnd::SafeHwndOf(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, CWnd::SafeHwndOf(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCTW cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    HWND hWndAttached = nullptr;
    if (!PreCreateWindow(cs) || !AfxHookWindowCreate(this, &hWndAttached)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                  cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    return AfxEndWindowCreate(this, hWndAttached, hWnd);
}

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return FALSE;
    BOOL bPermanent = FromHandlePermanent(hWnd) == this;
    BOOL bTemporary = !bPermanent && afxMapHWND()->LookupTemporary(hWnd) == this;
    BOOL bResult = ::DestroyWindow(hWnd);
    // A permanent object was detached (and may be deleted) at WM_NCDESTROY; a
    // temporary one keeps its handle until the idle clean-up.
    if (!bPermanent && !bTemporary && bResult)
        m_hWnd = nullptr;
    return bResult;
}

LPCDLGTEMPLATEW AfxLoadDialogTemplate(LPCWSTR lpszTemplateName, HINSTANCE hInst) {
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (hResource == nullptr)
        return nullptr;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    if (hTemplate == nullptr)
        return nullptr;
    return static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate));
}

BOOL CWnd::CreateDlg(LPCWSTR lpszTemplateName, CWnd* pParentWnd) {
    HINSTANCE hInst = AfxGetResourceHandle();
    return CreateDlgIndirect(AfxLoadDialogTemplate(lpszTemplateName, hInst), pParentWnd, hInst);
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst) {
    if (m_hWnd != nullptr)
        return FALSE;
    if (hInst == nullptr)
        hInst = AfxGetResourceHandle();
    HWND hWndAttached = nullptr;
    if (lpDialogTemplate == nullptr || !AfxHookWindowCreate(this, &hWndAttached)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, CWnd::SafeHwndOf(pParentWnd), AfxDlgProc, 0);
    return AfxEndWindowCreate(this, hWndAttached, hWnd);
}

BOOL CWnd::ExecuteDlgInit(LPCWSTR lpszResourceName) {
    if (lpszResourceName == nullptr)
        return TRUE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInst, lpszResourceName, MAKEINTRESOURCEW(240) /* RT_DLGINIT */);
    if (hResource == nullptr)
        return TRUE;
    HGLOBAL hData = ::LoadResource(hInst, hResource);
    if (hData == nullptr)
        return FALSE;
    return ExecuteDlgInit(::LockResource(hData));
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource) {
    if (lpResource == nullptr)
        return TRUE;
    // Records of control id (u16), message (u16), data length (u32) and the
    // data, an ANSI string; a control id of 0 ends the list.
    const BYTE* p = static_cast<const BYTE*>(lpResource);
    for (;;) {
        WORD nIDC = *reinterpret_cast<const WORD*>(p);
        if (nIDC == 0)
            return TRUE;
        WORD nMsg = *reinterpret_cast<const WORD*>(p + 2);
        DWORD dwLen = *reinterpret_cast<const DWORD*>(p + 4);
        const char* lpData = reinterpret_cast<const char*>(p + 8);
        p += 8 + dwLen;
        UINT nMessage = 0;
        if (nMsg == 0x0401 || nMsg == LB_ADDSTRING)  // the list-box add of old templates
            nMessage = LB_ADDSTRING;
        else if (nMsg == 0x0403 || nMsg == CB_ADDSTRING)
            nMessage = CB_ADDSTRING;
        else
            continue;
        int nChars = ::MultiByteToWideChar(CP_ACP, 0, lpData, static_cast<int>(dwLen), nullptr, 0);
        CString text;
        if (nChars > 0) {
            ::MultiByteToWideChar(CP_ACP, 0, lpData, static_cast<int>(dwLen), text.GetBuffer(nChars), nChars);
            text.ReleaseBuffer(-1);
        }
        LRESULT lResult = ::SendDlgItemMessageW(m_hWnd, nIDC, nMessage, 0, reinterpret_cast<LPARAM>(text.GetString()));
        if (lResult == LB_ERR || lResult == LB_ERRSPACE)
            return FALSE;
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC pfnSuper = *GetSuperWndProcAddr();
    if (pfnSuper != nullptr)
        return ::CallWindowProcW(pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &AfxGetThreadState()->m_lastSentMsg; }

void CWnd::DetachAtNcDestroy() {
    if (CWinThread* pThread = AfxGetThread()) {
        // The main window gone ends its thread's message loop.
        if (pThread->m_pMainWnd == this) {
            pThread->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        if (pThread->m_pActiveWnd == this)
            pThread->m_pActiveWnd = nullptr;
    }
    // The old procedure goes back unless another subclasser came after us.
    WNDPROC* lplpfn = GetSuperWndProcAddr();
    if (*lplpfn != nullptr &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*lplpfn));
    *lplpfn = nullptr;
    Detach();
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::PreTranslateInput(MSG* pMsg) {
    if ((pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) &&
        (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    // Controls changed by the exchange must not look like user edits.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CException* e) {
        e->Delete();
    }
    pState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    CWnd wndTemp;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        wndTemp.m_hWnd = hWndChild;
        state.m_pOther = &wndTemp;
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        // The window's own update handlers for its controls come first.
        if (CCmdTarget::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        // Only push buttons (not check boxes, radio buttons or group boxes
        // that act by themselves) are disabled for want of a handler.
        BOOL bDisableTemp = bDisableIfNoHndler;
        if (bDisableTemp) {
            if ((::SendMessageW(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0) {
                bDisableTemp = FALSE;
            } else {
                UINT nStyle = static_cast<UINT>(::GetWindowLongW(hWndChild, GWL_STYLE) & 0x0F);
                if (nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX ||
                    nStyle == BS_AUTORADIOBUTTON)
                    bDisableTemp = FALSE;
            }
        }
        state.DoUpdate(pTarget, bDisableTemp);
    }
    wndTemp.m_hWnd = nullptr;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const {
    HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (hWndChild == nullptr || hWndChild == m_hWnd)
        return -1;
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKW;
    }
    return ::GetDlgCtrlID(hWndChild);
}

BOOL CWnd::IsFrameWnd() const { return FALSE; }

CFrameWnd* CWnd::GetParentFrame() const {
    if (m_hWnd == nullptr)
        return nullptr;
    for (CWnd* pParentWnd = GetParent(); pParentWnd != nullptr; pParentWnd = pParentWnd->GetParent()) {
        if (pParentWnd->IsFrameWnd())
            return static_cast<CFrameWnd*>(pParentWnd);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    if (m_hWnd == nullptr)
        return nullptr;
    CFrameWnd* pFrameWnd =
        IsFrameWnd() ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this)) : GetParentFrame();
    if (pFrameWnd != nullptr) {
        CFrameWnd* pTemp;
        while ((pTemp = pFrameWnd->GetParentFrame()) != nullptr)
            pFrameWnd = pTemp;
    }
    return pFrameWnd;
}

CWnd* CWnd::GetParentOwner() const {
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((::GetWindowLongW(hWndParent, GWL_STYLE) & WS_CHILD) && (hWndT = ::GetParent(hWndParent)) != nullptr)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelParent() const {
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = ParentOwner(hWndParent)) != nullptr)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const {
    if (m_hWnd == nullptr)
        return nullptr;
    HWND hWndOwner = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != nullptr)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CWnd* CWnd::GetOwner() const { return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent(); }

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
    HWND hParent = CWnd::SafeHwndOf(pParent);
    HWND hWnd = hParent != nullptr ? hParent : AfxGetMainWnd()->GetSafeHwnd();
    // A popup cannot be owned by a child window.
    while (hWnd != nullptr && (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    HWND hWndTop = hWnd;
    for (HWND hWndTemp = hWnd; hWndTemp != nullptr; hWndTemp = ::GetParent(hWndTop))
        hWndTop = hWndTemp;
    if (hParent == nullptr && hWnd != nullptr)
        hWnd = ::GetLastActivePopup(hWnd);
    if (pWndTop != nullptr) {
        if (hWndTop != nullptr && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = nullptr;
        }
    }
    return FromHandle(hWnd);
}

void CWnd::EndModalState(HWND hWndParent, BOOL bEnableParent, HWND& hWndTop) {
    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    if (hWndTop != nullptr)
        ::EnableWindow(hWndTop, TRUE);
    hWndTop = nullptr;
}

void CWnd::UpdateMainWindowCommands(HWND hWndModal) {
    // The bars behind a dialog at start-up, which comes before the main
    // loop's first idle moment, show the states of their commands as they
    // are, not those of their resource. Later dialogs leave it to the main
    // loop: an update while one is open would run the handlers of the
    // document's commands under it.
    CWinThread* pThread = AfxGetThread();
    if (pThread == nullptr || pThread->m_bMainWindowUpdated)
        return;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd == nullptr || pMainWnd->m_hWnd == nullptr || pMainWnd->m_hWnd == hWndModal ||
        !pMainWnd->IsWindowVisible())
        return;
    AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}

int CWnd::RunModalLoop(DWORD dwFlags) {
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    HWND hWnd = m_hWnd;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0)
                ::SendMessageW(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
            if (lIdleCount == 0)
                UpdateMainWindowCommands(hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!AfxPumpMessage()) {
                // WM_QUIT ends the loop and is passed on to the outer loop.
                ::PostQuitMessage(static_cast<int>(AfxGetThreadState()->m_msgCur.wParam));
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            const MSG& msgCur = AfxGetThreadState()->m_msgCur;
            if (bShowIdle && (msgCur.message == 0x0118 /* WM_SYSTIMER */ || msgCur.message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            // A window destroyed without ending the loop ends it too.
            if (!ContinueModal() || !::IsWindow(hWnd))
                goto ExitModal;
            if (AfxIsIdleMessage(&msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        // Wakes the loop, which may be waiting for a message.
        PostMessage(WM_NULL);
    }
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    DWORD dwExStyle = GetExStyle();
    if (nAdjustType == adjustBorder)
        dwExStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleImpl(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleImpl(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
