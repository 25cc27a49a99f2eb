#include "export/html/HtmlFileWriter.h"

#include <windows.h>

#include <vector>

#include "platform/classlib/WinApp.h"

namespace {

const wchar_t* const kResourceType = L"QUARTZ";

bool WriteAll(HANDLE file, const void* bytes, uint32_t count)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    while (count > 0) {
        // Large blocks go in pieces; some file systems refuse huge single writes.
        const DWORD chunk = count > (1u << 24) ? (1u << 24) : count;
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr) || written != chunk)
            return false;
        p += chunk;
        count -= chunk;
    }
    return true;
}

}  // namespace

bool WriteBinaryFile(const wchar_t* path, const void* bytes, uint32_t count)
{
    if (!path || !*path || (count > 0 && !bytes))
        return false;
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = WriteAll(file, bytes, count);
    if (!::CloseHandle(file))
        ok = false;
    return ok;
}

bool WriteHtmlDocument(const wchar_t* path, const CString& text)
{
    // Text mode: each LF is stored as CR LF.
    const int length = text.GetLength();
    std::vector<wchar_t> crlf;
    crlf.reserve(static_cast<size_t>(length) + static_cast<size_t>(length) / 16 + 1);
    for (int i = 0; i < length; ++i) {
        if (text[i] == L'\n')
            crlf.push_back(L'\r');
        crlf.push_back(text[i]);
    }
    std::vector<char> utf8;
    if (!crlf.empty()) {
        const int wideCount = static_cast<int>(crlf.size());
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, crlf.data(), wideCount, nullptr, 0, nullptr, nullptr);
        if (size <= 0)
            return false;
        utf8.resize(static_cast<size_t>(size));
        if (::WideCharToMultiByte(CP_UTF8, 0, crlf.data(), wideCount, utf8.data(), size, nullptr, nullptr) != size)
            return false;
    }
    return WriteBinaryFile(path, utf8.data(), static_cast<uint32_t>(utf8.size()));
}

bool WriteResourceToFile(const wchar_t* path, int resourceId)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), kResourceType);
    if (!info)
        return true;
    HGLOBAL handle = ::LoadResource(module, info);
    if (!handle)
        return true;
    const void* bytes = ::LockResource(handle);
    const DWORD size = ::SizeofResource(module, info);
    if (!bytes || size == 0)
        return true;
    return WriteBinaryFile(path, bytes, size);
}
