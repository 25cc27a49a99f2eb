// The frame's layout: control bars take their sides through WM_SIZEPARENT and
// the view gets what they leave.
#include "FrameTestSupport.h"

#include <gtest/gtest.h>

using namespace frame_test;
using classlib_test::DrainMessages;

namespace {

struct BarCase {
    const char* name;
    DWORD dwStyle;
    int nThickness;
    RECT expectedBar;   // in a 300 x 200 client area
    RECT expectedView;
};

class FrameLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        m_pDoc = new CTestDoc;
        m_pFrame = MakeFrameWithView(m_pDoc);
        ASSERT_NE(m_pFrame, nullptr);
        // A client area of exactly 300 x 200.
        CRect rect(0, 0, 300, 200);
        m_pFrame->CalcWindowRect(&rect);
        m_pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        CRect client;
        m_pFrame->GetClientRect(&client);
        ASSERT_EQ(client.Size(), CSize(300, 200));
    }
    void TearDown() override {
        if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
        DrainMessages();
        EXPECT_EQ(CTestFrame::s_nLive, 0);
        EXPECT_EQ(CTestView::s_nLive, 0);
        EXPECT_EQ(CTestDoc::s_nLive, 0);  // the document went with its last view
    }
    HWND ViewWindow() const { return ::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST); }
    // A bar of the thickness on the frame, deleted with its window; null when it could not be made.
    CTestBar* AddBar(int thickness, DWORD style, UINT id) {
        auto* bar = new CTestBar(thickness);
        bar->m_bAutoDelete = TRUE;
        return bar->Create(m_pFrame, style, id) ? bar : nullptr;
    }

    CFrameTestApp m_app;
    CTestDoc* m_pDoc = nullptr;
    CTestFrame* m_pFrame = nullptr;
};

TEST_F(FrameLayoutTest, EachSideTakesItsBarAndTheViewGetsTheRest) {
    const BarCase cases[] = {
        {"top", CBRS_TOP, 20, {0, 0, 300, 20}, {0, 20, 300, 200}},
        {"bottom", CBRS_BOTTOM, 15, {0, 185, 300, 200}, {0, 0, 300, 185}},
        {"left", CBRS_LEFT, 30, {0, 0, 30, 200}, {30, 0, 300, 200}},
        {"right", CBRS_RIGHT, 17, {283, 0, 300, 200}, {0, 0, 283, 200}},
    };
    for (const BarCase& c : cases) {
        SCOPED_TRACE(c.name);
        CTestBar* pBar = AddBar(c.nThickness, c.dwStyle, AFX_IDW_CONTROLBAR_FIRST + 10);
        ASSERT_NE(pBar, nullptr);
        m_pFrame->RecalcLayout();
        EXPECT_EQ(pBar->RectInParent(), CRect(c.expectedBar));
        // The view's border lies inside its area (a client edge).
        EXPECT_EQ(RectInParent(ViewWindow()), CRect(c.expectedView));
        pBar->DestroyWindow();
    }
}

TEST_F(FrameLayoutTest, BarsStackInCreationOrderAndHiddenOnesTakeNoRoom) {
    CTestBar* pStatus = AddBar(18, CBRS_BOTTOM, AFX_IDW_STATUS_BAR);
    ASSERT_NE(pStatus, nullptr);
    CTestBar* pTool = AddBar(25, CBRS_TOP, AFX_IDW_TOOLBAR);
    ASSERT_NE(pTool, nullptr);
    CTestBar* pSide = AddBar(40, CBRS_LEFT, AFX_IDW_CONTROLBAR_FIRST + 5);
    ASSERT_NE(pSide, nullptr);
    m_pFrame->RecalcLayout();

    // The side bar is laid out after the others and spans what they left.
    EXPECT_EQ(pStatus->RectInParent(), CRect(0, 182, 300, 200));
    EXPECT_EQ(pTool->RectInParent(), CRect(0, 0, 300, 25));
    EXPECT_EQ(pSide->RectInParent(), CRect(0, 25, 40, 182));
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(40, 25, 300, 182));

    m_pFrame->ShowControlBar(pTool, FALSE, FALSE);
    EXPECT_FALSE(pTool->IsVisible());
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(40, 0, 300, 182));

    // A delayed change waits for the next layout.
    m_pFrame->ShowControlBar(pTool, TRUE, TRUE);
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(40, 0, 300, 182));
    m_pFrame->RecalcLayout();
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(40, 25, 300, 182));
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_TOOLBAR), pTool);
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_PANE_FIRST), nullptr);  // the view is no bar
}

TEST_F(FrameLayoutTest, ResizingTheFrameLaysItOutAgain) {
    CTestBar* pBar = AddBar(20, CBRS_BOTTOM, AFX_IDW_STATUS_BAR);
    ASSERT_NE(pBar, nullptr);
    CRect rect(0, 0, 500, 260);
    m_pFrame->CalcWindowRect(&rect);
    m_pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(pBar->RectInParent(), CRect(0, 240, 500, 260));
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(0, 0, 500, 240));
}

TEST_F(FrameLayoutTest, ALayoutAskedForDuringALayoutIsIgnored) {
    CTestBar* pBar = AddBar(20, CBRS_TOP, AFX_IDW_TOOLBAR);
    ASSERT_NE(pBar, nullptr);
    pBar->m_pNested = m_pFrame;
    pBar->m_nLayouts = 0;
    m_pFrame->RecalcLayout();
    // One measurement: the nested request returned at once instead of recursing.
    EXPECT_EQ(pBar->m_nLayouts, 1);
    EXPECT_FALSE(m_pFrame->m_bInRecalcLayout);
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(0, 20, 300, 200));
}

TEST_F(FrameLayoutTest, AQueryMovesNothing) {
    CTestBar* pBar = AddBar(30, CBRS_TOP, AFX_IDW_TOOLBAR);
    ASSERT_NE(pBar, nullptr);
    m_pFrame->RecalcLayout();
    CRect before = RectInParent(ViewWindow());
    pBar->m_nThickness = 50;
    CRect leftOver;
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &leftOver);
    EXPECT_EQ(leftOver, CRect(0, 50, 300, 200));
    EXPECT_EQ(RectInParent(ViewWindow()), before);
    EXPECT_EQ(pBar->RectInParent(), CRect(0, 0, 300, 30));
    // Extra borders come off the left-over area.
    CRect borders(5, 6, 7, 8);
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &borders);
    EXPECT_EQ(RectInParent(ViewWindow()), CRect(5, 56, 293, 192));
}

TEST_F(FrameLayoutTest, TheViewIsActiveAndGetsTheFirstUpdate) {
    CWnd* pView = CWnd::FromHandlePermanent(ViewWindow());
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(static_cast<CWnd*>(m_pFrame->GetActiveView()), pView);
    EXPECT_EQ(m_pFrame->GetActiveDocument(), m_pDoc);
    EXPECT_EQ(m_pFrame->GetActiveFrame(), m_pFrame);
    EXPECT_EQ(static_cast<CView*>(pView)->GetDocument(), m_pDoc);
    // The frame was not made visible, so no first update was sent yet.
    EXPECT_EQ(Joined(), L"");
    m_pFrame->InitialUpdateFrame(m_pDoc, TRUE);
    EXPECT_EQ(Joined(), L"view:initial");
    m_pFrame->ShowWindow(SW_HIDE);
}

}  // namespace
