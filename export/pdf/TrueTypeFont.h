#pragma once
// TrueTypeFont: a TrueType font being subset for a PDF file. It holds the
// font's tables by tag (read one by one from GDI, which also serves faces
// that live in font collections, or cut from a whole font file), maps
// character codes to glyphs through the Unicode cmap subtable (format 4) and
// builds a reduced font in which every glyph keeps its index but only the
// listed glyphs keep their outlines. Every offset and length read from the
// font is checked against the bytes that hold it.
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

// A table tag from its four characters, first character in the high byte.
constexpr uint32_t TrueTypeTag(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 | uint8_t(d);
}

class TrueTypeFont {
public:
    TrueTypeFont() = default;
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    // The tables of the subset, in the order they are written (ascending tags).
    static const uint32_t kSubsetTables[9];

    // Takes the tables out of a whole font file (or the first font of a
    // collection); false when its directory does not lie within the bytes.
    bool LoadFromBytes(const uint8_t* bytes, size_t count);
    // Has GDI create the face (height -1000, so advances come in thousandths of
    // the em) and reads the tables the subset needs by tag; the advance of
    // every code goes into advances (0 when GDI gives none). False when no
    // DC or no font can be had or the face has no TrueType outlines.
    bool LoadFromGDI(const wchar_t* face, uint8_t style, const std::vector<uint16_t>& codes,
                     std::vector<uint32_t>& advances);
    void SetTable(uint32_t tag, std::vector<uint8_t> data) { m_tables[tag] = std::move(data); }
    bool HasTable(uint32_t tag) const { return m_tables.count(tag) != 0; }
    const std::vector<uint8_t>* GetTable(uint32_t tag) const;

    // -1 when the font has no table of the tag; the table's length without a
    // destination; else count after copying count bytes from position (-1
    // when they do not lie within the table).
    int32_t ReadTable(uint32_t tag, uint32_t position, void* destination, uint32_t count) const;

    // True when glyf, loca, head and maxp are there and consistent: the
    // outlines a subset is made of.
    bool HasOutlines() const;
    uint16_t GetGlyphCount() const;
    // 0 short offsets, 1 long ones.
    int GetLocaFormat() const;

    // Chooses the last (3,1) or (3,0) cmap record whose subtable is format 4.
    bool LoadCmap();
    // The glyph of a code by the format-4 rule; 0 when unmapped.
    uint16_t GlyphForCode(uint16_t code);

    // The subset of the listed glyphs (glyph 0 among them) with the outlines
    // of their composite components, as a font file; empty when the font has
    // no outlines or the subset cannot be made. The list comes back sorted
    // and completed with the components.
    std::vector<uint8_t> MakeEmbeddable(std::vector<uint16_t>& glyphs) const;
    std::vector<uint8_t> BuildSubset(std::vector<uint16_t>& glyphs) const;

private:
    struct Segment {
        uint16_t endCode;
        uint16_t startCode;
        uint16_t idDelta;
        uint16_t idRangeOffset;
    };

    std::map<uint32_t, std::vector<uint8_t>> m_tables;
    bool m_cmapLoaded = false;
    std::vector<Segment> m_segments;
    std::vector<uint16_t> m_glyphIds;  // the subtable's glyph-id array
    bool m_segmentsSorted = true;
};

// A glyph's offset within glyf by the loca format (short: the 16-bit entry
// times 2); false when the entry lies outside the loca bytes.
bool ReadLocaOffset(const std::vector<uint8_t>& loca, int format, uint32_t glyph, uint32_t& offset);

// Appends to glyphs the components (and their components) of the composite
// glyphs among them that are not listed yet. Each glyph is read once, so a
// component cycle ends; glyph ids at or past glyphCount are ignored.
void AddCompositeComponents(std::vector<uint16_t>& glyphs, const std::vector<uint8_t>& glyf,
                            const std::vector<uint8_t>& loca, int locaFormat, uint16_t glyphCount);

// The sum of the big-endian 32-bit words of data padded with zeros to a
// multiple of 4.
uint32_t TrueTypeChecksum(const uint8_t* data, size_t count);
