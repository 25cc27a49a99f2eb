#include "docking/frames/QMXPContextMenuManager.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPDialog.h"
#include "docking/frames/QMXPPropertyPage.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "platform/classlib/StringList.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/WinThread.h"

CQMXPContextMenuManager* qmxContextMenuManager = nullptr;

namespace {

constexpr UINT kHashSize = 17;
// The temporary item bar that loads and saves a menu's state.
constexpr DWORD kStateBarStyle = 0x50402808;
constexpr UINT kStateBarId = 0xE800;

bool IsLibraryDialog(const CWnd* pWnd) {
    return pWnd != nullptr &&
           (pWnd->IsKindOf(RUNTIME_CLASS(CQMXPDialog)) || pWnd->IsKindOf(RUNTIME_CLASS(CQMXPPropertyPage)));
}

// Tells a library dialog or property page which popup is open.
void TellDialog(CWnd* pWnd, CQMXPPopupMenu* pPopup) {
    if (auto* pDialog = DYNAMIC_DOWNCAST(CQMXPDialog, pWnd))
        pDialog->SetActiveMenu(pPopup);
    else if (auto* pPage = DYNAMIC_DOWNCAST(CQMXPPropertyPage, pWnd))
        pPage->SetActiveMenu(pPopup);
}

}  // namespace

CQMXPContextMenuManager::CQMXPContextMenuManager() : m_nLastCommandID(0), m_bTrackMode(FALSE) {
    m_Menus.InitHashTable(kHashSize);
    m_MenuNames.InitHashTable(kHashSize);
    qmxContextMenuManager = this;
}

CQMXPContextMenuManager::~CQMXPContextMenuManager() {
    POSITION pos = m_Menus.GetStartPosition();
    while (pos != nullptr) {
        UINT uiResId = 0;
        HMENU hMenu = nullptr;
        m_Menus.GetNextAssoc(pos, uiResId, hMenu);
        ::DestroyMenu(hMenu);
    }
    if (qmxContextMenuManager == this)
        qmxContextMenuManager = nullptr;
}

BOOL CQMXPContextMenuManager::AddMenu(LPCWSTR lpszName, UINT uiMenuResId) {
    HMENU hMenu = nullptr;
    if (lpszName == nullptr || m_Menus.Lookup(uiMenuResId, hMenu) || m_MenuNames.Lookup(lpszName, hMenu))
        return FALSE;
    hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiMenuResId));
    if (hMenu == nullptr)
        return FALSE;
    m_Menus.SetAt(uiMenuResId, hMenu);
    m_MenuNames.SetAt(lpszName, hMenu);
    return TRUE;
}

CQMXPPopupMenu* CQMXPContextMenuManager::ShowPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner,
                                                       BOOL bOwnMessage, BOOL bKeepMenu) {
    // A library dialog or page, or a control on one, routes its own menus.
    if (!bOwnMessage && pWndOwner != nullptr && (IsLibraryDialog(pWndOwner) || IsLibraryDialog(pWndOwner->GetParent())))
        return nullptr;
    if (qmxTearOffManager != nullptr)
        qmxTearOffManager->SetupTearOffMenus(hmenuPopup);
    if (m_bTrackMode) {
        bOwnMessage = TRUE;
    } else if (!bOwnMessage) {
        while (pWndOwner != nullptr && (pWndOwner->GetStyle() & WS_CHILD))
            pWndOwner = pWndOwner->GetParent();
    }

    auto* pPopup = new CQMXPPopupMenu;
    pPopup->bOwnMenu = qmxAutoDestroyMenus && !bKeepMenu;
    pPopup->bTrackMode = m_bTrackMode;
    if (CQMXPPopupMenu* pOpen = CQMXPPopupMenu::GetActiveMenu(); pOpen != nullptr && pOpen->GetSafeHwnd() != nullptr)
        pOpen->SendMessage(WM_CLOSE);
    // A popup that cannot be made has deleted itself and left the menu to the caller.
    if (!pPopup->Create(pWndOwner, x, y, hmenuPopup, FALSE, bOwnMessage))
        return nullptr;
    return pPopup;
}

BOOL CQMXPContextMenuManager::ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage) {
    HMENU hMenu = nullptr;
    if (!m_Menus.Lookup(uiMenuResId, hMenu))
        return FALSE;
    if (x == -1 && y == -1 && pWndOwner != nullptr) {
        CPoint pt(0, 0);
        pWndOwner->ClientToScreen(&pt);
        x = pt.x + 5;
        y = pt.y + 5;
    }
    const HMENU hSubMenu = ::GetSubMenu(hMenu, 0);
    if (hSubMenu == nullptr)
        return FALSE;
    return ShowPopupMenu(hSubMenu, x, y, pWndOwner, bOwnMessage, TRUE) != nullptr;
}

UINT CQMXPContextMenuManager::TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd* pWndOwner) {
    m_nLastCommandID = 0;
    CWinThread* pThread = AfxGetThread();
    if (pThread == nullptr)
        return 0;
    m_bTrackMode = TRUE;
    CQMXPPopupMenu* pPopup = ShowPopupMenu(hmenuPopup, x, y, pWndOwner, FALSE, TRUE);
    m_bTrackMode = FALSE;
    if (pPopup == nullptr)
        return 0;
    const HWND hwndPopup = pPopup->GetSafeHwnd();
    CWnd* pDialog = pWndOwner != nullptr ? pWndOwner->GetParent() : nullptr;
    TellDialog(pDialog, pPopup);

    // The popup runs its own messages until it is gone.
    while (::IsWindow(hwndPopup)) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (!::IsWindow(hwndPopup))
                break;
            if (!pThread->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (!::IsWindow(hwndPopup))
            break;
        pThread->OnIdle(0);
        if (::IsWindow(hwndPopup))
            ::WaitMessage();
    }
    TellDialog(pDialog, nullptr);
    return m_nLastCommandID;
}

HMENU CQMXPContextMenuManager::GetMenuByName(LPCWSTR lpszName, UINT* puiOrigResID) const {
    HMENU hMenu = nullptr;
    if (lpszName == nullptr || !m_MenuNames.Lookup(lpszName, hMenu))
        return nullptr;
    if (puiOrigResID != nullptr) {
        *puiOrigResID = 0;
        POSITION pos = m_Menus.GetStartPosition();
        while (pos != nullptr) {
            UINT uiResId = 0;
            HMENU hEntry = nullptr;
            m_Menus.GetNextAssoc(pos, uiResId, hEntry);
            if (hEntry == hMenu) {
                *puiOrigResID = uiResId;
                break;
            }
        }
    }
    return hMenu;
}

void CQMXPContextMenuManager::GetMenuNames(CStringList& listOfNames) const {
    listOfNames.RemoveAll();
    POSITION pos = m_MenuNames.GetStartPosition();
    while (pos != nullptr) {
        CString strName;
        HMENU hMenu = nullptr;
        m_MenuNames.GetNextAssoc(pos, strName, hMenu);
        listOfNames.AddTail(strName);
    }
}

BOOL CQMXPContextMenuManager::LoadState(LPCWSTR lpszProfileName) {
    const CString strSection = QMXPGetRegPath(qmxRegContextMenuManager, lpszProfileName);
    POSITION pos = m_Menus.GetStartPosition();
    while (pos != nullptr) {
        UINT uiResId = 0;
        HMENU hMenu = nullptr;
        m_Menus.GetNextAssoc(pos, uiResId, hMenu);
        const HMENU hSubMenu = ::GetSubMenu(hMenu, 0);
        CQMXPPopupMenuBar bar;
        if (hSubMenu == nullptr ||
            !bar.Create(CWnd::FromHandle(::GetDesktopWindow()), kStateBarStyle, kStateBarId) ||
            !bar.BuildFromMenu(hSubMenu)) {
            bar.DestroyWindow();
            return FALSE;
        }
        if (bar.LoadState(strSection, uiResId, 0))
            qmxMenuHash.StoreBarButtons(hSubMenu, &bar);
        bar.DestroyWindow();
    }
    return TRUE;
}

BOOL CQMXPContextMenuManager::SaveState(LPCWSTR lpszProfileName) {
    const CString strSection = QMXPGetRegPath(qmxRegContextMenuManager, lpszProfileName);
    POSITION pos = m_Menus.GetStartPosition();
    while (pos != nullptr) {
        UINT uiResId = 0;
        HMENU hMenu = nullptr;
        m_Menus.GetNextAssoc(pos, uiResId, hMenu);
        const HMENU hSubMenu = ::GetSubMenu(hMenu, 0);
        CQMXPPopupMenuBar bar;
        if (hSubMenu == nullptr || !bar.Create(CWnd::FromHandle(::GetDesktopWindow()), kStateBarStyle, kStateBarId))
            return FALSE;
        if (qmxMenuHash.RestoreBarButtons(hSubMenu, &bar) && !bar.SaveState(strSection, uiResId, 0)) {
            bar.DestroyWindow();
            return FALSE;
        }
        bar.DestroyWindow();
    }
    return TRUE;
}
