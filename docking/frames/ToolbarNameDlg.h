#pragma once
// CToolbarNameDlg: asks the name of a tool bar (a new one or one renamed);
// OK is offered only while the name is not empty.
#include "platform/classlib/Dialog.h"

class CToolbarNameDlg : public CDialog {
public:
    enum { IDD = 16130 };
    explicit CToolbarNameDlg(CWnd* pParent = nullptr);

    // The name shown at the start and read back after OK.
    CString m_strToolbarName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnUpdateToolbarName();

    DECLARE_MESSAGE_MAP()
};
