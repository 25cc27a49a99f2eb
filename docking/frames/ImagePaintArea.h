#pragma once
// CImagePaintArea: the enlarged pixel grid of the button image editor. It
// draws one bitmap (not owned) cell by cell and changes it pixel by pixel
// with the pencil, a flood fill, lines, rectangles and ellipses, or picks a
// pixel's colour. Every change goes into the bitmap at once.
#include "platform/classlib/Button.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

class CQMXPImageEditDlg;

class CImagePaintArea : public CButton {
public:
    enum IMAGE_EDIT_MODE { IMAGE_EDIT_MODE_PEN = 0, IMAGE_EDIT_MODE_FILL, IMAGE_EDIT_MODE_LINE,
                           IMAGE_EDIT_MODE_RECT, IMAGE_EDIT_MODE_ELLIPSE, IMAGE_EDIT_MODE_COLOR };

    explicit CImagePaintArea(CQMXPImageEditDlg* pParentDlg);
    ~CImagePaintArea() override;

    void SetBitmap(CBitmap* pBitmap);
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_rgbColor; }
    void SetMode(IMAGE_EDIT_MODE mode) { m_Mode = mode; }
    IMAGE_EDIT_MODE GetMode() const { return m_Mode; }
    // The image pixel under a point of the area, clamped to the image.
    CPoint ScreenToBitmap(CPoint point) const;
    CSize GetCellSize() const { return CSize(m_sizeCell.cx, m_sizeCell.cy); }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    CRect m_rectParentPreviewArea;

protected:
    // The pixel gets the current colour, in the bitmap and on the screen.
    void DrawPixel(CPoint point);
    // The shape between the cell centres of start and end, on the area's DC.
    void DrawShape(CDC* pDC, CPoint ptStart, CPoint ptEnd);
    // The area and the parent's preview show the bitmap again.
    void RepaintAll();
    CPoint CellCentre(CPoint ptPixel) const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    COLORREF m_rgbColor;
    CDC m_memDC;
    CSize m_sizeImage;
    CBitmap* m_pBitmap;
    IMAGE_EDIT_MODE m_Mode;
    HCURSOR m_hcurPen;
    HCURSOR m_hcurFill;
    HCURSOR m_hcurLine;
    HCURSOR m_hcurRect;
    HCURSOR m_hcurEllipse;
    HCURSOR m_hcurColor;
    CSize m_sizeCell;
    CQMXPImageEditDlg* m_pParentDlg;
    CPen m_penDraw;
    CPen m_penStretch;
    CPoint m_ptBegin;
    CPoint m_ptEnd;
};
