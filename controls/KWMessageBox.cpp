#include "controls/KWMessageBox.h"

#include "platform/classlib/StringResource.h"

namespace {

const UINT kAppTitleId = 57344;

}  // namespace

int KWMessageBox(const wchar_t* text, UINT type, UINT, const wchar_t* caption, HWND parent)
{
    CString title;
    if (!caption && AfxLoadStringResource(kAppTitleId, title))
        caption = title;
    if (!parent)
        parent = ::GetForegroundWindow();
    return ::MessageBoxW(parent, text ? text : L"", caption, type);
}
