#pragma once
// CFileDialog: the common open or save dialog in the explorer style. The
// object is attached to the dialog's child that holds the custom template
// (or an empty one), so that the template's controls work through the
// message map and data exchange, and the dialog's notifications (CDN_...)
// arrive as virtual calls; GetParent() is the common dialog itself.
#include "platform/classlib/Collection.h"
#include "platform/classlib/Dialog.h"

#include <commdlg.h>

#include <vector>

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs of display text and patterns separated by '|' and
    // ended by "||" (the '|' become the dialog's NUL separators).
    explicit CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    // The dialog's parameters. The file buffer is the object's own (MAX_PATH
    // characters) unless the caller puts another in lpstrFile/nMaxFile; a
    // custom template is asked for with OFN_ENABLETEMPLATE and lpTemplateName
    // (from the resource module when hInstance is not set).
    OPENFILENAMEW m_ofn;

    // IDOK or IDCANCEL (also when the dialog failed: CommDlgExtendedError tells).
    INT_PTR DoModal() override;

    // The chosen file (the first one of several); while the dialog is shown,
    // what it holds now.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    // While the dialog is shown: the folder it shows.
    CString GetFolderPath() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    // The chosen files one after another (multi-select gives the folder and
    // the names; each comes back as a full path).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // While the dialog is shown: its controls by id (edt1 1152 the name box, ...).
    void SetControlText(int nID, LPCWSTR lpsz);
    void HideControl(int nID);
    void SetDefExt(LPCWSTR lpsz);

    // The notification being handled (valid inside the On... handlers).
    OFNOTIFYW* m_pofnTemp;

protected:
    // The common dialog's notifications. Before OnInitDone the name box
    // takes the focus.
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    // TRUE keeps the dialog open (the name is refused).
    virtual BOOL OnFileNameOK();
    // OFN_SHAREWARN (the default), OFN_SHAREFALLTHROUGH or OFN_SHARENOWARN.
    virtual UINT OnShareViolation(LPCWSTR lpszPathName);

    BOOL OnInitDialog() override;
    void FocusFileName();
    // Dispatches the common dialog's CDN_ notifications; the result also
    // goes to DWLP_MSGRESULT, where the dialog reads it.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    BOOL m_bOpenFileDialog;
    CString m_strFilter;
    CString m_strDefExt;
    std::vector<wchar_t> m_fileBuffer;
    std::vector<wchar_t> m_titleBuffer;

private:
    static UINT_PTR CALLBACK ExplorerHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The text a message (CDM_GETFILEPATH ...) of the shown dialog returns.
    CString AskDialog(UINT message) const;
};
