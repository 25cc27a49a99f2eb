#pragma once
// CKWMappedFile: a whole file's bytes in memory, read-only. A file on a local
// disk is mapped, so the system brings its pages in as they are read and
// nothing is copied; any other (a share, a removable disk, whose pages could
// vanish under a reader) is read whole. The file stays open, shared for
// reading only, while its bytes are held: nobody changes what a caller
// checked before it passes the bytes on.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rasterlib/FileView.h"

class CKWMappedFile {
public:
    // Holds the whole file when it is not empty and at most limit bytes long.
    CKWMappedFile(const wchar_t* path, uint64_t limit);
    ~CKWMappedFile();
    CKWMappedFile(const CKWMappedFile&) = delete;
    CKWMappedFile& operator=(const CKWMappedFile&) = delete;

    // Null when the file could not be held.
    const uint8_t* Bytes() const { return m_bytes; }
    size_t Size() const { return m_size; }

private:
    bool Read(size_t size);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    rasterlib::FileView m_view;
    std::vector<uint8_t> m_read;
    const uint8_t* m_bytes = nullptr;
    size_t m_size = 0;
};
