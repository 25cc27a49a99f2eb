#include "docking/toolbars/QMXPBaseToolBar.h"

IMPLEMENT_DYNCREATE(CQMXPBaseToolBar, CQMXPControlBar)

CQMXPBaseToolBar::CQMXPBaseToolBar() = default;

CQMXPBaseToolBar::~CQMXPBaseToolBar() = default;

void CQMXPBaseToolBar::OnAfterChangeParent(CWnd*) {}

void CQMXPBaseToolBar::GetMinSize(CSize& size) const { size = IsHorizontal() ? CSize(40, 16) : CSize(16, 40); }

void CQMXPBaseToolBar::OnAfterStretch(int nDelta) {
    // The width before the stretch against the client width now: a change
    // of height alone leaves the buttons where they were.
    CRect rectClient;
    GetClientRect(&rectClient);
    const int cxBefore = rectClient.Width() - (IsHorizontal() ? nDelta : 0);
    if (cxBefore != rectClient.Width())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
