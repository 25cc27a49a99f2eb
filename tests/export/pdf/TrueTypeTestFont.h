// Small TrueType fonts made by the tests: the tables the subsetter reads,
// with simple and composite glyphs and chosen cmap records.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "export/pdf/TrueTypeFont.h"

namespace ttftest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint16_t v)
{
    b.push_back(static_cast<uint8_t>(v >> 8));
    b.push_back(static_cast<uint8_t>(v));
}

inline void Put32(Bytes& b, uint32_t v)
{
    Put16(b, static_cast<uint16_t>(v >> 16));
    Put16(b, static_cast<uint16_t>(v));
}

inline uint16_t Get16(const Bytes& b, size_t at)
{
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

inline uint32_t Get32(const Bytes& b, size_t at)
{
    return uint32_t(Get16(b, at)) << 16 | Get16(b, at + 2);
}

// A simple glyph: one contour, a bounding box and filler bytes (length 10 + extra).
inline Bytes SimpleGlyph(uint8_t fill, size_t extra)
{
    Bytes g;
    Put16(g, 1);
    for (int i = 0; i < 4; ++i)
        Put16(g, fill);
    g.insert(g.end(), extra, fill);
    return g;
}

// A composite glyph of the components, each with word arguments and a scale.
inline Bytes CompositeGlyph(const std::vector<uint16_t>& components)
{
    Bytes g;
    Put16(g, 0xFFFF);
    for (int i = 0; i < 4; ++i)
        Put16(g, 0);
    for (size_t i = 0; i < components.size(); ++i) {
        const bool more = i + 1 < components.size();
        Put16(g, static_cast<uint16_t>(0x0001 | 0x0008 | (more ? 0x0020 : 0)));
        Put16(g, components[i]);
        Put32(g, 0);      // two word arguments
        Put16(g, 0x4000);  // scale 1.0
    }
    return g;
}

// A format-4 subtable mapping each code to its glyph through one segment per
// code (idDelta), plus the final 0xFFFF segment.
inline Bytes Format4(const std::map<uint16_t, uint16_t>& map)
{
    std::vector<std::pair<uint16_t, uint16_t>> segments(map.begin(), map.end());
    const uint16_t segCount = static_cast<uint16_t>(segments.size() + 1);
    Bytes b;
    Put16(b, 4);
    Put16(b, static_cast<uint16_t>(16 + 8 * segCount));
    Put16(b, 0);
    Put16(b, static_cast<uint16_t>(segCount * 2));
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, 0);
    for (auto& s : segments)
        Put16(b, s.first);
    Put16(b, 0xFFFF);
    Put16(b, 0);  // reserved pad
    for (auto& s : segments)
        Put16(b, s.first);
    Put16(b, 0xFFFF);
    for (auto& s : segments)
        Put16(b, static_cast<uint16_t>(s.second - s.first));
    Put16(b, 1);
    for (size_t i = 0; i < segCount; ++i)
        Put16(b, 0);
    return b;
}

struct CmapRecord {
    uint16_t platform;
    uint16_t encoding;
    Bytes subtable;
};

inline Bytes Cmap(const std::vector<CmapRecord>& records)
{
    Bytes b;
    Put16(b, 0);
    Put16(b, static_cast<uint16_t>(records.size()));
    uint32_t offset = 4 + 8 * static_cast<uint32_t>(records.size());
    for (const CmapRecord& r : records) {
        Put16(b, r.platform);
        Put16(b, r.encoding);
        Put32(b, offset);
        offset += static_cast<uint32_t>(r.subtable.size());
    }
    for (const CmapRecord& r : records)
        b.insert(b.end(), r.subtable.begin(), r.subtable.end());
    return b;
}

struct FontRecipe {
    std::vector<Bytes> glyphs;
    std::map<uint16_t, uint16_t> unicode;  // the (3,1) map
    bool shortLoca = false;
    bool hinting = true;  // cvt, fpgm and prep
};

// The font's tables; glyphs are padded to even lengths for the short loca format.
inline std::map<uint32_t, Bytes> Tables(const FontRecipe& recipe)
{
    std::map<uint32_t, Bytes> t;
    const uint16_t count = static_cast<uint16_t>(recipe.glyphs.size());
    Bytes glyf, loca;
    for (const Bytes& g : recipe.glyphs) {
        const uint32_t at = static_cast<uint32_t>(glyf.size());
        recipe.shortLoca ? Put16(loca, static_cast<uint16_t>(at / 2)) : Put32(loca, at);
        glyf.insert(glyf.end(), g.begin(), g.end());
        if (recipe.shortLoca && glyf.size() % 2)
            glyf.push_back(0);
    }
    recipe.shortLoca ? Put16(loca, static_cast<uint16_t>(glyf.size() / 2)) : Put32(loca, static_cast<uint32_t>(glyf.size()));
    Bytes head(54, 0);
    head[0] = 0;
    head[1] = 1;  // version 1.0
    head[12] = 0x5F;
    head[13] = 0x0F;
    head[14] = 0x3C;
    head[15] = 0xF5;  // magic
    head[18] = 0x08;  // unitsPerEm 2048
    head[51] = recipe.shortLoca ? 0 : 1;
    Bytes maxp;
    Put32(maxp, 0x00005000);
    Put16(maxp, count);
    Bytes hhea(36, 0);
    hhea[1] = 1;
    hhea[35] = static_cast<uint8_t>(count);
    Bytes hmtx;
    for (uint16_t i = 0; i < count; ++i) {
        Put16(hmtx, static_cast<uint16_t>(500 + i));
        Put16(hmtx, 0);
    }
    t[TrueTypeTag('g', 'l', 'y', 'f')] = glyf;
    t[TrueTypeTag('l', 'o', 'c', 'a')] = loca;
    t[TrueTypeTag('h', 'e', 'a', 'd')] = head;
    t[TrueTypeTag('m', 'a', 'x', 'p')] = maxp;
    t[TrueTypeTag('h', 'h', 'e', 'a')] = hhea;
    t[TrueTypeTag('h', 'm', 't', 'x')] = hmtx;
    t[TrueTypeTag('c', 'm', 'a', 'p')] = Cmap({{3, 1, Format4(recipe.unicode)}});
    t[TrueTypeTag('n', 'a', 'm', 'e')] = Bytes(6, 0);
    if (recipe.hinting) {
        t[TrueTypeTag('c', 'v', 't', ' ')] = Bytes{0, 1, 0, 2, 0, 3};
        t[TrueTypeTag('f', 'p', 'g', 'm')] = Bytes{0xB0, 0x01};
        t[TrueTypeTag('p', 'r', 'e', 'p')] = Bytes{0xB1, 0x02, 0x03};
    }
    return t;
}

// A font file of the tables (directory in tag order, tables 4-byte aligned).
inline Bytes FontFile(const std::map<uint32_t, Bytes>& tables)
{
    Bytes b;
    Put32(b, 0x00010000);
    Put16(b, static_cast<uint16_t>(tables.size()));
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, 0);
    uint32_t offset = 12 + 16 * static_cast<uint32_t>(tables.size());
    for (auto& t : tables) {
        Put32(b, t.first);
        Put32(b, 0);
        Put32(b, offset);
        Put32(b, static_cast<uint32_t>(t.second.size()));
        offset += (static_cast<uint32_t>(t.second.size()) + 3) & ~3u;
    }
    for (auto& t : tables) {
        b.insert(b.end(), t.second.begin(), t.second.end());
        while (b.size() % 4)
            b.push_back(0);
    }
    return b;
}

struct DirectoryEntry {
    std::string tag;
    uint32_t checksum, offset, length;
};

inline std::vector<DirectoryEntry> Directory(const Bytes& font)
{
    std::vector<DirectoryEntry> entries;
    const uint16_t count = Get16(font, 4);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t at = 12 + 16 * size_t(i);
        entries.push_back({std::string(font.begin() + at, font.begin() + at + 4), Get32(font, at + 4),
                           Get32(font, at + 8), Get32(font, at + 12)});
    }
    return entries;
}

}  // namespace ttftest
