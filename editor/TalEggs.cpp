#include "editor/TalEggs.h"

#include "editor/EggsDlg.h"

namespace {

// The spot's centre and radius, in the About box's client pixels.
constexpr int kSpotX = 69;
constexpr int kSpotY = 30;
constexpr int kSpotRadius = 9;

}  // namespace

bool CTalEggs::IsHotSpot(int x, int y)
{
    const int dx = kSpotX - x;
    const int dy = kSpotY - y;
    return dx * dx + dy * dy <= kSpotRadius * kSpotRadius;
}

void CTalEggs::OnClick(CWnd* host, int x, int y)
{
    if (!IsHotSpot(x, y))
        return;
    CEggsDlg dialog(host);
    dialog.DoModal();
}
