#include "HostProcesses.h"

#include <windows.h>

namespace edtest {

namespace {

// The whole of a host file that may not tell its size (/proc's files say 0).
bool ReadHostFile(const std::wstring& path, std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char block[4096];
    DWORD read = 0;
    while (::ReadFile(file, block, sizeof block, &read, nullptr) && read > 0)
        bytes.append(block, read);
    ::CloseHandle(file);
    return true;
}

// The value of a variable in a NUL-separated environment block.
std::string Variable(const std::string& environment, const std::string& name)
{
    const std::string key = name + "=";
    for (size_t at = 0; at < environment.size();) {
        const size_t end = environment.find('\0', at);
        const std::string entry = environment.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (entry.compare(0, key.size(), key) == 0)
            return entry.substr(key.size());
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return std::string();
}

// A process of Wine maps its unix libraries (ntdll.so) or is the server.
bool RunsWine(const std::string& maps)
{
    return maps.find("/ntdll.so") != std::string::npos || maps.find("/wineserver") != std::string::npos ||
           maps.find("wine-preloader") != std::string::npos || maps.find("wine64-preloader") != std::string::npos;
}

bool IsNumber(const wchar_t* name)
{
    if (!*name)
        return false;
    for (; *name; ++name) {
        if (*name < L'0' || *name > L'9')
            return false;
    }
    return true;
}

// The host's processes whose environment names the prefix; Wine's own too
// when withWine.
std::vector<HostProcess> ScanPrefix(const std::string& prefix, bool withWine)
{
    std::vector<HostProcess> found;
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &entry)) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsNumber(entry.cFileName))
            continue;
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName + L"\\";
        std::string environment, maps, commandLine;
        // A process that ended meanwhile, or another user's, is passed over.
        if (!ReadHostFile(folder + L"environ", environment) || Variable(environment, "WINEPREFIX") != prefix)
            continue;
        if (!withWine && (!ReadHostFile(folder + L"maps", maps) || maps.empty() || RunsWine(maps)))
            continue;
        ReadHostFile(folder + L"cmdline", commandLine);
        for (char& c : commandLine) {
            if (c == '\0')
                c = ' ';
        }
        found.push_back({static_cast<unsigned>(std::wcstoul(entry.cFileName, nullptr, 10)), commandLine});
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return found;
}

}  // namespace

std::wstring OnDriveZ(const std::string& hostPath)
{
    std::wstring path = L"Z:";
    for (char c : hostPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

std::string OwnWinePrefix()
{
    std::string environment;
    if (!ReadHostFile(L"Z:\\proc\\self\\environ", environment))
        return std::string();
    return Variable(environment, "WINEPREFIX");
}


std::vector<HostProcess> HostProgramsOfPrefix(const std::string& prefix)
{
    return ScanPrefix(prefix, false);
}

std::vector<HostProcess> ProcessesOfPrefix(const std::string& prefix)
{
    return ScanPrefix(prefix, true);
}

}  // namespace edtest
