// Control bars in the test frame: what a new bar has, floating by double
// click, the registry state of a floating bar, ending a drag, and the drag
// rules: when a dragged bar docks or tears off, and the outline it draws.
#include "DockLayoutSupport.h"

#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

#include <regex>

using namespace docking_test;

namespace {

const auto RawValue = RawRegistryValue;

std::vector<BYTE> Dwords(std::initializer_list<LONG> values) {
    std::vector<BYTE> bytes;
    for (LONG value : values) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<BYTE>(static_cast<DWORD>(value) >> (8 * i)));
    }
    return bytes;
}

using ControlBarTest = DockLayoutTest;

TEST_F(ControlBarTest, ANewBarHasItsBordersClassAndRecentPlaces) {
    CFixedBar* pBar = AddBar(CSize(100, 26), 0, 0xE820);
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(pBar->GetBorders(), CRect(6, 2, 6, 2));
    EXPECT_EQ(pBar->GetDefaultGap(), 2);
    EXPECT_EQ(pBar->GetMRUWidth(), 32767);
    wchar_t szClass[128] = {};
    ::GetClassNameW(pBar->m_hWnd, szClass, 128);
    EXPECT_TRUE(std::regex_match(std::wstring(szClass), std::wregex(L"^QMXControlBar:[0-9a-f]+:8:[0-9a-f]+:10$")))
        << std::string(szClass, szClass + wcslen(szClass));
    // Created at (0, 0) of the frame: that is its floating place until it floats.
    CRect rectScreen(0, 0, 100, 26);
    m_pFrame->ClientToScreen(&rectScreen);
    EXPECT_EQ(pBar->GetRecentFloatingRect(), rectScreen);
    EXPECT_EQ(pBar->GetRecentDockInfo().m_dwRecentAlignmentToFrame, 0x1000u);
}

TEST_F(ControlBarTest, DoubleClickFloatsItAndAFloatingBarStoresItsFrame) {
    m_bars.push_back(std::make_unique<CFixedBar>(CSize(100, 26)));
    CFixedBar* pBar = m_bars.back().get();
    ASSERT_TRUE(pBar->Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), m_pFrame, 0xE820));
    pBar->EnableDocking(0xF000);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(pBar->GetParentDockBar(), DockBar(0x2000));
    pBar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(Screen(pMiniFrame), CRect(10, 10, 110, 110));
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(0, 0, 800, 600));

    pMiniFrame->MoveWindow(CRect(200, 150, 340, 210));
    const CScratchRegistryKey scratch;
    const std::wstring profile = scratch.Path() + L"\\";
    EXPECT_TRUE(pBar->SaveState(profile.c_str()));
    const std::wstring key = profile + L"QMXPControlBar-59424";
    const struct {
        const wchar_t* name;
        std::vector<BYTE> bytes;
    } values[] = {
        {L"ID", Dwords({0xE820})},
        {L"RectRecentFloat", Dwords({200, 150, 340, 210})},
        {L"RectRecentDocked", Dwords({0, 0, 100, 26})},
        {L"RecentFrameAlignment", Dwords({0x1000})},
        {L"RecentRowIndex", Dwords({0})},
        {L"IsFloating", Dwords({1})},
        {L"MRUWidth", Dwords({32767})},
        {L"PinState", Dwords({0})},
    };
    for (const auto& value : values)
        EXPECT_EQ(RawValue(key, value.name), value.bytes) << std::string(value.name, value.name + wcslen(value.name));

    CFixedBar other(CSize(100, 26));
    ASSERT_TRUE(other.Create(nullptr, WS_CHILD, CRect(0, 0, 0, 0), m_pFrame, 0xE821));
    EXPECT_TRUE(other.LoadState(profile.c_str(), 0xE820));
    EXPECT_TRUE(other.IsRestoredFloating());
    EXPECT_EQ(other.GetRecentFloatingRect(), CRect(200, 150, 340, 210));
    EXPECT_EQ(other.GetID(), 0xE820u);
    EXPECT_FALSE(other.LoadState(profile.c_str(), 0xE822));
}

TEST_F(ControlBarTest, ABarThatMayNotFloatStaysDocked) {
    m_bars.push_back(std::make_unique<CFixedBar>(CSize(100, 26)));
    CFixedBar* pBar = m_bars.back().get();
    ASSERT_TRUE(pBar->Create(nullptr, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), m_pFrame, 0xE820,
                             QMXP_CBRS_STYLE4));
    pBar->EnableDocking(0xF000);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    ASSERT_EQ(pBar->GetParentDockBar(), DockBar(0x2000));
    EXPECT_TRUE(pBar->FloatControlBar(CRect(10, 10, 110, 110), QMXP_DM_RECT));
    pBar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(pBar->GetParentDockBar(), DockBar(0x2000));
    EXPECT_FALSE(pBar->IsFloating());
}

TEST_F(ControlBarTest, ABarDeletedBeforeItsWindowLeavesItsRow) {
    CFixedBar* pKept = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    auto* pGone = new CQMXPToolBar;
    ASSERT_TRUE(pGone->Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE830));
    pGone->EnableDocking(0xF000);
    m_pFrame->DockControlBar(pGone, AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(DockBar(0x2000)->GetControlBars().Find(pGone), nullptr);
    delete pGone;
    EXPECT_EQ(DockBar(0x2000)->GetControlBars().Find(pGone), nullptr);
    // The rows go on laying out and showing the bar that is left.
    DockBar(0x2000)->ShowControlBar(pKept, FALSE, FALSE, TRUE);
    DockBar(0x2000)->ShowControlBar(pKept, TRUE, FALSE, TRUE);
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(pKept->IsWindowVisible());
}

// Records the frame the bar knows while its window is being made.
class CRemadeBar : public CQMXPControlBar {
public:
    CFrameWnd* m_pSiteWhileMade = nullptr;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override {
        m_pSiteWhileMade = GetDockSiteFrameWnd();
        return CQMXPControlBar::PreCreateWindow(cs);
    }
};

TEST_F(ControlBarTest, ABarMadeAgainInAnotherFrameForgetsTheFrameThatWentWithItsWindow) {
    CDockTestFrame* pOld = MakeFrame(200, 150);
    ASSERT_NE(pOld, nullptr);
    CRemadeBar bar;
    ASSERT_TRUE(bar.Create(nullptr, WS_CHILD, CRect(0, 0, 50, 20), pOld, 0xE840, 0));
    EXPECT_EQ(bar.GetDockSiteFrameWnd(), pOld);
    pOld->DestroyWindow();
    ASSERT_TRUE(bar.Create(nullptr, WS_CHILD, CRect(0, 0, 50, 20), m_pFrame, 0xE840, 0));
    EXPECT_EQ(bar.m_pSiteWhileMade, nullptr);
    EXPECT_EQ(bar.GetDockSiteFrameWnd(), m_pFrame);
    bar.DestroyWindow();
}

TEST_F(ControlBarTest, EscapeEndsADragAsCancelModeDoes) {
    CFixedBar* pBar = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    const CPoint ptGrab = Screen(pBar).TopLeft() + CSize(20, 10);
    for (const MSG& end : {MSG{nullptr, WM_CHAR, VK_ESCAPE, 0}, MSG{nullptr, WM_CANCELMODE, 0, 0}}) {
        CCursorAt cursor(ptGrab);
        pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
        ASSERT_TRUE(pBar->IsCaptured());
        EXPECT_TRUE(pBar->IsDragMode());
        ::SetCursorPos(ptGrab.x + 30, ptGrab.y + 200);
        pBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, 0);
        EXPECT_TRUE(pBar->GetDragFrame().m_bDragStarted);
        pBar->SendMessage(end.message, end.wParam, end.lParam);
        EXPECT_FALSE(pBar->IsCaptured()) << end.message;
        EXPECT_FALSE(pBar->IsDragMode());
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        EXPECT_FALSE(pBar->GetDragFrame().m_bDragStarted);
        EXPECT_TRUE(pBar->GetDragFrame().m_rectDrag.IsRectEmpty());
        EXPECT_EQ(pBar->GetParentDockBar(), DockBar(0x2000));
    }
}

TEST_F(ControlBarTest, AFloatingBarDocksWhenTheCursorIsNearEnoughForItsShare) {
    AddBar(CSize(100, 30), AFX_IDW_DOCKBAR_RIGHT, 0xE820);
    const CRect rectDockBar = Screen(DockBar(0x4000));
    ASSERT_EQ(rectDockBar.Width(), 30);
    CFixedBar* pBar = AddBar(CSize(100, 40), 0, 0xE821);
    ASSERT_TRUE(pBar->FloatControlBar(CRect(100, 100, 400, 160), QMXP_DM_RECT));
    CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    // Grabbed 50 pixels from its right edge, the bar lies 25 percent beyond
    // the cursor: 15 x 25 % = 3.75 pixels of sensitivity. A bar of no width
    // counts as lying beyond the cursor in full.
    const struct {
        int cxBar;
        int nDistance;
        BOOL bChange;
    } cases[] = {{200, 3, TRUE}, {200, 4, FALSE}, {200, 0, TRUE}, {0, 15, TRUE}, {0, 16, FALSE}};
    for (const auto& c : cases) {
        // The bar fills the frame's client area: the frame is placed so that
        // the bar is cxBar wide and ends 50 pixels right of the cursor.
        CRect rectFrame = Screen(pMiniFrame);
        const int cxLeft = Screen(pBar).left - rectFrame.left;
        const int cxRight = rectFrame.right - Screen(pBar).right;
        const int xCursor = rectDockBar.left - c.nDistance;
        rectFrame.right = xCursor + 50 + cxRight;
        rectFrame.left = rectFrame.right - cxRight - c.cxBar - cxLeft;
        pMiniFrame->MoveWindow(rectFrame);
        ASSERT_EQ(Screen(pBar).Width(), c.cxBar);
        ASSERT_EQ(Screen(pBar).right, xCursor + 50);
        CCursorAt cursor(CPoint(xCursor, rectDockBar.CenterPoint().y));
        CQMXPBaseControlBar* pDockBar = nullptr;
        EXPECT_EQ(pBar->IsChangeState(15, &pDockBar), c.bChange) << c.cxBar << " at " << c.nDistance;
        EXPECT_EQ(pDockBar, c.nDistance <= 15 ? DockBar(0x4000) : nullptr);
    }
}

TEST_F(ControlBarTest, ADockedBarTearsOffWhenLessThanATenthOverlapsItsDockBar) {
    CFixedBar* pBar = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    const CRect rectDockBar = Screen(DockBar(0x2000));
    const struct {
        int xFullSize;  // the full-size rectangle's left edge in the dock bar
        bool bCursorInside;
        BOOL bChange;
    } cases[] = {{790, false, FALSE}, {790, true, FALSE}, {791, false, TRUE}, {791, true, FALSE}, {800, true, TRUE}};
    for (const auto& c : cases) {
        pBar->UpdateFullSizeRect();
        pBar->OffsetFullSizeRect(c.xFullSize - pBar->GetFullSizeClientRect().left, 0);
        CCursorAt cursor(c.bCursorInside ? rectDockBar.CenterPoint() : CPoint(400, rectDockBar.bottom + 40));
        CQMXPBaseControlBar* pDockBar = nullptr;
        EXPECT_EQ(pBar->IsChangeState(15, &pDockBar), c.bChange) << c.xFullSize << " " << c.bCursorInside;
    }
    pBar->UpdateFullSizeRect();
}

TEST_F(ControlBarTest, TheOutlineStartsBeyondTheDragThresholdsAndDocksOnlyWithoutCtrl) {
    CFixedBar* pBar = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    CQMXPDragFrameImpl& outline = pBar->GetDragFrame();
    ASSERT_GT(qmxDragThresholdX, 1);
    // Just inside the docking area's top edge, below the dock bar.
    CPoint ptStart(400, 30);
    m_pFrame->ClientToScreen(&ptStart);
    CCursorAt cursor(ptStart + CSize(1, 0));
    outline.m_ptHot = ptStart;
    outline.MoveDragFrame(FALSE);
    EXPECT_FALSE(outline.m_bDragStarted);
    EXPECT_TRUE(outline.m_rectDrag.IsRectEmpty());
    EXPECT_TRUE(outline.m_rectExpectedDocked.IsRectEmpty());

    // Forced, the first move draws: near the frame's top edge the outline is
    // the docked place, as thick as a docked outline.
    outline.MoveDragFrame(TRUE);
    EXPECT_TRUE(outline.m_bDragStarted);
    CRect rectTop = Manager().GetOuterDockArea();
    rectTop.bottom = rectTop.top + Screen(pBar).Height();
    m_pFrame->ClientToScreen(&rectTop);
    EXPECT_EQ(outline.m_rectExpectedDocked, rectTop);
    EXPECT_EQ(outline.m_nOldThickness, globalData.dragFrameWidth);
    EXPECT_EQ(outline.m_nOldThickness, 4);
    EXPECT_TRUE(::IsWindow(qmxDummyDockingBar.GetSafeHwnd()));
    EXPECT_EQ(qmxDummyDockingBar.GetParent(), m_pFrame);
    {
        CCtrlDown ctrl;
        ::SetCursorPos(ptStart.x + 2, ptStart.y);
        outline.MoveDragFrame(FALSE);
        EXPECT_TRUE(outline.m_rectExpectedDocked.IsRectEmpty());
        EXPECT_FALSE(outline.m_rectDrag.IsRectEmpty());
        EXPECT_EQ(outline.m_nOldThickness, 3);
    }
    outline.EndDrawDragFrame(TRUE);
    EXPECT_FALSE(outline.m_bDragStarted);
    EXPECT_TRUE(outline.m_rectDrag.IsRectEmpty());

    // The placeholder is made again once its window is gone.
    qmxDummyDockingBar.DestroyWindow();
    outline.m_ptHot = ptStart;
    outline.MoveDragFrame(TRUE);
    EXPECT_TRUE(::IsWindow(qmxDummyDockingBar.GetSafeHwnd()));
    outline.EndDrawDragFrame(TRUE);
}

// Logs the bars' context-menu messages it gets: wParam of each.
class CPopupOwner : public CWnd {
public:
    std::vector<WPARAM> menus;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == QMXTOOLBAR_POPUPMENU) {
            menus.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(ControlBarTest, ThePopupOwnerGetsTheContextMenusOfBarsAndDockBars) {
    CFixedBar* pBar = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    ASSERT_NE(pBar, nullptr);
    CQMXPDockBar* pDockBar = m_pFrame->GetDockManager()->DockBarForSide(0x2000, TRUE);
    ASSERT_NE(pDockBar, nullptr);
    CPopupOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, L"STATIC", L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    qmxPopupOwnerWnd = owner.m_hWnd;
    const CRect rectBar = Screen(pBar);
    for (CWnd* pWnd : {static_cast<CWnd*>(pBar), static_cast<CWnd*>(pDockBar)})
        pWnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pWnd->m_hWnd),
                          MAKELPARAM(rectBar.left + 5, rectBar.top + 5));
    qmxPopupOwnerWnd = nullptr;
    // The bar names itself; the dock bar names none.
    EXPECT_EQ(owner.menus, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(pBar->m_hWnd), 0}));
    owner.DestroyWindow();
}

TEST_F(ControlBarTest, AFloatingBarIsPlacedInItsFramesCoordinates) {
    CFixedBar* pBar = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    ASSERT_NE(pBar, nullptr);
    pBar->EnableDocking(0xF000);
    ASSERT_TRUE(pBar->FloatControlBar(CRect(300, 300, 420, 340), QMXP_DM_RECT));
    CQMXPMiniFrameWnd* pMiniFrame = pBar->GetParentMiniFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    auto inFrame = [&] {
        CRect rect = Screen(pBar);
        pMiniFrame->ScreenToClient(&rect);
        return rect;
    };
    // Where the bar lies in the main frame's coordinates is another place in its own frame.
    CRect rectTarget = Screen(pBar);
    m_pFrame->ScreenToClient(&rectTarget);
    ASSERT_NE(rectTarget, inFrame());
    EXPECT_EQ(pBar->MoveWindow(rectTarget, TRUE, nullptr), nullptr);
    EXPECT_EQ(inFrame(), rectTarget);
    // Asked for the place it has, nothing is deferred.
    CRect rectSame = inFrame();
    HDWP hdwp = ::BeginDeferWindowPos(1);
    EXPECT_EQ(pBar->MoveWindow(rectSame, TRUE, hdwp), hdwp);
    ::EndDeferWindowPos(hdwp);
}

}  // namespace
