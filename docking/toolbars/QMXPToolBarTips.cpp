// The tool tips of a tool bar: one tool per button, its text the command's
// short name with the shortcut key of the frame's accelerator table.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/frames/QMXPKeyHelper.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

namespace {

constexpr int kMaxTipResource = 256;
constexpr int kMaxAnsiTip = 200;

// The key text of the first accelerator of the command in the table; empty when none.
CString KeyOfCommand(HACCEL hAccel, UINT uiCmd) {
    if (hAccel == nullptr)
        return CString();
    const int nCount = ::CopyAcceleratorTableW(hAccel, nullptr, 0);
    std::vector<ACCEL> accels(static_cast<size_t>(nCount > 0 ? nCount : 0));
    if (nCount <= 0 || ::CopyAcceleratorTableW(hAccel, accels.data(), nCount) != nCount)
        return CString();
    for (ACCEL& accel : accels) {
        if (accel.cmd == uiCmd) {
            CString strKey;
            CQMXPKeyHelper(&accel).Format(strKey);
            return strKey;
        }
    }
    return CString();
}

}  // namespace

void CQMXPToolBar::UpdateTooltips() {
    if (m_wndToolTip.GetSafeHwnd() == nullptr)
        return;
    for (int i = 1; i <= m_nTooltipsCount; ++i)
        m_wndToolTip.DelTool(this, static_cast<UINT_PTR>(i));
    m_nTooltipsCount = 0;
    int iTool = 1;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr; ++iTool) {
        const CRect rect = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos))->GetRect();
        if (m_wndToolTip.AddTool(this, LPSTR_TEXTCALLBACKW, &rect, static_cast<UINT_PTR>(iTool)))
            ++m_nTooltipsCount;
    }
}

CString CQMXPToolBar::GetTipText(const CQMXPToolbarButton* pButton) const {
    const UINT uiID = pButton->m_nID;
    const BOOL bNoCommand = uiID == 0 || uiID == static_cast<UINT>(-1);
    const BOOL bUserTool = qmxUserToolsManager != nullptr && qmxUserToolsManager->LookupTool(uiID) != nullptr;
    CString strTip;
    if (bNoCommand || (pButton->m_bUserButton && !pButton->m_strText.IsEmpty())) {
        strTip = CQMXPToolbarButton::GetDisplayText(pButton->m_strText);
    } else if (bUserTool) {
        strTip = pButton->m_strText;
    } else {
        CString strFull;
        if (AfxLoadStringResource(uiID, strFull))
            strTip = AfxExtractStringField(strFull.Left(kMaxTipResource), 1);
    }
    if (strTip.IsEmpty() || !m_bShowShortcutKeys || bNoCommand)
        return strTip;
    CFrameWnd* pFrame = QMXFindOwnerFrame(const_cast<CQMXPToolBar*>(this));
    CString strKey = pFrame != nullptr ? KeyOfCommand(pFrame->GetDefaultAccelerator(), uiID) : CString();
    if (strKey.IsEmpty() && pFrame != nullptr && pFrame->GetTopLevelFrame() != nullptr)
        strKey = KeyOfCommand(pFrame->GetTopLevelFrame()->m_hAccelTable, uiID);
    if (!strKey.IsEmpty())
        strTip += L" (" + strKey + L")";
    return strTip;
}

INT_PTR CQMXPToolBar::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const {
    if (!m_bShowTooltips)
        return -1;
    const INT_PTR nChild = CQMXPBaseToolBar::OnToolHitTest(point, pTI);
    if (nChild != -1)
        return nChild;
    const int iHit = const_cast<CQMXPToolBar*>(this)->HitTest(point);
    CQMXPToolbarButton* pButton = GetButton(iHit);
    if (pButton == nullptr)
        return -1;
    // A button with a tip of its own.
    if (pButton->OnToolHitTest(this, pTI))
        return pButton->m_nID == static_cast<UINT>(-1) ? 0 : pButton->m_nID;
    const CString strTip = GetTipText(pButton);
    if (strTip.IsEmpty())
        return -1;
    const UINT uiID = pButton->m_nID == static_cast<UINT>(-1) ? 0 : pButton->m_nID;
    if (pTI != nullptr) {
        pTI->rect = pButton->GetRect();
        pTI->hwnd = m_hWnd;
        pTI->uId = uiID;
        // The caller frees the text.
        pTI->lpszText = ::_wcsdup(strTip);
    }
    return uiID;
}

BOOL CQMXPToolBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pNMH = reinterpret_cast<NMHDR*>(lParam);
    if (pNMH != nullptr && (pNMH->code == TTN_NEEDTEXTW || pNMH->code == TTN_NEEDTEXTA) &&
        pNMH->hwndFrom == m_wndToolTip.GetSafeHwnd())
        return OnNeedToolTipText(pNMH, pResult);
    return CQMXPBaseToolBar::OnNotify(wParam, lParam, pResult);
}

BOOL CQMXPToolBar::OnNeedToolTipText(NMHDR* pNMH, LRESULT* pResult) {
    static CString s_strTipText;
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    if (OnToolHitTest(point, &ti) == -1 && ti.lpszText == nullptr)
        return FALSE;
    s_strTipText = ti.lpszText != nullptr ? ti.lpszText : L"";
    std::free(ti.lpszText);
    if (s_strTipText.IsEmpty())
        return FALSE;
    if (::GetVersion() & 0x80000000) {
        // Windows 9x asks for ANSI text.
        static char s_szTipTextA[kMaxAnsiTip];
        const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, s_strTipText, -1, nullptr, 0, nullptr, nullptr);
        std::vector<char> ansi(static_cast<size_t>(std::max(nBytes, 1)), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, s_strTipText, -1, ansi.data(), nBytes, nullptr, nullptr);
        const size_t nCopy = std::min<size_t>(std::strlen(ansi.data()), kMaxAnsiTip - 1);
        std::memcpy(s_szTipTextA, ansi.data(), nCopy);
        s_szTipTextA[nCopy] = '\0';
        auto* pInfoA = reinterpret_cast<NMTTDISPINFOA*>(pNMH);
        pInfoA->lpszText = s_szTipTextA;
        pInfoA->hinst = nullptr;
    } else {
        auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMH);
        pInfo->lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(s_strTipText));
        pInfo->hinst = nullptr;
    }
    ::SendMessageW(pNMH->hwndFrom, WM_SETFONT, reinterpret_cast<WPARAM>(globalData.fontRegular.m_hObject), FALSE);
    ::SetWindowPos(pNMH->hwndFrom, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    *pResult = 0;
    return TRUE;
}
