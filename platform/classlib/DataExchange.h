#pragma once
// Dialog data exchange: DoDataExchange moves values between a dialog's
// controls and its members in the direction that m_bSaveAndValidate says.
#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;

    // The control's window; a missing control is a programming error and fails the exchange.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange with failure (the current control gets the focus).
    [[noreturn]] void Fail();

private:
    HWND m_hWndLastControl = nullptr;
};

// Subclasses the dialog item with the control object, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// An integer field: the text to the member, or the member as text. A text
// that is no integer shows "Please enter an integer." and fails.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// The range check after DDX_Text: outside minVal..maxVal shows "Please enter
// an integer between minVal and maxVal." and fails; nothing when writing.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
