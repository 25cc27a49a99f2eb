// The tabbed tool bar: the styles CreateEx gives it, a tool bar added as a
// tab (its gripper gone, its window text the label) and the bar's size
// taken from its tab window.
#include "DockingTestSupport.h"

#include "docking/bars/QMXPTabWnd.h"
#include "docking/bars/QMXPTabbedToolbar.h"
#include "docking/toolbars/QMXPGlobalData.h"

#include <gtest/gtest.h>

using namespace docking_test;

TEST(TabbedToolbarTest, CreateExSetsTheGripperOnlyForAFloatableBarAndStripsSideBits) {
    CDockTestFrame* pFrame = MakeFrame(400, 200);
    ASSERT_NE(pFrame, nullptr);
    struct Case {
        DWORD dwControlBarStyle;
        bool bGripper;
    };
    for (const Case& c : {Case{0x1, true}, Case{0x0, false}}) {
        CQMXPTabbedToolbar bar;
        ASSERT_TRUE(bar.CreateEx(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP | 0x5500, 0xE820, c.dwControlBarStyle));
        EXPECT_EQ((bar.GetBarStyle() & QMXP_CBRS_GRIPPER) != 0, c.bGripper);
        EXPECT_EQ(bar.GetBarStyle() & 0x5500, 0u);
        // The gripper is the bar's: the window has no dialog frame.
        EXPECT_EQ(bar.GetStyle() & WS_DLGFRAME, 0u);
        ASSERT_NE(bar.GetTabWnd(), nullptr);
        EXPECT_EQ(bar.GetTabWnd()->GetDlgCtrlID(), 101);
        bar.DestroyWindow();
        EXPECT_EQ(bar.GetTabWnd(), nullptr);
    }
    pFrame->DestroyWindow();
}

TEST(TabbedToolbarTest, AddedBarLosesItsGripperAndTheBarTakesTheTabWindowsSize) {
    CDockTestFrame* pFrame = MakeFrame(500, 300);
    ASSERT_NE(pFrame, nullptr);
    CQMXPTabbedToolbar bar;
    ASSERT_TRUE(bar.CreateEx(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE821, 0x1));
    CQMXPToolBar tools;
    ASSERT_TRUE(tools.CreateEx(&bar, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE822));
    const UINT ids[] = {ID_DOCKTEST_HANDLED, 0, ID_DOCKTEST_HANDLED + 1};
    ASSERT_TRUE(tools.SetButtons(ids, 3));
    tools.SetWindowText(L"Tools");
    ASSERT_NE(tools.GetBarStyle() & QMXP_CBRS_GRIPPER, 0u);

    ASSERT_TRUE(bar.AddTab(&tools, FALSE));
    EXPECT_EQ(tools.GetBarStyle() & QMXP_CBRS_GRIPPER, 0u);
    CQMXPTabWnd* pTabWnd = bar.GetTabWnd();
    ASSERT_EQ(pTabWnd->GetTabsNum(), 1);
    CString strLabel;
    ASSERT_TRUE(pTabWnd->GetTabLabel(0, strLabel));
    EXPECT_EQ(strLabel, CString(L"Tools"));
    EXPECT_EQ(tools.GetOwner(), pFrame);

    const CSize sizeTools = tools.CalcFixedLayout(FALSE, TRUE);
    const int b = pTabWnd->GetTabBorderSize();
    CRect rectTabs;
    pTabWnd->GetWindowRect(&rectTabs);
    EXPECT_EQ(rectTabs.Size(), CSize(sizeTools.cx + 2 * b, sizeTools.cy + pTabWnd->GetTabsHeight() + 2 + 2 * b));
    // Docked at the top with a gripper: the gripper's width and the bottom border line.
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), rectTabs.Size() + CSize(globalData.gripperSize, globalData.borderSize));
    bar.DestroyWindow();
    pFrame->DestroyWindow();
}
