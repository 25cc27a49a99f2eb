// TrueTypeFont: tables, validation and the character map.
#include "export/pdf/TrueTypeFont.h"

#include <algorithm>
#include <cstring>

namespace {

const uint32_t kTagCmap = TrueTypeTag('c', 'm', 'a', 'p');
const uint32_t kTagHead = TrueTypeTag('h', 'e', 'a', 'd');
const uint32_t kTagMaxp = TrueTypeTag('m', 'a', 'x', 'p');
const uint32_t kTagLoca = TrueTypeTag('l', 'o', 'c', 'a');
const uint32_t kTagGlyf = TrueTypeTag('g', 'l', 'y', 'f');
const uint32_t kTagCollection = TrueTypeTag('t', 't', 'c', 'f');

const size_t kHeadLocaFormatOffset = 50;
const size_t kMaxpGlyphCountOffset = 4;

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool Within(size_t offset, size_t length, size_t size)
{
    return offset <= size && length <= size - offset;
}

}  // namespace

const uint32_t TrueTypeFont::kSubsetTables[9] = {
    TrueTypeTag('c', 'v', 't', ' '), TrueTypeTag('f', 'p', 'g', 'm'), kTagGlyf,
    kTagHead, TrueTypeTag('h', 'h', 'e', 'a'), TrueTypeTag('h', 'm', 't', 'x'),
    kTagLoca, kTagMaxp, TrueTypeTag('p', 'r', 'e', 'p'),
};

bool TrueTypeFont::LoadFromBytes(const uint8_t* bytes, size_t count)
{
    m_tables.clear();
    m_cmapLoaded = false;
    if (!bytes || count < 12)
        return false;
    size_t directory = 0;
    if (Read32(bytes) == kTagCollection) {
        // The first face of a collection: its offset table lies where the header says.
        if (count < 16 || Read32(bytes + 8) == 0)
            return false;
        directory = Read32(bytes + 12);
        if (!Within(directory, 12, count))
            return false;
    }
    const uint16_t tableCount = Read16(bytes + directory + 4);
    if (!Within(directory + 12, size_t(tableCount) * 16, count))
        return false;
    for (uint16_t i = 0; i < tableCount; ++i) {
        const uint8_t* record = bytes + directory + 12 + size_t(i) * 16;
        const uint32_t offset = Read32(record + 8);
        const uint32_t length = Read32(record + 12);
        if (!Within(offset, length, count))
            return false;
        m_tables[Read32(record)] = std::vector<uint8_t>(bytes + offset, bytes + offset + length);
    }
    return true;
}

const std::vector<uint8_t>* TrueTypeFont::GetTable(uint32_t tag) const
{
    auto found = m_tables.find(tag);
    return found == m_tables.end() ? nullptr : &found->second;
}

int32_t TrueTypeFont::ReadTable(uint32_t tag, uint32_t position, void* destination, uint32_t count) const
{
    const std::vector<uint8_t>* table = GetTable(tag);
    if (!table || table->size() > 0x7FFFFFFF)
        return -1;
    if (!destination)
        return static_cast<int32_t>(table->size());
    if (!Within(position, count, table->size()) || count > 0x7FFFFFFF)
        return -1;
    if (count)
        std::memcpy(destination, table->data() + position, count);
    return static_cast<int32_t>(count);
}

uint16_t TrueTypeFont::GetGlyphCount() const
{
    const std::vector<uint8_t>* maxp = GetTable(kTagMaxp);
    return maxp && maxp->size() >= kMaxpGlyphCountOffset + 2 ? Read16(maxp->data() + kMaxpGlyphCountOffset) : 0;
}

int TrueTypeFont::GetLocaFormat() const
{
    const std::vector<uint8_t>* head = GetTable(kTagHead);
    if (!head || head->size() < kHeadLocaFormatOffset + 2)
        return 1;
    return Read16(head->data() + kHeadLocaFormatOffset) == 0 ? 0 : 1;
}

bool TrueTypeFont::HasOutlines() const
{
    const std::vector<uint8_t>* head = GetTable(kTagHead);
    const std::vector<uint8_t>* loca = GetTable(kTagLoca);
    const std::vector<uint8_t>* glyf = GetTable(kTagGlyf);
    if (!head || head->size() < kHeadLocaFormatOffset + 2 || !loca || !glyf)
        return false;
    const uint16_t glyphCount = GetGlyphCount();
    if (glyphCount == 0)
        return false;
    const size_t entrySize = GetLocaFormat() == 0 ? 2 : 4;
    return loca->size() >= (size_t(glyphCount) + 1) * entrySize;
}

bool TrueTypeFont::LoadCmap()
{
    if (m_cmapLoaded)
        return !m_segments.empty();
    m_cmapLoaded = true;
    m_segments.clear();
    m_glyphIds.clear();
    m_segmentsSorted = true;
    const std::vector<uint8_t>* cmap = GetTable(kTagCmap);
    if (!cmap || cmap->size() < 4)
        return false;
    const uint8_t* base = cmap->data();
    const size_t size = cmap->size();
    const uint16_t recordCount = Read16(base + 2);
    size_t chosen = 0;
    bool found = false;
    for (uint16_t i = 0; i < recordCount; ++i) {
        const size_t record = 4 + size_t(i) * 8;
        if (!Within(record, 8, size))
            break;
        const uint16_t platform = Read16(base + record);
        const uint16_t encoding = Read16(base + record + 2);
        const uint32_t offset = Read32(base + record + 4);
        if (platform == 3 && (encoding == 1 || encoding == 0) && Within(offset, 14, size) &&
            Read16(base + offset) == 4) {
            chosen = offset;
            found = true;
        }
    }
    if (!found)
        return false;
    const uint8_t* sub = base + chosen;
    // The subtable's own length, cut to what the table holds.
    size_t length = std::min<size_t>(Read16(sub + 2), size - chosen);
    const uint16_t segCount = Read16(sub + 6) / 2;
    if (segCount == 0 || length < 16 + size_t(segCount) * 8)
        return false;
    const uint8_t* ends = sub + 14;
    const uint8_t* starts = ends + 2 * size_t(segCount) + 2;
    const uint8_t* deltas = starts + 2 * size_t(segCount);
    const uint8_t* ranges = deltas + 2 * size_t(segCount);
    m_segments.resize(segCount);
    for (uint16_t i = 0; i < segCount; ++i) {
        Segment& s = m_segments[i];
        s.endCode = Read16(ends + 2 * i);
        s.startCode = Read16(starts + 2 * i);
        s.idDelta = Read16(deltas + 2 * i);
        s.idRangeOffset = Read16(ranges + 2 * i);
        if (i > 0 && s.endCode < m_segments[i - 1].endCode)
            m_segmentsSorted = false;
    }
    // The words from the idRangeOffset array to the subtable's end: the
    // range offsets address glyph ids relative to their own entries.
    const size_t wordsStart = static_cast<size_t>(ranges - sub);
    for (size_t at = wordsStart; at + 2 <= length; at += 2)
        m_glyphIds.push_back(Read16(sub + at));
    return true;
}

uint16_t TrueTypeFont::GlyphForCode(uint16_t code)
{
    if (!m_cmapLoaded)
        LoadCmap();
    if (m_segments.empty())
        return 0;
    size_t index;
    if (m_segmentsSorted) {
        auto it = std::lower_bound(m_segments.begin(), m_segments.end(), code,
                                   [](const Segment& s, uint16_t c) { return s.endCode < c; });
        index = static_cast<size_t>(it - m_segments.begin());
    } else {
        index = 0;
        while (index < m_segments.size() && m_segments[index].endCode < code)
            ++index;
    }
    if (index >= m_segments.size())
        return 0;
    const Segment& s = m_segments[index];
    if (s.startCode > code)
        return 0;
    if (s.idRangeOffset == 0)
        return static_cast<uint16_t>(s.idDelta + code);
    const size_t word = index + s.idRangeOffset / 2 + size_t(code - s.startCode);
    if (word >= m_glyphIds.size())
        return 0;
    const uint16_t glyph = m_glyphIds[word];
    return glyph == 0 ? 0 : static_cast<uint16_t>(s.idDelta + glyph);
}
