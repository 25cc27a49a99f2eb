#include "editor/ExportPropDlg.h"

#include "model/TalDocProperties.h"
#include "model/TalPrefs.h"
#include "document/TalDocumentApp.h"
#include "resources/ExportPropDialog.h"

namespace {

// The options' check boxes, in the order OnOK takes them; the grey-scale
// default is the fourth.
constexpr int kOptionIds[] = {IDC_EXP_TITLE_PAGE, IDC_EXP_CONTENTS,   IDC_EXP_NUMBERING,
                              IDC_EXP_GRAYSCALE,  IDC_EXP_WATERMARKS, IDC_EXP_DESCRIPTIONS};
constexpr int kGrayscaleOption = 3;

CTalPrefs* ApplicationPrefs()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    return app ? &app->GetPrefs() : nullptr;
}

}  // namespace

CExportPropDlg::CExportPropDlg(CTalDocProperties* properties, CWnd* pParentWnd)
    : CKWDialog(IDD_TAL_EXPORT_PROPERTIES, pParentWnd), m_properties(properties)
{
}

uint8_t* CExportPropDlg::OptionField(int index) const
{
    uint8_t* const fields[] = {&m_properties->m_insertTitlePage, &m_properties->m_insertContents,
                               &m_properties->m_numberSections,  &m_properties->m_grayscale,
                               &m_properties->m_insertWatermarks, &m_properties->m_useDescription};
    return fields[index];
}

BOOL CExportPropDlg::OnInitDialog()
{
    const BOOL result = CKWDialog::OnInitDialog();
    for (int i = 0; i < kOptionCount; ++i) {
        m_options[i].CreateImp(GetItemWindow(kOptionIds[i]));
        m_options[i].SetCheck(m_properties && *OptionField(i) ? BST_CHECKED : BST_UNCHECKED);
    }
    m_showAgain.CreateImp(GetItemWindow(IDC_EXP_SHOW_AGAIN));
    const CTalPrefs* prefs = ApplicationPrefs();
    m_showAgain.SetCheck(prefs && prefs->GetShowExportDialog() ? BST_CHECKED : BST_UNCHECKED);
    return result;
}

void CExportPropDlg::OnOK()
{
    CKWDialog::OnOK();
    for (int i = 0; m_properties && i < kOptionCount; ++i) {
        const uint8_t value = m_options[i].GetCheck() == BST_CHECKED ? 1 : 0;
        uint8_t* field = OptionField(i);
        if ((*field != 0) == (value != 0))
            continue;
        *field = value;
        m_changed = 1;
        if (i == kGrayscaleOption)
            m_grayscaleChanged = 1;
    }
    if (CTalPrefs* prefs = ApplicationPrefs())
        prefs->SetShowExportDialog(m_showAgain.GetCheck() == BST_CHECKED);
}
