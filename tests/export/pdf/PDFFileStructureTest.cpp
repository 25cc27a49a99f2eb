// The file skeleton: numbering, document objects, page streams, cross-reference section.
#include <gtest/gtest.h>

#include "export/pdf/PDFFile.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "tests/export/pdf/PDFTestSupport.h"

namespace {

PDFPageRecord Page(const wchar_t* name, float width = 595.3f, float height = 841.9f)
{
    PDFPageRecord page;
    page.name = name;
    page.width = width;
    page.height = height;
    return page;
}

// Writes a whole file from the records, in the calling order of the export.
std::string WriteSkeleton(const std::vector<PDFPageRecord>& pages, const std::vector<PDFFontRecord>& fonts,
                          const std::vector<PDFImageRecord>& images = {})
{
    pdftest::Sink sink;
    {
        PDFFile file(sink.Open());
        EXPECT_TRUE(file.AssignObjectNumbers(static_cast<uint32_t>(pages.size()), static_cast<uint32_t>(images.size()),
                                             static_cast<uint32_t>(fonts.size())));
        file.WriteHeader();
        file.WriteInfo(L"T", L"", L"Ann", L"Co", L"k");
        file.WriteCatalog();
        file.WriteOutlines(pages);
        file.WritePages(pages, images, fonts);
        for (uint32_t i = 0; i < pages.size(); ++i) {
            file.BeginPageContent(i);
            file.MoveTo(i, i);
            file.EndPageContent(i);
        }
        file.WriteFonts(fonts, nullptr);
        file.WriteImages(images, g_rasterLib, nullptr);
        file.WriteXref();
        file.WriteTrailer();
        EXPECT_FALSE(file.HasFailed());
        EXPECT_TRUE(file.Finish());
    }
    return sink.bytes;
}

TEST(PDFFileNumbering, FollowsFromTheThreeCounts)
{
    struct Case {
        uint32_t pages, images, fonts;
        uint32_t expected[8];
    } cases[] = {
        {1, 0, 0, {1, 2, 3, 5, 7, 9, 9, 9}},
        {1, 2, 1, {1, 2, 3, 5, 7, 9, 17, 21}},
        {3, 1, 2, {1, 2, 3, 7, 11, 17, 33, 35}},
    };
    for (const Case& c : cases) {
        pdftest::Sink sink;
        PDFFile file(sink.Open());
        ASSERT_TRUE(file.AssignObjectNumbers(c.pages, c.images, c.fonts));
        for (int e = 0; e < PDFFile::kEntryCount; ++e)
            EXPECT_EQ(c.expected[e], file.GetObjectNumber(e)) << c.pages << " pages, entry " << e;
    }
}

TEST(PDFFileNumbering, RefusesNoPageAndNumbersPastTheLimit)
{
    pdftest::Sink sink;
    PDFFile file(sink.Open());
    EXPECT_FALSE(file.AssignObjectNumbers(0, 1, 1));
    EXPECT_FALSE(file.HasFailed());
    // 16-bit numbers would wrap here; 32-bit ones are refused only past the readers' limit.
    EXPECT_TRUE(file.AssignObjectNumbers(20000, 1, 1));
    EXPECT_EQ(80013u, file.GetObjectNumber(PDFFile::kFirstImageEntry));
    EXPECT_FALSE(file.AssignObjectNumbers(1, 5000000, 0));
    EXPECT_TRUE(file.HasFailed());
}

TEST(PDFFileStructure, OnePageNumbersItsObjectsFourToEight)
{
    pdftest::Document doc(WriteSkeleton({Page(L"Title-page")}, {}));
    ASSERT_TRUE(doc.Valid());
    EXPECT_EQ(0u, doc.Bytes().find("%PDF-1.3\r\n1 0 obj\r\n"));
    EXPECT_EQ(9u, doc.Size());
    for (uint32_t n = 1; n <= 8; ++n)
        EXPECT_FALSE(doc.Object(n).empty()) << "object " << n;
    EXPECT_EQ("<<\r\n/Type /Outlines\r\n/Count 1\r\n/First 4 0 R\r\n/Last 4 0 R\r\n>>\r\n", doc.Object(3));
    EXPECT_EQ("<<\r\n/Title <FEFF005400690074006C0065002D0070006100670065>\r\n/Parent 3 0 R\r\n"
              "/Dest [6 0 R /XYZ null null null]\r\n>>\r\n",
              doc.Object(4));
    EXPECT_EQ("<<\r\n/Type /Pages\r\n/Count 1\r\n/Kids [6 0 R]\r\n>>\r\n", doc.Object(5));
    EXPECT_EQ("<<\r\n/Type /Page\r\n/Parent 5 0 R\r\n/MediaBox [0 0 595 842]\r\n/Resources\r\n<<\r\n"
              "/ProcSet [/PDF /Text /ImageC]\r\n/ColorSpace\r\n<<\r\n/RCS [/DeviceRGB]\r\n>>\r\n>>\r\n"
              "/Contents 7 0 R\r\n>>\r\n",
              doc.Object(6));
    EXPECT_EQ("/FlateDecode", doc.Entry(7, "/Filter"));
    EXPECT_EQ("0.0000 0.0000 m\r\n", pdftest::Inflate(doc.StreamData(7)));
    EXPECT_EQ(static_cast<int64_t>(doc.StreamData(7).size()), doc.Length(7));
    EXPECT_EQ("<<\r\n/Type /Catalog\r\n/Outlines 3 0 R\r\n/Pages 5 0 R\r\n>>\r\n", doc.Object(2));
    const std::string tail = doc.Bytes().substr(doc.Bytes().rfind("trailer"));
    EXPECT_EQ(0u, tail.find("trailer\r\n<<\r\n/Size 9\r\n/Root 2 0 R\r\n/Info 1 0 R\r\n>>\r\nstartxref\r\n"));
    EXPECT_EQ(tail.size() - 7, tail.find("%%EOF\r\n"));
}

TEST(PDFFileStructure, InfoDictionaryHoldsHexStringsAndTheFixedDate)
{
    pdftest::Document doc(WriteSkeleton({Page(L"p")}, {}));
    EXPECT_EQ("<<\r\n/Title <FEFF0054>\r\n/Subject <FEFF>\r\n/Author <FEFF0041006E006E>\r\n/Creator <FEFF0043006F>\r\n"
              "/Producer <FEFF004F007300740072006100540061006C006C006900650072002000280066006F0072002000570069006E0033"
              "00320029002C00200050004400460020006500780070006F007200740020006C006900620072006100720079>\r\n"
              "/Keywords <FEFF006B>\r\n/CreationDate (D:20030404185459)\r\n>>\r\n",
              doc.Object(1));
}

TEST(PDFFileStructure, EveryCrossReferenceOffsetLandsOnItsObject)
{
    std::vector<PDFFontRecord> fonts(2);
    fonts[0].key = 77;  // no codes: free entries, not named by the pages
    fonts[1].key = 78;
    std::vector<PDFPageRecord> pages = {Page(L"a"), Page(L"b"), Page(L"c")};
    pages[1].fonts = {0};
    pdftest::Document doc(WriteSkeleton(pages, fonts));
    ASSERT_TRUE(doc.Valid());
    ASSERT_EQ(4u * 3 + 5 + 16, doc.Size());
    EXPECT_EQ('f', doc.Xref()[0].kind);
    EXPECT_EQ(65535u, doc.Xref()[0].generation);
    for (uint32_t n = 1; n < doc.Size(); ++n) {
        const pdftest::XrefEntry& e = doc.Xref()[n];
        if (n >= 17) {
            EXPECT_EQ('f', e.kind) << n;
            EXPECT_EQ(0u, e.offset) << n;
            continue;
        }
        EXPECT_EQ('n', e.kind) << n;
        EXPECT_EQ(std::to_string(n) + " 0 obj\r\n", doc.Bytes().substr(e.offset, std::to_string(n).size() + 8)) << n;
    }
    // Outline items chain forwards and backwards.
    EXPECT_EQ("", doc.Entry(4, "/Prev"));
    EXPECT_EQ("5 0 R", doc.Entry(4, "/Next"));
    EXPECT_EQ("4 0 R", doc.Entry(5, "/Prev"));
    EXPECT_EQ("6 0 R", doc.Entry(5, "/Next"));
    EXPECT_EQ("", doc.Entry(6, "/Next"));
    EXPECT_EQ("[8 0 R 9 0 R 10 0 R]", doc.Entry(7, "/Kids"));
    // A font without codes leaves its page an empty font dictionary.
    EXPECT_NE(std::string::npos, doc.Object(9).find("/Font <<\r\n>>\r\n"));
    EXPECT_EQ("15 0 R", doc.Entry(10, "/Contents"));
}

TEST(PDFFileStructure, MediaBoxRoundsToWholePoints)
{
    pdftest::Document doc(WriteSkeleton({Page(L"x", 595.5f, 841.4f)}, {}));
    EXPECT_EQ("[0 0 596 841]", doc.Entry(6, "/MediaBox"));
}

TEST(PDFFileStructure, AnObjectOutOfOrderFailsTheFile)
{
    pdftest::Sink sink;
    PDFFile file(sink.Open());
    file.AssignObjectNumbers(1, 0, 0);
    file.BeginObject(2);
    EXPECT_TRUE(file.HasFailed());
    EXPECT_FALSE(file.Finish());
}

TEST(PDFFileStructure, ACrossReferenceTableWithAGapFailsTheFile)
{
    pdftest::Sink sink;
    PDFFile file(sink.Open());
    file.AssignObjectNumbers(1, 0, 0);
    file.WriteInfo(L"", L"", L"", L"", L"");
    file.WriteXref();
    EXPECT_TRUE(file.HasFailed());
}

}  // namespace
