#pragma once
// KWDragInfo: the drag-information record offered whole under the format
// "KWTallier Application Drag Info" when a drag of the application's own
// objects starts. The starter of a drag fills what it needs; the rest is 0.
// KWDragImageHeader heads the drag image under "KWTallier Application
// Object Icon": the rows follow it, bytesPerRow each.
#include <cstddef>
#include <cstdint>

struct KWDragInfo {
    enum : uint32_t { kFlagCopy = 2 };  // the source asks for a copy
    enum : size_t { kNameLength = 254, kPathLength = 1026 };

    uint32_t instanceId;  // the source application instance; 0: no record
    uint32_t kind;        // what is dragged (the source's own code)
    uint32_t documentId;  // the source document
    uint32_t reserved;
    double x;             // the press point
    double y;
    uint32_t pictureId;
    uint32_t flags;
    wchar_t name[kNameLength];
    wchar_t path[kPathLength];

    // All numbers 0, both strings empty.
    void Clear();
    bool IsCopy() const { return (flags & kFlagCopy) != 0; }
    // A record read from a dropped block: false (and the record cleared) when
    // the block is smaller than the record; both strings end within their fields.
    bool ReadFrom(const void* block, size_t size);
};

static_assert(sizeof(wchar_t) == 2, "the record's strings are UTF-16");
static_assert(sizeof(KWDragInfo) == 2600, "the drag-information record is 2600 bytes");

struct KWDragImageHeader {
    int32_t width;
    int32_t height;
    int32_t bytesPerRow;

    // The header of a dropped block; true only when the sizes are positive and
    // the block holds all the rows it announces.
    bool ReadFrom(const void* block, size_t size);
};

static_assert(sizeof(KWDragImageHeader) == 12, "the drag-image header is three 32-bit values");
