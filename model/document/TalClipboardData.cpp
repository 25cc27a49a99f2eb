#include "model/document/TalClipboardData.h"

#include "framework/KWArchive.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWSerialData.h"
#include "text/KWClipboard.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Rows of a bitmap larger than this are not read: 32-bit pixels of a
// 16384 x 16384 image already fill 1 GB.
const uint64_t kMaxDibBytes = 0x40000000u;

}  // namespace

UINT TalObjectsClipboardFormat()
{
    static const UINT s_format = ::RegisterClipboardFormatW(L"Tallier Objects");
    return s_format;
}

UINT TalPicturesClipboardFormat()
{
    static const UINT s_format = ::RegisterClipboardFormatW(L"Tallier Pictures");
    return s_format;
}

UINT TalPictureFilesClipboardFormat()
{
    static const UINT s_format = ::RegisterClipboardFormatW(L"Tallier Picture Files");
    return s_format;
}

bool PutClipboardRecord(HWND owner, UINT format, CKWSerialData& record)
{
    void* block = nullptr;
    uint32_t size = 0;
    CKWDataSerializer serializer = CKWDataSerializer::CKWDataSerializer2(&record);
    if (!serializer.Store(block, size))
        return false;
    CKWClipboard clipboard;
    const bool put = size > 0 && clipboard.Open(owner) && clipboard.Empty() && clipboard.SetData(format, block, size);
    std::free(block);
    return put;
}

bool GetClipboardRecord(const CKWClipboard& clipboard, UINT format, CKWSerialData& record)
{
    if (!clipboard.IsFormatAvailable(format))
        return false;
    const uint32_t size = clipboard.GetDataSize(format);
    if (size == 0)
        return false;
    try {
        std::vector<uint8_t> bytes(size);
        uint32_t copied = 0;
        if (!clipboard.GetData(format, bytes.data(), size, &copied) || copied == 0)
            return false;
        CKWDataSerializer serializer(bytes.data(), copied);
        return serializer.Load(record);
    } catch (const CKWArchiveException&) {
        // Another program's block under our name: nothing pastes.
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool PackBitmapAsDib(HBITMAP bitmap, std::vector<uint8_t>& dib)
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

bool GetClipboardImageBytes(const CKWClipboard& clipboard, UINT format, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (!clipboard.IsFormatAvailable(format))
        return false;
    // CF_BITMAP's data is a bitmap handle, not bytes.
    if (format == CF_BITMAP)
        return PackBitmapAsDib(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)), bytes);
    const uint32_t size = clipboard.GetDataSize(format);
    if (size == 0)
        return false;
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint32_t copied = 0;
    if (!clipboard.GetData(format, bytes.data(), size, &copied) || copied == 0) {
        bytes.clear();
        return false;
    }
    bytes.resize(copied);
    return true;
}
