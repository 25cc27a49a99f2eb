#include "controls/KWMessageBox.h"

#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/WinThread.h"
#include "platform/classlib/Wnd.h"

namespace {

const UINT kAppTitleId = 57344;

bool IsOurs(HWND window)
{
    DWORD process = 0;
    return window && ::GetWindowThreadProcessId(window, &process) && process == ::GetCurrentProcessId();
}

}  // namespace

HWND KWMessageBoxOwner()
{
    // Disabling another program's window would leave it dead until the box closes.
    HWND foreground = ::GetForegroundWindow();
    if (IsOurs(foreground))
        return foreground;
    if (HWND active = ::GetActiveWindow())
        return active;
    CWnd* main = AfxGetMainWnd();
    return main ? main->m_hWnd : nullptr;
}

int KWMessageBox(const wchar_t* text, UINT type, UINT, const wchar_t* caption, HWND parent)
{
    CString title;
    if (!caption && AfxLoadStringResource(kAppTitleId, title))
        caption = title;
    if (!parent)
        parent = KWMessageBoxOwner();
    return ::MessageBoxW(parent, text ? text : L"", caption ? caption : L"", type);
}
