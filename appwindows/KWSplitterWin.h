#pragma once
// CKWSplitterWin: the window of one bar of the split-pane tree, at the same
// time the tree's inner node. The user drags it (a ghost line follows the
// mouse on the screen, within the limits of the parent and of an enclosing
// bar of the same orientation, and never makes a pane smaller than its
// minimum) and double-clicks it to collapse one side or expand it again.
#include "framework/KWSplitterIFace.h"
#include "platform/classlib/Wnd.h"

class CKWSplitterWin : public CWnd, public CKWSplitterIFace {
    DECLARE_DYNAMIC(CKWSplitterWin)
public:
    // The position and the extent across the bar are those of the split
    // that makes it; the bar takes its place from CreateBar's rectangle.
    CKWSplitterWin(int position, bool vertical, int extent);
    ~CKWSplitterWin() override;

    // The controls factory's maker of bars.
    static CKWSplitterIFace* Make(int position, bool vertical, int extent);

    // --- CKWSplitterIFace ---
    CWnd* GetWnd() override;
    void Update() override;
    void HideBar() override;
    void ShowBar() override;
    void GetDragLimits(int& minimum, int& maximum) override;
    void PlaceBar(int dx, int dy, int cx, int cy) override;
    bool CreateBar(const RECT& rect, CWnd* parentWnd, UINT id, bool visible) override;
    void DrawBar(IKWGraphics* graphics) override;

    virtual void ShowBarWindow(bool show);
    // Moves the bar window by delta along its axis.
    virtual void OffsetBar(int delta);

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    // XOR: drawing the line a second time at the same offset erases it.
    void DrawGhostLine(int offset);
    void ReleaseDragDC();
    // The point along the bar's axis in the parent's client coordinates.
    int AlongAxisInParent(CPoint point);

    CPoint m_pressPoint;
    HDC m_dragDC;
    int m_dragOffset;
    HPEN m_dragPen;
    HGDIOBJ m_oldPen;
};
