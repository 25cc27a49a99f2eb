#include "export/pdf/PDFJpegInfo.h"

#include <cstring>

namespace {

const uint8_t kMarkerPrefix = 0xFF;
const uint8_t kStartOfImage = 0xD8;
const uint8_t kEndOfImage = 0xD9;
const uint8_t kStartOfScan = 0xDA;
const uint8_t kTem = 0x01;
// The segments read before giving up: real files have a few dozen.
const int kMaxSegments = 4096;

bool IsFrameMarker(uint8_t m)
{
    // C0-CF are frames except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool IsStandalone(uint8_t m)
{
    return m == kTem || (m >= 0xD0 && m <= 0xD7);
}

}  // namespace

bool PDFJpegInfo::CanPassThrough() const
{
    const bool decodable = frameMarker == 0xC0 || frameMarker == 0xC1 || frameMarker == 0xC2;
    return decodable && precision == 8 && width > 0 && height > 0 && (components == 1 || components == 3);
}

bool PDFReadJpegInfo(const PDFByteReader& read, PDFJpegInfo& info)
{
    info = PDFJpegInfo();
    uint8_t head[3];
    if (!read(0, head, 3) || head[0] != kMarkerPrefix || head[1] != kStartOfImage || head[2] != kMarkerPrefix)
        return false;
    uint64_t at = 2;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        uint8_t byte;
        if (!read(at, &byte, 1) || byte != kMarkerPrefix)
            return false;
        // Fill bytes: any number of FF before the marker code.
        uint8_t marker = kMarkerPrefix;
        while (marker == kMarkerPrefix) {
            ++at;
            if (!read(at, &marker, 1))
                return false;
        }
        ++at;
        if (IsStandalone(marker))
            continue;
        if (marker == kEndOfImage || marker == kStartOfScan || marker == kStartOfImage)
            return false;
        uint8_t lengthBytes[2];
        if (!read(at, lengthBytes, 2))
            return false;
        const uint32_t length = uint32_t(lengthBytes[0]) << 8 | lengthBytes[1];
        if (length < 2)
            return false;
        if (IsFrameMarker(marker)) {
            uint8_t frame[6];
            if (length < 8 || !read(at + 2, frame, sizeof(frame)))
                return false;
            info.frameMarker = marker;
            info.precision = frame[0];
            info.height = uint32_t(frame[1]) << 8 | frame[2];
            info.width = uint32_t(frame[3]) << 8 | frame[4];
            info.components = frame[5];
            return true;
        }
        at += length;
    }
    return false;
}

bool PDFReadJpegInfo(const uint8_t* bytes, size_t count, PDFJpegInfo& info)
{
    return PDFReadJpegInfo(
        [bytes, count](uint64_t offset, void* buffer, size_t n) {
            if (!bytes || offset > count || n > count - offset)
                return false;
            std::memcpy(buffer, bytes + offset, n);
            return true;
        },
        info);
}
