#include "framework/KWMappedFile.h"

#include <windows.h>

CKWMappedFile::CKWMappedFile(const wchar_t* path, uint64_t limit) : m_file(INVALID_HANDLE_VALUE)
{
    if (!path || !*path)
        return;
    m_file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr);
    LARGE_INTEGER size;
    if (m_file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_file, &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > limit || uint64_t(size.QuadPart) > SIZE_MAX / 2)
        return;
    m_mapping = ::CreateFileMappingW(m_file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!m_mapping)
        return;
    m_bytes = static_cast<const uint8_t*>(::MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
    if (m_bytes)
        m_size = static_cast<size_t>(size.QuadPart);
}

CKWMappedFile::~CKWMappedFile()
{
    if (m_bytes)
        ::UnmapViewOfFile(m_bytes);
    if (m_mapping)
        ::CloseHandle(m_mapping);
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
}
