// View > Section Tree: the tree hidden and shown with its place, its state
// shown by a check mark, the current section kept.
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

TEST_F(ProgramByHand, ViewSectionTreeOffAndOnKeepsTheCurrentSection)
{
    constexpr UINT kSectionTree = 32794;
    HWND tree = CProgramRun::FindById(frame, kTree);
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    ASSERT_TRUE(tree && panel);
    const LPARAM root = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const std::vector<LPARAM> sections = edtest::TreeChildren(tree, root);
    ASSERT_FALSE(sections.empty());
    const LPARAM chosen = sections.back();
    // The command chosen with the mouse, and with the keys (its menu's R),
    // from the tree and from the note.
    const struct {
        const char* way;
        bool keys;
        bool fromNote;
    } ways[] = {{"mouse, tree", false, false}, {"keys, tree", true, false}, {"keys, note", true, true}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        // The report's sub-section chosen by a click on its label.
        edtest::ApproachAndClick(edtest::TreeItemPoint(tree, chosen));
        ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == chosen; }));
        if (way.fromNote) {
            edtest::ApproachAndClick(edtest::OnScreen(panel, {30, 20}));
            ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
        }
        Settle();
        // The text pane shows the current section's name and note: its
        // picture is read to see that it stays.
        const test_support::Pixels shown = test_support::Capture(::GetParent(panel), false);
        for (const bool visible : {false, true}) {
            if (way.keys) {
                edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
                ASSERT_NE(nullptr, MenuWith(kSectionTree));
                edtest::TapKey('R');
            } else {
                edtest::ChooseFromMenu(program, kSectionTree);
            }
            ASSERT_TRUE(edtest::WaitFor([&] { return (::IsWindowVisible(tree) != FALSE) == visible; }));
            Settle();
            EXPECT_EQ(chosen, ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) << "another section is current";
        }
        EXPECT_TRUE(edtest::WaitFor([&] {
            Settle();
            return test_support::Capture(::GetParent(panel), false) == shown;
        })) << "the text pane shows another section's note";
        test_support::WriteWindowScreenshot(program.Main(), L"editor_program_section_tree_back");
        // The root chosen again for the next way.
        edtest::ApproachAndClick(edtest::TreeItemPoint(tree, root));
        ASSERT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == root; }));
    }
}
