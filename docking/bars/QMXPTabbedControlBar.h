#pragma once
// CQMXPTabbedControlBar: the ordinary tabbed group of panes, made round a
// pane when another is dropped on its caption. Its tab row lies at the
// bottom and shows only while two or more tabs are visible.
#include "docking/bars/QMXPBaseTabbedBar.h"

class CQMXPTabbedControlBar : public CQMXPBaseTabbedBar {
    DECLARE_SERIAL(CQMXPTabbedControlBar)
public:
    explicit CQMXPTabbedControlBar(BOOL bAutoDestroy = FALSE);
    ~CQMXPTabbedControlBar() override;

    // The tab row (screen) in the rectangle of its side.
    void GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const override;
    BOOL IsTabLocationBottom() const override;
    // With one visible tab the whole bar hides; the active tab hides.
    void OnPressCloseButton() override;
    // FALSE while fewer than two tabs are left.
    BOOL FloatTab(CWnd* pBar, int nTabID, int dockMethod, BOOL bHide = FALSE) override;
    BOOL DetachControlBar(CWnd* pBar, BOOL bHide = FALSE) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);

    DECLARE_MESSAGE_MAP()
};
