#pragma once
// The files this test program's picture store holds: other programs share the
// store's folder, so only the names under this run's prefix count.
#include "framework/KWRasterLib.h"

#include <windows.h>

#include <cstddef>
#include <string>

inline size_t OwnStoreFileCount()
{
    const std::wstring folder = static_cast<LPCWSTR>(g_rasterLib.GetStoreFolder());
    const std::string prefix = g_rasterLib.GetNamePrefix();
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + std::wstring(prefix.begin(), prefix.end()) + L"*").c_str(), &data);
    size_t count = 0;
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(find, &data))
        ++count;
    if (find != INVALID_HANDLE_VALUE)
        ::FindClose(find);
    return count;
}
