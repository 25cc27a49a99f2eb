#include "docking/toolbars/QMXPControlBarImpl.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

#include <algorithm>

void CQMXPControlBarImpl::DrawBackground(CDC* pDC) { globalData.PaintParentBackground(m_pBar, pDC); }

void CQMXPControlBarImpl::CalcNcSize(CRect& rect) const { m_pBar->CalcInsideRect(rect, m_pBar->IsHorizontal()); }

void CQMXPControlBarImpl::GetNcRect(CRect& rect, BOOL bScreen) const {
    CRect rectClient;
    m_pBar->GetClientRect(&rectClient);
    m_pBar->GetWindowRect(&rect);
    if (m_pBar->GetCurrentAlignment() & 0xA000)
        rect.right = std::min<LONG>(rect.right, rect.left + rectClient.Width() - 1);
    else
        rect.bottom = std::min<LONG>(rect.bottom, rect.top + rectClient.Height() - 1);
    if (!bScreen)
        rect.OffsetRect(-rect.left, -rect.top);
}

void CQMXPControlBarImpl::DrawNcArea(WPARAM wParamRegion) {
    CWindowDC dc(m_pBar);
    CRect rectClient;
    m_pBar->GetClientRect(&rectClient);
    CRect rectWindow;
    m_pBar->GetWindowRect(&rectWindow);
    m_pBar->ScreenToClient(&rectWindow);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    dc.ExcludeClipRect(&rectClient);
    if (wParamRegion != 1 && wParamRegion != 0) {
        // The update region is in screen coordinates: into the window's.
        CRect rectScreen;
        m_pBar->GetWindowRect(&rectScreen);
        CRgn rgn;
        rgn.CreateRectRgn(0, 0, 0, 0);
        if (::CombineRgn(static_cast<HRGN>(rgn.m_hObject), reinterpret_cast<HRGN>(wParamRegion), nullptr, RGN_COPY) !=
            ERROR) {
            rgn.OffsetRgn(-rectScreen.left, -rectScreen.top);
            dc.SelectClipRgn(&rgn, RGN_AND);
        }
    }
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    CRect rectBorder = rectWindow;
    pManager->OnDrawBarBorder(&dc, m_pBar, rectBorder);
    pManager->OnFillBarBackground(&dc, m_pBar, rectBorder, CRect(0, 0, 0, 0), TRUE);

    const DWORD dwStyle = m_pBar->GetBarStyle();
    if ((dwStyle & QMXP_CBRS_GRIPPER) && !m_pBar->IsFloating()) {
        const BOOL bHorz = (m_pBar->GetCurrentAlignment() & 0xA000) != 0;
        CRect rectInside = rectWindow;
        m_pBar->CalcInsideRect(rectInside, bHorz);
        const CRect rectBorders = m_pBar->GetBorders();
        CRect rectGripper = rectBorder;
        if (bHorz) {
            rectGripper.left += rectBorders.left;
            rectGripper.right = rectInside.left;
            rectGripper.top = rectInside.top;
            rectGripper.bottom = rectInside.bottom;
        } else {
            rectGripper.top += rectBorders.left;
            rectGripper.bottom = rectInside.top;
            rectGripper.left = rectInside.left;
            rectGripper.right = rectInside.right;
        }
        pManager->OnDrawBarGripper(&dc, rectGripper, bHorz, m_pBar);
        // In client coordinates, where the move cursor shows.
        m_pBar->m_rectGripper = rectGripper;
        m_pBar->m_rectGripper.OffsetRect(-rectClient.left, -rectClient.top);
    }
    dc.SelectClipRgn(nullptr);
}
