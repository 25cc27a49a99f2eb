#include "controls/KWDrawnStaticWin.h"

#include "framework/KWGdiPlusDraw.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"

BEGIN_MESSAGE_MAP(CKWDrawnStaticWin, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CKWDrawnStaticWin::~CKWDrawnStaticWin()
{
    ReleaseStatic();
}

void CKWDrawnStaticWin::DestroyStatic()
{
    if (m_hWnd)
        DestroyWindow();
}

void CKWDrawnStaticWin::ReleaseStatic()
{
    if (m_hWnd)
        UnsubclassWindow();
}

void CKWDrawnStaticWin::RefreshStatic()
{
    if (!m_hWnd)
        return;
    Invalidate(FALSE);
    UpdateWindow();
}

void CKWDrawnStaticWin::StaticClientRect(CRect& rect) const
{
    if (m_hWnd)
        CWnd::GetClientRect(&rect);
    else
        rect.SetRectEmpty();
}

void CKWDrawnStaticWin::OnPaint()
{
    CPaintDC dc(this);
    CKWGdiPlusDraw graphics(dc.m_hDC);
    DrawStatic(&graphics);
}
