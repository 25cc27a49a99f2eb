#include "docking/toolbars/QMXPDropDownToolBar.h"

IMPLEMENT_SERIAL(CQMXPDropDownToolBar, CQMXPToolBar, VERSIONABLE_SCHEMA | 1)

CQMXPDropDownToolBar::CQMXPDropDownToolBar() = default;

CQMXPDropDownToolBar::~CQMXPDropDownToolBar() = default;

BOOL CQMXPDropDownToolBar::LoadBitmap(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL,
                                      UINT uiDisabledResID, UINT uiMenuDisabledResID) {
    return CQMXPToolBar::LoadBitmap(uiResID, uiColdResID, uiMenuResID, TRUE, uiDisabledResID, uiMenuDisabledResID);
}

BOOL CQMXPDropDownToolBar::LoadToolBar(UINT uiResID, UINT uiColdResID, UINT uiMenuResID, BOOL,
                                       UINT uiDisabledResID, UINT uiMenuDisabledResID, UINT uiHotResID) {
    return CQMXPToolBar::LoadToolBar(uiResID, uiColdResID, uiMenuResID, TRUE, uiDisabledResID, uiMenuDisabledResID,
                                     uiHotResID);
}
