#include "document/TalClipboardData.h"

#include "framework/KWArchive.h"
#include "framework/KWDataSerializer.h"
#include "framework/KWDropData.h"
#include "framework/KWSerialData.h"
#include "text/KWClipboard.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct ClipboardHolds {
    std::vector<CKWPictureHold> holds;
    DWORD sequence = 0;  // the clipboard's change count once they were put
};

// Never destroyed: at the program's end the clipboard's pictures stay held,
// and the store's end keeps the files the clipboard still names for a paste
// in another copy of the program.
ClipboardHolds& TheClipboardHolds()
{
    static ClipboardHolds* s_holds = new ClipboardHolds;
    return *s_holds;
}

}  // namespace

void HoldClipboardPictures(std::vector<CKWPictureHold> holds)
{
    ClipboardHolds& kept = TheClipboardHolds();
    kept.holds = std::move(holds);
    kept.sequence = ::GetClipboardSequenceNumber();
}

void ReleaseReplacedClipboardPictures()
{
    ClipboardHolds& kept = TheClipboardHolds();
    if (!kept.holds.empty() && ::GetClipboardSequenceNumber() != kept.sequence)
        kept.holds.clear();
}

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

bool GetClipboardImageBytes(const CKWClipboard& clipboard, UINT format, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (!clipboard.IsFormatAvailable(format))
        return false;
    // CF_BITMAP's data is a bitmap handle, not bytes.
    if (format == CF_BITMAP)
        return KWPackBitmapAsDib(static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)), bytes);
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
