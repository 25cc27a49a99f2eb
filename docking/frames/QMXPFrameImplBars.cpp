// The frame's own tool bars: those the user made (ids of a range the
// application sets) and those torn off menus, and their registry state.
#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <memory>

namespace {

// Child, visible, gripper, top, bottom border, hidden while an item is active in place.
constexpr DWORD kUserBarStyle = 0x50402808;
// Tool tips, fly-by prompts, dynamic size.
constexpr DWORD kUserBarStyleAdded = 0x34;
constexpr DWORD kDockAnySide = 0xF000;
constexpr wchar_t kTearOffSection[] = L"ControlBars-TearOff";
constexpr wchar_t kRegID[] = L"ID";
constexpr wchar_t kRegName[] = L"Name";
constexpr wchar_t kRegState[] = L"State";

CString TearOffKey(const CString& strSection, int n) {
    CString strKey;
    strKey.Format(L"%s-%d", static_cast<LPCWSTR>(strSection), n);
    return strKey;
}

void DestroyAndDelete(CWnd* pBar) {
    if (pBar->GetSafeHwnd() != nullptr)
        pBar->DestroyWindow();
    delete pBar;
}

}  // namespace

void CQMXPFrameImpl::SetupUserBar(CQMXPToolBar* pBar) {
    pBar->SetBarStyle(pBar->GetBarStyle() | kUserBarStyleAdded);
    pBar->EnableDocking(kDockAnySide);
}

UINT CQMXPFrameImpl::GetFreeCtrlBarID() const {
    const UINT uiNone = static_cast<UINT>(-1);
    if (m_uiUserToolbarFirst == uiNone || m_uiUserToolbarLast == uiNone || m_uiUserToolbarFirst > m_uiUserToolbarLast)
        return uiNone;
    if (static_cast<uint64_t>(m_listUserDefinedToolbars.GetCount()) >=
        static_cast<uint64_t>(m_uiUserToolbarLast) - m_uiUserToolbarFirst + 1)
        return uiNone;
    for (UINT uiID = m_uiUserToolbarFirst; uiID <= m_uiUserToolbarLast; ++uiID) {
        BOOL bTaken = FALSE;
        for (POSITION pos = m_listUserDefinedToolbars.GetHeadPosition(); pos != nullptr && !bTaken;) {
            auto* pBar = static_cast<CWnd*>(m_listUserDefinedToolbars.GetNext(pos));
            bTaken = static_cast<UINT>(pBar->GetDlgCtrlID()) == uiID;
        }
        if (!bTaken)
            return uiID;
        if (uiID == uiNone - 1)
            break;
    }
    return uiNone;
}

CQMXPToolBar* CQMXPFrameImpl::CreateNewToolbar(LPCWSTR lpszName) {
    const UINT uiID = GetFreeCtrlBarID();
    if (uiID == static_cast<UINT>(-1)) {
        // The size of the range as its ends give it: 1 for the range left unset at -1.
        const int nMax = static_cast<int>(m_uiUserToolbarLast - m_uiUserToolbarFirst + 1);
        CString strFormat;
        AfxLoadStringResource(IDS_QMXP_TOOLBARS_MAX, strFormat);
        CString strMessage;
        strMessage.Format(strFormat, nMax);
        AfxMessageBox(strMessage, MB_OK | MB_ICONINFORMATION);
        return nullptr;
    }
    auto* pBar = new CQMXPToolBar;
    if (!pBar->Create(m_pFrame, kUserBarStyle, uiID)) {
        delete pBar;
        return nullptr;
    }
    pBar->SetWindowText(lpszName);
    SetupUserBar(pBar);
    CRect rectBar;
    pBar->GetWindowRect(&rectBar);
    const CPoint ptFloat(::GetSystemMetrics(SM_CXFULLSCREEN) / 2, ::GetSystemMetrics(SM_CYFULLSCREEN) / 2);
    pBar->FloatControlBar(CRect(ptFloat, rectBar.Size()), 0, true);
    pBar->SetMRUWidth(32767);
    m_pFrame->RecalcLayout(TRUE);
    m_listUserDefinedToolbars.AddTail(pBar);
    return pBar;
}

BOOL CQMXPFrameImpl::DeleteToolbar(CQMXPToolBar* pToolBar) {
    POSITION pos = m_listUserDefinedToolbars.Find(pToolBar);
    if (pos == nullptr)
        return FALSE;
    m_listUserDefinedToolbars.RemoveAt(pos);
    pToolBar->RemoveStateFromRegistry(m_strControlBarRegEntry, static_cast<UINT>(-1), -1);
    CQMXPDockBar* pDockBar = pToolBar->GetParentDockBar();
    CQMXPMiniFrameWnd* pMiniFrame = pToolBar->GetParentMiniFrame(TRUE);
    if (pDockBar == nullptr && pMiniFrame != nullptr)
        pMiniFrame->RemoveControlBar(pToolBar, FALSE, FALSE);
    else if (pDockBar != nullptr)
        pDockBar->RemoveControlBar(pToolBar);
    DestroyAndDelete(pToolBar);
    m_pFrame->RecalcLayout(TRUE);
    return TRUE;
}

void CQMXPFrameImpl::LoadUserToolbars() {
    if (m_uiUserToolbarFirst == static_cast<UINT>(-1) || m_uiUserToolbarLast == 0xFFFFFFFF ||
        m_uiUserToolbarFirst > m_uiUserToolbarLast)
        return;
    for (UINT uiID = m_uiUserToolbarFirst; uiID <= m_uiUserToolbarLast; ++uiID) {
        // A window is made only for a bar the user made: most numbers are free.
        if (!CQMXPToolBar::HasStoredState(m_strControlBarRegEntry, uiID))
            continue;
        auto* pBar = new CQMXPToolBar;
        if (!pBar->Create(m_pFrame, kUserBarStyle, uiID) ||
            !pBar->LoadState(m_strControlBarRegEntry, static_cast<UINT>(-1), -1)) {
            DestroyAndDelete(pBar);
            continue;
        }
        SetupUserBar(pBar);
        if (m_pDockManager != nullptr)
            m_pDockManager->DockControlBar(pBar, 0, nullptr);
        m_listUserDefinedToolbars.AddTail(pBar);
    }
}

void CQMXPFrameImpl::SaveUserToolbars(BOOL bFrameBarsOnly) {
    for (POSITION pos = m_listUserDefinedToolbars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPToolBar*>(m_listUserDefinedToolbars.GetNext(pos));
        if (!bFrameBarsOnly || pBar->GetTopLevelFrame() == m_pFrame)
            pBar->SaveState(m_strControlBarRegEntry, static_cast<UINT>(-1), -1);
    }
}

CString CQMXPFrameImpl::GetTearOffSection() const {
    CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    CString strSection = pWorkspace != nullptr ? pWorkspace->GetRegSectionPath(L"") : CString();
    return strSection + kTearOffSection;
}

void CQMXPFrameImpl::SaveTearOffMenus(BOOL bFrameBarsOnly) {
    const CString strSection = GetTearOffSection();
    for (int n = 0;; ++n) {
        CQMXPRegistry reg(FALSE, FALSE);
        if (!reg.DeleteKey(TearOffKey(strSection, n)))
            break;
    }
    // Saved bars are numbered without gaps: the loader stops at the first missing key.
    int n = 0;
    for (POSITION pos = m_listTearOffToolbars.GetHeadPosition(); pos != nullptr;) {
        auto* pBar = static_cast<CQMXPToolBar*>(m_listTearOffToolbars.GetNext(pos));
        if (bFrameBarsOnly && pBar->GetTopLevelFrame() != m_pFrame)
            continue;
        CQMXPRegistry reg(FALSE, FALSE);
        if (!reg.CreateKey(TearOffKey(strSection, n)))
            continue;
        CString strName;
        pBar->GetWindowText(strName);
        reg.Write(kRegID, static_cast<DWORD>(pBar->GetDlgCtrlID()));
        reg.Write(kRegName, strName);
        reg.Write(kRegState, static_cast<CObject*>(pBar));
        pBar->SaveState(strSection, static_cast<UINT>(n), -1);
        ++n;
    }
}

void CQMXPFrameImpl::LoadTearOffMenus() {
    while (!m_listTearOffToolbars.IsEmpty())
        DestroyAndDelete(static_cast<CWnd*>(m_listTearOffToolbars.RemoveHead()));
    const CString strSection = GetTearOffSection();
    for (int n = 0;; ++n) {
        CQMXPRegistry reg(FALSE, TRUE);
        if (!reg.Open(TearOffKey(strSection, n)))
            break;
        DWORD dwID = 0;
        CString strName;
        CObject* pObject = nullptr;
        // Only a tool bar is made from the stored state, whatever class it names.
        if (!reg.Read(kRegID, dwID) || !reg.Read(kRegName, strName) ||
            !reg.ReadObjectOf(kRegState, RUNTIME_CLASS(CQMXPToolBar), pObject))
            break;
        auto* pBar = static_cast<CQMXPToolBar*>(pObject);
        if (!pBar->Create(m_pFrame, kUserBarStyle, dwID)) {
            delete pBar;
            break;
        }
        pBar->SetWindowText(strName);
        SetupUserBar(pBar);
        m_listTearOffToolbars.AddTail(pBar);
        pBar->LoadState(strSection, static_cast<UINT>(n), -1);
        if (m_pDockManager != nullptr)
            m_pDockManager->DockControlBar(pBar, 0, nullptr);
    }
}
