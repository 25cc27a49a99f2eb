#include "docking/frames/QMXPCustomizePage.h"

#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/FrameWnd.h"

namespace {
constexpr int kIdcCategories = 16601;
constexpr int kIdcCommands = 16602;
constexpr int kIdcDescription = 16603;

// How many buttons of the list show the text.
int CountText(const CObList& lstButtons, const CString& strText) {
    int nCount = 0;
    for (POSITION pos = lstButtons.GetHeadPosition(); pos != nullptr;)
        if (static_cast<CQMXPToolbarButton*>(lstButtons.GetNext(pos))->m_strText == strText)
            ++nCount;
    return nCount;
}
}  // namespace

IMPLEMENT_DYNAMIC(CQMXPCustomizePage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPCustomizePage, CPropertyPage)
    ON_CONTROL(LBN_SELCHANGE, kIdcCategories, OnSelchangeCategory)
    ON_CONTROL(LBN_SELCHANGE, kIdcCommands, OnSelchangeUserTools)
END_MESSAGE_MAP()

CQMXPCustomizePage::CQMXPCustomizePage() : CPropertyPage(IDD), m_pSelButton(nullptr) {}

BOOL CQMXPCustomizePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_wndCategory.SubclassDlgItem(kIdcCategories, this);
    m_wndTools.SubclassDlgItem(kIdcCommands, this);
    auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
    if (pSheet != nullptr)
        pSheet->FillCategoryList(m_wndCategory, TRUE);
    m_wndCategory.SetCurSel(0);
    OnSelchangeCategory();
    return TRUE;
}

void CQMXPCustomizePage::ShowDescription() { SetDlgItemText(kIdcDescription, m_strButtonDescription); }

void CQMXPCustomizePage::OnChangeSelButton(CQMXPToolbarButton* pSelButton) {
    m_strButtonDescription.Empty();
    if (pSelButton != nullptr) {
        if (pSelButton->m_nID != 0) {
            auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
            CFrameWnd* pFrame = pSheet != nullptr ? pSheet->GetCustomizedFrame() : nullptr;
            if (pFrame != nullptr)
                pFrame->GetMessageString(pSelButton->m_nID, m_strButtonDescription);
        } else {
            m_strButtonDescription = pSelButton->m_strText;
        }
    }
    m_pSelButton = pSelButton;
    ShowDescription();
}

void CQMXPCustomizePage::OnSelchangeCategory() {
    const int iCategory = m_wndCategory.GetCurSel();
    if (iCategory < 0)
        return;
    CWaitCursor wait;
    m_wndTools.SetRedraw(FALSE);
    m_wndTools.ResetContent();
    CString strCategory;
    m_wndCategory.GetText(iCategory, strCategory);
    const BOOL bAllCommands = strCategory == m_strAllCategory;
    m_strButtonDescription.Empty();
    m_pSelButton = nullptr;
    ShowDescription();

    auto* pCategory = reinterpret_cast<CObList*>(m_wndCategory.GetItemData(iCategory));
    for (POSITION pos = pCategory != nullptr ? pCategory->GetHeadPosition() : nullptr; pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(pCategory->GetNext(pos));
        pButton->m_bUserButton =
            pButton->m_nID != static_cast<UINT>(-1) && QMXLookupCommandImage(pButton->m_nID) == -1;
        CString strText = pButton->m_strText;
        if (!pButton->m_strTextCustom.IsEmpty() && (bAllCommands || CountText(*pCategory, strText) > 1))
            strText = pButton->m_strTextCustom;
        int iIndex = -1;
        if (bAllCommands) {
            for (int i = 0; i < m_wndTools.GetCount() && iIndex < 0; ++i) {
                CString strLine;
                m_wndTools.GetText(i, strLine);
                if (strLine.Compare(strText) > 0)
                    iIndex = m_wndTools.InsertString(i, strText);
            }
        }
        if (iIndex < 0)
            iIndex = m_wndTools.AddString(strText);
        m_wndTools.SetItemData(iIndex, reinterpret_cast<DWORD_PTR>(pButton));
    }
    m_wndTools.SetRedraw(TRUE);
    m_wndTools.Invalidate();
}

void CQMXPCustomizePage::OnSelchangeUserTools() {
    const int iSelected = m_wndTools.GetCurSel();
    if (iSelected >= 0) {
        OnChangeSelButton(m_wndTools.GetButton(iSelected));
        return;
    }
    m_strButtonDescription.Empty();
    m_pSelButton = nullptr;
    ShowDescription();
}
