// CQMXPVisualManager: the tabs of tab windows and the buttons of tab
// strips in the classic look.
#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/bars/QMXPTabButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

namespace {

// Room left of a tab's image.
constexpr int kImageMargin = 4;

void Line(CDC* pDC, int x1, int y1, int x2, int y2) {
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

}  // namespace

void CQMXPVisualManager::OnDrawTab(CDC* pDC, CRect rectTab, int iTab, BOOL bIsActive,
                                   const CQMXPBaseTabWnd* pTabWnd) {
    CString strLabel;
    pTabWnd->GetTabLabel(iTab, strLabel);
    const COLORREF clrBack = pTabWnd->GetTabBkColor(iTab);
    const COLORREF clrText = pTabWnd->GetTabTextColor(iTab);
    const COLORREF clrOldText =
        !bIsActive && clrText != static_cast<COLORREF>(-1) ? pDC->SetTextColor(clrText) : pDC->GetTextColor();
    const BOOL bTop = pTabWnd->GetLocation() == QMXP_LOCATION_TOP;
    const UINT nPrefix = pTabWnd->IsDrawNoPrefix() ? DT_NOPREFIX : 0;

    if (pTabWnd->IsFlatTab()) {
        const int half = pTabWnd->GetTabsHeight() / 2;
        POINT pts[4];
        CRect rectText = rectTab;
        if (bTop) {
            pts[0] = {rectTab.left + half, rectTab.top + 1};
            pts[1] = {rectTab.left, rectTab.bottom};
            pts[2] = {rectTab.right, rectTab.bottom};
            pts[3] = {rectTab.right - half, rectTab.top + 1};
            rectText.left += 2;
            rectText.top += 1;
        } else {
            pts[0] = {rectTab.left, rectTab.top};
            pts[1] = {rectTab.left + half, rectTab.bottom - 1};
            pts[2] = {rectTab.right - half, rectTab.bottom - 1};
            pts[3] = {rectTab.right, rectTab.top};
            rectText.bottom -= 1;
        }
        CBrush brTab(clrBack);
        CBrush* pOldBrush = nullptr;
        if (!bIsActive)
            pOldBrush = pDC->SelectObject(clrBack != static_cast<COLORREF>(-1) ? &brTab : &globalData.brBtnFace);
        pDC->Polygon(pts, 4);
        if (pOldBrush != nullptr)
            pDC->SelectObject(pOldBrush);
        pDC->DrawText(strLabel, &rectText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | nPrefix);
        pDC->SetTextColor(clrOldText);
        return;
    }

    if (!bIsActive) {
        if (bTop)
            rectTab.top += 2;
        else
            rectTab.bottom -= 2;
        if (clrBack != static_cast<COLORREF>(-1)) {
            CRect rectFill = rectTab;
            rectFill.DeflateRect(1, 1);
            CBrush brTab(clrBack);
            pDC->FillRect(&rectFill, &brTab);
        }
    }
    CPen penHilite(PS_SOLID, 1, globalData.clrBtnHilite);
    CPen penShadow(PS_SOLID, 1, globalData.clrBtnShadow);
    CPen* pOldPen = pDC->SelectObject(CPen::FromHandle(static_cast<HPEN>(::GetStockObject(BLACK_PEN))));
    const int l = rectTab.left;
    const int t = rectTab.top;
    const int r = rectTab.right;
    const int b = rectTab.bottom;
    if (bTop) {
        pDC->MoveTo(r, b);
        pDC->LineTo(r, t + 2);
        pDC->LineTo(r - 2, t);
        pDC->SelectObject(&penHilite);
        pDC->LineTo(l + 2, t);
        pDC->LineTo(l, t + 2);
        pDC->LineTo(l, b);
        pDC->SelectObject(&penShadow);
        Line(pDC, r - 1, bIsActive ? b : b - 1, r - 1, t + 1);
    } else {
        pDC->SelectObject(&penHilite);
        Line(pDC, l, t, l, b - 2);
        pDC->SelectObject(CPen::FromHandle(static_cast<HPEN>(::GetStockObject(BLACK_PEN))));
        pDC->LineTo(l + 2, b);
        pDC->LineTo(r - 2, b);
        pDC->LineTo(r, b - 2);
        pDC->LineTo(r, t - 1);
        pDC->SelectObject(&penShadow);
        pDC->MoveTo(l + 3, b - 1);
        pDC->LineTo(r - 2, b - 1);
        pDC->LineTo(r - 1, b - 2);
        pDC->LineTo(r - 1, t - 1);
    }
    pDC->SelectObject(pOldPen);
    if (bIsActive) {
        // The band that joins the active tab to its page.
        CRect rectBand(l + 1, bTop ? b : t - 3, r, bTop ? b + 3 : t);
        pDC->FillRect(&rectBand, &globalData.brBtnFace);
    }

    int xText = rectTab.left + 8;
    const CSize sizeImage = pTabWnd->GetImageSize();
    const HICON hIcon = pTabWnd->GetTabHicon(iTab);
    const UINT uiIcon = pTabWnd->GetTabIcon(iTab);
    if ((hIcon != nullptr || uiIcon != static_cast<UINT>(-1)) && rectTab.Width() >= sizeImage.cx + kImageMargin) {
        const int y = rectTab.top + (rectTab.Height() - sizeImage.cy) / 2;
        CImageList* pImages = pTabWnd->GetImageList();
        if (hIcon != nullptr) {
            ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, rectTab.left + 4, y,
                         sizeImage.cx, sizeImage.cy, DST_ICON);
        } else if (pImages != nullptr) {
            pImages->Draw(pDC, static_cast<int>(uiIcon), CPoint(rectTab.left + kImageMargin, y), ILD_TRANSPARENT);
        }
        xText += sizeImage.cx;
    }
    CRect rectText(xText, rectTab.top, rectTab.right, rectTab.bottom);
    pDC->DrawText(strLabel, &rectText, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | nPrefix);
    pDC->SetTextColor(clrOldText);
}

void CQMXPVisualManager::OnDrawTabButtonBorder(CDC* pDC, CRect& rect, CQMXTabButton* pButton, int nState,
                                               const CQMXPBaseTabWnd*) {
    const BOOL bPressed = (pButton != nullptr && pButton->IsPressed()) || (nState & ODS_SELECTED);
    if (bPressed) {
        pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
        rect.OffsetRect(2, 2);
    } else {
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnDkShadow);
    }
    rect.DeflateRect(2, 2);
}
