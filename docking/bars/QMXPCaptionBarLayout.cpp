// Where the caption bar's image, button and text go: aligned elements are
// placed from the sides inwards in the order image, button, text; centred
// ones side by side around the middle; the text is then cut where it would
// run under the others.
#include "docking/bars/QMXPCaptionBar.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"

#include <algorithm>
#include <utility>

namespace {

using Align = CQMXPCaptionBar::BarElementAlignment;

// Cuts rect where it overlaps other (grown by the spacing). The side cut is
// the one the alignments give: an element aligned toward the other keeps
// its edge. Among elements of one alignment the earlier one stands nearer
// its side (the right side for right alignment).
void CutAgainst(CRect& rect, Align align, CRect other, Align otherAlign, int nSpacing) {
    if (other.IsRectEmpty() || rect.IsRectEmpty())
        return;
    other.InflateRect(nSpacing, nSpacing);
    CRect rectOverlap;
    if (!rectOverlap.IntersectRect(&rect, &other))
        return;
    BOOL bOtherOnLeft = FALSE;
    if (align == otherAlign)
        bOtherOnLeft = align != CQMXPCaptionBar::ALIGN_RIGHT;
    else if (align == CQMXPCaptionBar::ALIGN_LEFT)
        bOtherOnLeft = FALSE;
    else if (align == CQMXPCaptionBar::ALIGN_RIGHT)
        bOtherOnLeft = TRUE;
    else
        bOtherOnLeft = otherAlign == CQMXPCaptionBar::ALIGN_LEFT;
    if (bOtherOnLeft)
        rect.left = std::min<LONG>(std::max<LONG>(rect.left, other.right), rect.right);
    else
        rect.right = std::max<LONG>(std::min<LONG>(rect.right, other.left), rect.left);
}

// Keeps rect between the margins, moved with its width (or cut when wider).
void KeepInside(CRect& rect, int nLeft, int nRight, BOOL bMove) {
    if (bMove) {
        if (rect.right > nRight)
            rect.OffsetRect(nRight - rect.right, 0);
        if (rect.left < nLeft)
            rect.OffsetRect(nLeft - rect.left, 0);
    }
    rect.left = std::max<LONG>(rect.left, nLeft);
    rect.right = std::min<LONG>(rect.right, nRight);
}

}  // namespace

CSize CQMXPCaptionBar::ImageSize() const {
    if (m_Bitmap.GetCount() > 0)
        return m_Bitmap.GetImageSize();
    if (m_hIcon == nullptr)
        return CSize(0, 0);
    ICONINFO info = {};
    if (!::GetIconInfo(m_hIcon, &info))
        return CSize(0, 0);
    BITMAP bmp = {};
    CSize size(0, 0);
    if (info.hbmColor != nullptr && ::GetObjectW(info.hbmColor, sizeof(bmp), &bmp))
        size = CSize(bmp.bmWidth, bmp.bmHeight);
    else if (info.hbmMask != nullptr && ::GetObjectW(info.hbmMask, sizeof(bmp), &bmp))
        size = CSize(bmp.bmWidth, bmp.bmHeight / 2);  // a monochrome icon: mask and image one above the other
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return size;
}

void CQMXPCaptionBar::AdjustLayout() {
    CWindowDC dc(nullptr);
    HGDIOBJ hOldFont =
        ::SelectObject(dc.GetSafeHdc(), m_hFont != nullptr ? m_hFont : globalData.fontRegular.GetSafeHandle());
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
    const int nTextHeight = tm.tmHeight + 2;
    const CSize sizeImage = ImageSize();
    m_nCurrentHeight = m_nDefaultHeight != -1
                           ? m_nDefaultHeight
                           : m_nBorderSize + 2 * m_nMargin + std::max<int>(nTextHeight, sizeImage.cy);

    CRect rectClient(0, 0, 0, 0);
    if (GetSafeHwnd() != nullptr)
        GetClientRect(&rectClient);
    if (rectClient.IsRectEmpty()) {
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
        return;
    }

    const int nSpacing = m_nHorzElementOffset;
    int nLeft = rectClient.left + m_nMargin;
    int nRight = rectClient.right - m_nMargin;
    const int yCentre = rectClient.Height() / 2;
    BOOL bLeftTaken = FALSE;
    BOOL bRightTaken = FALSE;
    int nCentredWidth = 0;
    int nCentred = 0;
    auto placeAligned = [&](CRect& rect, Align align, int nWidth, BOOL bEdgeWhenAlone) {
        if (align == ALIGN_LEFT) {
            rect.left = bEdgeWhenAlone && !bLeftTaken ? rectClient.left : nLeft;
            rect.right = rect.left + nWidth;
            nLeft = rect.right + nSpacing;
            bLeftTaken = TRUE;
        } else if (align == ALIGN_RIGHT) {
            rect.right = bEdgeWhenAlone && !bRightTaken ? rectClient.right : nRight;
            rect.left = rect.right - nWidth;
            nRight = rect.left - nSpacing;
            bRightTaken = TRUE;
        } else {
            rect.left = 0;
            rect.right = nWidth;
            nCentredWidth += nWidth;
            ++nCentred;
        }
    };

    m_rectImage.SetRectEmpty();
    if (m_hIcon != nullptr || m_Bitmap.GetCount() > 0) {
        m_rectImage.top = sizeImage.cy >= rectClient.Height() ? rectClient.top + m_nMargin : yCentre - sizeImage.cy / 2;
        m_rectImage.bottom = m_bStretchImage ? rectClient.bottom - m_nMargin : m_rectImage.top + sizeImage.cy;
        placeAligned(m_rectImage, m_iconAlignment, sizeImage.cx, FALSE);
    }

    m_rectButton.SetRectEmpty();
    if (!m_strBtnText.IsEmpty()) {
        CSize sizeText(0, 0);
        ::GetTextExtentPoint32W(dc.GetSafeHdc(), m_strBtnText, m_strBtnText.GetLength(), &sizeText);
        int nWidth = sizeText.cx + 2 * nSpacing;
        if (HasActiveButton())
            nWidth += 10;
        m_rectButton.top = rectClient.top;
        m_rectButton.bottom = rectClient.bottom;
        placeAligned(m_rectButton, m_btnAlignnment, nWidth, TRUE);
    }

    m_rectText.SetRectEmpty();
    if (!m_strText.IsEmpty()) {
        CRect rectCalc(0, 0, rectClient.Width(), rectClient.Height());
        ::DrawTextW(dc.GetSafeHdc(), m_strText, m_strText.GetLength(), &rectCalc, DT_CALCRECT | DT_VCENTER);
        m_rectText.top = yCentre - rectCalc.Height() / 2;
        m_rectText.bottom = m_rectText.top + rectCalc.Height();
        placeAligned(m_rectText, m_textAlignment, rectCalc.Width(), FALSE);
    }

    if (nCentred > 0) {
        int x = rectClient.CenterPoint().x - (nCentredWidth + nSpacing * (nCentred - 1)) / 2;
        for (auto [pRect, align] : {std::pair<CRect*, Align>{&m_rectImage, m_iconAlignment},
                                    std::pair<CRect*, Align>{&m_rectButton, m_btnAlignnment},
                                    std::pair<CRect*, Align>{&m_rectText, m_textAlignment}}) {
            if (align != ALIGN_CENTER || pRect->IsRectEmpty())
                continue;
            const int nWidth = pRect->Width();
            pRect->left = x;
            pRect->right = x + nWidth;
            x += nWidth + nSpacing;
        }
    }

    const int nInnerLeft = rectClient.left + m_nMargin;
    const int nInnerRight = rectClient.right - m_nMargin;
    if (!m_rectText.IsRectEmpty())
        KeepInside(m_rectText, nInnerLeft, nInnerRight, FALSE);
    if (!m_rectImage.IsRectEmpty())
        KeepInside(m_rectImage, nInnerLeft, nInnerRight, !m_bStretchImage);

    m_rectDrawText = m_rectText;
    CutAgainst(m_rectDrawText, m_textAlignment, m_rectImage, m_iconAlignment, nSpacing);
    CRect rectButtonCut = m_rectButton;
    CutAgainst(rectButtonCut, m_btnAlignnment, m_rectImage, m_iconAlignment, nSpacing);
    if (!rectButtonCut.IsRectEmpty())
        KeepInside(rectButtonCut, nInnerLeft, nInnerRight, FALSE);
    CutAgainst(m_rectDrawText, m_textAlignment, rectButtonCut, m_btnAlignnment, nSpacing);

    ::SelectObject(dc.GetSafeHdc(), hOldFont);
}
