// Font keys, font names and the composite font objects.
#include <gtest/gtest.h>

#include "export/pdf/PDFFile.h"
#include "export/pdf/PDFFontName.h"
#include "export/pdf/PDFWriter.h"
#include "export/pdf/TrueTypeFont.h"
#include "tests/export/pdf/PDFTestSupport.h"

namespace {

TEST(PDFFontKey, XorsThePairsOfTheFaceAndAddsTheStyle)
{
    struct Case {
        const wchar_t* face;
        uint8_t style;
        uint32_t key;
    } cases[] = {
        {L"Arial", 0, 2621459},  // 'A''r' ^ 'i''a', the final 'l' takes no part
        {L"Arial", 1, 2621460},
        {L"Arial", 7, 2621462},  // only the two low style bits count
        {L"X", 2, 2},
        {L"", 3, 3},
        {L"ab", 0, 0x00610062},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.key, PDFFontKey(c.face, c.style)) << static_cast<int>(c.style);
    EXPECT_NE(PDFFontKey(L"Arial Black", 0), PDFFontKey(L"Arial Narrow", 0));
}

TEST(PDFFontName, EscapesDelimitersAndBytesOutsidePrintableAscii)
{
    struct Case {
        const char* face;
        uint8_t style;
        const char* name;
    } cases[] = {
        {"Times New Roman", 3, "Times#20New#20Roman,BoldItalic"},
        {"Arial", 0, "Arial"},
        {"Arial", 1, "Arial,Bold"},
        {"Arial", 2, "Arial,Italic"},
        {"Arial", 6, "Arial,Italic"},
        {"A(b)/c#d%e[f]<g>{h}", 0, "A#28b#29#2Fc#23d#25e#5Bf#5D#3Cg#3E#7Bh#7D"},
        {"Caf\xE9\x7F\x01", 0, "Caf#E9#7F#01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.name, MakePDFFontName(c.face, c.style)) << c.face;
}

TEST(PDFWriterFonts, CollidingKeysProbeTheNextFreeKey)
{
    PDFWriter writer;
    PDFPageRecord page;
    // The pairs XOR alike in any order, so these two faces hash to one key.
    ASSERT_EQ(PDFFontKey(L"abcd", 0), PDFFontKey(L"cdab", 0));
    const uint32_t first = writer.RegisterFont(L"abcd", 0, page)->key;
    const uint32_t second = writer.RegisterFont(L"cdab", 0, page)->key;
    const uint32_t third = writer.RegisterFont(L"abcd", 1, page)->key;  // its natural key is the one just taken
    EXPECT_EQ(PDFFontKey(L"abcd", 0), first);
    EXPECT_EQ(first + 1, second);
    EXPECT_EQ(first + 2, third);
    EXPECT_EQ(second, writer.FindFont(L"cdab", 4)->key);  // underline is not part of the font
    EXPECT_EQ(first, writer.RegisterFont(L"abcd", 0, page)->key);
    EXPECT_EQ(3u, writer.GetFontRecords().size());
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), page.fonts);
}

TEST(PDFFileFonts, WriteTheCompositeFontObjectsAndFreeEntries)
{
    std::vector<PDFFontRecord> fonts(2);
    fonts[0].key = 5;
    fonts[0].name = L"Nothing used";
    fonts[1].key = PDFFontKey(L"Times New Roman", 3);
    fonts[1].name = L"Times New Roman";
    fonts[1].ansiName = "Times New Roman";
    fonts[1].style = 3;
    fonts[1].codes = {'H', ' ', 'i'};
    PDFPageRecord page;
    page.name = L"p";
    page.width = page.height = 100;
    page.fonts = {0, 1};
    std::vector<PDFPageRecord> pages = {page};

    pdftest::Sink sink;
    {
        PDFFile file(sink.Open());
        ASSERT_TRUE(file.AssignObjectNumbers(1, 0, 2));
        file.WriteHeader();
        file.WriteInfo(L"", L"", L"", L"", L"");
        file.WriteCatalog();
        file.WriteOutlines(pages);
        file.WritePages(pages, {}, fonts);
        file.BeginPageContent(0);
        file.EndPageContent(0);
        file.WriteFonts(fonts, nullptr);
        file.WriteXref();
        file.WriteTrailer();
        EXPECT_TRUE(file.Finish());
    }
    pdftest::Document doc(sink.bytes);
    ASSERT_TRUE(doc.Valid());
    ASSERT_EQ(25u, doc.Size());
    // The page names only the font that has codes, by its signed key.
    EXPECT_NE(std::string::npos,
              doc.Object(6).find("/Font <<\r\n/F" + std::to_string(static_cast<int32_t>(fonts[1].key)) + " 17 0 R\r\n>>"));
    for (uint32_t n = 9; n <= 16; ++n)
        EXPECT_EQ('f', doc.Xref()[n].kind) << n;
    EXPECT_EQ('f', doc.Xref()[24].kind);
    const std::string name = "Times#20New#20Roman,BoldItalic";
    EXPECT_EQ("<<\r\n/Type /Font\r\n/Subtype /Type0\r\n/BaseFont /" + name +
                  "\r\n/DescendantFonts [18 0 R]\r\n/Encoding /Identity-H\r\n>>\r\n",
              doc.Object(17));
    EXPECT_EQ("<<\r\n/Type /Font\r\n/Subtype /CIDFontType2\r\n/BaseFont /" + name +
                  "\r\n/CIDToGIDMap 20 0 R\r\n/CIDSystemInfo\r\n<<\r\n/Registry (Adobe)\r\n/Ordering (Identity)\r\n"
                  "/Supplement 0\r\n>>\r\n/FontDescriptor 19 0 R\r\n/DW 1000\r\n/W [\r\n72 [778]\r\n32 [250]\r\n"
                  "105 [278]\r\n]\r\n>>\r\n",
              doc.Object(18));
    EXPECT_EQ("<<\r\n/Type /FontDescriptor\r\n/Ascent 720\r\n/CapHeight 660\r\n/Descent -270\r\n/Flags 48\r\n"
              "/FontBBox [0 0 1000 1000]\r\n/FontName /" + name +
                  "\r\n/ItalicAngle 0\r\n/StemV 105\r\n/FontFile2 22 0 R\r\n>>\r\n",
              doc.Object(19));
    const std::string map = pdftest::Inflate(doc.StreamData(20));
    ASSERT_EQ(131072u, map.size());
    const auto glyphOf = [&map](uint32_t c) { return uint32_t(uint8_t(map[2 * c])) << 8 | uint8_t(map[2 * c + 1]); };
    EXPECT_NE(0u, glyphOf('H'));
    EXPECT_NE(glyphOf('H'), glyphOf('i'));
    EXPECT_EQ(0u, glyphOf(0xFFFF));
    EXPECT_NE(std::string::npos, doc.Object(22).find("<<\r\n/Length  23 0 R\r\n/Length1 "));
    const std::string font = pdftest::Inflate(doc.StreamData(22));
    EXPECT_EQ(std::to_string(font.size()), doc.Entry(22, "/Length1"));
    TrueTypeFont subset;
    ASSERT_TRUE(subset.LoadFromBytes(reinterpret_cast<const uint8_t*>(font.data()), font.size()));
    EXPECT_TRUE(subset.HasOutlines());
}

}  // namespace
