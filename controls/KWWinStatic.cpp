#include "controls/KWWinStatic.h"

#include "controls/KWListCtrlWnd.h"
#include "controls/KWTrackContextMenu.h"
#include "framework/KWAlphaComposite.h"
#include "framework/KWDib.h"
#include "framework/KWFocusManager.h"
#include "framework/KWRasterImage.h"
#include "platform/classlib/MessageMap.h"

BEGIN_MESSAGE_MAP(CKWWinStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

HBITMAP KWBitmapFromRasterImage(const KWRasterImage* image, COLORREF background)
{
    if (!image || image->width == 0 || image->height == 0 ||
        static_cast<uint64_t>(image->stride) < static_cast<uint64_t>(image->width) * 4)
        return nullptr;
    BITMAPINFO info;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = KWCreateTopDownDib(screen, static_cast<int>(image->width), static_cast<int>(image->height), info,
                                        &bits);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap || !bits)
        return bitmap;
    KWCopyRowsOver(*image, static_cast<uint8_t*>(bits), static_cast<int>(image->width), 0, 0, background);
    return bitmap;
}

void KWDrawFittedBitmap(HDC dc, const RECT& client, HBITMAP bitmap)
{
    const RECT fit = KWBlitFitted(dc, client, bitmap);
    HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
    const RECT strips[] = {
        {client.left, client.top, client.left + fit.left, client.bottom},
        {client.left + fit.right, client.top, client.right, client.bottom},
        {client.left, client.top, client.right, client.top + fit.top},
        {client.left, client.top + fit.bottom, client.right, client.bottom},
    };
    for (const RECT& strip : strips) {
        if (strip.right > strip.left && strip.bottom > strip.top)
            ::FillRect(dc, &strip, face);
    }
}

CKWWinStatic::~CKWWinStatic()
{
    if (m_picture)
        ::DeleteObject(m_picture);
    if (m_resourceBitmap)
        ::DeleteObject(m_resourceBitmap);
}

void CKWWinStatic::SetImage(const KWRasterImage* image)
{
    HBITMAP old = m_picture;
    // Transparent parts show the face colour the strips beside the picture have.
    m_picture = KWBitmapFromRasterImage(image, ::GetSysColor(COLOR_BTNFACE));
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (old)
        ::DeleteObject(old);
}

HBITMAP CKWWinStatic::SetPicture(HBITMAP bitmap)
{
    HBITMAP old = m_picture;
    m_picture = bitmap;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return old;
}

bool CKWWinStatic::LoadResourceBitmap(UINT resourceId)
{
    HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
    if (!bitmap)
        return false;
    if (m_resourceBitmap)
        ::DeleteObject(m_resourceBitmap);
    m_resourceBitmap = bitmap;
    return true;
}

void CKWWinStatic::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (HBITMAP shown = m_picture ? m_picture : m_resourceBitmap)
        KWDrawFittedBitmap(dc, client, shown);
    else
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::EndPaint(m_hWnd, &paint);
}

BOOL CKWWinStatic::OnEraseBkgnd(CDC*)
{
    // The painting covers the whole client area.
    return TRUE;
}

void CKWWinStatic::OnRButtonDown(UINT, CPoint point)
{
    Default();
    if (m_contextMenuId) {
        ClientToScreen(&point);
        KWTrackContextMenu(m_contextMenuId, point.x, point.y, m_hWnd);
    }
}

void CKWWinStatic::OnSetFocus(CWnd* pOldWnd)
{
    if (m_owner)
        m_owner->SetFocusItem(m_focusValue);
    CStatic::OnSetFocus(pOldWnd);
}

void CKWWinStatic::OnDestroy()
{
    RevokeDropTarget();
    CStatic::OnDestroy();
}
