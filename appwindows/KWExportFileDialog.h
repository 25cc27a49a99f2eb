#pragma once
// CKWExportFileDialog: the save dialog for documents, templates and exports.
// Its filter lists the formats of a category that can be written, and the
// typed name's extension is kept in step with the chosen format.
#include "framework/KWFileFilter.h"
#include "platform/classlib/FileDialog.h"

#include <cstdint>
#include <vector>

class CQMFormatInfo;

class CKWExportFileDialog : public CFileDialog {
public:
    // proposedPath: its name goes into the name box, its folder (when it has
    // one) becomes the initial folder. defaultExt, defaultFlags: the format
    // chosen at first (see KWBuildExportFilter).
    CKWExportFileDialog(const CQMFormatInfo* formats, uint32_t category, const wchar_t* proposedPath = nullptr,
                        const wchar_t* defaultExt = nullptr, uint32_t defaultFlags = 0, const wchar_t* title = nullptr);

    // The chosen path with the chosen format's extension: a different
    // extension that was typed is kept and the format's appended.
    CString GetPathName() const;
    // Null when the list has no format of the category.
    const CQMFormatInfo* GetChosenFormat() const { return m_chosen; }
    const CString& GetFilter() const { return m_filter; }

protected:
    void OnInitDone() override;
    // The user picked another filter: the name box follows its format.
    void OnTypeChange() override;
    // Refuses a file name that begins with a dot.
    BOOL OnFileNameOK() override;
    // Keeps the notification, then the class library's handling.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // Ensures the extension of the name in the name box (replacing another).
    void UpdateNameBox();

    const CQMFormatInfo* m_formats;
    uint32_t m_category;
    const CQMFormatInfo* m_chosen = nullptr;
    CString m_folder;
    CString m_title;
    OFNOTIFYW* m_lastNotify = nullptr;  // valid while a notification is handled
    std::vector<const CQMFormatInfo*> m_records;
    CString m_filter;  // NUL-separated, as the common dialog takes it
};
