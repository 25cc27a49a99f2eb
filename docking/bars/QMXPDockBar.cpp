#include "docking/bars/QMXPDockBar.h"

IMPLEMENT_DYNCREATE(CQMXPDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CQMXPDockBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQMXPDockBar::CQMXPDockBar() = default;

CQMXPDockBar::~CQMXPDockBar() = default;

void CQMXPDockBar::OnSize(UINT, int, int) { Default(); }
