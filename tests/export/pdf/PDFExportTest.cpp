// A report composed by the export composition and written as a whole file:
// structure, streams, fonts, images, failures, and the progress reported.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "export/ComposeExportPages.h"
#include "export/TalExportDocIFace.h"
#include "export/pdf/PDFWriter.h"
#include "export/pdf/TrueTypeFont.h"
#include "framework/KWGdiPlusStartup.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"
#include "tests/export/CountingProgress.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/support/TestJpegs.h"
#include "tests/export/pdf/PDFTestSupport.h"

namespace {

class FakeDocument : public CTalExportDocIFace {
public:
    explicit FakeDocument(CTalDocProperties& properties) : m_properties(properties) {}
    CTalDocProperties& GetExportProperties() override { return m_properties; }
    bool ComposeExportPages(bool) override { return false; }  // the report has no page
    const TalPageList& GetExportPages() const override { return m_pages; }

private:
    CTalDocProperties& m_properties;
    TalPageList m_pages;
};

class PDFExport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartupGdiPlus()); }

    uint32_t Picture(const wchar_t* name, const std::string& bytes)
    {
        const std::wstring path = m_folder.Path() + name;
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return g_rasterLib.GetPictureId(path.c_str());
    }

    CExportTestFolder m_folder;
    CTalDocProperties m_properties;
};

TEST_F(PDFExport, AComposedReportBecomesAValidFile)
{
    std::map<uint32_t, std::string> images;
    BuildVariedReport(m_properties, m_folder.Path(), images);
    CTestPages pages;
    int start = 0;
    ASSERT_TRUE(ComposeExportPages(m_properties, pages.List(), false, nullptr, &start));
    ASSERT_GE(pages.Size(), 4u);
    pdftest::TempPath path;
    CountingProgress progress(1000);
    PDFWriter writer;
    ASSERT_TRUE(writer.ExportPages(pages.List(), m_properties, path.c_str(), &progress));

    pdftest::Document doc(ReadFileBytes(path.Path()));
    ASSERT_TRUE(doc.Valid());
    EXPECT_EQ(0u, doc.Bytes().find("%PDF-1.3\r\n"));
    const uint32_t n = static_cast<uint32_t>(pages.Size());
    EXPECT_EQ(0u, doc.MisplacedObject());
    EXPECT_EQ(std::to_string(n), doc.Entry(n + 4, "/Count"));

    // Every page stream inflates; the title page shows the title, in its font.
    std::string allText;
    for (uint32_t i = 0; i < n; ++i) {
        const std::string content = pdftest::Inflate(doc.StreamData(2 * n + 5 + 2 * i));
        ASSERT_NE("<inflate failed>", content) << i;
        for (const std::string& shown : pdftest::ShownPerTextObject(content))
            allText += shown;
    }
    for (const wchar_t* text : {L"Survey of the North Shore", L"CONFIDENTIAL", L"Alpha 7", L"Paragraph 30", L"R&D <north>"})
        EXPECT_NE(std::string::npos, allText.find(pdftest::HexUnits(text))) << Narrow(text);

    // Fonts: every font with codes carries its subset.
    const uint32_t firstFont = 4 * n + 5;
    const std::vector<PDFFontRecord>& fonts = writer.GetFontRecords();
    std::set<std::wstring> faces;
    for (uint32_t j = 0; j < fonts.size(); ++j) {
        const uint32_t b = firstFont + 8 * j;
        faces.insert(static_cast<const wchar_t*>(fonts[j].name));
        if (fonts[j].codes.empty()) {
            EXPECT_EQ('f', doc.Xref()[b].kind);
            continue;
        }
        EXPECT_EQ("/Identity-H", doc.Entry(b, "/Encoding"));
        const std::string file = pdftest::Inflate(doc.StreamData(b + 5));
        TrueTypeFont subset;
        EXPECT_TRUE(subset.LoadFromBytes(reinterpret_cast<const uint8_t*>(file.data()), file.size())) << j;
        EXPECT_TRUE(subset.HasOutlines()) << j;
        EXPECT_EQ(std::to_string(file.size()), doc.Entry(b + 5, "/Length1"));
    }
    EXPECT_EQ(1u, faces.count(L"Times New Roman"));
    EXPECT_EQ(1u, faces.count(L"Arial"));

    // Images: the photograph goes in as it is.
    const std::vector<PDFImageRecord>& records = writer.GetImageRecords();
    const uint32_t firstImage = firstFont + 8 * static_cast<uint32_t>(fonts.size());
    int copies = 0;
    for (uint32_t k = 0; k < records.size(); ++k) {
        if (images[records[k].key >> 3] == "photo0.jpg" && records[k].rotation == 0 && !records[k].grayscale) {
            ++copies;
            EXPECT_EQ(ReadFileBytes(m_folder.Path() + L"photo0.jpg") + "\r\n", doc.StreamData(firstImage + 2 * k));
        }
    }
    EXPECT_EQ(1, copies);
    EXPECT_EQ(firstImage + 2 * records.size(), doc.Size());

    // Progress moves forwards only and ends at the top of the range.
    ASSERT_FALSE(progress.positions.empty());
    EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
    EXPECT_EQ(1000, progress.positions.back());
}

TEST_F(PDFExport, APictureShownTwiceOnAPageIsWrittenOnce)
{
    const std::string jpeg = testpictures::EncodeJpeg(std::string(64, '\x80'), 8, 8, TJPF_GRAY);
    const uint32_t id = Picture(L"grey.jpeg", jpeg);
    CTestPages pages;
    pages.List().push_back(new TalPageExport(kSectionPage, L"twice", nullptr));
    pages[0]->AddObject(new TalObjExport(id, CKWDoubleRect(0.1, 0.1, 0.4, 0.4), 0, false));
    pages[0]->AddObject(new TalObjExport(id, CKWDoubleRect(0.5, 0.5, 0.9, 0.9), 0, false));
    pdftest::TempPath path;
    PDFWriter writer;
    ASSERT_TRUE(writer.ExportPages(pages.List(), m_properties, path.c_str(), nullptr));
    pdftest::Document doc(ReadFileBytes(path.Path()));
    ASSERT_TRUE(doc.Valid());
    EXPECT_EQ(1u, writer.GetImageRecords().size());
    EXPECT_EQ((std::vector<uint32_t>{0, 0}), writer.GetPageRecords()[0].images);
    // A dictionary names each key once, so the page's resources list the image once.
    const uint32_t image = 9 + 8 * static_cast<uint32_t>(writer.GetFontRecords().size());
    const std::string name = "/I" + std::to_string(PDFImageRecordKey(id, 0, false));
    EXPECT_NE(std::string::npos,
              doc.Object(6).find("/XObject\r\n<<\r\n" + name + " " + std::to_string(image) + " 0 R\r\n>>\r\n"));
    const std::string content = pdftest::Inflate(doc.StreamData(7));
    EXPECT_EQ(2, std::count_if(content.begin(), content.end(), [](char c) { return c == 'D'; }));
    EXPECT_EQ(jpeg + "\r\n", doc.StreamData(image));
    EXPECT_EQ("/DeviceGray", doc.Entry(image, "/ColorSpace"));
}

// No page, a folder that is not there: no file, and no progress shown.
TEST_F(PDFExport, AReportThatCannotBeWrittenLeavesNoFile)
{
    pdftest::TempPath path;
    EXPECT_FALSE(PDFWriter().ExportPages(TalPageList(), m_properties, path.c_str(), nullptr));
    EXPECT_FALSE(FileExistsAt(path.Path()));
    FakeDocument document(m_properties);
    CountingProgress progress(1000);
    EXPECT_FALSE(PDFWriter().Export(document, path.c_str(), &progress));
    EXPECT_FALSE(FileExistsAt(path.Path()));
    EXPECT_TRUE(progress.positions.empty());
    CTestPages pages;
    pages.List().push_back(new TalPageExport(kSectionPage, L"one", nullptr));
    PDFWriter writer;
    EXPECT_FALSE(writer.ExportPages(pages.List(), m_properties, L"Z:\\no such folder\\r.pdf", nullptr));
    // The one message names the file and the folder that is missing.
    EXPECT_EQ(L"Cannot write the file \"Z:\\no such folder\\r.pdf\".\n"
              L"The folder \"Z:\\no such folder\" does not exist.\n"
              L"The report was not generated.",
              std::wstring(writer.GetOutputRecord().FailureMessage().GetString()));
}

TEST_F(PDFExport, TheFileIsCreatedByItsUnicodeName)
{
    CTestPages pages;
    pages.List().push_back(new TalPageExport(kSectionPage, L"\x041E\x0442\x0447\x0451\x0442", nullptr));
    pages[0]->AddObject(new TalObjExport(CString(L"\x0416\x4E2D"), CKWDoubleRect(0.1, 0.1, 0.9, 0.2), nullptr));
    const std::wstring path = m_folder.Path() + L"\x041E\x0442\x0447\x0451\x0442 \x5831\x544A.pdf";
    ASSERT_TRUE(PDFWriter().ExportPages(pages.List(), m_properties, path.c_str(), nullptr));
    pdftest::Document doc(ReadFileBytes(path));
    ASSERT_TRUE(doc.Valid());
    // The outline shows the page's name; the text is shown in its own codes.
    EXPECT_EQ("<FEFF041E0442044704510442>", doc.Entry(4, "/Title"));
    EXPECT_NE(std::string::npos, pdftest::Inflate(doc.StreamData(7)).find("<0416> Tj"));
}

}  // namespace
