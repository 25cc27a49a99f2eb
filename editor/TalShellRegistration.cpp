// The report editor's own shell registration, written at every exit: the
// report and template types open, print and print to through the program's
// DDE commands, and the shell's "New" menu offers both.
#include "editor/TalApplication.h"

#include "appwindows/KWShellRegistration.h"

namespace {

// The longest module path read.
constexpr DWORD kMaxModulePath = 2048;

}  // namespace

CString CTalApplication::GetShellProgramPath() const
{
    wchar_t buffer[kMaxModulePath + 1] = {};
    ::GetModuleFileNameW(nullptr, buffer, kMaxModulePath);
    CString folder(buffer);
    folder = folder.Left(folder.ReverseFind(L'\\') + 1);
    return folder + (m_pszExeName ? m_pszExeName : L"") + L".exe";
}

void CTalApplication::RegisterShellFileTypes()
{
    const CString program = GetShellProgramPath();
    const CString quoted = L" \"%1\"";
    CString extension;
    CString typeId;
    CString typeName;
    UINT flags = 0;
    // A write that fails (no access to the classes root) is passed over:
    // the registration found there stays as it was.
    for (int index = 0; RegisterDocumentTypes(index, extension, typeId, typeName, flags); ++index) {
        if (typeId.IsEmpty())
            continue;
        SetRegKey(typeId, typeName);
        SetRegKey(extension, typeId);
        if (flags & KW_REG_ICON) {
            CString icon;
            icon.Format(L"%s,%d", static_cast<const wchar_t*>(program), index + 1);
            SetRegKey(FormatShellKey(L"%s\\DefaultIcon", typeId), icon);
        }
        if (flags & KW_REG_OPEN) {
            SetRegKey(FormatShellKey(L"%s\\shell\\open\\ddeexec", typeId), L"[open(\"%1\")]");
            // Without these the shell talks to the default DDE service and
            // topic, whatever another program wrote there before.
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, FormatShellKey(L"%s\\shell\\open\\ddeexec\\Application", typeId));
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, FormatShellKey(L"%s\\shell\\open\\ddeexec\\topic", typeId));
            SetRegKey(FormatShellKey(L"%s\\shell\\open\\command", typeId), program + quoted);
        }
        if (flags & KW_REG_PRINT) {
            SetRegKey(FormatShellKey(L"%s\\shell\\print\\ddeexec", typeId), L"[print(\"%1\")]");
            SetRegKey(FormatShellKey(L"%s\\shell\\print\\command", typeId), program + L" /p" + quoted);
        }
        if (flags & KW_REG_PRINTTO) {
            SetRegKey(FormatShellKey(L"%s\\shell\\printto\\ddeexec", typeId), L"[printto(\"%1\",\"%2\",\"%3\",\"%4\")]");
            SetRegKey(FormatShellKey(L"%s\\shell\\printto\\command", typeId),
                      program + L" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
            SetShellNewNullFile(extension);
        }
    }
}
