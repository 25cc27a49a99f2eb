#include "platform/rasterlib/ByteSource.h"

#include <cstring>
#include <new>

namespace rasterlib {

std::wstring WidenAnsi(const char* text)
{
    if (!text || !*text)
        return std::wstring();
    const int count = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (count <= 1)
        return std::wstring();
    std::wstring wide(size_t(count), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], count);
    wide.resize(size_t(count) - 1);
    return wide;
}

ByteSource::~ByteSource()
{
    m_view.Release();
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
}

bool ByteSource::OpenFile(const char* ansiPath)
{
    return OpenFile(WidenAnsi(ansiPath).c_str());
}

bool ByteSource::OpenFile(const wchar_t* path)
{
    m_widePath = path ? path : L"";
    if (m_widePath.empty())
        return false;
    m_file = ::CreateFileW(m_widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_file, &size) || size.QuadPart < 0) {
        ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        return false;
    }
    m_size = uint64_t(size.QuadPart);
    return true;
}

void ByteSource::UseMemory(const uint8_t* bytes, size_t count)
{
    m_memory = bytes;
    m_size = bytes ? count : 0;
}

void ByteSource::TakeMemory(std::vector<uint8_t>&& bytes)
{
    m_owned = std::move(bytes);
    m_memory = m_owned.data();
    m_size = m_owned.size();
}

void ByteSource::UsePart(const ByteSource& whole, uint64_t offset, uint64_t count)
{
    offset = offset < whole.Size() ? offset : whole.Size();
    count = count < whole.Size() - offset ? count : whole.Size() - offset;
    if (whole.InMemory()) {
        UseMemory(whole.InMemory() + offset, size_t(count));
        return;
    }
    m_whole = &whole;
    m_partAt = offset;
    m_size = count;
}

bool ByteSource::ReadAt(uint64_t offset, void* dst, size_t count) const
{
    if (offset > m_size || count > m_size - offset)
        return false;
    if (m_whole)
        return m_whole->ReadAt(m_partAt + offset, dst, count);
    if (m_memory) {
        std::memcpy(dst, m_memory + offset, count);
        return true;
    }
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    constexpr size_t kWindow = 64 * 1024;
    if (count > kWindow / 2)
        return ReadFromFile(offset, dst, count);
    if (offset < m_windowStart || offset + count > m_windowStart + m_window.size()) {
        const uint64_t left = m_size - offset;
        const size_t length = left < kWindow ? size_t(left) : kWindow;
        try {
            m_window.resize(length);
        } catch (const std::bad_alloc&) {
            return ReadFromFile(offset, dst, count);
        }
        m_windowStart = offset;
        if (!ReadFromFile(offset, m_window.data(), length)) {
            m_window.clear();
            return false;
        }
    }
    std::memcpy(dst, m_window.data() + (offset - m_windowStart), count);
    return true;
}

bool ByteSource::ReadFromFile(uint64_t offset, void* dst, size_t count) const
{
    uint8_t* out = static_cast<uint8_t*>(dst);
    while (count > 0) {
        OVERLAPPED at = {};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        const DWORD chunk = count > (1u << 24) ? (1u << 24) : DWORD(count);
        DWORD got = 0;
        if (!::ReadFile(m_file, out, chunk, &got, &at) || got == 0)
            return false;
        out += got;
        offset += got;
        count -= got;
    }
    return true;
}

const uint8_t* ByteSource::Whole()
{
    if (m_memory)
        return m_memory;
    if (m_file == INVALID_HANDLE_VALUE || m_size == 0)
        return nullptr;
    // Seen where the system keeps the file: no copy, no fresh pages to clear.
    if (m_view.Map(m_file, m_size)) {
        m_memory = m_view.Data();
        return m_memory;
    }
    m_tooLarge = m_size > kMostCopiedBytes;
    if (m_tooLarge)
        return nullptr;
    try {
        m_owned.resize(size_t(m_size));
    } catch (const std::bad_alloc&) {
        m_tooLarge = true;
        return nullptr;
    }
    if (!ReadFromFile(0, m_owned.data(), m_owned.size())) {
        m_owned.clear();
        return nullptr;
    }
    m_memory = m_owned.data();
    return m_memory;
}

}  // namespace rasterlib
