#include "export/ExportFileRead.h"

#include <windows.h>

#include <new>

bool ReadWholeFile(const wchar_t* path, std::vector<uint8_t>& bytes, uint64_t limit)
{
    bytes.clear();
    if (!path || !*path)
        return false;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart > 0 && uint64_t(size.QuadPart) <= limit;
    if (ok) {
        try {
            // Grown to the exact size, the old storage let go first: peak
            // memory stays one file's size.
            const size_t count = static_cast<size_t>(size.QuadPart);
            if (bytes.capacity() < count) {
                std::vector<uint8_t>().swap(bytes);
                bytes.reserve(count);
            }
            bytes.resize(count);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    for (size_t done = 0; ok && done < bytes.size();) {
        // Pieces of at most 64 MB: some systems refuse larger single reads.
        const size_t left = bytes.size() - done;
        const DWORD piece = left > (64u << 20) ? (64u << 20) : static_cast<DWORD>(left);
        DWORD got = 0;
        ok = ::ReadFile(file, bytes.data() + done, piece, &got, nullptr) && got == piece;
        done += got;
    }
    ::CloseHandle(file);
    if (!ok)
        bytes.clear();
    return ok;
}
