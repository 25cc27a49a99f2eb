#include "framework/KWStartupMarks.h"

#include <windows.h>

#include <cstdio>

void KWMarkStartup(const char* stage)
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"OT_STARTUP_MARKS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !stage)
        return;
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    char line[160];
    const int count = std::snprintf(line, sizeof line, "%lld\t%s\r\n", static_cast<long long>(now.QuadPart), stage);
    HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (count > 0)
        ::WriteFile(file, line, static_cast<DWORD>(count < int(sizeof line) ? count : int(sizeof line) - 1), &written,
                    nullptr);
    ::CloseHandle(file);
}
