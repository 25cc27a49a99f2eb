// Temporary files for the tests: a unique path in the Windows temporary
// folder, removed when the helper goes out of scope; temporary folders;
// whole-file reads and writes.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

class CKWTestTempFile {
public:
    explicit CKWTestTempFile(const wchar_t* prefix = L"kwt")
    {
        wchar_t dir[MAX_PATH];
        wchar_t name[MAX_PATH];
        ::GetTempPathW(MAX_PATH, dir);
        ::GetTempFileNameW(dir, prefix, 0, name);  // creates an empty file
        m_path = name;
    }
    ~CKWTestTempFile() { ::DeleteFileW(m_path.c_str()); }
    CKWTestTempFile(const CKWTestTempFile&) = delete;
    CKWTestTempFile& operator=(const CKWTestTempFile&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::string AnsiPath() const
    {
        int n = ::WideCharToMultiByte(CP_ACP, 0, m_path.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<size_t>(n), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, m_path.c_str(), -1, &s[0], n, nullptr, nullptr);
        s.resize(static_cast<size_t>(n - 1));
        return s;
    }
    // The file's size on disk, -1 when it does not exist.
    long long Size() const
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data))
            return -1;
        return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    void Remove() const { ::DeleteFileW(m_path.c_str()); }

private:
    std::wstring m_path;
};

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    FILE* f = ::_wfopen(path.c_str(), L"rb");
    if (!f)
        return bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

// Replaces the file with the bytes; false when it cannot be written.
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    FILE* f = ::_wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

// The names in a folder (its path ends in a backslash; no "." or ".."), sorted.
inline std::vector<std::wstring> FolderNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh folder under the temporary folder (its path ends in a backslash),
// removed with everything in it at the end.
class CKWTestTempFolder {
public:
    explicit CKWTestTempFolder(const wchar_t* prefix = L"kwt")
    {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        for (unsigned n = ::GetTickCount() ^ ::GetCurrentProcessId();; ++n) {
            m_path = std::wstring(temp) + prefix + std::to_wstring(n % 1000000) + L"\\";
            if (::CreateDirectoryW(m_path.c_str(), nullptr))
                break;
        }
    }
    ~CKWTestTempFolder() { RemoveTree(m_path); }
    CKWTestTempFolder(const CKWTestTempFolder&) = delete;
    CKWTestTempFolder& operator=(const CKWTestTempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring MakeFolder(const wchar_t* relative) const
    {
        const std::wstring path = m_path + relative;
        ::CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    std::wstring Write(const wchar_t* relative, const std::string& bytes = std::string()) const
    {
        const std::wstring path = m_path + relative;
        WriteFileBytes(path, bytes);
        return path;
    }

    // Removes the folder (its path ends in a backslash) with everything in it.
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    // A junction goes without what it points to.
                    ::RemoveDirectoryW((folder + name).c_str());
                } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(folder + name + L"\\");
                } else {
                    ::SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW((folder + name).c_str());
                }
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(folder.c_str());
    }

private:
    std::wstring m_path;
};

