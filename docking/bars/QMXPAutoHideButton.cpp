#include "docking/bars/QMXPAutoHideButton.h"

#include "docking/bars/QMXPAutoHideToolBar.h"
#include "docking/bars/QMXPDockingControlBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CQMXPAutoHideButton, CObject)

int CQMXPAutoHideButton::m_nBorderSize = 1;
int CQMXPAutoHideButton::m_nMarginSize = 2;
int CQMXPAutoHideButton::m_nTextMargin = 10;
int CQMXPAutoHideButton::m_nNoIconWidth = 20;

CQMXPAutoHideButton::CQMXPAutoHideButton()
    : m_rectButton(0, 0, 0, 0),
      m_bOnTop(FALSE),
      m_dwSide(0),
      m_bShown(FALSE),
      m_pStrip(nullptr),
      m_pPane(nullptr) {}

CQMXPAutoHideButton::~CQMXPAutoHideButton() = default;

BOOL CQMXPAutoHideButton::Create(CQMXPAutoHideToolBar* pStrip, CQMXPDockingControlBar* pPane, DWORD dwSide) {
    m_pStrip = pStrip;
    m_pPane = pPane;
    m_dwSide = dwSide & 0xF000;
    m_bShown = TRUE;
    pPane->SetAutoHideParents(pStrip, this);
    const CSize size = CalcButtonSize();
    m_rectButton.SetRect(0, 0, size.cx, size.cy);
    return TRUE;
}

CSize CQMXPAutoHideButton::CalcButtonSize() const {
    CSize size(2 * m_nBorderSize + m_nMarginSize, 2 * m_nBorderSize + m_nMarginSize);
    if (m_pPane == nullptr || m_pPane->GetSafeHwnd() == nullptr)
        return size;
    const BOOL bHorz = IsHorizontal();
    // The title along the strip, and its thickness across it.
    CString strText;
    m_pPane->GetWindowText(strText);
    int nAlong = 0;
    int nAcross = 0;
    if (!strText.IsEmpty()) {
        CWindowDC dc(nullptr);
        CFont* pOldFont = dc.SelectObject(bHorz ? &globalData.fontRegular : &globalData.fontVert);
        const CSize sizeText = dc.GetTextExtent(strText);
        dc.SelectObject(pOldFont);
        nAlong = sizeText.cx;
        nAcross = sizeText.cy;
    }
    if (m_pStrip != nullptr && !m_pStrip->IsActiveInGroup())
        nAlong = 0;
    CSize sizeIcon(0, 0);
    int nGap = m_nMarginSize + m_nNoIconWidth;
    if (m_pPane->GetIcon(FALSE) != nullptr) {
        sizeIcon = globalData.GetSmallIconSize();
        nGap = nAlong > 0 ? m_nTextMargin + (bHorz ? sizeIcon.cx : sizeIcon.cy) : m_nMarginSize + 1;
    }
    if (bHorz) {
        size.cx += nAlong + nGap + sizeIcon.cx;
        size.cy += std::max(static_cast<int>(sizeIcon.cy), nAcross);
    } else {
        size.cx += std::max(static_cast<int>(sizeIcon.cx), nAcross);
        size.cy += sizeIcon.cy + nAlong + nGap;
    }
    return size;
}

void CQMXPAutoHideButton::Draw(CDC* pDC) {
    const CSize size = CalcButtonSize();
    m_rectButton.SetRect(0, 0, size.cx, size.cy);
    CRect rect = m_rectButton;
    FillBackground(pDC, rect);
    // The side that faces the frame edge has no line.
    CRect rectBorder(m_nBorderSize, 0, m_nBorderSize, m_nBorderSize);
    switch (m_dwSide) {
    case 0x1000:
        qmxGlobalUtils.FlipRect(rectBorder, -90);
        break;
    case 0x4000:
        qmxGlobalUtils.FlipRect(rectBorder, 90);
        break;
    case 0x8000:
        qmxGlobalUtils.FlipRect(rectBorder, 180);
        break;
    default:
        break;
    }
    DrawBorder(pDC, rect, rectBorder);

    CRect rectInside = rect;
    rectInside.DeflateRect(m_nBorderSize + m_nMarginSize, m_nBorderSize + m_nMarginSize);
    const BOOL bHorz = IsHorizontal();
    const HICON hIcon = m_pPane != nullptr ? m_pPane->GetIcon(FALSE) : nullptr;
    const CSize sizeIcon = globalData.GetSmallIconSize();
    if (hIcon != nullptr) {
        const CPoint ptIcon = bHorz ? CPoint(rectInside.left, rectInside.top + (rectInside.Height() - sizeIcon.cy) / 2)
                                    : CPoint(rectInside.left + (rectInside.Width() - sizeIcon.cx) / 2, rectInside.top);
        ::DrawIconEx(pDC->GetSafeHdc(), ptIcon.x, ptIcon.y, hIcon, sizeIcon.cx, sizeIcon.cy, 0, nullptr, DI_NORMAL);
        if (bHorz)
            rectInside.left += sizeIcon.cx + m_nTextMargin;
        else
            rectInside.top += sizeIcon.cy + m_nTextMargin;
    } else if (bHorz) {
        rectInside.left += m_nMarginSize;
    } else {
        rectInside.top += m_nMarginSize;
    }
    CString strText;
    if (m_pPane != nullptr)
        m_pPane->GetWindowText(strText);
    if (strText.IsEmpty() || m_pStrip == nullptr || !m_pStrip->IsActiveInGroup())
        return;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(globalData.clrBtnText);
    CFont* pOldFont = pDC->SelectObject(bHorz ? &globalData.fontRegular : &globalData.fontVert);
    if (bHorz) {
        pDC->DrawText(strText, &rectInside, DT_SINGLELINE | DT_VCENTER);
    } else {
        // The vertical font runs down the strip from the top; centred across it. The
        // rectangle is one line high, so that centring moves nothing along the strip.
        TEXTMETRICW tm{};
        pDC->GetTextMetrics(&tm);
        CRect rectText(rectInside.right - (rectInside.Width() - tm.tmHeight) / 2, rectInside.top,
                       rectInside.right + rectInside.Height(), rectInside.top + tm.tmHeight);
        pDC->DrawText(strText, &rectText, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    }
    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
}

void CQMXPAutoHideButton::FillBackground(CDC* pDC, CRect rect) { pDC->FillRect(&rect, &globalData.brBtnFace); }

void CQMXPAutoHideButton::DrawBorder(CDC* pDC, CRect rect, CRect rectBorderSize) {
    CBrush brShadow(globalData.clrBtnShadow);
    const CRect sides[] = {
        CRect(rect.left, rect.top, rect.left + rectBorderSize.left, rect.bottom),
        CRect(rect.left, rect.top, rect.right, rect.top + rectBorderSize.top),
        CRect(rect.right - rectBorderSize.right, rect.top, rect.right, rect.bottom),
        CRect(rect.left, rect.bottom - rectBorderSize.bottom, rect.right, rect.bottom),
    };
    for (const CRect& side : sides) {
        if (!side.IsRectEmpty())
            pDC->FillRect(&side, &brShadow);
    }
}

void CQMXPAutoHideButton::SetGroupLeader(CQMXPDockingControlBar* pLeader) {
    if (m_pPane != nullptr)
        m_pPane->UnSetAutoHideMode(pLeader);
}

void CQMXPAutoHideButton::SlidePane(BOOL bShow) {
    if (m_pPane == nullptr || m_pStrip == nullptr)
        return;
    const BOOL bOut = (m_pPane->GetStyle() & WS_VISIBLE) != 0 && m_pPane->IsSlidingOutOrShown();
    if (bOut != bShow)
        m_pPane->Slide(bShow, TRUE);
    m_pStrip->SetActiveInGroup(bShow);
}
