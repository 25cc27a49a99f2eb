// RTF writer and reader: documents read into text and pieces, the writer's
// bytes, round trips through both, and hostile input.
#include "text/KWRtfCommon.h"
#include "text/KWRtfReader.h"
#include "text/KWRtfWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/PeakMemory.h"
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

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// The text with each carriage return as the writer writes it (a paragraph
// end), and the symbol fonts' characters U+F000 to U+F0FF as the bytes they
// stand for (a symbol font reads its bytes as those, whichever was written).
std::wstring AsWritten(const std::wstring& text)
{
    std::wstring out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == L'\r' && k + 1 < text.size() && text[k + 1] == L'\n')
            continue;
        const wchar_t ch = text[k] >= 0xF000 && text[k] <= 0xF0FF ? static_cast<wchar_t>(text[k] - 0xF000) : text[k];
        out += ch == L'\r' ? L'\n' : ch;
    }
    return out;
}

// What the reader gave, written as the clipboard's RTF and read again: the
// same characters with the same sizes and the styles the writer writes.
void ExpectSurvivesWriting(const CKWRtfReader& reader, const std::string& source)
{
    const uint32_t written = KWRTF_BOLD | KWRTF_ITALIC | KWRTF_STRIKEOUT | KWRTF_OUTLINE | KWRTF_SHADOW |
                             KWRTF_UNDERLINE | KWRTF_SUPERSCRIPT | KWRTF_SUBSCRIPT;
    CKWRtfWriter writer;
    for (const CKWRtfReader::Piece& piece : reader.GetPieces()) {
        const CKWRtfReader::Font* font = reader.FindFont(piece.state.font);
        const CKWRtfReader::Color* color = reader.FindColor(piece.state.color);
        writer.AddPiece(piece.count, piece.state.size, piece.state.style & written, font ? font->name.c_str() : "Arial",
                        font ? font->charset : 0, font ? font->family : 0, color ? color->value : 0);
    }
    writer.SetText(reader.GetText().c_str(), static_cast<int>(reader.GetText().size()));
    const CKWRtfReader back = Read(Write(writer));
    ASSERT_EQ(AsWritten(back.GetText()), AsWritten(reader.GetText())) << source;
    // Compare per character: pieces may merge or split where a carriage return was.
    auto perCharacter = [written](const CKWRtfReader& r) {
        std::vector<std::pair<int, uint32_t>> formats;
        for (const CKWRtfReader::Piece& piece : r.GetPieces())
            formats.insert(formats.end(), static_cast<size_t>(piece.count),
                           {piece.state.size, piece.state.style & written});
        return formats;
    };
    if (back.GetText().size() == reader.GetText().size())
        ASSERT_EQ(perCharacter(back), perCharacter(reader)) << source;
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

TEST(RtfReader, FallbacksAndOptionalWordsStayWithinTheirGroups)
{
    struct Case {
        const char* what;
        const char* rtf;
        std::wstring text;
        std::vector<std::pair<int, uint32_t>> pieces;
    };
    const Case cases[] = {
        {"the fallback count ends with its group", "{\\rtf1 {\\uc2 }\\u233 ?ABCD}", L"\u00e9ABCD", {{5, 0}}},
        {"and holds within it", "{\\rtf1 {\\uc2 \\u233 ??A}B}", L"\u00e9AB", {{3, 0}}},
        {"no fallback inside, none outside", "{\\rtf1\\uc0 {\\uc1 x}\\u233 A}", L"x\u00e9A", {{3, 0}}},
        {"a control word is a fallback character", "{\\rtf1 \\u232\\'e8\\u8677\\tab ABC}", L"\u00e8\u21e5ABC",
         {{5, 0}}},
        {"an unknown word too", "{\\rtf1 \\u8677\\zzz ABC}", L"\u21e5ABC", {{4, 0}}},
        {"two words for a count of two", "{\\rtf1\\uc2 \\u8677\\b\\i AB}", L"\u21e5AB", {{3, 0}}},
        // An escape is one character of a fallback however it is written.
        {"a malformed escape, then a word", "{\\rtf1 {\\uc2\\u8364\\'d\\tab QZECHO}}", L"\u20acQZECHO", {{7, 0}}},
        {"an escaped line break", "{\\rtf1 \\u8364\\'0dAB\\u8364\\'0A\\'0aCD}", L"\u20acAB\u20acCD", {{6, 0}}},
        {"an escape without its digits", "{\\rtf1 \\u8364\\'zAB}", L"\u20aczAB", {{4, 0}}},
        {"an optional word within a group passes over that word only", "{\\rtf1 {a\\*\\bkmkstart b}c}", L"abc",
         {{3, 0}}},
        {"and a word the reader knows still acts", "{\\rtf1 {a\\*\\b b}c}", L"abc",
         {{1, 0}, {1, KWRTF_BOLD}, {1, 0}}},
        {"an optional group is skipped whole", "{\\rtf1 a{\\*\\generator x;}b{\\*\\zz {y}z}c}", L"abc", {{3, 0}}},
    };
    for (const Case& c : cases) {
        const CKWRtfReader reader = Read(c.rtf);
        EXPECT_EQ(reader.GetText(), c.text) << c.what;
        EXPECT_EQ(PieceStyles(reader), c.pieces) << c.what;
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
}

// Seeded mutations of a document that uses every kind of group, table and
// word: no crash, no case over two seconds or growing the memory by 64 MB, and what is
// read survives the writer and the reader again (no text or format lost
// between the two). OT_FUZZ_CASES and OT_FUZZ_SEED change the run.
TEST(RtfReader, SeededMutationsNeitherCrashHangNorLoseWhatWasRead)
{
    const std::string sample =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fcharset204 Courier;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}{\\*\\generator x;}"
        "{\\stylesheet{\\s0 Normal;}}\\f0\\fs24\\cf1 Hello {\\b\\i bold \\u8364\\'80} \\f1\\'c0\\par"
        "{\\pict\\wmetafile8 0a0b0c}\\tab\\ul under\\ulnone\\super 2\\nosupersub{\\*\\bkmkend m}}";
    const int cases = FromEnvironment("OT_FUZZ_CASES", 100000);
    std::mt19937 random(static_cast<unsigned>(FromEnvironment("OT_FUZZ_SEED", 20)));
    CPeakSampler sampler;
    const int kBatch = 256;
    size_t batchStart = 0, largestGrowth = 0;
    DWORD slowest = 0;
    const char alphabet[] = "{}\\'; -0123456789abcfuqrx\x80\xff";
    for (int round = 0; round < cases; ++round) {
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
        // The memory is asked for once per batch of cases: a case lasts microseconds.
        if (round % kBatch == 0) {
            batchStart = PrivateBytes();
            sampler.TakePeak();
        }
        const DWORD start = ::GetTickCount();
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
        ExpectSurvivesWriting(reader, mutated);
        const DWORD elapsed = ::GetTickCount() - start;
        slowest = std::max(slowest, elapsed);
        ASSERT_LT(elapsed, 2000u) << mutated;
        if (round % kBatch == kBatch - 1 || round == cases - 1) {
            const size_t peak = sampler.TakePeak();
            largestGrowth = std::max(largestGrowth, peak > batchStart ? peak - batchStart : 0);
            ASSERT_LT(largestGrowth, 64u * 1024 * 1024) << "in the cases up to " << round;
        }
        if (::testing::Test::HasFailure())
            break;
    }
    sampler.Stop();
    std::printf("[ info ] %d mutated RTF documents, slowest %u ms, largest growth of memory in a batch %.1f MB\n",
                cases, static_cast<unsigned>(slowest), static_cast<double>(largestGrowth) / 1048576.0);
}
