#pragma once
// CKWPanel: the framework panel: a CKWWinPanel whose scroll unit is one
// pixel, whose contents move by an offset, which holds the mouse from a
// left-button press until its release and starts a drag once the mouse has
// moved more than 5 pixels from the press.
#include "controls/KWWinPanel.h"

class CKWPanel : public CKWWinPanel {
public:
    CKWPanel();
    ~CKWPanel() override;

    // Invalidates only when now is true; always updates the window.
    void Redraw(bool now) override;
    int GetScrollUnit() override { return 1; }
    // Nothing for (0, 0). A move smaller than the client area scrolls the
    // contents and repaints the uncovered strip at once; a larger one
    // repaints the whole client area.
    void ScrollBy(int dx, int dy) override;
    // Remembers the point and captures the mouse.
    bool OnLButtonDown(int x, int y) override;
    // Releases the panel's capture; false when it had none.
    bool OnLButtonUp(int x, int y) override;
    // While captured: beyond 5 pixels from the press the capture goes and
    // BeginDrag runs from the press point.
    bool OnMouseMove(int x, int y) override;

    // A move of this distance from the press, or less, starts no drag.
    static constexpr double kDragDistance = 5.0;

protected:
    CPoint m_pressPoint;
};
