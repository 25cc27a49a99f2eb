#include "appwindows/KWFolderChooseDlg.h"

#include "controls/KWMessageBox.h"
#include "platform/classlib/Wnd.h"

#include <shlobj.h>
#include <shlwapi.h>

namespace {
// An edit box, validated, in the new style, without a button for new folders.
constexpr UINT kBrowseFlags = BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
// The property that ties the browser's window to its chooser.
constexpr wchar_t kChooserProperty[] = L"KWFolderChooseDlg";
}  // namespace

CKWFolderChooseDlg::CKWFolderChooseDlg(const wchar_t* initialFolder, CWnd* parent)
    : m_owner(CWnd::SafeHwndOf(parent)), m_path(initialFolder ? initialFolder : L"")
{
}

int CALLBACK CKWFolderChooseDlg::BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data)
{
    auto* self = reinterpret_cast<CKWFolderChooseDlg*>(data);
    if (message == BFFM_SELCHANGED) {
        wchar_t selected[MAX_PATH] = {};
        if (lParam == 0 || !::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), selected))
            selected[0] = L'\0';
        self->m_selected = selected;
    }
    if (message == BFFM_INITIALIZED) {
        ::SetPropW(window, kChooserProperty, self);
        self->m_browserProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BrowserProc)));
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

bool CKWFolderChooseDlg::TypedFolder(HWND window, CString& folder, CString& typed) const
{
    HWND edit = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
    wchar_t text[MAX_PATH] = {};
    if (!edit || ::GetWindowTextW(edit, text, MAX_PATH) <= 0)
        return false;
    typed = text;
    typed.Trim();
    if (typed.IsEmpty())
        return false;
    // The box shows the selected folder's own name until the user types.
    const wchar_t* selectedName = ::PathFindFileNameW(m_selected);
    if (!m_selected.IsEmpty() && ::lstrcmpiW(selectedName, typed) == 0)
        return false;
    wchar_t combined[MAX_PATH] = {};
    if (::PathIsRelativeW(typed)) {
        if (m_selected.IsEmpty() || !::PathCombineW(combined, m_selected, typed))
            return false;
    } else if (::lstrcpynW(combined, typed, MAX_PATH) == nullptr) {
        return false;
    }
    folder = combined;
    return true;
}

LRESULT CALLBACK CKWFolderChooseDlg::BrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CKWFolderChooseDlg*>(::GetPropW(window, kChooserProperty));
    WNDPROC original = self ? self->m_browserProc : nullptr;
    if (!self || !original)
        return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        CString folder, typed;
        if (self->TypedFolder(window, folder, typed)) {
            const DWORD attributes = ::GetFileAttributesW(folder);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                CString message;
                message.Format(L"The folder \"%s\" does not exist.", typed.GetString());
                KWMessageBox(message, MB_OK | MB_ICONEXCLAMATION, 0, nullptr, window);
                if (HWND edit = ::FindWindowExW(window, nullptr, L"Edit", nullptr)) {
                    ::SetFocus(edit);
                    ::SendMessageW(edit, EM_SETSEL, 0, -1);
                }
                return 0;
            }
            // The browser gives back its selection: the typed folder becomes it.
            self->m_selectRetries = 0;
            ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.GetString()));
            self->m_typed = folder;
        }
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::RemovePropW(window, kChooserProperty);
    }
    return ::CallWindowProcW(original, window, message, wParam, lParam);
}

INT_PTR CKWFolderChooseDlg::DoModal()
{
    BROWSEINFOW info = {};
    info.hwndOwner = m_owner;
    info.ulFlags = kBrowseFlags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    m_typed.Empty();
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&info);
    if (!item)
        return IDCANCEL;
    wchar_t path[MAX_PATH] = {};
    const BOOL found = ::SHGetPathFromIDListW(item, path);
    // The browser's item list is the caller's to free.
    ::CoTaskMemFree(item);
    // A folder without a file-system path (a virtual one) gives an empty
    // path; a typed folder is the answer even where the browser could not
    // select it.
    m_path = !m_typed.IsEmpty() ? m_typed : found ? CString(path) : CString();
    return IDOK;
}
