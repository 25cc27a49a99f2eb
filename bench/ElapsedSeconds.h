#pragma once
// The seconds since a reading of the performance counter, for the benchmark
// programs' timings.
#include <windows.h>

inline double Seconds(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}
