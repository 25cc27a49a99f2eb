// Dock bars and their rows with bars of fixed sizes: new rows by the mouse
// and by a restore, docking beside a bar, a bar dragged out of its row, row
// sizes and a bar longer than its row.
#include "DockLayoutSupport.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "tests/framework/ScratchRegistryKey.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class DockBarTest : public DockLayoutTest {
protected:
    // The bar's window in its dock bar's client coordinates.
    CRect InDockBar(CQMXPControlBar* pBar) const {
        CRect rect = Screen(pBar);
        pBar->GetParentDockBar()->ScreenToClient(&rect);
        return rect;
    }
    int RowOf(CQMXPControlBar* pBar) const {
        return pBar->GetParentDockBar()->GetRowIndex(pBar->GetDockBarRow());
    }
    // Docks the bar at its recent place in the top dock bar.
    CFixedBar* AddBarAt(CSize size, UINT nID, CRect rectRecent) {
        CFixedBar* pBar = AddBar(size, 0, nID);
        pBar->GetRecentDockInfo().m_recentSliderInfo.m_rectDockedRect = rectRecent;
        m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
        return pBar;
    }
};

TEST_F(DockBarTest, TheMouseAboveTheFirstRowOrBelowTheLastMakesANewRow) {
    CFixedBar* pFirst = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    CQMXPDockBar* pDockBar = DockBar(0x2000);
    const CRect rectDockBar = Screen(pDockBar);
    const struct {
        CPoint ptCursor;
        int nNewRow;
        int nFirstBarRow;
    } cases[] = {
        {CPoint(rectDockBar.left + 300, rectDockBar.top - 5), 0, 1},
        {CPoint(rectDockBar.left + 300, rectDockBar.bottom + 60), 2, 1},
    };
    for (const auto& c : cases) {
        CFixedBar* pBar = AddBar(CSize(80, 26), 0, 0xE821 + static_cast<UINT>(&c - cases));
        CCursorAt cursor(c.ptCursor);
        ASSERT_TRUE(pBar->DockControlBar(pDockBar, nullptr, QMXP_DM_MOUSE));
        pBar->SendMessage(WM_CANCELMODE);
        EXPECT_EQ(RowOf(pBar), c.nNewRow);
        EXPECT_EQ(RowOf(pFirst), c.nFirstBarRow);
    }
    EXPECT_EQ(pDockBar->GetRows().GetCount(), 3);
    EXPECT_EQ(InFrame(pDockBar), CRect(0, 0, 800, 78));
    EXPECT_EQ(InDockBar(pFirst).top, 26);
}

TEST_F(DockBarTest, ARestoredRowIndexMakesTheRowsBeforeItAtMostOneMoreFromTheRegistry) {
    const CScratchRegistryKey scratch;
    const std::wstring profile = scratch.Path() + L"\\";
    CFixedBar* pThird = AddBar(CSize(100, 30), 0, 0xE820);
    pThird->GetRecentDockInfo().m_nRecentRowIndex = 3;
    CFixedBar* pHuge = AddBar(CSize(100, 30), 0, 0xE821);
    ASSERT_TRUE(pHuge->SaveState(profile.c_str()));
    ASSERT_TRUE(scratch.SetDword(profile + L"QMXPControlBar-59425", L"RecentRowIndex", 1000000));
    ASSERT_TRUE(pHuge->LoadState(profile.c_str()));
    CQMXPDockBar* pDockBar = DockBar(0x1000);
    qmxRestoringDockState = TRUE;
    m_pFrame->DockControlBar(pThird, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(pDockBar->GetRows().GetCount(), 4);
    EXPECT_EQ(RowOf(pThird), 3);
    m_pFrame->DockControlBar(pHuge, AFX_IDW_DOCKBAR_LEFT);
    qmxRestoringDockState = FALSE;
    EXPECT_EQ(pDockBar->GetRows().GetCount(), 5);
    EXPECT_EQ(RowOf(pHuge), 4);
}

TEST_F(DockBarTest, ABarDocksTenPixelsLeftOfAnother) {
    CFixedBar* pTarget = AddBarAt(CSize(100, 26), 0xE820, CRect(200, 0, 300, 26));
    ASSERT_EQ(InDockBar(pTarget), CRect(200, 0, 300, 26));
    CFixedBar* pBar = AddBar(CSize(80, 26), 0, 0xE821);
    CQMXPDockBar* pDockBar = DockBar(0x2000);
    EXPECT_FALSE(pDockBar->DockControlBarLeftOf(pBar, pBar));
    EXPECT_TRUE(pDockBar->DockControlBarLeftOf(pBar, pTarget));
    EXPECT_EQ(InDockBar(pBar), CRect(110, 0, 190, 26));
    EXPECT_EQ(InDockBar(pTarget), CRect(200, 0, 300, 26));
    EXPECT_EQ(pBar->GetDockBarRow(), pTarget->GetDockBarRow());
    EXPECT_EQ(pDockBar->GetControlBars().GetHead(), pBar);
}

TEST_F(DockBarTest, ABarDraggedBeyondTwoThirdsOfItsThicknessGetsARowOfItsOwn) {
    CFixedBar* pFirst = AddBarAt(CSize(100, 26), 0xE820, CRect(300, 0, 400, 26));
    CFixedBar* pBar = AddBar(CSize(80, 26), 0, 0xE821);
    CQMXPDockBar* pDockBar = DockBar(0x2000);
    ASSERT_TRUE(pDockBar->DockControlBarLeftOf(pBar, pFirst));
    CCursorAt cursor(Screen(pDockBar).TopLeft() + CSize(250, 10));
    const struct {
        int dy;
        int nRows;
    } cases[] = {{17, 1}, {20, 2}};
    for (const auto& c : cases) {
        pBar->UpdateFullSizeRect();
        EXPECT_FALSE(pDockBar->MoveControlBar(pBar, CPoint(), 0, c.dy));
        EXPECT_EQ(pDockBar->GetRows().GetCount(), c.nRows) << c.dy;
    }
    EXPECT_EQ(RowOf(pFirst), 0);
    EXPECT_EQ(RowOf(pBar), 1);
    EXPECT_EQ(InFrame(pDockBar).Height(), 52);
}

TEST_F(DockBarTest, ARowKeepsWhatItsBarsNeedAndALoneLongBarShrinks) {
    CFixedBar* pBar = AddBar(CSize(100, 26), AFX_IDW_DOCKBAR_TOP, 0xE820);
    CQMXPDockBar* pDockBar = DockBar(0x2000);
    CQMXPDockBarRow* pRow = pBar->GetDockBarRow();
    EXPECT_EQ(pDockBar->ResizeRow(pRow, 20), 0);
    EXPECT_EQ(pRow->GetRowHeight(), 26);
    // A larger row is taken; the frame's next layout fits it to its bars again.
    EXPECT_EQ(pDockBar->ResizeRow(pRow, 40, FALSE), 14);
    EXPECT_EQ(InFrame(pDockBar).Height(), 40);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(pRow->GetRowHeight(), 26);
    EXPECT_EQ(InFrame(pDockBar).Height(), 26);

    CFixedBar* pLong = AddBar(CSize(1000, 26), AFX_IDW_DOCKBAR_BOTTOM, 0xE821);
    EXPECT_EQ(InDockBar(pLong), CRect(0, 0, 800, 26));
    EXPECT_EQ(pLong->GetAvailableExpandSize(), 200);
}

}  // namespace
