#pragma once
// CKWSplitItem: one node of a frame's split-pane tree. A pane mixes it in
// beside its window class and answers GetWnd; every geometry operation then
// goes through that window, relative to its normal-position rectangle in the
// parent's client area. The bars are the inner nodes (CKWSplitterIFace).
#include "platform/classlib/Rect.h"

#include <cstdint>

class CKWSplitterIFace;
class CWnd;

// The thickness of every split bar, in pixels.
extern int32_t g_KWSplitterThickness;

class CKWSplitItem {
public:
    CKWSplitItem();
    // Leaves the tree: the parent's link to this item is cleared.
    virtual ~CKWSplitItem();

    virtual bool CanSplit(int position, bool vertical);
    // Whether moving the edge by delta along x (or y) leaves this item at
    // least its minimum size; afterEdge: the item lies after the moving edge.
    virtual bool CanMoveEdge(int delta, bool alongX, bool afterEdge);
    virtual bool IsCollapsible();
    virtual bool IsSplitter();
    virtual int GetWidth();
    virtual int GetHeight();
    virtual CPoint GetPosition();
    virtual void GetClientRect(LPRECT rect);
    // The normal-position rectangle, in the parent window's client coordinates.
    virtual void GetRect(LPRECT rect);
    virtual void SetRect(const RECT& rect);
    // Size cx by cy, moved by (dx, dy) from the normal position unless both are 0.
    virtual void SetSize(int cx, int cy, int dx, int dy);
    virtual int GetTotalWidth();
    virtual int GetTotalHeight();
    virtual void Hide();
    virtual void Show();
    virtual void HideAll();
    virtual void ShowAll();
    virtual CWnd* GetFirstWnd();
    virtual CWnd* GetLastWnd();
    virtual void Translate(int dx, int dy, int dw, int dh);
    // The item's window; null when it has none (geometry then does nothing).
    virtual CWnd* GetWnd();
    // Moves by (dx, dy) and resizes by (dw, dh) from the normal position.
    virtual void MoveBy(int dx, int dy, int dw, int dh);
    virtual void Update();
    // One edge moves by delta: the origin with moveOrigin, the size by
    // +delta (grow) or -delta with resize.
    virtual void ShiftEdge(int delta, bool alongX, bool grow, bool moveOrigin, bool resize);
    virtual void ShiftSubtree(int delta, bool alongX, bool grow, bool moveOrigin, bool resize);

    CKWSplitterIFace* GetParentSplitter() const { return m_parent; }
    void SetParentSplitter(CKWSplitterIFace* parent) { m_parent = parent; }
    void SetCollapsible(bool collapsible) { m_collapsible = collapsible; }
    void SetMinSize(int32_t minWidth, int32_t minHeight)
    {
        m_minWidth = minWidth;
        m_minHeight = minHeight;
    }

    CKWSplitItem(const CKWSplitItem&) = delete;
    CKWSplitItem& operator=(const CKWSplitItem&) = delete;

protected:
    CKWSplitterIFace* m_parent;
    bool m_collapsible;
    int32_t m_minWidth;
    int32_t m_minHeight;
};
