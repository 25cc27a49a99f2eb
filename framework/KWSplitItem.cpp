#include "framework/KWSplitItem.h"

#include "framework/KWSplitterIFace.h"
#include "platform/classlib/Wnd.h"

int32_t g_KWSplitterThickness = 4;

namespace {

CRect NormalRect(CWnd* wnd)
{
    WINDOWPLACEMENT placement = {};
    wnd->GetWindowPlacement(&placement);
    return CRect(placement.rcNormalPosition);
}

}  // namespace

CKWSplitItem::CKWSplitItem() : m_parent(nullptr), m_collapsible(true), m_minWidth(0), m_minHeight(0) {}

CKWSplitItem::~CKWSplitItem()
{
    if (m_parent)
        m_parent->ForgetChild(this);
}

bool CKWSplitItem::CanSplit(int position, bool vertical) { return true; }

bool CKWSplitItem::CanMoveEdge(int delta, bool alongX, bool afterEdge)
{
    const int extent = alongX ? GetWidth() : GetHeight();
    const int minimum = alongX ? m_minWidth : m_minHeight;
    if (delta > 0 && afterEdge)
        return extent - delta >= minimum;
    if (delta < 0 && !afterEdge)
        return extent + delta >= minimum;
    return true;
}

bool CKWSplitItem::IsCollapsible() { return m_collapsible; }

bool CKWSplitItem::IsSplitter() { return false; }

int CKWSplitItem::GetWidth()
{
    CWnd* wnd = GetWnd();
    return wnd ? NormalRect(wnd).Width() : 0;
}

int CKWSplitItem::GetHeight()
{
    CWnd* wnd = GetWnd();
    return wnd ? NormalRect(wnd).Height() : 0;
}

CPoint CKWSplitItem::GetPosition()
{
    CWnd* wnd = GetWnd();
    return wnd ? NormalRect(wnd).TopLeft() : CPoint(0, 0);
}

void CKWSplitItem::GetClientRect(LPRECT rect)
{
    ::SetRectEmpty(rect);
    if (CWnd* wnd = GetWnd())
        ::GetClientRect(wnd->m_hWnd, rect);
}

void CKWSplitItem::GetRect(LPRECT rect)
{
    ::SetRectEmpty(rect);
    if (CWnd* wnd = GetWnd())
        *rect = NormalRect(wnd);
}

void CKWSplitItem::SetRect(const RECT& rect)
{
    if (CWnd* wnd = GetWnd())
        ::SetWindowPos(wnd->m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOCOPYBITS);
}

void CKWSplitItem::SetSize(int cx, int cy, int dx, int dy)
{
    CWnd* wnd = GetWnd();
    if (!wnd)
        return;
    const CRect rect = NormalRect(wnd);
    UINT flags = SWP_NOZORDER | SWP_NOCOPYBITS;
    if (dx == 0 && dy == 0)
        flags |= SWP_NOMOVE;
    ::SetWindowPos(wnd->m_hWnd, nullptr, rect.left + dx, rect.top + dy, cx, cy, flags);
    ::UpdateWindow(wnd->m_hWnd);
}

int CKWSplitItem::GetTotalWidth() { return GetWidth(); }

int CKWSplitItem::GetTotalHeight() { return GetHeight(); }

void CKWSplitItem::Hide()
{
    if (CWnd* wnd = GetWnd())
        ::ShowWindow(wnd->m_hWnd, SW_HIDE);
}

void CKWSplitItem::Show()
{
    if (CWnd* wnd = GetWnd())
        ::ShowWindow(wnd->m_hWnd, SW_SHOW);
}

void CKWSplitItem::HideAll() { Hide(); }

void CKWSplitItem::ShowAll() { Show(); }

CWnd* CKWSplitItem::GetFirstWnd() { return GetWnd(); }

CWnd* CKWSplitItem::GetLastWnd() { return GetWnd(); }

void CKWSplitItem::Translate(int dx, int dy, int dw, int dh) { MoveBy(dx, dy, dw, dh); }

CWnd* CKWSplitItem::GetWnd() { return nullptr; }

void CKWSplitItem::MoveBy(int dx, int dy, int dw, int dh)
{
    CWnd* wnd = GetWnd();
    if (!wnd)
        return;
    const CRect rect = NormalRect(wnd);
    UINT flags = SWP_NOZORDER | SWP_NOCOPYBITS | SWP_FRAMECHANGED;
    if (dx == 0 && dy == 0)
        flags |= SWP_NOMOVE;
    if (dw == 0 && dh == 0)
        flags |= SWP_NOSIZE;
    ::SetWindowPos(wnd->m_hWnd, nullptr, rect.left + dx, rect.top + dy, rect.Width() + dw, rect.Height() + dh,
                   flags);
    ::UpdateWindow(wnd->m_hWnd);
}

void CKWSplitItem::Update() {}

void CKWSplitItem::ShiftEdge(int delta, bool alongX, bool grow, bool moveOrigin, bool resize)
{
    const int move = moveOrigin ? delta : 0;
    const int size = resize ? (grow ? delta : -delta) : 0;
    if (alongX)
        Translate(move, 0, size, 0);
    else
        Translate(0, move, 0, size);
}

void CKWSplitItem::ShiftSubtree(int delta, bool alongX, bool grow, bool moveOrigin, bool resize)
{
    ShiftEdge(delta, alongX, grow, moveOrigin, resize);
}
