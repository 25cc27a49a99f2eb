#pragma once
// CCheckListBox: an owner-drawn list box (fixed height, with strings) that
// shows a check box before each item. A click or double click on a check
// box, or Space on the caret item, toggles it and tells the parent
// (WM_COMMAND with CLBN_CHKCHANGE); an item whose check is disabled beeps
// and keeps its state.
#include "platform/classlib/ListBox.h"

#include <vector>

constexpr UINT CLBN_CHKCHANGE = 40;

class CCheckListBox : public CListBox {
    DECLARE_DYNAMIC(CCheckListBox)
public:
    CCheckListBox() = default;

    int GetCheck(int nIndex) const;
    void SetCheck(int nIndex, int nCheck);
    virtual BOOL IsCheckEnabled(int) const { return TRUE; }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The item whose check box holds the client point; -1 for none.
    int CheckFromPoint(CPoint point) const;

protected:
    // Parallel data follows the items: one was inserted or deleted, or all went.
    virtual void OnItemInserted(int nIndex);
    virtual void OnItemDeleted(int nIndex);
    virtual void OnItemsReset();
    // FALSE (after a beep) for a disabled item; else the check flips and the parent hears.
    BOOL ToggleCheck(int nIndex);
    CRect CheckBoxRect(const CRect& rectItem) const;

    afx_msg LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInsertString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    std::vector<int> m_checks;

    DECLARE_MESSAGE_MAP()
};
