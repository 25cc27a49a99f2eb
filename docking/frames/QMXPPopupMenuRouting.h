#pragma once
// While a library popup menu is open, a frame hands it the keys and decides
// what a click elsewhere does: a click outside the chain of open menus
// closes them, a click on the button that opened the menu closes it, and
// mouse moves outside the menus are swallowed.
#include <windows.h>

class CFrameWnd;

// TRUE: the message was for the open popup menu (or swallowed for it).
BOOL QMXPRoutePopupMenuInput(CFrameWnd* pFrame, MSG* pMsg);
