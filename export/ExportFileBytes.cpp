#include "export/ExportFileBytes.h"

#include <new>

bool ExportFileBytes::Open(const wchar_t* path, uint64_t limit)
{
    Close();
    if (!path || !*path)
        return false;
    m_file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_file, &size) || size.QuadPart <= 0 || uint64_t(size.QuadPart) > limit ||
        uint64_t(size.QuadPart) > SIZE_MAX) {
        Close();
        return false;
    }
    m_size = static_cast<size_t>(size.QuadPart);
    if (m_view.Map(m_file, m_size)) {
        m_data = m_view.Data();
        return true;
    }
    if (!Read()) {
        Close();
        return false;
    }
    m_data = m_read.data();
    return true;
}

void ExportFileBytes::Close()
{
    m_view.Release();
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_data = nullptr;
    m_size = 0;
}

bool ExportFileBytes::Read()
{
    try {
        // Grown to the exact size, the old storage let go first: peak memory
        // stays one file's size.
        if (m_read.capacity() < m_size) {
            std::vector<uint8_t>().swap(m_read);
            m_read.reserve(m_size);
        }
        m_read.resize(m_size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t done = 0; done < m_size;) {
        // Pieces of at most 64 MB: some systems refuse larger single reads.
        const size_t left = m_size - done;
        const DWORD piece = left > (64u << 20) ? (64u << 20) : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(m_file, m_read.data() + done, piece, &got, nullptr) || got != piece)
            return false;
        done += got;
    }
    return true;
}
