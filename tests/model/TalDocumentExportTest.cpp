// Page composition and "Generate Report": the document's page list, the print
// interface over it, and the dispatch from the three commands through the
// export file dialog (answered by the test) to the PDF, HTML and PowerPoint
// writers, each output checked by its signature.
#include "TalDocumentExportFixture.h"
#include "tests/export/html/HtmlLinkWalker.h"
#include "tests/framework/KWRasterTestImages.h"

#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "model/TalCommander.h"
#include "model/TalImageFormat.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "document/TalPrintIFace.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/PrintInfo.h"

#include <gtest/gtest.h>

using namespace taldoc;

namespace {

const char kNoPage[] = "There is no page for report generating!";

}  // namespace

TEST_F(TalDocumentExport, AReportWithoutPagesComposesNoneAndSaysSo)
{
    RemoveTemplates();
    TypeNote(*document, heading.Get(), L"A note that no template places");
    EXPECT_FALSE(document->ComposePages(false));
    EXPECT_EQ(0u, document->GetPageCount());
    EXPECT_EQ(0, document->GetCurrentStartPage());
    EXPECT_EQ(nullptr, document->GetPage(1));
    ASSERT_EQ(1u, app->messages.size());
    EXPECT_EQ(std::wstring(kNoPage, kNoPage + sizeof kNoPage - 1), app->messages[0]);
}

TEST_F(TalDocumentExport, PagesComeInTheOrderTitleContentsSections)
{
    Properties().m_insertTitlePage = 1;
    Properties().m_insertContents = 0;
    ASSERT_TRUE(document->ComposePages(false)) << "a title page alone is a report";
    ASSERT_EQ(1u, document->GetPageCount());
    EXPECT_TRUE(app->messages.empty());

    FillReport();
    ASSERT_TRUE(document->ComposePages(true));
    const size_t count = document->GetPageCount();
    ASSERT_GE(count, 3u);
    EXPECT_EQ(2, document->GetCurrentStartPage()) << "the heading section's first page follows the title page";
    EXPECT_NE(nullptr, document->GetPage(count));
    EXPECT_EQ(nullptr, document->GetPage(count + 1));
    EXPECT_EQ(nullptr, document->GetPage(0));

    Properties().m_insertContents = 1;
    ASSERT_TRUE(document->ComposePages(false));
    EXPECT_GT(document->GetPageCount(), count) << "the contents page comes in";
    EXPECT_GE(document->GetCurrentStartPage(), 3);

    document->ClearPages();
    EXPECT_EQ(0u, document->GetPageCount());
    EXPECT_EQ(0, document->GetCurrentStartPage());
}

TEST_F(TalDocumentExport, ThePrintInterfaceComposesAndScalesForTheDevice)
{
    auto* printIFace = dynamic_cast<CTalPrintIFace*>(document->GetPrintIFace());
    ASSERT_NE(nullptr, printIFace);
    EXPECT_EQ(210.0, printIFace->GetPrintableWidth());
    EXPECT_EQ(297.0, printIFace->GetPrintableHeight());
    const CRect size = printIFace->GetSizeRect();
    EXPECT_EQ(2000, size.right);
    EXPECT_EQ(3000, size.bottom);
    EXPECT_EQ(1, printIFace->GetPreviewStartPage());

    FillReport();
    Properties().m_insertContents = 0;
    CPrintInfo info;
    printIFace->OnPreparePrinting(&info);
    EXPECT_EQ(1u, info.GetMinPage());
    EXPECT_EQ(document->GetPageCount(), info.GetMaxPage());
    EXPECT_EQ(2, printIFace->GetPreviewStartPage()) << "the preview opens at the current section";

    CDC dc;
    HDC screen = ::GetDC(nullptr);
    ASSERT_TRUE(dc.Attach(screen));
    printIFace->OnBeginPrinting(&dc, &info, info.m_pPD);
    EXPECT_EQ(3u, info.m_nCurPage);
    EXPECT_EQ(::GetDeviceCaps(screen, HORZRES), printIFace->GetSizeRect().right);
    EXPECT_TRUE(printIFace->PreparePage(&dc, &info));
    EXPECT_DOUBLE_EQ(100.0 / ::GetDeviceCaps(screen, LOGPIXELSX), printIFace->GetScaleX());
    EXPECT_DOUBLE_EQ(100.0 / ::GetDeviceCaps(screen, LOGPIXELSY), printIFace->GetScaleY());
    info.m_bPreview = TRUE;
    EXPECT_TRUE(printIFace->PreparePage(&dc, &info));
    EXPECT_EQ(1.0, printIFace->GetScaleX()) << "the preview draws unscaled";
    dc.Detach();
    ::ReleaseDC(nullptr, screen);

    // Without pages the range is 1..0.
    RemoveTemplates();
    app->messages.clear();
    CPrintInfo empty;
    printIFace->OnPreparePrinting(&empty);
    EXPECT_EQ(0u, empty.GetMaxPage());
    EXPECT_EQ(1u, app->messages.size()) << "the report says it has no page";
}

TEST_F(TalDocumentExport, EachCommandWritesItsFormatAndRemembersIt)
{
    FillReport();
    // A logo whose link its report refused: each generation names it as refused.
    const uint32_t logo = g_rasterLib.AddFilelessPicture(KWPictureState::Missing);
    g_rasterLib.SetPictureSource(logo, L"\\\\server\\share\\l.jpg", false);
    document->GetProperties().m_logoPictureId = static_cast<int32_t>(logo);
    const std::wstring told =
        kKWPictureProblemsHeading + std::wstring(L"\nThe picture file name \"\\\\server\\share\\l.jpg\" is refused.");
    const struct {
        UINT command;
        const wchar_t* name;
        const wchar_t* extension;
        int32_t format;
        const char* signature;
    } cases[] = {
        {ID_TAL_GENERATE_PDF, L"Report", L".pdf", 128, "%PDF-"},
        {ID_TAL_GENERATE_HTML, L"Site", L".html", 32, "<HTML>"},
        {ID_TAL_GENERATE_PPT, L"Slides", L".ppt", 64, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"},
    };
    for (const auto& c : cases) {
        document->opened.clear();
        app->messages.clear();
        app->prefs.SetDefExportFormat(0);
        const std::wstring typed = folder + c.name;
        ASSERT_TRUE(Generate(c.command, typed)) << c.command;
        const std::wstring path = typed + c.extension;
        EXPECT_EQ(std::vector<std::wstring>{path}, document->opened) << "the written file is opened";
        EXPECT_EQ(c.format, app->prefs.GetDefExportFormat());
        const std::string bytes = ReadFileBytes(path);
        EXPECT_EQ(0u, bytes.find(c.signature)) << c.command;
        EXPECT_EQ(std::vector<std::wstring>{told}, app->messages) << c.command;
    }
    EXPECT_NE(std::string::npos, ReadFileBytes(folder + L"Report.pdf").find("%%EOF"));
    EXPECT_NE(std::string::npos, ReadFileBytes(folder + L"Site.html").find("<frameset"));
    EXPECT_TRUE(FileExists(folder + L"Site_data")) << "the HTML pages go beside the frameset";
}

TEST_F(TalDocumentExport, CancellingTheDialogsWritesNothing)
{
    FillReport();
    app->prefs.SetDefExportFormat(0);
    ASSERT_TRUE(Generate(ID_TAL_GENERATE_PDF, L""));
    EXPECT_TRUE(document->opened.empty());
    EXPECT_EQ(0, app->prefs.GetDefExportFormat());

    app->prefs.SetShowExportDialog(true);
    app->exportOptionsOk = false;
    ASSERT_TRUE(Generate(ID_TAL_GENERATE_HTML, folder + L"Cancelled"));
    EXPECT_EQ(1, app->exportDialogRuns);
    EXPECT_FALSE(FileExists(folder + L"Cancelled.html"));
    EXPECT_EQ(0, app->prefs.GetDefExportFormat());
}

TEST_F(TalDocumentExport, ChangedExportOptionsMarkTheDocumentAndReloadGreyPictures)
{
    FillReport();
    document->SetModifiedFlag(FALSE);
    app->prefs.SetShowExportDialog(true);
    app->exportOptionsChanged = true;
    app->exportGrayscaleChanged = true;
    views->log.clear();
    ASSERT_TRUE(Generate(ID_TAL_GENERATE_PPT, folder + L"Options"));
    EXPECT_EQ(1, app->exportDialogRuns);
    EXPECT_TRUE(document->IsModified());
    EXPECT_NE(views->log.end(), std::find(views->log.begin(), views->log.end(), "grayscale images 0"));
    EXPECT_TRUE(FileExists(folder + L"Options.ppt"));
}

TEST_F(TalDocumentExport, AFailedWriterIsReportedAndItsFileNotOpened)
{
    RemoveTemplates();
    const struct {
        UINT command;
        const wchar_t* name;
        int32_t format;
    } cases[] = {
        {ID_TAL_GENERATE_PPT, L"Empty", 64},
        {ID_TAL_GENERATE_PDF, L"Empty", 128},
        {ID_TAL_GENERATE_HTML, L"Empty", 32},
    };
    for (const auto& c : cases) {
        app->messages.clear();
        app->prefs.SetDefExportFormat(0);
        ASSERT_TRUE(Generate(c.command, folder + c.name));
        EXPECT_TRUE(document->opened.empty()) << "nothing is opened after a failure: " << c.command;
        EXPECT_EQ(std::vector<std::wstring>{std::wstring(kNoPage, kNoPage + sizeof kNoPage - 1)}, app->messages);
        EXPECT_EQ(c.format, app->prefs.GetDefExportFormat()) << "the chosen format is remembered all the same";
    }
    EXPECT_FALSE(document->WritePowerPoint((folder + L"Direct.ppt").c_str()));
    EXPECT_FALSE(FileExists(folder + L"Direct.ppt"));
}

TEST_F(TalDocumentExport, APdfNameOutsideTheAnsiCodePageIsWrittenAsChosen)
{
    FillReport();
    const std::wstring path = folder + L"\u041e\u0442\u0447\u0451\u0442 \u20ac.pdf";
    ASSERT_TRUE(document->WritePdf(path.c_str()));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(std::vector<std::wstring>{path}, document->opened);
}

TEST(ImageFormatToRasterFlag, MapsTheStoredFormatIndices)
{
    const struct {
        int32_t index;
        uint32_t flag;
    } cases[] = {
        {0, 0},        {1, 0x10000}, {2, 0x20000}, {3, 0x40000}, {4, 0x50000}, {5, 0x60000},
        {6, 0x80000},  {7, 0x90000}, {8, 0xA0000}, {9, 0},       {-1, 0},      {1000, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.flag, ImageFormatToRasterFlag(c.index)) << c.index;
}

// The main road: a new document from the default template, pictures added to
// its sections, a text note and a watermark; saved, reopened and generated in
// all three formats, each output checked by a reader of its own.
TEST_F(TalDocumentExport, MainRoadFromANewDocumentToThreeReports)
{
    CTalTemplate* page = heading->GetPageTemplate();
    ASSERT_NE(nullptr, page);
    page->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.55, 0.9, 0.9));

    FillReport();
    CKWRefPtr<CTalSection> findings = heading->GetSubSection(0);
    ASSERT_TRUE(findings);
    for (int i = 0; i < 2; ++i) {
        const std::wstring photo = folder + L"photo" + std::to_wstring(i) + L".bmp";
        const std::vector<uint8_t> bitmap = rastertest::MakeBitmapFile(64 + 16 * i, 48);
        ASSERT_TRUE(WriteFileBytes(photo, std::string(bitmap.begin(), bitmap.end())));
        CKWRefPtr<CTalPicture> picture(new CTalPicture);
        picture->SetPictureId(static_cast<int32_t>(g_rasterLib.GetPictureId(photo.c_str())));
        CTalPictureList pictures;
        pictures.push_back(picture);
        ASSERT_TRUE(document->GetCommander().InsertPictures(i ? findings.Get() : heading.Get(), pictures, 0, true));
    }
    CTalWatermark* stamp = new CTalWatermark;
    stamp->m_kind = CTalWatermark::kText;
    stamp->m_text = L"DRAFT";
    Properties().AddWatermark(stamp);

    const std::wstring saved = folder + L"Road.otd";
    ASSERT_TRUE(document->OnSaveDocument(saved.c_str()));
    document->OnCloseDocument();
    document = app->OpenDocument(saved.c_str());
    ASSERT_NE(nullptr, document);
    views = static_cast<CFakeDocumentViews*>(document->GetFrame());
    heading = document->GetProperties().GetHeadingSection();
    ASSERT_EQ(1u, document->GetProperties().GetWatermarks().size());
    ASSERT_EQ(1, heading->GetSubSectionCount());

    ASSERT_TRUE(Generate(ID_TAL_GENERATE_PDF, folder + L"Road"));
    ASSERT_TRUE(Generate(ID_TAL_GENERATE_HTML, folder + L"Road"));
    ASSERT_TRUE(Generate(ID_TAL_GENERATE_PPT, folder + L"Road"));
    EXPECT_TRUE(app->messages.empty());

    const std::string pdf = ReadFileBytes(folder + L"Road.pdf");
    EXPECT_EQ(0u, pdf.find("%PDF-1.3"));
    EXPECT_NE(std::string::npos, pdf.find("/Subtype /Image"));
    KeepForReaders("OT_PDF_CHECK_DIR", folder + L"Road.pdf", L"mainroad.pdf");

    const htmltest::LinkReport links = htmltest::WalkLinks(folder + L"Road.html");
    EXPECT_GT(links.references, 4u);
    EXPECT_TRUE(links.broken.empty()) << (links.broken.empty() ? std::string() : links.broken.front());

    EXPECT_EQ(0u, ReadFileBytes(folder + L"Road.ppt").find("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
    KeepForReaders("OT_PPT_CHECK_DIR", folder + L"Road.ppt", L"mainroad.ppt");
}
