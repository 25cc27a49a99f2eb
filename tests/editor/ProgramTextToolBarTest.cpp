// The text tool bar driven by hand: the font-size box takes a selected
// size typed over it and limits it to the largest size a run holds.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr UINT kFontSizeBox = 32842;

// The edit that the text tool bar lays over its font-size box.
HWND FontSizeEdit(HWND main)
{
    HWND bar = CProgramRun::FindById(main, kTextToolBar);
    for (HWND child = bar ? ::GetWindow(bar, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == int(kFontSizeBox) && CProgramRun::ClassName(child) == L"Edit")
            return child;
    }
    return nullptr;
}

}  // namespace

TEST_F(ProgramByHand, TheFontSizeBoxTakesCtrlAThenTheTypedSizeAndLimitsItTo1670)
{
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    ASSERT_NE(nullptr, panel);
    edtest::ApproachAndClick(edtest::OnScreen(panel, {20, 10}));
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
    edtest::TypeText(L"Sizes");
    ASSERT_TRUE(edtest::WaitFor([&] { return Ink().Width() > 20; }));
    edtest::PressChord(VK_CONTROL, 'A');
    const CRect typed = Ink();

    // A click into the middle of "10", Ctrl+A and "16": the box reads 16, not
    // a size made of both, and the text grows.
    HWND sizeEdit = FontSizeEdit(program.Main());
    ASSERT_NE(nullptr, sizeEdit);
    ASSERT_EQ(L"10", CProgramRun::Text(sizeEdit));
    RECT box = {};
    ::GetWindowRect(sizeEdit, &box);
    edtest::ApproachAndClick({box.left + 8, (box.top + box.bottom) / 2});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(sizeEdit) == sizeEdit; }));
    edtest::PressChord(VK_CONTROL, 'A');
    edtest::TypeText(L"16");
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"16"; }));
    edtest::TapKey(VK_RETURN);
    EXPECT_TRUE(edtest::WaitFor([&] { return Ink().Height() > typed.Height() + 4; }));
    EXPECT_EQ(L"16", CProgramRun::Text(sizeEdit));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_font_size_16");

    // Enter gave the focus back to the note. A size above the largest a run
    // holds becomes that size (clicked elsewhere in the box: a second click
    // at the same place so soon would be a double click, which an edit
    // without the focus does not take it by).
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(sizeEdit) == panel; }));
    Settle();
    ::GetWindowRect(sizeEdit, &box);
    edtest::ApproachAndClick({box.left + 20, (box.top + box.bottom) / 2});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(sizeEdit) == sizeEdit; }));
    edtest::PressChord(VK_CONTROL, 'A');
    edtest::TypeText(L"5000");
    ASSERT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"5000"; }));
    edtest::TapKey(VK_RETURN);
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(sizeEdit) == L"1670"; }));
    EXPECT_EQ(nullptr, program.FindDialog());
}

TEST_F(ProgramByHand, TheFontNameBoxOfANewReportShowsTheNotesFontAtOnce)
{
    constexpr int kFontNameBox = 32853;
    HWND bar = CProgramRun::FindById(program.Main(), kTextToolBar);
    HWND box = bar ? ::GetDlgItem(bar, kFontNameBox) : nullptr;
    ASSERT_NE(nullptr, box);
    // Shown before the note is touched: the program has had its idle moments.
    std::wstring first;
    EXPECT_TRUE(edtest::WaitFor([&] {
        Settle();
        first = CProgramRun::Text(box);
        return !first.empty();
    }, 5000)) << "the box stays blank";
    test_support::WriteWindowScreenshot(bar, L"editor_program_font_name_new_report");
    // The same font once text is typed in the note (the report's font table
    // then lists it).
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    edtest::ApproachAndClick(edtest::OnScreen(panel, {20, 10}));
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
    edtest::TypeText(L"Font");
    ASSERT_TRUE(edtest::WaitFor([&] { return Ink().Width() > 10; }));
    std::wstring atCaret;
    EXPECT_TRUE(edtest::WaitFor([&] {
        Settle();
        atCaret = CProgramRun::Text(box);
        return !atCaret.empty();
    }));
    EXPECT_EQ(atCaret, first);
}
