#include "appwindows/KWFolderChooseDlg.h"

#include "platform/classlib/Wnd.h"

#include <shlobj.h>

namespace {
// An edit box, validated, in the new style, without a button for new folders.
constexpr UINT kBrowseFlags = BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
}  // namespace

CKWFolderChooseDlg::CKWFolderChooseDlg(const wchar_t* initialFolder, CWnd* parent)
    : m_owner(CWnd::SafeHwndOf(parent)), m_path(initialFolder ? initialFolder : L"")
{
}

int CALLBACK CKWFolderChooseDlg::BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data)
{
    auto* self = reinterpret_cast<CKWFolderChooseDlg*>(data);
    if (message == BFFM_INITIALIZED) {
        self->m_selectRetries = self->m_path.IsEmpty() ? 0 : 3;
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->m_path.GetString()));
    } else if (message == BFFM_SELCHANGED && self->m_selectRetries > 0) {
        // Until the opening folder has shown once, a selection of the
        // browser's own is undone; after that every change is the user's.
        wchar_t path[MAX_PATH] = {};
        const bool atOpening = lParam != 0 &&
                               ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path) &&
                               ::lstrcmpiW(path, self->m_path) == 0;
        if (atOpening) {
            self->m_selectRetries = 0;
        } else {
            --self->m_selectRetries;
            ::PostMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->m_path.GetString()));
        }
    }
    return 0;
}

INT_PTR CKWFolderChooseDlg::DoModal()
{
    BROWSEINFOW info = {};
    info.hwndOwner = m_owner;
    info.ulFlags = kBrowseFlags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&info);
    if (!item)
        return IDCANCEL;
    wchar_t path[MAX_PATH] = {};
    const BOOL found = ::SHGetPathFromIDListW(item, path);
    // The browser's item list is the caller's to free.
    ::CoTaskMemFree(item);
    // A folder without a file-system path (a virtual one) gives an empty path.
    m_path = found ? path : L"";
    return IDOK;
}
