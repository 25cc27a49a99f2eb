#pragma once
// CKWPreviewCtrl: the image preview of the image-import dialog, over a
// dialog item. It keeps the file it shows and whether it shows it, and
// repaints its item when either changes.
#include "platform/classlib/String.h"

#include <windows.h>

class CKWPreviewCtrl {
public:
    CKWPreviewCtrl() = default;
    CKWPreviewCtrl(const CKWPreviewCtrl&) = delete;
    CKWPreviewCtrl& operator=(const CKWPreviewCtrl&) = delete;

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND GetHwnd() const { return m_hWnd; }
    // Rebuilds the preview when the file or the show flag changed.
    void SetFile(const wchar_t* path, bool show);
    const CString& GetFile() const { return m_file; }
    bool IsShown() const { return m_show; }

private:
    HWND m_hWnd = nullptr;
    CString m_file;
    bool m_show = false;
};
