#include "docking/bars/QMXPDockingControlBar.h"

IMPLEMENT_DYNCREATE(CQMXPDockingControlBar, CQMXPControlBar)
IMPLEMENT_DYNCREATE(CQMXPDummyDockingControlBar, CQMXPDockingControlBar)

CQMXPDockingControlBar::CQMXPDockingControlBar() = default;

CQMXPDockingControlBar::~CQMXPDockingControlBar() = default;

BOOL CQMXPDockingControlBar::CanAcceptBar(const CQMXPBaseControlBar* pBar) const {
    if (pBar == nullptr)
        return FALSE;
    if (pBar->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar)))
        return TRUE;
    CWnd* pParent = pBar->GetSafeHwnd() != nullptr ? pBar->GetParent() : nullptr;
    return pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CQMXPDockingControlBar));
}
