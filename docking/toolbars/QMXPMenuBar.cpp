#include "docking/toolbars/QMXPMenuBar.h"

IMPLEMENT_DYNCREATE(CQMXPMenuBar, CQMXPToolBar)

CQMXPMenuBar::CQMXPMenuBar() = default;

CQMXPMenuBar::~CQMXPMenuBar() = default;

CSize CQMXPMenuBar::CalcFixedLayout(BOOL, BOOL) { return CSize(0, 0); }
