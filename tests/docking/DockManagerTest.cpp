// The dock manager of an 800 x 600 library frame: the layout around the
// client area, hiding bars for print preview and on request, the share a
// docked outline may take, and the wait before a dragged floating tool bar
// docks.
#include "DockLayoutSupport.h"

#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

TEST_F(DockLayoutTest, TheClientAreaIsWhatTheDockBarsLeave) {
    CFixedBar* pTop = AddBar(CSize(120, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    CFixedBar* pLeft = AddBar(CSize(90, 30), AFX_IDW_DOCKBAR_LEFT, 0xE821);
    ASSERT_NE(pLeft, nullptr);
    EXPECT_EQ(InFrame(DockBar(0x2000)), CRect(0, 0, 800, 26));
    EXPECT_EQ(InFrame(DockBar(0x1000)), CRect(0, 26, 30, 600));
    EXPECT_EQ(InFrame(DockBar(0x8000)), CRect(0, 600, 800, 600));
    const CRect rectFree(30, 26, 800, 600);
    EXPECT_EQ(Manager().GetClientAreaBounds(), rectFree);
    EXPECT_EQ(Manager().GetOuterDockArea(), rectFree);
    EXPECT_EQ(InFrame(CWnd::FromHandle(m_pFrame->m_hWndMDIClient)), rectFree);
    EXPECT_EQ(pTop->GetParentDockBar(), DockBar(0x2000));
    EXPECT_EQ(InFrame(pTop).TopLeft(), CPoint(0, 0));

    // A hidden bar takes no room; its dock bar closes up.
    pTop->ShowControlBar(FALSE, FALSE, FALSE);
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(30, 0, 800, 600));
    pTop->ShowControlBar(TRUE, FALSE, FALSE);
    EXPECT_EQ(Manager().GetClientAreaBounds(), rectFree);
    EXPECT_EQ(m_pFrame->GetControlBar(0xE821), pLeft);
}

TEST_F(DockLayoutTest, PrintPreviewHidesTheBarsAndShowsEachOnceAgain) {
    CFixedBar* pTop = AddBar(CSize(120, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    CFixedBar* pSecond = AddBar(CSize(80, 26), AFX_IDW_DOCKBAR_TOP, 0xE821);
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(0, 52, 800, 600));
    CQMXPDockBar* pDockBar = DockBar(0x2000);
    Manager().SetPrintPreviewMode(TRUE, nullptr);
    Manager().SetPrintPreviewMode(TRUE, nullptr);
    EXPECT_FALSE(pDockBar->GetStyle() & WS_VISIBLE);
    // A bar destroyed while hidden is not shown again.
    pSecond->DestroyWindow();
    Manager().SetPrintPreviewMode(FALSE, nullptr);
    EXPECT_TRUE(pDockBar->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(pTop->GetStyle() & WS_VISIBLE);
    pDockBar->ShowWindow(SW_HIDE);
    Manager().SetPrintPreviewMode(FALSE, nullptr);
    EXPECT_FALSE(pDockBar->GetStyle() & WS_VISIBLE);
    pDockBar->ShowWindow(SW_SHOW);

    // While all bars are hidden, leaving the preview shows none of them.
    EXPECT_TRUE(Manager().ShowAllBars(FALSE));
    EXPECT_FALSE(Manager().ShowAllBars(FALSE));
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(0, 0, 800, 600));
    Manager().SetPrintPreviewMode(TRUE, nullptr);
    Manager().SetPrintPreviewMode(FALSE, nullptr);
    EXPECT_FALSE(pDockBar->GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(Manager().ShowAllBars(TRUE));
    EXPECT_TRUE(pDockBar->GetStyle() & WS_VISIBLE);
    // Each bar docked without a place has a row of its own.
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(0, 26, 800, 600));
}

TEST_F(DockLayoutTest, ADockedOutlineTakesAtMostHalfTheClientArea) {
    ASSERT_EQ(Manager().GetClientAreaBounds().Height(), 600);
    const struct {
        CRect rect;
        DWORD dwAlignment;
        BOOL bLimited;
        CRect expected;
    } cases[] = {
        {CRect(0, 0, 800, 400), 0x2000, TRUE, CRect(0, 0, 800, 300)},
        {CRect(0, 0, 800, 200), 0x2000, FALSE, CRect(0, 0, 800, 200)},
        {CRect(0, 100, 800, 500), 0x8000, TRUE, CRect(0, 200, 800, 500)},
        {CRect(0, 0, 400, 600), 0x1000, TRUE, CRect(0, 0, 400, 600)},
        {CRect(100, 0, 600, 600), 0x4000, TRUE, CRect(200, 0, 600, 600)},
    };
    for (const auto& c : cases) {
        CRect rect = c.rect;
        EXPECT_EQ(Manager().LimitDockedRect(rect, c.dwAlignment), c.bLimited);
        EXPECT_EQ(rect, c.expected);
    }
}

TEST_F(DockLayoutTest, ADraggedFloatingToolBarDocksAfter200Milliseconds) {
    CFixedBar* pDocked = AddBar(CSize(120, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    CQMXPToolBar toolBar;
    ASSERT_TRUE(toolBar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    toolBar.EnableDocking(0xF000);
    ASSERT_TRUE(toolBar.FloatControlBar(CRect(300, 300, 400, 340), QMXP_DM_RECT));
    auto* pMiniFrame = toolBar.GetParentMiniFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    const CPoint ptOverDockBar = Screen(pDocked).TopLeft() + CSize(300, 10);
    CCursorAt cursor(ptOverDockBar);
    CTestClock clock;
    {
        CCtrlDown ctrl;
        for (long t : {0L, 200L, 1000L}) {
            CTestClock::s_now = t;
            EXPECT_TRUE(Manager().OnMoveMiniFrame(pMiniFrame));
        }
    }
    EXPECT_TRUE(toolBar.IsFloating());
    const struct {
        long now;
        BOOL bGoesOn;
    } steps[] = {{1000, TRUE}, {1150, TRUE}, {1199, TRUE}, {1200, FALSE}};
    for (const auto& step : steps) {
        CTestClock::s_now = step.now;
        EXPECT_EQ(Manager().OnMoveMiniFrame(pMiniFrame), step.bGoesOn) << step.now;
    }
    EXPECT_FALSE(toolBar.IsFloating());
    EXPECT_EQ(toolBar.GetParentDockBar(), DockBar(0x2000));
    toolBar.SendMessage(WM_CANCELMODE);
}

TEST_F(DockLayoutTest, APointNearAnEdgeCountsOnlyForTheSidesThatHaveDockBars) {
    // A second manager of the frame with a dock bar at the top only.
    CQMXPDockManager manager;
    ASSERT_TRUE(manager.Create(m_pFrame));
    ASSERT_TRUE(manager.EnableDocking(0x2000));
    manager.AdjustDockingLayout(nullptr);
    CRect rectClient = manager.GetClientAreaBounds();
    ASSERT_FALSE(rectClient.IsRectEmpty());
    m_pFrame->ClientToScreen(&rectClient);
    const struct {
        CPoint pt;
        BOOL bNear;
        DWORD dwAlignment;
    } cases[] = {
        {CPoint(rectClient.CenterPoint().x, rectClient.top + 3), TRUE, 0x2000},
        {CPoint(rectClient.left + 3, rectClient.CenterPoint().y), FALSE, 0},
        {CPoint(rectClient.right - 3, rectClient.CenterPoint().y), FALSE, 0},
        {CPoint(rectClient.CenterPoint().x, rectClient.bottom - 3), FALSE, 0},
    };
    for (const auto& c : cases) {
        DWORD dwAlignment = 0;
        BOOL bOuter = FALSE;
        EXPECT_EQ(manager.IsPointNearDockBar(c.pt, dwAlignment, bOuter), c.bNear) << c.pt.x << "," << c.pt.y;
        if (c.bNear) {
            EXPECT_EQ(dwAlignment, c.dwAlignment);
        }
    }
    // Its dock bar goes with it.
    if (CQMXPDockBar* pTop = manager.DockBarForSide(0x2000, TRUE))
        pTop->DestroyWindow();
}

// While the frame's layout is held, a layout asked for waits and the client
// area stays what the last layout left (not the whole client rectangle),
// so the view asking meanwhile does not slide under the bars.
TEST_F(DockLayoutTest, AHeldLayoutKeepsTheClientAreaOfTheLastOne) {
    AddBar(CSize(120, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    const CRect rectFree(0, 26, 800, 600);
    ASSERT_EQ(Manager().GetClientAreaBounds(), rectFree);
    {
        CQMXPLayoutHold hold(m_pFrame);
        EXPECT_TRUE(Manager().IsLayoutHeld());
        Manager().AdjustDockingLayout(nullptr);
        EXPECT_EQ(Manager().GetClientAreaBounds(), rectFree);
        m_pFrame->RecalcLayout();
        EXPECT_EQ(InFrame(CWnd::FromHandle(m_pFrame->m_hWndMDIClient)), rectFree);
    }
    EXPECT_FALSE(Manager().IsLayoutHeld());
    EXPECT_EQ(Manager().GetClientAreaBounds(), rectFree);
}

// A tool bar laid out by a user's action paints at once; while the frame's
// layout is held it paints once, later.
TEST_F(DockLayoutTest, AToolBarLaidOutPaintsAtOnceUnlessTheLayoutIsHeld) {
    CQMXPToolBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    for (UINT uiCmd : {30001u, 30002u})
        bar.InsertButton(CQMXPToolbarButton(uiCmd, -1, L"Go", FALSE, TRUE));
    bar.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    bar.UpdateWindow();
    auto pending = [&bar] {
        CRect rect;
        return bar.GetUpdateRect(&rect) != FALSE;
    };
    ASSERT_FALSE(pending());
    bar.AdjustLayout();
    EXPECT_FALSE(pending()) << "painted at once";
    {
        CQMXPLayoutHold hold(m_pFrame);
        bar.AdjustLayout();
        EXPECT_TRUE(pending()) << "left for the paint after the hold";
    }
    Pump();
    EXPECT_FALSE(pending());
    bar.DestroyWindow();
}

// A bar whose window goes leaves its frame's lists: the frame goes on
// laying out its bars until its own end, after the bar's object is gone.
TEST_F(DockLayoutTest, ABarWhoseWindowGoesLeavesTheFramesLists) {
    for (const bool autoHide : {false, true}) {
        auto pBar = std::make_unique<CFixedBar>(CSize(100, 24));
        ASSERT_TRUE(pBar->Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 100, 24), m_pFrame, 0xE832));
        auto listed = [&] {
            return autoHide ? Manager().GetAutoHideSliders().Find(pBar.get()) != nullptr
                            : Manager().GetBars().Find(pBar.get()) != nullptr;
        };
        ASSERT_TRUE(Manager().AddControlBar(pBar.get(), TRUE, autoHide));
        EXPECT_TRUE(listed());
        pBar->DestroyWindow();
        EXPECT_FALSE(listed()) << autoHide;
        pBar.reset();
        // A layout after the bar's object went touches only bars that are.
        m_pFrame->RecalcLayout();
        Manager().RelayoutAllBars(TRUE);
    }
}

}  // namespace
