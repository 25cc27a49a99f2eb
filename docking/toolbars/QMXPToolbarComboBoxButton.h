#pragma once
// CQMXPToolbarComboBoxButton: a tool bar button that holds a combo box: a
// list of entries (text and data), the selection and the edit text. The
// static operations find the first such button of a command on the live
// tool bars. Stand-in without a combo-box window; the docking library
// replaces its inside.
#include "docking/toolbars/QMXPToolbarButton.h"

#include <vector>

class CQMXPToolbarComboBoxButton : public CQMXPToolbarButton {
    DECLARE_DYNCREATE(CQMXPToolbarComboBoxButton)
public:
    CQMXPToolbarComboBoxButton();
    explicit CQMXPToolbarComboBoxButton(UINT nID);
    ~CQMXPToolbarComboBoxButton() override;

    // The new entry's index.
    int AddItem(LPCWSTR lpszItem, DWORD_PTR dwData = 0);
    // Empties the list; the selection goes, the edit text stays.
    void RemoveAllItems();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetCurSel() const { return m_iSelIndex; }
    // The selection (-1: none) and its text as the edit text; FALSE for a bad index.
    BOOL SelectItem(int iIndex);
    // Selects the entry with the text or, when none matches, sets the edit
    // text; with bNotify the owner gets the command with CBN_SELENDOK.
    BOOL SetText(LPCWSTR lpszText, BOOL bNotify = FALSE);
    const CString& GetText() const { return m_strEdit; }
    DWORD_PTR GetItemData(int iIndex) const;

    // The combo button of the command on the live tool bars; null when none.
    static CQMXPToolbarComboBoxButton* GetByCmd(UINT nID);
    // The selection of the command's combo button; -1 when there is none.
    static int GetCurSelForCommand(UINT nID);
    // The data of the entry (iIndex -1: the selection); -1 when there is no such button.
    static DWORD_PTR GetItemDataForCommand(UINT nID, int iIndex = -1);
    // The edit text; FALSE when there is no such button.
    static BOOL GetTextForCommand(UINT nID, CString& strText);
    static BOOL SetTextForCommand(UINT nID, LPCWSTR lpszText);

    // The window the notifications go to (the tool bar's owner).
    HWND m_hWndOwner;

private:
    struct Item {
        CString text;
        DWORD_PTR data;
    };
    std::vector<Item> m_items;
    int m_iSelIndex;
    CString m_strEdit;
};
