// The main window's caption and menu bar as reports open, close or fail to
// open, and the status bar's text when the print preview closes.
#include "ProgramByHand.h"
#include "ProgramPreview.h"

#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include "tests/framework/KWTestFiles.h"

using edtest::CProgramRun;
using namespace edtest;

namespace {

constexpr int kFileNameCombo = 0x47C;
constexpr int kProgressBar = 9003;

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

}  // namespace

TEST_F(ProgramByHand, TheCaptionAndMenuBarFollowTheActiveReportWhenOneClosesOrFailsToOpenAndWhenNoneIsOpen)
{
    const std::wstring first = CProgramRun::Text(frame);
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(Contains(CProgramRun::Text(program.Main()), first)) << CProgramRun::Text(program.Main()).c_str();

    // A second report (Ctrl+N), then closed (Ctrl+F4): the caption names the
    // first again.
    edtest::PressChord(VK_CONTROL, 'N');
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
    const std::wstring second = CProgramRun::Text(program.ActiveFrame());
    ASSERT_NE(first, second);
    EXPECT_TRUE(edtest::WaitFor([&] { return Contains(CProgramRun::Text(program.Main()), second); }));
    CloseActiveReport();
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    EXPECT_TRUE(edtest::WaitFor([&] {
        const std::wstring caption = CProgramRun::Text(program.Main());
        return Contains(caption, first) && !Contains(caption, second);
    })) << CProgramRun::Text(program.Main()).c_str();

    // A file that is no report (Ctrl+O): the message answered, the caption
    // still names the report that stays open.
    CKWTestTempFolder folder(L"capt");
    const std::wstring broken = folder.Write(L"Broken.otd", std::string("This is not a report at all."));
    edtest::PressChord(VK_CONTROL, 'O');
    HWND open = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, open);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(open, broken));
    // Each message answered with Enter (the progress window is no message).
    auto message = [&] {
        HWND dialog = program.FindDialog();
        return dialog && dialog != open && !::GetDlgItem(dialog, kProgressBar) ? dialog : nullptr;
    };
    ASSERT_TRUE(edtest::WaitFor([&] { return message() != nullptr; }));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_program_failed_open");
    for (int i = 0; i < 5 && edtest::WaitFor([&] { return message() != nullptr; }, 2000); ++i) {
        HWND answered = message();
        ::SetForegroundWindow(answered);
        edtest::TapKey(VK_RETURN);
        edtest::WaitFor([&] { return !::IsWindow(answered); }, 5000);
    }
    EXPECT_TRUE(edtest::WaitFor([&] { return !program.FindDialog() && program.ReportFrames().size() == 1; }));
    EXPECT_TRUE(edtest::WaitFor([&] { return Contains(CProgramRun::Text(program.Main()), first); }))
        << CProgramRun::Text(program.Main()).c_str();

    // The last report, maximised, closed by the close button it puts on the
    // menu bar (No to saving it): the caption is the program's name alone,
    // and the menu bar keeps none of the window's buttons.
    HWND menuBar = CProgramRun::FindById(program.Main(), edtest::kMenuBarId);
    ASSERT_NE(nullptr, menuBar);
    auto windowButtons = [&] {
        // (the menu bar's items that open no menu)
        std::vector<int> found;
        const int count = static_cast<int>(::SendMessageW(menuBar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (edtest::AskRemote<TBBUTTON>(menuBar, TB_GETBUTTON, static_cast<WPARAM>(i)).idCommand != -1)
                found.push_back(i);
        return found;
    };
    ASSERT_FALSE(windowButtons().empty()) << "the maximised report puts no buttons on the menu bar";
    ::SetForegroundWindow(program.Main());
    edtest::ApproachAndClick(edtest::CentreOf(edtest::BarItemRect(menuBar, windowButtons().back())));
    HWND question = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (question = program.FindDialog()) != nullptr; }));
    ::SetForegroundWindow(question);
    edtest::ClickWindow(::GetDlgItem(question, IDNO));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().empty(); }));
    EXPECT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(program.Main()) == L"OstraTallier"; }))
        << CProgramRun::Text(program.Main()).c_str();
    EXPECT_TRUE(edtest::WaitFor([&] { return windowButtons().empty(); })) << windowButtons().size() << " stay";
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_last_report_closed");
}

TEST_F(ProgramByHand, TheStatusBarShowsTheIdleTextAgainWhenThePrintPreviewCloses)
{
    HWND status = CProgramRun::FindById(program.Main(), kStatusBar);
    ASSERT_NE(nullptr, status);
    const std::wstring idle = edtest::StatusPaneText(status, 0);
    EXPECT_EQ(L"Ready", idle);
    edtest::CPrintPreview preview(program, frame);
    ASSERT_TRUE(preview.Open());
    // The report's pages: the preview names the one it shows.
    preview.Next();
    auto pageShown = [&] {
        for (int pane : {0, 1})
            if (Contains(edtest::StatusPaneText(status, pane), L"Page"))
                return true;
        return false;
    };
    EXPECT_TRUE(edtest::WaitFor(pageShown)) << program.Shows();
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_preview_page");
    ASSERT_TRUE(preview.Close()) << program.Shows();
    EXPECT_TRUE(edtest::WaitFor([&] { return !pageShown() && edtest::StatusPaneText(status, 0) == idle; }))
        << edtest::StatusPaneText(status, 0).c_str() << " | " << edtest::StatusPaneText(status, 1).c_str();
    test_support::WriteWindowScreenshot(program.Main(), L"editor_program_preview_closed");
}
