#pragma once
// CQMXPToolbarEditCtrl: the edit of an edit-box button. It lights its button
// while the mouse is over it or it has the focus, and keeps the editing keys
// (Ctrl with A, C, V, X, Z, Insert, Delete; Tab; Esc) from the frame's
// accelerators.
#include "docking/toolbars/QMXPHotEdit.h"

class CQMXPToolbarEditBoxButton;

class CQMXPToolbarEditCtrl : public CQMXPHotEdit {
public:
    explicit CQMXPToolbarEditCtrl(CQMXPToolbarEditBoxButton& edit);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void SetButtonHot(BOOL bHot) override;

    CQMXPToolbarEditBoxButton& m_buttonEdit;
};
