// Docking panes in the 800 x 600 test frame, driven by messages: captions
// and caption buttons, hiding and showing a pane in its place, the sliders
// made for frame edges and their dragging, the layout of panes at two
// edges, and panes dropped beside other panes; pictures of a docked and a
// floating pane.
#include "CanvasTestSupport.h"
#include "PaneTestSupport.h"

#include "docking/toolbars/QMXPGlobalData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

using namespace docking_test;

namespace {

std::wstring ToolText(CToolTipCtrl& tip, CWnd* pOwner, UINT nTool) {
    wchar_t szText[80] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = pOwner->m_hWnd;
    info.uId = nTool;
    info.lpszText = szText;
    tip.SendMessage(TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    return szText;
}

CPoint Center(const CRect& rect) { return rect.CenterPoint(); }

// The screen rectangle of a pane's caption button.
CRect ButtonRect(CQMXPDockingControlBar* pPane, int nIndex) {
    CRect rectWindow;
    pPane->GetWindowRect(&rectWindow);
    CRect rect = pPane->GetCaptionButton(nIndex).GetRect();
    rect.OffsetRect(rectWindow.TopLeft());
    return rect;
}

TEST_F(PaneTest, TheCaptionIsTheLibrarysWithTheCloseButtonOfAPaneThatMayClose) {
    // The tests' regular font: Tahoma 8 of tmHeight 13.
    ASSERT_EQ(globalData.textHeight, 15);
    CTestPane* pPane = MakePane(0xE900, CSize(200, 300), WS_CAPTION);
    CTestPane* pFixed = MakePane(0xE901, CSize(200, 300), 0, QMXP_CBRS_FLOAT);
    m_pFrame->DockControlBar(pPane, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->DockControlBar(pFixed, AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_EQ(pPane->GetStyle() & WS_CAPTION, 0u);
    EXPECT_TRUE(pPane->HasCaption());
    EXPECT_EQ(pPane->GetCaptionHeight(), 19);
    CRect rectWindow = Screen(pPane);
    CRect rectClient;
    pPane->GetClientRect(&rectClient);
    EXPECT_EQ(rectWindow.Height() - rectClient.Height(), 19);
    EXPECT_EQ(ToolText(pPane->GetToolTip(), pPane, 1), L"Close");
    EXPECT_EQ(ToolText(pPane->GetToolTip(), pPane, 2), L"Auto Hide");

    // No side has auto-hide strips: only the close button shows, at the right.
    EXPECT_FALSE(pPane->GetCaptionButton(0).m_bHidden);
    EXPECT_TRUE(pPane->GetCaptionButton(1).m_bHidden);
    EXPECT_TRUE(pFixed->GetCaptionButton(0).m_bHidden);
    const CRect rectClose = ButtonRect(pPane, 0);
    EXPECT_EQ(rectClose.right, rectWindow.right);
    const CPoint ptClose = Center(rectClose);
    EXPECT_EQ(pPane->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rectWindow.right + 50, rectWindow.top)), HTNOWHERE);
    EXPECT_EQ(pPane->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptClose.x, ptClose.y)), QMXP_HTCLOSE_PANE);
    EXPECT_EQ(pPane->HitTest(CPoint(rectWindow.left + 10, ptClose.y), TRUE), HTCAPTION);
    EXPECT_EQ(pPane->HitTest(CPoint(rectWindow.left + 10, ptClose.y), FALSE), HTCLIENT);

    // Without its caption the client area grows by it, and the corner where
    // the button was is client area: a click there closes nothing.
    pPane->ShowCaption(FALSE);
    CRect rectClientNow;
    pPane->GetClientRect(&rectClientNow);
    EXPECT_EQ(rectClientNow.Height(), rectClient.Height() + 19);
    EXPECT_EQ(pPane->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptClose.x, ptClose.y)), HTCLIENT);
    pPane->ShowCaption(TRUE);

    // Floating, the floating frame draws the caption.
    pFixed->FloatControlBar(CRect(300, 200, 500, 400), QMXP_DM_RECT);
    EXPECT_TRUE(pFixed->IsFloating());
    EXPECT_EQ(pFixed->GetCaptionHeight(), 0);
}

TEST_F(PaneTest, TheCloseButtonActsOnlyWhenReleasedOverItAndTheHiddenPaneComesBackToItsPlace) {
    CTestPane* pTop = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    // 146 high below: the upper pane keeps 450 of 600, an exact 75 %.
    CTestPane* pBelow = MakePane(0xE901, CSize(200, 146));
    ASSERT_TRUE(pBelow->DockToWindow(pTop, 0x8000));
    CQMXPSlider* pSlider = SliderOf(pTop);
    ASSERT_EQ(SliderOf(pBelow), pSlider);
    const CRect rectTop = InFrame(pTop);
    const CRect rectBelow = InFrame(pBelow);
    const CPoint ptClose = Center(ButtonRect(pTop, 0));
    const CPoint ptAway(ptClose.x - 60, ptClose.y + 80);

    // Pressed, then released away from it: nothing.
    SendAt(pTop, WM_NCMOUSEMOVE, ptClose, QMXP_HTCLOSE_PANE);
    EXPECT_EQ(pTop->GetHotButton(), QMXP_HTCLOSE_PANE);
    SendAt(pTop, WM_LBUTTONDOWN, ptClose, MK_LBUTTON);
    EXPECT_EQ(pTop->GetPressedButton(), QMXP_HTCLOSE_PANE);
    SendAt(pTop, WM_MOUSEMOVE, ptAway, MK_LBUTTON);
    EXPECT_EQ(pTop->GetHotButton(), 0u);
    SendAt(pTop, WM_LBUTTONUP, ptAway);
    EXPECT_TRUE(pTop->IsWindowVisible());
    EXPECT_EQ(pTop->GetPressedButton(), 0u);

    // Released over it: the pane hides and the other takes the column.
    SendAt(pTop, WM_NCMOUSEMOVE, ptClose, QMXP_HTCLOSE_PANE);
    SendAt(pTop, WM_LBUTTONDOWN, ptClose, MK_LBUTTON);
    SendAt(pTop, WM_LBUTTONUP, ptClose);
    EXPECT_FALSE(pTop->IsWindowVisible());
    EXPECT_EQ(InFrame(pBelow), CRect(0, 0, 200, 600));
    EXPECT_TRUE(pSlider->IsWindowVisible());

    pTop->ShowControlBar(TRUE, FALSE, FALSE);
    EXPECT_EQ(SliderOf(pTop), pSlider);
    EXPECT_EQ(pSlider->GetContainerManager()->GetSliders().GetCount(), 1);
    EXPECT_EQ(InFrame(pTop), rectTop);
    EXPECT_EQ(InFrame(pBelow), rectBelow);
}

TEST_F(PaneTest, APaneAtAFrameEdgeGetsASliderOfItsOwnThatHidesWithItsPanes) {
    CTestPane* pLeft = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pTop = DockPane(0xE901, CSize(300, 120), AFX_IDW_DOCKBAR_TOP);
    CQMXPSlider* pVert = SliderOf(pLeft);
    ASSERT_NE(pVert, nullptr);
    wchar_t szClass[128] = {};
    ::GetClassNameW(pVert->m_hWnd, szClass, 128);
    EXPECT_TRUE(std::regex_match(std::wstring(szClass), std::wregex(L"^QMXSlider:[0-9a-f]+:8:[0-9a-f]+:10$")));
    EXPECT_EQ(pVert->GetSliderStyle() & 0x3, QMXP_SS_VERT);
    EXPECT_EQ(pVert->GetWidth(), 4);
    EXPECT_EQ(InFrame(pVert).Width(), 4);
    EXPECT_EQ(SliderOf(pTop)->GetSliderStyle() & 0x3, QMXP_SS_HORZ);
    EXPECT_EQ(InFrame(SliderOf(pTop)).Height(), 4);

    pLeft->ShowControlBar(FALSE, FALSE, FALSE);
    EXPECT_FALSE(pVert->IsWindowVisible());
    EXPECT_EQ(Manager().GetClientAreaBounds().left, 0);
    pLeft->ShowControlBar(TRUE, FALSE, FALSE);
    EXPECT_TRUE(pVert->IsWindowVisible());
}

TEST_F(PaneTest, TwoPanesLeftAndOneAtTheBottomTakeTheirPlacesInOrder) {
    CTestPane* pA = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pB = MakePane(0xE901, CSize(200, 150));
    ASSERT_TRUE(pB->DockToWindow(pA, 0x8000));
    CTestPane* pC = DockPane(0xE902, CSize(300, 150), AFX_IDW_DOCKBAR_BOTTOM);
    // Left: the group is 200 wide and its slider 4; B takes 150 of the
    // column's 600 below a 4-pixel slider; the bottom group is 150 high
    // above its slider, beside the left group.
    const CQMXPBarContainer* pNode = SliderOf(pA)->GetContainerManager()->GetRootContainer()->m_pLeftContainer;
    ASSERT_NE(pNode, nullptr);
    const struct {
        const CWnd* pWnd;
        CRect rect;
    } cases[] = {
        {SliderOf(pA), CRect(200, 0, 204, 600)}, {pA, CRect(0, 0, 200, 446)},
        {pNode->m_pSlider, CRect(0, 446, 200, 450)}, {pB, CRect(0, 450, 200, 600)},
        {SliderOf(pC), CRect(204, 446, 800, 450)}, {pC, CRect(204, 450, 800, 600)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InFrame(c.pWnd), c.rect) << c.pWnd->GetDlgCtrlID();
    EXPECT_EQ(Manager().GetOuterDockArea(), CRect(0, 0, 800, 600));
    EXPECT_EQ(Manager().GetClientAreaBounds(), CRect(204, 0, 800, 446));
    EXPECT_EQ(InFrame(CWnd::FromHandle(m_pFrame->m_hWndMDIClient)), CRect(204, 0, 800, 446));
    EXPECT_EQ(pA->GetPercentInContainer(), 74);
    EXPECT_EQ(pB->GetPercentInContainer(), 26);
}

TEST_F(PaneTest, SliderOutlinesStayWithinTheLimitsAndCancellingLeavesThePanes) {
    COutlineRecord record;
    CTestPane* pLeft = DockPane(0xE900, CSize(300, 300), AFX_IDW_DOCKBAR_LEFT);
    pLeft->m_sizeMin = CSize(50, 50);
    CTestPane* pRight = MakePane(0xE901, CSize(100, 300), 0, QMXP_CBRS_FLOAT | QMXP_CBRS_CLOSE, CSize(60, 50));
    ASSERT_TRUE(pRight->DockToWindow(pLeft, 0x4000));
    CQMXPSlider* pInner = SliderOf(pLeft)->GetContainerManager()->GetRootContainer()->m_pLeftContainer->m_pSlider;
    ASSERT_NE(pInner, nullptr);
    const CRect rectSlider = Screen(pInner);
    const CRect rectLeft = Screen(pLeft);
    const CRect rectRight = Screen(pRight);

    CCursorAt cursor(Center(rectSlider));
    SendAt(pInner, WM_LBUTTONDOWN, Center(rectSlider), MK_LBUTTON);
    EXPECT_EQ(record.Outlines().back(), std::make_pair(rectSlider, 2));
    ::SetCursorPos(rectLeft.left + 5, rectSlider.CenterPoint().y);
    SendAt(pInner, WM_MOUSEMOVE, CPoint(rectLeft.left + 5, rectSlider.CenterPoint().y), MK_LBUTTON);
    const CRect rectAtLimit(rectLeft.left + 50 + 1, rectSlider.top, rectLeft.left + 55, rectSlider.bottom);
    EXPECT_EQ(pInner->GetDragRect(), rectAtLimit);
    pInner->SendMessage(WM_CANCELMODE);
    EXPECT_TRUE(record.Outlines().back().first.IsRectEmpty());
    EXPECT_FALSE(pInner->IsTracking());
    EXPECT_EQ(Screen(pLeft), rectLeft);
    EXPECT_EQ(Screen(pRight), rectRight);

    // Dragged within its limits the slider moves and the panes follow.
    SendAt(pInner, WM_LBUTTONDOWN, Center(rectSlider), MK_LBUTTON);
    ::SetCursorPos(rectSlider.CenterPoint().x - 40, rectSlider.CenterPoint().y);
    SendAt(pInner, WM_MOUSEMOVE, CPoint(rectSlider.CenterPoint().x - 40, rectSlider.CenterPoint().y), MK_LBUTTON);
    SendAt(pInner, WM_LBUTTONUP, CPoint(rectSlider.CenterPoint().x - 40, rectSlider.CenterPoint().y));
    EXPECT_EQ(Screen(pInner).left, rectSlider.left - 40);
    EXPECT_EQ(Screen(pLeft).right, rectSlider.left - 40);
    EXPECT_EQ(Screen(pRight).left, rectSlider.right - 40);

    // A slider 5 pixels wide draws an outline of border 2.
    auto* pWide = new CQMXPSlider(FALSE, m_pFrame);
    ASSERT_TRUE(pWide->CreateEx(0, WS_VISIBLE | QMXP_SS_VERT, CRect(400, 10, 405, 200), m_pFrame, 99));
    EXPECT_EQ(pWide->GetWidth(), 5);
    SendAt(pWide, WM_LBUTTONDOWN, Center(Screen(pWide)), MK_LBUTTON);
    EXPECT_EQ(record.Outlines().back().second, 2);
    pWide->SendMessage(WM_CANCELMODE);
    pWide->DestroyWindow();
}

TEST_F(PaneTest, ASliderRecordKeepsItsFieldsInOrder) {
    CTestPane* pLeft = DockPane(0xE900, CSize(300, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pRight = MakePane(0xE901, CSize(100, 300));
    ASSERT_TRUE(pRight->DockToWindow(pLeft, 0x4000));
    CQMXPSlider* pInner = SliderOf(pLeft)->GetContainerManager()->GetRootContainer()->m_pLeftContainer->m_pSlider;
    const std::vector<BYTE> bytes = StoredBytes(*pInner);
    ASSERT_EQ(bytes.size(), 4u * 14);
    auto field = [&bytes](int i) {
        int32_t n = 0;
        std::memcpy(&n, &bytes[4 * i], 4);
        return n;
    };
    const CRect rect = InFrame(pInner);
    // Alignment and visibility (the base bar), id, third limit, rectangle,
    // visible, style, width, owns-manager flag, limits.
    const int32_t expected[] = {0, 1, static_cast<int32_t>(pInner->GetSliderID()), -1, rect.left, rect.top,
                                rect.right, rect.bottom, 1, static_cast<int32_t>(WS_VISIBLE | QMXP_SS_VERT), 4, 0, 0, 0};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(field(i), expected[i]) << i;

    auto* pLoaded = new CQMXPSlider(FALSE, m_pFrame);
    LoadBytes(*pLoaded, bytes);
    EXPECT_EQ(InFrame(pLoaded), rect);
    EXPECT_EQ(pLoaded->GetDlgCtrlID(), static_cast<int>(pInner->GetSliderID()));
    EXPECT_EQ(StoredBytes(*pLoaded), bytes);
    pLoaded->DestroyWindow();
}

TEST_F(PaneTest, APaneDroppedNearAnotherPanesEdgeDocksBesideItUnlessCtrlIsDown) {
    COutlineRecord record;
    CTestPane* pDocked = DockPane(0xE900, CSize(200, 300), AFX_IDW_DOCKBAR_LEFT);
    CTestPane* pHeld = FloatPane(0xE901, CRect(400, 100, 600, 300));
    CTestPane* pCtrl = FloatPane(0xE902, CRect(400, 320, 600, 520));
    ASSERT_TRUE(pHeld->IsFloating() && pCtrl->IsFloating());
    const CRect rectDocked = Screen(pDocked);
    const CPoint ptDrop(rectDocked.right - 8, rectDocked.CenterPoint().y);
    {
        CCtrlDown ctrl;
        DragFrameTo(pCtrl->GetParentMiniFrame(), ptDrop);
        EXPECT_EQ(record.LastDrawn().second, 3);
    }
    EXPECT_TRUE(pCtrl->IsFloating());

    // Beside it on the right: half the pane's width (the dragged pane is wider).
    DragFrameTo(pHeld->GetParentMiniFrame(), ptDrop);
    const CRect rectExpected(rectDocked.right - 100, rectDocked.top, rectDocked.right, rectDocked.bottom);
    EXPECT_EQ(record.LastDrawn(), std::make_pair(rectExpected, 4));
    EXPECT_FALSE(pHeld->IsFloating());
    EXPECT_EQ(SliderOf(pHeld), SliderOf(pDocked));
    EXPECT_EQ(Screen(pHeld), rectExpected);
    EXPECT_EQ(Screen(pDocked).right, rectExpected.left - 4);
    // A drop deep inside a pane docks nowhere.
    DragFrameTo(pCtrl->GetParentMiniFrame(), Center(Screen(pHeld)));
    EXPECT_TRUE(pCtrl->IsFloating());

    // A click on a floating caption that lies near a frame edge, without a
    // drag, leaves the pane floating.
    const int xEdge = Manager().GetClientAreaBounds().left;
    CRect rectNearEdge(xEdge - 10, 200, xEdge + 190, 400);
    m_pFrame->ClientToScreen(&rectNearEdge);
    CTestPane* pClicked = FloatPane(0xE903, rectNearEdge);
    CQMXPMiniFrameWnd* pFrame = pClicked->GetParentMiniFrame();
    const CPoint ptCaption = CaptionPoint(pFrame);
    DWORD dwSide = 0;
    BOOL bOuter = TRUE;
    ASSERT_TRUE(Manager().IsPointNearDockBar(ptCaption, dwSide, bOuter));
    CCursorAt cursor(ptCaption);
    SendAt(pFrame, WM_LBUTTONDOWN, ptCaption, MK_LBUTTON);
    SendAt(pFrame, WM_LBUTTONUP, ptCaption);
    EXPECT_TRUE(pClicked->IsFloating());
}

TEST_F(PaneTest, AFrameMovedWithItsPaneDocksAtAnEdgeAfterThePaneWait) {
    CTestClock clock;
    CTestPane* pPane = FloatPane(0xE900, CRect(300, 200, 500, 400));
    pPane->SetDockingMode(QMXP_DT_IMMEDIATE);
    CQMXPMiniFrameWnd* pFrame = pPane->GetParentMiniFrame();
    CRect rectClient = Manager().GetClientAreaBounds();
    m_pFrame->ClientToScreen(&rectClient);
    const CPoint ptEdge(rectClient.left + 5, rectClient.CenterPoint().y);
    CCursorAt cursor(CaptionPoint(pFrame));
    SendAt(pFrame, WM_LBUTTONDOWN, CaptionPoint(pFrame), MK_LBUTTON);
    CTestClock::s_now = 1000;
    ::SetCursorPos(ptEdge.x, ptEdge.y);
    SendAt(pFrame, WM_MOUSEMOVE, ptEdge, MK_LBUTTON);
    CTestClock::s_now += Manager().m_nTimeOutBeforeDockingBarDock - 1;
    SendAt(pFrame, WM_MOUSEMOVE, ptEdge, MK_LBUTTON);
    EXPECT_TRUE(pPane->IsFloating());
    CTestClock::s_now += 1;
    SendAt(pFrame, WM_MOUSEMOVE, ptEdge, MK_LBUTTON);
    Pump();
    EXPECT_FALSE(pPane->IsFloating());
    ASSERT_NE(SliderOf(pPane), nullptr);
    EXPECT_EQ(SliderOf(pPane)->GetCurrentAlignment(), 0x1000u);
}

TEST_F(PaneTest, PicturesOfADockedAndAFloatingPane) {
    CQMXPStatusBar status;
    ASSERT_TRUE(AddStatusBar(status));
    CTestPane* pGallery = DockPane(0xE900, CSize(220, 300), AFX_IDW_DOCKBAR_LEFT);
    pGallery->SetWindowText(L"Image Gallery");
    pGallery->AddFileList(12);
    CTestPane* pOther = DockPane(0xE901, CSize(300, 140), AFX_IDW_DOCKBAR_BOTTOM);
    pOther->SetWindowText(L"Notes");
    pOther->AddFileList(3);
    m_pFrame->RecalcLayout();
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    EXPECT_TRUE(SaveScreen(Screen(m_pFrame), L"docking_pane_docked"));

    // Floated by its caption, then dropped near the right edge of the frame.
    const CRect rectGallery = Screen(pGallery);
    const CPoint ptCaption(rectGallery.left + 30, rectGallery.top + 8);
    CCursorAt cursor(ptCaption);
    SendAt(pGallery, WM_LBUTTONDOWN, ptCaption, MK_LBUTTON);
    const CPoint ptFloat(ptCaption.x + 300, ptCaption.y + 150);
    ::SetCursorPos(ptFloat.x, ptFloat.y);
    SendAt(pGallery, WM_MOUSEMOVE, ptFloat, MK_LBUTTON);
    SendAt(pGallery, WM_LBUTTONUP, ptFloat);
    Pump();
    ASSERT_TRUE(pGallery->IsFloating());
    EXPECT_EQ(InFrame(pOther).left, 0);
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CQMXPMiniFrameWnd::RedrawAll();
    Pump();
    EXPECT_TRUE(SaveScreen(Screen(m_pFrame), L"docking_pane_floating"));

    CRect rectClient = Manager().GetClientAreaBounds();
    m_pFrame->ClientToScreen(&rectClient);
    DragFrameTo(pGallery->GetParentMiniFrame(), CPoint(rectClient.right - 5, rectClient.top + 100));
    EXPECT_FALSE(pGallery->IsFloating());
    EXPECT_EQ(SliderOf(pGallery)->GetCurrentAlignment(), 0x4000u);
    EXPECT_EQ(InFrame(pGallery).left, Manager().GetClientAreaBounds().right + 4);
}

}  // namespace
