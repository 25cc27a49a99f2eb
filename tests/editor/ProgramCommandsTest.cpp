// The real program's commands, sent to its main window as the menus send them.
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "UserInput.h"

#include "tests/framework/KWTestFiles.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

using edtest::CProgramRun;

namespace {

constexpr int kViewId = 0xE900;
constexpr int kTreeId = 1126;
// The export options' "Images in grayscale by default".
constexpr int kGrayscaleOption = 1053;

bool TreeShown(HWND frame)
{
    HWND tree = CProgramRun::FindById(frame, kTreeId);
    return tree && ::IsWindowVisible(tree);
}

// A program showing one empty report.
class ProgramCommands : public testing::Test {
protected:
    void SetUp() override
    {
        edtest::SetStartPrefs(3, L"");
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    }
    CProgramRun program;
};

}  // namespace

TEST_F(ProgramCommands, SectionTreeToggleIsSharedByAllReportsAndToolBarsToggle)
{
    HWND first = program.ActiveFrame();
    program.Command(32794);
    EXPECT_FALSE(TreeShown(first));
    program.Command(57600);
    HWND second = program.ActiveFrame();
    ASSERT_NE(first, second);
    // The next use shows the tree of the report it reaches; the one after hides it.
    program.Command(32794);
    EXPECT_TRUE(TreeShown(second));
    EXPECT_FALSE(TreeShown(first));
    program.Command(32794);
    EXPECT_FALSE(TreeShown(second));

    HWND mainBar = CProgramRun::FindById(program.Main(), 59952);
    ASSERT_NE(nullptr, mainBar);
    program.Command(32787);
    EXPECT_FALSE(::IsWindowVisible(mainBar));
    program.Command(32787);
    EXPECT_TRUE(::IsWindowVisible(mainBar));
}

TEST_F(ProgramCommands, GeneratePdfAsksItsOptionsThenWritesTheFileChosenInItsDialog)
{
    CKWTestTempFolder folder(L"edp");
    const std::wstring path = folder.Path() + L"Report.pdf";
    // Cancelled options stop the generation; accepted ones let it go on.
    for (int answer : {IDCANCEL, IDOK}) {
        program.PostCommand(32837);
        HWND dialog = program.WaitForDialog();
        ASSERT_NE(nullptr, dialog);
        CProgramRun::AnswerFileDialog(dialog, path);
        HWND options = program.WaitForDialogWith(kGrayscaleOption);
        ASSERT_NE(nullptr, options) << answer;
        EXPECT_EQ(L"Report Properties", CProgramRun::Text(options));
        if (answer == IDCANCEL)
            test_support::WriteWindowScreenshot(options, L"editor_export_properties");
        ::PostMessageW(options, WM_COMMAND, answer, 0);
        ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); })) << answer;
        if (answer == IDCANCEL) {
            // Answered once the command has returned.
            ::SendMessageW(program.Main(), WM_NULL, 0, 0);
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(path.c_str()));
        }
    }
    ASSERT_TRUE(edtest::WaitFor([&] {
        const std::string bytes = ReadFileBytes(path);
        return bytes.size() > 8 && bytes.find("%%EOF") != std::string::npos && !program.FindDialog();
    }));
    EXPECT_EQ(0u, ReadFileBytes(path).rfind("%PDF-1.3", 0));
    KeepForReaders("OT_PDF_CHECK_DIR", path, L"editor_generated.pdf");
}

TEST_F(ProgramCommands, PrintPreviewTakesTheReportWindowAndClosingLeavesIt)
{
    HWND frame = program.ActiveFrame();
    HWND view = CProgramRun::FindById(frame, kViewId);
    ASSERT_NE(nullptr, view);
    // Posted, so that a message box the preview might raise fails the test
    // with its text instead of holding the test in a send.
    program.PostCommand(57609);
    if (!edtest::WaitFor([&] { return !::IsWindowVisible(view); })) {
        // What the screen showed instead, for the one who reads the failure.
        test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_print_preview_not_shown");
        FAIL() << "the preview did not show: " << CProgramRun::DialogText(program.FindDialog());
    }
    test_support::WriteWindowScreenshot(program.Main(), L"editor_print_preview");
    // Closing the main window leaves the preview first.
    ::PostMessageW(program.Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(view) != FALSE; }));
    EXPECT_TRUE(::IsWindow(program.Main()));
}

TEST_F(ProgramCommands, AboutShowsTheCreditsScrollingAndTheLinks)
{
    program.PostCommand(57664);
    HWND about = program.WaitForDialog();
    ASSERT_NE(nullptr, about);
    const int credits = 394;
    for (int link : {395, 396}) {
        HWND item = ::GetDlgItem(about, link);
        EXPECT_TRUE(item && ::IsWindowVisible(item)) << link;
        EXPECT_TRUE(::GetWindowLongW(item, GWL_STYLE) & SS_NOTIFY) << "a link takes clicks";
    }
    EXPECT_NE(std::wstring::npos, CProgramRun::DialogText(about).find(L"Version "));
    // The credits start moving after a few seconds.
    HWND creditsItem = ::GetDlgItem(about, credits);
    const test_support::Pixels first = test_support::Capture(creditsItem, false);
    EXPECT_TRUE(edtest::WaitFor([&] { return !(test_support::Capture(creditsItem, false) == first); }));
    EXPECT_TRUE(test_support::WriteWindowScreenshot(about, L"editor_about_box"));
    // The hidden spot: 9 pixels around (69, 30). A click beside it returns at
    // once (the team dialog is modal); one inside opens the team's picture.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(69, 20), SMTO_NORMAL, 60000, &answer));
    EXPECT_EQ(about, program.FindDialog());
    ::PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(69, 21));
    HWND team = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] { return (team = program.FindDialog()) != about && team; }));
    EXPECT_EQ(L"Our Team", CProgramRun::Text(team));
    RECT client;
    ::GetClientRect(team, &client);
    EXPECT_EQ(241, client.right);
    EXPECT_EQ(161, client.bottom);
    EXPECT_TRUE(test_support::WriteWindowScreenshot(team, L"editor_team_dialog"));
    ::PostMessageW(team, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.FindDialog() == about; }));
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
}

// The gallery in the real program: "Add Folder" fills it, and the side it is
// docked at is stored when the program closes.
TEST(ProgramGallery, AddFolderFillsTheGalleryAndClosingStoresItsDockSide)
{
    CKWTestTempFolder folder(L"edg");
    const std::string pixels = testpictures::PhotoPixels(120, 90, 3);
    WriteFileBytes(folder.Path() + L"one.jpg", testpictures::EncodeJpeg(pixels, 120, 90));
    edtest::SetStartPrefs(3, L"");
    const DWORD right = 59421;
    const std::wstring path = folder.Path().substr(0, folder.Path().size() - 1);
    edtest::SetGalleryPrefs(right, false, path);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Kestrel Works\\OstraTallier\\", 0,
                                             KEY_ALL_ACCESS, &key));
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    // The chooser starts at the folder last added, which the test set.
    ASSERT_TRUE(program.AddGalleryFolder(path));
    // The gallery is a library pane.
    EXPECT_EQ(0u, CProgramRun::ClassName(program.GalleryBar()).rfind(L"QMX", 0))
        << CProgramRun::ClassName(program.GalleryBar()).c_str();
    test_support::WriteWindowScreenshot(program.Main(), L"editor_gallery");
    // F4 hides the gallery and shows it again.
    HWND bar = program.GalleryBar();
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
    for (bool shown : {false, true}) {
        edtest::PressKeys({{VK_F4, true}, {VK_F4, false}});
        EXPECT_TRUE(edtest::WaitFor([&] { return (::IsWindowVisible(bar) != FALSE) == shown; })) << shown;
    }
    // Read at the start: what is there after the close, the close wrote.
    ::RegDeleteValueW(key, L"PictureCollectionDockSide");
    ::PostMessageW(program.Main(), WM_CLOSE, 0, 0);
    // A save question is answered No.
    ASSERT_TRUE(edtest::WaitFor([&] {
        if (HWND question = program.FindDialog())
            ::PostMessageW(question, WM_COMMAND, IDNO, 0);
        return program.WaitForExit(100);
    }));
    DWORD side = 0;
    DWORD size = sizeof side;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(key, L"PictureCollectionDockSide", nullptr, nullptr,
                                                reinterpret_cast<BYTE*>(&side), &size));
    EXPECT_EQ(right, side);
    ::RegCloseKey(key);
}
