#pragma once
// KWTrackContextMenu: the first submenu of a menu resource as a context menu
// at a screen point; the chosen command goes to the first ancestor of the
// window that is not a child window (the window itself when it is none).
#include <windows.h>

void KWTrackContextMenu(UINT menuId, int x, int y, HWND window);
