#pragma once
// CKWPanel: the framework panel: a CKWWinPanel whose scroll unit is one
// pixel and whose contents move by an offset.
#include "controls/KWWinPanel.h"

class CKWPanel : public CKWWinPanel {
public:
    CKWPanel();
    ~CKWPanel() override;

    int GetScrollUnit() override { return 1; }
    // Nothing for (0, 0). A move smaller than the client area scrolls the
    // contents and repaints the uncovered strip at once; a larger one
    // repaints the whole client area.
    void ScrollBy(int dx, int dy) override;
};
