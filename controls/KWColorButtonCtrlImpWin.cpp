#include "controls/KWColorButtonCtrlImpWin.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/GdiObject.h"

#include <utility>

void CKWColorButtonCtrlWnd::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    CRect rect(item->rcItem);
    COLORREF fill = m_colour;
    COLORREF outline = RGB(0, 0, 0);
    if (item->itemState & ODS_DISABLED) {
        fill = ::GetSysColor(COLOR_GRAYTEXT);
        outline = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    }
    dc->FillSolidRect(&rect, ::GetSysColor(COLOR_GRAYTEXT));
    // The frame is raised, and sunk while the button is pressed.
    COLORREF topLeft = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF bottomRight = ::GetSysColor(COLOR_BTNSHADOW);
    if (item->itemState & ODS_SELECTED)
        std::swap(topLeft, bottomRight);
    dc->Draw3dRect(&rect, topLeft, bottomRight);

    rect.DeflateRect(4, 4);
    CPen pen(PS_SOLID, 1, outline);
    CPen* oldPen = dc->SelectObject(&pen);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    dc->RoundRect(&rect, CPoint(1, 0));
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);

    rect.DeflateRect(2, 2);
    dc->FillSolidRect(&rect, fill);
}

CKWColorButtonCtrlImpWin::CKWColorButtonCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd)
{
    if (hWnd)
        m_wnd.SubclassDlgItem(static_cast<UINT>(::GetDlgCtrlID(hWnd)), CWnd::FromHandle(::GetParent(hWnd)));
}

CKWColorButtonCtrlImpWin::~CKWColorButtonCtrlImpWin()
{
    if (m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
}

LRESULT CKWColorButtonCtrlImpWin::SetCheck(int value)
{
    return KWSetButtonCheck(GetHwnd(), value);
}

LRESULT CKWColorButtonCtrlImpWin::GetCheck()
{
    return KWGetButtonCheck(GetHwnd());
}
