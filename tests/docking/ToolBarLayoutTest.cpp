// Tool-bar layout and painting: sizes from a tool-bar resource and under
// large icons, separators that take no room, wrapping into rows, and a bar
// without buttons.
#include "CanvasTestSupport.h"
#include "DockingTestSupport.h"

#include "docking/toolbars/QMXPDropDownToolBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "resources/Toolbars.h"

#include <gtest/gtest.h>

using namespace docking_test;

namespace {

class ToolBarLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = MakeFrame(500, 300);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR + 1));
    }
    void TearDown() override {
        CQMXPToolBar::SetSizes(CSize(23, 22), CSize(16, 15));
        m_pFrame->DestroyWindow();
        Pump();
    }
    // A button with an image: as large as the bar's buttons.
    void AddImageButtons(int nCount) {
        for (int i = 0; i < nCount; ++i)
            m_bar.InsertButton(new CQMXPToolbarButton(ID_DOCKTEST_HANDLED, i, nullptr, FALSE, TRUE));
    }
    void AddSeparator(int iAt = -1) {
        auto* pSeparator = new CQMXPToolbarButton;
        pSeparator->m_nStyle = TBBS_SEPARATOR;
        m_bar.InsertButton(pSeparator, iAt);
    }

    CDockTestApp m_app;
    CDockTestFrame* m_pFrame = nullptr;
    CQMXPToolBar m_bar;
};

TEST_F(ToolBarLayoutTest, ButtonsTakeTheResourcesImageSizeAndLargeIconsDoubleItOnlyForFollowers) {
    ASSERT_TRUE(m_bar.LoadToolBar(IDR_TAL_MAIN_TOOLBAR));
    EXPECT_EQ(m_bar.GetButtonSize(), CSize(22, 21));
    EXPECT_EQ(m_bar.GetImageSize(), CSize(16, 15));
    ASSERT_EQ(m_bar.GetCount(), 15);
    EXPECT_EQ(m_bar.GetItemID(0), 57600u);
    EXPECT_TRUE(m_bar.GetButton(3)->m_nStyle & TBBS_SEPARATOR);
    EXPECT_EQ(m_bar.GetButton(14)->m_nID, 32856u);

    CQMXPToolBar::SetSizes(CSize(23, 22), CSize(16, 15));
    CQMXPToolBar fixed;
    fixed.SetSizesFollowLargeIcons(FALSE);
    CQMXPToolBar::SetLargeIcons(TRUE);
    EXPECT_EQ(fixed.GetButtonSize(), CSize(23, 22));
    EXPECT_EQ(m_bar.GetButtonSize(), CSize(46, 44));
    CQMXPToolBar::SetLargeIcons(FALSE);
    EXPECT_EQ(m_bar.GetButtonSize(), CSize(23, 22));

    // A resource is believed only as far as it holds items.
    CQMXPToolBar shortBar;
    ASSERT_TRUE(shortBar.LoadToolBar(IDR_DOCKTEST_SHORT_TOOLBAR, 0, 0, FALSE, 0, 0, IDR_TAL_MAIN_TOOLBAR));
    EXPECT_EQ(shortBar.GetCount(), 3);
    EXPECT_EQ(shortBar.GetItemID(2), static_cast<UINT>(ID_DOCKTEST_SAVE));
    // A drop-down bar loads locked: its own sizes, no command images of the library.
    CQMXPToolBar::m_DefaultImages.RemoveKey(32806);
    CQMXPDropDownToolBar dropDown;
    ASSERT_TRUE(dropDown.LoadToolBar(IDR_TAL_EDIT_TREE_TOOLBAR));
    EXPECT_TRUE(dropDown.IsLocked());
    int iImage = -1;
    EXPECT_FALSE(CQMXPToolBar::m_DefaultImages.Lookup(32806, iImage));
    EXPECT_EQ(dropDown.GetButtonSize(), CSize(22, 21));
}

TEST_F(ToolBarLayoutTest, ASeparatorStartingARowOrFollowingAnotherTakesNoRoom) {
    AddImageButtons(2);
    AddSeparator(0);
    AddSeparator(2);
    AddSeparator(2);
    // separator, button, separator, separator, button
    m_bar.AdjustLayout();
    ASSERT_EQ(m_bar.GetCount(), 5);
    EXPECT_TRUE(m_bar.GetButton(0)->GetRect().IsRectEmpty());
    EXPECT_FALSE(m_bar.GetButton(0)->m_bVisible);
    EXPECT_EQ(m_bar.GetButton(2)->GetRect().Width(), 8);
    EXPECT_TRUE(m_bar.GetButton(3)->GetRect().IsRectEmpty());
    EXPECT_FALSE(m_bar.GetButton(3)->m_bVisible);
    EXPECT_EQ(m_bar.GetButton(4)->GetRect().left, m_bar.GetButton(1)->GetRect().right + 8);
    // Measuring the bar upright leaves its row as it is.
    const CRect rectLast = m_bar.GetButton(4)->GetRect();
    m_bar.CalcFixedLayout(FALSE, FALSE);
    m_bar.AdjustLocations();
    EXPECT_EQ(m_bar.GetButton(4)->GetRect(), rectLast);
}

TEST_F(ToolBarLayoutTest, WrappingGivesTheRowsTheWidthHolds) {
    AddImageButtons(6);
    const int cx = m_bar.GetColumnWidth();
    const struct {
        int nWidth;
        int nRows;
    } cases[] = {{6 * cx, 1}, {3 * cx, 2}, {3 * cx - 1, 3}, {cx, 6}, {1, 6}};
    for (const auto& test : cases)
        EXPECT_EQ(m_bar.WrapToolBar(test.nWidth), test.nRows) << test.nWidth;
    // A separator never starts a row of its own.
    AddSeparator(3);
    EXPECT_EQ(m_bar.WrapToolBar(3 * cx), 2);
    EXPECT_TRUE(m_bar.GetButton(3)->m_bWrap);
}

TEST_F(ToolBarLayoutTest, ABarWithoutButtonsPaintsOnlyItsBackground) {
    m_bar.SetWindowPos(nullptr, 0, 0, 120, 26, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rectClient;
    m_bar.GetClientRect(&rectClient);
    CCanvas canvas(rectClient.Width(), rectClient.Height(), RGB(1, 2, 3));
    m_bar.DoPaint(&canvas.DC());
    EXPECT_EQ(canvas.Count(globalData.clrBtnFace), rectClient.Width() * rectClient.Height());

    ASSERT_TRUE(m_bar.LoadToolBar(IDR_TAL_FORMAT_TEXT_TOOLBAR));
    m_bar.AdjustLayout();
    m_bar.GetClientRect(&rectClient);
    CCanvas painted(rectClient.Width(), rectClient.Height(), RGB(1, 2, 3));
    m_bar.DoPaint(&painted.DC());
    EXPECT_LT(painted.Count(globalData.clrBtnFace), rectClient.Width() * rectClient.Height());
    EXPECT_EQ(painted.Count(RGB(1, 2, 3)), 0);
}

}  // namespace
