#pragma once
// CQMXPEditListEdit: the in-place edit of an editable list's item. With the
// browse flag it keeps a 20-pixel button ("...") at its right in its
// non-client area; a click there calls the list's OnBrowse. Once sized by
// its list it is locked against the resizing the list view would do.
#include "platform/classlib/Edit.h"

class CQMXPEditListBase;

class CQMXPEditListEdit : public CEdit {
public:
    CQMXPEditListEdit();

    void SetListBox(CQMXPEditListBase* pParentList) { m_pParentList = pParentList; }
    void EnableBrowseButton(BOOL bBrowse) { m_bBrowseButton = bBrowse; }
    void LockSize(BOOL bLock = TRUE) { m_bLocked = bLock; }
    BOOL IsBrowseButtonPressed() const { return m_bIsButtonPressed; }

    static constexpr int kBrowseButtonWidth = 20;

protected:
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcPaint();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

    // The button's rectangle in screen coordinates.
    CRect ButtonRect() const;
    void DrawButton();

    BOOL m_bLocked;
    BOOL m_bBrowseButton;
    BOOL m_bIsButtonPressed;
    BOOL m_bIsButtonCaptured;
    CQMXPEditListBase* m_pParentList;
};
