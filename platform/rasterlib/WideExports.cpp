// The exported functions that take a file path, by UTF-16 path; the ANSI forms in
// Exports.cpp widen their path and come here.
#include "platform/rasterlib/RasterLibApi.h"

#include "platform/rasterlib/ExportCalls.h"
#include "platform/rasterlib/ImageHeader.h"
#include "platform/rasterlib/ImageSource.h"
#include "platform/rasterlib/ImageWriter.h"
#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/JpegReencode.h"
#include "platform/rasterlib/JpegTransform.h"
#include "platform/rasterlib/JpegTurn.h"
#include "platform/rasterlib/Orientation.h"
#include "platform/rasterlib/PictureCheck.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <type_traits>

using namespace rasterlib;

namespace {

uint32_t Target(const int32_t* value)
{
    return value && *value > 0 ? uint32_t(*value) : 0;
}

// A file made new where none of the name exists: a file truncated on opening is
// written out in full by some file systems when it is closed.
HANDLE CreateForWriting(const wchar_t* path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS)
        file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file;
}

bool WriteWholeFile(const wchar_t* path, const std::vector<uint8_t>& bytes)
{
    if (!path || !*path || bytes.size() > 0x7FFFFFFF)
        return false;
    HANDLE file = CreateForWriting(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    const bool closed = ::CloseHandle(file) != FALSE;
    if (!ok || !closed) {
        ::DeleteFileW(path);
        return false;
    }
    return true;
}

// A stream written as it is made, a piece at a time through the sink that
// produce is given; no file is left when it fails.
bool WriteProducedFile(const wchar_t* path, const std::function<bool(const ByteSink&)>& produce)
{
    if (!path || !*path)
        return false;
    HANDLE file = CreateForWriting(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = produce([file](const uint8_t* bytes, size_t count) {
        DWORD written = 0;
        return ::WriteFile(file, bytes, DWORD(count), &written, nullptr) && written == count;
    });
    const bool closed = ::CloseHandle(file) != FALSE;
    if (!ok || !closed) {
        ::DeleteFileW(path);
        return false;
    }
    return true;
}

// The turned stream written as it is made; no file is left when it fails.
bool WriteTurnedFile(const wchar_t* path, JpegTurn& turn)
{
    return WriteProducedFile(path, [&turn](const ByteSink& sink) { return turn.Write(sink); });
}

// The first extension of the format's entry ("jpg" for JPEG).
const char* FormatName(ImageFormat format)
{
    size_t count = 0;
    const FormatEntry* entries = FormatEntries(count);
    for (size_t i = 0; i < count; ++i) {
        if (entries[i].format == format)
            return entries[i].extensions[0];
    }
    return "";
}

}  // namespace

extern "C" {

int32_t __cdecl ReadRasterImageW(const wchar_t* path, void* buffer, int32_t bufferSize)
{
    try {
        ImageSource source;
        return source.OpenFile(path) ? ReadRecord(source, 0, 0, buffer, bufferSize) : 0;
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl ReadLQRasterImageW(const wchar_t* path, void* buffer, int32_t bufferSize, const int32_t* targetWidth,
                                   const int32_t* targetHeight, int32_t, int32_t, int32_t)
{
    try {
        ImageSource source;
        if (!source.OpenFile(path))
            return 0;
        return ReadRecord(source, Target(targetWidth), Target(targetHeight), buffer, bufferSize);
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl ReadRasterImageInfoW(const wchar_t* path, RasterImageInfo* info)
{
    try {
        if (!info || info->size < sizeof(RasterImageInfo))
            return 0;
        info->width = info->height = 0;
        info->orientation = kOrientationUpright;
        std::memset(info->format, 0, sizeof info->format);
        ImageSource source;
        if (!source.OpenFile(path))
            return 0;
        info->width = int32_t(source.Width());
        info->height = int32_t(source.Height());
        info->orientation = source.Orientation();
        std::strncpy(info->format, FormatName(source.Format()), sizeof info->format - 1);
        return 1;
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl CheckRasterImageW(const wchar_t* path, int32_t flags)
{
    try {
        return int32_t(CheckPictureFile(path, (flags & kCheckByDecoding) != 0));
    } catch (...) {
        return kPictureDamaged;
    }
}

uint8_t __cdecl SaveRasterImageW(const wchar_t* path, int32_t width, int32_t height, int32_t stride, int32_t layout,
                                 int32_t quality, const char* formatName, const void* pixels)
{
    try {
        if (layout != kPixelLayoutBgra || width <= 0 || height <= 0 || stride <= 0)
            return 0;
        const PixelView view{static_cast<const uint8_t*>(pixels), uint32_t(width), uint32_t(height), uint32_t(stride)};
        if (!IsValidView(view))
            return 0;
        // Written as it is encoded: no whole copy of the file stands in memory.
        return WriteProducedFile(path, [&](const ByteSink& sink) { return EncodeImage(view, formatName, quality, sink); })
                   ? 1
                   : 0;
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl WriteUprightJpegW(const wchar_t* source, const wchar_t* target)
{
    try {
        ByteSource bytes;
        JpegInfo info;
        if (!bytes.OpenFile(source) || !ReadJpegHeader(bytes, info) || info.exifLength == 0 ||
            !IsPlausibleJpeg(info, bytes.Size()) || !IsWithinPixelBound(info.width, info.height))
            return 0;
        const uint8_t orientation = ReadTiffOrientation(bytes, info.exifOffset, info.exifLength);
        const uint8_t* data = orientation != kOrientationUpright ? bytes.Whole() : nullptr;
        if (!data)
            return 0;
        // The blocks moved with the scan's data held once; libjpeg-turbo turns
        // the streams that are not taken so, with every coefficient held twice.
        JpegTurn turn;
        switch (turn.Open(data, size_t(bytes.Size()), orientation)) {
        case JpegTurn::Opening::Ready:
            return WriteTurnedFile(target, turn) ? 1 : 0;
        case JpegTurn::Opening::NotExact:
        case JpegTurn::Opening::Damaged:
            return 0;
        case JpegTurn::Opening::NotTaken:
            break;
        }
        std::vector<uint8_t> upright;
        if (!TransformJpegUpright(data, size_t(bytes.Size()), orientation, upright))
            return 0;
        // libjpeg-turbo's turn writes a value the standard tables cannot code
        // (a coefficient of 11 bits) as a code no table has, and answers
        // success: what it made counts only once it decodes whole, at the
        // upright size.
        ImageSource turned;
        const bool swap = SwapsSides(orientation);
        if (!turned.OpenMemory(upright.data(), upright.size(), nullptr) ||
            turned.Width() != (swap ? info.height : info.width) || turned.Height() != (swap ? info.width : info.height) ||
            CheckPictureMemory(upright.data(), upright.size(), false) != PictureState::Sound)
            return 0;
        return WriteWholeFile(target, upright) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl WriteUnturnedJpegW(const wchar_t* source, const wchar_t* target)
{
    try {
        ByteSource bytes;
        JpegInfo info;
        OrientationEntries entries;
        if (!bytes.OpenFile(source) || !ReadJpegHeader(bytes, info) || !IsPlausibleJpeg(info, bytes.Size()) ||
            !FindTiffOrientations(bytes, info.exifOffset, info.exifLength, entries))
            return 0;
        // One value that every reader takes alike, and no other place that a
        // reader may turn the picture by: a second entry, a LONG, a list, or
        // an orientation in XMP would turn the copy again in some reader.
        if (entries.count != 1 || entries.type != kTiffTypeShort || entries.values != 1 || entries.value == 0 ||
            info.xmpOrientation)
            return 0;
        const uint8_t* data = bytes.Whole();
        if (!data)
            return 0;
        // Every other byte as it stands: the coded picture is not touched.
        std::vector<uint8_t> copy(data, data + size_t(bytes.Size()));
        const size_t at = size_t(entries.valueAt);
        copy[at] = entries.bigEndian ? 0 : kOrientationUpright;
        copy[at + 1] = entries.bigEndian ? kOrientationUpright : 0;
        return WriteWholeFile(target, copy) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int32_t __cdecl EncodeTurnedJpegW(const wchar_t* source, const wchar_t* target, int32_t rotation, int32_t quality)
{
    try {
        ByteSource bytes;
        JpegInfo info;
        if (!bytes.OpenFile(source) || !ReadJpegHeader(bytes, info) || !IsWithinPixelBound(info.width, info.height))
            return 0;
        JpegReencoding settings;
        settings.orientation = ReadTiffOrientation(bytes, info.exifOffset, info.exifLength);
        settings.rotation = rotation;
        settings.quality = quality > 0 ? (quality > 100 ? 100 : quality) : kDefaultJpegQuality;
        const uint8_t* data = bytes.Whole();
        if (!data || ComposeTurn(settings.orientation, rotation) == 0)
            return 0;
        const size_t count = size_t(bytes.Size());
        return WriteProducedFile(target, [&](const ByteSink& sink) { return ReencodeJpeg(data, count, settings, sink); })
                   ? 1
                   : 0;
    } catch (...) {
        return 0;
    }
}

}  // extern "C"

static_assert(std::is_same<decltype(&ReadRasterImageW), PFN_ReadRasterImageW>::value, "ReadRasterImageW");
static_assert(std::is_same<decltype(&ReadLQRasterImageW), PFN_ReadLQRasterImageW>::value, "ReadLQRasterImageW");
static_assert(std::is_same<decltype(&ReadRasterImageInfoW), PFN_ReadRasterImageInfoW>::value, "ReadRasterImageInfoW");
static_assert(std::is_same<decltype(&CheckRasterImageW), PFN_CheckRasterImageW>::value, "CheckRasterImageW");
static_assert(int32_t(PictureState::Damaged) == kPictureDamaged && int32_t(PictureState::Missing) == kPictureMissing &&
                  int32_t(PictureState::NotPicture) == kPictureNotImage && int32_t(PictureState::Empty) == kPictureEmpty &&
                  int32_t(PictureState::TooLarge) == kPictureTooLarge &&
                  int32_t(PictureState::UnreadKind) == kPictureUnreadKind,
              "check answers");
static_assert(std::is_same<decltype(&SaveRasterImageW), PFN_SaveRasterImageW>::value, "SaveRasterImageW");
static_assert(std::is_same<decltype(&WriteUprightJpegW), PFN_WriteUprightJpegW>::value, "WriteUprightJpegW");
static_assert(std::is_same<decltype(&WriteUnturnedJpegW), PFN_WriteUnturnedJpegW>::value, "WriteUnturnedJpegW");
static_assert(std::is_same<decltype(&EncodeTurnedJpegW), PFN_EncodeTurnedJpegW>::value, "EncodeTurnedJpegW");
