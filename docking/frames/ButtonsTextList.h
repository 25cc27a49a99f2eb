#pragma once
// CButtonsTextList: the owner-drawn list of commands (image and text) of
// the customisation sheet. Each item's data is a tool-bar button of the
// sheet's catalogue; pressing the selected item drags its button out, to be
// dropped on a tool bar or a menu.
#include "platform/classlib/ListBox.h"

class CQMXPToolbarButton;

class CButtonsTextList : public CListBox {
    DECLARE_DYNAMIC(CButtonsTextList)
public:
    CButtonsTextList();

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    CQMXPToolbarButton* GetButton(int nIndex) const;

protected:
    // A list of a dialog template was measured before it was ours.
    void PreSubclassWindow() override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

    int m_iItemWidth;
    int m_iItemHeight;

    DECLARE_MESSAGE_MAP()
};
