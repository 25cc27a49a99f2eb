#include "appwindows/KWSplitterWin.h"

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWGdiPlusDraw.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CKWSplitterWin, CWnd)

BEGIN_MESSAGE_MAP(CKWSplitterWin, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const wchar_t kVerticalBarClass[] = L"KW_HSplitter";    // moves along x
const wchar_t kHorizontalBarClass[] = L"KW_VSplitter";  // moves along y
const UINT kVerticalBarCursor = 30980;
const UINT kHorizontalBarCursor = 30981;
const COLORREF kGhostColor = RGB(112, 96, 96);
const int kGhostWidth = 4;
const int kGripLength = 30;

bool s_classesRegistered = false;

void RegisterBarClasses()
{
    if (s_classesRegistered)
        return;
    HINSTANCE instance = AfxGetResourceHandle();
    const struct {
        const wchar_t* name;
        UINT cursor;
    } classes[] = {{kVerticalBarClass, kVerticalBarCursor}, {kHorizontalBarClass, kHorizontalBarCursor}};
    for (const auto& kind : classes) {
        WNDCLASSW wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(kind.cursor));
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kind.name;
        ::RegisterClassW(&wc);
    }
    s_classesRegistered = true;
}

// The rectangle of a window in its parent's client coordinates.
CRect RectInParent(HWND window)
{
    CRect rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

}  // namespace

CKWSplitterWin::CKWSplitterWin(int position, bool vertical, int extent)
    : CKWSplitterIFace(vertical), m_dragDC(nullptr), m_dragOffset(0), m_dragPen(nullptr), m_oldPen(nullptr)
{
}

CKWSplitterWin::~CKWSplitterWin()
{
    ReleaseDragDC();
    if (m_hWnd)
        DestroyWindow();
}

CKWSplitterIFace* CKWSplitterWin::Make(int position, bool vertical, int extent)
{
    return new CKWSplitterWin(position, vertical, extent);
}

CWnd* CKWSplitterWin::GetWnd() { return m_hWnd ? this : nullptr; }

void CKWSplitterWin::Update()
{
    CKWSplitterIFace::Update();
    if (m_hWnd)
        UpdateWindow();
}

void CKWSplitterWin::HideBar() { ShowBarWindow(false); }

void CKWSplitterWin::ShowBar() { ShowBarWindow(true); }

void CKWSplitterWin::ShowBarWindow(bool show)
{
    if (m_hWnd)
        ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CKWSplitterWin::OffsetBar(int delta)
{
    if (!m_hWnd)
        return;
    const CRect rect = RectInParent(m_hWnd);
    SetWindowPos(nullptr, rect.left + (m_vertical ? delta : 0), rect.top + (m_vertical ? 0 : delta), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
}

void CKWSplitterWin::PlaceBar(int dx, int dy, int cx, int cy)
{
    if (!m_hWnd)
        return;
    WINDOWPLACEMENT placement = {};
    GetWindowPlacement(&placement);
    UINT flags = SWP_NOZORDER | SWP_NOCOPYBITS | SWP_FRAMECHANGED;
    if (dx == 0 && dy == 0)
        flags |= SWP_NOMOVE;
    SetWindowPos(nullptr, placement.rcNormalPosition.left + dx, placement.rcNormalPosition.top + dy, cx, cy, flags);
    UpdateWindow();
}

bool CKWSplitterWin::CreateBar(const RECT& rect, CWnd* parentWnd, UINT id, bool visible)
{
    RegisterBarClasses();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (visible)
        style |= WS_VISIBLE;
    return CreateEx(0, m_vertical ? kVerticalBarClass : kHorizontalBarClass, L"", style, rect, parentWnd, id) !=
           FALSE;
}

void CKWSplitterWin::DrawBar(IKWGraphics* graphics)
{
    CRect client;
    CWnd::GetClientRect(&client);
    graphics->PushClipRect(client.left, client.top, client.Width(), client.Height());
    const int length = m_vertical ? client.Height() : client.Width();
    const int thickness = m_vertical ? client.Width() : client.Height();
    const int gripStart = length / 2 - kGripLength / 2;
    const int gripEnd = gripStart + kGripLength;
    // A part of the bar along its length, across its whole thickness.
    auto addPart = [&](int from, int to) {
        if (m_vertical)
            graphics->AddRectangle(0, from, thickness, to - from);
        else
            graphics->AddRectangle(from, 0, to - from, thickness);
    };
    CKWBrush brush(CKWColor::FromRgb(0xA0, 0xA8, 0xA8));
    graphics->BeginPath();
    addPart(0, gripStart);
    addPart(gripEnd, length);
    graphics->ClosePathFigure();
    graphics->FillPath(brush);
    brush.m_color1 = CKWColor::FromRgb(0xB0, 0xC8, 0xD8);
    graphics->BeginPath();
    addPart(gripStart, gripEnd);
    graphics->ClosePathFigure();
    graphics->FillPath(brush);
    graphics->PopClip();
}

void CKWSplitterWin::GetDragLimits(int& minimum, int& maximum)
{
    minimum = maximum = 0;
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect client;
    parent->GetClientRect(&client);
    if (m_vertical) {
        minimum = client.left + ::GetSystemMetrics(SM_CXBORDER);
        maximum = client.right - ::GetSystemMetrics(SM_CXBORDER);
    } else {
        minimum = client.top + ::GetSystemMetrics(SM_CYBORDER);
        maximum = client.bottom - ::GetSystemMetrics(SM_CYBORDER);
    }
    CKWSplitterIFace* ancestor = FindAncestor(m_vertical);
    CWnd* ancestorBar = ancestor ? ancestor->GetWnd() : nullptr;
    if (!ancestorBar)
        return;
    const CRect outer = RectInParent(ancestorBar->m_hWnd);
    const CRect own = RectInParent(m_hWnd);
    const int nearEdge = m_vertical ? outer.left : outer.top;
    const int farEdge = m_vertical ? outer.right : outer.bottom;
    const int ownNear = m_vertical ? own.left : own.top;
    if (nearEdge < 0 || farEdge > maximum)
        return;
    if (nearEdge < ownNear)
        minimum = farEdge;
    else
        maximum = 2 * nearEdge - farEdge;
}

void CKWSplitterWin::OnPaint()
{
    CPaintDC dc(this);
    CKWGdiPlusDraw graphics(&dc);
    DrawBar(&graphics);
}

void CKWSplitterWin::OnSize(UINT, int, int) { Default(); }

void CKWSplitterWin::DrawGhostLine(int offset)
{
    if (!m_dragDC)
        return;
    CRect rect;
    CWnd::GetClientRect(&rect);
    ClientToScreen(&rect);
    if (m_vertical) {
        ::MoveToEx(m_dragDC, rect.left + 2 + offset, rect.top, nullptr);
        ::LineTo(m_dragDC, rect.left + 2 + offset, rect.bottom);
    } else {
        ::MoveToEx(m_dragDC, rect.left, rect.top + 2 + offset, nullptr);
        ::LineTo(m_dragDC, rect.right, rect.top + 2 + offset);
    }
}

void CKWSplitterWin::ReleaseDragDC()
{
    if (m_dragDC) {
        ::SelectObject(m_dragDC, m_oldPen);
        ::ReleaseDC(nullptr, m_dragDC);
    }
    if (m_dragPen)
        ::DeleteObject(m_dragPen);
    m_dragDC = nullptr;
    m_dragPen = nullptr;
    m_oldPen = nullptr;
}

int CKWSplitterWin::AlongAxisInParent(CPoint point)
{
    ::MapWindowPoints(m_hWnd, ::GetParent(m_hWnd), &point, 1);
    return m_vertical ? point.x : point.y;
}

void CKWSplitterWin::OnLButtonDown(UINT, CPoint point)
{
    if (::GetCapture() == m_hWnd)
        return;
    m_pressPoint = point;
    SetCapture();
    ReleaseDragDC();
    m_dragDC = ::GetDC(nullptr);
    m_dragPen = ::CreatePen(PS_SOLID, kGhostWidth, kGhostColor);
    m_oldPen = ::SelectObject(m_dragDC, m_dragPen);
    ::SetROP2(m_dragDC, R2_XORPEN);
    m_dragOffset = 0;
    DrawGhostLine(0);
}

void CKWSplitterWin::OnMouseMove(UINT, CPoint point)
{
    if (::GetCapture() != m_hWnd)
        return;
    int minimum = 0;
    int maximum = 0;
    GetDragLimits(minimum, maximum);
    const int along = std::min(std::max(AlongAxisInParent(point), minimum), maximum);
    const int offset = along - AlongAxisInParent(m_pressPoint);
    if (offset == 0 || !CanMoveEdge(offset, m_vertical, true))
        return;
    DrawGhostLine(m_dragOffset);
    DrawGhostLine(offset);
    m_dragOffset = offset;
}

void CKWSplitterWin::OnLButtonUp(UINT, CPoint)
{
    if (::GetCapture() != m_hWnd)
        return;
    ::ReleaseCapture();
    DrawGhostLine(m_dragOffset);
    CWnd* parent = GetParent();
    if (!parent || m_dragOffset == 0)
        return;
    HDWP batch = ::BeginDeferWindowPos(1);
    if (batch)
        batch = ::DeferWindowPos(batch, parent->m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    MoveBar(m_dragOffset, m_vertical);
    if (batch)
        ::EndDeferWindowPos(batch);
    parent->Invalidate(TRUE);
}

void CKWSplitterWin::OnLButtonDblClk(UINT nFlags, CPoint)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!IsCollapsed())
        Collapse((nFlags & MK_SHIFT) != 0);
    else
        Expand();
    Update();
}
