#pragma once
// CQMXPColorPickerCtrl: one owner-drawn button that shows a colour in one of
// five ways: a preview of the new colour over a reference colour, a strip of
// luminance, a hue and saturation spectrum, a hexagon of colour cells and a
// row of grey cells. It keeps the colour both as RGB and as hue, luminance
// and saturation, tells its parent of every change made by mouse or keys
// (BN_CLICKED; BN_DOUBLECLICKED on the spectrum and the cells) and paints
// through an off-screen bitmap.
#include "platform/classlib/Button.h"
#include "platform/classlib/GdiObject.h"

#include <memory>
#include <vector>

// One cell of the hexagon or of the grey row: a hexagon with a point at top
// and bottom.
class CCellObj : public CObject {
public:
    // tolerance > 0 snaps the colour's channels to 0, 128, 192 and 255.
    CCellObj(CPalette* pPalette, COLORREF color, int x, int y, int nSize, int nTolerance);

    // Each channel: 0 below t, 255 above 255 - t, else 128 or 192 when within t of them.
    static COLORREF SnapColor(COLORREF color, int nTolerance);
    // The six corners for the centre and width.
    static void HexagonPoints(int x, int y, int nSize, POINT points[6]);
    BOOL Contains(CPoint point) const;

    COLORREF m_Color;
    COLORREF m_DisplayColor;
    POINT m_Points[6];
    int m_x;
    int m_y;
    int m_nSize;
};

class CQMXPColorPickerCtrl : public CButton {
    DECLARE_DYNAMIC(CQMXPColorPickerCtrl)
public:
    enum COLORTYPE { PREVIEW = 0, LUMINANCE = 1, SPECTRUM = 2, HEX = 3, GREYSCALE = 4 };

    CQMXPColorPickerCtrl();
    ~CQMXPColorPickerCtrl() override;

    void SetType(COLORTYPE colorType) { m_COLORTYPE = colorType; }
    COLORTYPE GetType() const { return m_COLORTYPE; }
    void SetReferenceColor(COLORREF color) { m_colorOriginal = color; }
    void SetColor(COLORREF color);
    void SetRGB(BYTE r, BYTE g, BYTE b);
    // -1 leaves a component as it is.
    void SetHLS(double hue, double luminance, double saturation, BOOL bInvalidate = TRUE);
    void GetHLS(double* hue, double* luminance, double* saturation) const;
    COLORREF GetColor() const { return m_colorNew; }
    void SetPalette(CPalette* pPalette);
    void SetLuminanceBarWidth(int w);
    // The cells of a hexagon or grey row (built on the first paint).
    const std::vector<std::unique_ptr<CCellObj>>& GetCells() const { return m_cells; }
    // Builds the cells for the client size now (the first paint does it otherwise).
    void BuildCells();
    // The cell drawn with the selection frame; -1 when none.
    int GetSelectedCell() const;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;

    // The luminance of a point of the strip (clamped to the strip's ends).
    double LuminanceFromPoint(int y) const;
    // The marker's point of the strip or the spectrum.
    CPoint GetCursorPos() const;

    COLORTYPE m_COLORTYPE;
    double m_dblLum;
    double m_dblSat;
    double m_dblHue;
    COLORREF m_colorNew;
    COLORREF m_colorOriginal;
    int m_nLumBarWidth;
    CPalette* m_pPalette;
    CBitmap m_bmpSpectrum;

protected:
    void DrawContent(CDC* pDC, const CRect& rect);
    void DrawPreview(CDC* pDC, const CRect& rect);
    void DrawLuminanceBar(CDC* pDC, const CRect& rect);
    void DrawSpectrum(CDC* pDC, const CRect& rect);
    void DrawCells(CDC* pDC);
    void CreateHexagon();
    void CreateGreyscaleBar();
    CRect GetCursorRect() const;
    // Tells the parent (BN_CLICKED or BN_DOUBLECLICKED).
    void NotifyParent(UINT uiCode);
    // The colour follows the hue, luminance and saturation; the marker moves.
    void ApplyHLS(const CRect& rectOldCursor);
    void SelectCellAt(CPoint point);

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    DECLARE_MESSAGE_MAP()

    std::vector<std::unique_ptr<CCellObj>> m_cells;
};
