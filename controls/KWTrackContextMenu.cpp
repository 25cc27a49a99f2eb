#include "controls/KWTrackContextMenu.h"

#include "platform/classlib/WinApp.h"

void KWTrackContextMenu(UINT menuId, int x, int y, HWND window)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
    if (!menu)
        return;
    HWND owner = window;
    while (owner && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    if (HMENU popup = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, owner ? owner : window, nullptr);
    ::DestroyMenu(menu);
}
