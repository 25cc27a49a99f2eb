// The tabbed tool bar: the styles CreateEx gives it, a tool bar added as a
// tab (its gripper gone, its window text the label), the bar's size taken
// from its tab window, a button dragged in customise mode over a tab, and
// the bar following its tabs' length when a button lands on one or leaves it.
#include "DockingTestSupport.h"

#include "docking/bars/QMXPTabWnd.h"
#include "docking/bars/QMXPTabbedToolbar.h"
#include "docking/frames/QMXPToolbarDropSource.h"
#include "docking/frames/QMXPToolbarDropTarget.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/OleDataSource.h"

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

TEST(TabbedToolbarTest, AButtonDraggedOverASecondTabOpensItAndDropsOnThatTabsBar) {
    ASSERT_TRUE(AfxOleInit());
    CDockTestFrame* pFrame = MakeFrame(500, 300);
    ASSERT_NE(pFrame, nullptr);
    CQMXPTabbedToolbar bar;
    ASSERT_TRUE(bar.CreateEx(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE821, 0x1));
    CQMXPToolBar first;
    CQMXPToolBar second;
    for (CQMXPToolBar* pTools : {&first, &second}) {
        ASSERT_TRUE(pTools->CreateEx(&bar, WS_CHILD | WS_VISIBLE | CBRS_TOP, pTools == &first ? 0xE822 : 0xE823));
        const UINT ids[] = {ID_DOCKTEST_HANDLED, ID_DOCKTEST_HANDLED + 1};
        ASSERT_TRUE(pTools->SetButtons(ids, pTools == &first ? 2 : 1));
        pTools->SetWindowText(pTools == &first ? L"First" : L"Second");
        ASSERT_TRUE(bar.AddTab(pTools, FALSE));
    }
    CQMXPTabWnd* pTabWnd = bar.GetTabWnd();
    CQMXPTabDropTarget& target = pTabWnd->GetDropTarget();
    ASSERT_EQ(target.m_pOwner, pTabWnd);
    CRect rectSecond;
    ASSERT_TRUE(pTabWnd->GetTabRect(1, rectSecond));
    const CPoint ptSecond = rectSecond.CenterPoint();

    // A button on the data as a drag from another bar carries it.
    auto* pSource = new COleDataSource;
    // No image: the command keeps no image in the library for later tests.
    CQMXPToolbarButton button(ID_DOCKTEST_HANDLED + 2, -1, L"New", FALSE, TRUE);
    ASSERT_TRUE(button.PutOnClipboard(pSource));
    COleDataObject data;
    data.Attach(pSource->GetDataObject(TRUE));
    auto* pText = new COleDataSource;
    pText->CacheGlobalData(CF_UNICODETEXT, ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
    COleDataObject text;
    text.Attach(pText->GetDataObject(TRUE));

    const struct {
        BOOL bCustomize;
        COleDataObject* pData;
        DWORD dwKeys;
        DROPEFFECT effect;
    } cases[] = {
        {FALSE, &data, 0, DROPEFFECT_NONE},
        {TRUE, &text, 0, DROPEFFECT_NONE},
        {TRUE, &data, MK_CONTROL, DROPEFFECT_COPY},
        {TRUE, &data, 0, DROPEFFECT_MOVE},
    };
    for (const auto& c : cases) {
        pTabWnd->SetActiveTab(0);
        CQMXPToolBar::SwitchCustomizeMode(c.bCustomize);
        EXPECT_EQ(target.OnDragEnter(pTabWnd, c.pData, c.dwKeys, ptSecond), c.effect) << c.bCustomize << c.dwKeys;
        EXPECT_EQ(target.OnDragOver(pTabWnd, c.pData, c.dwKeys, ptSecond), c.effect);
        // The tab opens only for a button that may land there.
        EXPECT_EQ(pTabWnd->GetActiveTab(), c.effect == DROPEFFECT_NONE ? 0 : 1);
    }
    // Over the bar the opened tab shows, the button lands on it.
    EXPECT_NE(second.GetStyle() & WS_VISIBLE, 0u);
    EXPECT_EQ(first.GetStyle() & WS_VISIBLE, 0u);
    const CPoint ptOnBar = second.GetButton(0)->GetRect().CenterPoint();
    CQMXPToolbarDropTarget& barTarget = second.GetDropTarget();
    ASSERT_EQ(barTarget.OnDragEnter(&second, &data, 0, ptOnBar), DROPEFFECT_MOVE);
    EXPECT_EQ(barTarget.OnDropEx(&second, &data, DROPEFFECT_MOVE, DROPEFFECT_MOVE, ptOnBar), DROPEFFECT_MOVE);
    ASSERT_EQ(second.GetCount(), 2);
    EXPECT_EQ(second.CommandToIndex(ID_DOCKTEST_HANDLED + 2), 0);
    EXPECT_EQ(first.GetCount(), 2);
    EXPECT_EQ(first.CommandToIndex(ID_DOCKTEST_HANDLED + 2), -1);

    CQMXPToolBar::SwitchCustomizeMode(FALSE);
    text.Release();
    pText->InternalRelease();
    data.Release();
    pSource->InternalRelease();
    bar.DestroyWindow();
    pFrame->DestroyWindow();
    AfxOleTerm();
}

namespace {

// A tab's bar whose OLE drag of a button ends as a move dropped away from it.
class CDraggedOffBar : public CQMXPToolBar {
protected:
    DROPEFFECT DoButtonDrag(COleDataSource*, const CRect& rectStartScreen) override {
        ::SetCursorPos(rectStartScreen.left, rectStartScreen.bottom + 80);
        g_QMXPToolbarDropSource.m_bDragStarted = TRUE;
        g_QMXPToolbarDropSource.m_bEscapePressed = FALSE;
        return DROPEFFECT_MOVE;
    }
};

}  // namespace

// A button dropped on a tab's bar, or dragged off it, changes the bar's
// length; the tabbed bar takes the new length at once.
TEST(TabbedToolbarTest, AButtonDroppedOnOrDraggedOffATabResizesTheTabbedBar) {
    ASSERT_TRUE(AfxOleInit());
    CDockTestFrame* pFrame = MakeFrame(500, 300);
    ASSERT_NE(pFrame, nullptr);
    CQMXPTabbedToolbar bar;
    ASSERT_TRUE(bar.CreateEx(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE821, 0x1));
    CDraggedOffBar tools;
    ASSERT_TRUE(tools.CreateEx(bar.GetTabWnd(), WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE822));
    const UINT ids[] = {ID_DOCKTEST_HANDLED};
    ASSERT_TRUE(tools.SetButtons(ids, 1));
    tools.SetWindowText(L"Tools");
    ASSERT_TRUE(bar.AddTab(&tools, FALSE));
    CQMXPTabWnd* pTabWnd = bar.GetTabWnd();
    auto tabsWidth = [pTabWnd] {
        CRect rect;
        pTabWnd->GetWindowRect(&rect);
        return rect.Width();
    };
    const int cxOne = tabsWidth();
    const int b = pTabWnd->GetTabBorderSize();
    CQMXPToolBar::SwitchCustomizeMode(TRUE);

    auto* pSource = new COleDataSource;
    CQMXPToolbarButton button(ID_DOCKTEST_HANDLED + 2, -1, L"New", FALSE, TRUE);
    ASSERT_TRUE(button.PutOnClipboard(pSource));
    COleDataObject data;
    data.Attach(pSource->GetDataObject(TRUE));
    const CPoint ptOnBar = tools.GetButton(0)->GetRect().CenterPoint();
    CQMXPToolbarDropTarget& target = tools.GetDropTarget();
    ASSERT_EQ(target.OnDragEnter(&tools, &data, 0, ptOnBar), DROPEFFECT_MOVE);
    EXPECT_EQ(target.OnDropEx(&tools, &data, DROPEFFECT_MOVE, DROPEFFECT_MOVE, ptOnBar), DROPEFFECT_MOVE);
    ASSERT_EQ(tools.GetCount(), 2);
    EXPECT_GT(tabsWidth(), cxOne);
    EXPECT_EQ(tabsWidth(), tools.CalcFixedLayout(FALSE, TRUE).cx + 2 * b);

    // Dragged off, the button leaves the bar and the tabbed bar shrinks back.
    CPoint ptSaved;
    ::GetCursorPos(&ptSaved);
    const CPoint ptFirst = tools.GetButton(0)->GetRect().CenterPoint();
    tools.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFirst.x, ptFirst.y));
    ::SetCursorPos(ptSaved.x, ptSaved.y);
    ASSERT_EQ(tools.GetCount(), 1);
    EXPECT_EQ(tabsWidth(), cxOne);

    CQMXPToolBar::SwitchCustomizeMode(FALSE);
    data.Release();
    pSource->InternalRelease();
    bar.DestroyWindow();
    pFrame->DestroyWindow();
    AfxOleTerm();
}
