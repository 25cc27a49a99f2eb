#pragma once
// CKWFolderChooseDlg: the shell's folder browser, opening at a given folder.
// A path typed into its name box is taken on OK (a folder name relative to
// the selected folder too); one that names no folder is refused with a
// message and the browser stays open.
#include "platform/classlib/String.h"

#include <windows.h>

class CWnd;

class CKWFolderChooseDlg {
public:
    CKWFolderChooseDlg(const wchar_t* initialFolder = nullptr, CWnd* parent = nullptr);
    virtual ~CKWFolderChooseDlg() = default;

    // IDOK with the chosen folder in the path; IDCANCEL with the path unchanged.
    virtual INT_PTR DoModal();
    CString& GetPathRef() { return m_path; }

private:
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
    // The browser's window procedure, ahead of its own: OK with a typed path.
    static LRESULT CALLBACK BrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The folder that the name box's text names; false when it names none
    // (also when the box shows the selected folder's name unchanged).
    bool TypedFolder(HWND window, CString& folder, CString& typed) const;

    HWND m_owner;
    CString m_path;
    // Times the opening folder may still be asked for again: the browser can
    // settle on a folder of its own after it was told the one to open at.
    int m_selectRetries = 0;
    // The folder selected in the browser now ("" for none with a path).
    CString m_selected;
    WNDPROC m_browserProc = nullptr;
    // The folder typed and taken on OK; empty when none was typed.
    CString m_typed;
};
