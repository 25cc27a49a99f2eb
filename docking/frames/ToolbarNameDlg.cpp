#include "docking/frames/ToolbarNameDlg.h"

namespace {
constexpr UINT kIdcToolbarName = 16516;
}  // namespace

BEGIN_MESSAGE_MAP(CToolbarNameDlg, CDialog)
    ON_EN_UPDATE(kIdcToolbarName, OnUpdateToolbarName)
END_MESSAGE_MAP()

CToolbarNameDlg::CToolbarNameDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CToolbarNameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(kIdcToolbarName, m_strToolbarName);
    OnUpdateToolbarName();
    return TRUE;
}

void CToolbarNameDlg::OnUpdateToolbarName() {
    CString strName;
    GetDlgItemText(kIdcToolbarName, strName);
    CWnd* pOK = GetDlgItem(IDOK);
    if (pOK != nullptr)
        pOK->EnableWindow(!strName.IsEmpty());
}

void CToolbarNameDlg::OnOK() {
    GetDlgItemText(kIdcToolbarName, m_strToolbarName);
    // Enter reaches OnOK even while the button is disabled.
    if (m_strToolbarName.IsEmpty())
        return;
    CDialog::OnOK();
}
