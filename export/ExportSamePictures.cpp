#include "export/ExportSamePictures.h"

#include "framework/KWRasterLib.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kPrintBytes = 64 * 1024;
constexpr DWORD kCompareBlock = 1024 * 1024;

// A file open for reading, closed when it goes.
class CReadFile {
public:
    explicit CReadFile(const wchar_t* path)
        : m_file(path && *path ? ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                               : INVALID_HANDLE_VALUE)
    {
    }
    ~CReadFile()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    CReadFile(const CReadFile&) = delete;
    CReadFile& operator=(const CReadFile&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    bool Length(uint64_t& length) const
    {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(m_file, &size))
            return false;
        length = uint64_t(size.QuadPart);
        return true;
    }
    // Exactly count bytes at offset.
    bool ReadAt(uint64_t offset, uint8_t* bytes, DWORD count) const
    {
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        DWORD got = 0;
        return ::SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN) && ::ReadFile(m_file, bytes, count, &got, nullptr) &&
               got == count;
    }

private:
    HANDLE m_file;
};

uint64_t Hash(const uint8_t* bytes, size_t count)
{
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (size_t i = 0; i < count; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

bool ReadPrint(const CReadFile& file, std::tuple<uint64_t, uint64_t, uint64_t>& print)
{
    uint64_t length = 0;
    if (!file.IsOpen() || !file.Length(length) || length == 0)
        return false;
    const DWORD part = length < kPrintBytes ? DWORD(length) : kPrintBytes;
    std::vector<uint8_t> bytes(part);
    if (!file.ReadAt(0, bytes.data(), part))
        return false;
    const uint64_t head = Hash(bytes.data(), part);
    if (!file.ReadAt(length - part, bytes.data(), part))
        return false;
    print = std::make_tuple(length, head, Hash(bytes.data(), part));
    return true;
}

// Both files whole and alike, read a block at a time up to the first difference.
bool SameBytes(const CReadFile& first, const wchar_t* secondPath, uint64_t length)
{
    const CReadFile second(secondPath);
    uint64_t secondLength = 0;
    if (!second.IsOpen() || !second.Length(secondLength) || secondLength != length)
        return false;
    std::vector<uint8_t> a(kCompareBlock), b(kCompareBlock);
    for (uint64_t at = 0; at < length; at += kCompareBlock) {
        const DWORD count = length - at < kCompareBlock ? DWORD(length - at) : kCompareBlock;
        if (!first.ReadAt(at, a.data(), count) || !second.ReadAt(at, b.data(), count) ||
            std::memcmp(a.data(), b.data(), count) != 0)
            return false;
    }
    return true;
}

}  // namespace

uint32_t CExportSamePictures::Written(uint32_t pictureId)
{
    const auto known = m_written.find(pictureId);
    if (known != m_written.end())
        return known->second;
    uint32_t written = pictureId;
    const CReadFile file(pictureId != 0 ? static_cast<const wchar_t*>(g_rasterLib.GetImagePath(pictureId)) : nullptr);
    Fingerprint print;
    if (ReadPrint(file, print)) {
        const auto range = m_byPrint.equal_range(print);
        for (auto it = range.first; it != range.second && written == pictureId; ++it) {
            if (SameBytes(file, g_rasterLib.GetImagePath(it->second), std::get<0>(print)))
                written = it->second;
        }
        if (written == pictureId)
            m_byPrint.emplace(print, pictureId);
    }
    m_written.emplace(pictureId, written);
    return written;
}
