#pragma once
// The picture store of the program under test as the disk shows it. Every
// program of the user shares the store's folder, so one program's files are
// told apart by the prefix of their names (its start time as hh_mm_ss).
// Header-only, so that the benchmarks look at the store the same way.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace edtest {

struct StoreFiles {
    size_t count = 0;
    uint64_t bytes = 0;
};

inline bool operator==(const StoreFiles& a, const StoreFiles& b)
{
    return a.count == b.count && a.bytes == b.bytes;
}

// The folder "ImagesCache" under the local application-data folder, as the program finds it.
inline std::wstring ProgramStoreFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        ::GetEnvironmentVariableW(L"TEMP", folder, MAX_PATH);
    return std::wstring(folder) + L"\\ImagesCache\\";
}

// The names and sizes of the files in the store whose names begin with the prefix.
inline std::map<std::wstring, uint64_t> StoreListing(const std::wstring& prefix = std::wstring())
{
    std::map<std::wstring, uint64_t> files;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((ProgramStoreFolder() + prefix + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files[found.cFileName] = uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return files;
}

inline StoreFiles StoreFilesOf(const std::wstring& prefix)
{
    StoreFiles total;
    for (const auto& file : StoreListing(prefix)) {
        ++total.count;
        total.bytes += file.second;
    }
    return total;
}

// The name prefix that most of the files made since the listing carry: the
// program's that made them. Empty when none is new.
inline std::wstring NewFilesPrefix(const std::map<std::wstring, uint64_t>& before)
{
    const size_t kPrefixLength = 8;  // hh_mm_ss
    std::map<std::wstring, int> prefixes;
    for (const auto& file : StoreListing()) {
        if (!before.count(file.first) && file.first.size() > kPrefixLength)
            ++prefixes[file.first.substr(0, kPrefixLength)];
    }
    std::wstring best;
    int most = 0;
    for (const auto& prefix : prefixes) {
        if (prefix.second > most) {
            best = prefix.first;
            most = prefix.second;
        }
    }
    return best;
}

}  // namespace edtest
