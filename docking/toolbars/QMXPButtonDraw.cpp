// How the library's owner-drawn button draws itself: background, border,
// image or glyph, text and focus, and its image lists.
#include "docking/toolbars/QMXPButton.h"

#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "docking/toolbars/QMXPWinXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

namespace {

constexpr int kImageGap = 5;
constexpr int kContentMargin = 10;
constexpr COLORREF kLightGrey = RGB(192, 192, 192);

// The colour depth flag of an image list for the bitmap.
UINT ImageListColorFlags(HBITMAP hBitmap) {
    BITMAP bmp{};
    ::GetObjectW(hBitmap, sizeof(bmp), &bmp);
    switch (bmp.bmBitsPixel) {
    case 8:
        return ILC_COLOR8;
    case 16:
        return ILC_COLOR16;
    case 24:
        return ILC_COLOR24;
    case 32:
        return ILC_COLOR32;
    default:
        return ILC_COLOR4;
    }
}

}  // namespace

CFont* CQMXPButton::SelectFont(CDC* pDC) {
    HGDIOBJ hFont = m_hFont != nullptr ? static_cast<HGDIOBJ>(m_hFont) : ::GetStockObject(DEFAULT_GUI_FONT);
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(pDC->m_hDC, hFont)));
}

void CQMXPButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rect = lpDrawItemStruct->rcItem;
    OnFillBackground(pDC, rect);
    OnDrawBorder(pDC, rect, lpDrawItemStruct->itemState);
    OnDraw(pDC, rect, lpDrawItemStruct->itemState);
    if ((lpDrawItemStruct->itemState & ODS_FOCUS) && m_bDrawFocus)
        OnDrawFocusRect(pDC, rect);
}

void CQMXPButton::OnFillBackground(CDC* pDC, const CRect& rectClient) {
    if (m_bTransparent)
        globalData.PaintParentBackground(this, pDC, &rectClient);
    else if (m_clrFace == static_cast<COLORREF>(-1))
        pDC->FillRect(&rectClient, &globalData.brBtnFace);
    else
        pDC->FillSolidRect(&rectClient, m_clrFace);
    if (m_bChecked && m_bHighlightChecked && !(m_bPushed && m_bHighlighted))
        CQMXPDrawManager(*pDC).HighlightRect(rectClient, -1);
}

void CQMXPButton::OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) {
    if (m_nFlatStyle == BUTTONSTYLE_NOBORDERS) {
        rectClient.DeflateRect(2, 2);
        return;
    }
    // The themed look draws a raised button through the system's theme.
    auto* pThemed = DYNAMIC_DOWNCAST(CQMXPWinXPVisualManager, CQMXPVisualManager::GetInstance());
    if (m_nFlatStyle == BUTTONSTYLE_3D && pThemed != nullptr &&
        pThemed->DrawPushButtonWinXP(pDC, rectClient, this, uiState)) {
        rectClient.DeflateRect(2, 2);
        return;
    }
    const BOOL bPressed = (m_bPushed && m_bHighlighted) || (uiState & ODS_SELECTED) || m_bChecked;
    if (!bPressed) {
        if (m_nFlatStyle == BUTTONSTYLE_FLAT && !m_bHover) {
            rectClient.DeflateRect(2, 2);
            return;
        }
        pDC->Draw3dRect(&rectClient, globalData.clrBtnHilite, globalData.clrBtnDkShadow);
        rectClient.DeflateRect(1, 1);
        if (m_nFlatStyle == BUTTONSTYLE_3D || (m_nFlatStyle == BUTTONSTYLE_SEMIFLAT && m_bHover))
            pDC->Draw3dRect(&rectClient, globalData.clrBtnLight, globalData.clrBtnShadow);
        rectClient.DeflateRect(1, 1);
        return;
    }
    pDC->Draw3dRect(&rectClient, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
    rectClient.DeflateRect(1, 1);
    if (m_nFlatStyle != BUTTONSTYLE_FLAT)
        pDC->Draw3dRect(&rectClient, globalData.clrBtnShadow, globalData.clrBtnLight);
    rectClient.DeflateRect(1, 1);
    rectClient.left += m_sizePushOffset.cx;
    rectClient.top += m_sizePushOffset.cy;
}

void CQMXPButton::OnDrawFocusRect(CDC* pDC, const CRect& rectClient) {
    CRect rectFocus = rectClient;
    rectFocus.DeflateRect(1, 1);
    ::DrawFocusRect(pDC->m_hDC, &rectFocus);
}

void CQMXPButton::OnDrawText(CDC* pDC, const CRect& rect, const CString& strText, UINT uiDTFlags, UINT) {
    CRect rectText = rect;
    pDC->DrawText(strText, &rectText, uiDTFlags);
}

void CQMXPButton::OnDraw(CDC* pDC, const CRect& rect, UINT uiState) {
    CString strText;
    GetWindowText(strText);
    CRect rectText = rect;
    CRect rectImage = rect;
    const BOOL bImage = m_sizeImage.cx > 0;
    if (bImage && !strText.IsEmpty()) {
        if (m_bRightImage) {
            rectImage.left = rect.right - m_sizeImage.cx - kImageGap;
            rectImage.right = rect.right - kImageGap;
            rectText.right = rectImage.left;
        } else {
            rectImage.left = rect.left + kImageGap;
            rectImage.right = rectImage.left + m_sizeImage.cx;
            rectText.left = rectImage.right;
        }
    }
    if (bImage) {
        const int x = rectImage.left + (rectImage.Width() - m_sizeImage.cx) / 2;
        const int y = std::max<int>(rectImage.top, rectImage.top + (rectImage.Height() - m_sizeImage.cy) / 2);
        rectImage = CRect(CPoint(x, y), m_sizeImage);
    }

    CFont* pOldFont = SelectFont(pDC);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrText = m_clrRegular == static_cast<COLORREF>(-1) ? globalData.clrBtnText : m_clrRegular;
    if (m_bHover && m_clrHover != static_cast<COLORREF>(-1))
        clrText = m_clrHover;
    UINT uiFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    switch (m_nAlignStyle) {
    case ALIGN_LEFT:
        uiFlags |= DT_LEFT;
        rectText.left += kImageGap;
        break;
    case ALIGN_RIGHT:
        uiFlags |= DT_RIGHT;
        rectText.right -= kImageGap;
        break;
    default:
        uiFlags |= DT_CENTER;
        break;
    }
    const BOOL bDisabled = (uiState & ODS_DISABLED) != 0;
    if (bDisabled && m_bGrayDisabled) {
        pDC->SetTextColor(globalData.clrBtnHilite);
        CRect rectShade = rectText;
        rectShade.OffsetRect(1, 1);
        OnDrawText(pDC, rectShade, strText, uiFlags, uiState);
        clrText = globalData.clrGrayedText;
    }
    pDC->SetTextColor(clrText);
    if (m_bDelayFullTextTooltipSet && m_bAutoToolTip) {
        m_bDelayFullTextTooltipSet = FALSE;
        CRect rectMeasure = rectText;
        pDC->DrawText(strText, &rectMeasure, DT_SINGLELINE | DT_CALCRECT);
        SetTooltip(rectMeasure.Width() > rectText.Width() ? static_cast<LPCWSTR>(strText) : nullptr);
    }
    OnDrawText(pDC, rectText, strText, uiFlags, uiState);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);

    if (m_nStdImageId >= 0) {
        CQMXPMenuGlyphs::Draw(pDC, m_nStdImageId, rectImage.TopLeft(), m_nStdImageStyle);
        return;
    }
    if (!bImage)
        return;
    auto pick = [&](CImageList& normal, CImageList& hot, CImageList& disabled) -> CImageList* {
        if (bDisabled && m_bGrayDisabled && disabled.GetImageCount() > 0)
            return &disabled;
        if (m_bHover && hot.GetImageCount() > 0)
            return &hot;
        return &normal;
    };
    CImageList* pList = m_bChecked && m_ImageChecked.GetImageCount() > 0
                            ? pick(m_ImageChecked, m_ImageCheckedHot, m_ImageCheckedDisabled)
                            : pick(m_Image, m_ImageHot, m_ImageDisabled);
    pList->Draw(pDC, 0, rectImage.TopLeft(), ILD_NORMAL);
}

CSize CQMXPButton::SizeToContent(BOOL bCalcOnly) {
    CString strText;
    GetWindowText(strText);
    CClientDC dc(this);
    CFont* pOldFont = SelectFont(&dc);
    const CSize sizeText = strText.IsEmpty() ? CSize(0, 0) : dc.GetTextExtent(strText);
    dc.SelectObject(pOldFont);
    CSize size(m_sizeImage.cx + sizeText.cx + kContentMargin, std::max<int>(sizeText.cy, m_sizeImage.cy + kContentMargin));
    if (!strText.IsEmpty())
        size.cx += kContentMargin;
    if (!bCalcOnly)
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}

// --- Images --------------------------------------------------------------------------------------

void CQMXPButton::SetImage(HBITMAP hBitmap, BOOL bAutoDestroy, HBITMAP hBitmapHot, BOOL bMap3dColors, BOOL bChecked) {
    CImageList& normal = bChecked ? m_ImageChecked : m_Image;
    CImageList& hot = bChecked ? m_ImageCheckedHot : m_ImageHot;
    CImageList& disabled = bChecked ? m_ImageCheckedDisabled : m_ImageDisabled;
    m_sizeImage = CSize(0, 0);
    m_nStdImageId = -1;
    normal.DeleteImageList();
    hot.DeleteImageList();
    disabled.DeleteImageList();
    const COLORREF clrMask = bMap3dColors ? kLightGrey : globalData.clrBtnFace;
    auto add = [&](HBITMAP hbm, CImageList& list) {
        if (hbm == nullptr)
            return;
        BITMAP bmp{};
        ::GetObjectW(hbm, sizeof(bmp), &bmp);
        if (m_sizeImage.cx == 0)
            m_sizeImage = CSize(bmp.bmWidth, bmp.bmHeight);
        if (!list.Create(m_sizeImage.cx, m_sizeImage.cy, ImageListColorFlags(hbm) | ILC_MASK, 0, 0))
            return;
        // The list takes a copy: the mask pass changes the bitmap it gets.
        HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hbm, IMAGE_BITMAP, 0, 0, 0));
        list.Add(hCopy, clrMask);
        ::DeleteObject(hCopy);
    };
    add(hBitmap, normal);
    add(hBitmapHot, hot);
    if (hBitmap != nullptr)
        CreateDisabledImage(hBitmap, bChecked);
    if (bAutoDestroy) {
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        if (hBitmapHot != nullptr)
            ::DeleteObject(hBitmapHot);
    }
    Repaint();
}

void CQMXPButton::SetImage(UINT uiBmpResId, UINT uiBmpHotResId, BOOL bChecked) {
    auto load = [](UINT uiResId) -> HBITMAP {
        if (uiResId == 0)
            return nullptr;
        return static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiResId), IMAGE_BITMAP, 0, 0,
                                                 LR_CREATEDIBSECTION | LR_LOADMAP3DCOLORS));
    };
    SetImage(load(uiBmpResId), TRUE, load(uiBmpHotResId), TRUE, bChecked);
}

void CQMXPButton::SetGlyph(int iGlyph, int nGlyphStyle) {
    CleanUp();
    m_nStdImageId = iGlyph;
    m_nStdImageStyle = nGlyphStyle;
    m_sizeImage = CQMXPMenuGlyphs::GetSize();
}

void CQMXPButton::CreateDisabledImage(HBITMAP hBitmap, BOOL bChecked) {
    CImageList& disabled = bChecked ? m_ImageCheckedDisabled : m_ImageDisabled;
    HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0));
    if (hCopy == nullptr)
        return;
    CQMXPToolBarImages strip;
    strip.SetImageSize(m_sizeImage);
    if (strip.AddImage(hCopy) < 0) {
        ::DeleteObject(hCopy);
        return;
    }
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hDisabled = ::CreateCompatibleBitmap(hScreen, m_sizeImage.cx, m_sizeImage.cy);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hDisabled);
    CDC* pDC = CDC::FromHandle(hDC);
    CRect rect(CPoint(0, 0), m_sizeImage);
    pDC->FillRect(&rect, &globalData.brBtnFace);
    CQMXPDrawState ds;
    if (strip.BeginDraw(ds)) {
        strip.DrawImage(pDC, 0, 0, 0, FALSE, TRUE);
        strip.FinishDraw(ds);
    }
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    if (disabled.Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR24 | ILC_MASK, 0, 0))
        disabled.Add(hDisabled, globalData.clrBtnFace);
    ::DeleteObject(hDisabled);
    ::DeleteObject(hCopy);
}
