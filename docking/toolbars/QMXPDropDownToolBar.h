#pragma once
// CQMXPDropDownToolBar: the tool bar a drop-down button opens. It keeps its
// own button and image sizes and its own image strips (it loads locked), so
// its commands stay out of the library's command images.
#include "docking/toolbars/QMXPToolBar.h"

class CQMXPDropDownToolBar : public CQMXPToolBar {
    DECLARE_SERIAL(CQMXPDropDownToolBar)
public:
    CQMXPDropDownToolBar();
    ~CQMXPDropDownToolBar() override;

    // As the tool bar's, always locked.
    BOOL LoadBitmap(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = TRUE,
                    UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0) override;
    BOOL LoadToolBar(UINT uiResID, UINT uiColdResID = 0, UINT uiMenuResID = 0, BOOL bLocked = TRUE,
                     UINT uiDisabledResID = 0, UINT uiMenuDisabledResID = 0, UINT uiHotResID = 0) override;
};
