// The settings reset of the application: before the docking library loads
// the saved layout, the workspace's registry keys are deleted and a default
// registry script, carried as a resource of the type "FLDT", is imported by
// the registry editor, when the user holds the Control key, the saved
// settings are missing or of another version, or the layout's version
// section is missing.
#include "appwindows/KWBaseWinApplication.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPRegistry.h"

#include <shellapi.h>

#include <cstdio>

namespace {

const wchar_t kScriptType[] = L"FLDT";
// How long the start-up waits for the registry editor.
constexpr DWORD kImportWaitMs = 3500;
constexpr DWORD kTempPathLength = 256;

CString WithoutFinalBackslash(const CString& path)
{
    if (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
        return path.Left(path.GetLength() - 1);
    return path;
}

// Deletes the key below HKEY_CURRENT_USER with everything in it. A sub-key
// that has sub-keys of its own is deleted as a whole tree; the deletion
// stops at the first sub-key that cannot be deleted.
void DeleteSettingsKey(const CString& path)
{
    HKEY base = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &base) != ERROR_SUCCESS)
        return;
    wchar_t name[MAX_PATH + 1];
    while (::RegEnumKeyW(base, 0, name, MAX_PATH + 1) == ERROR_SUCCESS) {
        if (::RegDeleteTreeW(base, name) != ERROR_SUCCESS)
            break;
    }
    ::RegCloseKey(base);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

// The script's bytes unchanged in a file of the temporary folder; its path,
// empty when the resource is missing or the file cannot be written.
CString WriteScript(UINT scriptId, CString& folder)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(scriptId), kScriptType);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return CString();
    wchar_t temp[kTempPathLength + 1] = {};
    const DWORD length = ::GetTempPathW(kTempPathLength, temp);
    if (length == 0 || length > kTempPathLength)
        return CString();
    folder = temp;
    CString path;
    path.Format(L"%s__temp__.reg", temp);
    FILE* file = ::_wfopen(path, L"wb");
    if (!file)
        return CString();
    const size_t size = ::SizeofResource(module, found);
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    return written && closed ? path : CString();
}

// Runs the registry editor on the script and waits for it a while; the
// start goes on whether it has finished or not.
void ImportScript(const CString& path, const CString& folder)
{
    CString parameters;
    parameters.Format(L"-s \"%s\"", static_cast<const wchar_t*>(path));
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = L"regedit";
    info.lpParameters = parameters;
    info.lpDirectory = folder;
    info.nShow = SW_HIDE;
    if (!::ShellExecuteExW(&info) || !info.hProcess)
        return;
    ::WaitForSingleObject(info.hProcess, kImportWaitMs);
    ::CloseHandle(info.hProcess);
}

}  // namespace

void CKWBaseWinApplication::PreLoadState()
{
    const CString basePath = GetRegSectionPath(L"");
    CQMXPRegistry base(FALSE, TRUE);
    base.Open(basePath);

    bool controlHeld = false;
    bool skip = false;
    UINT scriptId = 0;
    GetResetRequest(controlHeld, scriptId, skip);
    bool present = false;
    GetSettingsPresent(present);
    CQMXPRegistry version(FALSE, TRUE);
    const bool versionSection = version.Open(GetRegSectionPath(qmxRegControlBarVersion));
    if (!controlHeld && present && versionSection && !skip)
        return;

    base.Close();
    version.Close();
    DeleteSettingsKey(WithoutFinalBackslash(basePath));
    if (skip)
        return;
    CString folder;
    const CString script = WriteScript(scriptId, folder);
    if (!script.IsEmpty())
        ImportScript(script, folder);
}
