#include "framework/KWDragInfo.h"

#include <cstring>

void KWDragInfo::Clear() { std::memset(this, 0, sizeof(*this)); }

bool KWDragInfo::ReadFrom(const void* block, size_t size)
{
    Clear();
    if (!block || size < sizeof(KWDragInfo))
        return false;
    std::memcpy(this, block, sizeof(KWDragInfo));
    name[kNameLength - 1] = 0;
    path[kPathLength - 1] = 0;
    return true;
}

bool KWDragImageHeader::ReadFrom(const void* block, size_t size)
{
    width = height = bytesPerRow = 0;
    if (!block || size < sizeof(KWDragImageHeader))
        return false;
    KWDragImageHeader header;
    std::memcpy(&header, block, sizeof(header));
    if (header.width <= 0 || header.height <= 0 || header.bytesPerRow <= 0)
        return false;
    const uint64_t rows = static_cast<uint64_t>(header.bytesPerRow) * static_cast<uint64_t>(header.height);
    if (rows > size - sizeof(KWDragImageHeader))
        return false;
    *this = header;
    return true;
}
