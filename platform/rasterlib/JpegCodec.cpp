#include "platform/rasterlib/JpegCodec.h"

#include "platform/rasterlib/JpegMarkerScan.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace rasterlib {

namespace {

class TjHandle {
public:
    explicit TjHandle(tjhandle handle) : m_handle(handle) {}
    ~TjHandle()
    {
        if (m_handle)
            tjDestroy(m_handle);
    }
    TjHandle(const TjHandle&) = delete;
    TjHandle& operator=(const TjHandle&) = delete;
    tjhandle Get() const { return m_handle; }

private:
    tjhandle m_handle;
};

bool IsFrameMarker(uint8_t m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// What libjpeg's coefficient buffer of a frame holds: for each component its
// blocks across and down, each count rounded up to whole blocks of its
// sampling, of 64 coefficients of two bytes (each component is three bytes of
// the frame header: its id, its sampling across and down, its table).
uint64_t CoefficientBytes(uint32_t width, uint32_t height, const uint8_t* components, int count)
{
    uint32_t mostAcross = 1, mostDown = 1;
    for (int c = 0; c < count; ++c) {
        mostAcross = std::max<uint32_t>(mostAcross, components[3 * c + 1] >> 4);
        mostDown = std::max<uint32_t>(mostDown, components[3 * c + 1] & 15);
    }
    uint64_t bytes = 0;
    for (int c = 0; c < count; ++c) {
        const uint64_t across = std::max(1, components[3 * c + 1] >> 4), down = std::max(1, components[3 * c + 1] & 15);
        const uint64_t blocksAcross = (uint64_t(width) * across + mostAcross * 8 - 1) / (mostAcross * 8);
        const uint64_t blocksDown = (uint64_t(height) * down + mostDown * 8 - 1) / (mostDown * 8);
        bytes += (blocksAcross + across - 1) / across * across * ((blocksDown + down - 1) / down * down) * 128;
    }
    return bytes;
}

bool IsStandalone(uint8_t m)
{
    return m == 0x01 || (m >= 0xD0 && m <= 0xD7);
}

// The segments a decoder reads: frames and tables (C0 to CF), a scan, the
// quantization tables, DNL and DRI (DA to DD), application segments and
// comments. The others (DHP, EXP, JPGn and the reserved 02 to BF) are refused
// by libjpeg-turbo, and by this library alike.
bool IsKnownSegment(uint8_t m)
{
    return (m >= 0xC0 && m <= 0xCF) || (m >= 0xDA && m <= 0xDD) || (m >= 0xE0 && m <= 0xEF) || m == 0xFE;
}

// True when the APP1 segment whose data (length - 2 bytes) start at pos is an
// XMP packet, main or extended, with a property named Orientation in any
// namespace (tiff:Orientation as a rule).
bool IsXmpWithOrientation(const ByteSource& source, uint64_t pos, uint32_t length)
{
    static const char kMain[] = "http://ns.adobe.com/xap/1.0/";
    static const char kExtended[] = "http://ns.adobe.com/xmp/extension/";
    if (length < 2 + sizeof kMain)
        return false;
    // The name first: a segment of another kind is not read whole.
    const size_t size = length - 2;
    uint8_t name[sizeof kExtended];
    if (!source.ReadAt(pos, name, std::min(size, sizeof name)))
        return false;
    const auto starts = [&](const char* expected, size_t bytes) {
        return size >= bytes && std::memcmp(name, expected, bytes) == 0;
    };
    if (!starts(kMain, sizeof kMain) && !starts(kExtended, sizeof kExtended))
        return false;
    std::vector<uint8_t> data(size);
    if (!source.ReadAt(pos, data.data(), data.size()))
        return false;
    static const char kProperty[] = ":Orientation";
    const auto end = data.end();
    for (auto at = std::search(data.begin(), end, kProperty, kProperty + sizeof kProperty - 1); at != end;
         at = std::search(at + 1, end, kProperty, kProperty + sizeof kProperty - 1)) {
        // An element or an attribute, not a longer name that starts so.
        const auto next = at + std::ptrdiff_t(sizeof kProperty - 1);
        if (next != end && (*next == '>' || *next == '=' || *next == ' ' || *next == '/'))
            return true;
    }
    return false;
}

}  // namespace

bool ReadJpegHeader(const ByteSource& source, JpegInfo& info)
{
    info = JpegInfo();
    uint8_t mark[4];
    if (!source.ReadAt(0, mark, 2) || mark[0] != 0xFF || mark[1] != 0xD8)
        return false;
    uint64_t pos = 2;
    bool haveFrame = false;
    for (int segments = 0; segments < 4096; ++segments) {
        uint8_t byte = 0;
        // Bytes between segments are tolerated, as decoders do; fill bytes are skipped.
        do {
            if (!source.ReadAt(pos++, &byte, 1))
                return false;
        } while (byte != 0xFF);
        do {
            if (!source.ReadAt(pos++, &byte, 1))
                return false;
        } while (byte == 0xFF);
        const uint8_t marker = byte;
        if (marker == 0x00 || IsStandalone(marker))
            continue;
        if (!IsKnownSegment(marker))
            return false;
        if (!source.ReadAt(pos, mark, 2))
            return false;
        const uint32_t length = (uint32_t(mark[0]) << 8) | mark[1];
        if (length < 2)
            return false;
        if (IsFrameMarker(marker)) {
            uint8_t frame[6 + 3 * 255];
            if (length < 8 || !source.ReadAt(pos + 2, frame, 6))
                return false;
            info.height = (uint32_t(frame[1]) << 8) | frame[2];
            info.width = (uint32_t(frame[3]) << 8) | frame[4];
            info.components = frame[5];
            info.progressive = (marker & 3) == 2;
            info.arithmetic = marker >= 0xC9;
            if (length < 8 + 3u * info.components || !source.ReadAt(pos + 8, frame + 6, 3 * size_t(info.components)))
                return false;
            info.coefficientBytes = CoefficientBytes(info.width, info.height, frame + 6, info.components);
            haveFrame = true;
        } else if (marker == 0xEE && length >= 14) {
            uint8_t adobe[5];
            if (source.ReadAt(pos + 2, adobe, 5) && std::memcmp(adobe, "Adobe", 5) == 0)
                info.adobe = true;
        } else if (marker == 0xE1 && length > 8) {
            uint8_t exif[6];
            if (info.exifLength == 0 && source.ReadAt(pos + 2, exif, 6) && std::memcmp(exif, "Exif\0\0", 6) == 0) {
                info.exifOffset = pos + 8;
                info.exifLength = length - 8;
            } else if (!info.xmpOrientation) {
                info.xmpOrientation = IsXmpWithOrientation(source, pos + 2, length);
            }
        } else if (marker == 0xDA) {
            uint8_t scanComponents = 0;
            if (!source.ReadAt(pos + 2, &scanComponents, 1))
                return false;
            info.multipleScans = info.progressive || scanComponents < info.components;
            // A height of 0 (given later by a DNL segment) is not supported.
            return haveFrame && info.width > 0 && info.height > 0 &&
                   (info.components == 1 || info.components == 3 || info.components == 4);
        }
        pos += length;
    }
    return false;
}

bool IsCompleteJpeg(const uint8_t* data, size_t count)
{
    if (!data || count < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    size_t pos = 2;
    while (pos < count) {
        pos = FindMarkerByte(data, pos, count);
        if (pos == count)
            return false;
        while (pos < count && data[pos] == 0xFF)
            ++pos;
        if (pos >= count)
            return false;
        const uint8_t marker = data[pos++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x00 || IsStandalone(marker))
            continue;  // stuffed byte or restart marker inside scan data
        if (!IsKnownSegment(marker))
            return false;
        if (pos + 2 > count)
            return false;
        const size_t length = (size_t(data[pos]) << 8) | data[pos + 1];
        if (length < 2 || length > count - pos)
            return false;
        pos += length;
        // After a scan header, the entropy-coded data runs to the next marker, which
        // the search for 0xFF above finds.
    }
    return false;
}

void ChooseJpegScale(uint32_t width, uint32_t height, uint32_t needWidth, uint32_t needHeight, uint32_t& scaledWidth,
                     uint32_t& scaledHeight)
{
    scaledWidth = width;
    scaledHeight = height;
    for (int denom = 2; denom <= 8; denom *= 2) {
        const uint32_t w = (width + denom - 1) / denom;
        const uint32_t h = (height + denom - 1) / denom;
        if (w < needWidth || h < needHeight)
            break;
        scaledWidth = w;
        scaledHeight = h;
    }
}

bool EncodeJpeg(const PixelView& view, int quality, std::vector<uint8_t>& out)
{
    TjHandle tj(tjInitCompress());
    if (!tj.Get())
        return false;
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int status = tjCompress2(tj.Get(), view.pixels, int(view.width), int(view.stride), int(view.height),
                                   TJPF_BGRX, &jpeg, &size, TJSAMP_420, quality, 0);
    bool ok = status == 0 && jpeg && size > 0;
    if (ok) {
        try {
            out.assign(jpeg, jpeg + size);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    if (jpeg)
        tjFree(jpeg);
    return ok;
}

}  // namespace rasterlib
