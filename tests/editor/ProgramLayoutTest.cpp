// The program's main window as a library frame: its menu bar in place of
// the Windows menu, opened by keys, and the window placement that comes
// back after a restart.
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kMenuBarId = 0xE806;
constexpr int kFormatTextBarId = 59954;
constexpr wchar_t kWorkspaceKey[] = L"Software\\Kestrel Works\\OstraTallier\\Kestrel Works";

void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> inputs;
    for (const auto& key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.first;
        input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

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

TEST(ProgramLayout, WindowPlacementComesBackAfterARestart)
{
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    const RECT placed = {40, 30, 840, 630};
    {
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        // Without a stored layout the window opens maximised.
        EXPECT_TRUE(::IsZoomed(program.Main()));
        ::ShowWindow(program.Main(), SW_RESTORE);
        ::MoveWindow(program.Main(), placed.left, placed.top, placed.right - placed.left,
                     placed.bottom - placed.top, TRUE);
        // The layout is saved as the window closes, before the report asks to be saved.
        ::PostMessageW(program.Main(), WM_CLOSE, 0, 0);
        HWND question = program.WaitForDialog();
        ASSERT_NE(nullptr, question);
        ::PostMessageW(question, WM_COMMAND, IDNO, 0);
        ASSERT_TRUE(program.WaitForExit(15000));
    }
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    RECT rect = {};
    ::GetWindowRect(program.Main(), &rect);
    EXPECT_FALSE(::IsZoomed(program.Main()));
    EXPECT_EQ(placed.left, rect.left);
    EXPECT_EQ(placed.top, rect.top);
    EXPECT_EQ(placed.right, rect.right);
    EXPECT_EQ(placed.bottom, rect.bottom);
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

RECT RectOf(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
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
