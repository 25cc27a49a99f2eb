#include "docking/toolbars/QMXPToolbarComboBoxButton.h"

#include "docking/toolbars/QMXPToolBar.h"

IMPLEMENT_DYNCREATE(CQMXPToolbarComboBoxButton, CQMXPToolbarButton)

CQMXPToolbarComboBoxButton::CQMXPToolbarComboBoxButton() : m_hWndOwner(nullptr), m_iSelIndex(-1) {}

CQMXPToolbarComboBoxButton::CQMXPToolbarComboBoxButton(UINT nID)
    : CQMXPToolbarButton(nID, nullptr), m_hWndOwner(nullptr), m_iSelIndex(-1) {}

CQMXPToolbarComboBoxButton::~CQMXPToolbarComboBoxButton() = default;

int CQMXPToolbarComboBoxButton::AddItem(LPCWSTR lpszItem, DWORD_PTR dwData) {
    m_items.push_back(Item{CString(lpszItem), dwData});
    return GetCount() - 1;
}

void CQMXPToolbarComboBoxButton::RemoveAllItems() {
    m_items.clear();
    m_iSelIndex = -1;
}

BOOL CQMXPToolbarComboBoxButton::SelectItem(int iIndex) {
    if (iIndex < -1 || iIndex >= GetCount())
        return FALSE;
    m_iSelIndex = iIndex;
    m_strEdit = iIndex >= 0 ? m_items[static_cast<size_t>(iIndex)].text : CString();
    return TRUE;
}

BOOL CQMXPToolbarComboBoxButton::SetText(LPCWSTR lpszText, BOOL bNotify) {
    CString strText(lpszText);
    int iFound = -1;
    for (int i = 0; i < GetCount() && iFound < 0; ++i) {
        if (m_items[static_cast<size_t>(i)].text == strText)
            iFound = i;
    }
    if (iFound >= 0) {
        SelectItem(iFound);
    } else {
        m_iSelIndex = -1;
        m_strEdit = strText;
    }
    if (bNotify && m_hWndOwner != nullptr)
        ::SendMessageW(m_hWndOwner, WM_COMMAND, MAKEWPARAM(m_nID, CBN_SELENDOK), 0);
    return TRUE;
}

DWORD_PTR CQMXPToolbarComboBoxButton::GetItemData(int iIndex) const {
    if (iIndex < 0 || iIndex >= GetCount())
        return 0;
    return m_items[static_cast<size_t>(iIndex)].data;
}

CQMXPToolbarComboBoxButton* CQMXPToolbarComboBoxButton::GetByCmd(UINT nID) {
    CObList listButtons;
    if (CQMXPToolBar::CollectButtonsByCommand(nID, listButtons) == 0)
        return nullptr;
    for (POSITION pos = listButtons.GetHeadPosition(); pos != nullptr;) {
        CObject* pButton = listButtons.GetNext(pos);
        if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarComboBoxButton)))
            return static_cast<CQMXPToolbarComboBoxButton*>(pButton);
    }
    return nullptr;
}

int CQMXPToolbarComboBoxButton::GetCurSelForCommand(UINT nID) {
    CQMXPToolbarComboBoxButton* pButton = GetByCmd(nID);
    return pButton != nullptr ? pButton->GetCurSel() : -1;
}

DWORD_PTR CQMXPToolbarComboBoxButton::GetItemDataForCommand(UINT nID, int iIndex) {
    CQMXPToolbarComboBoxButton* pButton = GetByCmd(nID);
    if (pButton == nullptr)
        return static_cast<DWORD_PTR>(-1);
    return pButton->GetItemData(iIndex < 0 ? pButton->GetCurSel() : iIndex);
}

BOOL CQMXPToolbarComboBoxButton::GetTextForCommand(UINT nID, CString& strText) {
    CQMXPToolbarComboBoxButton* pButton = GetByCmd(nID);
    if (pButton == nullptr)
        return FALSE;
    strText = pButton->GetText();
    return TRUE;
}

BOOL CQMXPToolbarComboBoxButton::SetTextForCommand(UINT nID, LPCWSTR lpszText) {
    CQMXPToolbarComboBoxButton* pButton = GetByCmd(nID);
    return pButton != nullptr && pButton->SetText(lpszText, FALSE);
}
