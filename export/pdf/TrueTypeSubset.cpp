// TrueTypeFont: the subset builder and its helpers.
#include "export/pdf/TrueTypeFont.h"

#include <algorithm>
#include <cstring>

namespace {

const uint32_t kTagGlyf = TrueTypeTag('g', 'l', 'y', 'f');
const uint32_t kTagLoca = TrueTypeTag('l', 'o', 'c', 'a');
const uint32_t kSfntVersion = 0x00010000;
const size_t kOffsetTableSize = 12;
const size_t kDirectoryRecordSize = 16;
const size_t kGlyphHeaderSize = 10;
// The largest glyf size short loca offsets (halved, 16 bits) can address.
const size_t kShortLocaLimit = 0x1FFFE;

// Composite glyph flags.
const uint16_t kArg1And2AreWords = 0x0001;
const uint16_t kWeHaveAScale = 0x0008;
const uint16_t kMoreComponents = 0x0020;
const uint16_t kWeHaveAnXAndYScale = 0x0040;
const uint16_t kWeHaveATwoByTwo = 0x0080;

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void Write16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void Write32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

size_t Pad4(size_t n)
{
    return (n + 3) & ~size_t(3);
}

// The bytes of a glyph within glyf; an entry out of order or out of range
// gives an empty glyph.
void GlyphRange(const std::vector<uint8_t>& glyf, const std::vector<uint8_t>& loca, int format, uint32_t glyph,
                uint32_t& start, uint32_t& length)
{
    uint32_t end = 0;
    start = length = 0;
    if (!ReadLocaOffset(loca, format, glyph, start) || !ReadLocaOffset(loca, format, glyph + 1, end) ||
        end < start || end > glyf.size()) {
        start = 0;
        return;
    }
    length = end - start;
}

void WriteLocaEntry(std::vector<uint8_t>& loca, int format, uint32_t glyph, uint32_t offset)
{
    if (format == 0)
        Write16(loca.data() + size_t(glyph) * 2, static_cast<uint16_t>(offset / 2));
    else
        Write32(loca.data() + size_t(glyph) * 4, offset);
}

}  // namespace

bool ReadLocaOffset(const std::vector<uint8_t>& loca, int format, uint32_t glyph, uint32_t& offset)
{
    const size_t entrySize = format == 0 ? 2 : 4;
    const size_t at = size_t(glyph) * entrySize;
    if (at + entrySize > loca.size())
        return false;
    offset = format == 0 ? uint32_t(Read16(loca.data() + at)) * 2 : Read32(loca.data() + at);
    return true;
}

uint32_t TrueTypeChecksum(const uint8_t* data, size_t count)
{
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 4 <= count; i += 4)
        sum += Read32(data + i);
    if (i < count) {
        uint8_t last[4] = {0, 0, 0, 0};
        std::memcpy(last, data + i, count - i);
        sum += Read32(last);
    }
    return sum;
}

void AddCompositeComponents(std::vector<uint16_t>& glyphs, const std::vector<uint8_t>& glyf,
                            const std::vector<uint8_t>& loca, int locaFormat, uint16_t glyphCount)
{
    std::vector<bool> listed(glyphCount, false);
    std::vector<bool> visited(glyphCount, false);
    std::vector<uint16_t> pending;
    for (uint16_t g : glyphs) {
        if (g < glyphCount && !listed[g]) {
            listed[g] = true;
            pending.push_back(g);
        }
    }
    // A work list rather than recursion: deep component chains cannot
    // exhaust the stack, and a visited glyph is never read again.
    while (!pending.empty()) {
        const uint16_t glyph = pending.back();
        pending.pop_back();
        if (visited[glyph])
            continue;
        visited[glyph] = true;
        uint32_t start, length;
        GlyphRange(glyf, loca, locaFormat, glyph, start, length);
        if (length < kGlyphHeaderSize || Read16(glyf.data() + start) != 0xFFFF)
            continue;
        const uint32_t end = start + length;
        uint32_t at = start + kGlyphHeaderSize;
        for (;;) {
            if (at + 4 > end)
                break;
            const uint16_t flags = Read16(glyf.data() + at);
            const uint16_t component = Read16(glyf.data() + at + 2);
            if (component < glyphCount) {
                if (!listed[component]) {
                    listed[component] = true;
                    glyphs.push_back(component);
                }
                pending.push_back(component);
            }
            at += 4 + ((flags & kArg1And2AreWords) ? 4 : 2);
            if (flags & kWeHaveAScale)
                at += 2;
            else if (flags & kWeHaveAnXAndYScale)
                at += 4;
            else if (flags & kWeHaveATwoByTwo)
                at += 8;
            if (!(flags & kMoreComponents))
                break;
        }
    }
}

std::vector<uint8_t> TrueTypeFont::MakeEmbeddable(std::vector<uint16_t>& glyphs) const
{
    return BuildSubset(glyphs);
}

std::vector<uint8_t> TrueTypeFont::BuildSubset(std::vector<uint16_t>& glyphs) const
{
    if (!HasOutlines())
        return std::vector<uint8_t>();
    const int format = GetLocaFormat();
    const uint16_t glyphCount = GetGlyphCount();
    const std::vector<uint8_t>& glyf = *GetTable(kTagGlyf);
    std::vector<uint8_t> loca = *GetTable(kTagLoca);
    loca.resize(Pad4(loca.size()), 0);

    if (std::find(glyphs.begin(), glyphs.end(), uint16_t(0)) == glyphs.end())
        glyphs.push_back(0);
    AddCompositeComponents(glyphs, glyf, loca, format, glyphCount);
    glyphs.erase(std::remove_if(glyphs.begin(), glyphs.end(), [&](uint16_t g) { return g >= glyphCount; }),
                 glyphs.end());
    std::sort(glyphs.begin(), glyphs.end());
    glyphs.erase(std::unique(glyphs.begin(), glyphs.end()), glyphs.end());

    size_t glyfSize = 0;
    for (uint16_t g : glyphs) {
        uint32_t start, length;
        GlyphRange(glyf, loca, format, g, start, length);
        glyfSize += Pad4(length);
    }
    if (format == 0 && glyfSize > kShortLocaLimit)
        return std::vector<uint8_t>();

    // The new glyf, and loca pointing every glyph that is not listed at an empty range.
    std::vector<uint8_t> newGlyf(glyfSize, 0);
    const std::vector<uint8_t> sourceLoca = loca;
    uint32_t o = 0;
    uint32_t next = 0;  // the first entry not yet rewritten
    for (uint16_t g : glyphs) {
        uint32_t start, length;
        GlyphRange(glyf, sourceLoca, format, g, start, length);
        for (; next <= g; ++next)
            WriteLocaEntry(loca, format, next, o);
        if (length)
            std::memcpy(newGlyf.data() + o, glyf.data() + start, length);
        o += static_cast<uint32_t>(Pad4(length));
    }
    for (; next <= glyphCount; ++next)
        WriteLocaEntry(loca, format, next, o);
    loca.resize(GetTable(kTagLoca)->size());

    // The tables the subset keeps.
    struct Placed {
        uint32_t tag;
        const std::vector<uint8_t>* data;
    };
    std::vector<Placed> tables;
    size_t fileSize = kOffsetTableSize;
    for (uint32_t tag : kSubsetTables) {
        const std::vector<uint8_t>* data = tag == kTagGlyf ? &newGlyf : tag == kTagLoca ? &loca : GetTable(tag);
        if (data) {
            tables.push_back({tag, data});
            fileSize += kDirectoryRecordSize + Pad4(data->size());
        }
    }
    if (fileSize > 0x7FFFFFFF)
        return std::vector<uint8_t>();
    std::vector<uint8_t> out(fileSize, 0);

    const uint16_t tableCount = static_cast<uint16_t>(tables.size());
    uint16_t entrySelector = 0;
    while ((2u << entrySelector) <= tableCount)
        ++entrySelector;
    const uint16_t searchRange = static_cast<uint16_t>(16u << entrySelector);
    Write32(out.data(), kSfntVersion);
    Write16(out.data() + 4, tableCount);
    Write16(out.data() + 6, searchRange);
    Write16(out.data() + 8, entrySelector);
    Write16(out.data() + 10, static_cast<uint16_t>(16u * tableCount - searchRange));

    size_t offset = kOffsetTableSize + kDirectoryRecordSize * tableCount;
    for (size_t i = 0; i < tables.size(); ++i) {
        const std::vector<uint8_t>& data = *tables[i].data;
        if (!data.empty())
            std::memcpy(out.data() + offset, data.data(), data.size());
        uint8_t* record = out.data() + kOffsetTableSize + kDirectoryRecordSize * i;
        Write32(record, tables[i].tag);
        Write32(record + 4, TrueTypeChecksum(out.data() + offset, Pad4(data.size())));
        Write32(record + 8, static_cast<uint32_t>(offset));
        Write32(record + 12, static_cast<uint32_t>(data.size()));
        offset += Pad4(data.size());
    }
    return out;
}
