// The exported functions of DAZiruraRuv.dll. Each one answers a size query (null
// buffer or size 0) with the size needed and fills a large enough buffer on the second
// call; nothing thrown inside leaves them.
#include "platform/rasterlib/RasterLibApi.h"

#include "platform/rasterlib/EncodeMemo.h"
#include "platform/rasterlib/ExportCalls.h"
#include "platform/rasterlib/FormatRecords.h"
#include "platform/rasterlib/ImageSource.h"
#include "platform/rasterlib/ImageWriter.h"
#include "platform/rasterlib/MagickConfig.h"
#include "platform/rasterlib/Resampler.h"
#include "platform/rasterlib/Rotator.h"

#include <windows.h>

#include <cstring>
#include <type_traits>

using namespace rasterlib;

namespace {

bool RecordView(const void* record, PixelView& view)
{
    if (!record)
        return false;
    RasterRecordHeader header;
    std::memcpy(&header, record, sizeof header);
    view = PixelView{static_cast<const uint8_t*>(record) + sizeof header, header.width, header.height, header.stride};
    return IsValidView(view);
}

}  // namespace

extern "C" {

int32_t __cdecl ReadRasterImage(const char* path, void* buffer, int32_t bufferSize)
{
    return ReadRasterImageW(WidenAnsi(path).c_str(), buffer, bufferSize);
}

int32_t __cdecl ReadLQRasterImage(const char* path, void* buffer, int32_t bufferSize, const int32_t* targetWidth,
                                  const int32_t* targetHeight, int32_t reserved1, int32_t reserved2, int32_t reserved3)
{
    return ReadLQRasterImageW(WidenAnsi(path).c_str(), buffer, bufferSize, targetWidth, targetHeight, reserved1,
                              reserved2, reserved3);
}

int32_t __cdecl ReadRasterImageFromMemory(const void* bytes, int32_t count, void* buffer, int32_t bufferSize,
                                          const char* formatHint)
{
    try {
        ImageSource source;
        if (count <= 0 || !source.OpenMemory(static_cast<const uint8_t*>(bytes), size_t(count), formatHint))
            return 0;
        return ReadRecord(source, 0, 0, buffer, bufferSize);
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl ReadRasterImageTypeFromMemory(const void* bytes, int32_t count, const char* formatName, uint8_t* type)
{
    try {
        if (type)
            *type = kImageTypeColour;
        ImageSource source;
        if (!type || count <= 0 || !source.OpenMemory(static_cast<const uint8_t*>(bytes), size_t(count), formatName))
            return 0;
        *type = source.IsGrey() ? kImageTypeGrey : kImageTypeColour;
        return 1;
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl ReadRasterImageWH(const char* path, int32_t* width, int32_t* height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    RasterImageInfo info = {sizeof info, 0, 0, 0, {}};
    if (!width || !height || !ReadRasterImageInfoW(WidenAnsi(path).c_str(), &info))
        return 0;
    *width = info.width;
    *height = info.height;
    return 1;
}

int32_t __cdecl WriteRasterImageToMemory(const void* record, void* buffer, int32_t bufferSize, const char* formatName)
{
    try {
        PixelView view;
        if (!RecordView(record, view))
            return 0;
        std::vector<uint8_t> bytes;
        const bool fill = buffer && bufferSize > 0;
        if (!(fill && EncodeMemo::Take(view, formatName, bytes)) &&
            !EncodeImage(view, formatName, kDefaultJpegQuality, bytes))
            return 0;
        if (bytes.empty() || bytes.size() > 0x7FFFFFFF)
            return 0;
        if (!fill || uint64_t(bufferSize) < bytes.size()) {
            EncodeMemo::Keep(view, formatName, bytes);
            return int32_t(bytes.size());
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
        return int32_t(bytes.size());
    } catch (...) {
        return 0;
    }
}

uint8_t __cdecl SaveRasterImage(const char* path, int32_t width, int32_t height, int32_t stride, int32_t layout,
                                int32_t quality, const char* formatName, const void* pixels)
{
    return SaveRasterImageW(WidenAnsi(path).c_str(), width, height, stride, layout, quality, formatName, pixels);
}

int32_t __cdecl TestRasterFormat(const char* path)
{
    RasterImageInfo info = {sizeof info, 0, 0, 0, {}};
    return ReadRasterImageInfoW(WidenAnsi(path).c_str(), &info);
}

int32_t __cdecl ResizeRasterImage(const void* pixels, int32_t width, int32_t height, int32_t stride, void* buffer,
                                  int32_t newWidth, int32_t newHeight, int32_t bufferSize, int32_t mode)
{
    try {
        if (width <= 0 || height <= 0 || stride <= 0 || newWidth < 0 || newHeight < 0)
            return 0;
        const PixelView view{static_cast<const uint8_t*>(pixels), uint32_t(width), uint32_t(height), uint32_t(stride)};
        if (!IsValidView(view))
            return 0;
        uint32_t outWidth = uint32_t(newWidth), outHeight = uint32_t(newHeight);
        if (mode == kResizeFit) {
            if (newWidth == 0 && newHeight == 0)
                return 0;
            FitInside(view.width, view.height, outWidth, outHeight, outWidth, outHeight);
        } else if (mode != kResizeExact || newWidth == 0 || newHeight == 0) {
            return 0;
        }
        return Deliver(RecordBytes(outWidth, outHeight), buffer, bufferSize,
                       [&] { return Resample(view, PlaceRecord(buffer, outWidth, outHeight)); });
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl RotateRasterImage(const void* pixels, int32_t width, int32_t height, void* buffer, int32_t bufferSize,
                                  uint32_t background, int32_t angle)
{
    try {
        if (width <= 0 || height <= 0 || uint64_t(width) * 4 > 0xFFFFFFFFu)
            return 0;
        const PixelView view{static_cast<const uint8_t*>(pixels), uint32_t(width), uint32_t(height),
                             uint32_t(width) * 4};
        uint32_t outWidth = 0, outHeight = 0;
        if (!IsValidView(view) || !RotatedSize(view.width, view.height, angle, outWidth, outHeight))
            return 0;
        return Deliver(RecordBytes(outWidth, outHeight), buffer, bufferSize,
                       [&] { return Rotate(view, angle, background, PlaceRecord(buffer, outWidth, outHeight)); });
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl Quartz_InitializeMagick(const char* configurePath)
{
    try {
        return CheckConfigurationFile(configurePath) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

CQMFormatInfo* __cdecl CreateFormatList()
{
    try {
        return reinterpret_cast<CQMFormatInfo*>(BuildFormatList());
    } catch (...) {
        return nullptr;
    }
}

void __cdecl DisposeFormatList(CQMFormatInfo* list)
{
    FreeFormatList(reinterpret_cast<FormatRecord*>(list));
}

}  // extern "C"

// The exports must match the pointer types callers declare.
static_assert(std::is_same<decltype(&ReadRasterImage), PFN_ReadRasterImage>::value, "ReadRasterImage");
static_assert(std::is_same<decltype(&ReadLQRasterImage), PFN_ReadLQRasterImage>::value, "ReadLQRasterImage");
static_assert(std::is_same<decltype(&ReadRasterImageFromMemory), PFN_ReadRasterImageFromMemory>::value,
              "ReadRasterImageFromMemory");
static_assert(std::is_same<decltype(&ReadRasterImageTypeFromMemory), PFN_ReadRasterImageTypeFromMemory>::value,
              "ReadRasterImageTypeFromMemory");
static_assert(std::is_same<decltype(&ReadRasterImageWH), PFN_ReadRasterImageWH>::value, "ReadRasterImageWH");
static_assert(std::is_same<decltype(&WriteRasterImageToMemory), PFN_WriteRasterImageToMemory>::value,
              "WriteRasterImageToMemory");
static_assert(std::is_same<decltype(&SaveRasterImage), PFN_SaveRasterImage>::value, "SaveRasterImage");
static_assert(std::is_same<decltype(&TestRasterFormat), PFN_TestRasterFormat>::value, "TestRasterFormat");
static_assert(std::is_same<decltype(&ResizeRasterImage), PFN_ResizeRasterImage>::value, "ResizeRasterImage");
static_assert(std::is_same<decltype(&RotateRasterImage), PFN_RotateRasterImage>::value, "RotateRasterImage");
static_assert(std::is_same<decltype(&Quartz_InitializeMagick), PFN_Quartz_InitializeMagick>::value,
              "Quartz_InitializeMagick");
static_assert(std::is_same<decltype(&CreateFormatList), PFN_CreateFormatList>::value, "CreateFormatList");
static_assert(std::is_same<decltype(&DisposeFormatList), PFN_DisposeFormatList>::value, "DisposeFormatList");
