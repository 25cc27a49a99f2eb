// The context-menu manager: menus shown by id or handle for an owner, run
// modally for the chosen command, one popup at a time, none for a library
// dialog that does not take the commands itself; the workspace's use of
// the context-menu and mouse managers.
#include "MenuTestSupport.h"

#include "DockingTestResources.h"
#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPDialog.h"
#include "docking/frames/QMXPMouseManager.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPMenuButton.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace docking_test;

namespace {

// A click on the popup's first item (after the release of the click that
// opened the menu, which chooses nothing).
void ChooseFirstItem(CQMXPPopupMenu* pPopup) {
    CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
    const CPoint ptItem = pBar->GetButton(0)->GetRect().CenterPoint();
    const LPARAM lParam = MAKELPARAM(ptItem.x, ptItem.y);
    pBar->SendMessage(WM_LBUTTONUP, 0, lParam);
    pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    pBar->SendMessage(WM_LBUTTONUP, 0, lParam);
}

// What the tracked popup is told once it shows: run from a timer, since
// TrackPopupMenu does not return before the popup is gone.
std::function<void(CQMXPPopupMenu*)> g_answer;

void CALLBACK AnswerTrackedPopup(HWND, UINT, UINT_PTR idEvent, DWORD) {
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    if (pPopup == nullptr || pPopup->GetSafeHwnd() == nullptr)
        return;
    ::KillTimer(nullptr, idEvent);
    g_answer(pPopup);
}

class ContextMenuManagerTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        ASSERT_TRUE(m_manager.AddMenu(L"Document", IDR_DOCKTEST_DOC));
        Log().clear();
    }
    HMENU FileMenu() const { return ::GetSubMenu(m_manager.GetMenuByName(L"Document"), 0); }
    UINT Track(std::function<void(CQMXPPopupMenu*)> answer) {
        g_answer = std::move(answer);
        ::SetTimer(nullptr, 0, 10, AnswerTrackedPopup);
        return m_manager.TrackPopupMenu(FileMenu(), 100, 100, m_pFrame);
    }

    CQMXPContextMenuManager m_manager;
};

TEST_F(ContextMenuManagerTest, TrackingReturnsTheChosenCommandAndSendsNothing) {
    UINT uiResId = 0;
    EXPECT_NE(m_manager.GetMenuByName(L"Document", &uiResId), nullptr);
    EXPECT_EQ(uiResId, static_cast<UINT>(IDR_DOCKTEST_DOC));
    EXPECT_FALSE(m_manager.AddMenu(L"Other", IDR_DOCKTEST_DOC));

    const UINT uiChosen = Track(ChooseFirstItem);
    EXPECT_EQ(uiChosen, 30001u);
    Pump();
    EXPECT_TRUE(LoggedCommands().empty());

    EXPECT_EQ(Track([](CQMXPPopupMenu* pPopup) { pPopup->SendMessage(WM_KEYDOWN, VK_ESCAPE); }), 0u);
    // The menu stays the manager's: it can be shown again.
    EXPECT_TRUE(::IsMenu(FileMenu()));
}

TEST_F(ContextMenuManagerTest, ByIdAtMinusOneItOpensInsideTheOwnersCornerAndASecondClosesTheFirst) {
    EXPECT_FALSE(m_manager.ShowPopupMenu(12345u, 0, 0, m_pFrame));
    ASSERT_TRUE(m_manager.ShowPopupMenu(static_cast<UINT>(IDR_DOCKTEST_DOC), -1, -1, m_pFrame));
    CQMXPPopupMenu* pFirst = OpenPopups().front();
    CPoint ptCorner(0, 0);
    m_pFrame->ClientToScreen(&ptCorner);
    EXPECT_EQ(MenuRect(pFirst).TopLeft(), ptCorner + CPoint(5, 5));
    const HWND hwndFirst = pFirst->GetSafeHwnd();

    CQMXPPopupMenu* pSecond = m_manager.ShowPopupMenu(FileMenu(), 200, 200, m_pFrame, FALSE, TRUE);
    ASSERT_NE(pSecond, nullptr);
    Pump();
    EXPECT_FALSE(::IsWindow(hwndFirst));
    EXPECT_TRUE(::IsWindow(pSecond->GetSafeHwnd()));
}

TEST_F(ContextMenuManagerTest, AControlInALibraryDialogGetsAPopupOnlyWithItsOwnMessages) {
    CQMXPDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_DOCKTEST_PREVIEW_BAR, m_pFrame));
    CWnd* pButton = dialog.GetDlgItem(0xE304);
    ASSERT_NE(pButton, nullptr);
    EXPECT_EQ(m_manager.ShowPopupMenu(FileMenu(), 100, 100, pButton, FALSE, TRUE), nullptr);
    EXPECT_EQ(m_manager.ShowPopupMenu(FileMenu(), 100, 100, &dialog, FALSE, TRUE), nullptr);
    CQMXPPopupMenu* pPopup = m_manager.ShowPopupMenu(FileMenu(), 100, 100, &dialog, TRUE, TRUE);
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(dialog.GetActiveMenu(), pPopup);
    pPopup->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(dialog.GetActiveMenu(), nullptr);
    dialog.DestroyWindow();
}

// A context-menu manager that logs where its state goes.
class CLoggingMenus : public CQMXPContextMenuManager {
public:
    BOOL LoadState(LPCWSTR lpszPath) override { return Record(L"load:" + std::wstring(lpszPath)), TRUE; }
    BOOL SaveState(LPCWSTR lpszPath) override { return Record(L"save:" + std::wstring(lpszPath)), TRUE; }
};

// The workspace reaches the managers while they exist: it shows context
// menus by id, runs the command of a double click in a kind of view, keeps
// the managers' state right below its own path and deletes those it owns.
TEST_F(ContextMenuManagerTest, TheWorkspaceShowsMenusRunsDoubleClicksAndKeepsTheManagersState) {
    CLoggingMenus menus;
    ASSERT_TRUE(menus.AddMenu(L"Document", IDR_DOCKTEST_DOC));
    CWnd view;
    ASSERT_TRUE(view.Create(L"STATIC", L"", WS_CHILD, CRect(0, 0, 50, 50), m_pFrame, 1234));
    std::wstring strPath;
    {
        CQMXPWorkspace workspace;
        workspace.SetRegistryBase(L"ManagersTest");
        strPath = workspace.GetRegSectionPath();
        auto* pMouse = new CQMXPMouseManager;
        workspace.m_bMouseManagerAutocreated = TRUE;
        pMouse->SetCommandForDblClick(7, 30002);
        for (const auto& c : {std::pair<CWnd*, int>{&view, 7}, {nullptr, 7}, {&view, 8}}) {
            Log().clear();
            const bool bRun = c.second == 7;
            EXPECT_EQ(workspace.OnViewDoubleClick(c.first, c.second) != FALSE, bRun) << c.second;
            EXPECT_EQ(LoggedCommands(), bRun ? std::vector<UINT>{30002} : std::vector<UINT>{}) << c.second;
        }
        ASSERT_TRUE(workspace.ShowPopupMenu(IDR_DOCKTEST_DOC, CPoint(100, 100), m_pFrame));
        EXPECT_EQ(OpenPopups().size(), 1u);
        CloseAllPopups();
        Log().clear();
        ASSERT_TRUE(workspace.SaveState());
        pMouse->SetCommandForDblClick(7, 30003);
        workspace.LoadState();
        EXPECT_EQ(pMouse->GetViewDblClickCommand(7), 30002u);
        EXPECT_EQ(Log(), (std::vector<std::wstring>{L"save:" + strPath, L"load:" + strPath}));
    }
    EXPECT_EQ(qmxMouseManager, nullptr);
    EXPECT_EQ(qmxContextMenuManager, &menus);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, strPath.c_str());
    view.DestroyWindow();
}

}  // namespace

namespace {

// Closes the menu the button opened, choosing the first item of a library
// popup, or cancelling the system's menu; what it found is kept.
struct MenuButtonVisit {
    bool bLibraryPopup = false;
};
MenuButtonVisit g_menuButtonVisit;

void CALLBACK AnswerMenuButton(HWND, UINT, UINT_PTR idEvent, DWORD) {
    ::KillTimer(nullptr, idEvent);
    CQMXPPopupMenu* pPopup = CQMXPPopupMenu::GetActiveMenu();
    g_menuButtonVisit.bLibraryPopup = pPopup != nullptr && pPopup->GetSafeHwnd() != nullptr;
    if (!g_menuButtonVisit.bLibraryPopup) {
        ::EndMenu();
        return;
    }
    ChooseFirstItem(pPopup);
}

}  // namespace

// A menu push button opens its menu as a library popup through the
// context-menu manager, whose chosen command becomes the button's result;
// with the system-menu flag the system's menu opens instead.
TEST_F(ContextMenuManagerTest, AMenuButtonTracksItsMenuThroughTheManagerUnlessToldOtherwise) {
    CQMXPMenuButton button;
    ASSERT_TRUE(button.Create(L"Menu", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), m_pFrame, 20002));
    button.m_hMenu = FileMenu();
    for (BOOL bOSMenu : {FALSE, TRUE}) {
        button.m_bOSMenu = bOSMenu;
        button.m_nMenuResult = 0;
        g_menuButtonVisit = MenuButtonVisit{};
        ::SetTimer(nullptr, 0, 10, AnswerMenuButton);
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(g_menuButtonVisit.bLibraryPopup, !bOSMenu);
        EXPECT_EQ(button.m_nMenuResult, bOSMenu ? 0 : 30001);
        EXPECT_FALSE(button.IsPressed());
    }
    button.DestroyWindow();
}
