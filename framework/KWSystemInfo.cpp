#include "framework/KWSystemInfo.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {

const DWORD kModulePathLength = 1024;

CString ReadMachineString(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ ||
        bytes < sizeof(wchar_t))
        return CString();
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) != ERROR_SUCCESS)
        return CString();
    // The stored value need not be terminated.
    text[bytes / sizeof(wchar_t)] = 0;
    return CString(text.data());
}

}  // namespace

bool IsWindowsXPOrLaterVersion(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId != VER_PLATFORM_WIN32_NT) return false;
    return major > 5 || (major == 5 && minor >= 1);
}

bool IsWindowsXPOrLater() {
    OSVERSIONINFOEXW extended = {};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
        OSVERSIONINFOW plain = {};
        plain.dwOSVersionInfoSize = sizeof(plain);
        if (!::GetVersionExW(&plain)) return false;
        return IsWindowsXPOrLaterVersion(plain.dwPlatformId, plain.dwMajorVersion, plain.dwMinorVersion);
    }
    return IsWindowsXPOrLaterVersion(extended.dwPlatformId, extended.dwMajorVersion, extended.dwMinorVersion);
}

CString GetModuleFilePath() {
    wchar_t path[kModulePathLength + 1] = {0};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kModulePathLength);
    return CString(path, length < kModulePathLength ? static_cast<int>(length) : static_cast<int>(kModulePathLength));
}

CString GetModuleDirectory() {
    CString path = GetModuleFilePath();
    return path.Left(path.ReverseFind(L'\\') + 1);
}

CString FormatProductVersion(uint32_t versionMS, uint32_t versionLS) {
    CString text;
    text.Format(L"%1d.%1d", static_cast<int>(HIWORD(versionMS)), static_cast<int>(LOWORD(versionMS)));
    if (versionLS != 0)
        text.AppendFormat(L".%1d.%1d", static_cast<int>(HIWORD(versionLS)), static_cast<int>(LOWORD(versionLS)));
    return text;
}

CString GetProgramVersionText() {
    const CString path = GetModuleFilePath();
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return CString();
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(path, 0, size, data.data())) return CString();
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoLength = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoLength) || !info ||
        infoLength < sizeof(VS_FIXEDFILEINFO))
        return CString();
    return FormatProductVersion(info->dwProductVersionMS, info->dwProductVersionLS);
}

void GetRegisteredUser(CString& owner, CString& organisation) {
    owner.Empty();
    organisation.Empty();
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE,
                        &key) == ERROR_SUCCESS) {
        owner = ReadMachineString(key, L"RegisteredOwner");
        organisation = ReadMachineString(key, L"RegisteredOrganization");
        ::RegCloseKey(key);
    }
    if (owner.IsEmpty()) {
        wchar_t name[257] = {0};
        DWORD length = 257;
        if (::GetUserNameW(name, &length)) owner = name;
    }
}

bool OpenWithShell(const wchar_t* path) {
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool DragShowNolock(bool show) { return ::ImageList_DragShowNolock(show ? TRUE : FALSE) != FALSE; }

bool GetImageTypeName(int code, const char*& name) {
    switch (code) {
    case 2:
        name = "BMP";
        return true;
    case 6:
        name = "TIFF";
        return true;
    case 8:
        name = "DIB";
        return true;
    default:
        return false;
    }
}
