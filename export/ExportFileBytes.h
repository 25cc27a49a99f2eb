#pragma once
// The bytes of a whole picture file for an export to check and pass on as
// they are: the file mapped where it lies on a local disk (no copy of it is
// made), read into memory elsewhere. The file stays open, shared for reading
// only, while its bytes are held, so that nobody changes what was checked
// before it is written.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/rasterlib/FileView.h"

class ExportFileBytes {
public:
    ExportFileBytes() = default;
    ~ExportFileBytes() { Close(); }
    ExportFileBytes(const ExportFileBytes&) = delete;
    ExportFileBytes& operator=(const ExportFileBytes&) = delete;

    // Lets go of the file held before. False, holding nothing, when the file
    // cannot be opened or read, is empty or is larger than limit.
    bool Open(const wchar_t* path, uint64_t limit);
    void Close();

    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    bool Read();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    rasterlib::FileView m_view;
    std::vector<uint8_t> m_read;  // a file read rather than mapped; kept for the next one
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
};
