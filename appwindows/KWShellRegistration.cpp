// The shell registration of the application's document types: the type
// with its name and icon, the open, print and print-to verbs carried out
// through DDE, and the new-file entry.
#include "appwindows/KWShellRegistration.h"

#include "appwindows/KWBaseWinApplication.h"

#include <cwchar>

namespace {

// The longest program path read.
constexpr DWORD kMaxProgramPath = 2048;

}  // namespace

CString FormatShellKey(const wchar_t* format, const CString& typeId)
{
    CString text;
    text.Format(format, static_cast<const wchar_t*>(typeId));
    return text;
}

void SetShellNewNullFile(const CString& extension)
{
    HKEY shellNew = nullptr;
    if (::RegCreateKeyW(HKEY_CLASSES_ROOT, extension + L"\\ShellNew", &shellNew) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(shellNew, L"NullFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    ::RegCloseKey(shellNew);
}

bool SetRegKey(const wchar_t* key, const wchar_t* value)
{
    const DWORD bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
    return ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, value, bytes) == ERROR_SUCCESS;
}

BOOL CKWBaseWinApplication::RegisterDocumentTypes(int, CString&, CString&, CString&, UINT&)
{
    return FALSE;
}

void CKWBaseWinApplication::RegisterShellFileTypes()
{
    wchar_t buffer[kMaxProgramPath + 1] = {};
    ::GetModuleFileNameW(nullptr, buffer, kMaxProgramPath);
    const CString path(buffer);
    const CString service = m_pszExeName ? m_pszExeName : L"";
    CString extension;
    CString typeId;
    CString typeName;
    UINT flags = 0;
    // A write that fails is passed over; the next ones are still written.
    for (int index = 0; RegisterDocumentTypes(index, extension, typeId, typeName, flags); ++index) {
        if (extension.IsEmpty())
            continue;
        SetRegKey(extension, typeId);
        SetRegKey(typeId, typeName);
        if (flags & KW_REG_ICON)
            SetRegKey(FormatShellKey(L"%s\\DefaultIcon", typeId), FormatShellKey(L"%s,1", path));
        if (flags & KW_REG_OPEN) {
            SetRegKey(FormatShellKey(L"%s\\shell\\open\\ddeexec", typeId), L"[open(\"%1\")]");
            SetRegKey(FormatShellKey(L"%s\\shell\\open\\ddeexec\\Application", typeId), service);
            SetRegKey(FormatShellKey(L"%s\\shell\\open\\ddeexec\\topic", typeId), L"system");
            SetRegKey(FormatShellKey(L"%s\\shell\\open\\command", typeId), path + L" /dde");
        }
        if (flags & KW_REG_PRINT) {
            SetRegKey(FormatShellKey(L"%s\\shell\\print\\ddeexec", typeId), L"[print(\"%1\")]");
            SetRegKey(FormatShellKey(L"%s\\shell\\print\\command", typeId), path + L" /p \"%1\"");
        }
        if (flags & KW_REG_PRINTTO) {
            SetRegKey(FormatShellKey(L"%s\\shell\\printto\\ddeexec", typeId), L"[printto(\"%1\",\"%2\",\"%3\",\"%4\")]");
            SetRegKey(FormatShellKey(L"%s\\shell\\printto\\command", typeId),
                      path + L" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
            SetShellNewNullFile(extension);
        }
    }
}
