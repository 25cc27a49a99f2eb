#include "appwindows/KWHelpShow.h"

#include "framework/KWSystemInfo.h"
#include "platform/classlib/StringResource.h"
#include "resources/Strings.h"

#include <shellapi.h>

namespace {

const UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

typedef HWND(WINAPI* HtmlHelpWFn)(HWND, LPCWSTR, UINT, DWORD_PTR);

HtmlHelpWFn GetHtmlHelp()
{
    // Loaded on first use and kept: the viewer runs inside this process.
    static HtmlHelpWFn htmlHelp = [] {
        HMODULE module = ::LoadLibraryW(L"hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpWFn>(reinterpret_cast<void*>(::GetProcAddress(module, "HtmlHelpW")))
                      : nullptr;
    }();
    return htmlHelp;
}

}  // namespace

const UINT g_msgShowContextHelp = ::RegisterWindowMessageW(L"show_ContextHelp");

void CKWHelpShow::ShowContextHelp()
{
    KWHelpTopic topic;
    if (GetHelpTopic(topic))
        ShowHelpTopic(&topic);
}

bool CKWHelpShow::GetHelpTopic(KWHelpTopic&)
{
    return false;
}

void CKWHelpShow::ShowHelpTopic(const KWHelpTopic* topic)
{
    if (topic)
        KWShowHelp(topic->topic, topic->folder, nullptr);
}

CString KWGetHelpFileName()
{
    CString name;
    AfxLoadStringResource(IDS_HELP_NAME, name);
    return name;
}

KWHelpAction KWBuildHelpPath(const wchar_t* topic, const wchar_t* folder, const wchar_t* fileName, CString& path)
{
    path.Empty();
    CString name = fileName ? CString(fileName) : KWGetHelpFileName();
    if (name.IsEmpty())
        return KWHelpAction::kNone;
    path = GetModuleDirectory();
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    path += name;
    path += L".chm";
    if (!topic || !*topic)
        return KWHelpAction::kShell;
    path += (folder && *folder) ? folder : L"::/HelpHtml/";
    path += topic;
    return KWHelpAction::kViewer;
}

void KWShowHelp(const wchar_t* topic, const wchar_t* folder, const wchar_t* fileName)
{
    CString path;
    switch (KWBuildHelpPath(topic, folder, fileName, path)) {
    case KWHelpAction::kNone:
        break;
    case KWHelpAction::kViewer:
        if (HtmlHelpWFn htmlHelp = GetHtmlHelp())
            htmlHelp(nullptr, path, kDisplayTopic, 0);
        break;
    case KWHelpAction::kShell:
        ::ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    }
}
