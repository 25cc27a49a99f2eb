// A fake raster-image library, put into a binding's function
// table, so that the tests can make the library answer what a real one rarely
// does: a fill call of another size, a header that claims more rows than the
// block holds, a save that fails.
#pragma once

#include "framework/KWRasterFunctions.h"
#include "framework/KWRasterImage.h"
#include "platform/classlib/ThreadState.h"

#include <cstdint>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

namespace fakeraster {

struct State {
    uint32_t width = 3;               // size of the images the reads produce
    uint32_t height = 2;
    int32_t fillDelta = 0;            // added to the result of every fill call
    uint32_t claimedHeight = 0;       // when set, the header claims this height
    uint32_t claimedStride = 0;       // when set, the header claims this stride
    uint32_t lqTargetWidth = 0;       // what ReadLQRasterImage was given
    uint32_t lqTargetHeight = 0;
    int reads = 0;
    int waitCursorInRead = -1;         // the thread's wait-cursor count during the last full read
    int sizeReads = 0;
    int32_t lastAngle = 0;
    uint32_t lastResizeWidth = 0;
    uint32_t lastResizeHeight = 0;
    std::string lastFormat;
    std::string lastPath;
    int32_t lastQuality = 0;
    int32_t lastMode = 0;
    std::string encoded = "ENCODED";
    int32_t writeDelta = 0;           // added to the result of the write fill call
    uint8_t saveResult = 1;
};

inline State& Get()
{
    static State state;
    return state;
}

inline void Reset()
{
    Get() = State();
}

// Answers the size of a width x height record, and fills the block on the
// second call.
inline int32_t Produce(void* buffer, int32_t size, uint32_t width, uint32_t height)
{
    State& s = Get();
    int32_t needed = int32_t(12 + width * 4 * height);
    if (!buffer)
        return needed;
    if (size < needed)
        return needed;
    KWRasterImage* image = static_cast<KWRasterImage*>(buffer);
    image->width = width;
    image->height = s.claimedHeight ? s.claimedHeight : height;
    image->stride = s.claimedStride ? s.claimedStride : width * 4;
    for (uint32_t i = 0; i < width * 4 * height; ++i)
        image->Pixels()[i] = uint8_t(i);
    return needed + s.fillDelta;
}

extern "C" {

inline int32_t ReadRasterImage(const char* path, void* buffer, int32_t size)
{
    Get().reads++;
    Get().waitCursorInRead = AfxGetThreadState()->m_nWaitCursorCount;
    Get().lastPath = path;
    return Produce(buffer, size, Get().width, Get().height);
}

inline int32_t ReadLQRasterImage(const char* path, void* buffer, int32_t size, uint32_t* targetWidth,
                                 uint32_t* targetHeight, int32_t, int32_t, int32_t)
{
    State& s = Get();
    s.reads++;
    s.lastPath = path;
    s.lqTargetWidth = *targetWidth;
    s.lqTargetHeight = *targetHeight;
    *targetWidth = 1;  // a library may write here; the binding must not care
    *targetHeight = 1;
    return Produce(buffer, size, s.width, s.height);
}

inline int32_t ReadRasterImageFromMemory(const void*, uint32_t, void* buffer, int32_t size, const char* hint)
{
    Get().lastFormat = hint ? hint : "";
    return Produce(buffer, size, Get().width, Get().height);
}

inline int32_t ReadRasterImageTypeFromMemory(const void*, uint32_t, const char*, uint8_t* type)
{
    *type = 7;
    return 1;
}

inline int32_t ReadRasterImageWH(const char*, uint32_t* width, uint32_t* height)
{
    Get().sizeReads++;
    *width = Get().width;
    *height = Get().height;
    return 1;
}

inline int32_t WriteRasterImageToMemory(const KWRasterImage*, void* buffer, int32_t size, const char* format)
{
    State& s = Get();
    s.lastFormat = format ? format : "";
    int32_t needed = int32_t(s.encoded.size());
    if (buffer && size >= needed) {
        std::memcpy(buffer, s.encoded.data(), s.encoded.size());
        return needed + s.writeDelta;
    }
    return needed;
}

inline uint8_t SaveRasterImage(const char* path, uint32_t, uint32_t, uint32_t, int32_t mode, int32_t quality,
                               const char* format, const void*)
{
    State& s = Get();
    s.lastPath = path;
    s.lastFormat = format;
    s.lastQuality = quality;
    s.lastMode = mode;
    if (!s.saveResult)
        return 0;
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return 0;
    std::fwrite("saved", 1, 5, file);
    std::fclose(file);
    return s.saveResult;
}

inline int32_t RotateRasterImage(const void*, uint32_t width, uint32_t height, void* buffer, int32_t size,
                                 int32_t, int32_t angle)
{
    Get().lastAngle = angle;
    bool quarter = angle % 180 != 0;
    return Produce(buffer, size, quarter ? height : width, quarter ? width : height);
}

inline int32_t ResizeRasterImage(const void*, uint32_t, uint32_t, uint32_t, void* buffer, uint32_t newWidth,
                                 uint32_t newHeight, int32_t size, int32_t mode)
{
    Get().lastResizeWidth = newWidth;
    Get().lastResizeHeight = newHeight;
    Get().lastMode = mode;
    return Produce(buffer, size, newWidth, newHeight);
}

}  // extern "C"

inline void Install(KWRasterFunctions& table)
{
    table.ReadRasterImage = ReadRasterImage;
    table.ReadLQRasterImage = ReadLQRasterImage;
    table.ReadRasterImageFromMemory = ReadRasterImageFromMemory;
    table.ReadRasterImageTypeFromMemory = ReadRasterImageTypeFromMemory;
    table.ReadRasterImageWH = ReadRasterImageWH;
    table.WriteRasterImageToMemory = WriteRasterImageToMemory;
    table.SaveRasterImage = SaveRasterImage;
    table.RotateRasterImage = RotateRasterImage;
    table.ResizeRasterImage = ResizeRasterImage;
}

}  // namespace fakeraster
