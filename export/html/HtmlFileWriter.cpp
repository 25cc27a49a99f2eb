#include "export/html/HtmlFileWriter.h"

#include <windows.h>

#include <vector>

#include "platform/classlib/WinApp.h"

namespace {

const wchar_t* const kResourceType = L"QUARTZ";

}  // namespace

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

namespace {

// The bytes of the resource; null when it cannot be found, loaded or locked, or is empty.
const void* FindResourceBytes(int resourceId, DWORD& size)
{
    size = 0;
    HMODULE module = AfxGetResourceHandle();
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), kResourceType);
    HGLOBAL handle = info ? ::LoadResource(module, info) : nullptr;
    const void* bytes = handle ? ::LockResource(handle) : nullptr;
    size = bytes ? ::SizeofResource(module, info) : 0;
    return size != 0 ? bytes : nullptr;
}

}  // namespace

bool WriteResourceToFile(const wchar_t* path, int resourceId)
{
    DWORD size = 0;
    const void* bytes = FindResourceBytes(resourceId, size);
    return !bytes || WriteBinaryFile(path, bytes, size);
}

bool HasResourceToWrite(int resourceId)
{
    DWORD size = 0;
    return FindResourceBytes(resourceId, size) != nullptr;
}
