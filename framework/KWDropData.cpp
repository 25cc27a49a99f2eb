#include "framework/KWDropData.h"

#include "framework/KWClipFormats.h"
#include "framework/KWDragInfo.h"
#include "framework/KWSystemInfo.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Rows of a bitmap larger than this are not read: 32-bit pixels of a
// 16384 x 16384 image already fill 1 GB.
const uint64_t kMaxDibBytes = 0x40000000u;

}  // namespace

CKWLockedDropBlock::CKWLockedDropBlock(COleDataObject* data, CLIPFORMAT format)
    : m_global(data ? data->GetGlobalData(format) : nullptr)
{
    if (m_global) {
        m_bytes = static_cast<const uint8_t*>(::GlobalLock(m_global));
        m_size = m_bytes ? ::GlobalSize(m_global) : 0;
    }
}

CKWLockedDropBlock::~CKWLockedDropBlock()
{
    if (m_bytes)
        ::GlobalUnlock(m_global);
    if (m_global)
        ::GlobalFree(m_global);
}

KWAppDropData KWReadAppDropData(COleDataObject* data, KWDragInfo& info, std::vector<uint8_t>& objects)
{
    info.Clear();
    objects.clear();
    if (!data || !data->IsDataAvailable(g_cfAppDragInfo) || !data->IsDataAvailable(g_cfAppObject))
        return KWAppDropData::kAbsent;
    CKWLockedDropBlock record(data, g_cfAppDragInfo);
    if (!info.ReadFrom(record.Bytes(), record.Size()))
        return KWAppDropData::kBroken;
    CKWLockedDropBlock block(data, g_cfAppObject);
    if (block.Bytes())
        objects.assign(block.Bytes(), block.Bytes() + block.Size());
    return KWAppDropData::kRead;
}

bool KWOpenDroppedFileList(const uint8_t* block, size_t size, std::vector<wchar_t>& converted,
                           const wchar_t*& begin, const wchar_t*& end)
{
    begin = end = nullptr;
    if (!block || size < sizeof(DROPFILES))
        return false;
    const auto* header = reinterpret_cast<const DROPFILES*>(block);
    if (header->pFiles >= size)
        return false;
    const uint8_t* list = block + header->pFiles;
    const size_t listBytes = size - header->pFiles;
    if (header->fWide) {
        begin = reinterpret_cast<const wchar_t*>(list);
        end = begin + listBytes / sizeof(wchar_t);
        return true;
    }
    const int bytes = static_cast<int>(std::min<size_t>(listBytes, 0x7FFFFFFF));
    const int count = ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(list), bytes, nullptr, 0);
    converted.assign(static_cast<size_t>(std::max(count, 0)), 0);
    if (count > 0)
        ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(list), bytes, converted.data(), count);
    begin = converted.data();
    end = begin + converted.size();
    return true;
}

bool KWReadDroppedFiles(COleDataObject* data, std::vector<CString>& paths, size_t maxLength)
{
    paths.clear();
    CKWLockedDropBlock block(data, CF_HDROP);
    std::vector<wchar_t> converted;
    const wchar_t* position = nullptr;
    const wchar_t* end = nullptr;
    if (!KWOpenDroppedFileList(block.Bytes(), block.Size(), converted, position, end))
        return false;
    while (position < end && *position != 0) {
        const wchar_t* stop = position;
        while (stop < end && *stop != 0)
            ++stop;
        const size_t length = std::min(static_cast<size_t>(stop - position), maxLength);
        paths.emplace_back(position, static_cast<int>(length));
        position = stop + 1;
    }
    return true;
}

bool KWPackBitmapAsDib(HBITMAP bitmap, std::vector<uint8_t>& dib)
{
    BITMAP info = {};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return false;
    const uint64_t bits = uint64_t(info.bmWidth) * uint64_t(info.bmHeight) * 4;
    if (bits > kMaxDibBytes)
        return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(bits);
    try {
        dib.assign(sizeof(header) + static_cast<size_t>(bits), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memcpy(dib.data(), &header, sizeof(header));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), dib.data() + sizeof(header),
                                 reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) {
        dib.clear();
        return false;
    }
    return true;
}

bool KWReadDroppedImage(COleDataObject* data, CLIPFORMAT format, std::vector<uint8_t>& bytes, const char*& type)
{
    bytes.clear();
    type = nullptr;
    if (!data)
        return false;
    if (format == CF_BITMAP) {
        // The bitmap comes as a handle (a GDI medium), not as bytes.
        FORMATETC request = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
        STGMEDIUM medium = {};
        if (!data->GetData(CF_BITMAP, &medium, &request))
            return false;
        const bool packed = medium.tymed == TYMED_GDI && KWPackBitmapAsDib(medium.hBitmap, bytes);
        ::ReleaseStgMedium(&medium);
        return packed && GetImageTypeName(CF_DIB, type);
    }
    if (!GetImageTypeName(format, type))
        return false;
    CKWLockedDropBlock block(data, format);
    if (!block.Bytes() || block.Size() == 0) {
        type = nullptr;
        return false;
    }
    try {
        bytes.assign(block.Bytes(), block.Bytes() + block.Size());
    } catch (const std::bad_alloc&) {
        type = nullptr;
        return false;
    }
    return true;
}
