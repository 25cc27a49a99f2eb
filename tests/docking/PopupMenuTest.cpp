// Popup menus in the test MDI frame: where they open near the work area's
// edges, the items they build (recent files, separators, short menus), the
// menu delay, keys between menu levels, and the palette screen.
#include "MenuTestSupport.h"

#include "CanvasTestSupport.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/RecentFileList.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace docking_test;

namespace {

const std::wstring kLongText = L"An item with a long text that widens the menu";

// A tool bar with one menu button whose sub-menu is the menu.
class CMenuButtonBar : public CQMXPToolBar {
public:
    BOOL Make(CWnd* pFrame, HMENU hMenu) {
        if (!Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE840))
            return FALSE;
        auto* pButton = new CQMXPToolbarMenuButton(static_cast<UINT>(-1), hMenu, -1, L"&Menu");
        pButton->m_bText = TRUE;
        InsertButton(pButton);
        ::DestroyMenu(hMenu);
        EnableDocking(0xF000);
        return TRUE;
    }
    // Presses the menu button: its popup opens at once.
    CQMXPPopupMenu* Open() {
        const CPoint point = GetButton(0)->GetRect().CenterPoint();
        SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        return static_cast<CQMXPToolbarMenuButton*>(GetButton(0))->GetPopupMenu();
    }
};

class PopupMenuTest : public MenuTest {};

TEST_F(PopupMenuTest, MenusStayInsideTheWorkArea) {
    const CRect rectWork = WorkArea();
    CQMXPMenuBar menuBar;
    ASSERT_TRUE(menuBar.Create(m_pFrame, 0x50402808, AFX_IDW_MENUBAR));
    menuBar.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&menuBar);
    menuBar.CreateFromMenu(MakeMenu({{0, L"&File", {{30001, L"&Open"}}},
                                     {0, L"&Help", {{0, L"&More", {{30002, L"&About"}}}, {30003, kLongText.c_str()}}}}));
    // The frame's right edge at the work area's: the Help menu does not fit beside it.
    PlaceFrame(CRect(rectWork.right - 200, rectWork.top, rectWork.right, rectWork.top + 300));
    const CPoint ptHelp = menuBar.GetButton(1)->GetRect().CenterPoint();
    menuBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptHelp.x, ptHelp.y));
    CQMXPPopupMenu* pHelp = CQMXPPopupMenu::GetActiveMenu();
    ASSERT_NE(pHelp, nullptr);
    EXPECT_EQ(pHelp->dropDirection, QMXP_DROP_NONE);
    EXPECT_EQ(MenuRect(pHelp).right, rectWork.right - 1);
    // Its sub-menu opens to its left.
    pHelp->SendMessage(WM_KEYDOWN, VK_DOWN);
    pHelp->SendMessage(WM_KEYDOWN, VK_RIGHT);
    CQMXPPopupMenu* pMore = CQMXPPopupMenu::GetActiveMenu();
    ASSERT_NE(pMore, pHelp);
    EXPECT_EQ(pMore->GetParentPopup(), pHelp);
    EXPECT_EQ(pMore->dropDirection, QMXP_DROP_LEFT);
    CRect rectHelp;
    pHelp->GetWindowRect(&rectHelp);
    EXPECT_EQ(MenuRect(pMore).right, rectHelp.left);
    Pump();
    EXPECT_TRUE(SaveScreen(CRect(MenuRect(pMore).left, rectWork.top, rectWork.right, MenuRect(pHelp).bottom + 10),
                               L"docking_menu_with_submenu"));
    CloseAllPopups();
    menuBar.DestroyWindow();
    // What the closed popups queued is handled while the bar object still exists.
    Pump();
}

TEST_F(PopupMenuTest, AToolBarMenuNearTheBottomOpensAboveOrScrolls) {
    auto items = [](UINT nCount) {
        std::vector<MenuItem> list;
        for (UINT id = 30001; id < 30001 + nCount; ++id)
            list.push_back({id, L"Item"});
        return list;
    };
    const CRect rectWork = WorkArea();
    PlaceFrame(CRect(rectWork.left, rectWork.bottom - 300, rectWork.left + 500, rectWork.bottom));
    struct Case {
        UINT nItems;
        int nRoomAboveShort;  // the work area's top this far inside the menu placed above; 0: the real one
        int nDirection;
        bool bScrolls;
    };
    const Case cases[] = {
        {2, 0, QMXP_DROP_UP, false},
        {30, 0, QMXP_DROP_UP, false},
        // A task bar along the top: the menu that would reach under it is cut below it.
        {30, 20, QMXP_DROP_NONE, true},
        {80, 0, QMXP_DROP_NONE, true},
    };
    int nHeightAbove = 0;
    for (const Case& c : cases) {
        CMenuButtonBar bar;
        ASSERT_TRUE(bar.Make(m_pFrame, MakeMenu(items(c.nItems))));
        m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_BOTTOM);
        m_pFrame->RecalcLayout();
        CRect rectButton = bar.GetButton(0)->GetRect();
        bar.ClientToScreen(&rectButton);
        s_rectWork = rectWork;
        if (c.nRoomAboveShort > 0) {
            s_rectWork.top = rectButton.top - nHeightAbove + c.nRoomAboveShort;
            CQMXPPopupMenu::pfnWorkAreaAt = InjectedWorkArea;
        }
        CQMXPPopupMenu* pPopup = bar.Open();
        ASSERT_NE(pPopup, nullptr);
        const CRect rectMenu = MenuRect(pPopup);
        EXPECT_EQ(pPopup->dropDirection, c.nDirection) << c.nItems;
        EXPECT_EQ(pPopup->bScrollable, c.bScrolls) << c.nItems;
        EXPECT_EQ(rectMenu.bottom, rectButton.top) << c.nItems;
        EXPECT_GE(rectMenu.top, s_rectWork.top) << c.nItems;
        EXPECT_EQ(!pPopup->rectScrollDn.IsRectEmpty(), c.bScrolls) << c.nItems;
        nHeightAbove = rectMenu.Height();
        CloseAllPopups();
        bar.DestroyWindow();
        CQMXPPopupMenu::pfnWorkAreaAt = nullptr;
    }
}

TEST_F(PopupMenuTest, ItemsOfRecentFilesAndSeparators) {
    CRecentFileList list(0, L"Recent", L"File%d", 4);
    m_app.m_pRecentFileList = &list;
    const std::vector<MenuItem> withPlaceholder = {
        {30001, L"&New"}, {0, nullptr}, {ID_FILE_MRU_FILE1, L"Recent File"}, {0, nullptr}, {30002, L"E&xit"}};
    struct Case {
        std::vector<std::wstring> files;
        std::vector<MenuItem> items;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {{}, withPlaceholder, {L"&New", L"-", L"E&xit"}},
        {{L"C:\\Reports\\b.otd", L"C:\\Reports\\a.otd"}, withPlaceholder,
         {L"&New", L"-", L"&1 C:\\Reports\\a.otd", L"&2 C:\\Reports\\b.otd", L"-", L"E&xit"}},
        // No separator at the ends or twice in a row.
        {{}, {{0, nullptr}, {30001, L"A"}, {0, nullptr}, {0, nullptr}, {30002, L"B"}, {0, nullptr}}, {L"A", L"-", L"B"}},
    };
    for (const Case& c : cases) {
        for (const std::wstring& file : c.files)
            list.Add(file.c_str());
        CQMXPPopupMenu* pPopup = OpenPopup(MakeMenu(c.items), CPoint(100, 100));
        ASSERT_NE(pPopup, nullptr);
        EXPECT_EQ(ItemTexts(pPopup), c.expected);
        CloseAllPopups();
        while (!list[0].IsEmpty())
            list.Remove(0);
    }
    m_app.m_pRecentFileList = nullptr;
}

TEST_F(PopupMenuTest, AShortMenuHidesARarelyUsedCommandButKeepsItsMnemonic) {
    const BOOL bSavedRecent = CQMXPToolBar::m_bRecentlyUsedMenus;
    CQMXPToolBar::m_bRecentlyUsedMenus = TRUE;
    CQMXPToolBar::AddAlwaysShownCommand(30001);
    for (int i = 0; i < 20; ++i)
        qmxCmdUsageCount.AddCmd(30002);
    CMenuButtonBar bar;
    ASSERT_TRUE(bar.Make(m_pFrame, MakeMenu({{30001, L"&X always"}, {30002, L"&C often"}, {30003, L"&B never"}})));
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    CQMXPPopupMenu* pPopup = bar.Open();
    ASSERT_NE(pPopup, nullptr);
    ASSERT_EQ(pPopup->GetMenuItemCount(), 3);
    EXPECT_EQ(ItemTexts(pPopup)[1], L"&C often");
    EXPECT_TRUE(pPopup->GetMenuItem(2)->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton)));
    CRect rectShort = MenuRect(pPopup);
    Pump();
    EXPECT_TRUE(SaveScreen(CRect(rectShort.left, rectShort.top - 30, rectShort.right + 10, rectShort.bottom + 10),
                               L"docking_menu_short"));
    pPopup->SendMessage(WM_KEYDOWN, 'B');
    Pump();
    EXPECT_EQ(LoggedCommands(), (std::vector<UINT>{30003}));
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);
    // Ctrl+Down shows every command.
    pPopup = bar.Open();
    ASSERT_NE(pPopup, nullptr);
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    pPopup->SendMessage(WM_KEYDOWN, VK_DOWN);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(ItemTexts(pPopup), (std::vector<std::wstring>{L"&X always", L"&C often", L"&B never"}));
    CloseAllPopups();
    bar.DestroyWindow();
    CQMXPToolBar::m_lstBasicCommands.RemoveAll();
    qmxCmdUsageCount.Reset();
    CQMXPToolBar::m_bRecentlyUsedMenus = bSavedRecent;
}

TEST_F(PopupMenuTest, KeysAndClicksBetweenMenuLevels) {
    HMENU hMenu = MakeMenu({{30001, L"&First"}, {0, L"&Sub", {{30002, L"&Inner"}}}, {30003, L"&Last"}});
    // The cursor on the first item when the menu opens under it.
    CRect rectFrame;
    m_pFrame->GetWindowRect(&rectFrame);
    const CPoint ptOpen(rectFrame.left + 100, rectFrame.top + 100);
    CCursorAt cursor(ptOpen + CPoint(10, 8));
    CQMXPPopupMenu* pPopup = OpenPopup(hMenu, ptOpen);
    ASSERT_NE(pPopup, nullptr);
    CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
    CPoint ptFirst = pBar->GetButton(0)->GetRect().CenterPoint();
    // The release of the opening click chooses nothing; a click does.
    pBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptFirst.x, ptFirst.y));
    Pump();
    EXPECT_TRUE(LoggedCommands().empty());
    ASSERT_EQ(CQMXPPopupMenu::GetActiveMenu(), pPopup);
    // Right opens the sub-menu, Escape and Left close only it.
    for (UINT nKey : {VK_ESCAPE, VK_LEFT}) {
        pPopup->SendMessage(WM_KEYDOWN, VK_HOME);
        pPopup->SendMessage(WM_KEYDOWN, VK_DOWN);
        pPopup->SendMessage(WM_KEYDOWN, VK_RIGHT);
        CQMXPPopupMenu* pSub = CQMXPPopupMenu::GetActiveMenu();
        ASSERT_NE(pSub, pPopup);
        EXPECT_EQ(pSub->GetParentPopup(), pPopup);
        pSub->SendMessage(WM_KEYDOWN, nKey);
        EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), pPopup) << nKey;
        EXPECT_EQ(pPopup->GetSelItem()->m_nID, static_cast<UINT>(-1));
    }
    pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
    pBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptFirst.x, ptFirst.y));
    Pump();
    EXPECT_EQ(LoggedCommands(), (std::vector<UINT>{30001}));
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);
}

// A bar whose menu notes, when the bar leaves its keyboard mode, whether
// the menu was still there, and may close it, as a window taking the focus does.
class CDeactivationBar : public CMenuButtonBar {
public:
    void Deactivate() override {
        vecMenuShownAtDeactivation.push_back(::IsWindow(hwndMenu) != FALSE);
        if (bClosesMenu && ::IsWindow(hwndMenu))
            ::SendMessageW(hwndMenu, WM_CLOSE, 0, 0);
        CMenuButtonBar::Deactivate();
    }
    HWND hwndMenu = nullptr;
    bool bClosesMenu = false;
    std::vector<bool> vecMenuShownAtDeactivation;
};

// The item's command runs also when the menu went with the bar's deactivation.
TEST_F(PopupMenuTest, ALetterOpensOrRunsItsItemAtOnceTheLastOfASharedLetterWinning) {
    const UINT kTree = ID_MENUTEST_FIRST;
    const UINT kImage = ID_MENUTEST_FIRST + 1;
    // No handler: the command update keeps it disabled.
    const UINT kTwice = ID_MENUTEST_LAST + 1;
    const std::vector<MenuItem> sharedByASubMenu = {{0, L"&Toolbars", {{ID_MENUTEST_FIRST + 3, L"&Main"}}},
                                                    {kTree, L"Section &Tree"},
                                                    {kImage, L"&Image"}};
    const struct {
        const char* name;
        std::vector<MenuItem> items;
        UINT nKey;
        std::vector<UINT> commands;  // run by the letter
        bool subMenuOpen;            // the letter opened a sub-menu instead
        bool closesMenu = false;     // the bar's deactivation closes the menu
    } cases[] = {
        {"the later of two runs", sharedByASubMenu, 'T', {kTree}, false},
        {"a letter of one item", sharedByASubMenu, 'I', {kImage}, false},
        {"a later sub-menu opens", {{kTree, L"&Tree"}, {0, L"&Toolbars", {{kImage, L"&Main"}}}}, 'T', {}, true},
        {"a later disabled item closes the menu", {{kTree, L"&Tree"}, {kTwice, L"&Twice", {}, MF_GRAYED}}, 'T', {},
         false},
        {"the menu closed by the deactivation", sharedByASubMenu, 'I', {kImage}, false, true},
    };
    for (const auto& test : cases) {
        CDeactivationBar bar;
        bar.bClosesMenu = test.closesMenu;
        ASSERT_TRUE(bar.Make(m_pFrame, MakeMenu(test.items)));
        m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
        CQMXPPopupMenu* pPopup = bar.Open();
        ASSERT_NE(pPopup, nullptr) << test.name;
        bar.hwndMenu = pPopup->GetSafeHwnd();
        const size_t nBefore = LoggedCommands().size();
        pPopup->SendMessage(WM_KEYDOWN, test.nKey);
        Pump();
        const std::vector<UINT> logged = LoggedCommands();
        EXPECT_EQ(std::vector<UINT>(logged.begin() + static_cast<std::ptrdiff_t>(nBefore), logged.end()), test.commands)
            << test.name;
        if (test.subMenuOpen) {
            ASSERT_NE(CQMXPPopupMenu::GetActiveMenu(), nullptr) << test.name;
            EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu()->GetParentPopup(), pPopup) << test.name;
            EXPECT_TRUE(bar.vecMenuShownAtDeactivation.empty()) << test.name;
        } else {
            EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr) << test.name;
            EXPECT_FALSE(::IsWindow(bar.hwndMenu)) << test.name;
            // The bar leaves its keyboard mode while its menu still shows.
            ASSERT_FALSE(bar.vecMenuShownAtDeactivation.empty()) << test.name;
            EXPECT_TRUE(bar.vecMenuShownAtDeactivation.front()) << test.name;
        }
        CloseAllPopups();
        bar.DestroyWindow();
    }
}

TEST_F(PopupMenuTest, TheMenuDelayComesFromTheDesktopSettings) {
    const wchar_t kKey[] = L"Control Panel\\Desktop";
    wchar_t szSaved[32] = {0};
    DWORD cbSaved = sizeof(szSaved);
    const bool bHadValue = ::RegGetValueW(HKEY_CURRENT_USER, kKey, L"MenuShowDelay", RRF_RT_REG_SZ, nullptr, szSaved,
                                          &cbSaved) == ERROR_SUCCESS;
    struct Case {
        const wchar_t* value;
        int expected;
    };
    for (const Case& c : {Case{L"9999", 5000}, Case{L"-1", 5000}, Case{L"120", 120}, Case{nullptr, 500}}) {
        if (c.value != nullptr)
            ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"MenuShowDelay", REG_SZ, c.value,
                              static_cast<DWORD>((wcslen(c.value) + 1) * sizeof(wchar_t)));
        else
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"MenuShowDelay");
        CQMXPPopupMenuBar::ReadPopupTimerDelay();
        EXPECT_EQ(CQMXPPopupMenuBar::m_uiPopupTimerDelay, c.expected) << (c.value ? c.value : L"missing");
    }
    if (bHadValue)
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"MenuShowDelay", REG_SZ, szSaved, cbSaved);

    // A delay of 0 still closes a sub-menu the mouse left.
    CQMXPPopupMenuBar::m_uiPopupTimerDelay = 0;
    CQMXPPopupMenu* pPopup = OpenPopup(MakeMenu({{0, L"&Sub", {{30002, L"&Inner"}}}, {30003, L"&Last"}}), CPoint(100, 100));
    ASSERT_NE(pPopup, nullptr);
    pPopup->SendMessage(WM_KEYDOWN, VK_HOME);
    pPopup->SendMessage(WM_KEYDOWN, VK_RIGHT);
    ASSERT_NE(CQMXPPopupMenu::GetActiveMenu(), pPopup);
    CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
    const CPoint ptLast = pBar->GetButton(1)->GetRect().CenterPoint();
    pBar->m_bPointerResting = FALSE;
    pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptLast.x, ptLast.y));
    EXPECT_TRUE(classlib_test::PumpUntil([&] { return CQMXPPopupMenu::GetActiveMenu() == pPopup; }, 1000));
    CQMXPPopupMenuBar::ReadPopupTimerDelay();
}

// A bar whose row height is 0 once the test says so.
class CFlatRowsBar : public CQMXPPopupMenuBar {
public:
    int GetRowHeight() const override { return m_bFlat ? 0 : CQMXPPopupMenuBar::GetRowHeight(); }
    BOOL m_bFlat = FALSE;
};
class CFlatRowsPopup : public CQMXPPopupMenu {
public:
    CQMXPPopupMenuBar* GetMenuBar() override { return &m_bar; }
    CFlatRowsBar m_bar;
};

TEST_F(PopupMenuTest, ScrollingByKeysSurvivesRowsWithoutHeight) {
    std::vector<MenuItem> items;
    for (UINT id = 30001; id < 30081; ++id)
        items.push_back({id, L"Item"});
    auto* pPopup = new CFlatRowsPopup;
    ASSERT_TRUE(pPopup->Create(m_pFrame, 100, 100, MakeMenu(items)));
    ASSERT_TRUE(pPopup->bScrollable);
    pPopup->m_bar.m_bFlat = TRUE;
    pPopup->SendMessage(WM_KEYDOWN, VK_END);
    EXPECT_EQ(pPopup->m_bar.GetOffset(), 0);
    EXPECT_EQ(pPopup->GetSelItem()->m_nID, 30080u);
}

TEST_F(PopupMenuTest, EachAnimationEndsWithTheItemsShown) {
    for (const int nAnimation : {QMXP_ANIMATION_UNFOLD, QMXP_ANIMATION_SLIDE, QMXP_ANIMATION_FADE}) {
        CQMXPPopupMenu::animationType = nAnimation;
        CQMXPPopupMenu* pPopup = OpenPopup(MakeMenu({{30001, L"&One"}, {30002, L"&Two"}, {30003, L"T&hree"}}), CPoint(100, 100));
        ASSERT_NE(pPopup, nullptr);
        EXPECT_FALSE(pPopup->GetMenuBar()->IsWindowVisible()) << nAnimation;
        EXPECT_TRUE(classlib_test::PumpUntil([&] { return pPopup->bAnimationFinished != FALSE; }, 2000)) << nAnimation;
        EXPECT_TRUE(pPopup->GetMenuBar()->IsWindowVisible()) << nAnimation;
        CloseAllPopups();
    }
    CQMXPPopupMenu::animationType = QMXP_ANIMATION_NONE;
}

TEST_F(PopupMenuTest, ARightClickOnAPaneTakesTheOpenMenusShadowAgain) {
    CQMXPPopupMenu::bMenuShadows = TRUE;
    CQMXPDockingControlBar pane;
    ASSERT_TRUE(pane.Create(L"Pane", m_pFrame, CRect(0, 0, 220, 300), TRUE, 0xE900,
                            WS_CHILD | WS_VISIBLE | CBRS_LEFT, 0, QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE));
    pane.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&pane, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    Pump();
    CRect rectPane;
    pane.GetWindowRect(&rectPane);
    CQMXPPopupMenu* pPopup = OpenPopup(MakeMenu({{ID_MENUTEST_FIRST, L"&Open"}, {ID_MENUTEST_FIRST + 1, L"&Close"}}),
                                       rectPane.TopLeft() + CSize(30, 40));
    ASSERT_NE(pPopup, nullptr);
    Pump();
    const int d = pPopup->shadowDepth;
    // A palette screen draws no shadow (the depth test of the screens above).
    if (d == 0) {
        EXPECT_LE(globalData.bitsPerPixel, 8);
        CloseAllPopups();
        return;
    }
    CRect rectClient;
    pPopup->GetClientRect(&rectClient);
    rectClient.DeflateRect(0, 0, d, d);
    // A stale right shadow: pure magenta, as no screen under the menu shows.
    const COLORREF clrStale = RGB(255, 0, 255);
    {
        CClientDC dcPopup(pPopup);
        CDC dcMem;
        dcMem.CreateCompatibleDC(&dcPopup);
        pPopup->bmpShadowRight.DeleteObject();
        pPopup->bmpShadowRight.CreateCompatibleBitmap(&dcPopup, d, rectClient.Height() + d);
        CBitmap* pOld = dcMem.SelectObject(&pPopup->bmpShadowRight);
        dcMem.FillSolidRect(0, 0, d, rectClient.Height() + d, clrStale);
        dcMem.SelectObject(pOld);
    }
    const CPoint ptShadow(rectClient.right + d / 2, rectClient.CenterPoint().y);
    auto shadowPixel = [&] {
        CClientDC dc(pPopup);
        return dc.GetPixel(ptShadow);
    };
    pPopup->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(shadowPixel(), clrStale);
    const CPoint ptClick(20, 200);
    pane.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(ptClick.x, ptClick.y));
    // Taken again from what the menu's window shows there, and darkened anew:
    // the saved picture is no longer drawn as it was.
    const COLORREF clrShadow = shadowPixel();
    EXPECT_NE(clrShadow, clrStale);
    EXPECT_LT(GetRValue(clrShadow), 255);
    EXPECT_EQ(CWnd::GetFocus(), &pane);
    CloseAllPopups();
    pane.DestroyWindow();
}

TEST_F(PopupMenuTest, TheFrameOverrideOwnsPopupMenusWhileItIsSet) {
    CDockTestFrame* pOther = MakeFrame(200, 100);
    ASSERT_NE(pOther, nullptr);
    CQMXPPopupMenu* pPopup = OpenPopup(MakeMenu({{ID_MENUTEST_FIRST, L"&Open"}}), CPoint(100, 100));
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(pPopup->GetOwnerFrame(), m_pFrame);
    qmxTopLevelFrameOverride = pOther;
    EXPECT_EQ(pPopup->GetOwnerFrame(), pOther);
    qmxTopLevelFrameOverride = nullptr;
    EXPECT_EQ(pPopup->GetOwnerFrame(), m_pFrame);
    CloseAllPopups();
    pOther->DestroyWindow();
}

// The last menu gone, the keyboard goes back to the tool bar that opened it
// when the focus went elsewhere meanwhile; a command chosen from the menu
// leaves the focus with the window that had it before the bar took it.
TEST_F(PopupMenuTest, TheLastMenuGoneGivesTheFocusBackToItsToolBar) {
    CMenuButtonBar bar;
    ASSERT_TRUE(bar.Make(m_pFrame, MakeMenu({{ID_MENUTEST_FIRST, L"&Open"}})));
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    m_pFrame->SetActiveWindow();
    CWnd* pClient = CWnd::FromHandle(m_pFrame->m_hWndMDIClient);
    pClient->SetFocus();
    Pump();
    ASSERT_EQ(CWnd::GetFocus(), pClient);

    CQMXPPopupMenu* pPopup = bar.Open();
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(CWnd::GetFocus(), &bar) << "the bar takes the keyboard while its menu is open";
    pClient->SetFocus();
    pPopup->SendMessage(WM_CLOSE);
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);
    EXPECT_EQ(CWnd::GetFocus(), &bar);

    pClient->SetFocus();
    pPopup = bar.Open();
    ASSERT_NE(pPopup, nullptr);
    CQMXPPopupMenuBar* pItems = pPopup->GetMenuBar();
    const CPoint ptItem = pItems->GetButton(0)->GetRect().CenterPoint();
    pItems->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptItem.x, ptItem.y));
    pItems->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptItem.x, ptItem.y));
    Pump();
    EXPECT_EQ(LoggedCommands(), (std::vector<UINT>{ID_MENUTEST_FIRST}));
    EXPECT_EQ(CQMXPPopupMenu::GetActiveMenu(), nullptr);
    EXPECT_EQ(CWnd::GetFocus(), pClient);
    bar.DestroyWindow();
}

TEST(PopupMenuBarTest, AnEmptyBarMeasures52By22) {
    CQMXPPopupMenuBar bar;
    EXPECT_EQ(bar.CalcSize(TRUE), CSize(52, 22));
}

// Run on both displays: a palette screen shows no menu shadow and no fading.
TEST(ScreenDepthTest, PopupMenusHaveNoShadowAndNoFadeOnPalettes) {
    const bool bPalette = globalData.bitsPerPixel <= 8;
    const int nSaved = CQMXPPopupMenu::animationType;
    CQMXPPopupMenu::animationType = QMXP_ANIMATION_FADE;
    CQMXPPopupMenu::bMenuShadows = TRUE;
    CQMXPPopupMenu popup;
    EXPECT_EQ(popup.shadowDepth, bPalette ? 0 : CQMXPVisualManager::GetInstance()->menuShadowDepth);
    EXPECT_EQ(CQMXPPopupMenu::animationType, bPalette ? QMXP_ANIMATION_NONE : QMXP_ANIMATION_FADE);
    CQMXPPopupMenu::animationType = nSaved;
}

}  // namespace
