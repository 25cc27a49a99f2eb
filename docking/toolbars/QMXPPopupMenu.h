#pragma once
// CQMXPPopupMenu: a popup menu of the docking library. Made with new; it
// deletes itself when it closes, and the chosen command goes to its owner.
// This stand-in shows the system's popup menu.
#include "platform/classlib/Wnd.h"

class CQMXPPopupMenu {
public:
    CQMXPPopupMenu();
    virtual ~CQMXPPopupMenu();
    CQMXPPopupMenu(const CQMXPPopupMenu&) = delete;
    CQMXPPopupMenu& operator=(const CQMXPPopupMenu&) = delete;

    // Shows hMenu at (x, y) in screen coordinates for pWndParent; FALSE (and
    // the object deleted) when it cannot be shown.
    virtual BOOL Create(CWnd* pWndParent, int x, int y, HMENU hMenu, BOOL bLocked = FALSE,
                        BOOL bOwnMessage = FALSE);
};
