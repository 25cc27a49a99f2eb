// TrueType subsetting: the character map, composite glyphs, the rebuilt
// glyf and loca, the table directory, and fonts that lie about their sizes.
#include <gtest/gtest.h>

#include <algorithm>

#include "export/pdf/SubsetFontForPDF.h"
#include "export/pdf/TrueTypeFont.h"
#include "tests/export/pdf/TrueTypeTestFont.h"

namespace {

using ttftest::Bytes;
using ttftest::Get16;
using ttftest::Get32;

// Glyphs 0-7: 0 notdef, 1-3 simple, 4 composite of 3, 5 composite of 4 and 1,
// 6 and 7 composites of each other.
ttftest::FontRecipe NestedRecipe()
{
    ttftest::FontRecipe recipe;
    recipe.glyphs = {ttftest::SimpleGlyph(0x10, 2), ttftest::SimpleGlyph(0x11, 6), ttftest::SimpleGlyph(0x12, 3),
                   ttftest::SimpleGlyph(0x13, 1), ttftest::CompositeGlyph({3}), ttftest::CompositeGlyph({4, 1}),
                   ttftest::CompositeGlyph({7}), ttftest::CompositeGlyph({6})};
    recipe.unicode = {{'A', 1}, {'B', 2}, {'C', 5}, {'D', 6}};
    return recipe;
}

TrueTypeFont& Load(TrueTypeFont& font, const std::map<uint32_t, Bytes>& tables)
{
    for (auto& t : tables)
        font.SetTable(t.first, t.second);
    return font;
}

// The nested font with another character map.
TrueTypeFont& LoadWithCmap(TrueTypeFont& font, const Bytes& cmap)
{
    auto tables = ttftest::Tables(NestedRecipe());
    tables[TrueTypeTag('c', 'm', 'a', 'p')] = cmap;
    return Load(font, tables);
}

std::vector<uint16_t> IdentityMap()
{
    std::vector<uint16_t> map(65536);
    for (uint32_t c = 0; c < 65536; ++c)
        map[c] = static_cast<uint16_t>(c);
    return map;
}

// The glyph's bytes in a font file, through its loca.
Bytes GlyphBytes(const Bytes& file, uint32_t glyph)
{
    TrueTypeFont font;
    EXPECT_TRUE(font.LoadFromBytes(file.data(), file.size()));
    const std::vector<uint8_t>& loca = *font.GetTable(TrueTypeTag('l', 'o', 'c', 'a'));
    const std::vector<uint8_t>& glyf = *font.GetTable(TrueTypeTag('g', 'l', 'y', 'f'));
    uint32_t start = 0, end = 0;
    EXPECT_TRUE(ReadLocaOffset(loca, font.GetLocaFormat(), glyph, start));
    EXPECT_TRUE(ReadLocaOffset(loca, font.GetLocaFormat(), glyph + 1, end));
    if (end < start || end > glyf.size())
        return Bytes(1, 0xEE);
    return Bytes(glyf.begin() + start, glyf.begin() + end);
}

// The glyph's bytes with the padding its source length was rounded up to.
Bytes Padded(Bytes glyph)
{
    while (glyph.size() % 4)
        glyph.push_back(0);
    return glyph;
}

uint32_t IndependentChecksum(const Bytes& file, uint32_t offset, uint32_t length)
{
    uint32_t sum = 0;
    for (uint32_t i = 0; i < ((length + 3) & ~3u); i += 4) {
        uint32_t word = 0;
        for (int k = 0; k < 4; ++k)
            word = word << 8 | (offset + i + k < file.size() ? file[offset + i + k] : 0);
        sum += word;
    }
    return sum;
}

TEST(TrueTypeSubset, TheHeaderFitsTheTableCountAndEveryChecksumIsValid)
{
    const struct {
        bool hinting;
        std::vector<uint16_t> glyphs;
        uint16_t tables, searchRange, entrySelector, rangeShift;
    } cases[] = {{true, {0, 1}, 9, 128, 3, 16}, {false, {0}, 6, 64, 2, 32}};
    const char* tags[] = {"cvt ", "fpgm", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "prep"};
    const char* unhinted[] = {"glyf", "head", "hhea", "hmtx", "loca", "maxp"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hinting);
        ttftest::FontRecipe recipe = NestedRecipe();
        recipe.hinting = c.hinting;
        TrueTypeFont font;
        Load(font, ttftest::Tables(recipe));
        std::vector<uint16_t> glyphs = c.glyphs;
        const Bytes subset = font.BuildSubset(glyphs);
        ASSERT_GE(subset.size(), 12u);
        EXPECT_EQ(0x00010000u, Get32(subset, 0));
        EXPECT_EQ(c.tables, Get16(subset, 4));
        EXPECT_EQ(c.searchRange, Get16(subset, 6));
        EXPECT_EQ(c.entrySelector, Get16(subset, 8));
        EXPECT_EQ(c.rangeShift, Get16(subset, 10));
        const auto directory = ttftest::Directory(subset);
        ASSERT_EQ(c.tables, directory.size());
        uint32_t expectedOffset = 12 + 16 * c.tables;
        for (size_t i = 0; i < directory.size(); ++i) {
            const char* tag = c.hinting ? tags[i] : unhinted[i];
            EXPECT_EQ(tag, directory[i].tag);
            EXPECT_EQ(expectedOffset, directory[i].offset) << tag;
            EXPECT_EQ(IndependentChecksum(subset, directory[i].offset, directory[i].length), directory[i].checksum)
                << tag;
            expectedOffset += (directory[i].length + 3) & ~3u;
        }
        EXPECT_EQ(expectedOffset, subset.size());
        // Tables outside the list are dropped; hmtx and head come over unchanged.
        TrueTypeFont reread;
        ASSERT_TRUE(reread.LoadFromBytes(subset.data(), subset.size()));
        EXPECT_FALSE(reread.HasTable(TrueTypeTag('c', 'm', 'a', 'p')));
        EXPECT_FALSE(reread.HasTable(TrueTypeTag('n', 'a', 'm', 'e')));
        for (uint32_t tag : {TrueTypeTag('h', 'm', 't', 'x'), TrueTypeTag('h', 'e', 'a', 'd')})
            EXPECT_EQ(*font.GetTable(tag), *reread.GetTable(tag));
    }
}

TEST(TrueTypeSubset, NestedCompositesKeepEveryComponentAndNothingElse)
{
    const ttftest::FontRecipe recipe = NestedRecipe();
    for (bool shortLoca : {false, true}) {
        ttftest::FontRecipe s = recipe;
        s.shortLoca = shortLoca;
        TrueTypeFont font;
        Load(font, ttftest::Tables(s));
        std::vector<uint16_t> glyphs = {0, 5};
        const Bytes subset = font.BuildSubset(glyphs);
        EXPECT_EQ((std::vector<uint16_t>{0, 1, 3, 4, 5}), glyphs) << shortLoca;
        for (uint32_t g : {0u, 1u, 3u, 4u, 5u})
            EXPECT_EQ(Padded(s.glyphs[g]), GlyphBytes(subset, g)) << "glyph " << g << " short " << shortLoca;
        for (uint32_t g : {2u, 6u, 7u})
            EXPECT_TRUE(GlyphBytes(subset, g).empty()) << "glyph " << g;
        // Every loca offset is even, also in the short format (halved entries).
        TrueTypeFont reread;
        reread.LoadFromBytes(subset.data(), subset.size());
        const std::vector<uint8_t>& loca = *reread.GetTable(TrueTypeTag('l', 'o', 'c', 'a'));
        for (uint32_t g = 0; g <= 8; ++g) {
            uint32_t offset = 1;
            ASSERT_TRUE(ReadLocaOffset(loca, shortLoca ? 0 : 1, g, offset));
            EXPECT_EQ(0u, offset % 4) << g;
        }
        EXPECT_EQ(shortLoca ? 0 : 1, reread.GetLocaFormat());
    }
}

TEST(TrueTypeSubset, ComponentCyclesEnd)
{
    TrueTypeFont font;
    Load(font, ttftest::Tables(NestedRecipe()));
    std::vector<uint16_t> glyphs = {0, 6};
    const Bytes subset = font.BuildSubset(glyphs);
    EXPECT_EQ((std::vector<uint16_t>{0, 6, 7}), glyphs);
    EXPECT_FALSE(GlyphBytes(subset, 7).empty());
}

TEST(TrueTypeSubset, ComponentsPastTheGlyphCountOrTheGlyphEndAreIgnored)
{
    ttftest::FontRecipe recipe = NestedRecipe();
    recipe.glyphs[4] = ttftest::CompositeGlyph({3, 900});  // no glyph 900
    Bytes truncated = ttftest::CompositeGlyph({1, 2});
    truncated.resize(truncated.size() - 12);  // the record of glyph 2 is cut off
    recipe.glyphs[5] = truncated;
    TrueTypeFont font;
    Load(font, ttftest::Tables(recipe));
    std::vector<uint16_t> glyphs = {0, 4, 5, 901};
    font.BuildSubset(glyphs);
    EXPECT_EQ((std::vector<uint16_t>{0, 1, 3, 4, 5}), glyphs);
}

TEST(TrueTypeSubset, LocaEntriesOutsideGlyfGiveEmptyGlyphs)
{
    auto tables = ttftest::Tables(NestedRecipe());
    Bytes& loca = tables[TrueTypeTag('l', 'o', 'c', 'a')];
    loca[4 * 2 + 0] = 0x7F;  // glyph 2 starts far past the glyf table
    TrueTypeFont font;
    Load(font, tables);
    std::vector<uint16_t> glyphs = {0, 1, 2, 3};
    const Bytes subset = font.BuildSubset(glyphs);
    ASSERT_FALSE(subset.empty());
    // Both glyphs whose ranges use the bad entry lose their data; the others keep theirs.
    EXPECT_TRUE(GlyphBytes(subset, 1).empty());
    EXPECT_TRUE(GlyphBytes(subset, 2).empty());
    EXPECT_EQ(Padded(NestedRecipe().glyphs[3]), GlyphBytes(subset, 3));
}

TEST(TrueTypeSubset, AFontWithoutOutlinesGivesNoSubset)
{
    auto tables = ttftest::Tables(NestedRecipe());
    tables.erase(TrueTypeTag('g', 'l', 'y', 'f'));
    tables[TrueTypeTag('C', 'F', 'F', ' ')] = Bytes(40, 1);
    TrueTypeFont font;
    Load(font, tables);
    EXPECT_FALSE(font.HasOutlines());
    std::vector<uint16_t> glyphs = {0};
    EXPECT_TRUE(font.BuildSubset(glyphs).empty());

    auto shortLoca = ttftest::Tables(NestedRecipe());
    shortLoca[TrueTypeTag('l', 'o', 'c', 'a')].resize(8);  // fewer entries than glyphs
    TrueTypeFont cut;
    Load(cut, shortLoca);
    EXPECT_FALSE(cut.HasOutlines());
}

TEST(TrueTypeFontFile, DirectoryOutsideTheBytesIsRefused)
{
    Bytes file = ttftest::FontFile(ttftest::Tables(NestedRecipe()));
    TrueTypeFont font;
    EXPECT_TRUE(font.LoadFromBytes(file.data(), file.size()));
    EXPECT_EQ(9 * 4, font.ReadTable(TrueTypeTag('l', 'o', 'c', 'a'), 0, nullptr, 0));
    uint8_t two[2];
    EXPECT_EQ(-1, font.ReadTable(TrueTypeTag('l', 'o', 'c', 'a'), 35, two, 2));
    EXPECT_EQ(-1, font.ReadTable(TrueTypeTag('k', 'e', 'r', 'n'), 0, nullptr, 0));
    Bytes lying = file;
    lying[12 + 16 * 2 + 12] = 0x40;  // a table length of a gigabyte
    EXPECT_FALSE(font.LoadFromBytes(lying.data(), lying.size()));
    EXPECT_FALSE(font.LoadFromBytes(file.data(), 11));
    Bytes manyTables = file;
    manyTables[4] = 0xFF;  // more directory records than bytes
    EXPECT_FALSE(font.LoadFromBytes(manyTables.data(), manyTables.size()));
}

TEST(TrueTypeCmap, TheUnicodeSubtableWinsAndASymbolFontMapsOnlyItsOwnCodes)
{
    const struct {
        const char* name;
        std::vector<ttftest::CmapRecord> records;
        std::vector<std::pair<uint32_t, uint16_t>> expected;  // code, glyph
    } cases[] = {
        {"unicode first",
         {{0, 3, ttftest::Format4({{'A', 7}})}, {1, 0, ttftest::Format4({{'A', 6}})},
          {3, 1, ttftest::Format4({{'A', 2}, {'Z', 3}})}, {3, 10, ttftest::Format4({{'A', 5}})}},
         {{'A', 2}, {'Z', 3}, {'B', 0}, {0xFFFF, 0}}},
        {"symbol", {{3, 0, ttftest::Format4({{0xF041, 1}})}}, {{0xF041, 1}, {'A', 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrueTypeFont font;
        LoadWithCmap(font, ttftest::Cmap(c.records));
        for (const auto& e : c.expected)
            EXPECT_EQ(e.second, font.GlyphForCode(e.first)) << e.first;
    }
}

TEST(TrueTypeCmap, RangeOffsetsReadTheGlyphArrayWithinTheSubtable)
{
    // One segment 'a'-'c' through the glyph array (3, 0, 4), idDelta 1; then the end segment.
    Bytes sub;
    for (uint16_t v : std::initializer_list<uint16_t>{4, 38, 0, 4, 0, 0, 0, /*ends*/ 'c', 0xFFFF, /*pad*/ 0, /*starts*/ 'a', 0xFFFF,
                       /*deltas*/ 1, 1, /*ranges*/ 4, 0, /*glyphs*/ 3, 0, 4})
        ttftest::Put16(sub, v);
    TrueTypeFont font;
    LoadWithCmap(font, ttftest::Cmap({{3, 1, sub}}));
    EXPECT_EQ(4, font.GlyphForCode('a'));
    EXPECT_EQ(0, font.GlyphForCode('b'));  // a glyph-id word of 0 stays 0
    EXPECT_EQ(5, font.GlyphForCode('c'));
    // A range offset that points past the subtable maps to glyph 0.
    sub[sizeof(uint16_t) * 14] = 0x7F;
    TrueTypeFont lying;
    LoadWithCmap(lying, ttftest::Cmap({{3, 1, sub}}));
    EXPECT_EQ(0, lying.GlyphForCode('c'));
}

TEST(TrueTypeCmap, RecordsAndSubtablesOutsideTheTableMapNothing)
{
    for (const Bytes& cmap : {Bytes{0, 0, 0, 9, 0, 3}, Bytes{0, 0, 0, 1, 0, 3, 0, 1, 0x7F, 0, 0, 0},
                              Bytes{0, 0, 0, 1, 0, 3, 0, 1, 0, 0, 0, 12, 0, 4, 0x7F, 0xFF, 0, 0, 0x7F, 0xFE}}) {
        TrueTypeFont font;
        LoadWithCmap(font, cmap);
        EXPECT_FALSE(font.LoadCmap());
        EXPECT_EQ(0, font.GlyphForCode('A'));
    }
}

TEST(SubsetLoadedFont, MapsEveryCodeAndKeepsTheGlyphsOfTheUsedOnes)
{
    TrueTypeFont font;
    Load(font, ttftest::Tables(NestedRecipe()));
    PDFFontRecord record;
    record.codes = {'C', 'A'};
    std::vector<uint16_t> map = IdentityMap();
    ASSERT_TRUE(SubsetLoadedFont(font, map, record));
    EXPECT_EQ(1, map['A']);
    EXPECT_EQ(2, map['B']);  // mapped, though its outline is not kept
    EXPECT_EQ(5, map['C']);
    EXPECT_EQ(0, map['E']);
    EXPECT_TRUE(GlyphBytes(record.fontFile, 2).empty());
    for (uint32_t g : {1u, 3u, 4u, 5u})
        EXPECT_FALSE(GlyphBytes(record.fontFile, g).empty()) << g;
}

// Arial (its metric twin stands in) and Tahoma, the face of the menus and
// dialogs, as the Wine prefix holds it: the glyphs used, the face's own
// advances in thousandths of the em, and the plain and the bold face apart.
const struct {
    const wchar_t* name;
    uint8_t style;
    std::vector<uint32_t> advances;  // of "Hi "
} kEmbeddedFaces[] = {
    {L"Arial", 0, {722, 222, 278}},
    {L"Tahoma", 0, {675, 229, 312}},
    {L"Tahoma", 1, {764, 302, 293}},
};

TEST(SubsetFontForPDF, EachFaceThroughGdiHasTheGlyphsUsedAndItsOwnAdvances)
{
    for (const auto& face : kEmbeddedFaces) {
        SCOPED_TRACE(testing::Message() << face.name << " style " << int(face.style));
        PDFFontRecord record;
        record.name = face.name;
        record.style = face.style;
        record.codes = {'H', 'i', ' '};
        std::vector<uint16_t> map = IdentityMap();
        ASSERT_TRUE(SubsetFontForPDF(map, record));
        EXPECT_EQ(face.advances, record.advances);
        TrueTypeFont subset;
        ASSERT_TRUE(subset.LoadFromBytes(record.fontFile.data(), record.fontFile.size()));
        EXPECT_TRUE(subset.HasOutlines());
        EXPECT_NE(0, map['H']);
        EXPECT_NE(0, map['i']);
        EXPECT_FALSE(GlyphBytes(record.fontFile, map['H']).empty());
        EXPECT_FALSE(GlyphBytes(record.fontFile, map['i']).empty());
        EXPECT_TRUE(GlyphBytes(record.fontFile, map['Q']).empty());
        // Checksums of the whole directory.
        for (const auto& entry : ttftest::Directory(record.fontFile))
            EXPECT_EQ(IndependentChecksum(record.fontFile, entry.offset, entry.length), entry.checksum) << entry.tag;
    }
}

TEST(SubsetFontForPDF, BoldFaceGivesBoldAdvances)
{
    PDFFontRecord record;
    record.name = L"Arial";
    record.style = 1;
    record.codes = {'H', 'i'};
    std::vector<uint16_t> map(65536, 0);
    ASSERT_TRUE(SubsetFontForPDF(map, record));
    EXPECT_EQ((std::vector<uint32_t>{722, 278}), record.advances);
}

}  // namespace
