#include "docking/frames/QMXPWorkspace.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPMouseManager.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPRebarState.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/DockState.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <vector>

namespace {

CQMXPWorkspace* g_pWorkspace = nullptr;

// The layout version this library writes.
constexpr DWORD kVersionMajor = 6;
constexpr DWORD kVersionMinor = 3;

CString SubKey(const CString& strPath, LPCWSTR lpszKey) { return strPath + lpszKey + L"\\"; }

// The bars a load or save of the frame takes: those docked or floating from
// it, or from every frame.
bool TakesBar(const CQMXPToolBar* pBar, const CQMXPFrameImpl* pFrameImpl, BOOL bFrameOnly) {
    return pBar->GetSafeHwnd() != nullptr && (!bFrameOnly || pBar->GetTopLevelFrame() == pFrameImpl->m_pFrame);
}

// A library-wide manager the workspace owns goes with it.
template <class TManager>
void DeleteIfOwned(BOOL bOwned, TManager*& pManager) {
    if (!bOwned)
        return;
    delete pManager;
    pManager = nullptr;
}

}  // namespace

CQMXPWorkspace* QMXPGetWorkspace() { return g_pWorkspace; }

CQMXPWorkspace::CQMXPWorkspace(BOOL bResourceSmartUpdate)
    : m_strRegSection(L"QMXWorkspace"), m_bResourceSmartUpdate(bResourceSmartUpdate) {
    g_pWorkspace = this;
}

CQMXPWorkspace::~CQMXPWorkspace() {
    DeleteIfOwned(m_bKeyboardManagerAutocreated, qmxKeyboardManager);
    DeleteIfOwned(m_bContextMenuManagerAutocreated, qmxContextMenuManager);
    DeleteIfOwned(m_bMouseManagerAutocreated, qmxMouseManager);
    DeleteIfOwned(m_bUserToolsManagerAutocreated, qmxUserToolsManager);
    DeleteIfOwned(m_bTearOffManagerAutocreated, qmxTearOffManager);
    if (g_pWorkspace == this)
        g_pWorkspace = nullptr;
}

void CQMXPWorkspace::SetRegistryBase(LPCWSTR lpszSectionName) {
    m_strRegSection = lpszSectionName != nullptr ? lpszSectionName : L"";
}

CString CQMXPWorkspace::GetRegSectionPath(LPCWSTR lpszSectionName) {
    CString strPath = QMXPGetRegPath(m_strRegSection);
    if (lpszSectionName != nullptr && *lpszSectionName != L'\0')
        strPath = strPath + lpszSectionName + L"\\";
    return strPath;
}

BOOL CQMXPWorkspace::LoadState(LPCWSTR lpszSectionName, CQMXPFrameImpl* pFrameImpl) {
    if (lpszSectionName != nullptr)
        m_strRegSection = lpszSectionName;
    const CString strPath = GetRegSectionPath();
    PreLoadState();
    {
        CQMXPRegistry reg(FALSE, TRUE);
        if (reg.Open(SubKey(strPath, qmxRegControlBarVersion))) {
            reg.Read(qmxRegVersionMajor, m_iSavedVersionMajor);
            reg.Read(qmxRegVersionMinor, m_iSavedVersionMinor);
        }
    }
    CQMXPToolBar::LoadParameters(strPath);
    qmxCommandManager.LoadState(strPath);
    // Loaded buttons leave the command manager's standard images alone
    // while tool bars merge their resources' changes.
    if (m_bResourceSmartUpdate)
        CQMXPToolbarButton::m_bUpdateImages = FALSE;
    BOOL bResourceChanged = FALSE;
    if (pFrameImpl != nullptr) {
        CFrameWnd* pFrame = pFrameImpl->m_pFrame;
        CQMXPRebarState::LoadRebarState(strPath, pFrame);
        bResourceChanged = LoadToolBarStates(strPath, pFrameImpl);
        pFrameImpl->LoadUserToolbars();
        pFrameImpl->LoadTearOffMenus();
        CDockState dockState;
        dockState.LoadState(m_strRegSection + qmxRegControlBarsKey);
        pFrameImpl->LoadDockState(strPath);
        pFrameImpl->SetDockState(dockState);
    }
    if (qmxMouseManager != nullptr)
        qmxMouseManager->LoadState(strPath);
    if (qmxContextMenuManager != nullptr)
        qmxContextMenuManager->LoadState(strPath);
    if (qmxKeyboardManager != nullptr)
        qmxKeyboardManager->LoadState(strPath, pFrameImpl != nullptr ? pFrameImpl->m_pFrame : nullptr);
    if (qmxUserToolsManager != nullptr)
        qmxUserToolsManager->LoadState(strPath);
    if (m_bResourceSmartUpdate)
        CQMXPToolbarButton::m_bUpdateImages = TRUE;
    if (m_bForceImageReset || (m_bResourceSmartUpdate && bResourceChanged)) {
        for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars()) {
            if (pBar->GetSafeHwnd() != nullptr)
                pBar->ResetAllImages();
        }
        if (pFrameImpl != nullptr && pFrameImpl->m_pFrame->GetSafeHwnd() != nullptr)
            pFrameImpl->m_pFrame->RecalcLayout(TRUE);
    }
    PostLoadState();
    m_iSavedVersionMajor = static_cast<int>(kVersionMajor);
    m_iSavedVersionMinor = static_cast<int>(kVersionMinor);
    return TRUE;
}

BOOL CQMXPWorkspace::CleanState(LPCWSTR lpszSectionName) {
    if (lpszSectionName != nullptr)
        m_strRegSection = lpszSectionName;
    CQMXPRegistry reg(FALSE, FALSE);
    return reg.DeleteKey(GetRegSectionPath(), FALSE);
}

BOOL CQMXPWorkspace::SaveState(LPCWSTR lpszSectionName, CQMXPFrameImpl* pFrameImpl) {
    if (!m_bSaveEnabled)
        return FALSE;
    if (lpszSectionName != nullptr)
        m_strRegSection = lpszSectionName;
    const CString strPath = GetRegSectionPath();
    PreSaveState();
    {
        CQMXPRegistry reg(FALSE, FALSE);
        if (reg.CreateKey(SubKey(strPath, qmxRegControlBarVersion))) {
            reg.Write(qmxRegVersionMajor, kVersionMajor);
            reg.Write(qmxRegVersionMinor, kVersionMinor);
        }
    }
    CQMXPToolBar::SaveParameters(strPath);
    qmxCommandManager.SaveState(strPath);
    if (pFrameImpl != nullptr) {
        CFrameWnd* pFrame = pFrameImpl->m_pFrame;
        CDockState dockState;
        pFrame->GetDockState(dockState);
        dockState.SaveState(m_strRegSection + qmxRegControlBarsKey);
        pFrameImpl->SaveDockState(strPath);
        // A copy, each bar looked up again before its save: the menu bar
        // saves its menus by loading them, which closes an open popup menu,
        // and the popup's bar goes with it.
        const std::vector<CQMXPToolBar*> bars = CQMXPToolBar::GetAllToolbars();
        for (CQMXPToolBar* pBar : bars) {
            const std::vector<CQMXPToolBar*>& live = CQMXPToolBar::GetAllToolbars();
            if (std::find(live.begin(), live.end(), pBar) != live.end() &&
                TakesBar(pBar, pFrameImpl, m_bLoadSaveFrameBarsOnly))
                pBar->SaveState(strPath, static_cast<UINT>(-1), -1);
        }
        pFrameImpl->SaveUserToolbars(m_bLoadSaveFrameBarsOnly);
        pFrameImpl->SaveTearOffMenus(m_bLoadSaveFrameBarsOnly);
        CQMXPRebarState::SaveRebarState(strPath, pFrame);
    }
    // The user's own button images live in their bitmap file.
    if (CQMXPToolBar::m_pUserImages != nullptr)
        CQMXPToolBar::m_pUserImages->SaveToFile();
    if (qmxMouseManager != nullptr)
        qmxMouseManager->SaveState(strPath);
    if (qmxContextMenuManager != nullptr)
        qmxContextMenuManager->SaveState(strPath);
    if (qmxKeyboardManager != nullptr)
        qmxKeyboardManager->SaveState(strPath, pFrameImpl != nullptr ? pFrameImpl->m_pFrame : nullptr);
    if (qmxUserToolsManager != nullptr)
        qmxUserToolsManager->SaveState(strPath);
    PostSaveState();
    return TRUE;
}

BOOL CQMXPWorkspace::OnClosingMainFrame(CQMXPFrameImpl* pFrameImpl) { return SaveState(nullptr, pFrameImpl); }

BOOL CQMXPWorkspace::LoadWindowPlacement(CRect& rectNormalPosition, int& nFlags, int& nShowCmd) {
    CQMXPRegistry reg(FALSE, TRUE);
    if (!reg.Open(GetRegSectionPath(qmxRegWindowPlacement)))
        return FALSE;
    return reg.Read(qmxRegMainWindowRect, rectNormalPosition) && reg.Read(qmxRegFlags, nFlags) &&
           reg.Read(qmxRegShowCmd, nShowCmd);
}

BOOL CQMXPWorkspace::StoreWindowPlacement(const CRect& rectNormalPosition, int nFlags, int nShowCmd) {
    CQMXPRegistry reg(FALSE, FALSE);
    if (!reg.CreateKey(GetRegSectionPath(qmxRegWindowPlacement)))
        return FALSE;
    return reg.Write(qmxRegMainWindowRect, rectNormalPosition) && reg.Write(qmxRegFlags, nFlags) &&
           reg.Write(qmxRegShowCmd, nShowCmd);
}

BOOL CQMXPWorkspace::OnViewDoubleClick(CWnd* pWnd, int iViewId) {
    if (qmxMouseManager == nullptr)
        return FALSE;
    const UINT uiCmd = qmxMouseManager->GetViewDblClickCommand(iViewId);
    if (uiCmd == 0 || uiCmd == static_cast<UINT>(-1)) {
        ::MessageBeep(0xFFFFFFFF);
        return FALSE;
    }
    if (qmxUserToolsManager != nullptr && qmxUserToolsManager->RunTool(uiCmd))
        return TRUE;
    CWnd* pTarget = nullptr;
    if (pWnd == nullptr) {
        CWinApp* pApp = AfxGetApp();
        pTarget = pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    } else {
        // An active in-place frame takes the commands of the views it covers.
        pTarget = qmxCommandTargetOverride != nullptr ? static_cast<CWnd*>(qmxCommandTargetOverride)
                                                      : static_cast<CWnd*>(pWnd->GetTopLevelFrame());
    }
    if (pTarget->GetSafeHwnd() != nullptr)
        pTarget->SendMessage(WM_COMMAND, uiCmd);
    return TRUE;
}

void CQMXPWorkspace::OnContextHelp(CWnd* pWnd, const DWORD* lpHelpIDs) {
    ::WinHelpW(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr, CWnd::GetHelpFilePath(), HELP_CONTEXTMENU,
               reinterpret_cast<ULONG_PTR>(lpHelpIDs));
}

BOOL CQMXPWorkspace::ShowPopupMenu(UINT uiMenuResId, const CPoint& point, CWnd* pWnd) {
    if (qmxContextMenuManager == nullptr)
        return FALSE;
    return qmxContextMenuManager->ShowPopupMenu(uiMenuResId, point.x, point.y, pWnd, FALSE);
}

BOOL CQMXPWorkspace::LoadToolBarStates(const CString& strPath, CQMXPFrameImpl* pFrameImpl) {
    BOOL bResourceChanged = FALSE;
    // Each bar's state resizes its row: the frame is laid out once, after the last bar.
    CQMXPLayoutHold hold(pFrameImpl->m_pFrame);
    // A copy: loading may make or remove bars.
    const std::vector<CQMXPToolBar*> bars = CQMXPToolBar::GetAllToolbars();
    for (CQMXPToolBar* pBar : bars) {
        if (!TakesBar(pBar, pFrameImpl, m_bLoadSaveFrameBarsOnly) || pBar->IsFloating())
            continue;
        pBar->LoadState(strPath, static_cast<UINT>(-1), -1);
        bResourceChanged = bResourceChanged || pBar->ResourceButtonsChanged();
    }
    return bResourceChanged;
}

void CQMXPWorkspace::PreLoadState() {}

void CQMXPWorkspace::PostLoadState() {}

void CQMXPWorkspace::PreSaveState() {}

void CQMXPWorkspace::PostSaveState() {}
