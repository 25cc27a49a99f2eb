#pragma once
// CButtonsList: an owner-drawn button that shows tool-bar buttons (the user
// images of the button appearance dialog) in a grid that scrolls by rows.
// One button is selected at a time; every change of the selection is sent
// to the parent as BN_CLICKED.
#include "platform/classlib/Button.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/ScrollBar.h"

class CQMXPToolbarButton;
class CQMXPToolBarImages;

class CButtonsList : public CButton {
public:
    CButtonsList();
    ~CButtonsList() override;

    // The strip the buttons draw from; the list is emptied.
    void SetImages(CQMXPToolBarImages* pImages);
    // The list does not own the button.
    void AddButton(CQMXPToolbarButton* pButton);
    void RemoveButtons();
    void SelectButton(CQMXPToolbarButton* pButton);
    // The first button showing the image; -1 selects none. FALSE when none shows it.
    BOOL SelectButton(int iImage);
    CQMXPToolbarButton* GetSelectedButton() const { return m_pSelButton; }
    // A click then drags the chosen button out of the list (off by default).
    void EnableDragFromList(BOOL bEnable) { m_bEnableDragFromList = bEnable; }
    int GetCount() const { return static_cast<int>(m_Buttons.GetCount()); }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    void RebuildLocations();
    void EnsureVisible(CQMXPToolbarButton* pButton);
    CQMXPToolbarButton* HitTest(CPoint point) const;
    // The selected button's place in the list; -1 when none.
    int SelectedIndex() const;
    CQMXPToolbarButton* ButtonAt(int iIndex) const;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

    CObList m_Buttons;
    CQMXPToolBarImages* m_pImages;
    CSize m_sizeButton;
    BOOL m_bInited;
    BOOL m_bIsFocused;
    CQMXPToolbarButton* m_pSelButton;
    int m_iScrollOffset;
    int m_iScrollTotal;
    int m_iScrollPage;
    CScrollBar m_wndScrollBar;
    BOOL m_bEnableDragFromList;
};
