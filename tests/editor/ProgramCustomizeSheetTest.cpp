// The customisation sheet driven by hand: a tool bar made in it, buttons
// dragged onto it, and Large Icons switched on and off.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr UINT kCustomize = 32790;
constexpr int kNewToolbar = 16615;
constexpr int kToolbarName = 16516;
constexpr int kSheetTab = edtest::kSheetTabId;

// True while the window lies above the other among the top-level windows.
bool LiesAbove(HWND window, HWND other)
{
    for (HWND above = ::GetWindow(other, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV))
        if (above == window)
            return true;
    return false;
}

struct BarSearch {
    DWORD process;
    std::wstring name;
    HWND bar;
    HWND top;
};

BOOL CALLBACK VisitBarChild(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<BarSearch*>(data);
    if (CProgramRun::ClassName(child).rfind(L"QMXToolBar", 0) != 0 || CProgramRun::Text(child) != search->name)
        return TRUE;
    search->bar = child;
    return FALSE;
}

BOOL CALLBACK VisitBarTop(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<BarSearch*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process)
        return TRUE;
    ::EnumChildWindows(window, VisitBarChild, data);
    if (!search->bar)
        return TRUE;
    search->top = window;
    return FALSE;
}

// The tool bar of the program whose window text is the name, and the
// top-level window it lies in.
HWND ToolBarNamed(const CProgramRun& program, const std::wstring& name, HWND* top = nullptr)
{
    BarSearch search = {::GetProcessId(program.Process()), name, nullptr, nullptr};
    ::EnumWindows(VisitBarTop, reinterpret_cast<LPARAM>(&search));
    if (top)
        *top = search.top;
    return search.bar;
}

}  // namespace

// The layout a test of customisation leaves (a bar of its own, buttons moved
// off the main tool bar) is taken out of the registry before and after it.
class ProgramCustomizedByHand : public ProgramByHand {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramSettings);
        ProgramByHand::SetUp();
    }
    void TearDown() override
    {
        program.CloseWithoutSaving();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramSettings);
    }
    // View > Toolbars > Customize toolbars... by keys and a click, once the
    // program takes keys: the sheet, or null and a failure that says which
    // step did not come and what the program showed instead.
    HWND OpenCustomizeSheet()
    {
        auto missing = [&](const char* what) -> HWND {
            ADD_FAILURE() << "no " << what << ":" << program.Shows();
            return nullptr;
        };
        if (!edtest::ReadyForKeys(program))
            return missing("program ready for keys");
        edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
        if (!MenuWith(32829))
            return missing("View menu");
        edtest::TapKey('T');
        HWND items = MenuWith(kCustomize);
        if (!items || !edtest::ClickBarItem(items, edtest::BarCommandIndex(items, kCustomize)))
            return missing("Toolbars menu ready for a click");
        HWND sheet = program.WaitForDialogWith(kSheetTab);
        return sheet ? sheet : missing("sheet after the click on its item");
    }
    static constexpr wchar_t kProgramSettings[] = L"Software\\Kestrel Works\\OstraTallier";
};

TEST_F(ProgramCustomizedByHand, AToolBarMadeInTheCustomizeSheetLiesAboveTheMainWindowAndShowsTheButtonsDroppedOnIt)
{
    const std::wstring name = L"Mine" + std::to_wstring(::GetCurrentProcessId());
    HWND sheet = OpenCustomizeSheet();
    ASSERT_NE(nullptr, sheet);
    edtest::ClickTab(sheet, 1);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetDlgItem(edtest::CurrentPage(sheet), kNewToolbar) != nullptr; }));
    edtest::ClickWindow(::GetDlgItem(edtest::CurrentPage(sheet), kNewToolbar));
    HWND naming = program.WaitForDialogWith(kToolbarName);
    ASSERT_NE(nullptr, naming);
    ASSERT_TRUE(edtest::TypeInto(::GetDlgItem(naming, kToolbarName), name));
    edtest::TapKey(VK_RETURN);
    HWND floating = nullptr;
    HWND bar = nullptr;
    // Made on the main window, the bar then floats in a frame of its own.
    ASSERT_TRUE(edtest::WaitFor([&] {
        bar = ToolBarNamed(program, name, &floating);
        return bar && floating != program.Main();
    })) << "the new bar floats";
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(floating) && LiesAbove(floating, program.Main()); }));
    EXPECT_TRUE(LiesAbove(floating, sheet)) << "where it can take a button";
    // Beside the sheet, not over it: a click on the sheet (its first tab)
    // leaves the whole bar in sight.
    RECT floatRect = {}, sheetRect = {}, over = {};
    ::GetWindowRect(floating, &floatRect);
    ::GetWindowRect(sheet, &sheetRect);
    EXPECT_FALSE(::IntersectRect(&over, &floatRect, &sheetRect))
        << "the new bar at " << floatRect.left << ", " << floatRect.top << " lies over the sheet at "
        << sheetRect.left << ", " << sheetRect.top << " - " << sheetRect.right << ", " << sheetRect.bottom;
    edtest::ClickTab(sheet, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == sheet; }));
    Settle();
    for (const POINT corner : {POINT{floatRect.left + 2, floatRect.top + 2}, POINT{floatRect.right - 3, floatRect.bottom - 3}})
        EXPECT_EQ(floating, ::GetAncestor(::WindowFromPoint(corner), GA_ROOT)) << corner.x << ", " << corner.y;
    edtest::ClickTab(sheet, 1);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_new_toolbar");

    // Two buttons of the main tool bar dragged onto it.
    HWND mainBar = CProgramRun::FindById(program.Main(), kMainToolBar);
    for (UINT command : {57600u, 57601u}) {
        RECT target = {};
        ::GetWindowRect(bar, &target);
        const RECT from = edtest::BarItemRect(mainBar, edtest::BarCommandIndex(mainBar, command));
        const int before = int(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
        edtest::DragTo(edtest::CentreOf(from), {target.right - 4, (target.top + target.bottom) / 2}, 3);
        EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) > before; })) << command;

    }
    // Both show inside the bar and its floating frame while the sheet is open.
    ASSERT_EQ(2, ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_TRUE(edtest::WaitFor([&] {
        RECT frameRect = {};
        ::GetWindowRect(floating, &frameRect);
        for (int i = 0; i < 2; ++i) {
            const RECT button = edtest::BarItemRect(bar, i);
            RECT inside = {};
            if (::IsRectEmpty(&button) || !::IntersectRect(&inside, &button, &frameRect) || !::EqualRect(&inside, &button))
                return false;
        }
        return true;
    }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_new_toolbar_two_buttons");

    // Closed, the sheet leaves the bar above the main window.
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
    Settle();
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(floating) && LiesAbove(floating, program.Main()); }));
    // Also after a click on the main window, active already.
    edtest::ApproachAndClick(edtest::OnScreen(CProgramRun::FindById(frame, kTextPanel), {40, 40}));
    Settle();
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(floating) && LiesAbove(floating, program.Main()); }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_new_toolbar_after_close");
}

TEST_F(ProgramCustomizedByHand, LargeIconsSwitchedOnAndOffLeaveTheBarsWhereAndAsTheyWere)
{
    constexpr int kLargeIcons = 16653;
    constexpr int kEditTreeToolBar = 59953;
    // The bars' places and the screen over them.
    std::vector<RECT> places;
    RECT bars = {};
    for (int id : {edtest::kMenuBarId, kMainToolBar, kEditTreeToolBar, kTextToolBar}) {
        HWND bar = CProgramRun::FindById(program.Main(), id);
        ASSERT_NE(nullptr, bar) << id;
        RECT rect = {};
        ::GetWindowRect(bar, &rect);
        places.push_back(rect);
        if (::IsRectEmpty(&bars))
            bars = rect;
        else
            ::UnionRect(&bars, &bars, &rect);
    }
    auto placesNow = [&] {
        std::vector<RECT> now;
        for (int id : {edtest::kMenuBarId, kMainToolBar, kEditTreeToolBar, kTextToolBar}) {
            RECT rect = {};
            ::GetWindowRect(CProgramRun::FindById(program.Main(), id), &rect);
            now.push_back(rect);
        }
        return now;
    };
    auto samePlaces = [&](const std::vector<RECT>& a, const std::vector<RECT>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (!::EqualRect(&a[i], &b[i]))
                return false;
        return true;
    };
    const POINT rest = edtest::OnScreen(CProgramRun::FindById(frame, kTextPanel), {300, 150});
    edtest::MouseAt(rest);
    ASSERT_TRUE(BarsShowTheReport());
    Settle();
    std::vector<COLORREF> before;
    ASSERT_TRUE(edtest::SteadyScreen(bars, before));

    // Tools > Customize, its Options page, Large Icons on then off.
    HWND sheet = OpenCustomizeSheet();
    ASSERT_NE(nullptr, sheet);
    const int pages = int(::SendMessageW(::GetDlgItem(sheet, kSheetTab), TCM_GETITEMCOUNT, 0, 0));
    edtest::ClickTab(sheet, pages - 1);
    HWND large = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (large = ::GetDlgItem(edtest::CurrentPage(sheet), kLargeIcons)) != nullptr; }));
    ASSERT_EQ(BST_UNCHECKED, ::SendMessageW(large, BM_GETCHECK, 0, 0));
    edtest::ClickWindow(large);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(large, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return !samePlaces(places, placesNow()); })) << "large icons are larger";
    edtest::ClickWindow(large);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(large, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return samePlaces(places, placesNow()); }))
        << "the Edit Tree bar at " << placesNow()[2].left << ", " << placesNow()[2].top << " not "
        << places[2].left << ", " << places[2].top;
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
    // Nothing of the large buttons is left on the screen. The pointer moved
    // as a user moves it: the program brings its buttons' states up to date
    // when it has handled such input (a pointer that stands still sends none).
    edtest::MouseAt({rest.x + 5, rest.y + 5});
    edtest::MouseAt(rest);
    std::vector<COLORREF> after;
    EXPECT_TRUE(edtest::WaitFor([&] { return (after = ScreenPixels(bars)) == before; }))
        << DifferenceText(before, after, bars);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_large_icons_off");
}
