#pragma once
// CQMXPControlBarImpl: the non-client part of a tool bar: the border lines
// and the gripper around its buttons, sized for WM_NCCALCSIZE and painted
// for WM_NCPAINT through the visual manager.
#include "platform/classlib/Rect.h"

class CDC;
class CQMXPToolBar;

class CQMXPControlBarImpl {
public:
    explicit CQMXPControlBarImpl(CQMXPToolBar* pBar) : m_pBar(pBar) {}
    virtual ~CQMXPControlBarImpl() = default;
    CQMXPControlBarImpl(const CQMXPControlBarImpl&) = delete;
    CQMXPControlBarImpl& operator=(const CQMXPControlBarImpl&) = delete;

    // What the parent shows under the bar.
    void DrawBackground(CDC* pDC);
    // The rectangle less the bar's borders and gripper for its orientation.
    void CalcNcSize(CRect& rect) const;
    // The window rectangle, its far edge cut to the client's extent less
    // one pixel, in window (or screen) coordinates.
    void GetNcRect(CRect& rect, BOOL bScreen) const;
    // Border, background and (docked) gripper, in the window's DC outside the client.
    void DrawNcArea(WPARAM wParamRegion = 1);

private:
    CQMXPToolBar* m_pBar;
};
