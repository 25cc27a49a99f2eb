// The scrolled view: steps and ranges from its size, the content centred,
// the scroll messages, the wheel, painting, the back buffer, and the
// middle-button auto-scroll window.
#include "KWWindowsTestSupport.h"

#include "framework/KWGdipBitmap.h"
#include "appwindows/KWWinWheelWnd.h"
#include "platform/classlib/ScrollBar.h"

#include <gtest/gtest.h>

using namespace kwwin;

namespace {

class View : public ::testing::Test, public WindowsFixture {
protected:
    void SetUp() override
    {
        CTestSplitFrame* frame = NewFrame();
        ASSERT_NE(nullptr, frame);
        view = frame->View();
        Resize(400, 300);
        view->InitializeView(nullptr);
        horizontal = view->GetHorzScrollBar();
        vertical = view->GetVertScrollBar();
        ASSERT_NE(nullptr, horizontal);
        ASSERT_NE(nullptr, vertical);
    }
    // Gives the view this client size.
    void Resize(int cx, int cy)
    {
        CRect rect(0, 0, cx, cy);
        ::AdjustWindowRectEx(&rect, view->GetStyle(), FALSE, view->GetExStyle());
        view->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    }
    void Show(double cx, double cy)
    {
        view->contentSize = {cx, cy};
        view->CenterContent();
    }
    static SCROLLINFO Info(CScrollBar* bar)
    {
        SCROLLINFO info = {};
        bar->GetScrollInfo(&info, SIF_ALL);
        return info;
    }
    void Wheel(short delta, UINT keys)
    {
        CRect rect;
        view->GetWindowRect(&rect);
        view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), MAKELPARAM(rect.left + 10, rect.top + 10));
    }

    CTestSplitView* view = nullptr;
    CScrollBar* horizontal = nullptr;
    CScrollBar* vertical = nullptr;
};

TEST_F(View, StepsAndCentringFollowTheClientSize)
{
    EXPECT_EQ(CSize(360, 270), view->GetPageStep());
    EXPECT_EQ(CSize(20, 15), view->GetLineStep());
    const struct {
        double cx, cy;
        CPoint origin;
    } cases[] = {{100, 100, CPoint(150, 100)}, {100, 1000, CPoint(150, 5)}, {1000, 100, CPoint(-300, 100)}};
    for (const auto& k : cases) {
        Show(k.cx, k.cy);
        EXPECT_EQ(k.origin, view->GetScrollPosition()) << k.cx << " x " << k.cy;
    }
}

TEST_F(View, TheRangeHoldsTheContentWithItsMargins)
{
    const struct {
        double width;
        int originX;
        int maximum;
        int position;
    } cases[] = {{1000, -100, 1039, 120}, {100, 150, 399, 0}};
    for (const auto& k : cases) {
        Show(k.width, 100);
        view->SetScrollPosition(CPoint(k.originX, 100));
        view->UpdateScrollBars();
        EXPECT_EQ(k.maximum, Info(horizontal).nMax) << k.width;
        EXPECT_EQ(k.position, Info(horizontal).nPos) << k.width;
        EXPECT_EQ(399u, Info(horizontal).nPage);
    }
}

TEST_F(View, OnlyTheTrackingThumbMovesTheViewAndTheEndWidensTheRange)
{
    Show(1000, 1000);
    const CPoint start = view->GetScrollPosition();
    const int position = horizontal->GetScrollPos();
    const LPARAM bar = reinterpret_cast<LPARAM>(horizontal->m_hWnd);
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position + 50), bar);
    EXPECT_EQ(start, view->GetScrollPosition());
    view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position + 50), bar);
    EXPECT_EQ(start.x - 50, view->GetScrollPosition().x);
    EXPECT_EQ(position + 50, horizontal->GetScrollPos());

    // Past the end of the range the range grows by what is missing.
    const SCROLLINFO before = Info(horizontal);
    const int limit = before.nMax - static_cast<int>(before.nPage) + 1;
    EXPECT_TRUE(view->ScrollHorz(limit - before.nPos + 70));
    EXPECT_EQ(before.nMax + 70, Info(horizontal).nMax);
    EXPECT_EQ(limit + 70, Info(horizontal).nPos);
    EXPECT_FALSE(view->ScrollHorz(0));
}

TEST_F(View, AWheelNotchScrollsOneLineUpOrTwoLinesDown)
{
    Show(1000, 1000);
    view->SetScrollPosition(CPoint(-300, -300));
    view->UpdateScrollBars();
    const struct {
        short delta;
        UINT keys;
        int dx;
        int dy;
    } cases[] = {
        {120, 0, 0, -15}, {-120, 0, 0, 30}, {120, MK_CONTROL, 0, 0}, {-120, MK_SHIFT, 40, 0},
    };
    for (const auto& k : cases) {
        const CPoint start(horizontal->GetScrollPos(), vertical->GetScrollPos());
        const CPoint origin = view->GetScrollPosition();
        Wheel(k.delta, k.keys);
        EXPECT_EQ(CPoint(start.x + k.dx, start.y + k.dy), CPoint(horizontal->GetScrollPos(), vertical->GetScrollPos()))
            << k.delta << " keys " << k.keys;
        EXPECT_EQ(CPoint(origin.x - k.dx, origin.y - k.dy), view->GetScrollPosition());
    }
}

TEST_F(View, APaintDrawsItsUpdateRegionOrTheWholeClientWhenItIsEmpty)
{
    ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_UPDATENOW);
    view->drawn.clear();
    view->SendMessage(WM_PAINT);
    ASSERT_EQ(1u, view->drawn.size());
    EXPECT_EQ(CRect(0, 0, 400, 300), view->drawn[0]);

    view->InvalidateRect(CRect(10, 20, 30, 40), FALSE);
    view->UpdateWindow();
    ASSERT_EQ(2u, view->drawn.size());
    EXPECT_EQ(CRect(10, 20, 30, 40), view->drawn[1]);
    std::vector<CKWDoubleRect> rects;
    CKWDoubleRect bounds;
    EXPECT_TRUE(view->GetUpdateRects(rects, bounds));
    EXPECT_EQ(30.0, bounds.right);
}

TEST_F(View, TheBackBufferOnlyGrows)
{
    CKWGdipBitmap* buffer = view->GetBackBitmap();
    ASSERT_NE(nullptr, buffer);
    const auto* bitmap = buffer->Get();
    Resize(200, 100);
    EXPECT_EQ(bitmap, buffer->Get());
    EXPECT_GE(buffer->GetWidth(), 400);
    Resize(900, 650);
    EXPECT_EQ(900, buffer->GetWidth());
    EXPECT_EQ(650, buffer->GetHeight());
}

// The auto-scroll window of the view, found by its class.
HWND WheelWindow() { return ::FindWindowW(L"KWAutoScrollWnd", nullptr); }

TEST_F(View, AutoScrollSpeedGrowsWithTheCursorsDistanceBeyondTheDeadZone)
{
    EXPECT_FALSE(StartAutoScroll(view, false, false));
    EXPECT_EQ(nullptr, WheelWindow());

    Show(2000, 2000);
    CRect rect;
    view->GetWindowRect(&rect);
    const CPoint pressed(rect.left + 200, rect.top + 150);
    ::SetCursorPos(pressed.x, pressed.y);
    view->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(200, 150));
    EXPECT_EQ(nullptr, WheelWindow()) << "only the middle button alone starts it";
    view->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(200, 150));
    HWND wheel = WheelWindow();
    ASSERT_NE(nullptr, wheel);
    const CPoint start(pressed.x - 15, pressed.y - 15);
    const struct {
        int dx;
        int step;
    } cases[] = {{20, 0}, {48, 6}, {-48, -6}};
    for (const auto& k : cases) {
        ::SetCursorPos(start.x + k.dx, start.y);
        const int before = horizontal->GetScrollPos();
        ::SendMessageW(wheel, WM_TIMER, CKWWinWheelWnd::kTimerId, 0);
        EXPECT_EQ(before + k.step, horizontal->GetScrollPos()) << k.dx;
    }
    ::SendMessageW(wheel, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(::IsWindow(wheel));
    CPoint cursor;
    ::GetCursorPos(&cursor);
    EXPECT_EQ(CPoint(start.x - 48 + 15, start.y + 15), cursor) << "the cursor goes back by the shift it made";
}

TEST_F(View, AutoScrollInOneDirectionIgnoresTheOther)
{
    Show(2000, 2000);
    ::SetCursorPos(300, 300);
    ASSERT_TRUE(StartAutoScroll(view, true, false));
    HWND wheel = WheelWindow();
    ASSERT_NE(nullptr, wheel);
    ::SetCursorPos(285 + 48, 285);
    const int before = horizontal->GetScrollPos();
    ::SendMessageW(wheel, WM_TIMER, CKWWinWheelWnd::kTimerId, 0);
    EXPECT_EQ(before, horizontal->GetScrollPos());
    EXPECT_EQ(::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(924)), ::GetCursor());
    ::SendMessageW(wheel, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(::IsWindow(wheel));
}

}  // namespace
