#pragma once
// Where the library puts a window that opens over its frame: centred over an
// area, or beside a window it must not cover, and always inside the work
// area of the monitor that shows it.
#include "platform/classlib/Rect.h"

#include <windows.h>

// The top-left corner of a window of the size centred over the area, moved
// as little as needed to lie inside the work area.
CPoint QMXPCentredOver(const CSize& size, const CRect& area, const CRect& work);
// The top-left corner of a window of the size beside the rectangle it must
// not cover: at its right, else at its left, else below, else above it (the
// first side with room in the work area), aligned with its top or left edge;
// centred in the work area when no side has room.
CPoint QMXPBeside(const CSize& size, const CRect& avoid, const CRect& work);
// The work area of the monitor nearest to the window; the primary monitor's
// when none can be asked.
CRect QMXPWorkAreaOf(HWND hWnd);
// The same for the monitor nearest to the point.
CRect QMXPWorkAreaAt(CPoint pt);
