// The library's owner-drawn push buttons in a test frame: the repeated
// click of a held button, arrow keys in a group of radio buttons, and the
// drawing of every button type.
#include "MenuTestSupport.h"

#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/toolbars/QMXPButton.h"
#include "docking/toolbars/QMXPMenuButton.h"
#include "platform/classlib/Menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace docking_test;

namespace {

int Clicks() { return static_cast<int>(std::count(Log().begin(), Log().end(), L"frame:HANDLED")); }

class CCountingButton : public CQMXPButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        ++m_nDrawn;
        CQMXPButton::DrawItem(lpDrawItemStruct);
    }
    int m_nDrawn = 0;
};

// A context-menu manager that notes the menus it tracks and chooses a command.
class CChoosingMenus : public CQMXPContextMenuManager {
public:
    UINT TrackPopupMenu(HMENU hmenuPopup, int x, int y, CWnd*) override {
        tracked.push_back({hmenuPopup, CPoint(x, y)});
        return 30002;
    }
    std::vector<std::pair<HMENU, CPoint>> tracked;
};

class PushButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pFrame = MakeFrame(300, 200);
        ASSERT_NE(m_pFrame, nullptr);
        m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        m_pFrame->DestroyWindow();
        Pump();
    }
    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
};

TEST_F(PushButtonTest, AHeldButtonRepeatsItsClickOnlyOverTheButton) {
    CQMXPButton button;
    ASSERT_TRUE(button.Create(L"Repeat", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), m_pFrame,
                              ID_DOCKTEST_HANDLED));
    button.SetAutoRepeatDelay(200);
    const LPARAM lInside = MAKELPARAM(50, 15);
    const LPARAM lOutside = MAKELPARAM(200, 100);
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lInside);
    PumpFor(1100);
    EXPECT_EQ(Clicks(), 5);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lOutside);
    PumpFor(500);
    EXPECT_EQ(Clicks(), 5);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lInside);
    button.SendMessage(WM_LBUTTONUP, 0, lInside);
    EXPECT_EQ(Clicks(), 6);
    PumpFor(300);
    EXPECT_EQ(Clicks(), 6);
}

// The program's context-menu manager tracks a menu button's menu from the
// button's bottom-left corner; the chosen command is kept and the parent told.
TEST_F(PushButtonTest, AMenuButtonsMenuGoesThroughTheContextMenuManager) {
    CChoosingMenus menus;
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 30002, L"Choice");
    CQMXPMenuButton button;
    ASSERT_TRUE(button.Create(L"Menu", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), m_pFrame,
                              ID_DOCKTEST_HANDLED));
    button.m_hMenu = menu.GetSafeHmenu();
    button.SendMessage(WM_KEYDOWN, VK_SPACE);
    CRect rect;
    button.GetWindowRect(&rect);
    ASSERT_EQ(menus.tracked.size(), 1u);
    EXPECT_EQ(menus.tracked[0].first, menu.GetSafeHmenu());
    EXPECT_EQ(menus.tracked[0].second, CPoint(rect.left, rect.bottom));
    EXPECT_EQ(button.m_nMenuResult, 30002);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(PushButtonTest, ArrowKeysSkipHiddenAndDisabledRadios) {
    CQMXPButton radios[4];
    const DWORD styles[] = {WS_GROUP | WS_VISIBLE, 0, WS_DISABLED | WS_VISIBLE, WS_VISIBLE};
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(radios[i].Create(L"Radio", WS_CHILD | BS_AUTORADIOBUTTON | styles[i], CRect(10, 10 + 30 * i, 110, 35 + 30 * i),
                                     m_pFrame, 20001 + static_cast<UINT>(i)));
    radios[0].SendMessage(BM_SETCHECK, BST_CHECKED);
    struct Case {
        int iFrom;
        UINT nKey;
        int iChecked;
    };
    for (const Case& c : {Case{0, VK_DOWN, 3}, Case{3, VK_UP, 0}, Case{0, VK_RIGHT, 3}, Case{3, VK_LEFT, 0}}) {
        MSG msg = {radios[c.iFrom].GetSafeHwnd(), WM_KEYDOWN, c.nKey, 0, 0, {0, 0}};
        EXPECT_TRUE(radios[c.iFrom].PreTranslateMessage(&msg));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(radios[i].SendMessage(BM_GETCHECK), i == c.iChecked ? BST_CHECKED : BST_UNCHECKED) << i;
    }
}

TEST_F(PushButtonTest, EveryButtonTypeIsDrawnByTheLibrary) {
    const DWORD types[] = {BS_PUSHBUTTON, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON, BS_AUTO3STATE, BS_GROUPBOX};
    for (const DWORD dwType : types) {
        CCountingButton button;
        ASSERT_TRUE(button.Create(L"Type", WS_CHILD | WS_VISIBLE | dwType, CRect(10, 10, 110, 40), m_pFrame, 20001));
        EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW)) << dwType;
        button.Invalidate();
        button.UpdateWindow();
        EXPECT_GT(button.m_nDrawn, 0) << dwType;
        button.DestroyWindow();
    }
}

}  // namespace
