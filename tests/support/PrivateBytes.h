// The private memory a process has asked of the system, for the tests that
// hold a reading or an export to its memory bound.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstddef>

namespace test_support {

// What the process holds now, and the most it ever held (the system keeps
// the peak for the process's life).
inline size_t PrivateBytes(size_t* peak, HANDLE process = ::GetCurrentProcess())
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    *peak = std::max(counters.PeakPagefileUsage, counters.PeakWorkingSetSize);
    return std::max(counters.PagefileUsage, counters.WorkingSetSize);
}

}  // namespace test_support
