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

    // The opening animation of every popup: 0 none, 1 unfold, 2 slide, 3 fade
    // (the tool bars' option "MenuAnimation").
    static int animationType;
    // Popups draw a shadow (the tool bars' option "MenuShadows").
    static BOOL bMenuShadows;
};
