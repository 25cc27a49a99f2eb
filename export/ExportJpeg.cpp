#include "export/ExportJpeg.h"

#include "platform/rasterlib/JpegMarkerScan.h"

namespace {

const uint8_t kMarker = 0xFF;
const uint8_t kStartOfImage = 0xD8;
const uint8_t kEndOfImage = 0xD9;
const uint8_t kStartOfScan = 0xDA;
const uint8_t kDefineLines = 0xDC;
// The segments read before giving up: real files have a few dozen.
const int kMaxSegments = 65536;

bool IsFrameMarker(uint8_t m)
{
    // C0-CF are frames except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool IsRestart(uint8_t m)
{
    return m >= 0xD0 && m <= 0xD7;
}

// Segments a stream may hold besides frames and scans: tables, restart
// interval, line count, application data and comments.
bool IsTableOrMisc(uint8_t m)
{
    return m == 0xC4 || m == 0xCC || m == 0xDB || m == 0xDD || m == kDefineLines || (m >= 0xE0 && m <= 0xEF) ||
           m == 0xFE;
}

uint32_t Length(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

class Walker {
public:
    Walker(const uint8_t* bytes, size_t count, ExportJpegInfo& info) : m_bytes(bytes), m_count(count), m_info(info)
    {
        info = ExportJpegInfo();
    }

    // Reads marker after marker; stopAtFrame ends the walk at the frame header.
    bool Walk(bool stopAtFrame)
    {
        if (!m_bytes || m_count < 3 || m_bytes[0] != kMarker || m_bytes[1] != kStartOfImage || m_bytes[2] != kMarker)
            return false;
        size_t at = 2;
        bool frame = false, scan = false;
        for (int segment = 0; segment < kMaxSegments; ++segment) {
            if (at >= m_count || m_bytes[at] != kMarker)
                return false;
            while (at < m_count && m_bytes[at] == kMarker)
                ++at;  // fill bytes
            if (at >= m_count)
                return false;
            const uint8_t marker = m_bytes[at++];
            if (marker == kEndOfImage)
                return !stopAtFrame && scan && Plausible();
            if (IsRestart(marker) && scan)
                continue;
            const bool known = IsFrameMarker(marker) || IsTableOrMisc(marker) || marker == kStartOfScan;
            if (!known || (marker == kDefineLines && !scan) || at + 2 > m_count)
                return false;
            const uint32_t length = Length(m_bytes + at);
            if (length < 2 || length > m_count - at)
                return false;
            if (IsFrameMarker(marker)) {
                // One frame per image; a second one is not an image we know.
                if (frame || length < 8)
                    return false;
                ReadFrame(marker, m_bytes + at + 2);
                frame = true;
                if (stopAtFrame)
                    return true;
            }
            at += length;
            if (marker == kStartOfScan) {
                if (!frame || !SkipCodedData(at))
                    return false;
                scan = true;
            }
        }
        return false;
    }

private:
    void ReadFrame(uint8_t marker, const uint8_t* p)
    {
        m_info.frameMarker = marker;
        m_info.precision = p[0];
        m_info.height = uint32_t(p[1]) << 8 | p[2];
        m_info.width = uint32_t(p[3]) << 8 | p[4];
        m_info.components = p[5];
    }

    // Moves at to the marker after the coded data; false at the end of the bytes.
    bool SkipCodedData(size_t& at)
    {
        const size_t start = at;
        for (;;) {
            at = rasterlib::FindMarkerByte(m_bytes, at, m_count);
            if (at + 1 >= m_count)
                return false;
            const uint8_t next = m_bytes[at + 1];
            if (next == 0x00 || IsRestart(next)) {
                at += 2;
                continue;
            }
            if (next == kMarker) {
                // Fill bytes before a marker, or an FF FF pair in damaged data:
                // the marker after them decides.
                size_t k = at + 1;
                while (k < m_count && m_bytes[k] == kMarker)
                    ++k;
                if (k < m_count && (m_bytes[k] == 0x00 || IsRestart(m_bytes[k])))
                    return false;
            }
            m_coded += at - start;
            return true;
        }
    }

    bool Plausible() const
    {
        const uint64_t blocks = (uint64_t(m_info.width) + 15) / 16 * ((uint64_t(m_info.height) + 15) / 16);
        return m_info.width > 0 && m_info.height > 0 && m_coded * 8 >= blocks;
    }

    const uint8_t* m_bytes;
    size_t m_count;
    ExportJpegInfo& m_info;
    uint64_t m_coded = 0;
};

}  // namespace

bool ExportJpegInfo::IsCommon() const
{
    const bool huffman = frameMarker == 0xC0 || frameMarker == 0xC1 || frameMarker == 0xC2;
    return huffman && precision == 8 && width > 0 && height > 0 &&
           (components == 1 || components == 3 || components == 4);
}

bool ExportJpegInfo::CanPassThrough() const
{
    return IsCommon() && components != 4;
}

bool ReadJpegFrame(const uint8_t* bytes, size_t count, ExportJpegInfo& info)
{
    return Walker(bytes, count, info).Walk(true);
}

bool IsSoundJpeg(const uint8_t* bytes, size_t count, ExportJpegInfo& info)
{
    return Walker(bytes, count, info).Walk(false);
}
