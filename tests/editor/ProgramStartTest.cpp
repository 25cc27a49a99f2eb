// The real program started as a process of its own: what a start shows,
// the files of its command line, the start-up modes and its commands.
#include "ProgramRun.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using edtest::CProgramRun;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kStatusBarId = 0xE801;

// The program's windows inside a report window: the panes of the view and its splitters.
const int kReportWindowIds[] = {176, 189, 197, 1126, 1128, 1129, 1130};

HWND ViewOf(HWND frame)
{
    return CProgramRun::FindById(frame, kViewId);
}

}  // namespace

TEST(ProgramStart, EmptyReportModeShowsToolBarsStatusPanesAndOneReportWithItsPanes)
{
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    HWND frame = program.ReportFrames().front();
    EXPECT_EQ(L"Report1", CProgramRun::Text(frame));
    HWND view = ViewOf(frame);
    ASSERT_NE(nullptr, view);
    for (int id : kReportWindowIds) {
        HWND pane = CProgramRun::FindById(view, id);
        EXPECT_TRUE(pane && ::IsWindowVisible(pane)) << id;
    }
    // The section tree shows the report's sections.
    HWND tree = CProgramRun::FindById(view, 1126);
    EXPECT_GE(::SendMessageW(tree, TVM_GETCOUNT, 0, 0), 1);
    const wchar_t* names[] = {L"Main Toolbar", L"Edit Tree Toolbar", L"Format Text Toolbar"};
    for (int bar = 0; bar < 3; ++bar) {
        HWND window = CProgramRun::FindById(program.Main(), 59952 + bar);
        ASSERT_NE(nullptr, window) << bar;
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_EQ(names[bar], CProgramRun::Text(window));
    }
    HWND status = CProgramRun::FindById(program.Main(), kStatusBarId);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(2, ::SendMessageW(status, SB_GETPARTS, 0, 0));
    test_support::WriteWindowScreenshot(program.Main(), L"editor_start_empty_report");
}
