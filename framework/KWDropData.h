#pragma once
// The blocks of a dropped data object, each read within its own size: the
// application's drag record with its objects' data, a shell file list, and
// image data as bytes the raster library decodes.
#include "platform/classlib/OleDataObject.h"
#include "platform/classlib/String.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct KWDragInfo;

// A global block of the data object, locked while the object lives, then freed.
class CKWLockedDropBlock {
public:
    CKWLockedDropBlock(COleDataObject* data, CLIPFORMAT format);
    ~CKWLockedDropBlock();
    CKWLockedDropBlock(const CKWLockedDropBlock&) = delete;
    CKWLockedDropBlock& operator=(const CKWLockedDropBlock&) = delete;

    const uint8_t* Bytes() const { return m_bytes; }
    size_t Size() const { return m_size; }

private:
    HGLOBAL m_global;
    const uint8_t* m_bytes = nullptr;
    size_t m_size = 0;
};

enum class KWAppDropData { kAbsent, kBroken, kRead };

// The drag record and the objects' data of a drag in the application's own
// formats: absent unless both formats are offered, broken when the record
// is shorter than a record.
KWAppDropData KWReadAppDropData(COleDataObject* data, KWDragInfo& info, std::vector<uint8_t>& objects);

// The strings of a dropped file list (DROPFILES) as UTF-16: begin and end
// delimit them inside the block or, for an ANSI list, inside converted.
// False when the block holds no list.
bool KWOpenDroppedFileList(const uint8_t* block, size_t size, std::vector<wchar_t>& converted,
                           const wchar_t*& begin, const wchar_t*& end);

// The paths of a dropped file list, in order, each cut at maxLength
// characters; the list ends at its first empty string or at the block's end.
bool KWReadDroppedFiles(COleDataObject* data, std::vector<CString>& paths, size_t maxLength = 4096);

// A bitmap as a packed DIB: a BITMAPINFOHEADER followed by 32-bit bottom-up
// rows; false when it cannot be read.
bool KWPackBitmapAsDib(HBITMAP bitmap, std::vector<uint8_t>& dib);

// The dropped image of a format as the bytes the raster library decodes and
// the type name to decode them by: CF_BITMAP, a bitmap handle, as a packed
// DIB ("DIB"); CF_DIB and CF_TIFF as their blocks. False for another format
// or data that cannot be read.
bool KWReadDroppedImage(COleDataObject* data, CLIPFORMAT format, std::vector<uint8_t>& bytes, const char*& type);
