#include "export/ppt/EscherEx.h"

#include <memory>

EscherEx::EscherEx(PPTOutStream& stream) : m_stream(stream), m_treeStart(0)
{
    m_treeStart = Tell();
}

uint32_t EscherEx::Tell()
{
    const int64_t position = m_stream.Tell();
    return position < 0 ? 0 : static_cast<uint32_t>(position);
}

void EscherEx::WriteRecordHeader(uint32_t length, uint16_t type, uint16_t version, uint16_t instance)
{
    m_stream.WriteU16(static_cast<uint16_t>((instance << 4) | (version & 0xF)));
    m_stream.WriteU16(type);
    m_stream.WriteU32(length);
}

void EscherEx::BeginContainer(uint16_t type, uint16_t instance)
{
    const uint32_t start = Tell();
    WriteRecordHeader(0, type, kContainerVersion, instance);
    m_open.push_back(OpenRecord{start + 4, type});
}

void EscherEx::EndContainer()
{
    if (m_open.empty())
        return;
    const uint32_t end = Tell();
    const OpenRecord record = m_open.back();
    m_open.pop_back();
    m_stream.Seek(record.lengthOffset);
    m_stream.WriteU32(end - record.lengthOffset - 4);
    m_stream.Seek(end);
}

void EscherEx::ReserveHeader()
{
    m_reserved.push_back(Tell());
    m_stream.WriteZeros(8);
}

void EscherEx::FillReservedHeader(uint16_t type, uint16_t version, uint16_t instance)
{
    if (m_reserved.empty())
        return;
    const uint32_t end = Tell();
    const uint32_t start = m_reserved.back();
    m_reserved.pop_back();
    m_stream.Seek(start);
    WriteRecordHeader(end - start - 8, type, version, instance);
    m_stream.Seek(end);
}

bool EscherEx::PatchAtOffset(uint32_t key, uint32_t value)
{
    if (!HasOffset(key))
        return false;
    const uint32_t back = Tell();
    m_stream.Seek(GetOffset(key));
    m_stream.WriteU32(value);
    m_stream.Seek(back);
    return true;
}

bool EscherEx::SeekToOffset(uint32_t key)
{
    if (!HasOffset(key))
        return false;
    m_stream.Seek(GetOffset(key));
    return true;
}

void EscherEx::InsertGap(uint32_t size, bool expand)
{
    const uint32_t at = Tell();
    if (size == 0)
        return;
    ShiftOffsets(at, size);

    // Grow every record on the way from the tree's start down to the position.
    const uint64_t reach = expand ? static_cast<uint64_t>(at) + 1 : at;
    uint32_t position = m_treeStart;
    while (position < at) {
        m_stream.Seek(position);
        uint16_t versionInstance = 0;
        uint16_t type = 0;
        uint32_t length = 0;
        if (!m_stream.ReadU16(versionInstance) || !m_stream.ReadU16(type) || !m_stream.ReadU32(length))
            break;
        const uint64_t end = static_cast<uint64_t>(position) + 8 + length;
        if (end >= reach) {
            m_stream.Seek(position + 4);
            m_stream.WriteU32(length + size);
            if ((versionInstance & 0xF) == kContainerVersion) {
                position += 8;
                continue;
            }
        }
        if (end > 0xFFFFFFFFull)
            break;
        position = static_cast<uint32_t>(end);
    }

    for (OpenRecord& record : m_open) {
        if (record.lengthOffset > at)
            record.lengthOffset += size;
    }
    for (uint32_t& offset : m_reserved) {
        if (offset > at)
            offset += size;
    }

    // Move the tail forward, last piece first, so nothing is overwritten unread.
    const int64_t streamSize = m_stream.GetSize();
    if (streamSize > at) {
        uint32_t remaining = static_cast<uint32_t>(streamSize - at);
        std::unique_ptr<uint8_t[]> buffer(new uint8_t[remaining < kMovePiece ? remaining : kMovePiece]);
        while (remaining > 0 && !m_stream.Failed()) {
            const uint32_t piece = remaining < kMovePiece ? remaining : kMovePiece;
            const uint32_t from = at + remaining - piece;
            m_stream.Seek(from);
            if (!m_stream.ReadBytes(buffer.get(), piece))
                break;
            m_stream.Seek(from + size);
            m_stream.WriteBytes(buffer.get(), piece);
            remaining -= piece;
        }
    }
    m_stream.Seek(at);
}
