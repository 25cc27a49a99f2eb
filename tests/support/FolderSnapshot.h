#pragma once
// Every file under a folder with its bytes, to tell that a failed operation
// left the folder as it was, byte for byte, with nothing added.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "tests/framework/KWTestFiles.h"

namespace test_support {

// By the name below the folder; a folder as its name with a trailing
// backslash and no bytes.
using FolderSnapshot = std::map<std::wstring, std::string>;

inline void TakeSnapshot(const std::wstring& folder, const std::wstring& prefix, FolderSnapshot& files)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files[prefix + name + L"\\"] = std::string();
            TakeSnapshot(folder + name + L"\\", prefix + name + L"\\", files);
        } else {
            files[prefix + name] = ReadFileBytes(folder + name);
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

// The folder's path ends in a backslash.
inline FolderSnapshot TakeSnapshot(const std::wstring& folder)
{
    FolderSnapshot files;
    TakeSnapshot(folder, std::wstring(), files);
    return files;
}

inline uint64_t TotalBytes(const FolderSnapshot& files)
{
    uint64_t total = 0;
    for (const auto& file : files)
        total += file.second.size();
    return total;
}

// One line per file: its name and size.
inline std::string Listing(const FolderSnapshot& files)
{
    std::string lines;
    for (const auto& file : files) {
        for (wchar_t ch : file.first)
            lines += ch < 128 ? char(ch) : '?';
        lines += " " + std::to_string(file.second.size()) + "\n";
    }
    return lines;
}

}  // namespace test_support
