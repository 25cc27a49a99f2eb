#pragma once
// CKWAbstractPanel: the platform-neutral side of a panel: a window that
// paints itself through the drawing interface, scrolls vertically and gets
// its mouse, key, focus, size and context-menu events as operations that
// answer whether they handled them. The Windows panel (CKWWinPanel)
// implements the window operations; derived panels lay out and paint.
#include "controls/KWDragDropPane.h"
#include "framework/KWKeyRecord.h"

#include <windows.h>

class IKWGraphics;

class CKWAbstractPanel : public CKWDragDropPane {
public:
    ~CKWAbstractPanel() override = default;

    // Invalidates the panel; now: updates it at once.
    virtual void Redraw(bool now) = 0;
    virtual void Show(bool show) = 0;
    virtual void Move(int x, int y) = 0;
    virtual void Resize(int width, int height) = 0;
    virtual void SetBounds(int x, int y, int width, int height) = 0;
    virtual void SetBounds(const RECT& rect) = 0;
    virtual void SetFocus() = 0;
    // The vertical scroll bar's position (0 and nothing without one).
    virtual void SetScrollPos(int position) = 0;
    virtual int GetScrollPos() = 0;
    // A scroll-bar code with its position; true asks for a full redraw.
    virtual bool OnVScroll(int code, int position) = 0;
    // Pixels per scroll unit.
    virtual int GetScrollUnit() = 0;
    virtual void RecalcLayout() {}
    // Screen point; the menu of GetContextMenuId.
    virtual void OnContextMenu(int x, int y) = 0;
    virtual UINT GetContextMenuId() { return 0; }
    virtual void UpdateScrollBars() {}
    // The client rectangle and the region to repaint (the whole client area
    // when nothing else was invalid); the graphics draw into the back buffer.
    virtual void Paint(IKWGraphics& graphics, const RECT& client, HRGN region) {}
    virtual void OnSetFocus() {}
    virtual void OnKillFocus() {}
    // Mouse events with client points; false passes the message on.
    virtual bool OnLButtonDown(int x, int y) { return false; }
    virtual bool OnLButtonUp(int x, int y) { return false; }
    virtual bool OnLButtonDblClk(int x, int y) { return false; }
    virtual bool OnRButtonDown(int x, int y) { return false; }
    virtual bool OnMouseMove(int x, int y) { return false; }
    virtual bool OnRButtonUp(int x, int y) { return false; }
    virtual bool OnKeyUp(const CKWKeyRecord& key) { return false; }
    virtual bool OnKeyDown(const CKWKeyRecord& key) { return false; }
    // After every size message.
    virtual void OnSizeChanged() {}
    // Moves the contents by an offset.
    virtual void ScrollBy(int dx, int dy) {}
    // Moves the pixels of the rectangle; what is uncovered is invalidated and erased.
    virtual void ScrollWindow(int dx, int dy, const RECT& rect) = 0;
};
