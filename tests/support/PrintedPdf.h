#pragma once
// PDF files as the tests meet them: the pages of a PDF written by the
// program (its page objects), and the jobs the tests' PDF printer writes
// into the user's folder "PDF".
#include <windows.h>

#include <set>
#include <string>

#include "tests/framework/KWTestFiles.h"

namespace pdftest {

// The pages of the PDF: its page objects.
inline size_t PageCount(const std::string& pdf)
{
    size_t count = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        count += pdf.compare(at, 12, "/Type /Pages") != 0;
    return count;
}

// Where the PDF printer writes its files: PDF in the user's home folder.
inline std::wstring PrinterFolder()
{
    wchar_t home[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH);
    std::wstring folder = home;
    if (folder.rfind(L"\\??\\", 0) == 0)
        folder = folder.substr(4);
    return folder + L"\\PDF";
}

// The names of the printer folder's PDF files now.
inline std::set<std::wstring> PrintedFiles()
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((PrinterFolder() + L"\\*.pdf").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found))
        names.insert(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return names;
}

// A complete PDF of the printer folder whose name starts with the prefix
// and that is not one of the known files, waited for at most a minute; its
// bytes, and its path in path. Empty when none came.
inline std::string WaitForPrinted(const std::wstring& prefix, const std::set<std::wstring>& known, std::wstring& path)
{
    const std::wstring folder = PrinterFolder();
    HANDLE change = ::FindFirstChangeNotificationW(folder.c_str(), FALSE,
                                                   FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE);
    const DWORD deadline = ::GetTickCount() + 60000;
    std::string bytes;
    while (::GetTickCount() < deadline && bytes.empty()) {
        for (const std::wstring& name : PrintedFiles()) {
            if (known.count(name) || name.compare(0, prefix.size(), prefix) != 0)
                continue;
            const std::string read = ReadFileBytes(folder + L"\\" + name);
            if (read.find("%%EOF", read.size() > 16 ? read.size() - 16 : 0) != std::string::npos) {
                path = folder + L"\\" + name;
                bytes = read;
                break;
            }
        }
        if (!bytes.empty())
            break;
        if (change == INVALID_HANDLE_VALUE || ::WaitForSingleObject(change, 1000) != WAIT_OBJECT_0)
            continue;
        ::FindNextChangeNotification(change);
    }
    if (change != INVALID_HANDLE_VALUE)
        ::FindCloseChangeNotification(change);
    return bytes;
}

}  // namespace pdftest
