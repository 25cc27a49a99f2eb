#include "editor/StructedWizardPage1.h"

#include "controls/KWMessageBox.h"
#include "editor/StructedWizard.h"
#include "editor/TalApplication.h"
#include "editor/TalWizardDocument.h"
#include "export/ExportImageFiles.h"
#include "files/TalTags.h"
#include "files/TalXmlSerializer.h"
#include "framework/KWPathUtils.h"
#include "appwindows/KWImportFileDialog.h"
#include "appwindows/KWProgressWnd.h"
#include "model/TalPrefs.h"
#include "platform/classlib/StringResource.h"
#include "resources/Wizard.h"

BEGIN_MESSAGE_MAP(CStructedWizardPage1, CKWPropertyPage)
    ON_BN_CLICKED(IDC_TAL_WIZ_ADD_TEMPLATE, OnAddTemplate)
    ON_BN_CLICKED(IDC_TAL_WIZ_REMOVE_TEMPLATE, OnRemoveTemplate)
    ON_EN_CHANGE(IDC_TAL_WIZ_AUTHOR, OnGeneralInfoChanged)
    ON_EN_CHANGE(IDC_TAL_WIZ_TITLE, OnGeneralInfoChanged)
    ON_EN_CHANGE(IDC_TAL_WIZ_COMPANY, OnGeneralInfoChanged)
    ON_BN_CLICKED(IDC_TAL_WIZ_SHOW_AT_START, OnGeneralInfoChanged)
    ON_LBN_SELCHANGE(IDC_TAL_WIZ_TEMPLATES, OnGeneralInfoChanged)
END_MESSAGE_MAP()

namespace {

// The open dialog's category of report templates.
constexpr uint32_t kTemplateKind = 16384;
// StartUpMode: the wizard, or an empty report.
constexpr int32_t kStartWithWizard = 0;
constexpr int32_t kStartEmpty = 3;

CString Lower(CString text)
{
    text.MakeLower();
    return text;
}

CString LoadText(UINT id)
{
    CString text;
    AfxLoadStringResource(id, text);
    return text;
}

}  // namespace

CStructedWizardPage1::CStructedWizardPage1() : CKWPropertyPage(IDD_TAL_WIZARD_TEMPLATE) {}

CStructedWizardPage1::~CStructedWizardPage1() = default;

CStructedWizard* CStructedWizardPage1::Sheet() const
{
    return CStructedWizard::FromPage(*this);
}

CString CStructedWizardPage1::EntryText(const CString& folderLower, const CString& path)
{
    const CString lower = Lower(path);
    if (!folderLower.IsEmpty() && lower.Left(folderLower.GetLength()) == folderLower)
        return lower.Mid(folderLower.GetLength());
    return path;
}

BOOL CStructedWizardPage1::OnInitDialog()
{
    const BOOL result = CKWPropertyPage::OnInitDialog();
    m_filling = true;
    m_list.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_TEMPLATES));
    m_author.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_AUTHOR));
    m_title.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_TITLE));
    m_company.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_COMPANY));
    m_removeButton.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_REMOVE_TEMPLATE));
    m_showAtStart.CreateImp(::GetDlgItem(m_hWnd, IDC_TAL_WIZ_SHOW_AT_START));

    CTalApplication* app = GetTalApp();
    CTalPrefs& prefs = app->GetPrefs();
    m_showAtStart.SetCheck(prefs.GetStartUpMode() == kStartWithWizard ? BST_CHECKED : BST_UNCHECKED);
    m_author.SetText(app->GetAuthorName());
    m_company.SetText(app->GetCompanyName());
    m_folderLower = Lower(prefs.GetTemplatesFolder());
    m_picture.Attach(IDC_TAL_WIZ_PICTURE, this);
    m_picture.SetImageResource(IDB_TAL_WIZARD_PAGE1);

    prefs.LoadTemplateList(m_templates);
    m_list.ResetContent();
    for (const CString& path : m_templates)
        m_list.AddString(EntryText(m_folderLower, path));
    if (!m_templates.empty())
        m_list.SetCurSel(0);
    Sheet()->m_templateIndex = m_templates.empty() ? -1 : 0;
    m_removeButton.Enable(!m_templates.empty());
    m_filling = false;
    return result;
}

void CStructedWizardPage1::SetStartUpModeFromBox()
{
    GetTalApp()->GetPrefs().SetStartUpMode(m_showAtStart.GetCheck() == BST_CHECKED ? kStartWithWizard : kStartEmpty);
}

void CStructedWizardPage1::UpdateRemoveButton()
{
    m_removeButton.Enable(m_list.GetCurSel() >= 0);
}

void CStructedWizardPage1::OnGeneralInfoChanged()
{
    // The edits' change notices of the page's own filling would otherwise
    // turn a start-up mode of 1 or 2 into 3.
    if (m_filling)
        return;
    SetStartUpModeFromBox();
    SetModified(TRUE);
    UpdateRemoveButton();
}

void CStructedWizardPage1::OnAddTemplate()
{
    CTalApplication* app = GetTalApp();
    CTalPrefs& prefs = app->GetPrefs();
    CKWImportFileDialog dialog(app->GetFormatList(), kTemplateKind, 0, nullptr, false, nullptr, true);
    dialog.SetInitialDir(prefs.GetOpenImageFolder());
    if (dialog.DoModal() == IDOK) {
        std::vector<CString> chosen;
        dialog.GetSelectedFiles(chosen);
        for (const CString& path : chosen) {
            const CString lower = Lower(path);
            bool listed = false;
            for (const CString& known : m_templates)
                listed = listed || Lower(known) == lower;
            if (listed) {
                KWMessageBox(LoadText(IDS_TAL_WIZ_TEMPLATE_EXISTS) + L"\n" + path, MB_ICONEXCLAMATION, 0, nullptr,
                             m_hWnd);
                continue;
            }
            m_templates.push_back(path);
            m_list.AddString(EntryText(m_folderLower, path));
            CString folder = GetPathDirectory(path);
            if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
                folder += L'\\';
            prefs.SetAddPicturePath(folder);
        }
    }
    const int last = static_cast<int>(m_templates.size()) - 1;
    Sheet()->m_templateIndex = last;
    m_list.SetCurSel(last);
    SetStartUpModeFromBox();
    SetModified(TRUE);
    UpdateRemoveButton();
}

void CStructedWizardPage1::OnRemoveTemplate()
{
    const int selected = m_list.GetCurSel();
    if (selected < 0 || selected >= static_cast<int>(m_templates.size()))
        return;
    m_list.DeleteString(selected);
    m_templates.erase(m_templates.begin() + selected);
    if (m_templates.empty()) {
        m_removeButton.Enable(false);
        return;
    }
    m_list.SetCurSel(std::min(selected, static_cast<int>(m_templates.size()) - 1));
}

BOOL CStructedWizardPage1::OnSetActive()
{
    Sheet()->SetWizardButtons(PSWIZB_NEXT);
    return CKWPropertyPage::OnSetActive();
}

BOOL CStructedWizardPage1::OnKillActive()
{
    CStructedWizard* sheet = Sheet();
    m_author.GetText(sheet->m_author);
    m_title.GetText(sheet->m_title);
    m_company.GetText(sheet->m_company);
    sheet->m_templateIndex = m_list.GetCurSel();
    return sheet->m_templateIndex >= 0;
}

LRESULT CStructedWizardPage1::OnWizardNext()
{
    const bool selected = OnKillActive() != FALSE;
    GetTalApp()->GetPrefs().SaveTemplateList(m_templates);
    if (!selected || m_templates.empty()) {
        // The page stays; the user is told what it waits for.
        KWMessageBox(LoadText(IDS_TAL_WIZ_CHOOSE_TEMPLATE), MB_ICONINFORMATION, 0, nullptr, m_hWnd);
        return -1;
    }
    CStructedWizard* sheet = Sheet();
    const CString& path = m_templates[static_cast<size_t>(sheet->m_templateIndex)];
    CString resolved;
    if (!ResolveFilePath(path, resolved)) {
        CString text;
        text.Format(LoadText(IDS_TAL_WIZ_CANNOT_OPEN), static_cast<const wchar_t*>(path));
        KWMessageBox(text, MB_ICONEXCLAMATION, 0, nullptr, m_hWnd);
        return -1;
    }
    // The same template again (after going back) keeps the sections as edited.
    if (resolved != sheet->m_loadedPath && !LoadTemplate(resolved))
        return -1;
    CTalDocProperties& properties = sheet->GetWizardDocument()->GetProperties();
    properties.m_title = sheet->m_title;
    properties.m_author = sheet->m_author;
    properties.m_company = sheet->m_company;
    return 0;
}

bool CStructedWizardPage1::LoadTemplate(const CString& resolved)
{
    CStructedWizard* sheet = Sheet();
    CTalWizardDocument* document = sheet->RenewWizardDocument();
    CTalTags tags;
    CTalXmlSerializer serializer;
    CKWProgressWnd progress(sheet);
    progress.SetRange(1, 100);
    progress.SetStep(1);
    progress.Show();
    if (!tags.RegisterTags() || !serializer.LoadDocument(resolved, document, &tags, 0, &progress))
        return false;
    sheet->m_loadedPath = resolved;
    sheet->m_templatePath = resolved;
    progress.Hide();
    return true;
}
