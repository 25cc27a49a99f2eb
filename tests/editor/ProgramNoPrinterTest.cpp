// The real program on a machine without a default printer: it starts, the
// "Page" page's "Same as printer size" falls back to A4, and "Print Setup"
// leaves the report in portrait; Print Preview asks for a printer. The prefix's default printer is cleared for
// this test only, so the test runs on its own, apart from every other test
// (see CMakeLists.txt). On a machine with no printer at all (the print system
// out of reach for the whole run, see CMakeLists.txt), Print Preview says
// "Command failed." and leaves the window's layout as it was.
#include "ProgramMenus.h"
#include "ProgramRun.h"

#include "files/TalXmlSerializer.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "resources/ReportPropDialogs.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <winspool.h>

#include <string>

using edtest::CProgramRun;

namespace {

constexpr int kSheetTab = 0x3020;
constexpr UINT kDocumentProperties = 32795;
constexpr UINT kPrintSetup = 57606;
constexpr int kPagePage = 4;
constexpr UINT kPrintPreview = 57609;
constexpr int kViewId = 0xE900;
constexpr UINT kImageGallery = 32829;
constexpr DWORD kGalleryLeft = 59420;
const wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// Clears the user's default printer (and sets this process's print-system
// address, which the programs it starts do not take over: they still see the
// printers); both come back at the end of the scope.
class CNoDefaultPrinter {
public:
    CNoDefaultPrinter()
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kWindowsKey, 0, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
            wchar_t device[512] = {};
            DWORD size = sizeof device - sizeof(wchar_t);
            m_hadDevice = ::RegQueryValueExW(key, L"Device", nullptr, nullptr, reinterpret_cast<BYTE*>(device),
                                             &size) == ERROR_SUCCESS;
            m_device = device;
            ::RegDeleteValueW(key, L"Device");
            ::RegCloseKey(key);
        }
        wchar_t server[256] = {};
        m_hadServer = ::GetEnvironmentVariableW(L"CUPS_SERVER", server, 256) > 0;
        m_server = server;
        // A port nothing listens on: the print system answers with no printers.
        ::SetEnvironmentVariableW(L"CUPS_SERVER", L"127.0.0.1:9");
    }
    ~CNoDefaultPrinter()
    {
        ::SetEnvironmentVariableW(L"CUPS_SERVER", m_hadServer ? m_server.c_str() : nullptr);
        HKEY key = nullptr;
        if (m_hadDevice && ::RegOpenKeyExW(HKEY_CURRENT_USER, kWindowsKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            ::RegSetValueExW(key, L"Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_device.c_str()),
                             DWORD((m_device.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
    }

private:
    bool m_hadDevice = false;
    std::wstring m_device;
    bool m_hadServer = false;
    std::wstring m_server;
};

HWND PagePage(HWND sheet)
{
    ::SendMessageW(sheet, PSM_SETCURSEL, kPagePage, 0);
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::wstring Text(HWND page, int id)
{
    return CProgramRun::Text(::GetDlgItem(page, id));
}

}  // namespace

TEST(NoPrinter, TheProgramStartsThePagePageFallsBackToA4PrintSetupLeavesPortraitAndPreviewAsks)
{
    CKWTestTempFolder folder(L"npr");
    const std::wstring report = folder.Path() + L"Landscape.otd";
    {
        CTalBaseDocument model;
        model.GetProperties().SetPortrait(0);
        CTalXmlSerializer serializer;
        ASSERT_TRUE(serializer.SaveDocument(&model, report.c_str(), nullptr));
    }
    edtest::SetStartPrefs(3, L"", false);
    CNoDefaultPrinter noPrinter;
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\"")) << "the program starts without a printer";
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));

    // "Same as printer size" with no printer: A4, turned for the landscape
    // page (a printer's own A4 reads 209.80 here).
    program.PostCommand(kDocumentProperties);
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    HWND page = PagePage(sheet);
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(::GetDlgItem(page, IDC_PG_LANDSCAPE), BM_GETCHECK, 0, 0));
    ::SendMessageW(::GetDlgItem(page, IDC_PG_PRINTER_SIZE), BM_CLICK, 0, 0);
    EXPECT_EQ(L"297.00", Text(page, IDC_PG_WIDTH));
    EXPECT_EQ(L"210.00", Text(page, IDC_PG_HEIGHT));
    test_support::WriteWindowScreenshot(sheet, L"program_no_printer_page");
    ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // Print Setup cancelled: with no default printer's mode to read, the
    // report is portrait (a printer's mode would have kept it landscape).
    program.PostCommand(kPrintSetup);
    HWND setup = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        setup = program.FindDialog();
        return setup && CProgramRun::Text(setup) == L"Print Setup";
    }));
    test_support::WriteWindowScreenshot(setup, L"program_no_printer_print_setup");
    ::PostMessageW(setup, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(setup); }));
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    program.PostCommand(kDocumentProperties);
    sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    page = PagePage(sheet);
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(::GetDlgItem(page, IDC_PG_PORTRAIT), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(::GetDlgItem(page, IDC_PG_LANDSCAPE), BM_GETCHECK, 0, 0));
    ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // Print Preview asks for a printer while the preview is being made. The
    // main window closed meanwhile (sent, so that it is handled while the
    // dialog is up) ends only the preview, once the dialog is answered.
    HWND view = CProgramRun::FindById(program.ActiveFrame(), kViewId);
    ASSERT_NE(nullptr, view);
    program.PostCommand(kPrintPreview);
    HWND printDialog = program.WaitForDialog();
    ASSERT_NE(nullptr, printDialog);
    EXPECT_NE(std::wstring::npos, CProgramRun::DialogText(printDialog).find(L"Number of &copies:"));
    test_support::WriteWindowScreenshot(printDialog, L"program_no_printer_preview_asks");
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(program.Main(), WM_CLOSE, 0, 0, SMTO_NORMAL, 15000, &answer));
    ::PostMessageW(printDialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(printDialog); }));
    HWND failed = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        failed = program.FindDialog();
        return failed && CProgramRun::DialogText(failed).find(L"Command failed.") != std::wstring::npos;
    }));
    ::PostMessageW(failed, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(view) != FALSE && !program.FindDialog(); }));
    EXPECT_TRUE(::IsWindow(program.Main()));
    EXPECT_EQ(1u, program.ReportFrames().size());
}

TEST(NoPrinterInstalled, PrintPreviewSaysCommandFailedAndLeavesTheGalleryDockedAndItsCommandEnabled)
{
    DWORD needed = 0, count = 0;
    ::EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    ASSERT_EQ(0u, needed) << "the print system is out of reach for this run (see CMakeLists.txt)";
    edtest::PointerKept pointer;
    CKWTestTempFolder folder(L"npi");
    folder.Write(L"one.bmp", std::string());
    std::wstring galleryFolder = folder.Path();
    galleryFolder.pop_back();
    edtest::SetStartPrefs(3, L"", false);
    edtest::SetGalleryPrefs(kGalleryLeft, false, galleryFolder);
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    ASSERT_TRUE(program.AddGalleryFolder(galleryFolder));
    HWND gallery = program.GalleryBar();
    ASSERT_NE(nullptr, gallery);
    auto galleryDocked = [&] {
        return ::IsWindowVisible(gallery) && ::GetAncestor(gallery, GA_ROOT) == program.Main();
    };
    ASSERT_TRUE(edtest::WaitFor(galleryDocked));
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    RECT galleryRect = {};
    ::GetWindowRect(gallery, &galleryRect);

    // The system's print dialog says that a printer must be installed, then
    // the preview says "Command failed."; the report's view and the gallery
    // stay as they were.
    HWND view = CProgramRun::FindById(program.ActiveFrame(), kViewId);
    ASSERT_NE(nullptr, view);
    program.PostCommand(kPrintPreview);
    for (const wchar_t* expected : {L"install a printer", L"Command failed."}) {
        // The system's print dialog shows before its notice does.
        HWND message = program.WaitForDialogSaying(expected);
        ASSERT_NE(nullptr, message) << testing::PrintToString(expected);
        test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"program_no_printer_installed_preview");
        ::PostMessageW(message, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(message); }));
    }
    ::SendMessageW(program.Main(), WM_NULL, 0, 0);
    EXPECT_EQ(nullptr, program.FindDialog()) << "a second message followed";
    EXPECT_TRUE(::IsWindowVisible(view));
    EXPECT_TRUE(galleryDocked()) << "the gallery left its dock";
    RECT galleryNow = {};
    ::GetWindowRect(gallery, &galleryNow);
    EXPECT_TRUE(::EqualRect(&galleryRect, &galleryNow)) << "the gallery moved";

    // View > Image Gallery, opened by its keys, stays enabled.
    ::SetForegroundWindow(program.Main());
    ASSERT_TRUE(edtest::ReadyForKeys(program)) << program.Shows();
    edtest::PressKeys({{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}});
    HWND items = nullptr;
    int item = -1;
    ASSERT_TRUE(edtest::WaitFor([&] {
        HWND popup = program.FindPopup(L"QMXPopupMenu");
        items = popup ? edtest::MenuItems(popup) : nullptr;
        item = items ? edtest::BarCommandIndex(items, kImageGallery) : -1;
        return item >= 0;
    }));
    EXPECT_FALSE(edtest::BarItemDisabled(items, item));
    test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"program_no_printer_installed_view_menu");
    // One Escape closes the menu, and the close waits until it has: a key
    // still on its way would reach the save question the close asks, and
    // cancel the close as a user's Escape does.
    edtest::TapKey(VK_ESCAPE);
    EXPECT_TRUE(edtest::WaitFor([&] { return !program.FindPopup(); }));
    EXPECT_TRUE(program.CloseWithoutSaving());
}
