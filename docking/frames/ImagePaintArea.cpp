#include "docking/frames/ImagePaintArea.h"

#include "docking/frames/QMXPImageEditDlg.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "platform/classlib/DC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CImagePaintArea, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

HCURSOR LoadEditCursor(UINT nID) {
    HCURSOR hCursor = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nID));
    return hCursor != nullptr ? hCursor : ::LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace

CImagePaintArea::CImagePaintArea(CQMXPImageEditDlg* pParentDlg)
    : m_rgbColor(RGB(0, 0, 0)),
      m_sizeImage(0, 0),
      m_pBitmap(nullptr),
      m_Mode(IMAGE_EDIT_MODE_PEN),
      m_hcurPen(LoadEditCursor(16144)),
      m_hcurFill(LoadEditCursor(16142)),
      m_hcurLine(LoadEditCursor(16143)),
      m_hcurRect(LoadEditCursor(16140)),
      m_hcurEllipse(LoadEditCursor(16141)),
      m_hcurColor(LoadEditCursor(16145)),
      m_sizeCell(1, 1),
      m_pParentDlg(pParentDlg),
      m_ptBegin(-1, -1),
      m_ptEnd(-1, -1) {
    m_memDC.CreateCompatibleDC(nullptr);
    m_penDraw.CreatePen(PS_SOLID, 1, m_rgbColor);
}

CImagePaintArea::~CImagePaintArea() = default;

void CImagePaintArea::SetBitmap(CBitmap* pBitmap) {
    m_pBitmap = pBitmap;
    m_sizeImage = CSize(0, 0);
    if (pBitmap != nullptr && pBitmap->m_hObject != nullptr) {
        BITMAP bmp{};
        pBitmap->GetBitmap(&bmp);
        m_sizeImage = CSize(bmp.bmWidth, bmp.bmHeight);
    }
    CRect rectClient(0, 0, 0, 0);
    if (GetSafeHwnd() != nullptr)
        GetClientRect(&rectClient);
    // An image larger than the area still gets cells of one pixel.
    m_sizeCell.cx = m_sizeImage.cx > 0 ? std::max(1, static_cast<int>((rectClient.Width() - 2) / m_sizeImage.cx)) : 1;
    m_sizeCell.cy = m_sizeImage.cy > 0 ? std::max(1, static_cast<int>((rectClient.Height() - 2) / m_sizeImage.cy)) : 1;
    m_penStretch.DeleteObject();
    m_penStretch.CreatePen(PS_SOLID, std::min(m_sizeCell.cx, m_sizeCell.cy), globalData.clrBtnText);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void CImagePaintArea::SetColor(COLORREF color) {
    m_rgbColor = color;
    m_penDraw.DeleteObject();
    m_penDraw.CreatePen(PS_SOLID, 1, color);
}

CPoint CImagePaintArea::ScreenToBitmap(CPoint point) const {
    const int x = (point.x - 1) / std::max<LONG>(m_sizeCell.cx, 1);
    const int y = (point.y - 1) / std::max<LONG>(m_sizeCell.cy, 1);
    return CPoint(std::min(std::max(x, 0), static_cast<int>(m_sizeImage.cx) - 1),
                  std::min(std::max(y, 0), static_cast<int>(m_sizeImage.cy) - 1));
}

CPoint CImagePaintArea::CellCentre(CPoint ptPixel) const {
    return CPoint(1 + ptPixel.x * m_sizeCell.cx + m_sizeCell.cx / 2, 1 + ptPixel.y * m_sizeCell.cy + m_sizeCell.cy / 2);
}

void CImagePaintArea::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rectClient = lpDrawItemStruct->rcItem;
    pDC->FillRect(&rectClient, &globalData.brBtnFace);
    if (m_pBitmap == nullptr || m_sizeImage.cx <= 0 || m_sizeImage.cy <= 0)
        return;
    CRect rectGrid(0, 0, m_sizeImage.cx * m_sizeCell.cx + 2, m_sizeImage.cy * m_sizeCell.cy + 2);
    pDC->Draw3dRect(&rectGrid, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
    CPen penGrid(PS_SOLID, 1, globalData.clrBtnShadow);
    CPen* pOldPen = pDC->SelectObject(&penGrid);
    for (int x = 1; x < rectGrid.right - 1; x += m_sizeCell.cx) {
        pDC->MoveTo(x, 1);
        pDC->LineTo(x, rectGrid.bottom - 1);
    }
    for (int y = 1; y < rectGrid.bottom - 1; y += m_sizeCell.cy) {
        pDC->MoveTo(1, y);
        pDC->LineTo(rectGrid.right - 1, y);
    }
    pDC->SelectObject(pOldPen);
    CBitmap* pOldBitmap = m_memDC.SelectObject(m_pBitmap);
    for (int x = 0; x < m_sizeImage.cx; ++x) {
        for (int y = 0; y < m_sizeImage.cy; ++y) {
            const COLORREF color = CQMXPToolBarImages::MapFromSysColor(m_memDC.GetPixel(x, y), FALSE);
            if (color == static_cast<COLORREF>(-1))
                continue;
            CRect rectCell(1 + x * m_sizeCell.cx, 1 + y * m_sizeCell.cy, 1 + (x + 1) * m_sizeCell.cx,
                           1 + (y + 1) * m_sizeCell.cy);
            rectCell.DeflateRect(1, 1);
            pDC->FillSolidRect(&rectCell, color);
        }
    }
    m_memDC.SelectObject(pOldBitmap);
}

BOOL CImagePaintArea::OnEraseBkgnd(CDC*) { return TRUE; }

void CImagePaintArea::RepaintAll() {
    Invalidate();
    UpdateWindow();
    if (m_pParentDlg != nullptr && m_pParentDlg->GetSafeHwnd() != nullptr) {
        m_pParentDlg->InvalidateRect(&m_rectParentPreviewArea);
        m_pParentDlg->UpdateWindow();
    }
}

void CImagePaintArea::DrawPixel(CPoint point) {
    if (m_pBitmap == nullptr)
        return;
    CBitmap* pOldBitmap = m_memDC.SelectObject(m_pBitmap);
    m_memDC.SetPixel(point.x, point.y, CQMXPToolBarImages::MapToSysColor(m_rgbColor, FALSE));
    m_memDC.SelectObject(pOldBitmap);
    CClientDC dc(this);
    CRect rectCell(1 + point.x * m_sizeCell.cx, 1 + point.y * m_sizeCell.cy, 1 + (point.x + 1) * m_sizeCell.cx,
                   1 + (point.y + 1) * m_sizeCell.cy);
    rectCell.DeflateRect(1, 1);
    dc.FillSolidRect(&rectCell, m_rgbColor);
    if (m_pParentDlg != nullptr && m_pParentDlg->GetSafeHwnd() != nullptr)
        m_pParentDlg->InvalidateRect(&m_rectParentPreviewArea);
}

void CImagePaintArea::DrawShape(CDC* pDC, CPoint ptStart, CPoint ptEnd) {
    const CPoint a = CellCentre(ptStart);
    const CPoint b = CellCentre(ptEnd);
    switch (m_Mode) {
    case IMAGE_EDIT_MODE_LINE:
        pDC->MoveTo(a.x, a.y);
        pDC->LineTo(b.x, b.y);
        break;
    case IMAGE_EDIT_MODE_RECT:
        pDC->Rectangle(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        break;
    case IMAGE_EDIT_MODE_ELLIPSE:
        pDC->Ellipse(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        break;
    default:
        break;
    }
}

void CImagePaintArea::OnLButtonDown(UINT, CPoint point) {
    if (m_pBitmap == nullptr)
        return;
    const CPoint ptPixel = ScreenToBitmap(point);
    switch (m_Mode) {
    case IMAGE_EDIT_MODE_PEN:
        SetCapture();
        DrawPixel(ptPixel);
        break;
    case IMAGE_EDIT_MODE_LINE:
    case IMAGE_EDIT_MODE_RECT:
    case IMAGE_EDIT_MODE_ELLIPSE:
        m_ptBegin = m_ptEnd = ptPixel;
        SetCapture();
        break;
    default:
        break;
    }
}

void CImagePaintArea::OnMouseMove(UINT nFlags, CPoint point) {
    if (!(nFlags & MK_LBUTTON) || m_pBitmap == nullptr || GetCapture() != this)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    point.x = std::min(std::max(point.x, rectClient.left), rectClient.right - 1);
    point.y = std::min(std::max(point.y, rectClient.top), rectClient.bottom - 1);
    const CPoint ptPixel = ScreenToBitmap(point);
    if (m_Mode == IMAGE_EDIT_MODE_PEN) {
        DrawPixel(ptPixel);
        return;
    }
    if (m_Mode != IMAGE_EDIT_MODE_LINE && m_Mode != IMAGE_EDIT_MODE_RECT && m_Mode != IMAGE_EDIT_MODE_ELLIPSE)
        return;
    if (ptPixel == m_ptEnd)
        return;
    // The rubber band: drawn twice with NOT, the old shape goes.
    CClientDC dc(this);
    CRgn rgnClip;
    rgnClip.CreateRectRgn(1, 1, 1 + m_sizeImage.cx * m_sizeCell.cx, 1 + m_sizeImage.cy * m_sizeCell.cy);
    dc.SelectClipRgn(&rgnClip);
    const int nOldRop = dc.SetROP2(R2_NOT);
    CPen* pOldPen = dc.SelectObject(&m_penStretch);
    CGdiObject* pOldBrush = dc.SelectStockObject(NULL_BRUSH);
    DrawShape(&dc, m_ptBegin, m_ptEnd);
    m_ptEnd = ptPixel;
    DrawShape(&dc, m_ptBegin, m_ptEnd);
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
    dc.SetROP2(nOldRop);
    dc.SelectClipRgn(nullptr);
}

void CImagePaintArea::OnLButtonUp(UINT, CPoint point) {
    if (GetCapture() == this)
        ::ReleaseCapture();
    if (m_pBitmap == nullptr)
        return;
    const CPoint ptPixel = ScreenToBitmap(point);
    switch (m_Mode) {
    case IMAGE_EDIT_MODE_PEN:
        DrawPixel(ptPixel);
        break;
    case IMAGE_EDIT_MODE_FILL: {
        CBitmap* pOldBitmap = m_memDC.SelectObject(m_pBitmap);
        CBrush brush(CQMXPToolBarImages::MapToSysColor(m_rgbColor, FALSE));
        CBrush* pOldBrush = m_memDC.SelectObject(&brush);
        ::ExtFloodFill(m_memDC.m_hDC, ptPixel.x, ptPixel.y, m_memDC.GetPixel(ptPixel.x, ptPixel.y), FLOODFILLSURFACE);
        m_memDC.SelectObject(pOldBrush);
        m_memDC.SelectObject(pOldBitmap);
        RepaintAll();
        break;
    }
    case IMAGE_EDIT_MODE_LINE:
    case IMAGE_EDIT_MODE_RECT:
    case IMAGE_EDIT_MODE_ELLIPSE: {
        m_ptEnd = ptPixel;
        CPoint ptStart = m_ptBegin;
        CPoint ptEnd = m_ptEnd;
        if (ptStart == ptEnd) {
            DrawPixel(ptStart);
            RepaintAll();
            break;
        }
        CBitmap* pOldBitmap = m_memDC.SelectObject(m_pBitmap);
        CPen pen(PS_SOLID, 1, CQMXPToolBarImages::MapToSysColor(m_rgbColor, FALSE));
        CPen* pOldPen = m_memDC.SelectObject(&pen);
        CGdiObject* pOldBrush = m_memDC.SelectStockObject(NULL_BRUSH);
        if (m_Mode == IMAGE_EDIT_MODE_LINE) {
            m_memDC.MoveTo(ptStart.x, ptStart.y);
            m_memDC.LineTo(ptEnd.x, ptEnd.y);
            // A line leaves out its last pixel.
            m_memDC.SetPixel(ptEnd.x, ptEnd.y, CQMXPToolBarImages::MapToSysColor(m_rgbColor, FALSE));
        } else {
            // The end pixel lies inside the shape.
            const CRect rect(std::min(ptStart.x, ptEnd.x), std::min(ptStart.y, ptEnd.y),
                             std::max(ptStart.x, ptEnd.x) + 1, std::max(ptStart.y, ptEnd.y) + 1);
            if (m_Mode == IMAGE_EDIT_MODE_RECT)
                m_memDC.Rectangle(&rect);
            else
                m_memDC.Ellipse(&rect);
        }
        m_memDC.SelectObject(pOldBrush);
        m_memDC.SelectObject(pOldPen);
        m_memDC.SelectObject(pOldBitmap);
        RepaintAll();
        break;
    }
    case IMAGE_EDIT_MODE_COLOR: {
        CBitmap* pOldBitmap = m_memDC.SelectObject(m_pBitmap);
        const COLORREF color = CQMXPToolBarImages::MapFromSysColor(m_memDC.GetPixel(ptPixel.x, ptPixel.y), FALSE);
        m_memDC.SelectObject(pOldBitmap);
        SetColor(color);
        if (m_pParentDlg != nullptr) {
            m_pParentDlg->m_wndPaletteBar.SetColor(color);
            m_pParentDlg->UpdateTools();
        }
        m_Mode = IMAGE_EDIT_MODE_PEN;
        break;
    }
    }
}

BOOL CImagePaintArea::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest != HTCLIENT)
        return CButton::OnSetCursor(pWnd, nHitTest, message);
    const HCURSOR cursors[] = {m_hcurPen, m_hcurFill, m_hcurLine, m_hcurRect, m_hcurEllipse, m_hcurColor};
    ::SetCursor(cursors[m_Mode]);
    return TRUE;
}
