#pragma once
// CKWMappedFile: a file's bytes seen in memory, read-only, without copying
// them: the system brings the pages in as they are read.
#include <cstddef>
#include <cstdint>

class CKWMappedFile {
public:
    // Maps the whole file when it is not empty and at most limit bytes long.
    CKWMappedFile(const wchar_t* path, uint64_t limit);
    ~CKWMappedFile();
    CKWMappedFile(const CKWMappedFile&) = delete;
    CKWMappedFile& operator=(const CKWMappedFile&) = delete;

    // Null when the file could not be mapped.
    const uint8_t* Bytes() const { return m_bytes; }
    size_t Size() const { return m_size; }

private:
    void* m_file;
    void* m_mapping = nullptr;
    const uint8_t* m_bytes = nullptr;
    size_t m_size = 0;
};
