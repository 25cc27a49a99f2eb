// Panes that float together in one frame: captions by the number of
// visible panes, docking into the frame by the mouse (never with Ctrl), a
// double click on its caption that sends every pane back to its recent
// place, and the frame's end when it is left empty.
#include "PaneTestSupport.h"

#include "docking/bars/QMXPGlobalUtils.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class MultiMiniFrameTest : public PaneTest {
protected:
    CQMXPMultiMiniFrameWnd* FrameOf(CQMXPDockingControlBar* pPane) {
        return DYNAMIC_DOWNCAST(CQMXPMultiMiniFrameWnd, pPane->GetParentMiniFrame(TRUE));
    }
    static CString Text(const CWnd* pWnd) {
        CString strText;
        pWnd->GetWindowText(strText);
        return strText;
    }
};

TEST_F(MultiMiniFrameTest, PanesDockIntoTheFrameShowTheirCaptionsAndGoBackToTheirPlaces) {
    CTestPane* pFirst = FloatPane(0xE900, CRect(300, 150, 500, 350), QMXP_CBRS_FLOAT_MULTI);
    CTestPane* pSecond = FloatPane(0xE901, CRect(560, 150, 760, 350), QMXP_CBRS_FLOAT_MULTI);
    CQMXPMultiMiniFrameWnd* pFrame = FrameOf(pFirst);
    ASSERT_NE(pFrame, nullptr);
    ASSERT_NE(FrameOf(pSecond), nullptr);
    EXPECT_EQ(pFrame->GetCaptionText(), Text(pFirst));
    EXPECT_EQ(pFirst->GetCaptionHeight(), 0);
    const CRect rectFirst = Screen(pFirst);
    const CPoint ptDrop(rectFirst.right - 6, rectFirst.CenterPoint().y);
    const CRect rectSecondFrame = Screen(FrameOf(pSecond));
    {
        CCtrlDown ctrl;
        DragFrameTo(FrameOf(pSecond), ptDrop);
    }
    EXPECT_NE(FrameOf(pSecond), pFrame);

    // The frame dropped with Ctrl lies where the drop was: from its first place again.
    FrameOf(pSecond)->MoveWindow(rectSecondFrame);
    DragFrameTo(FrameOf(pSecond), ptDrop);
    ASSERT_EQ(FrameOf(pSecond), pFrame);
    EXPECT_EQ(pFrame->GetControlBarCount(), 2);
    EXPECT_EQ(pFrame->GetCaptionText(), L"");
    EXPECT_EQ(pFirst->GetCaptionHeight(), 19);
    EXPECT_EQ(pSecond->GetCaptionHeight(), 19);
    EXPECT_LT(Screen(pFirst).right, Screen(pSecond).left);

    pSecond->ShowControlBar(FALSE, FALSE, FALSE);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_EQ(pFrame->GetCaptionText(), Text(pFirst));
    EXPECT_EQ(pFirst->GetCaptionHeight(), 0);
    pSecond->ShowControlBar(TRUE, FALSE, FALSE);
    EXPECT_EQ(pFirst->GetCaptionHeight(), 19);

    // A double click on the caption docks both to their recent places (the
    // left edge of a new pane); the frame stays, hidden, for their return.
    SendAt(pFrame, WM_LBUTTONDBLCLK, CaptionPoint(pFrame));
    Pump();
    ASSERT_TRUE(::IsWindow(pFrame->GetSafeHwnd()));
    EXPECT_FALSE(pFrame->IsWindowVisible());
    EXPECT_NE(SliderOf(pFirst), nullptr);
    EXPECT_NE(SliderOf(pSecond), nullptr);
    EXPECT_EQ(pFirst->GetParent(), m_pFrame);

    // A double click on a docked pane's caption takes it back into the frame.
    const CRect rectDocked = Screen(pFirst);
    SendAt(pFirst, WM_LBUTTONDBLCLK, CPoint(rectDocked.left + 20, rectDocked.top + 8));
    Pump();
    EXPECT_EQ(FrameOf(pFirst), pFrame);
    EXPECT_TRUE(pFrame->IsWindowVisible());
    EXPECT_EQ(pFrame->GetVisibleBarCount(), 1);
}

TEST_F(MultiMiniFrameTest, AGroupDroppedAtAFrameEdgeDocksThereWholeUnderOneSlider) {
    CTestPane* pFirst = FloatPane(0xE900, CRect(300, 150, 500, 350), QMXP_CBRS_FLOAT_MULTI);
    CTestPane* pSecond = FloatPane(0xE901, CRect(560, 150, 760, 350), QMXP_CBRS_FLOAT_MULTI);
    CQMXPMultiMiniFrameWnd* pFrame = FrameOf(pFirst);
    const CRect rectFirst = Screen(pFirst);
    DragFrameTo(FrameOf(pSecond), CPoint(rectFirst.right - 6, rectFirst.CenterPoint().y));
    ASSERT_EQ(FrameOf(pSecond), pFrame);
    const int nGroupWidth = Screen(pSecond).right - Screen(pFirst).left;

    CRect rectClient = Manager().GetClientAreaBounds();
    m_pFrame->ClientToScreen(&rectClient);
    DragFrameTo(pFrame, CPoint(rectClient.left + 5, rectClient.CenterPoint().y));
    CQMXPSlider* pSlider = SliderOf(pFirst);
    ASSERT_NE(pSlider, nullptr);
    EXPECT_EQ(SliderOf(pSecond), pSlider);
    EXPECT_EQ(pSlider->GetCurrentAlignment(), 0x1000u);
    EXPECT_EQ(pFirst->GetParent(), m_pFrame);
    EXPECT_FALSE(pFrame->IsWindowVisible());
    // Side by side as they floated, the whole group at the left edge.
    EXPECT_EQ(InFrame(pFirst).left, 0);
    EXPECT_EQ(InFrame(pFirst).right + 4, InFrame(pSecond).left);
    EXPECT_EQ(InFrame(pSecond).right, nGroupWidth);
    EXPECT_EQ(InFrame(pSlider), CRect(nGroupWidth, 0, nGroupWidth + 4, 600));
    EXPECT_EQ(Manager().GetClientAreaBounds().left, nGroupWidth + 4);

    // Dropped near the right edge of a docked pane, a group joins its container.
    CTestPane* pThird = FloatPane(0xE902, CRect(300, 150, 500, 350), QMXP_CBRS_FLOAT_MULTI);
    const CRect rectSecond = Screen(pSecond);
    DragFrameTo(FrameOf(pThird), CPoint(rectSecond.right - 6, rectSecond.top + 100));
    EXPECT_EQ(SliderOf(pThird), pSlider);
    EXPECT_EQ(InFrame(pThird).right, nGroupWidth);
    EXPECT_EQ(InFrame(pSecond).right + 4, InFrame(pThird).left);
}

TEST_F(MultiMiniFrameTest, AFrameLeftWithoutPanesGoesOnlyWhenItsCheckFindsNothingToKeep) {
    CTestPane* pPane = FloatPane(0xE900, CRect(300, 150, 500, 350), QMXP_CBRS_FLOAT_MULTI);
    CQMXPMultiMiniFrameWnd* pFrame = FrameOf(pPane);
    ASSERT_NE(pFrame, nullptr);
    const HWND hFrame = pFrame->GetSafeHwnd();
    pFrame->RemoveControlBar(pPane, TRUE, FALSE);
    EXPECT_TRUE(::IsWindow(hFrame));
    Pump();
    EXPECT_FALSE(::IsWindow(hFrame));

    // A pane's record of its place keeps the node and so the frame, hidden.
    CTestPane* pKept = FloatPane(0xE901, CRect(300, 150, 500, 350), QMXP_CBRS_FLOAT_MULTI);
    CQMXPMultiMiniFrameWnd* pKeeper = FrameOf(pKept);
    pKept->StoreRecentDockInfo();
    pKeeper->RemoveControlBar(pKept, TRUE, FALSE);
    Pump();
    ASSERT_TRUE(::IsWindow(pKeeper->GetSafeHwnd()));
    EXPECT_FALSE(pKeeper->IsWindowVisible());
    EXPECT_EQ(pKeeper->GetContainerManager().GetTotalRefCount(), 1);
}

// A tabbed group floating in a frame of several panes may be dropped into
// another such frame even without the multi bit of its style; a docked
// group without that bit may not.
TEST_F(MultiMiniFrameTest, AGroupFloatingAmongPanesMayJoinAnotherFrameOfPanes) {
    CQMXPDockingControlBar* pDockedGroup = GroupOfTwo(0xE903, 0xE904);
    ASSERT_NE(pDockedGroup, nullptr);
    EXPECT_TRUE(qmxGlobalUtils.CanBeDockedToMultiMiniFrame(pDockedGroup));
    pDockedGroup->SetBarStyle(pDockedGroup->GetBarStyle() & ~QMXP_CBRS_FLOAT_MULTI);
    EXPECT_FALSE(qmxGlobalUtils.CanBeDockedToMultiMiniFrame(pDockedGroup));

    CTestPane* pFirst = FloatPane(0xE900, CRect(300, 150, 500, 350), QMXP_CBRS_FLOAT_MULTI);
    ASSERT_NE(FrameOf(pFirst), nullptr);
    CTestPane* pSecond = MakePane(0xE901, CSize(200, 200));
    CQMXPDockingControlBar* pGroup = nullptr;
    pSecond->AttachToTabWnd(pFirst, QMXP_DM_RECT, TRUE, &pGroup);
    ASSERT_NE(pGroup, nullptr);
    ASSERT_NE(FrameOf(pGroup), nullptr);
    pGroup->SetBarStyle(pGroup->GetBarStyle() & ~QMXP_CBRS_FLOAT_MULTI);
    EXPECT_TRUE(qmxGlobalUtils.CanBeDockedToMultiMiniFrame(pGroup));
    EXPECT_FALSE(qmxGlobalUtils.CanBeDockedToMultiMiniFrame(m_pFrame));
}

}  // namespace
