#pragma once
// What the benchmarks print of the machine beside their figures: its load
// and its processors, since the development machine is shared.
#include <windows.h>

#include <string>

namespace {

// The system's load averages as the machine under Wine counts them (the
// host's /proc/loadavg, seen on drive Z:); "?" where there is none.
std::string MachineLoad()
{
    HANDLE file = ::CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "?";
    char text[64] = {};
    DWORD got = 0;
    ::ReadFile(file, text, sizeof text - 1, &got, nullptr);
    ::CloseHandle(file);
    const std::string load(text, got);
    // The first three figures.
    size_t end = 0;
    for (int figure = 0; figure < 3 && end != std::string::npos; ++figure)
        end = load.find(' ', end + (figure ? 1 : 0));
    return load.substr(0, end);
}

unsigned Processors()
{
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwNumberOfProcessors;
}

}  // namespace
