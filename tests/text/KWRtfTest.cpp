// RTF writer and reader: documents read into text and pieces, the writer's
// bytes, round trips through both, and hostile input.
#include "text/KWRtfCommon.h"
#include "text/KWRtfReader.h"
#include "text/KWRtfWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/KWMemFile.h"

namespace {

CKWRtfReader Read(const std::string& rtf)
{
    CKWRtfReader reader;
    CKWMemFile file(const_cast<char*>(rtf.data()), static_cast<int32_t>(rtf.size()));
    reader.Read(file);
    return reader;
}

std::string Write(CKWRtfWriter& writer)
{
    CKWMemFile file;
    EXPECT_TRUE(writer.Write(file));
    void* data = nullptr;
    int32_t length = 0;
    file.GetMemoryBlock(data, length);
    return std::string(static_cast<const char*>(data), static_cast<size_t>(length));
}

// (count, style) of each piece.
std::vector<std::pair<int, uint32_t>> PieceStyles(const CKWRtfReader& reader)
{
    std::vector<std::pair<int, uint32_t>> out;
    for (const CKWRtfReader::Piece& piece : reader.GetPieces())
        out.push_back({piece.count, piece.state.style});
    return out;
}

}  // namespace

TEST(RtfReader, DocumentsGiveTextAndPieces)
{
    struct Case {
        const char* rtf;
        std::wstring text;
        std::vector<std::pair<int, uint32_t>> pieces;
    };
    const Case cases[] = {
        {"{\\rtf1 {\\b bold} plain}", L"bold plain", {{4, KWRTF_BOLD}, {6, 0}}},
        {"{\\rtf1\\ansi \\u8364\\'80}", L"\u20ac", {{1, 0}}},
        {"{\\rtf1 \\u-4064?}", L"\uf020", {{1, 0}}},
        {"{\\rtf1\\uc0 \\u1046 x}", L"\u0416x", {{2, 0}}},
        {"{\\rtf1 a\\par b\tc\\tab d\\\r\ne\r\n}", L"a\nb\tc\td\ne", {{9, 0}}},
        {"{\\rtf1 \\{\\}\\\\\\'e9}", L"{}\\\u00e9", {{4, 0}}},
        {"{\\rtf1 \\i a\\i0 b\\ul c\\ulnone\\super d\\sub e\\nosupersub f}", L"abcdef",
         {{1, KWRTF_ITALIC}, {1, 0}, {1, KWRTF_UNDERLINE}, {1, KWRTF_SUPERSCRIPT}, {1, KWRTF_SUBSCRIPT}, {1, 0}}},
        // Style sheet, information, picture and optional groups are not body text.
        {"{\\rtf1{\\stylesheet{\\s1 Heading;}}{\\info{\\title T}{\\author A}}"
         "{\\pict\\wmetafile8\\picw10 0a0b{x}}{\\*\\generator Pad;}body{\\*\\bkmkstart m}.}",
         L"body.", {{5, 0}}},
        // Cut short: what was read stays.
        {"{\\rtf1 {\\b abc", L"abc", {{3, KWRTF_BOLD}}},
    };
    for (const Case& c : cases) {
        const CKWRtfReader reader = Read(c.rtf);
        EXPECT_EQ(reader.GetText(), c.text) << c.rtf;
        EXPECT_EQ(PieceStyles(reader), c.pieces) << c.rtf;
    }
}

TEST(RtfReader, SizesAndTables)
{
    CKWRtfReader reader = Read(
        "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset204{\\*\\panose 020b}Arial Cyr;}\\f1\\froman Times;{\\f2 ;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red300\\blue7;}"
        "\\f0\\fs21\\cf1 \\'c0\\fs99999\\cf5 b\\fs0 c}");
    ASSERT_EQ(reader.GetFonts().size(), 2u);  // the nameless entry is not kept
    EXPECT_EQ(reader.GetFonts()[0].name, "Arial Cyr");
    EXPECT_EQ(reader.GetFonts()[0].charset, 204);
    EXPECT_EQ(reader.GetFonts()[0].family, 2);
    EXPECT_EQ(reader.GetFonts()[1].name, "Times");
    EXPECT_EQ(reader.FindFont(-1), &reader.GetFonts()[0]);
    ASSERT_EQ(reader.GetColors().size(), 2u);
    EXPECT_EQ(reader.FindColor(0), nullptr);
    EXPECT_EQ(reader.FindColor(1)->value, 0x0000FFu);
    EXPECT_EQ(reader.FindColor(2)->value, 0x0700FFu);  // components kept to 0..255
    // The Cyrillic font's code page reads the byte 0xC0.
    EXPECT_EQ(reader.GetText(), L"\u0410bc");
    ASSERT_EQ(reader.GetPieces().size(), 3u);
    EXPECT_EQ(reader.GetPieces()[0].state.size, 10);  // 21 half points
    EXPECT_EQ(reader.GetPieces()[1].state.size, 1670);
    EXPECT_EQ(reader.GetPieces()[1].state.color, 5);
    EXPECT_EQ(reader.FindColor(5), nullptr);
    EXPECT_EQ(reader.GetPieces()[2].state.size, 1);
}

TEST(RtfWriter, WritesTablesFormatsAndEscapes)
{
    CKWRtfWriter writer;
    const std::wstring text = L"a{\n}\\\u20ac\uf020\tz";
    writer.AddPiece(3, 11, KWRTF_BOLD | KWRTF_SUPERSCRIPT, "Arial", 0, 2, 0x0000FF);
    writer.AddPiece(5, 11, KWRTF_SUBSCRIPT | KWRTF_UNDERLINE, "Arial", 0, 2, 0x00FF00);
    writer.SetText(text.c_str(), static_cast<int>(text.size()));
    EXPECT_EQ(Write(writer),
              "{\\rtf1\\ansi {\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
              "{\\colortbl\\red255\\green0\\blue0;\\red0\\green255\\blue0;}\n"
              "\\f0\\fs22\\cf0\\b\\i0\\strike0\\outl0\\shad0\\ulnone\\super a\\{\\par\r\n"
              "\\cf1\\b0\\ul\\sub \\}\\\\\\u8364\\'80\\u-4064?\\tab z}");
}

TEST(RtfWriter, RoundTripKeepsCharactersAndFormats)
{
    struct Piece {
        std::wstring chars;
        int size;
        uint32_t style;
        const char* font;
        int charset;
        uint32_t color;
    };
    const std::vector<Piece> pieces = {
        {L"Bold {x} \\ ", 12, KWRTF_BOLD, "Arial", 0, 0x000000},
        {L"\u041f\u0440\u0438\u0432\u0435\u0442", 14, KWRTF_ITALIC | KWRTF_UNDERLINE, "Arial", 204, 0x0000FF},
        {L"\u00b2", 8, KWRTF_SUPERSCRIPT, "Times New Roman", 0, 0x0000FF},
        {L"2\n", 8, KWRTF_SUBSCRIPT, "Times New Roman", 0, 0x000000},
        {L"\u20ac end", 12, 0, "Arial", 0, 0x000000},
    };
    CKWRtfWriter writer;
    std::wstring text;
    for (const Piece& p : pieces) {
        writer.AddPiece(static_cast<int>(p.chars.size()), p.size, p.style, p.font, p.charset, 0, p.color);
        text += p.chars;
    }
    writer.SetText(text.c_str(), static_cast<int>(text.size()));
    const CKWRtfReader reader = Read(Write(writer));

    EXPECT_EQ(reader.GetText(), text);
    ASSERT_EQ(reader.GetPieces().size(), pieces.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CKWRtfReader::CharState& state = reader.GetPieces()[k].state;
        EXPECT_EQ(reader.GetPieces()[k].count, static_cast<int>(pieces[k].chars.size())) << k;
        EXPECT_EQ(state.size, pieces[k].size) << k;
        EXPECT_EQ(state.style, pieces[k].style) << k;
        ASSERT_NE(reader.FindFont(state.font), nullptr) << k;
        EXPECT_EQ(reader.FindFont(state.font)->name, pieces[k].font) << k;
        EXPECT_EQ(reader.FindFont(state.font)->charset, pieces[k].charset) << k;
        ASSERT_NE(reader.FindColor(state.color), nullptr) << k;
        EXPECT_EQ(reader.FindColor(state.color)->value, pieces[k].color) << k;
    }
}

TEST(RtfReader, HostileInputEndsSafely)
{
    // A control word far longer than the token buffer is one unknown word.
    EXPECT_EQ(Read("{\\rtf1 \\" + std::string(5000, 'q') + "123 x}").GetText(), L"x");
    // Nesting deeper than the cap ends the reading; shallower nesting reads.
    EXPECT_EQ(Read(std::string(100000, '{') + "x").GetText(), L"");
    EXPECT_EQ(Read(std::string(100, '{') + "x" + std::string(100, '}')).GetText(), L"x");
    // An optional group nested past the cap ends the reading too.
    EXPECT_EQ(Read("{\\rtf1 a{\\*" + std::string(100000, '{') + "}b").GetText(), L"a");
    // Huge parameters saturate.
    EXPECT_EQ(Read("{\\rtf1\\u99999999999999?\\fs-99999999999 x}").GetPieces()[0].state.size, 1);

    const std::string sample =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fcharset204 Courier;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}{\\*\\generator x;}"
        "{\\stylesheet{\\s0 Normal;}}\\f0\\fs24\\cf1 Hello {\\b\\i bold \\u8364\\'80} \\f1\\'c0\\par"
        "{\\pict\\wmetafile8 0a0b0c}\\tab\\ul under\\ulnone\\super 2\\nosupersub{\\*\\bkmkend m}}";
    std::mt19937 random(20);
    const char alphabet[] = "{}\\'; -0123456789abcfuqrx\x80\xff";
    for (int round = 0; round < 100000; ++round) {
        std::string mutated = sample;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % mutated.size();
            const char ch = alphabet[random() % (sizeof alphabet - 1)];
            switch (random() % 3) {
            case 0:
                mutated[at] = ch;
                break;
            case 1:
                mutated.insert(at, 1, ch);
                break;
            default:
                mutated.erase(at, 1 + random() % 8);
                break;
            }
            if (mutated.empty())
                mutated = "{";
        }
        const CKWRtfReader reader = Read(mutated);
        int total = 0;
        for (const CKWRtfReader::Piece& piece : reader.GetPieces()) {
            total += piece.count;
            ASSERT_GE(piece.state.size, 1);
            ASSERT_LE(piece.state.size, 1670);
        }
        ASSERT_EQ(total, static_cast<int>(reader.GetText().size())) << mutated;
        for (const CKWRtfReader::Color& color : reader.GetColors())
            ASSERT_LE(color.value, 0xFFFFFFu);
    }
}
