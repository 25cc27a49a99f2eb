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
        return edtest::BarCommandChecked(MenuWith(kSectionTree), kSectionTree);
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
    auto current = [&] { return ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0); };
    auto openViewMenu = [&] {
        edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
        return MenuWith(kSectionTree) != nullptr;
    };
    // The command chosen with the mouse, and with the keys (its menu's R,
    // also held down until it repeats), from the tree and from the note.
    // Held, R repeats into the tree shown again, which finds "Report" by it.
    const struct {
        const char* way;
        bool keys;
        bool held;
        bool fromNote;
    } ways[] = {{"mouse, tree", false, false, false},
                {"keys, tree", true, false, false},
                {"keys, note", true, false, true},
                {"keys held, tree", true, true, false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        // The report's sub-section chosen by a click on its label.
        edtest::ApproachAndClick(edtest::TreeItemPoint(tree, chosen));
        ASSERT_TRUE(edtest::WaitFor([&] { return current() == chosen; }));
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
                ASSERT_TRUE(openViewMenu());
                if (way.held)
                    edtest::PressKeys({{'R', true}, {'R', true}, {'R', true}, {'R', false}});
                else
                    edtest::TapKey('R');
            } else {
                edtest::ChooseFromMenu(program, kSectionTree);
            }
            ASSERT_TRUE(edtest::WaitFor([&] { return (::IsWindowVisible(tree) != FALSE) == visible; }));
            Settle();
            EXPECT_TRUE(edtest::WaitFor([&] { return current() == (way.held && visible ? root : chosen); }))
                << "the current section";
            if (!visible)
                EXPECT_NE(tree, edtest::FocusIn(tree)) << "keys typed now would choose sections in the hidden tree";
        }
        if (way.keys) {
            // The menu shown once more: the keys typed before it are taken.
            ASSERT_TRUE(openViewMenu());
            CloseMenus();
            edtest::TapKey(VK_ESCAPE);
            EXPECT_TRUE(edtest::WaitFor([&] {
                return edtest::FocusIn(tree) != CProgramRun::FindById(program.Main(), edtest::kMenuBarId);
            }));
            EXPECT_EQ(way.held ? root : chosen, current()) << "a key typed into the menu chose another section";
        }
        EXPECT_TRUE(way.held || edtest::WaitFor([&] {
            Settle();
            return test_support::Capture(::GetParent(panel), false) == shown;
        })) << "the text pane shows another section's note";
        test_support::WriteWindowScreenshot(program.Main(), L"editor_program_section_tree_back");
        // The root chosen again for the next way.
        edtest::ApproachAndClick(edtest::TreeItemPoint(tree, root));
        ASSERT_TRUE(edtest::WaitFor([&] { return current() == root; }));
    }
}
