// The outputs of the real program true to the report, driven by the mouse
// and keys: a report turned to landscape keeps governing the preview, the
// printed pages and the generated PDF after the program was closed and
// started again; the preview of a page shows what its printed page holds, a
// picture's caption and every character of a note; a transparent picture
// prints white where it is clear, and no dark line along the edges of a clear
// logo or picture watermark; a generation that cannot write (a missing
// folder, one nobody may write in, a full disk) says once which file and why
// and leaves nothing of its own and every earlier output as it was, and a
// name typed with the short HTML extension keeps it.
#include "ProgramMenus.h"
#include "ProgramPreview.h"
#include "ProgramRealInput.h"
#include "ProgramRun.h"
#include "SectionsReport.h"
#include "UserInput.h"

#include "resources/ReportPropDialogs.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/FolderSnapshot.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrintedPdf.h"
#include "tests/support/SmallVolume.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/TestPictureFiles.h"
#include "tests/support/WindowPixels.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using edtest::CProgramRun;

namespace {

constexpr int kFileNameCombo = 0x47C;
constexpr UINT kExit = 57665;
constexpr UINT kDocumentProperties = 32795;
constexpr UINT kGeneratePdf = 32837;
constexpr UINT kGenerateHtml = 32838;
constexpr UINT kGeneratePpt = 32839;
// The properties' "Page" tab.
constexpr int kPagePage = 4;
// A4 turned, in points.
constexpr int kA4Long = 842;
constexpr int kA4Short = 595;

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The print preview opened from the main tool bar's button; the paper of its
// first page, photographed under the name.
CRect PreviewPaper(const CProgramRun& program, HWND frame, const wchar_t* screenshot)
{
    edtest::CPrintPreview preview(program, frame);
    if (!preview.Open())
        return CRect(0, 0, 0, 0);
    CRect paper(0, 0, 0, 0);
    preview.Paper(paper);
    test_support::WriteWindowScreenshot(program.Main(), screenshot);
    preview.Close();
    return paper;
}

// A generation chosen from the menu, its file named in the file dialog.
bool Generate(const CProgramRun& program, UINT command, const std::wstring& path)
{
    edtest::ChooseFromMenu(program, static_cast<int>(command));
    HWND save = program.WaitForDialogWith(kFileNameCombo);
    return save && edtest::AnswerFileDialogByKeys(save, path);
}

// The printed job whose name holds the token, with the size of its first page.
std::string PrintAndRead(const CProgramRun& program, const std::wstring& token, std::wstring& path)
{
    const std::set<std::wstring> before = pdftest::PrintedFiles();
    if (!edtest::PrintByKeys(program))
        return std::string();
    return pdftest::WaitForPrinted(token, before, path);
}

// The report opened in the program and printed: the path of the job, which
// has the pages given; empty when the program did not start or no job came.
std::wstring OpenAndPrint(CProgramRun& program, const std::wstring& report, const std::wstring& token, size_t pages)
{
    std::wstring path;
    const std::string printed = edtest::StartOnReport(program, report) ? PrintAndRead(program, token, path) : "";
    EXPECT_FALSE(printed.empty()) << "no PDF of the job in the printer's folder";
    EXPECT_EQ(pages, pdftest::PrintedPageCount(printed)) << "a title page, the contents and the sections' pages";
    return printed.empty() ? std::wstring() : path;
}

}  // namespace

// Landscape chosen in the properties, saved, the program closed and started
// again with the report: the preview's paper, the printed pages and the
// generated PDF are all landscape, as they were before the restart; so are
// the pages the shell's "/p" and "/pt" print.
TEST(ProgramOutputs, ALandscapeReportOpenedAfterARestartPreviewsPrintsAndGeneratesLandscape)
{
    CKWTestTempFolder folder(L"lsc");
    const std::wstring token = L"Turned" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring report = folder.Path() + token + L".otd";
    edtest::KeepOnlyShippedTemplates();
    edtest::SetStartPrefs(3, L"", false);
    {
        CProgramRun program;
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
        ::SetForegroundWindow(program.Main());
        HWND frame = program.ActiveFrame();
        edtest::ChooseFromMenu(program, kDocumentProperties);
        HWND sheet = program.WaitForDialogWith(edtest::kSheetTabId);
        ASSERT_NE(nullptr, sheet);
        edtest::ClickTab(sheet, kPagePage);
        HWND page = nullptr;
        ASSERT_TRUE(edtest::WaitFor([&] {
            page = edtest::CurrentPage(sheet);
            return page && ::GetDlgItem(page, IDC_PG_LANDSCAPE);
        }));
        edtest::ClickWindow(::GetDlgItem(page, IDC_PG_LANDSCAPE));
        ASSERT_TRUE(edtest::WaitFor(
            [&] { return ::SendMessageW(::GetDlgItem(page, IDC_PG_LANDSCAPE), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
        edtest::ClickWindow(::GetDlgItem(sheet, IDOK));
        ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(sheet); }));
        // Before the restart the preview is landscape already.
        const CRect before = PreviewPaper(program, frame, L"editor_preview_landscape_before_restart");
        EXPECT_GT(before.Width(), before.Height()) << before.Width() << " x " << before.Height();

        edtest::PressChord(VK_CONTROL, 'S');
        HWND save = program.WaitForDialogWith(kFileNameCombo);
        ASSERT_NE(nullptr, save);
        ASSERT_TRUE(edtest::AnswerFileDialogByKeys(save, report));
        ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog() && CProgramRun::Text(frame) == token; }));
        edtest::ChooseFromMenu(program, kExit);
        ASSERT_TRUE(program.WaitForExit(30000)) << "a saved report asks nothing at the exit";
    }

    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    ::SetForegroundWindow(program.Main());
    HWND frame = program.ActiveFrame();
    const CRect paper = PreviewPaper(program, frame, L"editor_preview_landscape_after_restart");
    EXPECT_GT(paper.Width(), paper.Height()) << paper.Width() << " x " << paper.Height();

    // A printed job's first page is A4 turned; kept for pdfinfo under a name
    // that asks for that size.
    auto checkPrinted = [&](const std::string& printed, const std::wstring& path, const std::wstring& how) {
        ASSERT_FALSE(printed.empty()) << "no PDF of the job in the printer's folder";
        int width = 0, height = 0;
        ASSERT_TRUE(pdftest::PrintedPageSize(printed, width, height));
        EXPECT_EQ(kA4Long, width);
        EXPECT_EQ(kA4Short, height);
        const size_t pages = pdftest::PrintedPageCount(printed);
        const std::wstring kept = L"landscape_restart" + how + L".size-842x595.pages" + std::to_wstring(pages);
        KeepForReaders("OT_PRINT_CHECK_DIR", path, (kept + L".pdf").c_str());
        ::DeleteFileW(path.c_str());
    };
    {
        SCOPED_TRACE("File > Print");
        std::wstring printedPath;
        checkPrinted(PrintAndRead(program, token, printedPath), printedPath, L"");
    }

    const std::wstring pdf = folder.Path() + token + L".pdf";
    ASSERT_TRUE(Generate(program, kGeneratePdf, pdf));
    ASSERT_TRUE(edtest::WaitFor([&] { return Exists(pdf) && !program.FindDialog(); }, 60000));
    const std::string generated = ReadFileBytes(pdf);
    int width = 0, height = 0;
    ASSERT_TRUE(pdftest::PrintedPageSize(generated, width, height));
    EXPECT_EQ(kA4Long, width);
    EXPECT_EQ(kA4Short, height);
    KeepForReaders("OT_PDF_CHECK_DIR", pdf, L"landscape_restart.size-842x595.pdf");
    edtest::ChooseFromMenu(program, kExit);
    ASSERT_TRUE(program.WaitForExit(30000));

    // The shell's print commands, each carried out by a program of its own
    // that prints the report without a window and ends: "/p" on the default
    // printer, "/pt" on the printer it names.
    const struct {
        const wchar_t* how;
        std::wstring arguments;
    } shellPrints[] = {
        {L"_p", L"/p \"" + report + L"\""},
        {L"_pt", L"/pt \"" + report + L"\" PDF driver port"},
    };
    for (const auto& shell : shellPrints) {
        SCOPED_TRACE(std::string(shell.arguments.begin(), shell.arguments.end()));
        const std::set<std::wstring> before = pdftest::PrintedFiles();
        CProgramRun printing;
        ASSERT_TRUE(printing.Launch(shell.arguments));
        EXPECT_TRUE(printing.WaitForExit(300000));
        std::wstring printedPath;
        checkPrinted(pdftest::WaitForPrinted(token, before, printedPath), printedPath, shell.how);
    }
}

// A PNG whose left half is clear (green kept under it) and whose right half
// is opaque blue, printed on the PDF printer: the test command renders the
// printed page and finds blue and no green on it.
TEST(ProgramOutputs, ATransparentPicturePrintsThePaperWhereItIsClear)
{
    CKWTestTempFolder folder(L"prc");
    std::string samples;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 90; ++x)
            samples += x < 45 ? std::string("\x00\xFF\x00\x00", 4) : std::string("\x00\x00\xFF\xFF", 4);
    const std::wstring picture = folder.Write(L"clear.png", testpictures::PngFile(90, 60, 8, true, samples));
    const std::wstring token = L"Clear" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring report =
        folder.Write((token + L".otd").c_str(), edtest::SectionsReportXml({{L"Clear parts", {picture}}}));
    CProgramRun program;
    ASSERT_TRUE(edtest::StartOnReport(program, report));
    PreviewPaper(program, program.ActiveFrame(), L"editor_preview_transparent_picture");

    std::wstring printedPath;
    const std::string printed = PrintAndRead(program, token, printedPath);
    ASSERT_FALSE(printed.empty()) << "no PDF of the job in the printer's folder";
    const size_t pages = pdftest::PrintedPageCount(printed);
    ASSERT_EQ(3u, pages) << "a title page, the contents and the section's page";
    KeepForReaders("OT_PRINT_CHECK_DIR", printedPath, L"transparent.pages3.pdf");
    WriteFileBytes(folder.Path() + L"transparent.expect", "colour-absent 3 00FF00\ncolour-present 3 0000FF\n");
    KeepForReaders("OT_PRINT_CHECK_DIR", folder.Path() + L"transparent.expect", L"transparent.pages3.expect");
    ::DeleteFileW(printedPath.c_str());
}

// A logo clear all round an opaque block in its middle, as a section's
// picture (blue) and as a picture watermark at the foot of every page (red),
// printed on the PDF printer: the test command renders the section's page
// and finds no dark pixel along any edge of either picture, where the paper
// shows through.
TEST(ProgramOutputs, AClearLogoAndAPictureWatermarkPrintWithoutADarkEdge)
{
    CKWTestTempFolder folder(L"pre");
    constexpr uint32_t kSide = 80;
    // The block fills the middle half each way: a quarter of the side is clear on every side.
    auto logo = [&](const std::string& colour) {
        std::string samples;
        for (uint32_t y = 0; y < kSide; ++y)
            for (uint32_t x = 0; x < kSide; ++x) {
                const bool block = x >= kSide / 4 && x < kSide * 3 / 4 && y >= kSide / 4 && y < kSide * 3 / 4;
                samples += block ? colour + '\xFF' : std::string("\x00\x00\x00\x00", 4);
            }
        return testpictures::PngFile(kSide, kSide, 8, true, samples);
    };
    const std::wstring blue = folder.Write(L"blue.png", logo(std::string("\x00\x00\xFF", 3)));
    const std::wstring red = folder.Write(L"red.png", logo(std::string("\xFF\x00\x00", 3)));
    const std::wstring token = L"Edges" + std::to_wstring(::GetCurrentProcessId());
    // No captions: only the pictures lie along their edges. The red logo's
    // section holds the picture the watermark names (the report's image 2).
    std::string xml = edtest::SectionsReportXml({{L"Logo", {blue}}, {L"Mark", {red}}});
    for (size_t at = xml.find("UseDesc='2'"); at != std::string::npos; at = xml.find("UseDesc='2'", at))
        xml.replace(at, 11, "UseDesc='0'");
    xml.insert(xml.find("<Tree>"), "<Watermarks><WatermarkItem Type='1' Name='mark' Place='7' SendToFront='1' "
                                   "PicID='2' Constrain='0' Unit='0' Width='1' Height='1'/></Watermarks>\n");
    const std::wstring report = folder.Write((token + L".otd").c_str(), xml);
    CProgramRun program;
    const std::wstring printedPath = OpenAndPrint(program, report, token, 4);
    ASSERT_FALSE(printedPath.empty());
    KeepForReaders("OT_PRINT_CHECK_DIR", printedPath, L"clear_edges.pages4.pdf");
    WriteFileBytes(folder.Path() + L"clear_edges.expect", "edges-clear 3 0000FF 0.25\nedges-clear 3 FF0000 0.25\n");
    KeepForReaders("OT_PRINT_CHECK_DIR", folder.Path() + L"clear_edges.expect", L"clear_edges.pages4.expect");
    ::DeleteFileW(printedPath.c_str());
}

// HTML into a folder that is not there, PDF into a folder nobody may write
// in (sysfs's root refuses new files even to root, for whom Wine's read-only
// attributes are no bar), and a report of photographs and a scan as PDF, HTML and
// PowerPoint over an earlier output of the name on a disk with room for half
// of the new one: each shows one
// message naming a file of the output and the reason, and nothing is
// written: an earlier output stays byte for byte, with no temporary file
// beside it. A name typed as "report.htm" keeps its extension.
TEST(ProgramOutputs, AGenerationThatCannotWriteSaysOnceWhichFileAndWhy)
{
    CKWTestTempFolder folder(L"gfl");
    CSmallVolume volume;
    ASSERT_TRUE(volume.Ready());
    const std::wstring token = L"Refused" + std::to_wstring(::GetCurrentProcessId());
    // Photographs, which the HTML pages and the presentation take as files of their own.
    std::vector<std::wstring> photographs;
    for (uint32_t seed : {1, 2, 3})
        photographs.push_back(
            folder.Write((L"photo" + std::to_wstring(seed) + L".jpg").c_str(),
                         testpictures::EncodeJpeg(testpictures::PhotoPixels(400, 300, seed, 30), 400, 300)));
    // And a scan, which they take as a PNG written as it is encoded: the
    // larger part of each output, so that the full disk stops it part-way.
    photographs.push_back(folder.Write(
        L"scan.tif", testpictures::TiffFile(640, 480, testpictures::PhotoPixels(640, 480, 4, 30), 0, false)));
    const std::wstring report =
        folder.Write(L"Photographs.otd", edtest::SectionsReportXml({{L"Photographs", photographs}}));
    CProgramRun program;
    ASSERT_TRUE(edtest::StartOnReport(program, report));
    // A folder of its own on the full disk for each output.
    const std::wstring full = volume.Path();
    for (const wchar_t* kind : {L"pdf", L"html", L"ppt"})
        ASSERT_TRUE(::CreateDirectoryW((full + kind).c_str(), nullptr));
    const struct {
        UINT command;
        std::wstring path;
        std::wstring named;  // the message names a file whose path starts so
        const wchar_t* reason;
        const wchar_t* screenshot;
        bool earlier;  // written first, then the disk filled but for half of its size
    } cases[] = {
        {kGenerateHtml, folder.Path() + L"missing\\report.html", folder.Path() + L"missing\\report.html",
         L"does not exist", L"editor_generation_missing_folder", false},
        {kGeneratePdf, L"Z:\\sys\\" + token + L".pdf", L"Z:\\sys\\" + token + L".pdf", L"read-only",
         L"editor_generation_read_only_folder", false},
        {kGeneratePdf, full + L"pdf\\report.pdf", full + L"pdf\\report.pdf", L"The disk is full.",
         L"editor_generation_full_disk_pdf", true},
        {kGenerateHtml, full + L"html\\report.html", full + L"html\\report", L"The disk is full.",
         L"editor_generation_full_disk_html", true},
        {kGeneratePpt, full + L"ppt\\report.ppt", full + L"ppt\\report", L"The disk is full.",
         L"editor_generation_full_disk_ppt", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        const std::wstring outputFolder = c.path.substr(0, c.path.rfind(L'\\') + 1);
        test_support::FolderSnapshot earlier;
        if (c.earlier) {
            volume.Free();
            ASSERT_TRUE(Generate(program, c.command, c.path));
            // Put in place only when whole: once there, the output is complete.
            ASSERT_TRUE(edtest::WaitFor([&] { return Exists(c.path) && !program.FindDialog(); }, 60000));
            earlier = test_support::TakeSnapshot(outputFolder);
            ASSERT_TRUE(volume.LeaveRoom(test_support::TotalBytes(earlier) / 2));
        }
        ASSERT_TRUE(Generate(program, c.command, c.path));
        if (c.earlier) {
            // The file dialog asks before a file of the name is replaced.
            HWND ask = program.WaitForDialogWith(IDYES);
            ASSERT_NE(nullptr, ask);
            edtest::ClickWindow(::GetDlgItem(ask, IDYES));
        }
        HWND message = nullptr;
        ASSERT_TRUE(edtest::WaitFor([&] {
            message = program.FindDialog();
            return message && CProgramRun::DialogText(message).find(L"\"" + c.named) != std::wstring::npos;
        }, 60000));
        const std::wstring text = CProgramRun::DialogText(message);
        EXPECT_NE(std::wstring::npos, text.find(c.reason)) << std::string(text.begin(), text.end());
        EXPECT_EQ(std::wstring::npos, text.find(L"~ot")) << "the file by its own name, not a temporary one's";
        test_support::WriteWindowScreenshot(message, c.screenshot);
        edtest::ClickWindow(::GetDlgItem(message, IDOK));
        ASSERT_TRUE(edtest::WaitFor([&] { return !::IsWindow(message); }));
        // Once the program is idle again no second message has come.
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(program.Main(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
        EXPECT_EQ(nullptr, program.FindDialog());
        if (c.earlier) {
            const test_support::FolderSnapshot after = test_support::TakeSnapshot(outputFolder);
            EXPECT_TRUE(after == earlier) << "before:\n"
                                          << test_support::Listing(earlier) << "after:\n"
                                          << test_support::Listing(after);
            volume.Free();
        } else {
            EXPECT_FALSE(Exists(c.path));
        }
    }
    EXPECT_FALSE(Exists(folder.Path() + L"missing"));

    const std::wstring html = folder.Path() + L"report.htm";
    ASSERT_TRUE(Generate(program, kGenerateHtml, html));
    ASSERT_TRUE(edtest::WaitFor([&] { return Exists(html) && !program.FindDialog(); }, 60000));
    EXPECT_TRUE(Exists(folder.Path() + L"report_data\\report.htm"));
    EXPECT_FALSE(Exists(folder.Path() + L"report.htm.html"));
}

// A section's page with a captioned picture and a note whose formatting runs
// end in ". " and in ".", printed and previewed: the preview's page is kept
// beside the printed job for the test command, which finds in it every mark
// of the printed page rendered at the preview's size, and the texts in the job.
TEST(ProgramOutputs, ThePreviewShowsTheCaptionAndEveryCharacterOfTheNote)
{
    CKWTestTempFolder folder(L"pvc");
    const std::string grey(160 * 100 * 3, '\x90');
    const std::wstring picture = folder.Write(L"Captioned pier.png", testpictures::PngFile(160, 100, 8, false, grey));
    const std::wstring token = L"Caption" + std::to_wstring(::GetCurrentProcessId());
    std::string xml = edtest::SectionsReportXml({{L"Pier", {picture}}});
    // A paragraph at 10 and one at 24 points, each of the runs "North pier. "
    // bold, "Cracks under the deck." plain and " Rust" and its line feed italic.
    std::string text, runs;
    for (const std::string size : {"10", "24"}) {
        text += "North pier. Cracks under the deck. Rust&#10;";
        for (const auto& run : {std::make_pair(12, 1), std::make_pair(22, 0), std::make_pair(6, 2)})
            runs += "<CharacterItem CharCount='" + std::to_string(run.first) + "' Style='" +
                    std::to_string(run.second) + "' Size='" + size + "' Num='0' Color='0'/>";
    }
    xml.insert(xml.rfind("</Leaf>"), "<TextNote>\n" + text + runs + "</TextNote>\n");
    const std::wstring report = folder.Write((token + L".otd").c_str(), xml);
    CProgramRun program;
    const std::wstring printedPath = OpenAndPrint(program, report, token, 3);
    ASSERT_FALSE(printedPath.empty());

    edtest::CPrintPreview preview(program, program.ActiveFrame());
    ASSERT_TRUE(preview.Open());
    ASSERT_TRUE(preview.Shows(3)) << "the preview opens at the current section's page";
    CRect paper(0, 0, 0, 0);
    const test_support::Pixels pixels = preview.Paper(paper);
    test_support::WriteWindowScreenshot(program.Main(), L"editor_preview_caption_and_note");
    preview.Close();
    ASSERT_GT(paper.Width(), 20) << "the preview shows the page";
    std::string ppm = "P6\n" + std::to_string(paper.Width()) + " " + std::to_string(paper.Height()) + "\n255\n";
    for (int y = paper.top; y < paper.bottom; ++y)
        for (int x = paper.left; x < paper.right; ++x)
            ppm += {char(GetRValue(pixels.At(x, y))), char(GetGValue(pixels.At(x, y))),
                    char(GetBValue(pixels.At(x, y)))};
    const std::wstring shownPage = folder.Write(L"preview.ppm", ppm);
    KeepForReaders("OT_PRINT_CHECK_DIR", printedPath, L"preview_caption.pages3.pdf");
    KeepForReaders("OT_PRINT_CHECK_DIR", shownPage, L"preview_caption.pages3.ppm");
    WriteFileBytes(folder.Path() + L"caption.expect",
                   "shown-in-preview 3 preview_caption.pages3.ppm\ntext 3 Captioned pier\n"
                   "text 3 North pier. Cracks under the deck. Rust\n");
    KeepForReaders("OT_PRINT_CHECK_DIR", folder.Path() + L"caption.expect", L"preview_caption.pages3.expect");
    ::DeleteFileW(printedPath.c_str());
}
