// The program's file dialogs open ready for typing.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr int kFileNameCombo = 0x47C;

}  // namespace

TEST_F(ProgramByHand, TheOpenImageDialogOpensWithTheFocusInItsNameBox)
{
    edtest::ChooseFromMenu(program, 1151);  // Image > Add Image...
    HWND dialog = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, dialog);
    HWND name = edtest::FileNameBox(dialog);
    ASSERT_NE(nullptr, name);
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(dialog) == name; }))
        << CProgramRun::ClassName(edtest::FocusIn(dialog)).c_str() << " "
        << CProgramRun::Text(edtest::FocusIn(dialog)).c_str();
    // Typing goes into it at once.
    edtest::TypeText(L"abc");
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(name) == L"abc"; }));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !::IsWindow(dialog); }));
}
