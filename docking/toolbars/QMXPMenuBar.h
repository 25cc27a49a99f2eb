#pragma once
// CQMXPMenuBar: the docking library's menu bar. Until the docking library
// draws menus itself, this stand-in takes no room and the frame keeps its
// window menu.
#include "docking/toolbars/QMXPToolBar.h"

class CQMXPMenuBar : public CQMXPToolBar {
    DECLARE_DYNCREATE(CQMXPMenuBar)
public:
    CQMXPMenuBar();
    ~CQMXPMenuBar() override;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
};
