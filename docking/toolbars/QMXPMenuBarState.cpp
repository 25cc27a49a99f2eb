// The menu bar in the registry and its reset: one stored set of buttons per
// document type's menu and one for the default menu, each cached by menu
// handle while the program runs.
#include "docking/toolbars/QMXPMenuBar.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/WinApp.h"

#include <vector>

namespace {

constexpr UINT kNoCommand = static_cast<UINT>(-1);
// Sent to the frame before the default menu is rebuilt without a resource.
constexpr UINT kDefaultMenuRebuilt = 0x0366;

bool KeepsResetButtons() {
    const CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    return pWorkspace != nullptr && pWorkspace->IsResourceSmartUpdate();
}

// The multiple-document templates with a shared menu.
std::vector<CMultiDocTemplate*> MenuTemplates() {
    std::vector<CMultiDocTemplate*> templates;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_pDocManager == nullptr)
        return templates;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
        auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pApp->GetNextDocTemplate(pos));
        if (pTemplate != nullptr && pTemplate->m_hMenuShared != nullptr)
            templates.push_back(pTemplate);
    }
    return templates;
}

}  // namespace

CMultiDocTemplate* CQMXPMenuBar::TemplateOfMenu(HMENU hMenu) {
    for (CMultiDocTemplate* pTemplate : MenuTemplates()) {
        if (pTemplate->m_hMenuShared == hMenu)
            return pTemplate;
    }
    return nullptr;
}

BOOL CQMXPMenuBar::IsTemplateMenu(HMENU hMenu) { return TemplateOfMenu(hMenu) != nullptr; }

void CQMXPMenuBar::BuildOrigItems(UINT uiMenuResID) {
    while (!m_OrigButtons.IsEmpty())
        delete m_OrigButtons.RemoveHead();
    if (!KeepsResetButtons() || uiMenuResID == 0)
        return;
    HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiMenuResID));
    if (hMenu == nullptr)
        return;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        const UINT uiID = ::GetMenuItemID(hMenu, i);
        if (hSubMenu != nullptr)
            m_OrigButtons.AddTail(new CQMXPToolbarMenuButton(kNoCommand, hSubMenu, -1));
        else
            m_OrigButtons.AddTail(new CQMXPToolbarButton(uiID, -1, nullptr, FALSE, TRUE));
    }
    ::DestroyMenu(hMenu);
}

BOOL CQMXPMenuBar::LoadMenuState(LPCWSTR lpszProfile, HMENU hMenu, UINT uiMenuResID, BOOL bDefault) {
    BuildOrigItems(uiMenuResID);
    m_bResourceWasChanged = FALSE;
    const BOOL bLoaded = CQMXPToolBar::LoadState(lpszProfile, static_cast<UINT>(-1), static_cast<int>(uiMenuResID));
    if (bLoaded && !m_bResourceWasChanged) {
        qmxMenuHash.StoreBarButtons(hMenu, this);
        return TRUE;
    }
    CFrameWnd* pFrame = ParentFrame();
    if (pFrame == nullptr || pFrame->GetSafeHwnd() == nullptr)
        return FALSE;
    if (bDefault && m_uiDefMenuResId == 0)
        pFrame->SendMessage(kDefaultMenuRebuilt, 0, 0);
    // The menu as its resource gives it; the application may change it.
    BuildButtons(hMenu);
    pFrame->SendMessage(QMXTOOLBAR_RESETMENU, bDefault ? m_uiDefMenuResId : uiMenuResID);
    qmxMenuHash.StoreBarButtons(hMenu, this);
    return FALSE;
}

BOOL CQMXPMenuBar::LoadState(LPCWSTR lpszProfileName, UINT, int) {
    const CString strProfile = QMXPGetRegPath(qmxRegMenuBarSection, lpszProfileName);
    const BOOL bMaximize = m_bMaximizeMode;
    SetMaximizeMode(FALSE, nullptr, FALSE);
    {
        // Each menu's state resizes the bar's row: the frame is laid out once, after the last.
        CQMXPLayoutHold hold(ParentFrame());
        if (m_bDocMenus) {
            for (CMultiDocTemplate* pTemplate : MenuTemplates())
                LoadMenuState(strProfile, pTemplate->m_hMenuShared, pTemplate->GetResourceID(), FALSE);
        }
        if (m_hDefaultMenu != nullptr)
            LoadMenuState(strProfile, m_hDefaultMenu, 0, TRUE);
    }
    BOOL bRestored = FALSE;
    if (m_hMenu != nullptr)
        bRestored = qmxMenuHash.RestoreBarButtons(m_hMenu, this);
    auto* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, ParentFrame());
    if (bMaximize && pMDIFrame != nullptr && pMDIFrame->MDIGetActive() != nullptr)
        SetMaximizeMode(TRUE, pMDIFrame->MDIGetActive(), FALSE);
    if (bRestored && ParentFrame() != nullptr && ParentFrame()->GetSafeHwnd() != nullptr) {
        ParentFrame()->RecalcLayout();
        Invalidate();
        UpdateWindow();
    }
    AdjustLayout();
    RebuildAccelerators();
    return TRUE;
}

void CQMXPMenuBar::SaveMenuState(LPCWSTR lpszProfile, HMENU hMenu, UINT uiMenuResID) {
    if (hMenu == nullptr || !qmxMenuHash.RestoreBarButtons(hMenu, this))
        return;
    BuildOrigItems(uiMenuResID);
    CQMXPToolBar::SaveState(lpszProfile, static_cast<UINT>(-1), static_cast<int>(uiMenuResID));
}

BOOL CQMXPMenuBar::SaveState(LPCWSTR lpszProfileName, UINT, int) {
    const CString strProfile = QMXPGetRegPath(qmxRegMenuBarSection, lpszProfileName);
    if (m_hMenu != nullptr)
        qmxMenuHash.StoreBarButtons(m_hMenu, this);
    const BOOL bMaximize = m_bMaximizeMode;
    SetMaximizeMode(FALSE, nullptr, FALSE);
    if (m_bDocMenus) {
        for (CMultiDocTemplate* pTemplate : MenuTemplates())
            SaveMenuState(strProfile, pTemplate->m_hMenuShared, pTemplate->GetResourceID());
    }
    SaveMenuState(strProfile, m_hDefaultMenu, 0);
    if (m_hMenu != nullptr)
        qmxMenuHash.RestoreBarButtons(m_hMenu, this);
    auto* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, ParentFrame());
    if (bMaximize && pMDIFrame != nullptr && pMDIFrame->MDIGetActive() != nullptr)
        SetMaximizeMode(TRUE, pMDIFrame->MDIGetActive(), FALSE);
    AdjustLayout();
    return TRUE;
}

BOOL CQMXPMenuBar::RestoreFromResource() {
    if (m_hMenu != nullptr)
        qmxMenuHash.StoreBarButtons(m_hMenu, this);
    if (qmxTearOffManager != nullptr)
        qmxTearOffManager->Reset(nullptr);
    const BOOL bMaximize = m_bMaximizeMode;
    SetMaximizeMode(FALSE, nullptr, FALSE);

    auto* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, ParentFrame());
    CMDIChildWnd* pActiveChild = pMDIFrame != nullptr ? pMDIFrame->MDIGetActive() : nullptr;
    HMENU hMenuToShow = nullptr;
    HINSTANCE hInst = AfxGetResourceHandle();
    for (CMultiDocTemplate* pTemplate : MenuTemplates()) {
        HMENU hNew = ::LoadMenuW(hInst, MAKEINTRESOURCEW(pTemplate->GetResourceID()));
        if (hNew == nullptr)
            continue;
        HMENU hOld = pTemplate->m_hMenuShared;
        pTemplate->m_hMenuShared = hNew;
        BuildButtons(hNew);
        qmxMenuHash.StoreBarButtons(hNew, this);
        if (pActiveChild != nullptr && pActiveChild->m_hMenuShared == hOld)
            hMenuToShow = hNew;
        RefreshChildFrameMenus(pTemplate);
        qmxMenuHash.RemoveBarButtons(hOld);
        if (hOld == m_hMenu)
            m_hMenu = nullptr;
        ::DestroyMenu(hOld);
    }
    if (m_uiDefMenuResId != 0) {
        HMENU hNew = ::LoadMenuW(hInst, MAKEINTRESOURCEW(m_uiDefMenuResId));
        if (hNew != nullptr) {
            HMENU hOld = m_hDefaultMenu;
            BuildButtons(hNew);
            qmxMenuHash.StoreBarButtons(hNew, this);
            m_hDefaultMenu = hNew;
            if (hMenuToShow == nullptr)
                hMenuToShow = hNew;
            if (pMDIFrame != nullptr)
                pMDIFrame->m_hMenuDefault = hNew;
            if (hOld != nullptr) {
                qmxMenuHash.RemoveBarButtons(hOld);
                if (hOld == m_hMenu)
                    m_hMenu = nullptr;
                ::DestroyMenu(hOld);
            }
        }
    }
    if (hMenuToShow != nullptr) {
        qmxMenuHash.RestoreBarButtons(hMenuToShow, this);
        m_hMenu = hMenuToShow;
    }
    if (!bMaximize && ParentFrame() != nullptr && ParentFrame()->GetSafeHwnd() != nullptr)
        ParentFrame()->RecalcLayout();
    if (bMaximize && pActiveChild != nullptr)
        SetMaximizeMode(TRUE, pActiveChild, FALSE);
    AdjustLayout();
    return TRUE;
}

void CQMXPMenuBar::ResetAllImages() {
    std::vector<HMENU> menus;
    for (CMultiDocTemplate* pTemplate : MenuTemplates())
        menus.push_back(pTemplate->m_hMenuShared);
    if (m_hDefaultMenu != nullptr)
        menus.push_back(m_hDefaultMenu);
    for (HMENU hMenu : menus) {
        if (!qmxMenuHash.RestoreBarButtons(hMenu, this))
            continue;
        CQMXPToolBar::ResetAllImages();
        qmxMenuHash.StoreBarButtons(hMenu, this);
    }
    if (m_hMenu != nullptr)
        qmxMenuHash.RestoreBarButtons(m_hMenu, this);
    if (ParentFrame() != nullptr && ParentFrame()->GetSafeHwnd() != nullptr)
        ParentFrame()->RecalcLayout();
}
