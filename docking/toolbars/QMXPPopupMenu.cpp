#include "docking/toolbars/QMXPPopupMenu.h"

int CQMXPPopupMenu::animationType = 0;
BOOL CQMXPPopupMenu::bMenuShadows = TRUE;

CQMXPPopupMenu::CQMXPPopupMenu() = default;

CQMXPPopupMenu::~CQMXPPopupMenu() = default;

BOOL CQMXPPopupMenu::Create(CWnd* pWndParent, int x, int y, HMENU hMenu, BOOL, BOOL) {
    HWND hWndOwner = CWnd::SafeHwndOf(pWndParent);
    BOOL bShown = FALSE;
    if (hMenu != nullptr && hWndOwner != nullptr) {
        // The command is posted, so the owner handles it after the menu has gone.
        UINT nCmd = static_cast<UINT>(
            ::TrackPopupMenuEx(hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, hWndOwner, nullptr));
        bShown = TRUE;
        if (nCmd != 0)
            ::PostMessageW(hWndOwner, WM_COMMAND, nCmd, 0);
    }
    delete this;
    return bShown;
}
