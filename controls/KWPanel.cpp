#include "controls/KWPanel.h"

#include <cmath>
#include <cstdlib>

CKWPanel::CKWPanel() : m_pressPoint(0, 0) {}

CKWPanel::~CKWPanel() = default;

void CKWPanel::Redraw(bool now)
{
    if (now)
        Invalidate(TRUE);
    UpdateWindow();
}

bool CKWPanel::OnLButtonDown(int x, int y)
{
    m_pressPoint = CPoint(x, y);
    SetCapture();
    return true;
}

bool CKWPanel::OnLButtonUp(int, int)
{
    if (::GetCapture() != m_hWnd)
        return false;
    ::ReleaseCapture();
    return true;
}

bool CKWPanel::OnMouseMove(int x, int y)
{
    if (::GetCapture() != m_hWnd)
        return false;
    const double distance = std::hypot(double(x - m_pressPoint.x), double(y - m_pressPoint.y));
    if (distance <= kDragDistance)
        return false;
    ::ReleaseCapture();
    BeginDrag(m_pressPoint);
    return true;
}

void CKWPanel::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    RECT client = {};
    GetClientRect(&client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (std::abs(dx) >= width || std::abs(dy) >= height) {
        Invalidate(TRUE);
        UpdateWindow();
        return;
    }
    ScrollWindow(dx, dy, client);
    RECT strip = client;  // what the move uncovered
    if (dx == 0) {
        if (dy > 0)
            strip.bottom = client.top + dy;
        else
            strip.top = client.bottom + dy;
    } else if (dy == 0) {
        if (dx > 0)
            strip.right = client.left + dx;
        else
            strip.left = client.right + dx;
    }
    InvalidateRect(&strip, TRUE);
    UpdateWindow();
}
