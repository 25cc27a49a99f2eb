// The program's main window as a library frame: its menu bar in place of
// the Windows menu, opened by keys, and the window placement that comes
// back after a restart.
#include "ProgramRun.h"

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
