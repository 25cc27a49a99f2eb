// The main road of a new user, in the real program started on a profile of
// its own (no setting of the program in the registry) with only what the
// build puts beside it, driven by keys and clicks: the wizard, the listed
// report template, title, author and company; a folder of photographs (two
// of them turned by their EXIF orientation, one PNG with transparency) into
// two sections; a note with bold text; a logo on the title page and a text
// watermark; PDF, HTML and PowerPoint, each under a progress window with its
// message; printing on the PDF printer; saving, closing and opening again;
// the print preview closed and a second report closed.
// The outputs are read here (HTML links, the PowerPoint file's records and
// links) and by the test command's poppler tools (the PDF's pages, pictures,
// fonts and texts as the file next to the kept copy asks).
#include "ProgramMenus.h"
#include "ProgramPreview.h"
#include "ProgramRun.h"
#include "RemoteMemory.h"
#include "UserInput.h"

#include "tests/export/html/HtmlLinkWalker.h"
#include "tests/export/ppt/PptFileCheck.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrintedPdf.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

using edtest::CProgramRun;

namespace {

// The wizard's items and buttons.
constexpr int kWizardPicture = 1029;
constexpr int kWizardTemplates = 1006;
constexpr int kWizardAuthor = 1012;
constexpr int kWizardCompany = 1014;
constexpr int kWizardTitle = 1043;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;
// A report window's panes and controls.
constexpr int kTree = 1126;
constexpr int kTemplateList = 1135;
constexpr int kImageList = 1122;
constexpr int kAddImages = 1117;
constexpr int kGenerateReport = 1120;
constexpr int kTextPanel = 1159;
constexpr int kFormatTextBar = 59954;
constexpr int kBoldCommand = 32843;
// The file dialogs' name box, the sheet's tabs, the watermark dialog, the
// report properties' logo, the export options and the progress window's message.
constexpr int kFileNameCombo = 0x47C;
constexpr int kSheetTab = 0x3020;
constexpr int kLogoBrowse = 1016;
constexpr int kInsertLogo = 1015;
constexpr int kAddWatermark = 1049;
constexpr int kWatermarkName = 1069;
constexpr int kWatermarkText = 1082;
constexpr int kExportOptions = 1053;
constexpr int kProgressMessage = 9002;
constexpr UINT kGeneratePowerPoint = 32839;
constexpr int kGenerateHtml = 32838;
constexpr int kReportProperties = 32854;
constexpr int kWatermarkProperties = 32855;
constexpr int kStatusBar = 0xE801;

constexpr wchar_t kProgramKey[] = L"Software\\Kestrel Works";

// Image files chosen in the "Open Image" dialog of the image panel's button:
// the folder first, then the names.
void AddPictures(CProgramRun& program, HWND frame, const std::wstring& folder, const std::vector<std::wstring>& names)
{
    edtest::ClickWindow(CProgramRun::FindById(frame, kAddImages));
    HWND dialog = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(dialog, folder));
    // The dialog lists the folder's pictures.
    HWND shown = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        shown = edtest::FindByClass(dialog, L"SysListView32");
        return shown && ::SendMessageW(shown, LVM_GETITEMCOUNT, 0, 0) >= LRESULT(names.size());
    }));
    std::wstring chosen;
    for (const std::wstring& name : names)
        chosen += L"\"" + name + L"\" ";
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(dialog, chosen));
    HWND list = CProgramRun::FindById(frame, kImageList);
    ASSERT_TRUE(edtest::WaitFor([&] {
        return !::IsWindow(dialog) && ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == LRESULT(names.size());
    }));
}

using edtest::ChooseFromMenu;
using edtest::ClickTab;
using edtest::CurrentPage;


// The messages of the program's progress windows while it works, read
// from their labels (the system keeps the text, so the program's busy
// thread is not asked).
class CProgressWatch {
public:
    explicit CProgressWatch(const CProgramRun& program)
    {
        ::GetWindowThreadProcessId(program.Main(), &m_process);
        m_thread = std::thread([this] { Run(); });
    }
    ~CProgressWatch() { Stop(); }
    // The distinct messages seen, in order.
    std::vector<std::wstring> Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_texts;
    }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM data)
    {
        auto* self = reinterpret_cast<CProgressWatch*>(data);
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        HWND label = process == self->m_process && ::IsWindowVisible(window) ? ::GetDlgItem(window, kProgressMessage)
                                                                             : nullptr;
        if (label) {
            wchar_t text[256] = {};
            ::GetWindowTextW(label, text, 256);
            if (self->m_texts.empty() || self->m_texts.back() != text)
                self->m_texts.push_back(text);
        }
        return TRUE;
    }
    void Run()
    {
        while (!m_stop) {
            ::EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            ::Sleep(1);
        }
    }

    DWORD m_process = 0;
    std::atomic<bool> m_stop{false};
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The number of files of a folder.
size_t FilesIn(const std::wstring& folder)
{
    size_t count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
        count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return count;
}

// A photograph, turned by its EXIF orientation when one is given.
std::string Photo(uint32_t seed, uint16_t orientation = 0)
{
    const std::string pixels = testpictures::PhotoPixels(1600, 1200, seed);
    const std::string jpeg = testpictures::EncodeJpeg(pixels, 1600, 1200);
    return orientation ? testpictures::WithSegment(jpeg, testpictures::ExifSegment(orientation)) : jpeg;
}

// A PNG whose left half is see-through.
std::string TransparentPng()
{
    const uint32_t width = 400, height = 300;
    std::string samples;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            samples += std::string{char(x % 256), char(y % 256), char(0x80), char(x < width / 2 ? 0 : 0xFF)};
    }
    return testpictures::PngFile(width, height, 8, true, samples);
}

}  // namespace

TEST(ProgramMainRoad, FromAFreshStartToThreeReportsAPrintAndTheReportOpenedAgain)
{
    CKWTestTempFolder folder(L"road");
    const std::wstring photos = folder.Path() + L"Photos";
    ::CreateDirectoryW(photos.c_str(), nullptr);
    const std::vector<std::wstring> first = {L"Beach.jpg", L"Cliffs.jpg", L"Dunes.jpg", L"Gull.png"};
    const std::vector<std::wstring> second = {L"Harbour.jpg", L"Lighthouse.jpg", L"Sunset.jpg"};
    WriteFileBytes(photos + L"\\Beach.jpg", Photo(1));
    WriteFileBytes(photos + L"\\Cliffs.jpg", Photo(2, 6));
    WriteFileBytes(photos + L"\\Dunes.jpg", Photo(3));
    WriteFileBytes(photos + L"\\Gull.png", TransparentPng());
    WriteFileBytes(photos + L"\\Harbour.jpg", Photo(4));
    WriteFileBytes(photos + L"\\Lighthouse.jpg", Photo(5, 8));
    WriteFileBytes(photos + L"\\Sunset.jpg", Photo(6));
    const std::wstring logo = folder.Write(L"Logo.bmp", testpictures::FourBitBmp(96, 64, std::string(96 * 64, '\x30')));
    const std::wstring title = L"Coastal Survey " + std::to_wstring(::GetCurrentProcessId());
    const wchar_t note[] = L"Tides rose slowly at dawn over the harbour.";

    // A fresh profile: nothing of the program in the registry, nothing
    // beside it but what the build puts there.
    edtest::KeepOnlyShippedTemplates();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    CProgramRun program;
    ASSERT_TRUE(program.Start());

    // The wizard lists the templates folder's report template; it is chosen
    // and the report described.
    HWND sheet = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        sheet = program.FindDialog();
        return sheet && CProgramRun::FindById(sheet, kWizardPicture);
    }));
    ::SetForegroundWindow(sheet);
    HWND page = CurrentPage(sheet);
    HWND templates = ::GetDlgItem(page, kWizardTemplates);
    ASSERT_GE(::SendMessageW(templates, LB_GETCOUNT, 0, 0), 1);
    wchar_t entry[MAX_PATH] = {};
    ::SendMessageW(templates, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::wstring(L"default.otn"), entry);
    const int rowHeight = static_cast<int>(::SendMessageW(templates, LB_GETITEMHEIGHT, 0, 0));
    edtest::ClickClient(templates, POINT{20, rowHeight / 2});
    EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(templates, LB_GETCURSEL, 0, 0) == 0; }));
    EXPECT_TRUE(edtest::TypeInto(::GetDlgItem(page, kWizardTitle), title));
    EXPECT_TRUE(edtest::TypeInto(::GetDlgItem(page, kWizardAuthor), L"Ada Lovelace"));
    EXPECT_TRUE(edtest::TypeInto(::GetDlgItem(page, kWizardCompany), L"Kestrel Field Office"));
    test_support::WriteWindowScreenshot(sheet, L"main_road_wizard");
    for (int button : {kWizardNext, kWizardNext, kWizardFinish}) {
        HWND before = CurrentPage(sheet);
        edtest::ClickWindow(::GetDlgItem(sheet, button));
        ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet) || CurrentPage(sheet) != before; })) << button;
    }
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1 && !program.FindDialog(); }));
    HWND frame = program.ActiveFrame();
    EXPECT_EQ(title, CProgramRun::Text(frame));

    // The page-template pane lists the templates shipped in "DATA".
    HWND layouts = CProgramRun::FindById(frame, kTemplateList);
    ASSERT_NE(nullptr, layouts);
    EXPECT_GE(::SendMessageW(layouts, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(L"1 Picture", edtest::ListItemText(program.Process(), layouts, 0));

    // The first four photographs into the report's first section, the rest
    // into its second, from the folder in the "Open Image" dialog.
    AddPictures(program, frame, photos, first);
    HWND tree = CProgramRun::FindById(frame, kTree);
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM introduction = TreeView_GetChild(tree, root);
    ASSERT_NE(nullptr, introduction);
    ASSERT_TRUE(edtest::ClickTreeItem(tree, introduction));
    AddPictures(program, frame, photos, second);

    // The note typed and all of it made bold from the text tool bar.
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    edtest::ClickClient(panel, POINT{30, 20});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
    edtest::TypeText(note);
    edtest::PressChord(VK_CONTROL, 'A');
    EXPECT_TRUE(edtest::ClickBarCommand(CProgramRun::FindById(program.Main(), kFormatTextBar), kBoldCommand));
    test_support::WriteWindowScreenshot(program.Main(), L"main_road_report");

    // The logo on the title page ("Report Properties..." then its "Title page").
    ChooseFromMenu(program, kReportProperties);
    sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    ClickTab(sheet, 1);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetDlgItem(CurrentPage(sheet), kLogoBrowse) != nullptr; }));
    edtest::ClickWindow(::GetDlgItem(CurrentPage(sheet), kLogoBrowse));
    HWND files = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, files);
    EXPECT_EQ(L"Open Image", CProgramRun::Text(files)) << "the logo's dialog says what it opens";
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(files, logo));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(files); }));
    HWND insertLogo = ::GetDlgItem(CurrentPage(sheet), kInsertLogo);
    if (::SendMessageW(insertLogo, BM_GETCHECK, 0, 0) != BST_CHECKED)
        edtest::ClickWindow(insertLogo);
    EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(insertLogo, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    edtest::ClickWindow(::GetDlgItem(sheet, IDOK));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));

    // A text watermark ("WaterMark Properties...", Add).
    ChooseFromMenu(program, kWatermarkProperties);
    sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::GetDlgItem(CurrentPage(sheet), kAddWatermark) != nullptr; }));
    edtest::ClickWindow(::GetDlgItem(CurrentPage(sheet), kAddWatermark));
    HWND mark = program.WaitForDialogWith(kWatermarkName);
    ASSERT_NE(nullptr, mark);
    EXPECT_TRUE(edtest::TypeInto(::GetDlgItem(mark, kWatermarkText), L"DRAFTCOPY"));
    edtest::ClickWindow(::GetDlgItem(mark, IDOK));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(mark); }));
    // A click while the closing dialog still held the sheet disabled was lost.
    EXPECT_TRUE(edtest::ClickWhenReady(::GetDlgItem(sheet, IDOK)));
    ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));

    // PDF (the panel's "Generate Report" in the default format), HTML (File,
    // "Generate Report in HTML") and PowerPoint, each confirming its options.
    const std::wstring pdf = folder.Path() + L"Road.pdf";
    const std::wstring html = folder.Path() + L"Road.html";
    const std::wstring ppt = folder.Path() + L"Road.ppt";
    const struct {
        std::function<void()> ask;
        std::wstring path;
        std::wstring message;
    } generations[] = {
        {[&] { edtest::ClickWindow(CProgramRun::FindById(frame, kGenerateReport)); }, pdf, L"Generating Report..."},
        {[&] {
             ChooseFromMenu(program, kGenerateHtml);
         },
         html, L"Generating Report..."},
        {[&] { program.PostCommand(kGeneratePowerPoint); }, ppt, L"Generating report Road.ppt"},
    };
    for (const auto& generation : generations) {
        SCOPED_TRACE(htmltest::Narrow(generation.path));
        generation.ask();
        HWND save = program.WaitForDialogWith(kFileNameCombo);
        ASSERT_NE(nullptr, save);
        CProgressWatch watch(program);
        ASSERT_TRUE(edtest::AnswerFileDialogByKeys(save, generation.path));
        HWND options = program.WaitForDialogWith(kExportOptions);
        ASSERT_NE(nullptr, options);
        edtest::ClickWindow(::GetDlgItem(options, IDOK));
        ASSERT_TRUE(edtest::WaitFor([&] {
            return ::GetFileAttributesW(generation.path.c_str()) != INVALID_FILE_ATTRIBUTES && !program.FindDialog();
        }, 60000));
        // Answered once the generation is over.
        DWORD_PTR answer;
        ::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
        const std::vector<std::wstring> messages = watch.Stop();
        EXPECT_TRUE(Contains(messages, generation.message))
            << (messages.empty() ? std::string("no progress window") : htmltest::Narrow(messages.back()));
    }

    // The PDF: read back by the test command (its expectations beside it).
    const std::string written = ReadFileBytes(pdf);
    const size_t pages = pdftest::PageCount(written);
    ASSERT_GE(pages, 2 + first.size() + second.size()) << "a title page, contents and a page per picture";
    KeepForReaders("OT_PDF_CHECK_DIR", pdf, L"mainroad_program.pdf");
    // What poppler must find: the pages, every picture and the logo on the
    // title page, the bold note, the described report and the watermark on
    // every section page.
    const std::string expectations =
        "pages " + std::to_string(pages) + "\nimages-at-least " + std::to_string(first.size() + second.size() + 1) +
        "\nimage-on-page 1\nfont-containing Bold\ntext " + htmltest::Narrow(title) +
        "\ntext Ada Lovelace\ntext Kestrel Field Office\ntext Tides rose slowly\ntext-on-pages 3 " +
        std::to_string(pages) + " DRAFTCOPY\n";
    WriteFileBytes(folder.Path() + L"mainroad.expect", expectations);
    KeepForReaders("OT_PDF_CHECK_DIR", folder.Path() + L"mainroad.expect", L"mainroad_program.expect");

    // The HTML pages: every reference leads to a page or a picture, every
    // photograph and the logo among them.
    const htmltest::LinkReport links = htmltest::WalkLinks(html);
    EXPECT_TRUE(links.broken.empty()) << (links.broken.empty() ? std::string() : links.broken.front());
    EXPECT_NE(std::string::npos, links.text.find("Tides rose slowly at dawn"));
    size_t pictures = 0;
    const std::wstring data = folder.Path() + L"Road_data";
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((data + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        const std::string bytes = ReadFileBytes(data + L"\\" + found.cFileName);
        const std::wstring file = found.cFileName;
        const bool navigation = file == L"back.png" || file == L"next.png" || file == L"blank.gif";
        pictures += !navigation && htmltest::IsShownPicture(bytes);
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    EXPECT_GE(pictures, first.size() + second.size() + 1);

    // The presentation: a slide per page, every picture linked to its file.
    KeepForReaders("OT_PPT_CHECK_DIR", ppt, L"mainroad_program.ppt");
    Presentation presentation;
    LoadPresentation(ppt, pages, presentation);
    size_t linked = 0;
    for (const PptRecord* slide : presentation.slides) {
        for (const ShapeInfo& picture : Pictures(presentation, *slide)) {
            const std::wstring link = ComplexText(picture.complex.at(0x0105));
            EXPECT_TRUE(htmltest::IsShownPicture(ReadFileBytes(folder.Path() + link))) << htmltest::Narrow(link);
            ++linked;
        }
    }
    EXPECT_EQ(first.size() + second.size() + 1, linked);
    EXPECT_EQ(linked, FilesIn(folder.Path() + L"Road_Images"));

    // Printed on the PDF printer (Ctrl+P, OK): as many pages as the PDF.
    const std::set<std::wstring> printedBefore = pdftest::PrintedFiles();
    ASSERT_TRUE(edtest::PrintByKeys(program));
    std::wstring printedPath;
    const std::string printed = pdftest::WaitForPrinted(std::to_wstring(::GetCurrentProcessId()), printedBefore, printedPath);
    if (printed.empty()) {
        // What the screen showed instead, for the one who reads the failure.
        test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"main_road_not_printed");
        FAIL() << "no PDF of the job in the printer's folder: " << htmltest::Narrow(CProgramRun::DialogText(program.FindDialog()));
    }
    KeepForReaders("OT_PRINT_CHECK_DIR", printedPath, (L"mainroad.pages" + std::to_wstring(pages) + L".pdf").c_str());
    ::DeleteFileW(printedPath.c_str());

    // Saved (Ctrl+S names it), closed (Ctrl+F4) and opened again (Ctrl+O).
    const std::wstring saved = folder.Path() + L"Road.otd";
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    edtest::PressChord(VK_CONTROL, 'S');
    HWND saveAs = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, saveAs);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(saveAs, saved));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog() && CProgramRun::Text(frame) == L"Road"; }));
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    edtest::PressChord(VK_CONTROL, VK_F4);
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().empty(); }));
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    edtest::PressChord(VK_CONTROL, 'O');
    HWND open = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, open);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(open, saved));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1 && !program.FindDialog(); }));
    frame = program.ActiveFrame();
    tree = CProgramRun::FindById(frame, kTree);
    EXPECT_EQ(2, ::SendMessageW(tree, TVM_GETCOUNT, 0, 0));
    HWND list = CProgramRun::FindById(frame, kImageList);
    EXPECT_TRUE(edtest::WaitFor([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == LRESULT(first.size()); }));
    test_support::WriteWindowScreenshot(program.Main(), L"main_road_reopened");

    // The print preview (its tool-bar button, opening at the section's
    // page), a page on, closed: the status bar reads its idle text again.
    HWND status = CProgramRun::FindById(program.Main(), kStatusBar);
    ASSERT_NE(nullptr, status);
    const std::wstring idle = edtest::StatusPaneText(status, 0);
    edtest::CPrintPreview preview(program, frame);
    ASSERT_TRUE(preview.Open());
    preview.Next();
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StatusPaneText(status, 0).rfind(L"Page ", 0) == 0; }))
        << htmltest::Narrow(edtest::StatusPaneText(status, 0));
    ASSERT_TRUE(preview.Close());
    EXPECT_TRUE(edtest::WaitFor([&] { return edtest::StatusPaneText(status, 0) == idle; }))
        << htmltest::Narrow(edtest::StatusPaneText(status, 0));

    // A second, new report (Ctrl+N) closed without saving (Ctrl+F4, No): the
    // main window's caption names the one that stays.
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    edtest::PressChord(VK_CONTROL, 'N');
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 2; }));
    const std::wstring added = CProgramRun::Text(program.ActiveFrame());
    ASSERT_TRUE(edtest::ReadyForKeys(program));
    edtest::PressChord(VK_CONTROL, VK_F4);
    HWND question = program.WaitForDialogWith(IDNO);
    ASSERT_NE(nullptr, question);
    edtest::ClickWindow(::GetDlgItem(question, IDNO));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    EXPECT_TRUE(edtest::WaitFor([&] {
        const std::wstring caption = CProgramRun::Text(program.Main());
        return caption.find(L"Road") != std::wstring::npos && caption.find(added) == std::wstring::npos;
    })) << htmltest::Narrow(CProgramRun::Text(program.Main()));
}
