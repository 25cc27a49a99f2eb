// JPEG through libjpeg-turbo: header reading without decoding, the scale a reduced
// read decodes at, and encoding (decoding: JpegDecode.h).
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/RasterImage.h"

#include <vector>

namespace rasterlib {

struct JpegInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 0;
    bool adobe = false;  // an APP14 "Adobe" segment: CMYK values are stored inverted
    // The TIFF structure of the first APP1 "Exif" segment (length 0: none).
    uint64_t exifOffset = 0;
    uint64_t exifLength = 0;
    // An APP1 XMP packet that names an orientation: readers that honour it
    // turn the picture by it too.
    bool xmpOrientation = false;
    bool progressive = false;  // the decoder holds every coefficient of the image
    bool arithmetic = false;   // arithmetic coding: no bit per block at least
    // Scans of a part of the frame each (progressive, or components in scans of
    // their own): libjpeg then holds every coefficient of the frame, as many
    // bytes as coefficientBytes says, whatever size it decodes at.
    bool multipleScans = false;
    uint64_t coefficientBytes = 0;
};

// Walks the segments up to the first scan. False when the bytes are not a JPEG image
// with a usable frame header.
bool ReadJpegHeader(const ByteSource& source, JpegInfo& info);

// True when the stream runs, segment by segment and through its entropy-coded data,
// to the end-of-image marker, every marker one that decoders read; a truncated
// file is not complete.
bool IsCompleteJpeg(const uint8_t* data, size_t count);

// The size the decoder gives at the smallest of the scales 1, 1/2, 1/4, 1/8 that is
// still at least needWidth x needHeight.
void ChooseJpegScale(uint32_t width, uint32_t height, uint32_t needWidth, uint32_t needHeight, uint32_t& scaledWidth,
                     uint32_t& scaledHeight);

// Encodes the colour channels (the fourth byte is not stored); quality 1 to 100.
bool EncodeJpeg(const PixelView& view, int quality, std::vector<uint8_t>& out);

}  // namespace rasterlib
