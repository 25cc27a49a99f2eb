// Printing and preview on the printer's paper: the pages composed for a
// Letter landscape sheet keep every line of a note inside its box, and the
// real program, with Letter landscape chosen in its print set-up, previews
// and prints pages of that paper on the PDF printer.
#include "TestApplication.h"
#include "ProgramRun.h"
#include "UserInput.h"

#include "document/TalDocument.h"
#include "export/ExportObjectData.h"
#include "export/TalObjExport.h"
#include "export/TalPageExport.h"
#include "model/TalPageTemplate.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrintedPdf.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using edtest::CProgramRun;

namespace {

// Letter landscape, in tenths of a millimetre.
constexpr int32_t kLetterLong = 2794;
constexpr int32_t kLetterShort = 2159;

// Paragraphs of several lines each, pages of them.
std::wstring LongNote()
{
    std::wstring text;
    for (int paragraph = 1; paragraph <= 40; ++paragraph) {
        text += L"Paragraph " + std::to_wstring(paragraph) + L":";
        for (int sentence = 0; sentence < 4; ++sentence)
            text += L" The survey boat left the harbour before dawn and measured the tide along the coast.";
        text += L"\n";
    }
    return text;
}

// A report composed standalone (no window shows its note), with the print
// interface a new report gets.
class CPaperReport : public CTalDocument {
public:
    CPaperReport() { CreatePrintIFace(); }
};

}  // namespace

TEST(PrinterPaper, NoteLinesStayInsideTheirBoxesOnLetterLandscape)
{
    CTestApplication& app = TestApplication();
    app.InstallServices();
    const int32_t width = app.m_paperWidth, height = app.m_paperHeight;
    app.m_paperWidth = kLetterLong;
    app.m_paperHeight = kLetterShort;
    CPaperReport report;
    CTalDocument* document = &report;
    CKWRefPtr<CTalSection> heading = document->GetProperties().GetHeadingSection();
    // A page of a heading and one text cell (the manager keeps it).
    if (!g_TemplateManager.FindPageTemplate(L"PaperText")) {
        auto* page = new CTalPageTemplate;
        page->SetName(L"PaperText");
        page->AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.08, 0.04, 0.92, 0.09));
        page->AddCell(CTalTemplate::kCellText, CKWDoubleRect(0.08, 0.12, 0.92, 0.95));
        g_TemplateManager.AddPageTemplate(page);
    }
    heading->SetOwnTemplate(1);
    heading->SetTemplateName(L"PaperText");
    const std::wstring text = LongNote();
    heading->GetTextNote()->SetText(text.c_str());
    ASSERT_TRUE(document->ComposePages(true));
    size_t lines = 0;
    for (size_t number = 1; number <= document->GetPageCount(); ++number) {
        for (const TalObjExport* object : document->GetPage(number)->GetObjects()) {
            if (object->GetKind() != kExportText)
                continue;
            const auto& block = static_cast<const ExportTextData&>(*object->GetData());
            const CKWDoubleRect box = block.GetRect();
            const double boxWidth = (box.right - box.left) * kLetterLong;
            const double boxHeight = (box.bottom - box.top) * kLetterShort;
            for (const CKWTextLine& line : block.GetLines().m_lines) {
                ++lines;
                // A line broken after a blank ends with the blank's width,
                // which shows no ink: about a millimetre at the note's size.
                const bool blankEnd = line.m_end > line.m_start && text[line.m_end - 1] == L' ';
                EXPECT_LE(line.m_right, boxWidth + (blankEnd ? 12 : 0.5)) << "page " << number;
                EXPECT_LE(line.m_bottom, boxHeight + 0.5) << "page " << number;
                EXPECT_GE(line.m_left, -0.5) << "page " << number;
                EXPECT_GE(line.m_top, -0.5) << "page " << number;
            }
        }
    }
    EXPECT_GT(lines, 100u) << "every paragraph laid out, in several lines";
    app.m_paperWidth = width;
    app.m_paperHeight = height;
}

namespace {

// The print set-up dialog's paper size box, the name it gives Letter paper,
// its landscape button.
constexpr int kPaperSizeBox = 0x471;
constexpr wchar_t kLetter[] = L"US Letter";
constexpr int kLandscape = 0x421;
constexpr int kTextPanel = 1159;
constexpr int kViewId = 0xE900;
constexpr int kFileNameCombo = 0x47C;
constexpr int kMainBar = 59952;
constexpr int kPrintPreview = 57609;
// The preview's tool bar and its close button.
constexpr int kPreviewBar = 0xE800;
constexpr int kPreviewClose = 0xE300;

// The print set-up dialog, asked for by its keys (Ctrl+Shift+P); null when
// it does not come.
HWND PrintSetUpByKeys(const CProgramRun& program, DWORD timeoutMs = edtest::kProgramWaitMs)
{
    if (!edtest::ReadyForKeys(program))
        return nullptr;
    edtest::PressKeys({{VK_CONTROL, true}, {VK_SHIFT, true}, {'P', true}, {'P', false}, {VK_SHIFT, false}, {VK_CONTROL, false}});
    return program.WaitForDialogWith(kPaperSizeBox, timeoutMs);
}

}  // namespace

TEST(ProgramPaper, LetterLandscapeFromPrintSetUpIsThePaperOfThePreviewAndThePrintedPages)
{
    edtest::SetStartPrefs(3, L"");
    CProgramRun program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    ::SetForegroundWindow(program.Main());
    HWND frame = program.ActiveFrame();

    // Print set-up (Ctrl+Shift+P): Letter, landscape.
    HWND setup = PrintSetUpByKeys(program);
    ASSERT_NE(nullptr, setup);
    HWND paper = ::GetDlgItem(setup, kPaperSizeBox);
    // The box opened and closed by two clicks keeps the focus; the arrow
    // keys then walk its list.
    edtest::ClickWindow(paper);
    edtest::ClickWindow(paper);
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(paper) == paper; }));
    edtest::TapKey(VK_HOME);
    // Each key is taken before the next: the list has not reached Letter, so
    // Down always shows another size.
    for (int step = 0; step < 100 && CProgramRun::Text(paper) != kLetter; ++step) {
        const std::wstring shown = CProgramRun::Text(paper);
        edtest::TapKey(VK_DOWN);
        ASSERT_TRUE(edtest::WaitFor([&] { return CProgramRun::Text(paper) != shown; }))
            << "the list ends at " << std::string(shown.begin(), shown.end()) << " without Letter";
    }
    ASSERT_EQ(kLetter, CProgramRun::Text(paper));
    edtest::ClickWindow(::GetDlgItem(setup, kLandscape));
    ASSERT_TRUE(edtest::WaitFor([&] {
        return ::SendMessageW(::GetDlgItem(setup, kLandscape), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }));
    test_support::WriteWindowScreenshot(setup, L"editor_print_setup_letter_landscape");
    edtest::ClickWindow(::GetDlgItem(setup, IDOK));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // A note of several pages.
    HWND panel = CProgramRun::FindById(frame, kTextPanel);
    edtest::ClickClient(panel, POINT{30, 20});
    ASSERT_TRUE(edtest::WaitFor([&] { return edtest::FocusIn(panel) == panel; }));
    for (int paragraph = 0; paragraph < 12; ++paragraph) {
        edtest::TypeText(L"The tide was measured along the coast at dawn and again at dusk.");
        edtest::TapKey(VK_RETURN);
    }

    // The preview shows the landscape pages.
    HWND view = CProgramRun::FindById(frame, kViewId);
    // From its button, once the program has taken the typed keys: a bar
    // measured while it still works through them may not be where it ends.
    // Keys are taken in order, so the print set-up asked for after them opens
    // only then; on a loaded machine that can take a minute.
    setup = PrintSetUpByKeys(program, 120000);
    ASSERT_NE(nullptr, setup) << "the typed keys were not taken";
    ::PostMessageW(setup, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    ASSERT_TRUE(edtest::ClickBarCommand(CProgramRun::FindById(program.Main(), kMainBar), kPrintPreview));
    if (!edtest::WaitFor([&] { return !::IsWindowVisible(view); })) {
        // What the screen showed instead, for the one who reads the failure.
        test_support::WriteWindowScreenshot(::GetDesktopWindow(), L"editor_print_preview_not_shown");
        FAIL() << "the preview did not show";
    }
    test_support::WriteWindowScreenshot(program.Main(), L"editor_print_preview_letter_landscape");
    HWND previewBar = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        previewBar = CProgramRun::FindById(program.Main(), kPreviewBar);
        return previewBar && edtest::BarCommandIndex(previewBar, kPreviewClose) >= 0;
    }));
    edtest::ClickBarCommand(previewBar, kPreviewClose);
    ASSERT_TRUE(edtest::WaitFor([&] { return ::IsWindowVisible(view) != FALSE; }));

    // Saved under a name of its own (Ctrl+S), which the printer's job takes.
    CKWTestTempFolder folder(L"ltr");
    const std::wstring token = L"Letter" + std::to_wstring(::GetCurrentProcessId());
    edtest::PressChord(VK_CONTROL, 'S');
    HWND save = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, save);
    ASSERT_TRUE(edtest::AnswerFileDialogByKeys(save, folder.Path() + token + L".otd"));
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog() && CProgramRun::Text(frame) == token; }));

    // Printed (Ctrl+P, OK): 11 by 8.5 inches, 792 by 612 points.
    const std::set<std::wstring> before = pdftest::PrintedFiles();
    ASSERT_TRUE(edtest::PrintByKeys(program));
    std::wstring path;
    const std::string printed = pdftest::WaitForPrinted(token, before, path);
    ASSERT_FALSE(printed.empty()) << "no PDF of the job in the printer's folder";
    int width = 0, height = 0;
    ASSERT_TRUE(pdftest::PrintedPageSize(printed, width, height));
    EXPECT_EQ(792, width);
    EXPECT_EQ(612, height);
    const size_t pages = pdftest::PrintedPageCount(printed);
    EXPECT_GE(pages, 3u) << "a title page, the contents and the note";
    KeepForReaders("OT_PRINT_CHECK_DIR", path, (L"letter.size-792x612.pages" + std::to_wstring(pages) + L".pdf").c_str());
    ::DeleteFileW(path.c_str());
}
