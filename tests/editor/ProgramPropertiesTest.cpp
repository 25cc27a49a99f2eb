// The report properties in the real program: the sheet's pages and the
// watermark dialog photographed, then a report generated with what they set.
// The test command reads the kept PDF file with poppler: the page size and
// the watermark text its name asks for.
#include "ProgramRun.h"

#include "files/TalXmlSerializer.h"
#include "framework/KWRasterLib.h"
#include "model/TalBaseDocument.h"
#include "model/TalPageTemplate.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "resources/ReportPropDialogs.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrintedPdf.h"
#include "tests/support/TestPictureFiles.h"
#include "tests/support/WindowScreenshot.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

using edtest::CProgramRun;

namespace {

constexpr int kSheetTab = 0x3020;
constexpr int kFileNameCombo = 0x47C;
constexpr UINT kGeneratePdf = 32837;

HWND Page(HWND sheet, int index)
{
    ::SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

size_t Count(const std::string& text, const char* what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(ProgramProperties, PagesAndWatermarkDialogSetWhatTheGeneratedPdfShows)
{
    CKWTestTempFolder folder(L"edr");
    const std::wstring logo = folder.Path() + L"logo.bmp";
    WriteFileBytes(logo, testpictures::FourBitBmp(64, 32, std::string(64 * 32, '\x40')));
    // Templates beside the program (and the shipped ones): a title page with
    // title, logo and date, and a page with heading, text and pictures.
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring data(self);
    data = data.substr(0, data.find_last_of(L'\\') + 1) + L"DATA\\";
    ::CreateDirectoryW(data.c_str(), nullptr);
    const auto cell = [](const char* array, int type, const char* box) {
        return std::string("<") + array + " Type='" + std::to_string(type) + "'><" + array + "Item " + box + "></" +
               array + "Item></" + array + ">\n";
    };
    const std::string head = "<?xml version='1.0' encoding='utf-8' ?>\n";
    WriteFileBytes(data + L"Plain.ott", head + "<TitleTemplate Title='Plain'>\n" +
                                            cell("TitleRectArray", 4, "Left='0.1' Right='0.9' Top='0.1' Bottom='0.2'") +
                                            cell("TitleRectArray", 9, "Left='0.3' Right='0.7' Top='0.3' Bottom='0.5'") +
                                            cell("TitleRectArray", 10, "Left='0.1' Right='0.9' Top='0.8' Bottom='0.9'") +
                                            "</TitleTemplate>\n");
    WriteFileBytes(data + L"Plain.otl", head + "<LeafTemplate>\n" +
                                            cell("LeafRectArray", 1, "Left='0.1' Right='0.9' Top='0.05' Bottom='0.1'") +
                                            cell("LeafRectArray", 2, "Left='0.1' Right='0.9' Top='0.1' Bottom='0.3'") +
                                            cell("LeafRectArray", 3, "Left='0.1' Right='0.9' Top='0.3' Bottom='0.9'") +
                                            "</LeafTemplate>\n");
    // Only these two go again: the folder holds the templates the build ships.
    struct CRemoveData {
        std::wstring folder;
        ~CRemoveData()
        {
            ::DeleteFileW((folder + L"Plain.ott").c_str());
            ::DeleteFileW((folder + L"Plain.otl").c_str());
        }
    } removeData{data};
    // A report whose heading uses that page and whose section holds a picture.
    const std::wstring report = folder.Path() + L"Photos.otd";
    {
        auto* plain = new CTalPageTemplate;
        plain->SetName(L"Plain");
        plain->AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.1, 0.05, 0.9, 0.1));
        plain->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.3, 0.9, 0.9));
        g_TemplateManager.AddPageTemplate(plain);
        const std::wstring photo = folder.Path() + L"photo.bmp";
        WriteFileBytes(photo, testpictures::FourBitBmp(120, 90, std::string(120 * 90, '\xA0')));
        CTalBaseDocument model;
        CKWRefPtr<CTalSection> heading = model.GetProperties().GetHeadingSection();
        heading->SetOwnTemplate(1);
        heading->SetTemplateName(L"Plain");
        CKWRefPtr<CTalSection> section(new CTalSection(heading.Get(), L"Photos"));
        heading->AppendSubSection(section.Get());
        CKWRefPtr<CTalPicture> picture(new CTalPicture(section.Get()));
        picture->SetPictureId(static_cast<int32_t>(g_rasterLib.GetPictureId(photo.c_str())));
        section->InsertPicture(0, picture.Get());
        CTalXmlSerializer serializer;
        serializer.SetTemplateFolder(data.c_str());
        ASSERT_TRUE(serializer.SaveDocument(&model, report.c_str(), nullptr));
    }
    edtest::SetStartPrefs(3, L"", false);
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));

    program.PostCommand(32795);
    HWND sheet = program.WaitForDialogWith(kSheetTab);
    ASSERT_NE(nullptr, sheet);
    EXPECT_EQ(L"Document Properties", CProgramRun::Text(sheet));
    test_support::WriteWindowScreenshot(sheet, L"program_properties_general");

    // A logo and the date on the title page.
    HWND title = Page(sheet, 1);
    ::PostMessageW(::GetDlgItem(title, IDC_TP_BROWSE), BM_CLICK, 0, 0);
    HWND files = program.WaitForDialogWith(kFileNameCombo);
    ASSERT_NE(nullptr, files);
    CProgramRun::AnswerFileDialog(files, logo);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.WaitForDialogWith(kFileNameCombo, 0); }));
    ::SendMessageW(::GetDlgItem(title, IDC_TP_INSERT_DATE), BM_SETCHECK, BST_CHECKED, 0);
    test_support::WriteWindowScreenshot(sheet, L"program_properties_title_page");

    // A text watermark and one in front, all shown in the preview.
    HWND marks = Page(sheet, 2);
    for (const wchar_t* text : {L"CONFIDENTIAL", L"DRAFT"}) {
        ::PostMessageW(::GetDlgItem(marks, IDC_WMS_ADD), BM_CLICK, 0, 0);
        HWND dialog = program.WaitForDialogWith(IDC_WM_NAME);
        ASSERT_NE(nullptr, dialog);
        ::SetDlgItemTextW(dialog, IDC_WM_TEXT, text);
        if (text[0] == L'D') {
            ::SendMessageW(::GetDlgItem(dialog, IDC_WM_SEND_TO_FRONT), BM_CLICK, 0, 0);
            ::SendMessageW(::GetDlgItem(dialog, IDC_WM_PLACE_FIRST + 4), BM_CLICK, 0, 0);
            test_support::WriteWindowScreenshot(dialog, L"program_watermark_properties");
        }
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(edtest::WaitFor([&] { return !program.WaitForDialogWith(IDC_WM_NAME, 0); })) << text;
    }
    ::SendMessageW(::GetDlgItem(marks, IDC_WMS_SHOW_ALL), BM_CLICK, 0, 0);
    test_support::WriteWindowScreenshot(sheet, L"program_properties_watermarks");
    ::SendMessageW(::GetDlgItem(Page(sheet, 3), IDC_GR_TITLE_PAGE), BM_SETCHECK, BST_CHECKED, 0);
    test_support::WriteWindowScreenshot(sheet, L"program_properties_generate");

    // A custom 8.5 x 11 in page.
    HWND paper = Page(sheet, 4);
    ::SendMessageW(::GetDlgItem(paper, IDC_PG_CUSTOM), BM_CLICK, 0, 0);
    ::SetDlgItemTextW(paper, IDC_PG_WIDTH, L"8.5in");
    ::SetDlgItemTextW(paper, IDC_PG_HEIGHT, L"11in");
    test_support::WriteWindowScreenshot(sheet, L"program_properties_page");
    ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // Generated with contents, then without them ("Report Properties..." opens "Generate Report").
    std::string pdfs[2];
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            program.PostCommand(32854);
            sheet = program.WaitForDialogWith(kSheetTab);
            ASSERT_NE(nullptr, sheet);
            HWND generate = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            EXPECT_EQ(BST_CHECKED, ::SendMessageW(::GetDlgItem(generate, IDC_GR_TITLE_PAGE), BM_GETCHECK, 0, 0));
            ::SendMessageW(::GetDlgItem(generate, IDC_GR_CONTENTS), BM_CLICK, 0, 0);
            ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
            ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
        }
        const std::wstring path = folder.Path() + L"Report" + std::to_wstring(round) + L".pdf";
        program.PostCommand(kGeneratePdf);
        HWND save = program.WaitForDialogWith(kFileNameCombo);
        ASSERT_NE(nullptr, save);
        CProgramRun::AnswerFileDialog(save, path);
        ASSERT_TRUE(edtest::WaitFor([&] {
            pdfs[round] = ReadFileBytes(path);
            return pdfs[round].find("%%EOF") != std::string::npos && !program.FindDialog();
        }));
        if (HWND left = program.FindDialog()) {
            test_support::WriteWindowScreenshot(left, L"debug_left");
            std::wcout << CProgramRun::Text(left) << L" / " << CProgramRun::DialogText(left) << std::endl;
        }
        KeepForReaders("OT_PDF_CHECK_DIR", path,
                       round == 0 ? L"properties.size-612x792.text-CONFIDENTIAL.pdf" : L"properties_no_contents.pdf");
    }
    EXPECT_NE(std::string::npos, pdfs[0].find("/MediaBox [0 0 612 792]"));
    EXPECT_EQ(2u, Count(pdfs[0], "/Subtype /Image")) << "the logo and the section's picture";
    EXPECT_EQ(pdftest::PageCount(pdfs[0]) - 1, pdftest::PageCount(pdfs[1])) << "the contents page is gone";
}
