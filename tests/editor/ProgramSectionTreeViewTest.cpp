// View > Section Tree: the tree hidden and shown with its place, its state
// shown by a check mark.
#include "ProgramByHand.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using edtest::CProgramRun;
using namespace edtest;

TEST_F(ProgramByHand, ViewSectionTreeHidesTheTreeWithItsPlaceAndShowsItsStateByACheckMark)
{
    constexpr UINT kSectionTree = 32794;
    constexpr int kTemplateList = 1135;
    HWND tree = CProgramRun::FindById(frame, kTree);
    HWND templates = ::GetParent(CProgramRun::FindById(frame, kTemplateList));
    ASSERT_TRUE(tree && templates);
    RECT treeRect = {}, templatesRect = {};
    ::GetWindowRect(tree, &treeRect);
    ::GetWindowRect(templates, &templatesRect);
    // The View menu's item checked while the tree shows; R is its key.
    auto viewMenuChecks = [&] {
        edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
        HWND items = MenuWith(kSectionTree);
        const int index = items ? edtest::BarCommandIndex(items, kSectionTree) : -1;
        const bool checked =
            index >= 0 && (edtest::AskRemote<TBBUTTON>(items, TB_GETBUTTON, index).fsState & TBSTATE_CHECKED);
        return checked;
    };
    EXPECT_TRUE(viewMenuChecks());
    edtest::TapKey('R');
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindowVisible(tree); }));
    // The page templates' pane takes the column where the tree was.
    RECT taken = {};
    EXPECT_TRUE(edtest::WaitFor([&] {
        ::GetWindowRect(templates, &taken);
        // (below the bar between them, which stays at the top)
        return taken.top <= treeRect.top + 6 && taken.bottom == templatesRect.bottom;
    })) << taken.top << " " << treeRect.top;
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_section_tree_hidden");
    EXPECT_FALSE(viewMenuChecks());
    edtest::TapKey('R');
    ASSERT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(tree) != FALSE; }));
    EXPECT_TRUE(edtest::WaitFor([&] {
        RECT back = {};
        ::GetWindowRect(tree, &back);
        return back.bottom - back.top > (treeRect.bottom - treeRect.top) / 2;
    }));
    EXPECT_TRUE(viewMenuChecks());
    CloseMenus();
}
