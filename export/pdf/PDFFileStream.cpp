#include "export/pdf/PDFFileStream.h"

#include <windows.h>

#include <cstdlib>

namespace {

struct WideFileHandle {
    HANDLE file;
    PDFFileStatus* status;
};

int32_t WideFileRead(void*, void*, int32_t)
{
    return -1;  // written only
}

int32_t WideFileWrite(void* handle, const void* buffer, int32_t n)
{
    WideFileHandle* h = static_cast<WideFileHandle*>(handle);
    if (n <= 0)
        return 0;
    DWORD written = 0;
    const BOOL done = ::WriteFile(h->file, buffer, static_cast<DWORD>(n), &written, nullptr);
    if (!done || written != static_cast<DWORD>(n)) {
        // A short write that succeeds is a full disk: the system's last error
        // is then left from some earlier call and says nothing of this one.
        const DWORD error = done ? ERROR_DISK_FULL : ::GetLastError();
        if (!h->status->writeFailed && h->status->error == 0)
            h->status->error = error != 0 ? error : ERROR_DISK_FULL;
        h->status->writeFailed = true;
        return static_cast<int32_t>(written);
    }
    return n;
}

int64_t WideFileSeek(void* handle, int64_t offset, int origin)
{
    WideFileHandle* h = static_cast<WideFileHandle*>(handle);
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    DWORD method = origin == KWSTREAM_SEEK_CUR ? FILE_CURRENT : origin == KWSTREAM_SEEK_END ? FILE_END : FILE_BEGIN;
    if (!::SetFilePointerEx(h->file, distance, &position, method))
        return -1;
    return position.QuadPart;
}

void WideFileClose(void* handle)
{
    WideFileHandle* h = static_cast<WideFileHandle*>(handle);
    if (!::CloseHandle(h->file)) {
        if (h->status->error == 0)
            h->status->error = ::GetLastError();
        h->status->closeFailed = true;
    }
    std::free(h);
}

const KWStreamBackend kWideFileBackend = {WideFileRead, WideFileWrite, WideFileSeek, WideFileClose};

}  // namespace

KWStream* PDFOpenFileStream(const wchar_t* path, PDFFileStatus* status)
{
    if (!path || !*path || !status)
        return nullptr;
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        status->error = ::GetLastError();
        return nullptr;
    }
    WideFileHandle* h = static_cast<WideFileHandle*>(std::malloc(sizeof(WideFileHandle)));
    if (!h) {
        ::CloseHandle(file);
        return nullptr;
    }
    h->file = file;
    h->status = status;
    KWStream* stream = KWStreamOpenBackend(&kWideFileBackend, h,
                                           KWSTREAM_MODE_WRITE | KWSTREAM_MODE_BINARY | KWSTREAM_MODE_CREATE);
    if (!stream)
        WideFileClose(h);
    return stream;
}
