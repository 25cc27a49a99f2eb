#include "docking/frames/QMXPWindowPlace.h"

#include <algorithm>

namespace {

// The start of a span of the length inside [low, high), moved in from the high end first.
int Within(int start, int length, int low, int high)
{
    return std::max(low, std::min(start, high - length));
}

}  // namespace

CPoint QMXPCentredOver(const CSize& size, const CRect& area, const CRect& work)
{
    return CPoint(Within(area.left + (area.Width() - size.cx) / 2, size.cx, work.left, work.right),
                  Within(area.top + (area.Height() - size.cy) / 2, size.cy, work.top, work.bottom));
}

CPoint QMXPBeside(const CSize& size, const CRect& avoid, const CRect& work)
{
    const int top = Within(avoid.top, size.cy, work.top, work.bottom);
    const int left = Within(avoid.left, size.cx, work.left, work.right);
    if (avoid.right + size.cx <= work.right)
        return CPoint(avoid.right, top);
    if (avoid.left - size.cx >= work.left)
        return CPoint(avoid.left - size.cx, top);
    if (avoid.bottom + size.cy <= work.bottom)
        return CPoint(left, avoid.bottom);
    if (avoid.top - size.cy >= work.top)
        return CPoint(left, avoid.top - size.cy);
    return QMXPCentredOver(size, work, work);
}

namespace {

CRect WorkAreaOfMonitor(HMONITOR hMonitor)
{
    MONITORINFO monitor = {sizeof(MONITORINFO)};
    if (hMonitor != nullptr && ::GetMonitorInfoW(hMonitor, &monitor))
        return CRect(monitor.rcWork);
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return CRect(work);
}

}  // namespace

CRect QMXPWorkAreaOf(HWND hWnd)
{
    return WorkAreaOfMonitor(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST));
}

CRect QMXPWorkAreaAt(CPoint pt)
{
    return WorkAreaOfMonitor(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST));
}
