// The program driven as a new user drives it, with the mouse and the keys
// only (SendInput): the fixture of a program showing one report, and what
// the tests of its windows share.
#pragma once

#include "ProgramMenus.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "UserInput.h"

#include "tests/support/WindowPixels.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace edtest {

constexpr int kTextPanel = 1159;
constexpr int kTextToolBar = 59954;
constexpr int kMainToolBar = 59952;
constexpr int kTree = 1126;

// The pixels of a rectangle of the screen, as it shows them.
std::vector<COLORREF> ScreenPixels(const RECT& rect);
// Where two readings of a rectangle of the screen differ, as text.
std::string DifferenceText(const std::vector<COLORREF>& before, const std::vector<COLORREF>& after, const RECT& rect);
// The screen over the rectangle once two readings in a row agree.
bool SteadyScreen(const RECT& rect, std::vector<COLORREF>& pixels);

}  // namespace edtest

// A program showing one report made from the default template, in front.
class ProgramByHand : public testing::Test {
protected:
    edtest::PointerKept pointer;
    void SetUp() override
    {
        edtest::SetStartPrefs(3, L"");
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
        frame = program.ActiveFrame();
        ::SetForegroundWindow(program.Main());
        // In front as its own thread sees it (the front is given at once, the
        // program takes it when it next reads its messages): keys sent before
        // would reach no window.
        ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
    }
    // Answered once the program has handled what came before.
    void Settle() { ::SendMessageW(program.Main(), WM_NULL, 0, 0); }
    // True once the tool bars show the new report's states, which they take
    // at the program's first idle moment (Cut disabled with nothing chosen,
    // the note's alignment left pressed): before it, a loaded machine's
    // screen may hold still on the states the bars were made with.
    bool BarsShowTheReport()
    {
        constexpr UINT kCut = 57635;
        constexpr UINT kAlignLeft = 32848;
        HWND mainBar = edtest::CProgramRun::FindById(program.Main(), edtest::kMainToolBar);
        HWND textBar = edtest::CProgramRun::FindById(program.Main(), edtest::kTextToolBar);
        return edtest::WaitFor([&] {
            const int cut = mainBar ? edtest::BarCommandIndex(mainBar, kCut) : -1;
            return cut >= 0 && edtest::BarItemDisabled(mainBar, cut) && edtest::BarCommandChecked(textBar, kAlignLeft);
        });
    }
    // The text pane's pixels, the box around all but white.
    CRect Ink()
    {
        Settle();
        return test_support::Capture(edtest::CProgramRun::FindById(frame, edtest::kTextPanel), false).Bounds(RGB(255, 255, 255));
    }
    // The open menu's bar of items holding the command; null when none comes
    // (or once coming says it will not).
    HWND MenuWith(UINT command, const std::function<bool()>& coming = nullptr)
    {
        HWND items = nullptr;
        edtest::WaitFor([&] {
            HWND popup = program.FindPopup(L"QMXPopupMenu");
            for (HWND child = popup ? ::GetWindow(popup, GW_CHILD) : nullptr; child;
                 child = ::GetWindow(child, GW_HWNDNEXT))
                if (edtest::BarCommandIndex(child, command) >= 0)
                    items = child;
            return items != nullptr || (coming && !coming());
        });
        return items;
    }
    // Ctrl+F4, and No to saving the report (a new one counts as changed).
    void CloseActiveReport()
    {
        const size_t before = program.ReportFrames().size();
        edtest::PressChord(VK_CONTROL, VK_F4);
        HWND question = nullptr;
        edtest::WaitFor([&] {
            question = program.FindDialog();
            return question || program.ReportFrames().size() < before;
        });
        if (question && ::GetDlgItem(question, IDNO)) {
            ::SetForegroundWindow(question);
            edtest::ClickWindow(::GetDlgItem(question, IDNO));
        }
    }
    void CloseMenus()
    {
        for (int i = 0; i < 3 && program.FindPopup(L"QMXPopupMenu"); ++i) {
            edtest::TapKey(VK_ESCAPE);
            edtest::WaitFor([&] { return !program.FindPopup(L"QMXPopupMenu"); }, 1000);
        }
    }

    edtest::CProgramRun program;
    HWND frame = nullptr;
};
