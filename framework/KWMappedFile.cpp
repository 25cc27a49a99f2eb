#include "framework/KWMappedFile.h"

#include <new>

CKWMappedFile::CKWMappedFile(const wchar_t* path, uint64_t limit)
{
    if (!path || !*path)
        return;
    m_file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr);
    LARGE_INTEGER size;
    if (m_file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_file, &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > limit || uint64_t(size.QuadPart) > SIZE_MAX / 2)
        return;
    const size_t count = static_cast<size_t>(size.QuadPart);
    if (m_view.Map(m_file, count))
        m_bytes = m_view.Data();
    else if (Read(count))
        m_bytes = m_read.data();
    if (m_bytes)
        m_size = count;
}

CKWMappedFile::~CKWMappedFile()
{
    m_view.Release();
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
}

bool CKWMappedFile::Read(size_t size)
{
    try {
        m_read.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t done = 0; done < size;) {
        // Pieces of at most 64 MB: some systems refuse larger single reads.
        const size_t left = size - done;
        const DWORD piece = left > (64u << 20) ? (64u << 20) : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(m_file, m_read.data() + done, piece, &got, nullptr) || got != piece) {
            std::vector<uint8_t>().swap(m_read);
            return false;
        }
        done += got;
    }
    return true;
}
