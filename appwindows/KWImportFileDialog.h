#pragma once
// CKWImportFileDialog: the open dialog for image files (and the program's own
// files), with an optional preview pane and multiple selection.
#include "controls/KWPreviewCtrl.h"
#include "platform/classlib/FileDialog.h"

#include <cstdint>
#include <vector>

class CQMFormatInfo;

// The framework's preview of an image file: the picture read through the
// raster-image library at preview size as a device bitmap (the caller owns
// it); null for a path that is not a file.
HBITMAP KWMakeImagePreview(const wchar_t* file, int reserved);

class CKWImportFileDialog : public CFileDialog {
public:
    // Characters of the buffer that receives the chosen files: room for a
    // few thousand names in one selection.
    static constexpr DWORD kFileBufferChars = 256 * 1024;

    CKWImportFileDialog(const CQMFormatInfo* formats, uint32_t category, uint32_t defaultFlags,
                        const wchar_t* defaultExt, bool preview, const wchar_t* title, bool multiSelect);

    CString GetPathName() const { return CFileDialog::GetPathName(); }
    // Every chosen file as a full path, in the dialog's order.
    void GetSelectedFiles(std::vector<CString>& files) const;
    void SetInitialDir(const wchar_t* folder);
    // What makes the previews (KWMakeImagePreview unless another is given).
    void SetPreviewMaker(KWPreviewMaker maker) { m_preview.SetPreviewMaker(maker); }
    const CString& GetFilter() const { return m_filter; }
    const CKWPreviewCtrl& GetPreview() const { return m_preview; }

protected:
    // With the preview: binds the pane's controls and checks the box.
    BOOL OnInitDialog() override;
    void OnFileNameChange() override;
    void OnFolderChange() override;
    void OnTypeChange() override;

private:
    // Gives the box's state and the current path to the preview.
    void UpdatePreview();

    const CQMFormatInfo* m_formats;
    uint32_t m_category;
    bool m_showPreview;
    CKWPreviewCtrl m_preview;
    HWND m_previewCheck = nullptr;
    CString m_title;
    CString m_initialDir;
    CString m_filter;  // NUL-separated, as the common dialog takes it
    std::vector<wchar_t> m_files;
};
