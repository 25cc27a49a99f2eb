// Panels driven by messages: wheel, drag start, scrolling and the back
// buffer; the items panel's grid, scroll units and selection; the drag bar
// docked and floating; the message box's caption and owner.
#include "controls/KWDragBar.h"
#include "controls/KWItemsPanel.h"
#include "controls/KWMessageBox.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMiniFrameWnd.h"
#include "framework/KWGdiPlusStartup.h"
#include "platform/classlib/WinApp.h"
#include "tests/platform/classlib/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// A panel that counts its paints; with swallowSizes it never sees WM_SIZE.
class CCountingPanel : public CKWPanel {
public:
    void Paint(IKWGraphics&, const RECT&, HRGN) override { ++paints; }
    int paints = 0;
    bool swallowSizes = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SIZE && swallowSizes)
            return 0;
        return CKWPanel::WindowProc(message, wParam, lParam);
    }
};

// Notes where drags start.
class CDragSource : public CKWDragDropPane {
public:
    void BeginDrag(const CPoint& start) override { starts.push_back(start); }
    std::vector<CPoint> starts;
};

class CGridPanel : public CKWItemsPanel {
public:
    void DrawItem(int, IKWGraphics&, const RECT&) override {}
};

// Adds up how far the contents were moved.
class CScrollLoggingGrid : public CGridPanel {
public:
    void ScrollBy(int dx, int dy) override
    {
        scrolled += dy;
        CGridPanel::ScrollBy(dx, dy);
    }
    int scrolled = 0;
};

bool MakePanel(CWnd& panel, int width, int height, DWORD style = 0)
{
    return panel.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE | style, 10, 10, width, height, nullptr, nullptr) !=
           FALSE;
}

void Fill(CKWItemsPanel& panel, int count)
{
    for (int i = 0; i < count; ++i)
        panel.AddItem(new CKWPlItem);
    panel.UpdateScrollBars();
}

using classlib_test::SetKeys;

void ClickItem(CKWItemsPanel& panel, int index, bool ctrl = false, bool shift = false)
{
    const RECT cell = panel.GetItemRect(index);
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    SetKeys(ctrl, shift);
    panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    panel.SendMessage(WM_LBUTTONUP, 0, at);
    SetKeys(false, false);
}

int ScrollMax(CWnd& panel)
{
    SCROLLINFO info = {sizeof info, SIF_RANGE};
    ::GetScrollInfo(panel.m_hWnd, SB_VERT, &info);
    return info.nMax;
}

}  // namespace

TEST(Panel, WheelScrollsWholeNotchesOfTheClientHeightAndStopsAtTheTop)
{
    CCountingPanel panel;
    ASSERT_TRUE(MakePanel(panel, 200, 200, WS_VSCROLL));
    ::SetScrollRange(panel.m_hWnd, SB_VERT, 0, 2000, FALSE);
    const struct {
        int from;
        short delta;
        int to;
    } cases[] = {{0, 60, 0}, {0, -240, 400}, {100, 120, 0}, {500, -119, 500}};
    for (const auto& c : cases) {
        panel.SetScrollPos(c.from);
        panel.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, c.delta), MAKELPARAM(50, 50));
        EXPECT_EQ(c.to, panel.GetScrollPos()) << c.from << " " << c.delta;
    }
    // Line down stops where the last page begins, page down at the maximum.
    ::SetScrollRange(panel.m_hWnd, SB_VERT, 0, 1000, FALSE);
    const struct {
        int from, code, to;
    } steps[] = {{799, SB_LINEDOWN, 800}, {800, SB_LINEDOWN, 800}, {900, SB_PAGEDOWN, 1000}, {100, SB_PAGEUP, 0}};
    for (const auto& s : steps) {
        panel.SetScrollPos(s.from);
        panel.SendMessage(WM_VSCROLL, s.code);
        EXPECT_EQ(s.to, panel.GetScrollPos()) << s.from << " " << s.code;
    }
    panel.DestroyWindow();
}

TEST(Panel, ADragStartsOnlyBeyondFivePixelsFromThePress)
{
    CCountingPanel panel;
    ASSERT_TRUE(MakePanel(panel, 100, 100));
    CDragSource source;
    panel.SetDragSourceHandler(&source);
    const struct {
        int x, y;
        bool drag;
    } moves[] = {{15, 10}, {10, 15}, {14, 14, true}};
    for (const auto& m : moves) {
        source.starts.clear();
        panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        EXPECT_EQ(panel.m_hWnd, ::GetCapture());
        panel.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(m.x, m.y));
        EXPECT_EQ(m.drag ? std::vector<CPoint>{CPoint(10, 10)} : std::vector<CPoint>{}, source.starts) << m.x;
        EXPECT_EQ(!m.drag, ::GetCapture() == panel.m_hWnd) << m.x;
        panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(m.x, m.y));
    }
    // A release without the capture goes on to the default handling.
    EXPECT_FALSE(panel.OnLButtonUp(1, 1));
    panel.DestroyWindow();
}

TEST(Panel, APaintBeforeAnySizeMakesItsBackBuffer)
{
    ASSERT_TRUE(StartupGdiPlus());
    CCountingPanel panel;
    panel.swallowSizes = true;
    ASSERT_TRUE(MakePanel(panel, 120, 80));
    EXPECT_FALSE(panel.HasBackBuffer());
    panel.Invalidate(FALSE);
    panel.SendMessage(WM_PAINT);
    EXPECT_TRUE(panel.HasBackBuffer());
    EXPECT_EQ(1, panel.paints);
    panel.DestroyWindow();
}

TEST(ItemsPanel, CellsSpreadOverTheWidthAndAClickBelowTheItemsDeselectsAll)
{
    const struct {
        int width, columns;
        RECT first;
    } layouts[] = {{300, 8, {2, 0, 38, 36}}, {150, 4, {1, 0, 37, 36}}, {20, 1, {-8, 0, 28, 36}}};
    for (const auto& l : layouts) {
        CGridPanel panel;
        ASSERT_TRUE(MakePanel(panel, l.width, 400));
        Fill(panel, 10);
        EXPECT_EQ(l.columns, panel.GetColumns()) << l.width;
        EXPECT_EQ((10 + l.columns - 1) / l.columns, panel.GetRows()) << l.width;
        EXPECT_EQ(CRect(l.first), CRect(panel.GetCellRect(0, 0))) << l.width;
        // The right margin belongs to the last column.
        EXPECT_EQ(l.columns - 1, panel.ItemFromPoint(CPoint(l.width - 1, 0))) << l.width;
        panel.DestroyWindow();
    }
    CGridPanel panel;
    ASSERT_TRUE(MakePanel(panel, 150, 120));
    Fill(panel, 10);
    ClickItem(panel, 1);
    EXPECT_EQ(1, panel.GetCurrentIndex());
    panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 80));  // row 2, column 3: index 11
    EXPECT_EQ(-1, panel.GetCurrentIndex());
    EXPECT_FALSE(panel.IsSelected(1));
    panel.DestroyWindow();
}

TEST(ItemsPanel, TwoThousandRowsScrollInRowsAndLeaveNoOffsetWhenEmptied)
{
    CGridPanel panel;
    ASSERT_TRUE(MakePanel(panel, 60, 360, WS_VSCROLL));
    Fill(panel, 2000);
    ASSERT_EQ(1, panel.GetColumns());
    EXPECT_TRUE(panel.IsRowScrolling());
    EXPECT_EQ(2000 - 10, ScrollMax(panel));
    panel.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(10, panel.GetScrollPos());
    EXPECT_EQ(-360, panel.GetCellRect(0, 0).top);
    panel.RemoveAllItems();
    Fill(panel, 3);
    EXPECT_EQ(0, panel.GetScrollPos());
    EXPECT_EQ(0, panel.GetCellRect(0, 0).top);
    panel.DestroyWindow();
}

TEST(ItemsPanel, ScrollCodesStayInTheRangeAndTheRowsFollowTheBar)
{
    CScrollLoggingGrid panel;
    ASSERT_TRUE(MakePanel(panel, 60, 360, WS_VSCROLL));
    Fill(panel, 2000);
    ASSERT_TRUE(panel.IsRowScrolling());
    ASSERT_EQ(1990, ScrollMax(panel));
    const struct {
        int from, code, position, to;
    } moves[] = {{1990, SB_LINEDOWN, 0, 1990}, {1989, SB_LINEDOWN, 0, 1990}, {1985, SB_PAGEDOWN, 0, 1990},
                 {3, SB_PAGEUP, 0, 0},          {0, SB_LINEUP, 0, 0},          {5, SB_THUMBTRACK, 2500, 1990}};
    for (const auto& m : moves) {
        panel.SetScrollPos(m.from);
        panel.scrolled = 0;
        // The thumb-track position as the wheel gives it (a message reads the bar's own).
        panel.OnVScroll(m.code, m.position);
        EXPECT_EQ(m.to, panel.GetScrollPos()) << m.from << " " << m.code;
        EXPECT_EQ((m.from - m.to) * 36, panel.scrolled) << m.from << " " << m.code;
    }
    panel.DestroyWindow();
}

TEST(ItemsPanel, MultipleSelectionFollowsCtrlAndShiftFromTheCurrentItem)
{
    CGridPanel panel;
    ASSERT_TRUE(MakePanel(panel, 300, 120));
    Fill(panel, 20);
    panel.ClearSelection(true);
    const struct {
        int index;
        bool ctrl, shift;
        std::vector<int> selection;
        int current;
    } clicks[] = {
        {3, false, false, {3}, 3},
        {7, true, true, {3, 4, 5, 6, 7}, 3},  // Ctrl does not count with Shift
        {3, true, false, {4, 5, 6, 7}, 4},
        {5, false, false, {4, 5, 6, 7}, 4},   // a plain click on a selected item
        {0, false, false, {0}, 0},
        {19, true, false, {0, 19}, 0},
        {19, false, true, {}, 0},             // every item
    };
    for (const auto& c : clicks) {
        ClickItem(panel, c.index, c.ctrl, c.shift);
        std::vector<int> expected = c.selection;
        if (expected.empty())
            for (int i = 0; i < 20; ++i)
                expected.push_back(i);
        std::vector<int> selected;
        for (int i = panel.GetFirstSelectedIndex(); i != -1; panel.GetNextSelectedIndex(i))
            selected.push_back(i);
        std::sort(selected.begin(), selected.end());
        EXPECT_EQ(expected, selected) << c.index;
        EXPECT_EQ(c.current, panel.GetCurrentIndex()) << c.index;
    }
    panel.DestroyWindow();
}

namespace {

class CCountingBar : public CKWDragBar {
public:
    void RecalcLayout() override { ++layouts; }
    int layouts = 0;
};

}  // namespace

TEST(DragBar, GetsItsFloatingFrameOnlyWhileFloatingAndLaysOutOncePerResize)
{
    auto* frame = new CQMXPMDIFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"Bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                                nullptr));
    ASSERT_TRUE(frame->EnableDocking(0xF000));
    CCountingBar bar;
    ASSERT_TRUE(bar.Create(L"Gallery", frame, CRect(0, 0, 200, 200), TRUE, 5971,
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x4000, 32, 15));
    bar.EnableDocking(0xF000);
    frame->DockControlBar(&bar, 59421);
    classlib_test::DrainMessages();
    RECT rect = {1, 2, 3, 4};
    EXPECT_FALSE(bar.IsBarFloating());
    EXPECT_FALSE(bar.GetFloatingRect(&rect));
    EXPECT_EQ(CRect(1, 2, 3, 4), CRect(rect));
    EXPECT_FALSE(bar.GetFloatingRect(nullptr));

    CRect window;
    bar.GetWindowRect(&window);
    const int before = bar.layouts;
    bar.SetWindowPos(nullptr, 0, 0, window.Width() + 30, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(before + 1, bar.layouts);

    bar.FloatControlBar(CRect(100, 100, 320, 300), QMXP_DM_RECT);
    classlib_test::DrainMessages();
    ASSERT_TRUE(bar.IsBarFloating());
    ASSERT_TRUE(bar.GetFloatingRect(&rect));
    CRect miniFrame;
    bar.GetParentMiniFrame()->GetWindowRect(&miniFrame);
    EXPECT_EQ(miniFrame, CRect(rect));
    EXPECT_TRUE(bar.IsBarVisible());
    bar.HideBar();
    EXPECT_FALSE(bar.IsBarVisible());
    frame->DestroyWindow();
}

TEST(MessageBoxFunction, WithoutCaptionOrOwnerItIsTitledByTheApplicationAndOwnedByTheMainWindow)
{
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, L"STATIC", L"Main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr));
    CWinThread* thread = AfxGetThread();
    CWnd* previous = thread->m_pMainWnd;
    thread->m_pMainWnd = &main;
    std::atomic<HWND> owner{nullptr};
    std::wstring caption;
    const DWORD testThread = ::GetCurrentThreadId();
    std::thread helper([&] {
        // No message tells another thread that a box is up: it looks.
        for (int tries = 0; tries < 500; ++tries) {
            classlib_test::FindDialogQuery query = {nullptr, 0, nullptr};
            ::EnumThreadWindows(testThread, classlib_test::FindDialogProc, reinterpret_cast<LPARAM>(&query));
            if (HWND box = query.found) {
                wchar_t text[64] = {};
                ::GetWindowTextW(box, text, 64);
                caption = text;
                owner = ::GetWindow(box, GW_OWNER);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(10);
        }
    });
    EXPECT_EQ(IDOK, KWMessageBox(L"Nothing lost."));
    helper.join();
    EXPECT_EQ(main.m_hWnd, owner.load());
    EXPECT_EQ(L"Panels Test Title", caption);
    thread->m_pMainWnd = previous;
    main.DestroyWindow();
}
