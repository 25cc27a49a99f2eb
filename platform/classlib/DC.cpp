#include "platform/classlib/DC.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/Wnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {
CObject* NewTempDC(void* handle) {
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = static_cast<HDC>(handle);
    return p;
}

void DeleteTempDC(CObject* pObject) {
    CDC* p = static_cast<CDC*>(pObject);
    p->m_hDC = p->m_hAttribDC = nullptr;
    delete p;
}
}  // namespace

CHandleMap* afxMapHDC() {
    static CHandleMap* pMap = new CHandleMap(afxHandleDC, NewTempDC, DeleteTempDC);
    return pMap;
}

CDC::~CDC() {
    if (m_hDC != nullptr)
        ::DeleteDC(Detach());
}

HDC CDC::GetSafeHdc() const {
    const CDC* p = this;
    __asm__("" : "+r"(p));  // `this` may be null; keep the test
    return p != nullptr ? p->m_hDC : nullptr;
}

CDC* CDC::FromHandle(HDC hDC) { return static_cast<CDC*>(afxMapHDC()->FromHandle(hDC)); }

BOOL CDC::Attach(HDC hDC) {
    if (hDC == nullptr)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    afxMapHDC()->SetPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    if (hDC != nullptr && afxMapHDC()->LookupPermanent(hDC) == this)
        afxMapHDC()->RemoveHandle(hDC);
    m_hDC = m_hAttribDC = nullptr;
    return hDC;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateDC(LPCWSTR lpszDriverName, LPCWSTR lpszDeviceName, LPCWSTR lpszOutput, const DEVMODEW* lpInitData) {
    return Attach(::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, lpInitData));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(CDC::SafeHdcOf(pDC))); }

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

int CDC::SaveDC() {
    int nRetVal = 0;
    if (m_hAttribDC != nullptr)
        nRetVal = ::SaveDC(m_hAttribDC);
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0)
        nRetVal = -1;  // the saved state of two contexts is restored with -1
    return nRetVal;
}

BOOL CDC::RestoreDC(int nSavedDC) {
    BOOL bRetVal = TRUE;
    if (m_hDC != m_hAttribDC)
        bRetVal = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC != nullptr)
        bRetVal = bRetVal && ::RestoreDC(m_hAttribDC, nSavedDC);
    return bRetVal;
}

int CDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData) {
    return ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    HGDIOBJ hOldObj = nullptr;
    if (m_hDC != m_hAttribDC)
        hOldObj = ::SelectObject(m_hDC, hObject);
    if (m_hAttribDC != nullptr)
        hOldObj = ::SelectObject(m_hAttribDC, hObject);
    return hOldObj;
}

CGdiObject* CDC::SelectGdiObject(HGDIOBJ hObject) { return CGdiObject::FromHandle(SelectObject(hObject)); }

CFont* CDC::SelectObject(CFont* pFont) { return static_cast<CFont*>(SelectGdiObject(CGdiObject::SafeHandleOf(pFont))); }

int CDC::SelectObject(CRgn* pRgn) {
    int nRetVal = GDI_ERROR;
    HGDIOBJ hRgn = CGdiObject::SafeHandleOf(pRgn);
    if (m_hDC != m_hAttribDC)
        nRetVal = static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, hRgn)));
    if (m_hAttribDC != nullptr)
        nRetVal = static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hAttribDC, hRgn)));
    return nRetVal;
}

CGdiObject* CDC::SelectStockObject(int nIndex) { return SelectGdiObject(::GetStockObject(nIndex)); }

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
    return CPalette::FromHandle(
        ::SelectPalette(m_hDC, static_cast<HPALETTE>(CGdiObject::SafeHandleOf(pPalette)), bForceBackground));
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    COLORREF crRetVal = CLR_INVALID;
    if (m_hDC != m_hAttribDC)
        crRetVal = ::SetBkColor(m_hDC, crColor);
    if (m_hAttribDC != nullptr)
        crRetVal = ::SetBkColor(m_hAttribDC, crColor);
    return crRetVal;
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    COLORREF crRetVal = CLR_INVALID;
    if (m_hDC != m_hAttribDC)
        crRetVal = ::SetTextColor(m_hDC, crColor);
    if (m_hAttribDC != nullptr)
        crRetVal = ::SetTextColor(m_hAttribDC, crColor);
    return crRetVal;
}

int CDC::SetBkMode(int nBkMode) {
    int nRetVal = 0;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::SetBkMode(m_hDC, nBkMode);
    if (m_hAttribDC != nullptr)
        nRetVal = ::SetBkMode(m_hAttribDC, nBkMode);
    return nRetVal;
}

int CDC::SetROP2(int nDrawMode) {
    int nRetVal = 0;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::SetROP2(m_hDC, nDrawMode);
    if (m_hAttribDC != nullptr)
        nRetVal = ::SetROP2(m_hAttribDC, nDrawMode);
    return nRetVal;
}

int CDC::SetStretchBltMode(int nStretchMode) {
    int nRetVal = 0;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::SetStretchBltMode(m_hDC, nStretchMode);
    if (m_hAttribDC != nullptr)
        nRetVal = ::SetStretchBltMode(m_hAttribDC, nStretchMode);
    return nRetVal;
}

UINT CDC::SetTextAlign(UINT nFlags) {
    UINT nRetVal = GDI_ERROR;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::SetTextAlign(m_hDC, nFlags);
    if (m_hAttribDC != nullptr)
        nRetVal = ::SetTextAlign(m_hAttribDC, nFlags);
    return nRetVal;
}

int CDC::SetMapMode(int nMapMode) {
    int nRetVal = 0;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::SetMapMode(m_hDC, nMapMode);
    if (m_hAttribDC != nullptr)
        nRetVal = ::SetMapMode(m_hAttribDC, nMapMode);
    return nRetVal;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT point = {0, 0};
    if (m_hDC != m_hAttribDC)
        ::SetViewportOrgEx(m_hDC, x, y, &point);
    if (m_hAttribDC != nullptr)
        ::SetViewportOrgEx(m_hAttribDC, x, y, &point);
    return point;
}

CPoint CDC::GetViewportOrg() const {
    POINT point = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &point);
    return point;
}

CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE size = {0, 0};
    if (m_hDC != m_hAttribDC)
        ::SetViewportExtEx(m_hDC, cx, cy, &size);
    if (m_hAttribDC != nullptr)
        ::SetViewportExtEx(m_hAttribDC, cx, cy, &size);
    return size;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT point = {0, 0};
    if (m_hDC != m_hAttribDC)
        ::SetWindowOrgEx(m_hDC, x, y, &point);
    if (m_hAttribDC != nullptr)
        ::SetWindowOrgEx(m_hAttribDC, x, y, &point);
    return point;
}

CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE size = {0, 0};
    if (m_hDC != m_hAttribDC)
        ::SetWindowExtEx(m_hDC, cx, cy, &size);
    if (m_hAttribDC != nullptr)
        ::SetWindowExtEx(m_hAttribDC, cx, cy, &size);
    return size;
}

CPoint CDC::SetBrushOrg(int x, int y) {
    POINT point = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &point);
    return point;
}

int CDC::SelectClipRgn(CRgn* pRgn) {
    int nRetVal = ERROR;
    HRGN hRgn = pRgn != nullptr ? static_cast<HRGN>(pRgn->m_hObject) : nullptr;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::SelectClipRgn(m_hDC, hRgn);
    if (m_hAttribDC != nullptr)
        nRetVal = ::SelectClipRgn(m_hAttribDC, hRgn);
    return nRetVal;
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
    int nRetVal = ERROR;
    HRGN hRgn = pRgn != nullptr ? static_cast<HRGN>(pRgn->m_hObject) : nullptr;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::ExtSelectClipRgn(m_hDC, hRgn, nMode);
    if (m_hAttribDC != nullptr)
        nRetVal = ::ExtSelectClipRgn(m_hAttribDC, hRgn, nMode);
    return nRetVal;
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    int nRetVal = ERROR;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC != nullptr)
        nRetVal = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
    return nRetVal;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
    int nRetVal = ERROR;
    if (m_hDC != m_hAttribDC)
        nRetVal = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC != nullptr)
        nRetVal = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
    return nRetVal;
}

CPoint CDC::MoveTo(int x, int y) {
    POINT point = {0, 0};
    if (m_hDC != m_hAttribDC)
        ::MoveToEx(m_hDC, x, y, &point);
    if (m_hAttribDC != nullptr)
        ::MoveToEx(m_hAttribDC, x, y, &point);
    return point;
}

BOOL CDC::LineTo(int x, int y) {
    // The current position lives in both contexts.
    if (m_hAttribDC != nullptr && m_hDC != m_hAttribDC)
        ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    COLORREF clrOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    CRect rect(x, y, x + cx, y + cy);
    rect.NormalizeRect();
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

CBrush* CDC::GetHalftoneBrush() {
    // Lives to the end of the program, like the stock objects.
    static CBrush* pBrush = [] {
        WORD grayPattern[8];
        for (int i = 0; i < 8; i++)
            grayPattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        CBrush* p = new CBrush;
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, grayPattern);
        if (hBitmap != nullptr) {
            p->Attach(::CreatePatternBrush(hBitmap));
            ::DeleteObject(hBitmap);
        }
        return p;
    }();
    return pBrush;
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
    // The frame of a rectangle: the rectangle less its inside.
    auto makeFrame = [](CRgn& rgnFrame, LPCRECT lpOuter, SIZE thickness) {
        CRgn rgnOutside, rgnInside;
        rgnOutside.CreateRectRgnIndirect(lpOuter);
        CRect rect(lpOuter);
        rect.InflateRect(-thickness.cx, -thickness.cy);
        rect.IntersectRect(rect, lpOuter);
        rgnInside.CreateRectRgnIndirect(rect);
        rgnFrame.CreateRectRgn(0, 0, 0, 0);
        rgnFrame.CombineRgn(&rgnOutside, &rgnInside, RGN_XOR);
    };

    CRgn rgnNew;
    makeFrame(rgnNew, lpRect, size);
    if (pBrush == nullptr)
        pBrush = GetHalftoneBrush();
    if (pBrushLast == nullptr)
        pBrushLast = pBrush;

    CRgn rgnLast, rgnUpdate;
    if (lpRectLast != nullptr) {
        makeFrame(rgnLast, lpRectLast, sizeLast);
        // With the same brush only the difference of the two frames is inverted.
        if (pBrush->m_hObject == pBrushLast->m_hObject) {
            rgnUpdate.CreateRectRgn(0, 0, 0, 0);
            rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
        }
    }
    CRect rect;
    if (lpRectLast != nullptr && pBrush->m_hObject != pBrushLast->m_hObject) {
        // Different brushes: the old frame is erased with its own brush first.
        SelectClipRgn(&rgnLast);
        GetClipBox(&rect);
        CBrush* pBrushOld = SelectObject(pBrushLast);
        PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
        SelectObject(pBrushOld);
    }
    SelectClipRgn(rgnUpdate.m_hObject != nullptr ? &rgnUpdate : &rgnNew);
    GetClipBox(&rect);
    CBrush* pBrushOld = SelectObject(pBrush);
    PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
    SelectObject(pBrushOld);
    SelectClipRgn(nullptr);
}

BOOL CDC::TextOut(int x, int y, LPCWSTR lpszString, int nCount) { return ::TextOutW(m_hDC, x, y, lpszString, nCount); }

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
    return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

int CDC::DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
    return size;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(CWnd::SafeHwndOf(pWnd)) {
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(CWnd::SafeHwndOf(pWnd)) {
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
