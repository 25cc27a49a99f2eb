#pragma once
// Copies a written report where the test command's independent readers check
// it (qpdf and poppler for PDF, olefile for PowerPoint), when it asks for that.
#include <windows.h>

#include <cstdlib>
#include <string>

inline void KeepForReaders(const char* variable, const std::wstring& path, const wchar_t* name)
{
    const char* keep = std::getenv(variable);
    if (!keep)
        return;
    std::wstring target;
    for (const char* c = keep; *c; ++c)
        target += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    ::CopyFileW(path.c_str(), (target + L"\\" + name).c_str(), FALSE);
}
