#pragma once
// CDialog: a dialog window from a template, modal (DoModal runs the library's
// modal loop, so messages go through PreTranslateMessage as in the main loop)
// or modeless (Create).
#include "platform/classlib/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) {
        return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
    }
    BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog with its owner disabled; the value given to EndDialog,
    // or -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Fills the template's initialisation data and the data exchange.
    virtual BOOL OnInitDialog();
    // Takes the data (UpdateData) and ends with IDOK; ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The dialog, then for commands its parent and the thread object.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl) {
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWndCtrl)), 1);
    }
    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    LPCWSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    // The top-level window disabled for the modal run.
    HWND m_hWndTop;

    DECLARE_MESSAGE_MAP()
};
