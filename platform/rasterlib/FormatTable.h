// The formats the library reads and writes: recognising them from their first bytes
// and from format names, and the table behind the format list.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rasterlib {

enum class ImageFormat { Unknown, Jpeg, Png, Gif, Bmp, Tiff, Ico };

// Bytes needed by SniffFormat.
constexpr size_t kSniffBytes = 16;

ImageFormat SniffFormat(const uint8_t* head, size_t count);

// True for the header of a BigTIFF (a TIFF of 8-byte offsets, as large scans
// and tiled maps are written), which the library does not read: version 43
// and offsets of 8 bytes, in a header of 16 bytes.
bool IsBigTiffHeader(const uint8_t* head, size_t count);

// Format named by a file extension or format name, in any letter case, with or
// without a leading dot ("jpg", "JPEG", ".tif", "dib"...).
ImageFormat FormatFromName(const char* name);

struct FormatEntry {
    ImageFormat format;
    const wchar_t* displayName;
    const char* extensions[4];  // null-terminated
    uint32_t typeCode;          // four characters, first in the high byte
    uint32_t firstExtensionId;  // ids of the extensions count up from here
};

const FormatEntry* FormatEntries(size_t& count);

}  // namespace rasterlib
