#include "docking/frames/QMXPColorPickerCtrl.h"

#include "docking/toolbars/QMXPDrawManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CQMXPColorPickerCtrl, CButton)

BEGIN_MESSAGE_MAP(CQMXPColorPickerCtrl, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SIZE()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

namespace {

// tan(30 degrees): the height of a hexagon's side against its width.
constexpr double kHexRatio = 0.57735026;
constexpr double kKeyStep = 0.05;
constexpr double kPi = 3.14159265358979323846;
constexpr int kStripMargin = 5;
const double kRingX[6] = {-0.5, -1.0, -0.5, 0.5, 1.0, 0.5};
const double kRingY[6] = {0.8660254, 0.0, -0.8660254, -0.8660254, 0.0, 0.8660254};

double Clamp01(double value) { return std::min(1.0, std::max(0.0, value)); }

}  // namespace

// --- Cells ---------------------------------------------------------------------------------------

COLORREF CCellObj::SnapColor(COLORREF color, int nTolerance) {
    if (nTolerance <= 0)
        return color;
    auto snap = [nTolerance](int c) {
        if (c < nTolerance)
            return 0;
        if (c > 255 - nTolerance)
            return 255;
        if (std::abs(c - 128) < nTolerance)
            return 128;
        if (std::abs(c - 192) < nTolerance)
            return 192;
        return c;
    };
    return RGB(snap(GetRValue(color)), snap(GetGValue(color)), snap(GetBValue(color)));
}

void CCellObj::HexagonPoints(int x, int y, int nSize, POINT points[6]) {
    const int h = static_cast<int>(nSize * kHexRatio) / 2;
    const int half = nSize / 2;
    points[0] = {x - half, y - h};
    points[1] = {x, y - half};
    points[2] = {x + half, y - h};
    points[3] = {x + half, y + h};
    points[4] = {x, y + half};
    points[5] = {x - half, y + h};
}

CCellObj::CCellObj(CPalette* pPalette, COLORREF color, int x, int y, int nSize, int nTolerance)
    : m_Color(SnapColor(color, nTolerance)), m_DisplayColor(m_Color), m_x(x), m_y(y), m_nSize(nSize) {
    HexagonPoints(x, y, nSize, m_Points);
    // A palette screen shows the palette's entry nearest the unsnapped colour.
    if (globalData.bitsPerPixel == 8 && pPalette != nullptr && pPalette->m_hObject != nullptr)
        m_DisplayColor = PALETTEINDEX(::GetNearestPaletteIndex(static_cast<HPALETTE>(pPalette->m_hObject), color));
}

BOOL CCellObj::Contains(CPoint point) const {
    CRgn rgn;
    if (!rgn.CreatePolygonRgn(const_cast<POINT*>(m_Points), 6, ALTERNATE))
        return FALSE;
    return rgn.PtInRegion(point);
}

// --- Control -------------------------------------------------------------------------------------

CQMXPColorPickerCtrl::CQMXPColorPickerCtrl()
    : m_COLORTYPE(SPECTRUM),
      m_dblLum(0.5),
      m_dblSat(0),
      m_dblHue(0),
      m_colorNew(0),
      m_colorOriginal(0),
      m_nLumBarWidth(20),
      m_pPalette(nullptr) {}

CQMXPColorPickerCtrl::~CQMXPColorPickerCtrl() = default;

BOOL CQMXPColorPickerCtrl::PreCreateWindow(CREATESTRUCTW& cs) {
    // The owner-draw type replaces the button's type: OR-ed into a radio
    // button's type it would make another type that gets no WM_DRAWITEM.
    cs.style = (cs.style & ~(BS_TYPEMASK | BS_DEFPUSHBUTTON)) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void CQMXPColorPickerCtrl::PreSubclassWindow() {
    const LONG lStyle = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (lStyle & ~(BS_TYPEMASK | BS_DEFPUSHBUTTON)) | BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

void CQMXPColorPickerCtrl::SetColor(COLORREF color) {
    m_colorNew = color;
    CQMXPDrawManager::RGBtoHSL(color, &m_dblHue, &m_dblSat, &m_dblLum);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void CQMXPColorPickerCtrl::SetRGB(BYTE r, BYTE g, BYTE b) {
    SetColor(RGB(r, g, b));
    if (GetSafeHwnd() != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQMXPColorPickerCtrl::SetHLS(double hue, double luminance, double saturation, BOOL bInvalidate) {
    if (hue != -1)
        m_dblHue = hue;
    if (luminance != -1)
        m_dblLum = luminance;
    if (saturation != -1)
        m_dblSat = saturation;
    m_colorNew = CQMXPDrawManager::HLStoRGB(m_dblHue, m_dblLum, m_dblSat);
    if (bInvalidate && GetSafeHwnd() != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

void CQMXPColorPickerCtrl::GetHLS(double* hue, double* luminance, double* saturation) const {
    *hue = m_dblHue;
    *luminance = m_dblLum;
    *saturation = m_dblSat;
}

void CQMXPColorPickerCtrl::SetPalette(CPalette* pPalette) {
    m_pPalette = pPalette;
    m_bmpSpectrum.DeleteObject();
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void CQMXPColorPickerCtrl::SetLuminanceBarWidth(int w) {
    CRect rectClient;
    if (GetSafeHwnd() != nullptr)
        GetClientRect(&rectClient);
    m_nLumBarWidth = std::min(w, rectClient.Width() * 3 / 4);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

double CQMXPColorPickerCtrl::LuminanceFromPoint(int y) const {
    CRect rectClient;
    GetClientRect(&rectClient);
    const int top = rectClient.top + kStripMargin;
    const int bottom = rectClient.bottom - kStripMargin;
    // A strip without height has no luminance to point at.
    if (bottom <= top)
        return 0;
    y = std::min(bottom, std::max(top, y));
    return static_cast<double>(bottom - y) / (bottom - top);
}

CPoint CQMXPColorPickerCtrl::GetCursorPos() const {
    CRect rectClient;
    GetClientRect(&rectClient);
    if (m_COLORTYPE == LUMINANCE) {
        const int top = rectClient.top + kStripMargin;
        const int bottom = rectClient.bottom - kStripMargin;
        return CPoint(m_nLumBarWidth + 6, top + static_cast<int>((bottom - top) * (1 - m_dblLum)));
    }
    return CPoint(static_cast<int>(rectClient.Width() * m_dblHue),
                  static_cast<int>((1 - m_dblSat) * rectClient.Height()));
}

CRect CQMXPColorPickerCtrl::GetCursorRect() const {
    const CPoint pt = GetCursorPos();
    if (m_COLORTYPE == LUMINANCE)
        return CRect(pt.x - 4, pt.y - 4, pt.x + 5, pt.y + 5);
    return CRect(pt.x - 9, pt.y - 9, pt.x + 10, pt.y + 10);
}

void CQMXPColorPickerCtrl::NotifyParent(UINT uiCode) {
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), uiCode), reinterpret_cast<LPARAM>(m_hWnd));
}

// --- Cells ---------------------------------------------------------------------------------------

void CQMXPColorPickerCtrl::BuildCells() {
    m_cells.clear();
    if (m_COLORTYPE == HEX)
        CreateHexagon();
    else if (m_COLORTYPE == GREYSCALE)
        CreateGreyscaleBar();
}

void CQMXPColorPickerCtrl::CreateHexagon() {
    CRect rect;
    GetClientRect(&rect);
    if (rect.Width() > rect.Height())
        rect.DeflateRect((rect.Width() - rect.Height()) / 2, 0);
    else
        rect.DeflateRect(0, (rect.Height() - rect.Width()) / 2);
    const int d = rect.Width() / 13 + 1;
    const int cx = rect.left + rect.Width() / 2;
    const int cy = rect.top + rect.Height() / 2;
    m_cells.push_back(std::make_unique<CCellObj>(m_pPalette, RGB(255, 255, 255), cx, cy, d, 0));
    for (int r = 1; r <= 6; ++r) {
        int x = cx + r * d;
        int y = cy;
        for (int k = 0; k < 6; ++k) {
            const int dx = static_cast<int>(d * kRingX[k]);
            const int dy = static_cast<int>(d * kRingY[k]);
            for (int n = 0; n < r; ++n) {
                const int nHue = static_cast<int>(std::atan2(y - cy, x - cx) * 180.0 / kPi);
                const COLORREF color = CQMXPDrawManager::HLStoRGB360(static_cast<float>(nHue),
                                                                    static_cast<float>((7.0 - r) / 7.0 + 0.1), 1.0f);
                m_cells.push_back(std::make_unique<CCellObj>(m_pPalette, color, x, y, d, 16));
                x += dx;
                y += dy;
            }
        }
    }
}

void CQMXPColorPickerCtrl::CreateGreyscaleBar() {
    CRect rect;
    GetClientRect(&rect);
    int d = std::min(rect.Height() / 2 - 2, rect.Width() / 13);
    if (d % 2 != 0)
        ++d;
    d = std::max(d, 2);
    const int cy = rect.Height() / 2;
    const int rh = static_cast<int>(d * kHexRatio * 1.5);
    const int yTop = cy - rh / 2;
    const int yBottom = yTop + rh;
    // The run's width measured first, so that it is centred.
    const int x0 = (rect.Width() - d / 2 - (3 * d + 15 * (d / 2)) - 2 * d) / 2;
    m_cells.push_back(std::make_unique<CCellObj>(m_pPalette, RGB(255, 255, 255), x0 + d, cy, 2 * d, 0));
    int x = x0 + 3 * d;
    for (int i = 0; i < 15; ++i) {
        const int nLevel = 240 - 15 * i;
        m_cells.push_back(
            std::make_unique<CCellObj>(m_pPalette, RGB(nLevel, nLevel, nLevel), x, i % 2 == 0 ? yTop : yBottom, d, 7));
        x += d / 2;
    }
    m_cells.push_back(std::make_unique<CCellObj>(m_pPalette, RGB(0, 0, 0), x + d / 2 + d - 1, cy, 2 * d, 0));
}

int CQMXPColorPickerCtrl::GetSelectedCell() const {
    int iSelected = -1;
    for (int i = 0; i < static_cast<int>(m_cells.size()); ++i) {
        if (m_cells[i]->m_Color == m_colorNew)
            iSelected = i;
    }
    return iSelected;
}

void CQMXPColorPickerCtrl::SelectCellAt(CPoint point) {
    for (const auto& pCell : m_cells) {
        if (!pCell->Contains(point))
            continue;
        SetColor(pCell->m_Color);
        NotifyParent(BN_CLICKED);
        return;
    }
}

// --- Drawing -------------------------------------------------------------------------------------

void CQMXPColorPickerCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect rect = lpDrawItemStruct->rcItem;
    CDC dcMem;
    CBitmap bmpMem;
    CPalette* pOldPalette = nullptr;
    CPalette* pOldMemPalette = nullptr;
    if (m_pPalette != nullptr && m_pPalette->m_hObject != nullptr) {
        pOldPalette = pDC->SelectPalette(m_pPalette, FALSE);
        pDC->RealizePalette();
    }
    if (!dcMem.CreateCompatibleDC(pDC) || !bmpMem.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height())) {
        // Straight into the item's DC.
        globalData.PaintParentBackground(this, pDC);
        DrawContent(pDC, rect);
    } else {
        CBitmap* pOldBitmap = dcMem.SelectObject(&bmpMem);
        if (m_pPalette != nullptr && m_pPalette->m_hObject != nullptr) {
            pOldMemPalette = dcMem.SelectPalette(m_pPalette, FALSE);
            dcMem.RealizePalette();
        }
        globalData.PaintParentBackground(this, &dcMem);
        DrawContent(&dcMem, rect);
        pDC->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &dcMem, rect.left, rect.top, SRCCOPY);
        if (pOldMemPalette != nullptr)
            dcMem.SelectPalette(pOldMemPalette, FALSE);
        dcMem.SelectObject(pOldBitmap);
    }
    if (pOldPalette != nullptr)
        pDC->SelectPalette(pOldPalette, FALSE);
}

void CQMXPColorPickerCtrl::DrawContent(CDC* pDC, const CRect& rect) {
    switch (m_COLORTYPE) {
    case PREVIEW:
        DrawPreview(pDC, rect);
        break;
    case LUMINANCE:
        DrawLuminanceBar(pDC, rect);
        break;
    case SPECTRUM:
        DrawSpectrum(pDC, rect);
        break;
    case HEX:
    case GREYSCALE:
        DrawCells(pDC);
        break;
    }
}

void CQMXPColorPickerCtrl::DrawPreview(CDC* pDC, const CRect& rect) {
    CRect rectNew = rect;
    rectNew.bottom = rect.top + rect.Height() / 2;
    CRect rectOld = rect;
    rectOld.top = rectNew.bottom;
    CBrush brNew(PALETTERGB(GetRValue(m_colorNew), GetGValue(m_colorNew), GetBValue(m_colorNew)));
    CBrush brOld(PALETTERGB(GetRValue(m_colorOriginal), GetGValue(m_colorOriginal), GetBValue(m_colorOriginal)));
    pDC->FillRect(&rectNew, &brNew);
    pDC->FillRect(&rectOld, &brOld);
    pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnDkShadow);
}

void CQMXPColorPickerCtrl::DrawLuminanceBar(CDC* pDC, const CRect& rect) {
    const int top = rect.top + kStripMargin;
    const int bottom = rect.bottom - kStripMargin;
    for (int y = top; y <= bottom; ++y) {
        const COLORREF color = CQMXPDrawManager::HLStoRGB(m_dblHue, LuminanceFromPoint(y), m_dblSat);
        CBrush brush(PALETTERGB(GetRValue(color), GetGValue(color), GetBValue(color)));
        CRect rectRow(0, y, m_nLumBarWidth, y + 1);
        pDC->FillRect(&rectRow, &brush);
    }
    const CRect rectCursor = GetCursorRect();
    const POINT points[3] = {{rectCursor.left, rectCursor.top + rectCursor.Height() / 2},
                             {rectCursor.right - 1, rectCursor.top},
                             {rectCursor.right - 1, rectCursor.bottom - 1}};
    CPen pen(PS_SOLID, 1, globalData.clrBtnText);
    CBrush brush;
    brush.Attach(::GetSysColorBrush(::GetFocus() == m_hWnd ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    ::Polygon(pDC->m_hDC, points, 3);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    brush.Detach();
}

void CQMXPColorPickerCtrl::DrawSpectrum(CDC* pDC, const CRect& rect) {
    const int cx = rect.Width();
    const int cy = rect.Height();
    if (m_bmpSpectrum.m_hObject == nullptr && cx > 0 && cy > 0) {
        CDC dcSpectrum;
        if (dcSpectrum.CreateCompatibleDC(pDC) && m_bmpSpectrum.CreateCompatibleBitmap(pDC, cx, cy)) {
            CBitmap* pOld = dcSpectrum.SelectObject(&m_bmpSpectrum);
            CPalette* pOldPalette = nullptr;
            if (m_pPalette != nullptr && m_pPalette->m_hObject != nullptr) {
                pOldPalette = dcSpectrum.SelectPalette(m_pPalette, FALSE);
                dcSpectrum.RealizePalette();
            }
            // Palette screens get 4 x 4 blocks.
            const int step = globalData.bitsPerPixel < 9 ? 4 : 1;
            for (int r = 0; r < cy; r += step) {
                const double dblSat = static_cast<double>(r) / cy;
                for (int c = 0; c < cx; c += step) {
                    const COLORREF color = CQMXPDrawManager::HLStoRGB(static_cast<double>(c) / cx, 0.5, dblSat);
                    if (step == 1) {
                        dcSpectrum.SetPixel(c, cy - 1 - r, color);
                    } else {
                        CBrush brush(PALETTERGB(GetRValue(color), GetGValue(color), GetBValue(color)));
                        CRect rectBlock(c, cy - step - r, c + step, cy - r);
                        dcSpectrum.FillRect(&rectBlock, &brush);
                    }
                }
            }
            if (pOldPalette != nullptr)
                dcSpectrum.SelectPalette(pOldPalette, FALSE);
            dcSpectrum.SelectObject(pOld);
        } else {
            m_bmpSpectrum.DeleteObject();
        }
    }
    if (m_bmpSpectrum.m_hObject != nullptr) {
        CDC dcSpectrum;
        if (dcSpectrum.CreateCompatibleDC(pDC)) {
            CBitmap* pOld = dcSpectrum.SelectObject(&m_bmpSpectrum);
            pDC->BitBlt(rect.left, rect.top, cx, cy, &dcSpectrum, 0, 0, SRCCOPY);
            dcSpectrum.SelectObject(pOld);
        }
    }
    const CRect rectCursor = GetCursorRect();
    const CPoint pt = rectCursor.CenterPoint();
    const COLORREF clrCross = ::GetFocus() == m_hWnd ? RGB(0, 0, 0) : RGB(255, 255, 255);
    pDC->FillSolidRect(pt.x - 1, rectCursor.top, 3, 5, clrCross);
    pDC->FillSolidRect(pt.x - 1, rectCursor.bottom - 5, 3, 5, clrCross);
    pDC->FillSolidRect(rectCursor.left, pt.y - 1, 5, 3, clrCross);
    pDC->FillSolidRect(rectCursor.right - 5, pt.y - 1, 5, 3, clrCross);
    pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
}

void CQMXPColorPickerCtrl::DrawCells(CDC* pDC) {
    if (m_cells.empty())
        BuildCells();
    for (const auto& pCell : m_cells) {
        CBrush brush(pCell->m_DisplayColor);
        CPen pen(PS_SOLID, 1, pCell->m_DisplayColor);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        CPen* pOldPen = pDC->SelectObject(&pen);
        ::Polygon(pDC->m_hDC, pCell->m_Points, 6);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }
    const int iSelected = GetSelectedCell();
    if (iSelected < 0)
        return;
    const CCellObj& cell = *m_cells[iSelected];
    auto frame = [&](int y, int nSize, int nStock, int nWidth) {
        POINT points[6];
        CCellObj::HexagonPoints(cell.m_x, y, nSize, points);
        CRgn rgn;
        rgn.CreatePolygonRgn(points, 6, ALTERNATE);
        ::FrameRgn(pDC->m_hDC, static_cast<HRGN>(rgn.m_hObject), static_cast<HBRUSH>(::GetStockObject(nStock)),
                   nWidth, nWidth);
    };
    frame(cell.m_y - 1, cell.m_nSize + 2, WHITE_BRUSH, 2);
    frame(cell.m_y, cell.m_nSize + 2, BLACK_BRUSH, 1);
    frame(cell.m_y, cell.m_nSize - 1, BLACK_BRUSH, 1);
}

BOOL CQMXPColorPickerCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

// --- Input ---------------------------------------------------------------------------------------

void CQMXPColorPickerCtrl::ApplyHLS(const CRect& rectOldCursor) {
    m_colorNew = CQMXPDrawManager::HLStoRGB(m_dblHue, m_dblLum, m_dblSat);
    CRect rectOld = rectOldCursor;
    CRect rectNew = GetCursorRect();
    rectOld.InflateRect(1, 1);
    rectNew.InflateRect(1, 1);
    InvalidateRect(&rectOld);
    InvalidateRect(&rectNew);
}

void CQMXPColorPickerCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    SetCapture();
    SetFocus();
    OnMouseMove(nFlags, point);
}

void CQMXPColorPickerCtrl::OnLButtonUp(UINT, CPoint) {
    if (GetCapture() == this)
        ::ReleaseCapture();
}

void CQMXPColorPickerCtrl::OnMouseMove(UINT, CPoint point) {
    if (GetCapture() != this)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    point.x = std::min(rectClient.right, std::max(rectClient.left, point.x));
    point.y = std::min(rectClient.bottom, std::max(rectClient.top, point.y));
    const CRect rectOldCursor = GetCursorRect();
    switch (m_COLORTYPE) {
    case LUMINANCE:
        m_dblLum = LuminanceFromPoint(point.y);
        ApplyHLS(rectOldCursor);
        break;
    case SPECTRUM: {
        const CPoint ptCursor = GetCursorPos();
        if (::GetKeyState(VK_CONTROL) & 0x8000)
            point.x = ptCursor.x;
        if (::GetKeyState(VK_SHIFT) & 0x8000)
            point.y = ptCursor.y;
        // A spectrum without width or height has nothing to point at.
        m_dblHue = rectClient.Width() > 0 ? static_cast<double>(point.x) / rectClient.Width() : 0;
        m_dblSat = rectClient.Height() > 0 ? 1 - static_cast<double>(point.y) / rectClient.Height() : 0;
        ApplyHLS(rectOldCursor);
        break;
    }
    case HEX:
    case GREYSCALE:
        // A point between cells changes nothing and tells nobody.
        SelectCellAt(point);
        UpdateWindow();
        return;
    default:
        return;
    }
    NotifyParent(BN_CLICKED);
    UpdateWindow();
}

void CQMXPColorPickerCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_COLORTYPE == SPECTRUM || m_COLORTYPE == HEX || m_COLORTYPE == GREYSCALE) {
        NotifyParent(BN_DOUBLECLICKED);
        return;
    }
    CButton::OnLButtonDblClk(nFlags, point);
}

UINT CQMXPColorPickerCtrl::OnGetDlgCode() {
    return (m_COLORTYPE == LUMINANCE || m_COLORTYPE == SPECTRUM) ? DLGC_WANTARROWS : CButton::OnGetDlgCode();
}

void CQMXPColorPickerCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    double* pValue = nullptr;
    double dblDelta = 0;
    if (m_COLORTYPE == LUMINANCE && (nChar == VK_UP || nChar == VK_DOWN)) {
        pValue = &m_dblLum;
        dblDelta = nChar == VK_UP ? kKeyStep : -kKeyStep;
    } else if (m_COLORTYPE == SPECTRUM && (nChar == VK_LEFT || nChar == VK_RIGHT)) {
        pValue = &m_dblHue;
        dblDelta = nChar == VK_RIGHT ? kKeyStep : -kKeyStep;
    } else if (m_COLORTYPE == SPECTRUM && (nChar == VK_UP || nChar == VK_DOWN)) {
        pValue = &m_dblSat;
        dblDelta = nChar == VK_UP ? kKeyStep : -kKeyStep;
    }
    if (pValue != nullptr) {
        const CRect rectOldCursor = GetCursorRect();
        const double dblNew = Clamp01(*pValue + dblDelta);
        if (dblNew != *pValue) {
            *pValue = dblNew;
            ApplyHLS(rectOldCursor);
            NotifyParent(BN_CLICKED);
        }
    }
    CButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CQMXPColorPickerCtrl::OnSetFocus(CWnd* pOldWnd) {
    CButton::OnSetFocus(pOldWnd);
    Invalidate();
}

void CQMXPColorPickerCtrl::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    Invalidate();
}

void CQMXPColorPickerCtrl::OnSize(UINT nType, int cx, int cy) {
    CButton::OnSize(nType, cx, cy);
    m_bmpSpectrum.DeleteObject();
    Invalidate();
}

BOOL CQMXPColorPickerCtrl::OnQueryNewPalette() {
    Invalidate();
    return CButton::OnQueryNewPalette();
}

void CQMXPColorPickerCtrl::OnPaletteChanged(CWnd* pFocusWnd) {
    CButton::OnPaletteChanged(pFocusWnd);
    if (pFocusWnd == nullptr || pFocusWnd->GetSafeHwnd() != m_hWnd)
        Invalidate();
}
