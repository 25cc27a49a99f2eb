#pragma once
// The picture store of the program under test as the disk shows it. Every
// program of the user shares the store's folder, and each keeps its files in
// a folder of its own there ("run_" and a number): a file is named by its
// program's folder and its name ("run_12_0\10_00_00129.jpg"), and one
// program's files are those under its folder's name.
// Header-only, so that the benchmarks look at the store the same way.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

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

// The files directly in the folder (with its final backslash), by name.
inline void ListFolderFiles(const std::wstring& folder, const std::wstring& keyPrefix,
                            std::map<std::wstring, uint64_t>& files)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        // The lock a running program holds on its folder is no picture.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::wstring(found.cFileName) != L"run.lock")
            files[keyPrefix + found.cFileName] = uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
}

// The names of the programs' folders in the store.
inline std::vector<std::wstring> RunFolders()
{
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((ProgramStoreFolder() + L"run_*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.push_back(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return folders;
}

// The names (folder\name) and sizes of the files in the store whose names begin with the prefix.
inline std::map<std::wstring, uint64_t> StoreListing(const std::wstring& prefix = std::wstring())
{
    std::map<std::wstring, uint64_t> files;
    for (const std::wstring& run : RunFolders())
        ListFolderFiles(ProgramStoreFolder() + run + L"\\", run + L"\\", files);
    for (auto file = files.begin(); file != files.end();)
        file = file->first.compare(0, prefix.size(), prefix) == 0 ? std::next(file) : files.erase(file);
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

// The folder (with its final backslash) that most of the files made since
// the listing are in: the program's that made them. Empty when none is new.
inline std::wstring NewFilesPrefix(const std::map<std::wstring, uint64_t>& before)
{
    std::map<std::wstring, int> prefixes;
    for (const auto& file : StoreListing()) {
        const size_t slash = file.first.find(L'\\');
        if (!before.count(file.first) && slash != std::wstring::npos)
            ++prefixes[file.first.substr(0, slash + 1)];
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
