// Tabbed groups and auto-hide strips in the test frame, driven by drags,
// clicks, timers and the dock manager's clock: panes dropped on captions,
// closing tabs, whole groups moved, groups put into auto hide; strip
// buttons measured and drawn, the hover that slides a pane out, the watch
// that slides it back, and the strip that goes with its last button.
#include "CanvasTestSupport.h"
#include "PaneTestSupport.h"

#include "docking/bars/QMXPAutoHideButton.h"
#include "docking/bars/QMXPAutoHideDockBar.h"
#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPBarContainerManager.h"
#include "docking/bars/QMXPTabWnd.h"
#include "docking/bars/QMXPTabbedControlBar.h"
#include "docking/toolbars/QMXPGlobalData.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class TabbedPaneTest : public PaneTest {
protected:
    static CQMXPBaseTabbedBar* GroupOf(CQMXPDockingControlBar* pPane) {
        HWND hWndTab = nullptr;
        CQMXPBaseTabWnd* pTabWnd = pPane->GetParentTabWnd(hWndTab);
        return pTabWnd != nullptr ? DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabWnd->GetParent()) : nullptr;
    }
    // The caption's screen point of a docked pane.
    static CPoint CaptionOf(CQMXPDockingControlBar* pPane) {
        CRect rect;
        pPane->GetWindowRect(&rect);
        return CPoint(rect.left + 20, rect.top + pPane->GetCaptionHeight() / 2);
    }
    // A pane docked left and put into auto hide there.
    CTestPane* AutoHidden(UINT nID, int cx) {
        CTestPane* pPane = DockPane(nID, CSize(cx, 300), AFX_IDW_DOCKBAR_LEFT);
        pPane->SetAutoHideMode(TRUE, 0x1000, nullptr, FALSE);
        Pump();
        return pPane;
    }
    // Drives a started slide out by its timer; the number of steps, each checked to move the free edge by nStep.
    static int SlideOutSteps(CTestPane* pPane, int nStep) {
        int nSteps = 0;
        while (pPane->GetSlideTimer() != 0 && nSteps < 300) {
            const int xBefore = Screen(pPane).right;
            pPane->SendMessage(WM_TIMER, CQMXPDockingControlBar::kSlideOutTimer);
            EXPECT_EQ(Screen(pPane).right - xBefore, nStep) << nSteps;
            ++nSteps;
        }
        return nSteps;
    }
    static CRect Screen(const CWnd* pWnd) {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        return rect;
    }
    void EnableStrips() {
        ASSERT_TRUE(m_pFrame->EnableAutoHideBars(0xF000));
    }
};

TEST_F(TabbedPaneTest, PanesDroppedOnCaptionsMakeAndJoinAGroupThatClosesTabByTab) {
    CTestPane* pDocked = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pSecond = FloatPane(0xE901, CRect(400, 100, 600, 300));
    CTestPane* pThird = FloatPane(0xE902, CRect(400, 320, 600, 520));
    DragFrameTo(pSecond->GetParentMiniFrame(), CaptionOf(pDocked));
    CQMXPBaseTabbedBar* pGroup = GroupOf(pDocked);
    ASSERT_NE(pGroup, nullptr);
    EXPECT_TRUE(pGroup->IsKindOf(RUNTIME_CLASS(CQMXPTabbedControlBar)));
    EXPECT_EQ(GroupOf(pSecond), pGroup);
    EXPECT_EQ(pGroup->GetDlgCtrlID(), -1);
    // Dropped on the group (whose caption now shows), a pane joins it.
    DragFrameTo(pThird->GetParentMiniFrame(), CaptionOf(pGroup));
    EXPECT_EQ(GroupOf(pThird), pGroup);
    // Attached to a pane that is a tab already, a pane joins that tab's group.
    CTestPane* pFourth = MakePane(0xE903, CSize(200, 300));
    EXPECT_EQ(pFourth->AttachToTabWnd(pDocked, QMXP_DM_RECT, TRUE, nullptr), pFourth);
    EXPECT_EQ(GroupOf(pFourth), pGroup);
    pGroup->RemoveControlBar(pFourth);
    pFourth->DestroyWindow();
    ASSERT_EQ(pGroup->GetTabsNum(), 3);

    // The close button of a group of several visible tabs hides the active tab only.
    pGroup->OnPressCloseButton();
    EXPECT_EQ(pGroup->GetVisibleTabsNum(), 2);
    EXPECT_TRUE(pGroup->IsWindowVisible());
    pGroup->OnPressCloseButton();
    EXPECT_EQ(pGroup->GetVisibleTabsNum(), 1);
    pGroup->OnPressCloseButton();
    EXPECT_FALSE(pGroup->IsWindowVisible());
    EXPECT_EQ(pGroup->GetTabsNum(), 3);
}

// A bar container holds a tabbed group (id -1) as a valid pane while it has
// tabs; a pane whose window is gone is not.
TEST_F(TabbedPaneTest, AGroupWithTabsIsAValidPaneOfTheContainers) {
    CQMXPDockingControlBar* pTabbed = GroupOfTwo(0xE901, 0xE902);
    ASSERT_NE(pTabbed, nullptr);
    ASSERT_EQ(pTabbed->GetDlgCtrlID(), -1);
    CQMXPBarContainerManager manager;
    manager.Create(m_pFrame, nullptr);
    EXPECT_TRUE(manager.CheckAndRemoveNonValidBar(pTabbed));
    CTestPane* pGone = MakePane(0xE903, CSize(200, 300));
    pGone->DestroyWindow();
    EXPECT_FALSE(manager.CheckAndRemoveNonValidBar(pGone));
}

TEST_F(TabbedPaneTest, AGroupDroppedOnACaptionMovesAllItsTabsWithTheirFlags) {
    CTestPane* pTarget = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_RIGHT);
    CTestPane* pFirst = DockPane(0xE901, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pSecond = MakePane(0xE902, CSize(200, 300));
    CTestPane* pThird = MakePane(0xE903, CSize(200, 300));
    CQMXPDockingControlBar* pTabbed = nullptr;
    pSecond->AttachToTabWnd(pFirst, QMXP_DM_RECT, TRUE, &pTabbed);
    pThird->AttachToTabWnd(pTabbed, QMXP_DM_RECT, TRUE, nullptr);
    auto* pGroup = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabbed);
    ASSERT_NE(pGroup, nullptr);
    ASSERT_EQ(pGroup->GetTabsNum(), 3);
    CQMXPBaseTabWnd* pTabs = pGroup->GetUnderlinedWindow();
    pTabs->ShowTab(pTabs->GetTabFromID(0xE902), FALSE);
    pTabs->EnableTabDetach(pTabs->GetTabFromID(0xE903), FALSE);
    ASSERT_TRUE(pGroup->FloatControlBar(CRect(300, 200, 500, 400), QMXP_DM_RECT));
    // Over the caption the status is "as a tab"; the frame's drop then docks the group so.
    EXPECT_EQ(pTarget->GetDockingStatus(CaptionOf(pTarget), 15), 3);
    pGroup->GetParentMiniFrame()->DockFrame(QMXP_DOCK_TAB, pTarget, QMXP_DM_MOUSE);
    Pump();
    CQMXPBaseTabbedBar* pNewGroup = GroupOf(pTarget);
    ASSERT_NE(pNewGroup, nullptr);
    EXPECT_EQ(pNewGroup->GetTabsNum(), 4);
    CQMXPBaseTabWnd* pNewTabs = pNewGroup->GetUnderlinedWindow();
    EXPECT_FALSE(pNewTabs->IsTabVisible(pNewTabs->GetTabFromID(0xE902)));
    EXPECT_FALSE(pNewTabs->IsTabDetachable(pNewTabs->GetTabFromID(0xE903)));
    EXPECT_TRUE(pNewTabs->IsTabVisible(pNewTabs->GetTabFromID(0xE901)));
    // The emptied group is gone.
    EXPECT_FALSE(::IsWindow(pTabs->GetSafeHwnd()));
}

TEST_F(TabbedPaneTest, StripButtonsMeasureTheirTextAndDrawNoLineAgainstTheEdge) {
    EnableStrips();
    CTestPane* pPane = DockPane(0xE900, CSize(200, 150), AFX_IDW_DOCKBAR_TOP);
    CQMXPAutoHideToolBar* pStrip = pPane->SetAutoHideMode(TRUE, 0x2000, nullptr, FALSE);
    ASSERT_NE(pStrip, nullptr);
    CQMXPAutoHideButton* pButton = pPane->GetAutoHideButton();
    ASSERT_NE(pButton, nullptr);
    CSize sizeText;
    {
        CWindowDC dc(pStrip);
        CFont* pOld = dc.SelectObject(&globalData.fontRegular);
        sizeText = dc.GetTextExtent(CString(L"Pane 59648"));
        dc.SelectObject(pOld);
    }
    pStrip->CQMXPControlBar::SetActiveInGroup(TRUE);
    EXPECT_EQ(pButton->CalcButtonSize(), CSize(4 + sizeText.cx + 22, 4 + sizeText.cy));
    pStrip->CQMXPControlBar::SetActiveInGroup(FALSE);
    EXPECT_EQ(pButton->CalcButtonSize(), CSize(4 + 22, 4 + sizeText.cy));

    // Drawn for each side, the edge side has no line; the others have the shadow colour.
    const CSize size(60, 24);
    struct Case {
        DWORD dwSide;
        CPoint ptEdge;
        CPoint ptOther;
    };
    for (const Case& c : {Case{0x2000, {30, 0}, {30, 23}}, Case{0x8000, {30, 23}, {30, 0}},
                          Case{0x1000, {0, 12}, {59, 12}}, Case{0x4000, {59, 12}, {0, 12}}}) {
        CQMXPAutoHideButton button;
        button.SetRect(CRect(CPoint(0, 0), size));
        CCanvas canvas(size.cx, size.cy);
        button.DrawBorder(&canvas.DC(), CRect(CPoint(0, 0), size),
                          c.dwSide == 0x2000   ? CRect(1, 0, 1, 1)
                          : c.dwSide == 0x8000 ? CRect(1, 1, 1, 0)
                          : c.dwSide == 0x1000 ? CRect(0, 1, 1, 1)
                                               : CRect(1, 1, 0, 1));
        EXPECT_EQ(canvas.At(c.ptEdge.x, c.ptEdge.y), RGB(255, 255, 255)) << c.dwSide;
        EXPECT_EQ(canvas.At(c.ptOther.x, c.ptOther.y), globalData.clrBtnShadow) << c.dwSide;
    }
    // The button's own drawing turns the widths to its side.
    CCanvas canvas(pButton->GetRect().Width(), pButton->GetRect().Height());
    pButton->Draw(&canvas.DC());
    const int cy = pButton->GetRect().Height();
    EXPECT_NE(canvas.At(pButton->GetRect().Width() / 2, 0), globalData.clrBtnShadow);
    EXPECT_EQ(canvas.At(pButton->GetRect().Width() / 2, cy - 1), globalData.clrBtnShadow);
}

TEST_F(TabbedPaneTest, APaneSlidesOutAfterTheHoverDelayAndBackWhenTheMouseIsAway) {
    EnableStrips();
    CTestClock clock;
    // A thin pane first: one pixel a step, ten steps.
    CTestPane* pThin = AutoHidden(0xE901, 10);
    pThin->Slide(TRUE, TRUE);
    EXPECT_EQ(SlideOutSteps(pThin, 1), 10);
    pThin->Slide(FALSE, FALSE);
    CTestPane* pPane = AutoHidden(0xE900, 240);
    ASSERT_TRUE(pPane->IsAutoHideMode());
    EXPECT_FALSE(pPane->IsWindowVisible());
    CQMXPAutoHideToolBar* pStrip = pPane->GetAutoHideToolBar();
    ASSERT_NE(pStrip, nullptr);
    CRect rectButton = pPane->GetAutoHideButton()->GetRect();
    pStrip->ClientToScreen(&rectButton);
    CCursorAt cursor(rectButton.CenterPoint());
    CTestClock::s_now = 1000;
    SendAt(pStrip, WM_MOUSEMOVE, rectButton.CenterPoint());
    EXPECT_TRUE(pStrip->IsHoverPending());
    CTestClock::s_now = 1300;
    pStrip->SendMessage(WM_TIMER, 1);
    EXPECT_FALSE(pPane->IsWindowVisible());
    CTestClock::s_now = 1400;
    pStrip->SendMessage(WM_TIMER, 1);
    ASSERT_TRUE(pPane->IsWindowVisible());

    // Twelve steps of a twelfth of its width.
    EXPECT_EQ(SlideOutSteps(pPane, 20), 12);
    pPane->AddFileList(30);
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    CRect rectFrame;
    m_pFrame->GetWindowRect(&rectFrame);
    EXPECT_TRUE(SaveScreen(rectFrame, L"docking_pane_slid_out"));

    // The watch keeps it out while the mouse is on its button, lets it go once the mouse is away.
    pPane->SendMessage(WM_TIMER, CQMXPDockingControlBar::kWatchTimer);
    EXPECT_EQ(pPane->GetSlideTimer(), 0u);
    ::SetCursorPos(Screen(m_pFrame).right - 5, Screen(m_pFrame).bottom - 5);
    // Nor while its caption is active, the focus inside it.
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    Pump();
    pPane->SetFocus();
    pPane->OnUpdateCmdUI(m_pFrame, FALSE);
    ASSERT_TRUE(pPane->IsActive());
    pPane->SendMessage(WM_TIMER, CQMXPDockingControlBar::kWatchTimer);
    EXPECT_EQ(pPane->GetSlideTimer(), 0u);
    m_pFrame->SetFocus();
    pPane->OnUpdateCmdUI(m_pFrame, FALSE);
    pPane->SendMessage(WM_TIMER, CQMXPDockingControlBar::kWatchTimer);
    EXPECT_NE(pPane->GetSlideTimer(), 0u);
    for (int i = 0; i < 20 && pPane->GetSlideTimer() != 0; ++i)
        pPane->SendMessage(WM_TIMER, 1);
    EXPECT_FALSE(pPane->IsWindowVisible());
}

TEST_F(TabbedPaneTest, TheLastButtonTakesItsStripAwayAndSidesWithoutStripsGiveNone) {
    CTestPane* pPane = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(Manager().CreateAutoHideStrip(pPane, nullptr), nullptr);
    EnableStrips();
    CQMXPAutoHideToolBar* pStrip = pPane->SetAutoHideMode(TRUE, 0x1000, nullptr, FALSE);
    ASSERT_NE(pStrip, nullptr);
    const HWND hStrip = pStrip->GetSafeHwnd();
    auto* pDockBar = DYNAMIC_DOWNCAST(CQMXPAutoHideDockBar, pStrip->GetParentDockBar());
    ASSERT_NE(pDockBar, nullptr);
    EXPECT_GT(Screen(pDockBar).Width(), 0);
    pPane->SetAutoHideMode(FALSE, 0x1000, pStrip, FALSE);
    Pump();
    EXPECT_FALSE(::IsWindow(hStrip));
    EXPECT_EQ(pDockBar->GetControlBars().GetCount(), 0);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(Screen(pDockBar).Width() * Screen(pDockBar).Height(), 0);
    EXPECT_TRUE(pPane->IsWindowVisible());
    EXPECT_FALSE(pPane->IsAutoHideMode());
}

TEST_F(TabbedPaneTest, AStripThatGoesBeforeItsPaneIsForgottenByThePane) {
    EnableStrips();
    CTestPane* pPane = AutoHidden(0xE900, 200);
    CQMXPAutoHideToolBar* pStrip = pPane->GetAutoHideToolBar();
    ASSERT_NE(pStrip, nullptr);
    pStrip->DestroyWindow();
    EXPECT_EQ(pPane->GetAutoHideToolBar(), nullptr);
    EXPECT_EQ(pPane->GetAutoHideButton(), nullptr);
    // The pane's own end no longer calls the strip that is gone.
    pPane->DestroyWindow();
}

TEST_F(TabbedPaneTest, AGroupInAutoHideGivesEachVisibleDetachablePaneItsButton) {
    EnableStrips();
    CTestPane* pFirst = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pSecond = MakePane(0xE901, CSize(200, 300));
    CTestPane* pThird = MakePane(0xE902, CSize(200, 300));
    CQMXPDockingControlBar* pTabbed = nullptr;
    pSecond->AttachToTabWnd(pFirst, QMXP_DM_RECT, TRUE, &pTabbed);
    pThird->AttachToTabWnd(pTabbed, QMXP_DM_RECT, TRUE, nullptr);
    ASSERT_NE(pTabbed, nullptr);
    auto* pGroup = static_cast<CQMXPBaseTabbedBar*>(pTabbed);
    pGroup->GetUnderlinedWindow()->ShowTab(pGroup->GetUnderlinedWindow()->GetTabFromID(0xE902), FALSE);
    pGroup->SetAutoHideMode(TRUE, 0x1000, nullptr, FALSE);
    Pump();
    for (CTestPane* pPane : {pFirst, pSecond}) {
        EXPECT_TRUE(pPane->IsAutoHideMode()) << pPane->GetDlgCtrlID();
        ASSERT_NE(pPane->GetAutoHideToolBar(), nullptr);
        EXPECT_EQ(pPane->GetAutoHideToolBar()->GetButtons().GetCount(), 1);
    }
    EXPECT_NE(pFirst->GetAutoHideToolBar(), pSecond->GetAutoHideToolBar());
    EXPECT_FALSE(pThird->IsAutoHideMode());
    // Only the strip that is active in the group shows a title.
    const int nActive = (pFirst->GetAutoHideToolBar()->IsActiveInGroup() ? 1 : 0) +
                        (pSecond->GetAutoHideToolBar()->IsActiveInGroup() ? 1 : 0);
    EXPECT_EQ(nActive, 1);
}

TEST_F(TabbedPaneTest, ATabDraggedLessThanTheDragDistanceStaysInItsGroup) {
    CTestPane* pFirst = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CQMXPDockingControlBar* pTabbed = nullptr;
    for (UINT nID : {0xE901u, 0xE902u})
        MakePane(nID, CSize(200, 300))->AttachToTabWnd(pTabbed != nullptr ? pTabbed : pFirst, QMXP_DM_RECT, TRUE,
                                                         pTabbed != nullptr ? nullptr : &pTabbed);
    ASSERT_NE(pTabbed, nullptr);
    CQMXPBaseTabWnd* pTabs = static_cast<CQMXPBaseTabbedBar*>(pTabbed)->GetUnderlinedWindow();
    ASSERT_EQ(pTabs->GetTabsNum(), 3);
    CRect rectTab;
    pTabs->GetTabRect(pTabs->GetActiveTab(), rectTab);
    pTabs->ClientToScreen(&rectTab);
    const CPoint ptStart = rectTab.CenterPoint();
    CCursorAt cursor(ptStart);
    SendAt(pTabs, WM_MOUSEMOVE, ptStart);
    SendAt(pTabs, WM_LBUTTONDOWN, ptStart, MK_LBUTTON);
    const CSize sizeDrag(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    ::SetCursorPos(ptStart.x + sizeDrag.cx - 1, ptStart.y - sizeDrag.cy + 1);
    EXPECT_FALSE(pTabs->DetachTab(QMXP_DM_MOUSE));
    EXPECT_EQ(pTabs->GetTabsNum(), 3);
    ::SetCursorPos(ptStart.x, ptStart.y - sizeDrag.cy);
    EXPECT_TRUE(pTabs->DetachTab(QMXP_DM_MOUSE));
    EXPECT_EQ(pTabs->GetTabsNum(), 2);
    ::ReleaseCapture();
    Pump();
}

TEST_F(TabbedPaneTest, AFrameDraggedOverAGroupShowsAPlaceholderTabThatLeavesWithTheDrag) {
    CTestPane* pFirst = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CQMXPDockingControlBar* pTabbed = nullptr;
    MakePane(0xE901, CSize(200, 300))->AttachToTabWnd(pFirst, QMXP_DM_RECT, TRUE, &pTabbed);
    auto* pGroup = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabbed);
    ASSERT_NE(pGroup, nullptr);
    CQMXPBaseTabWnd* pTabs = pGroup->GetUnderlinedWindow();
    ASSERT_EQ(pTabs->GetTabsNum(), 2);
    const int iActive = pTabs->GetActiveTab();
    CRect rectGroup;
    pGroup->GetWindowRect(&rectGroup);
    const CPoint ptOverGroup = CaptionOf(pGroup);
    const CPoint ptAway(rectGroup.right + 250, rectGroup.top + 200);

    // How each drag ends: moved off the group, Esc, the button let go over the group.
    enum End { kMovedAway, kEscape, kDropped };
    for (End end : {kMovedAway, kEscape, kDropped}) {
        CTestPane* pDragged = FloatPane(0xE910 + end, CRect(450, 100, 650, 300));
        CQMXPMiniFrameWnd* pFrame = pDragged->GetParentMiniFrame();
        ASSERT_NE(pFrame, nullptr);
        const CPoint ptFrom = CaptionPoint(pFrame);
        CCursorAt cursor(ptFrom);
        SendAt(pFrame, WM_LBUTTONDOWN, ptFrom, MK_LBUTTON);
        ::SetCursorPos(ptOverGroup.x, ptOverGroup.y);
        SendAt(pFrame, WM_MOUSEMOVE, ptOverGroup, MK_LBUTTON);
        // The placeholder is the last tab, named after the dragged pane; the active tab stays.
        ASSERT_EQ(pTabs->GetTabsNum(), 3) << end;
        EXPECT_EQ(pTabs->GetTabWnd(2), &qmxDummyDockingBar);
        CString strLabel;
        pTabs->GetTabLabel(2, strLabel);
        CString strName;
        pDragged->GetWindowText(strName);
        EXPECT_EQ(strLabel, strName);
        EXPECT_EQ(pTabs->GetActiveTab(), iActive);
        CRect rectPlaceholder;
        ASSERT_TRUE(pTabs->GetTabRect(2, rectPlaceholder));
        EXPECT_FALSE(rectPlaceholder.IsRectEmpty());
        if (end == kMovedAway) {
            CRect rectShot = rectGroup;
            rectShot.InflateRect(0, 0, 10, 10);
            Pump();
            EXPECT_TRUE(SaveScreen(rectShot, L"docking_placeholder_tab"));
            ::SetCursorPos(ptAway.x, ptAway.y);
            SendAt(pFrame, WM_MOUSEMOVE, ptAway, MK_LBUTTON);
            EXPECT_EQ(pTabs->GetTabsNum(), 2);
            SendAt(pFrame, WM_LBUTTONUP, ptAway);
            EXPECT_TRUE(pDragged->IsFloating());
        } else if (end == kEscape) {
            pFrame->SendMessage(WM_CHAR, VK_ESCAPE);
            EXPECT_EQ(pTabs->GetTabsNum(), 2);
            EXPECT_TRUE(pDragged->IsFloating());
        } else {
            SendAt(pFrame, WM_LBUTTONUP, ptOverGroup);
            Pump();
            // The pane itself takes the place the placeholder showed.
            ASSERT_EQ(pTabs->GetTabsNum(), 3);
            EXPECT_EQ(pTabs->GetTabWnd(2), pDragged);
        }
        // The placeholder window lives on for the next drag, hidden.
        EXPECT_TRUE(::IsWindow(qmxDummyDockingBar.GetSafeHwnd())) << end;
        EXPECT_FALSE(qmxDummyDockingBar.IsWindowVisible());
        for (int i = 0; i < pTabs->GetTabsNum(); ++i)
            EXPECT_NE(pTabs->GetTabWnd(i), &qmxDummyDockingBar) << end;
        ::ReleaseCapture();
        Pump();
    }
}

TEST_F(TabbedPaneTest, AFloatingGroupsTabsAreFoundByIdUntilItDocks) {
    CTestPane* pFirst = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CQMXPDockingControlBar* pTabbed = nullptr;
    CTestPane* pSecond = MakePane(0xE901, CSize(200, 300));
    pSecond->AttachToTabWnd(pFirst, QMXP_DM_RECT, TRUE, &pTabbed);
    auto* pGroup = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, pTabbed);
    ASSERT_NE(pGroup, nullptr);
    ASSERT_TRUE(pGroup->FloatControlBar(CRect(400, 150, 620, 450), QMXP_DM_RECT));
    CQMXPMiniFrameWnd* pGroupFrame = pGroup->GetParentMiniFrame();
    ASSERT_NE(pGroupFrame, nullptr);
    for (CTestPane* pPane : {pFirst, pSecond})
        EXPECT_EQ(CQMXPMiniFrameWnd::FindFloatingBarByID(pPane->GetDlgCtrlID()), pPane);
    EXPECT_EQ(m_pFrame->GetDockManager()->FindBarByID(0xE901, FALSE), pSecond);

    // Docked again, its tabs leave the map.
    pGroup->DockToFrameWindow(0x1000);
    Pump();
    for (UINT nID : {0xE900u, 0xE901u})
        EXPECT_EQ(CQMXPMiniFrameWnd::FindFloatingBarByID(nID), nullptr);
}

TEST_F(TabbedPaneTest, HidingAllBarsLeavesTheAutoHideStrips) {
    EnableStrips();
    AutoHidden(0xE900, 200);
    CQMXPDockBar* pStrips = m_pFrame->GetDockManager()->DockBarForSide(0x1000, FALSE);
    ASSERT_NE(pStrips, nullptr);
    ASSERT_TRUE(pStrips->IsKindOf(RUNTIME_CLASS(CQMXPAutoHideDockBar)));
    ASSERT_NE(pStrips->GetStyle() & WS_VISIBLE, 0u);
    CQMXPDockBar* pTop = m_pFrame->GetDockManager()->DockBarForSide(0x2000, TRUE);
    CFixedBar bar(CSize(120, 26));
    ASSERT_TRUE(bar.Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 120, 26), m_pFrame, 0xE830));
    bar.EnableDocking(0xF000);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(pTop->GetStyle() & WS_VISIBLE, 0u);
    // The dock bar that holds the tool bar goes; the strip with its pane's button stays.
    m_pFrame->ShowControlBars(FALSE);
    EXPECT_NE(pStrips->GetStyle() & WS_VISIBLE, 0u);
    EXPECT_EQ(pTop->GetStyle() & WS_VISIBLE, 0u);
    m_pFrame->ShowControlBars(TRUE);
    EXPECT_NE(pTop->GetStyle() & WS_VISIBLE, 0u);
    EXPECT_NE(pStrips->GetStyle() & WS_VISIBLE, 0u);
    bar.DestroyWindow();
}

// A plain control bar that is a tab of a group leaves the group when its
// window goes, so no tab is left with a window that no longer exists. A bar
// in a tab window that belongs to no tabbed bar is not tabbed (the root
// bar's own test counts any tab window).
TEST_F(TabbedPaneTest, AControlBarTabLeavesItsGroupWhenItsWindowGoes) {
    auto* pGroup = DYNAMIC_DOWNCAST(CQMXPBaseTabbedBar, GroupOfTwo(0xE901, 0xE902));
    ASSERT_NE(pGroup, nullptr);
    CFixedBar bar(CSize(120, 26));
    ASSERT_TRUE(bar.Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 120, 26), m_pFrame, 0xE950));
    EXPECT_FALSE(bar.IsTabbed());
    // Not detachable: the tab holds the bar itself, not a wrapper round it.
    ASSERT_TRUE(pGroup->AddTab(&bar, TRUE, TRUE, FALSE));
    ASSERT_EQ(pGroup->GetTabsNum(), 3);
    EXPECT_TRUE(bar.IsTabbed());
    const HWND hWndBar = bar.m_hWnd;
    bar.DestroyWindow();
    EXPECT_EQ(pGroup->GetTabsNum(), 2);
    EXPECT_EQ(pGroup->GetUnderlinedWindow()->GetTabFromHwnd(hWndBar), -1);
    EXPECT_TRUE(pGroup->IsWindowVisible());

    CQMXPTabWnd tabs;
    ASSERT_TRUE(tabs.Create(QMXP_STYLE_3D, CRect(300, 300, 500, 400), m_pFrame, 0xE951));
    CFixedBar loose(CSize(60, 20));
    ASSERT_TRUE(loose.Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 60, 20), &tabs, 0xE952));
    EXPECT_FALSE(loose.IsTabbed());
    EXPECT_TRUE(loose.CQMXPBaseControlBar::IsTabbed());
    loose.DestroyWindow();
    tabs.DestroyWindow();
}

}  // namespace
