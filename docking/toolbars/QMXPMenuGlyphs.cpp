#include "docking/toolbars/QMXPMenuGlyphs.h"

#include "docking/toolbars/QMXPToolBarImages.h"
#include "platform/classlib/DC.h"

namespace {

constexpr UINT kIdbMenuGlyphs = 16129;
constexpr COLORREF kGlyphTransparent = RGB(255, 0, 255);
constexpr COLORREF kSetColors[] = {RGB(0, 0, 0), RGB(0x80, 0x80, 0x80), RGB(0xC0, 0xC0, 0xC0), RGB(0xFF, 0xFF, 0xFF)};

}  // namespace

BOOL CQMXPMenuGlyphs::Load() {
    CQMXPToolBarImages& normal = s_images[ImageBlack];
    if (normal.GetCount() > 0)
        return TRUE;
    normal.SetImageSize(CSize(9, 9));
    if (!normal.Load(kIdbMenuGlyphs))
        return FALSE;
    normal.SetTransparentColor(kGlyphTransparent);
    for (int nSet = ImageGray; nSet <= ImageWhite; ++nSet) {
        normal.CopyTo(s_images[nSet]);
        s_images[nSet].MapTo3dColors(FALSE, kSetColors[ImageBlack], kSetColors[nSet]);
    }
    for (CQMXPToolBarImages& images : s_images)
        images.MapTo3dColors(FALSE);
    return TRUE;
}

BOOL CQMXPMenuGlyphs::Draw(CDC* pDC, int iGlyph, CPoint ptImage, int nStyle, CSize sizeImage) {
    if (!Load())
        return FALSE;
    CQMXPToolBarImages& images = s_images[nStyle >= ImageBlack && nStyle <= ImageLtGray ? nStyle : ImageWhite];
    CQMXPDrawState ds;
    if (!images.BeginDraw(ds, sizeImage.cx, sizeImage.cy))
        return FALSE;
    BOOL bDrawn = images.DrawImage(pDC, ptImage.x, ptImage.y, iGlyph);
    images.FinishDraw(ds);
    return bDrawn;
}

BOOL CQMXPMenuGlyphs::DrawCentered(CDC* pDC, int iGlyph, const CRect& rect, int nStyle, CSize sizeImage) {
    const CSize size = sizeImage.cx > 0 ? sizeImage : GetSize();
    const CPoint ptImage(rect.left + (rect.Width() - size.cx) / 2, rect.top + (rect.Height() - size.cy) / 2);
    return Draw(pDC, iGlyph, ptImage, nStyle, sizeImage);
}

void CQMXPMenuGlyphs::CleanUp() {
    if (s_images[ImageBlack].GetCount() == 0)
        return;
    for (CQMXPToolBarImages& images : s_images)
        images.Clear();
}

void CQMXPMenuGlyphs::RefreshColors() {
    if (s_images[ImageBlack].GetCount() == 0)
        return;
    CleanUp();
    Load();
}

CSize CQMXPMenuGlyphs::GetSize() {
    Load();
    return s_images[ImageBlack].GetImageSize();
}
