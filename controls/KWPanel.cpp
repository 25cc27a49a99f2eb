#include "controls/KWPanel.h"

#include <cstdlib>

CKWPanel::CKWPanel() = default;

CKWPanel::~CKWPanel() = default;

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
