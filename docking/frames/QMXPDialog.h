#pragma once
// CQMXPDialog: the library's dialog base. It is told which library popup
// menu it opened (NULL when none), so that the context-menu manager can tell
// a library dialog from a plain window; the keyboard and mouse routing to
// that popup comes with the dialog support of the customisation sheet.
#include "platform/classlib/Dialog.h"

class CQMXPPopupMenu;

class CQMXPDialog : public CDialog {
    DECLARE_DYNAMIC(CQMXPDialog)
public:
    CQMXPDialog() = default;
    explicit CQMXPDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}

    void SetActiveMenu(CQMXPPopupMenu* pMenu) { m_pActivePopupMenu = pMenu; }
    CQMXPPopupMenu* GetActiveMenu() const { return m_pActivePopupMenu; }

protected:
    CQMXPPopupMenu* m_pActivePopupMenu = nullptr;
};
