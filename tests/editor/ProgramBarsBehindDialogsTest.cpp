// The menu bar and tool bars behind a modal window: drawn while it is open,
// and showing the commands' states as they are.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr UINT kDocumentProperties = 32854;
constexpr int kSheetTab = edtest::kSheetTabId;

}  // namespace

TEST_F(ProgramByHand, TheBarsBehindTheDocumentPropertiesSheetAreDrawnWhileItIsOpen)
{
    // The menu bar and the tool bars as the screen shows them.
    RECT bars = {};
    for (int id : {edtest::kMenuBarId, kMainToolBar, kTextToolBar}) {
        HWND bar = CProgramRun::FindById(program.Main(), id);
        ASSERT_NE(nullptr, bar) << id;
        RECT rect = {};
        ::GetWindowRect(bar, &rect);
        if (::IsRectEmpty(&bars))
            bars = rect;
        else
            ::UnionRect(&bars, &bars, &rect);
    }
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    const POINT rest = edtest::OnScreen(panel, {300, 150});
    edtest::MouseAt(rest);
    ASSERT_TRUE(BarsShowTheReport());
    Settle();
    std::vector<COLORREF> before;
    ASSERT_TRUE(edtest::SteadyScreen(bars, before));

    // The sheet chosen from the Report menu with the mouse, over the bars.
    edtest::ChooseFromMenu(program, kDocumentProperties);
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    RECT placed = {};
    ::GetWindowRect(sheet, &placed);
    RECT over = {};
    ASSERT_TRUE(::IntersectRect(&over, &placed, &bars)) << "the sheet opens away from the bars";
    // Dragged by its caption down and right, off the bars: they are drawn
    // again while it is open, as they were.
    const POINT caption = {placed.left + 60, placed.top + ::GetSystemMetrics(SM_CYCAPTION) / 2 + 2};
    const POINT to = {caption.x + (bars.right - placed.left) / 3, caption.y + (bars.bottom - placed.top) + 40};
    edtest::DragTo(caption, to, 2);
    ASSERT_TRUE(edtest::WaitFor([&] {
        RECT moved = {};
        ::GetWindowRect(sheet, &moved);
        return moved.top >= bars.bottom;
    })) << "the sheet follows its caption";
    edtest::MouseAt(rest);
    std::vector<COLORREF> behind;
    EXPECT_TRUE(edtest::WaitFor([&] { return (behind = ScreenPixels(bars)) == before; }))
        << DifferenceText(before, behind, bars);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_bars_behind_sheet");
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
}

TEST(ProgramByHandAtStart, TheToolBarsBehindTheStartWizardShowTheCommandsOfNoReport)
{
    // The wizard runs before the program's first idle moment; behind it the
    // main tool bar shows Save, Cut and Copy disabled, as nothing is open.
    edtest::SetStartPrefs(0, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND wizard = program.WaitForDialog();
    ASSERT_NE(nullptr, wizard);
    HWND bar = CProgramRun::FindById(program.Main(), kMainToolBar);
    ASSERT_NE(nullptr, bar);
    for (UINT command : {57603u, 57635u, 57634u}) {
        const int index = edtest::BarCommandIndex(bar, command);
        ASSERT_GE(index, 0) << command;
        EXPECT_TRUE(edtest::WaitFor([&] { return edtest::BarItemDisabled(bar, index); })) << command;
    }
    // New stays enabled.
    const int newIndex = edtest::BarCommandIndex(bar, 57600);
    ASSERT_GE(newIndex, 0);
    EXPECT_FALSE(edtest::BarItemDisabled(bar, newIndex));
    // The wizard opens below the menu bar and the tool bars, which show: the
    // main window (disabled behind the wizard, so that it answers for its
    // bars) is the window found under each one's first item, and the screen
    // there holds still with more than its background (the item drawn).
    RECT wizardRect = {};
    ::GetWindowRect(wizard, &wizardRect);
    for (int id : {edtest::kMenuBarId, kMainToolBar, kTextToolBar}) {
        SCOPED_TRACE(id);
        HWND shown = CProgramRun::FindById(program.Main(), id);
        ASSERT_NE(nullptr, shown);
        EXPECT_TRUE(::IsWindowVisible(shown));
        RECT barRect = {}, over = {};
        ::GetWindowRect(shown, &barRect);
        EXPECT_FALSE(::IntersectRect(&over, &barRect, &wizardRect)) << "the wizard lies over the bar";
        const RECT item = edtest::BarItemRect(shown, 0);
        HWND found = ::WindowFromPoint(edtest::CentreOf(item));
        EXPECT_EQ(program.Main(), ::GetAncestor(found, GA_ROOT)) << CProgramRun::ClassName(found).c_str();
        std::vector<COLORREF> pixels;
        ASSERT_TRUE(edtest::SteadyScreen(item, pixels));
        EXPECT_NE(pixels.end(), std::find_if(pixels.begin(), pixels.end(), [&](COLORREF c) { return c != pixels[0]; }))
            << "the bar's first item is not drawn";
    }
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_bars_behind_start_wizard");
    ::PostMessageW(wizard, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(wizard); }));
}
