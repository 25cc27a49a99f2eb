#pragma once
// CQMXPComboEdit: the edit control laid over an editable combo-box button.
// It lights the button while the mouse is over it or it has the focus, and
// takes the keys a combo box would: Enter sends the button's command, Esc
// gives the focus back to the frame, the arrows open the list.
#include "docking/toolbars/QMXPHotEdit.h"

class CQMXPToolbarComboBoxButton;

class CQMXPComboEdit : public CQMXPHotEdit {
public:
    explicit CQMXPComboEdit(CQMXPToolbarComboBoxButton& combo);
    ~CQMXPComboEdit() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void SetButtonHot(BOOL bHot) override;
    // The focus messages also tell the button (CBN_SETFOCUS, CBN_KILLFOCUS).
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    // The key of a WM_KEYDOWN without Alt or Ctrl; TRUE when it was taken.
    BOOL ProcessKey(UINT nChar);

    CQMXPToolbarComboBoxButton& m_combo;

    DECLARE_MESSAGE_MAP()
};
