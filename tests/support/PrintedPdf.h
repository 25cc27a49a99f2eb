#pragma once
// PDF files as the tests meet them: the pages of a PDF written by the
// program (its page objects), and the jobs the tests' PDF printer writes
// into the user's folder "PDF".
#include <windows.h>

#include <regex>
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

// The pages of a PDF the printer wrote (its page objects, written with or
// without a blank before the name).
inline size_t PrintedPageCount(const std::string& pdf)
{
    static const std::regex page("/Type ?/Page[^s]");
    return static_cast<size_t>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// The size in points of the printed PDF's first page as it is shown: its
// media box, turned by its rotation. False when the page has no media box.
inline bool PrintedPageSize(const std::string& pdf, int& width, int& height)
{
    static const std::regex box("/Type ?/Page(?!s)[^>]*?/MediaBox ?\\[0 0 ([0-9]+) ([0-9]+)\\]");
    static const std::regex rotate("/Type ?/Page(?!s)[^>]*?/Rotate ([0-9]+)");
    std::smatch found;
    if (!std::regex_search(pdf, found, box))
        return false;
    width = std::stoi(found[1]);
    height = std::stoi(found[2]);
    if (std::regex_search(pdf, found, rotate) && std::stoi(found[1]) % 180 == 90)
        std::swap(width, height);
    return true;
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

// A complete PDF of the printer folder whose name holds the token (the
// printer makes the name from the job's title) and that is not one of the
// known files; its bytes, and its path in path. Empty when none came within
// five minutes: the wait ends when the file is complete, and a loaded
// machine composes and prints a report of photographs for well over a
// minute. Other programs print on the same printer: the token tells the
// test's job.
inline std::string WaitForPrinted(const std::wstring& token, const std::set<std::wstring>& known, std::wstring& path)
{
    const std::wstring folder = PrinterFolder();
    HANDLE change = ::FindFirstChangeNotificationW(folder.c_str(), FALSE,
                                                   FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE);
    const DWORD deadline = ::GetTickCount() + 300000;
    std::string bytes;
    while (::GetTickCount() < deadline && bytes.empty()) {
        for (const std::wstring& name : PrintedFiles()) {
            if (known.count(name) || name.find(token) == std::wstring::npos)
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
