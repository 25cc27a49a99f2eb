// The processor time a thread or the whole process has used, for the tests
// that bound the work a hostile input may cause: other work on the machine
// does not change it, as it changes the time on the clock.
#pragma once

#include <windows.h>

#include <cstdint>

namespace test_support {

inline double Seconds(const FILETIME& kernel, const FILETIME& user)
{
    auto value = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7; };
    return value(kernel) + value(user);
}

inline double ThreadSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel, user);
}

// Every thread of the process: a save hands its pictures to a writing thread.
inline double ProcessSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel, user);
}

}  // namespace test_support
