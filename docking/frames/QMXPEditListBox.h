#pragma once
// CQMXPEditListBox: the editable list over a report list view without a
// header (child id 1), items edited in place with CQMXPEditListEdit.
#include "docking/frames/QMXPEditListBase.h"
#include "docking/frames/QMXPEditListEdit.h"

class CQMXPEditListCtrl;

class CQMXPEditListBox : public CQMXPEditListBase {
    DECLARE_DYNAMIC(CQMXPEditListBox)
public:
    CQMXPEditListBox();
    ~CQMXPEditListBox() override;

    int AddItem(const CString& strIext, DWORD_PTR dwData = 0, int iIndex = -1) override;
    // When the item was the selected one and items remain, the item now at
    // its place (or the last) is selected and TRUE returned.
    BOOL RemoveItem(int iIndex) override;
    int GetCount() const override;
    int GetSelItem() const override;
    BOOL SelectItem(int iItem) override;
    CString GetItemText(int iIndex) const override;
    void SetItemText(int iIndex, const CString& strText) override;
    DWORD_PTR GetItemData(int iIndex) const override;
    void SetItemData(int iIndex, DWORD_PTR dwData) override;
    BOOL EditItem(int iIndex) override;
    HWND GetListHwnd() const override;
    BOOL IsEditing() const { return m_bIsEditing; }
    // The in-place edit while an item is edited, else none.
    HWND GetEditHwnd() const { return m_bIsEditing ? m_wndEdit.GetSafeHwnd() : nullptr; }

    // From the list: a click on the selected, focused item is held and
    // becomes an edit when the button comes up near it.
    BOOL OnListButtonDown(CPoint point);
    BOOL OnListButtonUp(CPoint point);

protected:
    BOOL CreateList() override;
    void OnSizeList() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    int HitItem(CPoint point) const;

    CQMXPEditListCtrl* m_pWndList;
    CQMXPEditListEdit m_wndEdit;
    BOOL m_bIsEditing;
    CPoint m_ptClick;
};
