// The program's main window as a library frame: its menu bar in place of
// the Windows menu, opened by keys, and the window placement that comes
// back after a restart.
#include "ProgramInput.h"
#include "ProgramMenus.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using edtest::CProgramRun;
using edtest::PointerKept;
using edtest::PressKeys;

namespace {

constexpr int kMenuBarId = 0xE806;
constexpr int kFormatTextBarId = 59954;
constexpr wchar_t kWorkspaceKey[] = L"Software\\Kestrel Works\\OstraTallier\\Kestrel Works";

HWND FocusOf(HWND main)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndFocus;
}

}  // namespace

TEST(ProgramLayout, MenuBarOpensByAltAndMnemonicAndTakesTheFocusByAltAlone)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND main = program.Main();
    EXPECT_EQ(nullptr, ::GetMenu(main));
    HWND menuBar = CProgramRun::FindById(main, kMenuBarId);
    ASSERT_NE(nullptr, menuBar);
    EXPECT_TRUE(::IsWindowVisible(menuBar));
    // The menu bar lies above the tool bars.
    RECT barRect = {};
    RECT toolRect = {};
    ::GetWindowRect(menuBar, &barRect);
    ::GetWindowRect(CProgramRun::FindById(main, kFormatTextBarId), &toolRect);
    EXPECT_LT(barRect.top, toolRect.top);

    ::SetForegroundWindow(main);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == main; }));
    // Alt alone goes into the menu bar and back out of it.
    ASSERT_TRUE(edtest::WaitFor([&] { return FocusOf(main) != nullptr; }));
    HWND before = FocusOf(main);
    EXPECT_NE(menuBar, before);
    PressKeys({{VK_MENU, true}, {VK_MENU, false}});
    EXPECT_TRUE(edtest::WaitFor([&] { return FocusOf(main) == menuBar; }));
    PressKeys({{VK_MENU, true}, {VK_MENU, false}});
    EXPECT_TRUE(edtest::WaitFor([&] { return FocusOf(main) != menuBar; }));

    PressKeys({{VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}});
    ASSERT_TRUE(edtest::WaitFor([&] { return program.FindPopup() != nullptr; }));
    // The menu opens by growing (its animation): the picture is taken once its size holds.
    RECT last = {};
    EXPECT_TRUE(edtest::WaitFor([&] {
        RECT now = {};
        ::GetWindowRect(program.FindPopup(), &now);
        const bool steady = ::EqualRect(&now, &last) && now.bottom > now.top;
        last = now;
        return steady;
    }));
    ::RedrawWindow(program.FindPopup(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_menu_bar_file_menu");
    PressKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_TRUE(edtest::WaitFor([&] { return program.FindPopup() == nullptr; }));
    // A second Escape leaves the menu bar for the window that had the focus.
    PressKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_TRUE(edtest::WaitFor([&] { return FocusOf(main) == before; }));

}

namespace {

constexpr int kStatusBarId = 0xE801;
constexpr int kMainBarId = 59952;
constexpr int kEditTreeBarId = 59953;
constexpr UINT kCustomize = 32790;
// The customisation sheet: its category and command lists, its Reset All button.
constexpr int kCategoryList = 16601;
constexpr int kCommandList = 16602;
constexpr int kDescription = 16603;
constexpr int kResetAll = 16614;

RECT RectOf(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

// The combo boxes on a bar (the font boxes when docked along the top).
int ComboBoxes(HWND bar)
{
    int count = 0;
    for (HWND child = ::GetWindow(bar, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        count += CProgramRun::ClassName(child) == L"ComboBox" ? 1 : 0;
    return count;
}

void CloseAnsweringNo(CProgramRun& program)
{
    ::PostMessageW(program.Main(), WM_CLOSE, 0, 0);
    HWND question = program.WaitForDialog();
    ASSERT_NE(nullptr, question);
    ::PostMessageW(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(program.WaitForExit(15000));
}

// The customisation sheet opened by its command, moved clear of the tool bars.
HWND OpenCustomizeSheet(CProgramRun& program)
{
    program.PostCommand(kCustomize);
    HWND sheet = nullptr;
    edtest::WaitFor([&] {
        sheet = program.FindDialog();
        return sheet && CProgramRun::FindById(sheet, kCategoryList);
    });
    if (sheet)
        ::SetWindowPos(sheet, nullptr, 600, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return sheet;
}

}  // namespace

TEST(ProgramLayout, LibraryBarsTheTextBarAtTheLeftAndTheWindowComeBackAfterARestart)
{
    PointerKept pointer;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    const RECT placed = {40, 30, 840, 630};
    RECT barsBefore[3] = {};
    {
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        HWND main = program.Main();
        // Every bar is the library's, docked in a library dock bar.
        const struct {
            int id;
            const wchar_t* classPrefix;
            const wchar_t* parentPrefix;
        } bars[] = {{kMenuBarId, L"QMXToolBar:", L"QMXDockBar:"},
                    {kMainBarId, L"QMXToolBar:", L"QMXDockBar:"},
                    {kEditTreeBarId, L"QMXToolBar:", L"QMXDockBar:"},
                    {kFormatTextBarId, L"QMXToolBar:", L"QMXDockBar:"},
                    {kStatusBarId, L"QMXControlBar:", L""}};
        for (const auto& bar : bars) {
            HWND window = CProgramRun::FindById(main, bar.id);
            ASSERT_NE(nullptr, window) << bar.id;
            EXPECT_EQ(0u, CProgramRun::ClassName(window).rfind(bar.classPrefix, 0)) << bar.id;
            EXPECT_EQ(0u, CProgramRun::ClassName(::GetParent(window)).rfind(bar.parentPrefix, 0)) << bar.id;
        }
        // Without a stored layout the window opens maximised.
        EXPECT_TRUE(::IsZoomed(main));
        ::ShowWindow(main, SW_RESTORE);
        ::MoveWindow(main, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
        // The text bar is dragged by its gripper onto the frame's left edge.
        HWND text = CProgramRun::FindById(main, kFormatTextBarId);
        EXPECT_EQ(2, ComboBoxes(text));
        const RECT textRect = RectOf(text);
        RECT client = {};
        ::GetClientRect(main, &client);
        ::MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
        ::SetForegroundWindow(main);
        // A torn-off bar docks at an edge once the pointer has rested there a moment.
        edtest::DragTo({textRect.left + 3, (textRect.top + textRect.bottom) / 2},
                       {client.left - 2, (client.top + client.bottom) / 2}, 10);
        const bool docked = edtest::WaitFor([&] {
            const RECT now = RectOf(text);
            return now.bottom - now.top > now.right - now.left;
        });
        test_support::WriteWindowScreenshot(main, L"editor_layout_before_restart");
        ASSERT_TRUE(docked);
        // Along a side the font boxes are menu buttons.
        EXPECT_EQ(0, ComboBoxes(text));
        EXPECT_LT(RectOf(text).left, client.left + 10);
        for (int i = 0; i < 3; ++i)
            barsBefore[i] = RectOf(CProgramRun::FindById(main, kMainBarId + i));
        test_support::WriteWindowScreenshot(main, L"editor_layout_before_restart");
        // The layout is saved as the window closes, before the report asks to be saved.
        CloseAnsweringNo(program);
    }
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    const RECT rect = RectOf(program.Main());
    EXPECT_FALSE(::IsZoomed(program.Main()));
    EXPECT_TRUE(SameRect(placed, rect));
    for (int i = 0; i < 3; ++i) {
        const RECT now = RectOf(CProgramRun::FindById(program.Main(), kMainBarId + i));
        EXPECT_TRUE(SameRect(barsBefore[i], now))
            << i << ": " << now.left << "," << now.top << "," << now.right << "," << now.bottom;
    }
    EXPECT_EQ(0, ComboBoxes(CProgramRun::FindById(program.Main(), kFormatTextBarId)));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_layout_after_restart");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
}

TEST(ProgramLayout, ACommandDraggedFromTheSheetStaysOnItsBarUntilResetAll)
{
    PointerKept pointer;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    LONG widthBefore = 0;
    LONG widthWith = 0;
    {
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        HWND mainBar = CProgramRun::FindById(program.Main(), kMainBarId);
        const RECT barRect = RectOf(mainBar);
        widthBefore = barRect.right - barRect.left;
        HWND sheet = OpenCustomizeSheet(program);
        ASSERT_NE(nullptr, sheet);
        EXPECT_EQ(L"Customize", CProgramRun::Text(sheet));
        // "All Commands" ends the categories; its commands show their menu paths.
        HWND categories = CProgramRun::FindById(sheet, kCategoryList);
        HWND commands = CProgramRun::FindById(sheet, kCommandList);
        const LRESULT last = ::SendMessageW(categories, LB_GETCOUNT, 0, 0) - 1;
        ::SendMessageW(categories, LB_SETCURSEL, last, 0);
        ::SendMessageW(::GetParent(categories), WM_COMMAND, MAKEWPARAM(kCategoryList, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(categories));
        const LRESULT bold = ::SendMessageW(commands, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(L"TextBold"));
        ASSERT_GE(bold, 0);
        ::SendMessageW(commands, LB_SETTOPINDEX, bold, 0);
        ::SendMessageW(commands, LB_SETCURSEL, bold, 0);
        ::SendMessageW(::GetParent(commands), WM_COMMAND, MAKEWPARAM(kCommandList, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(commands));
        // The description is the command's status-bar prompt.
        EXPECT_FALSE(CProgramRun::Text(CProgramRun::FindById(sheet, kDescription)).empty());
        RECT item = {};
        ::SendMessageW(commands, LB_GETITEMRECT, bold, reinterpret_cast<LPARAM>(&item));
        ::MapWindowPoints(commands, nullptr, reinterpret_cast<POINT*>(&item), 2);
        test_support::WriteWindowScreenshot(sheet, L"editor_customize_sheet");
        // A real drag: from the command's line to the end of the main tool bar.
        edtest::DragTo({item.left + 20, (item.top + item.bottom) / 2},
                       {barRect.right - 3, (barRect.top + barRect.bottom) / 2}, 10);
        EXPECT_TRUE(edtest::WaitFor([&] {
            const RECT now = RectOf(mainBar);
            return now.right - now.left > widthBefore;
        }));
        widthWith = RectOf(mainBar).right - RectOf(mainBar).left;
        ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
        CloseAnsweringNo(program);
    }
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND mainBar = CProgramRun::FindById(program.Main(), kMainBarId);
    EXPECT_EQ(widthWith, RectOf(mainBar).right - RectOf(mainBar).left);
    HWND sheet = OpenCustomizeSheet(program);
    ASSERT_NE(nullptr, sheet);
    // Reset All on the Toolbars page, answered Yes, gives the bar its resource's buttons back.
    ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    HWND resetAll = CProgramRun::FindById(sheet, kResetAll);
    ASSERT_NE(nullptr, resetAll);
    ::PostMessageW(::GetParent(resetAll), WM_COMMAND, MAKEWPARAM(kResetAll, BN_CLICKED),
                   reinterpret_cast<LPARAM>(resetAll));
    HWND question = program.WaitForDialogWith(IDYES);
    ASSERT_NE(nullptr, question);
    ::PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return RectOf(mainBar).right - RectOf(mainBar).left == widthBefore; }));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
}

namespace {

// The caption button's hit code, and the id of an auto-hide strip.
constexpr LRESULT kAutoHideHit = 9;
constexpr int kStripId = 1;
constexpr DWORD kTop = 59419;
constexpr DWORD kLeft = 59420;
constexpr DWORD kRight = 59421;

struct StripQuery {
    HWND bar;
    HWND strip;
};

BOOL CALLBACK VisitStrip(HWND window, LPARAM data)
{
    auto* query = reinterpret_cast<StripQuery*>(data);
    if (::GetDlgCtrlID(window) != kStripId || !::IsWindowVisible(window) || window == query->bar ||
        ::IsChild(query->bar, window))
        return TRUE;
    query->strip = window;
    return FALSE;
}

// The visible strip beside the frame edge (the gallery's own panes have that id too).
HWND FindStrip(HWND main, HWND bar)
{
    StripQuery query = {bar, nullptr};
    ::EnumChildWindows(main, VisitStrip, reinterpret_cast<LPARAM>(&query));
    return query.strip;
}

// Waits until the window stops moving.
bool WaitForSteadyRect(HWND window)
{
    RECT last = {};
    return edtest::WaitFor([&] {
        const RECT now = RectOf(window);
        const bool steady = ::EqualRect(&now, &last) != FALSE;
        last = now;
        return steady;
    });
}

// Presses the pane's auto-hide caption button as the mouse does, once the
// pane's caption has its buttons (the frame lays a shown pane out later).
bool PressAutoHideButton(HWND bar)
{
    POINT button = {};
    auto find = [&] {
        const RECT rect = RectOf(bar);
        for (int y = rect.top; y < rect.top + 30; ++y) {
            for (int x = rect.right - 1; x > rect.right - 80; --x) {
                if (::SendMessageW(bar, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == kAutoHideHit) {
                    button = {x, y};
                    return true;
                }
            }
        }
        return false;
    };
    if (!edtest::WaitFor(find))
        return false;
    ::ScreenToClient(bar, &button);
    const LPARAM at = MAKELPARAM(button.x, button.y);
    ::SendMessageW(bar, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, at);
    return true;
}

// Leaves no stored gallery behind (the next program start would make it) and
// puts the cursor back, whether the test passes or not.
struct GalleryLayoutCleanup {
    POINT cursor = {};
    GalleryLayoutCleanup() { ::GetCursorPos(&cursor); }
    ~GalleryLayoutCleanup()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
        ::SetCursorPos(cursor.x, cursor.y);
    }
};

struct GalleryPlaceCase {
    const wchar_t* name;
    DWORD side;
    bool floating;
    bool autoHide;
};

}  // namespace

// The gallery keeps its place between runs: docked at a side, floating, or
// collapsed to a strip button by its auto-hide button (which slides it out
// while the mouse rests on the button).
TEST(ProgramLayout, GalleryComesBackDockedFloatingOrAutoHiddenAfterARestart)
{
    CKWTestTempFolder folder(L"edl");
    WriteFileBytes(folder.Path() + L"one.jpg",
                   testpictures::EncodeJpeg(testpictures::PhotoPixels(120, 90, 5), 120, 90));
    const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
    const GalleryLayoutCleanup cleanup;
    const GalleryPlaceCase cases[] = {
        {L"auto-hidden", kRight, false, true},
        {L"docked left", kLeft, false, false},
        {L"floating", kRight, true, false},
    };
    for (const GalleryPlaceCase& place : cases) {
        SCOPED_TRACE(testing::Message() << place.name);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
        edtest::SetStartPrefs(3, L"");
        edtest::SetGalleryPrefs(place.side, place.floating, path);
        RECT placed = {};
        {
            CProgramRun program;
            ASSERT_TRUE(program.Start());
            HWND main = program.Main();
            ASSERT_TRUE(program.AddGalleryFolder(path));
            HWND bar = program.GalleryBar();
            EXPECT_EQ(place.floating, ::GetAncestor(bar, GA_ROOT) != main);
            if (place.autoHide) {
                // The mouse is away from the pane, so that it slides in once collapsed.
                const RECT client = RectOf(::FindWindowExW(main, nullptr, L"MDIClient", nullptr));
                ::SetCursorPos(client.left + 10, client.top + 10);
                ASSERT_TRUE(PressAutoHideButton(bar));
                HWND strip = nullptr;
                ASSERT_TRUE(edtest::WaitFor([&] { return (strip = FindStrip(main, bar)) != nullptr; }));
                ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(bar); }));
                // The strip lies along the right edge of the frame.
                const RECT stripRect = RectOf(strip);
                EXPECT_GT(stripRect.left, client.right - 40);
                // The mouse rests on the strip's button: the pane slides out beside it.
                const POINT on = {(stripRect.left + stripRect.right) / 2, (stripRect.top + stripRect.bottom) / 2};
                ::SetCursorPos(on.x, on.y);
                POINT local = on;
                ::ScreenToClient(strip, &local);
                ::PostMessageW(strip, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
                ASSERT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(bar) != FALSE; }));
                // Under load the slide's steps can lie further apart than two
                // looks at the pane: wait for where it must end.
                EXPECT_TRUE(edtest::WaitFor([&] {
                    const RECT out = RectOf(bar);
                    return out.right <= stripRect.left && out.right - out.left > 40;
                })) << RectOf(bar).left << ".." << RectOf(bar).right << " beside " << stripRect.left;
                WaitForSteadyRect(bar);
                test_support::WriteWindowScreenshot(main, L"editor_gallery_slid_out");
                // The pointer leaves the pane for the report: it slides back in.
                const POINT away = edtest::CentreOf(client);
                edtest::MouseAt({on.x - 5, on.y});
                edtest::MouseAt(away);
                EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(bar); }));
            } else if (!place.floating) {
                // The frame lays its panes out after the gallery shows.
                HWND client = ::FindWindowExW(main, nullptr, L"MDIClient", nullptr);
                EXPECT_TRUE(edtest::WaitFor([&] { return RectOf(bar).right <= RectOf(client).left; }));
            }
            ASSERT_TRUE(WaitForSteadyRect(place.floating ? ::GetAncestor(bar, GA_ROOT) : bar));
            placed = RectOf(place.floating ? ::GetAncestor(bar, GA_ROOT) : bar);
            ASSERT_TRUE(program.CloseWithoutSaving());
        }
        // The preferences say otherwise: only the stored layout can bring the gallery back.
        edtest::SetGalleryPrefs(kTop, false, path);
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        HWND main = program.Main();
        HWND bar = program.GalleryBar();
        ASSERT_NE(nullptr, bar);
        if (place.autoHide) {
            EXPECT_FALSE(::IsWindowVisible(bar));
            HWND strip = FindStrip(main, bar);
            ASSERT_NE(nullptr, strip);
            EXPECT_GT(RectOf(strip).left, RectOf(::FindWindowExW(main, nullptr, L"MDIClient", nullptr)).right - 40);
        } else {
            EXPECT_TRUE(::IsWindowVisible(bar));
            EXPECT_EQ(place.floating, ::GetAncestor(bar, GA_ROOT) != main);
            const RECT now = RectOf(place.floating ? ::GetAncestor(bar, GA_ROOT) : bar);
            EXPECT_TRUE(::EqualRect(&placed, &now)) << now.left << "," << now.top << " " << now.right << ","
                                                     << now.bottom << " was " << placed.left << "," << placed.top
                                                     << " " << placed.right << "," << placed.bottom;
        }
        EXPECT_TRUE(program.CloseWithoutSaving());
    }
}

namespace {

// True while the window lies above the other in the z-order of the desktop.
bool Above(HWND window, HWND other)
{
    for (HWND above = ::GetWindow(other, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV))
        if (above == window)
            return true;
    return false;
}

// The screen rectangle of a list box's line (the system carries a list
// box's rectangle across processes).
RECT ListItemRect(HWND list, LRESULT index)
{
    RECT item = {};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    return item;
}

constexpr int kUserBarId = 0xE840;
// The Toolbars page: its list and its New, Rename and Delete buttons; the name box of the name dialog.
constexpr int kToolbarList = 16611;
constexpr int kNewToolbar = 16615;
constexpr int kRenameToolbar = 16616;
constexpr int kDeleteToolbar = 16617;
constexpr int kToolbarName = 16516;

LONG Area(const RECT& rect)
{
    return (rect.right - rect.left) * (rect.bottom - rect.top);
}

POINT CentreOf(HWND window)
{
    const RECT rect = RectOf(window);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Typed as characters, then Enter.
void TypeLine(const std::wstring& text)
{
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PressKeys({{VK_RETURN, true}, {VK_RETURN, false}});
}

struct BarQuery {
    DWORD process;
    HWND bar;
};

BOOL CALLBACK VisitUserBar(HWND window, LPARAM data)
{
    auto* query = reinterpret_cast<BarQuery*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == query->process)
        query->bar = CProgramRun::FindById(window, kUserBarId);
    return query->bar == nullptr;
}

// The user's first tool bar, docked or floating; null when there is none.
HWND UserBar(const CProgramRun& program)
{
    BarQuery query = {::GetProcessId(program.Process()), nullptr};
    ::EnumWindows(VisitUserBar, reinterpret_cast<LPARAM>(&query));
    return query.bar;
}

// The screen point of a command's line on the Commands page, under "All Commands".
POINT CommandLine(HWND sheet, const wchar_t* name)
{
    ::SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
    HWND categories = CProgramRun::FindById(sheet, kCategoryList);
    HWND commands = CProgramRun::FindById(sheet, kCommandList);
    const LRESULT last = ::SendMessageW(categories, LB_GETCOUNT, 0, 0) - 1;
    ::SendMessageW(categories, LB_SETCURSEL, last, 0);
    ::SendMessageW(::GetParent(categories), WM_COMMAND, MAKEWPARAM(kCategoryList, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(categories));
    const LRESULT line = ::SendMessageW(commands, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name));
    if (line < 0)
        return {-1, -1};
    ::SendMessageW(commands, LB_SETTOPINDEX, line, 0);
    ::SendMessageW(commands, LB_SETCURSEL, line, 0);
    ::SendMessageW(::GetParent(commands), WM_COMMAND, MAKEWPARAM(kCommandList, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(commands));
    RECT item = {};
    ::SendMessageW(commands, LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&item));
    ::MapWindowPoints(commands, nullptr, reinterpret_cast<POINT*>(&item), 2);
    return {item.left + 20, (item.top + item.bottom) / 2};
}

// The File menu opened by a click on the menu bar (past the report's
// system-menu button); null when none opens.
HWND OpenFileMenu(const CProgramRun& program)
{
    const RECT bar = RectOf(CProgramRun::FindById(program.Main(), kMenuBarId));
    edtest::ClickAt({bar.left + 44, (bar.top + bar.bottom) / 2});
    HWND popup = nullptr;
    edtest::WaitFor([&] { return (popup = program.FindPopup(L"QMXPopupMenu")) != nullptr; });
    return popup;
}

// The height of the File menu, opened by a click and closed by Escape.
LONG FileMenuHeight(const CProgramRun& program)
{
    ::SetForegroundWindow(program.Main());
    HWND popup = OpenFileMenu(program);
    if (popup == nullptr)
        return 0;
    edtest::WaitFor([&] { return ::IsWindowVisible(popup) && RectOf(popup).bottom > RectOf(popup).top + 20; });
    const LONG height = RectOf(popup).bottom - RectOf(popup).top;
    PressKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    edtest::WaitFor([&] { return !::IsWindow(popup); });
    return height;
}

// A button of the Toolbars page clicked with the mouse; the dialog it opens.
HWND ClickPageButton(const CProgramRun& program, HWND sheet, int id, int dialogItem)
{
    HWND button = CProgramRun::FindById(sheet, id);
    if (button == nullptr || !::IsWindowEnabled(button))
        return nullptr;
    edtest::ClickAt(CentreOf(button));
    return program.WaitForDialogWith(dialogItem);
}

void SelectToolbarLine(HWND sheet, const wchar_t* name)
{
    HWND list = CProgramRun::FindById(sheet, kToolbarList);
    const LRESULT line =
        ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    ::SendMessageW(list, LB_SETCURSEL, line, 0);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(kToolbarList, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

void CloseSheet(HWND sheet)
{
    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    edtest::WaitFor([&] { return !::IsWindow(sheet); });
}

}  // namespace

// As a user does it: the sheet opens in the middle of the window, a click
// on the category "Text", a press on "Bold" (not selected before) dragged
// to the end of the main tool bar; a click on the bar leaves the sheet on top.
TEST(ProgramLayout, BoldDraggedByHandFromTheCentredSheetStaysOnTheMainBar)
{
    PointerKept pointer;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND main = program.Main();
    ::SetForegroundWindow(main);
    HWND mainBar = CProgramRun::FindById(main, kMainBarId);
    ASSERT_NE(nullptr, mainBar);
    ASSERT_LT(edtest::BarCommandIndex(mainBar, 32843), 0);
    program.PostCommand(kCustomize);
    HWND sheet = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        sheet = program.FindDialog();
        return sheet && CProgramRun::FindById(sheet, kCategoryList);
    }));
    const RECT sheetRect = RectOf(sheet);
    const POINT sheetMiddle = edtest::CentreOf(sheetRect);
    const POINT mainMiddle = edtest::CentreOf(RectOf(main));
    EXPECT_LE(std::abs(sheetMiddle.x - mainMiddle.x), 1);
    EXPECT_LE(std::abs(sheetMiddle.y - mainMiddle.y), 1);
    EXPECT_GT(sheetRect.top, RectOf(CProgramRun::FindById(main, kFormatTextBarId)).bottom);

    HWND categories = CProgramRun::FindById(sheet, kCategoryList);
    HWND commands = CProgramRun::FindById(sheet, kCommandList);
    const LRESULT text =
        ::SendMessageW(categories, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Text"));
    ASSERT_GE(text, 0);
    edtest::ApproachAndClick(edtest::CentreOf(ListItemRect(categories, text)));
    LRESULT bold = -1;
    ASSERT_TRUE(edtest::WaitFor([&] {
        bold = ::SendMessageW(commands, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Bold"));
        return bold >= 0;
    }));
    EXPECT_NE(bold, ::SendMessageW(commands, LB_GETCURSEL, 0, 0));
    // The last button shown (the bar's customise button, hidden, may follow it).
    int lastButton = int(::SendMessageW(mainBar, TB_BUTTONCOUNT, 0, 0)) - 1;
    auto shown = [&](int index) {
        const RECT rect = edtest::BarItemRect(mainBar, index);
        return !::IsRectEmpty(&rect);
    };
    while (lastButton > 0 && !shown(lastButton))
        --lastButton;
    const RECT last = edtest::BarItemRect(mainBar, lastButton);
    const RECT boldLine = ListItemRect(commands, bold);
    edtest::DragTo({boldLine.left + 20, (boldLine.top + boldLine.bottom) / 2},
                   {last.right - 3, (last.top + last.bottom) / 2}, 10);
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::BarCommandIndex(mainBar, 32843) == lastButton + 1; }))
        << edtest::BarCommandIndex(mainBar, 32843);

    // A click on a tool bar while customising: the sheet stays above the window.
    edtest::ApproachAndClick(edtest::CentreOf(edtest::BarItemRect(mainBar, 0)));
    EXPECT_TRUE(edtest::WaitFor([&] { return Above(sheet, main); }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_customize_bold_dragged_by_hand");

    edtest::ApproachAndClick(edtest::CentreOf(RectOf(::GetDlgItem(sheet, IDCANCEL))));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
    EXPECT_EQ(lastButton + 1, edtest::BarCommandIndex(mainBar, 32843));
    CloseAnsweringNo(program);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
}

// The user makes a tool bar of his own on the Toolbars page and drags a
// command onto it, and drops a command into the open File menu; both stay
// after the sheet closes and after a restart. Rename and Delete then change
// and remove the bar for good.
TEST(ProgramLayout, UserToolBarAndAnEditedMenuStayAfterARestartUntilDeleted)
{
    PointerKept pointer;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    RECT barFrame = {};
    LONG barArea = 0;
    LONG menuBefore = 0;
    LONG menuAfter = 0;
    {
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        menuBefore = FileMenuHeight(program);
        ASSERT_GT(menuBefore, 0);
        HWND sheet = OpenCustomizeSheet(program);
        ASSERT_NE(nullptr, sheet);
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        HWND nameDialog = ClickPageButton(program, sheet, kNewToolbar, kToolbarName);
        ASSERT_NE(nullptr, nameDialog);
        ::SetForegroundWindow(nameDialog);
        TypeLine(L"Custom 1");
        HWND bar = nullptr;
        ASSERT_TRUE(edtest::WaitFor([&] { return (bar = UserBar(program)) != nullptr; }));
        EXPECT_EQ(L"Custom 1", CProgramRun::Text(bar));
        EXPECT_GE(::SendMessageW(CProgramRun::FindById(sheet, kToolbarList), LB_FINDSTRINGEXACT,
                                 static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Custom 1")),
                  0);
        // The new bar floats; a command dragged from the sheet lands on it.
        HWND frame = ::GetAncestor(bar, GA_ROOT);
        EXPECT_NE(program.Main(), frame);
        // Moved clear of the sheet, as the user would.
        ::SetWindowPos(frame, nullptr, 200, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // An empty bar has the room of one button: the second command makes it grow.
        const LONG emptyArea = Area(RectOf(bar));
        barArea = emptyArea;
        // The user takes the sheet up again (a click on its first tab) before
        // dragging from it: the new bar's frame came up over the main window.
        edtest::ClickTab(sheet, 0);
        EXPECT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == sheet; }));
        // The next command is chosen once the program has taken the drop: a
        // choice made while its drag still runs takes the dragged one away.
        // Under emulation the first press after the bar is made can come
        // before the sheet takes presses again; the user then drags once more.
        EXPECT_EQ(0, ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
        bool landed = false;
        for (int attempt = 0; attempt < 3 && !landed; ++attempt) {
            edtest::DragTo(CommandLine(sheet, L"TextBold"), CentreOf(bar), 10);
            landed = edtest::WaitFor([&] { return ::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) == 1; });
        }
        EXPECT_TRUE(landed);
        edtest::DragTo(CommandLine(sheet, L"TextItalic"), CentreOf(bar), 10);
        EXPECT_TRUE(edtest::WaitFor([&] { return Area(RectOf(bar)) > emptyArea; }));
        // The File menu opens under customisation; a command dropped into it stays in it.
        HWND popup = OpenFileMenu(program);
        ASSERT_NE(nullptr, popup);
        const RECT popupRect = RectOf(popup);
        // The click on the menu bar leaves the sheet above the main window
        // and the open menu above both (read at once: the program restacks
        // them one by one).
        EXPECT_TRUE(edtest::WaitFor([&] { return Above(sheet, program.Main()) && Above(popup, sheet); }))
            << Above(sheet, program.Main());
        edtest::DragTo(CommandLine(sheet, L"TextBold"),
                       {(popupRect.left + popupRect.right) / 2, popupRect.top + (popupRect.bottom - popupRect.top) / 3},
                       10);
        test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_customize_user_bar");
        CloseSheet(sheet);
        ASSERT_FALSE(::IsWindow(sheet));
        menuAfter = FileMenuHeight(program);
        EXPECT_GT(menuAfter, menuBefore);
        ASSERT_TRUE(WaitForSteadyRect(frame));
        barFrame = RectOf(frame);
        CloseAnsweringNo(program);
    }
    {
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        HWND bar = UserBar(program);
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(L"Custom 1", CProgramRun::Text(bar));
        // It floats where it was, with its two buttons.
        const RECT frame = RectOf(::GetAncestor(bar, GA_ROOT));
        EXPECT_EQ(barFrame.left, frame.left);
        EXPECT_EQ(barFrame.top, frame.top);
        EXPECT_GT(Area(RectOf(bar)), barArea);
        EXPECT_EQ(menuAfter, FileMenuHeight(program));
        // Rename gives the bar and its floating frame the new name.
        HWND sheet = OpenCustomizeSheet(program);
        ASSERT_NE(nullptr, sheet);
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        SelectToolbarLine(sheet, L"Custom 1");
        HWND nameDialog = ClickPageButton(program, sheet, kRenameToolbar, kToolbarName);
        ASSERT_NE(nullptr, nameDialog);
        ::SetDlgItemTextW(nameDialog, kToolbarName, L"");
        ::SetForegroundWindow(nameDialog);
        TypeLine(L"Custom 2");
        EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(bar) == L"Custom 2"; }));
        EXPECT_EQ(L"Custom 2", CProgramRun::Text(::GetAncestor(bar, GA_ROOT)));
        // Delete asks first; Yes removes the bar.
        HWND question = ClickPageButton(program, sheet, kDeleteToolbar, IDYES);
        ASSERT_NE(nullptr, question);
        ::PostMessageW(question, WM_COMMAND, IDYES, 0);
        EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(bar); }));
        CloseSheet(sheet);
        CloseAnsweringNo(program);
    }
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    EXPECT_EQ(nullptr, UserBar(program));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
}
