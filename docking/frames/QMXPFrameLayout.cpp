#include "docking/frames/QMXPFrameLayout.h"

#include "docking/bars/QMXPDockManager.h"
#include "platform/classlib/FrameWnd.h"

void QMXPAdjustClientArea(CFrameWnd* pFrame, const CQMXPDockManager& dockManager) {
    if (pFrame->GetSafeHwnd() == nullptr)
        return;
    CRect rectBounds;
    dockManager.GetClientAreaBounds(rectBounds);
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault, nullptr, &rectBounds);
}
