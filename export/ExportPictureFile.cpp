#include "export/ExportPictureFile.h"

#include "export/ExportJpeg.h"
#include "framework/KWMappedFile.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterLib.h"
#include "framework/RasterExportRequest.h"

#include <string>

namespace {

bool IsFile(const wchar_t* path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The formats copied as they stand, by the library's format name, with the
// file extensions that name them.
struct ShownFormat {
    const char* format;
    const wchar_t* extensions[4];
};
const ShownFormat kShownFormats[] = {
    {"jpg", {L"jpg", L"jpeg", L"jpe", L"jfif"}},
    {"png", {L"png", nullptr}},
    {"gif", {L"gif", nullptr}},
    {"bmp", {L"bmp", L"dib", nullptr}},
};

const ShownFormat* FindShownFormat(const std::string& format)
{
    for (const ShownFormat& shown : kShownFormats) {
        if (format == shown.format)
            return &shown;
    }
    return nullptr;
}

// The source's own extension when it names the format, else the format's first.
CString ExtensionFor(const ShownFormat& shown, const CString& source)
{
    const CString own = GetPathExtension(source);
    for (const wchar_t* extension : shown.extensions) {
        if (extension && own.CompareNoCase(extension) == 0)
            return own;
    }
    return CString(shown.extensions[0]);
}

// Larger JPEG files are not passed on: our decoder does not read them either.
const uint64_t kMaxJpegBytes = uint64_t(256) << 20;

bool IsSoundJpegFile(const wchar_t* path)
{
    // Seen where it lies: every byte is walked, none needs a copy.
    const CKWMappedFile file(path, kMaxJpegBytes);
    ExportJpegInfo info;
    return file.Bytes() && IsSoundJpeg(file.Bytes(), file.Size(), info) && info.IsCommon();
}

SIZE PlaceholderSize()
{
    SIZE size = {1, 1};
    KWRasterImagePtr placeholder(g_rasterLib.RasterCopyPlaceholder());
    if (placeholder && placeholder->width && placeholder->height) {
        size.cx = static_cast<LONG>(placeholder->width);
        size.cy = static_cast<LONG>(placeholder->height);
    }
    return size;
}

}  // namespace

SIZE GetExportPictureSize(uint32_t pictureId)
{
    if (g_rasterLib.GetPictureState(pictureId, false) == KWPictureState::Missing)
        return PlaceholderSize();
    // A damaged picture is shown as what decodes of it, whose proportions may
    // not be those its header claims.
    return g_rasterLib.GetShownSize(pictureId);
}

ExportPictureFile ChooseExportPictureFile(uint32_t pictureId, bool readerTurns)
{
    ExportPictureFile file;
    file.extension = L"png";
    // A file changed since its check (cut short while the report is written)
    // is checked again, never copied as the sound file it was.
    g_rasterLib.ForgetIfChanged(pictureId);
    CKWRasterLib::ImageInfo info;
    const KWPictureState state = g_rasterLib.GetPictureState(pictureId, false);
    if (state == KWPictureState::Missing || !g_rasterLib.GetImageInfo(pictureId, info)) {
        file.size = GetExportPictureSize(pictureId);
        return file;
    }
    file.size = info.size;
    const ShownFormat* shown = FindShownFormat(info.format);
    if (!shown)
        return file;
    const CString source = g_rasterLib.GetImagePath(pictureId);
    file.extension = ExtensionFor(*shown, source);
    // A damaged file is never passed on: what decodes of it is encoded.
    if (state != KWPictureState::Sound) {
        file.size = GetExportPictureSize(pictureId);
        return file;
    }
    if (info.format == "jpg") {
        const bool sound = IsSoundJpegFile(source);
        file.copy = (readerTurns || info.orientation == 1) && sound;
        file.turnLosslessly = !file.copy && sound;
    } else {
        file.copy = true;
    }
    return file;
}

bool WriteExportPictureFile(uint32_t pictureId, ExportPictureFile& file, const wchar_t* target, int32_t rotation,
                            bool grayscale)
{
    const CString source = g_rasterLib.GetImagePath(pictureId);
    if (file.turnLosslessly && rotation == 0 && !grayscale && g_rasterLib.WriteUprightJpeg(pictureId, target))
        return true;
    if (!file.copy || rotation != 0 || grayscale) {
        // Encoded by the library into the file where it can, else into memory.
        RasterExportRequest request(file.extension, 0, 0, rotation, grayscale);
        const bool written = g_rasterLib.EncodeImageFileForExport(pictureId, request, target);
        if (written || g_rasterLib.EncodeImageForExport(pictureId, request)) {
            file.size.cx = static_cast<LONG>(request.maxWidth);
            file.size.cy = static_cast<LONG>(request.maxHeight);
            return written || WriteBinaryFile(target, request.bytes, request.byteCount);
        }
    }
    // Without the library nothing can be encoded: a sound file goes as it is,
    // a damaged one not at all. A picture whose file is gone is missing, which
    // is no failure of the export.
    if (source.IsEmpty() || !IsFile(source) || g_rasterLib.GetPictureState(pictureId, false) != KWPictureState::Sound)
        return true;
    return ::CopyFileW(source, target, FALSE) != FALSE;
}

bool WriteBinaryFile(const wchar_t* path, const void* bytes, uint32_t count)
{
    if (!path || !*path || (count > 0 && !bytes))
        return false;
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    DWORD error = 0;
    while (error == 0 && count > 0) {
        // Large blocks go in pieces; some file systems refuse huge single writes.
        const DWORD chunk = count > (1u << 24) ? (1u << 24) : count;
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr))
            error = ::GetLastError();
        else if (written != chunk)
            error = ERROR_DISK_FULL;  // a short write without an error
        p += chunk;
        count -= chunk;
    }
    if (!::CloseHandle(file) && error == 0)
        error = ::GetLastError();
    if (error == 0)
        return true;
    // No part of a file is left to be taken for the whole; the caller
    // still reads why it failed.
    ::DeleteFileW(path);
    ::SetLastError(error);
    return false;
}
