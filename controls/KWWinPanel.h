#pragma once
// CKWWinPanel: the Windows panel window. It hands mouse, key, focus, size
// and context-menu messages to the panel's operations, paints through the
// drawing interface into a back buffer of the client size that is copied
// to the window in one piece, and scrolls vertically with its own bar.
#include "controls/KWAbstractPanel.h"
#include "platform/classlib/Wnd.h"

class CKWWinPanel : public CWnd, public CKWAbstractPanel {
public:
    CKWWinPanel();
    // Frees the back buffer and its device context.
    ~CKWWinPanel() override;

    // The panel's events, not the window's handlers of the same names.
    using CKWAbstractPanel::OnKeyDown;
    using CKWAbstractPanel::OnKeyUp;
    using CKWAbstractPanel::OnKillFocus;
    using CKWAbstractPanel::OnLButtonDblClk;
    using CKWAbstractPanel::OnLButtonDown;
    using CKWAbstractPanel::OnLButtonUp;
    using CKWAbstractPanel::OnMouseMove;
    using CKWAbstractPanel::OnRButtonDown;
    using CKWAbstractPanel::OnRButtonUp;
    using CKWAbstractPanel::OnSetFocus;

    // --- CKWAbstractPanel ---
    // Invalidates the whole client area (erasing); now: updates it at once.
    void Redraw(bool now) override;
    void Show(bool show) override;
    void Move(int x, int y) override;
    // Nothing before the window exists.
    void Resize(int width, int height) override;
    void SetBounds(int x, int y, int width, int height) override;
    void SetBounds(const RECT& rect) override;
    void SetFocus() override;
    // With redraw, when the window has WS_VSCROLL.
    void SetScrollPos(int position) override;
    // 0 without the WS_VSCROLL style.
    int GetScrollPos() override;
    // Default vertical scrolling: lines of one unit, pages of the client
    // height divided by GetScrollUnit; line down stops where the last page
    // begins, page down at the maximum. Sets the bar and moves the
    // contents; never asks for a redraw.
    bool OnVScroll(int code, int position) override;
    // Shows the first submenu of the menu GetContextMenuId names at the
    // point (screen); the command goes to the application's main window.
    void OnContextMenu(int x, int y) override;
    void ScrollWindow(int dx, int dy, const RECT& rect) override;

    // The back buffer of the size, made on the first call with its device
    // context; kept while the size stays.
    virtual void ResizeBackBuffer(int width, int height);
    bool HasBackBuffer() const { return m_buffer != nullptr; }

protected:
    // The vertical bar's state and the client height in scroll units (the
    // page); false when the window has no bar.
    bool GetVScrollState(SCROLLINFO& info, int& page);
    // Moves the vertical bar by the code (lines of lineStep, pages of the
    // client height in scroll units, the thumb to the position) and the
    // contents by the move times pixelsPerUnit. A move never goes against its
    // direction; line down stops where the last page begins when asked, else
    // at the maximum like page down. Always false.
    bool ScrollVertically(int code, int position, int lineStep, bool lineStopsAtLastPage, int pixelsPerUnit);

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
    afx_msg LRESULT OnDestroyMessage(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    // The handler's answer, or the default processing when it declined.
    LRESULT Handled(bool handled);
    void FreeBackBuffer();

    HDC m_memoryDC = nullptr;
    HBITMAP m_buffer = nullptr;
    int m_bufferWidth = 0;
    int m_bufferHeight = 0;
};
