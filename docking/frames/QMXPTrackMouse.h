#pragma once
// QMXPTrackMouse: WM_MOUSELEAVE for a window once the cursor has left its
// client area, found by a 100 ms timer instead of the system's tracking.
#include <windows.h>

// The timer id of the tracking on the tracked window; private, so that it
// never meets a timer the window sets itself (the popup menu bar's close
// timer has the id of the leave flag).
constexpr UINT_PTR QMXP_TRACK_MOUSE_TIMER = 0xE000;

// Starts (or restarts) the tracking; FALSE when the request is refused: a
// structure shorter than 16 bytes, no such window, or no TME_LEAVE.
BOOL QMXPTrackMouse(LPTRACKMOUSEEVENT lpEventTrack);
