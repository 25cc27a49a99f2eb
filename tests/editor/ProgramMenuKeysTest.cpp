// The program's menus opened and walked with the keys, as a user does.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr UINT kToolbarsMain = 32787;

}  // namespace

TEST_F(ProgramByHand, AltVThenTOpensTheToolbarsMenuAndLeavesTheSectionTree)
{
    HWND tree = CProgramRun::FindById(frame, kTree);
    ASSERT_NE(nullptr, tree);
    ASSERT_TRUE(::IsWindowVisible(tree));
    // The keys go to a program that has handled what its start queued.
    Settle();
    edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
    ASSERT_NE(nullptr, MenuWith(32829)) << "the View menu";
    edtest::TapKey('T');
    HWND toolbars = MenuWith(kToolbarsMain);
    EXPECT_NE(nullptr, toolbars) << "the Toolbars menu";
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_view_toolbars_by_keys");
    CloseMenus();
    Settle();
    EXPECT_TRUE(::IsWindowVisible(tree));
}
