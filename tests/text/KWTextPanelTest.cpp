// The text panel's window: the caret timer and its ticks, scrolling while a selection is
// dragged outside, the scroll bar, the placeholder bitmap and a screenshot.
#include "text/KWTextPanel.h"

#include <gtest/gtest.h>

#include "tests/text/PanelTestSupport.h"
#include "tests/text/TextTestResources.h"

namespace {

const wchar_t kManyLines[] = L"one\ntwo\nthree\nfour\nfive\nsix\nseven\neight\nnine\nten\neleven\ntwelve";

int BarPosition(HWND window)
{
    return ::GetScrollPos(window, SB_VERT);
}

}  // namespace

TEST(TextPanel, TenCaretTicksToggleTheCaretOnce)
{
    PanelWindow window;
    TableText text;
    SetNote(text, L"caret");
    window.Edit(text);
    window.Panel().SetSel(2, 2, true);
    int toggles = 0;
    bool hidden = window.Panel().IsCaretHidden();
    for (int tick = 0; tick < 10; ++tick) {
        ::SendMessageW(window.Handle(), WM_TIMER, CKWTextPanel::kCaretTimerId, 0);
        toggles += window.Panel().IsCaretHidden() != hidden;
        hidden = window.Panel().IsCaretHidden();
    }
    EXPECT_EQ(toggles, 1);
    // Other timers only count back.
    for (int tick = 0; tick < 30; ++tick)
        ::SendMessageW(window.Handle(), WM_TIMER, 7, 0);
    EXPECT_EQ(window.Panel().IsCaretHidden(), hidden);
}

TEST(TextPanel, OnlyItsOwnCaretTimerTicksAreCaretTicks)
{
    PanelWindow window;
    const HWND other = ::GetDesktopWindow();
    const struct {
        HWND hwnd;
        UINT message;
        WPARAM id;
        bool tick;
    } cases[] = {
        {window.Handle(), WM_TIMER, CKWTextPanel::kCaretTimerId, true},
        {window.Handle(), WM_TIMER, 7, false},
        {window.Handle(), WM_KEYDOWN, CKWTextPanel::kCaretTimerId, false},
        {other, WM_TIMER, CKWTextPanel::kCaretTimerId, false},
        {nullptr, WM_TIMER, CKWTextPanel::kCaretTimerId, false},
    };
    for (const auto& c : cases) {
        MSG msg = {};
        msg.hwnd = c.hwnd;
        msg.message = c.message;
        msg.wParam = c.id;
        EXPECT_EQ(CKWTextPanel::IsCaretTick(msg), c.tick) << c.message << " " << c.id;
    }
}

TEST(TextPanel, DraggingBelowTheWindowScrollsEachTick)
{
    PanelWindow window(200, 80);
    TableText text;
    SetNote(text, kManyLines);
    window.Edit(text);
    ASSERT_TRUE(window.Panel().GetStyle() & WS_VSCROLL);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(window.Handle(), SB_VERT, &info);
    const int maximum = info.nMax - static_cast<int>(info.nPage);
    ASSERT_GT(maximum, 40);

    window.Press(WM_LBUTTONDOWN, window.PointOf(1), MK_LBUTTON);
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    POINT below = {50, client.bottom + 40};
    ::ClientToScreen(window.Handle(), &below);
    ::SetCursorPos(below.x, below.y);
    std::vector<int> positions;
    for (int tick = 0; tick < 8; ++tick) {
        ::SendMessageW(window.Handle(), WM_TIMER, 1, 0);
        positions.push_back(BarPosition(window.Handle()));
    }
    std::vector<int> expected;
    for (int tick = 1; tick <= 8; ++tick)
        expected.push_back(std::min(20 * tick, maximum));
    EXPECT_EQ(positions, expected);
    EXPECT_GT(window.Selection().second, 1);  // the selection follows the pointer

    // One pixel below: half a pixel rounds to nothing.
    window.Panel().ScrollTo(0, 0, true);
    POINT justBelow = {50, client.bottom + 1};
    ::ClientToScreen(window.Handle(), &justBelow);
    ::SetCursorPos(justBelow.x, justBelow.y);
    ::SendMessageW(window.Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(BarPosition(window.Handle()), 0);
    window.Press(WM_LBUTTONUP, window.PointOf(1));

    // Dragged down, then above the window: the selection turns at its pivot.
    window.Panel().ScrollTo(0, 40 / window.Panel().GetMapper().scale, true);
    const int pivot = text.HitTest(0, window.Panel().GetScrollY()) + 1;
    window.Press(WM_LBUTTONDOWN, window.PointOf(pivot), MK_LBUTTON);
    window.Press(WM_MOUSEMOVE, window.PointOf(pivot + 6), MK_LBUTTON);
    POINT above = {50, -20};
    ::ClientToScreen(window.Handle(), &above);
    ::SetCursorPos(above.x, above.y);
    ::SendMessageW(window.Handle(), WM_TIMER, 1, 0);
    EXPECT_LT(window.Selection().first, pivot);
    EXPECT_EQ(window.Selection().second, pivot);
    window.Press(WM_LBUTTONUP, window.PointOf(pivot));

    // A page larger than the range leaves nothing to scroll to.
    window.Panel().manageBar = false;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = 50;
    info.nPage = 100;
    ::SetScrollInfo(window.Handle(), SB_VERT, &info, TRUE);
    ASSERT_TRUE(window.Panel().GetStyle() & WS_VSCROLL);
    window.Press(WM_LBUTTONDOWN, window.PointOf(1), MK_LBUTTON);
    ::SetCursorPos(below.x, below.y);
    ::SendMessageW(window.Handle(), WM_TIMER, 1, 0);
    EXPECT_EQ(window.Selection(), std::make_pair(1, 1));
    window.Press(WM_LBUTTONUP, window.PointOf(1));
}

TEST(TextPanel, ScrollBarFollowsTheContent)
{
    PanelWindow window(200, 80);
    TableText text;
    SetNote(text, kManyLines);
    window.Edit(text);
    ASSERT_TRUE(window.Panel().GetStyle() & WS_VSCROLL);

    // The wheel moves by whole client heights, the bar keeps its range.
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(BarPosition(window.Handle()), client.bottom);
    ::SendMessageW(window.Handle(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(BarPosition(window.Handle()), client.bottom - 1);
    EXPECT_DOUBLE_EQ(window.Panel().GetScrollY(), (client.bottom - 1) / window.Panel().GetMapper().scale);
    // At the bottom a line down stays there, though a page bound lies above it.
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-1200)), 0);
    const int bottom = BarPosition(window.Handle());
    ::SendMessageW(window.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(BarPosition(window.Handle()), bottom);

    // Content as high as the page hides the bar; one pixel higher shows it.
    CKWDoubleRect bounds;
    text.GetBounds(bounds);
    const CKWCoordMapper& mapper = window.Panel().GetMapper();
    const double top = text.GetRect().top;
    const int content = mapper.ToWindowY(top + bounds.bottom) - mapper.ToWindowY(top + bounds.top);
    ::MoveWindow(window.Handle(), 0, 0, 200, content + 1, TRUE);
    EXPECT_TRUE(window.Panel().GetStyle() & WS_VSCROLL);
    ::MoveWindow(window.Handle(), 0, 0, 200, content + 2, TRUE);  // the page is the client less a pixel each side
    EXPECT_FALSE(window.Panel().GetStyle() & WS_VSCROLL);
    EXPECT_EQ(window.Panel().GetScrollY(), 0.0);
}

TEST(TextPanel, PlaceholderGoesWhileEditing)
{
    struct Clicks : CKWTextPanelClickListener {
        std::vector<UINT> ids;
        void OnTextPanelClick(UINT id) override { ids.push_back(id); }
    } clicks;
    PanelWindow window;
    window.Panel().SetClickListener(&clicks, 1146);
    ASSERT_TRUE(window.Panel().SetBitmap(IDB_TEXT_TEST_PLACEHOLDER));
    TableText text;
    SetNote(text, L"");
    window.Panel().AttachTextObject(&text);
    ::UpdateWindow(window.Handle());

    ::ValidateRect(window.Handle(), nullptr);
    window.Press(WM_LBUTTONDOWN, POINT{30, 30}, MK_LBUTTON);
    window.Press(WM_LBUTTONUP, POINT{30, 30});
    EXPECT_TRUE(window.Panel().IsEditing());
    EXPECT_TRUE(window.WholeWindowInvalid());
    EXPECT_EQ(clicks.ids, std::vector<UINT>{1146});

    ::ValidateRect(window.Handle(), nullptr);
    window.Panel().DetachTextObject();
    EXPECT_TRUE(window.WholeWindowInvalid());
}

TEST(TextPanel, ScreenshotOfANoteWithSelectionAndCaret)
{
    PanelWindow window(360, 150);
    TableText text;
    SetNote(text, L"Report of the spring survey\n"
                  L"Seventeen pictures of the north shore, taken in the early light.\n"
                  L"Notes: the tide was low; see the second section.");
    CKWCharFormat title;
    title.m_count = CKWCharFormat::kMaskSize | CKWCharFormat::kBold;
    title.m_size = 14;
    title.m_style = CKWCharFormat::kBold;
    text.SetCharFormatInRange(0, 27, title);
    window.Edit(text);
    window.Panel().SetBlinkSuppressed(true);

    window.Panel().SetSel(38, 56, true);
    EXPECT_TRUE(window.Screenshot(L"text-panel-selection"));
    window.Panel().SetSel(100, 100, true);
    EXPECT_FALSE(window.Panel().IsCaretHidden());
    EXPECT_TRUE(window.Screenshot(L"text-panel-caret"));
}
