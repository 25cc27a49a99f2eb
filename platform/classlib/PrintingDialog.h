#pragma once
// CPrintingDialog: the modeless "Printing" box of the print loop, with the
// document, the printer and the page being printed, and Cancel, which
// aborts the job. Its messages are pumped by the abort procedure.
#include "platform/classlib/Dialog.h"

class CPrintingDialog : public CDialog {
public:
    explicit CPrintingDialog(CWnd* pView);
    ~CPrintingDialog() override;

    // Shows the box (when the view's top window is visible) and disables that window.
    void Start(LPCWSTR lpszDocName, LPCWSTR lpszPrinter, LPCWSTR lpszPort);
    void SetPage(UINT nPage);
    void Finish();

    // Cancel was pressed during the current (or last) job.
    static BOOL UserAborted();

    void OnCancel() override;

private:
    CWnd* m_pView;
    HWND m_hWndTop;
};

// The abort procedure of the print loop: pumps the waiting messages (the
// "Printing" box's Cancel among them); FALSE once the user cancelled.
BOOL CALLBACK AfxAbortProc(HDC hDC, int nCode);
