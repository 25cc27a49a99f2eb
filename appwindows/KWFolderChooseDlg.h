#pragma once
// CKWFolderChooseDlg: the shell's folder browser, opening at a given folder.
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

    HWND m_owner;
    CString m_path;
    // Times the opening folder may still be asked for again: the browser can
    // settle on a folder of its own after it was told the one to open at.
    int m_selectRetries = 0;
};
