#pragma once
// A picture file seen whole in memory without reading it into a buffer: a
// read-only view of the file opened by its UTF-16 path. The exports check a
// JPEG through it and copy it from it in one piece.
#include <windows.h>

#include <cstddef>
#include <cstdint>

class CExportFileView {
public:
    // An empty file, a file that cannot be opened or one too large for the
    // address space gives no view.
    explicit CExportFileView(const wchar_t* path);
    ~CExportFileView();
    CExportFileView(const CExportFileView&) = delete;
    CExportFileView& operator=(const CExportFileView&) = delete;

    bool IsOpen() const { return m_data != nullptr; }
    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
};
