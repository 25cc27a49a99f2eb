#pragma once
// CKWWinPanel: a child window that paints itself through the drawing
// interface and hands mouse, key, focus, size and context-menu messages to
// virtual operations. It scrolls vertically with its own scroll bar; a
// derived panel moves its contents (ScrollBy).
#include "framework/KWKeyRecord.h"
#include "platform/classlib/Wnd.h"

class IKWGraphics;

class CKWWinPanel : public CWnd {
public:
    CKWWinPanel();
    ~CKWWinPanel() override;

    // The vertical scroll bar's position; 0 without the WS_VSCROLL style.
    int GetScrollY() const;
    // Sets it (with redraw) when the window has WS_VSCROLL.
    void SetScrollY(int position);
    // Moves the contents of the rectangle by (dx, dy), clipped to it; what
    // is uncovered is invalidated and erased.
    void ScrollWindow(int dx, int dy, const RECT& rect);
    // Gives the window the keyboard focus.
    void SetFocus();

    // Default vertical scrolling: lines of one pixel, pages of the client
    // height divided by GetScrollUnit. Sets the bar and moves the contents;
    // the result says whether the panel must be redrawn (never here).
    virtual bool OnVScroll(int code, int position);
    // The divisor of the client height that makes a scroll page.
    virtual int GetScrollUnit() = 0;
    // Moves the window's contents by an offset.
    virtual void ScrollBy(int dx, int dy) {}
    // Shows the first submenu of the menu GetContextMenuId names at the
    // point (screen coordinates); nothing for id 0.
    virtual void OnContextMenu(int x, int y);
    virtual UINT GetContextMenuId() { return 0; }
    // Paints the client rectangle through the drawing object on the paint
    // device context.
    virtual void Paint(IKWGraphics& graphics, const RECT& rect, HDC dc) {}
    virtual void OnSetFocus() {}
    virtual void OnKillFocus() {}
    // Mouse handlers take client points; false passes the message on to the
    // default window procedure.
    virtual bool OnLButtonDown(int x, int y) { return false; }
    virtual bool OnLButtonUp(int x, int y) { return false; }
    virtual bool OnLButtonDblClk(int x, int y) { return false; }
    virtual bool OnRButtonDown(int x, int y) { return false; }
    virtual bool OnRButtonUp(int x, int y) { return false; }
    virtual bool OnMouseMove(int x, int y) { return false; }
    virtual bool OnKeyDown(const CKWKeyRecord& key) { return false; }
    virtual bool OnKeyUp(const CKWKeyRecord& key) { return false; }
    // After every size change.
    virtual void OnSizeChanged() {}

protected:
    afx_msg LRESULT OnLButtonDownMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonUpMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDblClkMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRButtonDownMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRButtonUpMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyDownMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyUpMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFocusMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKillFocusMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnVScrollMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnContextMenuMessage(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    // The handler's answer, or the default processing when it declined.
    LRESULT Handled(bool handled);
};
