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

// One page, then three pages sharing a font with no codes (free entries, an
// empty font dictionary on the page that names it) on a media box that rounds
// to whole points: the files are compared with their golden file (info
// dictionary with hex strings and the fixed date, catalog, outline items
// chained both ways, page tree, content streams, cross-reference section and
// trailer); every cross-reference offset lands on its object.
TEST(PDFFileStructure, SkeletonsMatchTheGoldenFile)
{
    std::vector<PDFFontRecord> fonts(2);
    fonts[0].key = 77;
    fonts[1].key = 78;
    std::vector<PDFPageRecord> pages = {Page(L"a"), Page(L"b", 595.5f, 841.4f), Page(L"c")};
    pages[1].fonts = {0};
    const std::string one = WriteSkeleton({Page(L"Title-page")}, {});
    const std::string three = WriteSkeleton(pages, fonts);
    for (const std::string* bytes : {&one, &three}) {
        pdftest::Document doc(*bytes);
        EXPECT_TRUE(doc.Valid());
        EXPECT_EQ(0u, doc.MisplacedObject());
    }
    ExpectGolden(L"pdf_skeletons.txt", one + "\n=====\n" + three);
}

TEST(PDFFileStructure, AnObjectOutOfOrderOrAGapInTheTableFailsTheFile)
{
    pdftest::Sink sink;
    PDFFile outOfOrder(sink.Open());
    outOfOrder.AssignObjectNumbers(1, 0, 0);
    outOfOrder.BeginObject(2);
    EXPECT_TRUE(outOfOrder.HasFailed());
    EXPECT_FALSE(outOfOrder.Finish());

    pdftest::Sink gap;
    PDFFile file(gap.Open());
    file.AssignObjectNumbers(1, 0, 0);
    file.WriteInfo(L"", L"", L"", L"", L"");
    file.WriteXref();
    EXPECT_TRUE(file.HasFailed());
}

}  // namespace
