// The program's tool bars while the customisation sheet is open: with the
// Format Text bar's font box selected, the pointer over the box's right edge
// shows the cursor that widening the box shows, and over its middle another
// one. The pointer is moved by SendInput; the cursor is the one the program
// set (GetCursorInfo of the window under it).
#include "ProgramInput.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "UserInput.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

using edtest::CProgramRun;

namespace {

constexpr int kFormatTextBarId = 59954;
constexpr UINT kFontName = 32853;
constexpr UINT kCustomize = 32790;
constexpr int kCategoryList = 16601;
constexpr wchar_t kWorkspaceKey[] = L"Software\\Kestrel Works\\OstraTallier\\Kestrel Works";

HCURSOR CursorShown()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// The cursor once the pointer rests at the point: the same handle read twice
// after a move by a pixel and back, each once the program took the moves
// (the witness painted: until then the cursor of the last point stays).
HCURSOR CursorAt(POINT point, HWND witness)
{
    HCURSOR shown = nullptr;
    edtest::WaitFor([&] {
        edtest::MouseAt({point.x + 1, point.y});
        edtest::MouseAt(point);
        edtest::InputTaken(witness);
        const HCURSOR first = CursorShown();
        edtest::MouseAt(point);
        edtest::InputTaken(witness);
        shown = CursorShown();
        return shown != nullptr && shown == first;
    });
    return shown;
}

}  // namespace

TEST(ProgramCustomizeCursor, TheSelectedFontBoxShowsTheResizeCursorAtItsRightEdge)
{
    edtest::PointerKept pointer;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    HWND main = program.Main();
    ::SetForegroundWindow(main);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetForegroundWindow() == main; }));
    HWND bar = CProgramRun::FindById(main, kFormatTextBarId);
    ASSERT_NE(nullptr, bar);
    const int fontBox = edtest::BarCommandIndex(bar, kFontName);
    ASSERT_GE(fontBox, 0);

    program.PostCommand(kCustomize);
    HWND sheet = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        sheet = program.FindDialog();
        return sheet && CProgramRun::FindById(sheet, kCategoryList);
    }));
    ::SetWindowPos(sheet, nullptr, 600, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The sheet shows while the program still lays the bars out for the
    // customisation: the box is measured and clicked once it has done so.
    ASSERT_TRUE(edtest::InputTaken(bar));

    // A click selects the box; its right edge then offers the resize.
    const RECT box = edtest::BarItemRect(bar, fontBox);
    const POINT middle = edtest::CentreOf(box);
    const POINT edge = {box.right - 3, middle.y};
    edtest::ApproachAndClick(middle);
    HWND witness = edtest::InputWitness(bar);
    ASSERT_TRUE(edtest::InputTaken(witness));
    const HCURSOR overMiddle = CursorAt(middle, witness);
    const HCURSOR overEdge = CursorAt(edge, witness);
    ASSERT_NE(nullptr, overEdge);
    EXPECT_NE(overMiddle, overEdge) << "the right edge shows the same cursor as the middle";

    // Pressed there, the resize starts: its cursor is the one shown before.
    // Released back at the edge, the box keeps its width.
    edtest::PressAndMove(edge, {edge.x + 12, edge.y}, 4);
    EXPECT_TRUE(edtest::WaitFor([&] { return CursorShown() == overEdge; }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_customize_font_box_resize");
    edtest::MouseAt(edge);
    edtest::MouseAt(edge, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(edtest::WaitFor([&] {
        const RECT now = edtest::BarItemRect(bar, fontBox);
        return ::EqualRect(&now, &box) != FALSE;
    })) << "released at its edge, the box keeps its width";

    ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
    EXPECT_TRUE(program.CloseWithoutSaving());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kWorkspaceKey);
}
