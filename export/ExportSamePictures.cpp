#include "export/ExportSamePictures.h"

#include "framework/KWMappedFile.h"
#include "framework/KWRasterLib.h"

#include <windows.h>

#include <cstring>

namespace {

// Files compared: larger ones are not passed on by the exports either.
const uint64_t kMostComparedBytes = uint64_t(256) << 20;

bool FileLength(const wchar_t* path, uint64_t& length)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !::GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    length = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    return length > 0 && length <= kMostComparedBytes;
}

bool SameBytes(const wchar_t* first, const wchar_t* second)
{
    const CKWMappedFile a(first, kMostComparedBytes);
    const CKWMappedFile b(second, kMostComparedBytes);
    return a.Bytes() && b.Bytes() && a.Size() == b.Size() && std::memcmp(a.Bytes(), b.Bytes(), a.Size()) == 0;
}

}  // namespace

uint32_t CExportSamePictures::Written(uint32_t pictureId)
{
    const auto known = m_written.find(pictureId);
    if (known != m_written.end())
        return known->second;
    uint32_t written = pictureId;
    const CString path = g_rasterLib.GetImagePath(pictureId);
    uint64_t length = 0;
    if (pictureId != 0 && FileLength(path, length)) {
        const auto range = m_byLength.equal_range(length);
        for (auto it = range.first; it != range.second; ++it) {
            if (SameBytes(path, g_rasterLib.GetImagePath(it->second))) {
                written = it->second;
                break;
            }
        }
        if (written == pictureId)
            m_byLength.emplace(length, pictureId);
    }
    m_written.emplace(pictureId, written);
    return written;
}
