#include "editor/DocPropertiesPage1.h"

#include "model/TalDocProperties.h"
#include "resources/ReportPropDialogs.h"

namespace {

// The edits in the order of the page's texts.
constexpr int kEditIds[] = {IDC_GEN_TITLE, IDC_GEN_SUBJECT, IDC_GEN_AUTHOR, IDC_GEN_COMPANY, IDC_GEN_DESCRIPTION};

CString* TextField(CTalDocProperties& properties, int index)
{
    CString* const fields[] = {&properties.m_title, &properties.m_subject, &properties.m_author,
                               &properties.m_company, &properties.m_description};
    return fields[index];
}

}  // namespace

BEGIN_MESSAGE_MAP(CDocPropertiesPage1, CTalPropertiesPage)
    ON_EN_CHANGE(IDC_GEN_TITLE, OnChanged)
    ON_EN_CHANGE(IDC_GEN_SUBJECT, OnChanged)
    ON_EN_CHANGE(IDC_GEN_AUTHOR, OnChanged)
    ON_EN_CHANGE(IDC_GEN_COMPANY, OnChanged)
    ON_EN_CHANGE(IDC_GEN_DESCRIPTION, OnChanged)
    ON_BN_CLICKED(IDC_GEN_IMAGES_INSIDE, OnChanged)
    ON_BN_CLICKED(IDC_GEN_IMAGE_LINKS, OnChanged)
END_MESSAGE_MAP()

CDocPropertiesPage1::CDocPropertiesPage1() : CTalPropertiesPage(IDD_TAL_PROP_GENERAL) {}

BOOL CDocPropertiesPage1::OnInitDialog()
{
    CTalDocProperties* properties = Properties();
    for (int i = 0; i < kTextCount; ++i) {
        m_edits[i].CreateImp(::GetDlgItem(m_hWnd, kEditIds[i]));
        if (properties)
            m_edits[i].SetText(*TextField(*properties, i));
    }
    m_imagesInside.CreateImp(::GetDlgItem(m_hWnd, IDC_GEN_IMAGES_INSIDE));
    m_imageLinks.CreateImp(::GetDlgItem(m_hWnd, IDC_GEN_IMAGE_LINKS));
    const bool inside = !properties || properties->m_imageSaveType == 0;
    m_imagesInside.SetCheck(inside ? BST_CHECKED : BST_UNCHECKED);
    m_imageLinks.SetCheck(inside ? BST_UNCHECKED : BST_CHECKED);
    m_initialized = true;
    // Filling the edits is no change of the user's.
    SetModified(FALSE);
    return TRUE;
}

BOOL CDocPropertiesPage1::OnKillActive()
{
    for (int i = 0; i < kTextCount; ++i)
        m_edits[i].GetText(m_texts[i]);
    m_insideChecked = m_imagesInside.GetCheck() == BST_CHECKED;
    m_linksChecked = m_imageLinks.GetCheck() == BST_CHECKED;
    return TRUE;
}

BOOL CDocPropertiesPage1::OnApply()
{
    CTalDocProperties* properties = Properties();
    if (!m_initialized || !properties)
        return TRUE;
    OnKillActive();
    MarkDocumentModified();
    for (int i = 0; i < kTextCount; ++i)
        *TextField(*properties, i) = m_texts[i];
    properties->m_imageSaveType = m_insideChecked ? 0 : 1;
    return TRUE;
}

void CDocPropertiesPage1::OnChanged()
{
    SetModified(TRUE);
}
