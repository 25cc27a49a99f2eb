#pragma once
// CKWSplitterIFace: an inner node of the split-pane tree, a bar with two
// children side by side (vertical bar) or stacked (horizontal bar). It lays
// its children out, moves its bar between them, and collapses and expands
// one side. The bar's window and drawing come from the class that
// implements it (the framework's splitter window).
#include "framework/KWSplitItem.h"

class CWnd;
class IKWGraphics;

class CKWSplitterIFace : public CKWSplitItem {
public:
    explicit CKWSplitterIFace(bool vertical);
    // Unlinks the children that still point here and deletes the child splitters.
    ~CKWSplitterIFace() override;

    bool CanMoveEdge(int delta, bool alongX, bool afterEdge) override;
    bool IsCollapsible() override;
    bool IsSplitter() override;
    // Shares the change of extent between the children, in proportion to their extents.
    void SetSize(int cx, int cy, int dx, int dy) override;
    int GetTotalWidth() override;
    int GetTotalHeight() override;
    void Hide() override;
    void Show() override;
    void HideAll() override;
    void ShowAll() override;
    void Update() override;
    // The bar's own window moves only through MoveBar and ShiftSubtree.
    void ShiftEdge(int delta, bool alongX, bool grow, bool moveOrigin, bool resize) override;
    void ShiftSubtree(int delta, bool alongX, bool grow, bool moveOrigin, bool resize) override;

    // The bar moves by delta: the first child grows, the second moves and
    // shrinks; the kept ratio follows.
    virtual void MoveBar(int delta, bool vertical);
    virtual bool IsVertical();
    virtual bool IsChildCollapsible(bool first);
    // Collapses the first (or second) side, the other when that one is not collapsible.
    virtual void Collapse(bool first);
    virtual bool IsCollapsed();
    // Gives the first child back its kept share of the whole.
    virtual void Expand();
    virtual void HideBar() = 0;
    virtual void ShowBar() = 0;
    // The range the bar may be dragged over, in the parent window's client coordinates.
    virtual void GetDragLimits(int& minimum, int& maximum) = 0;
    // The nearest splitter above this one with that orientation; null when none.
    virtual CKWSplitterIFace* FindAncestor(bool vertical);
    virtual void PlaceBar(int dx, int dy, int cx, int cy) = 0;
    // Makes the bar's window; true when it was made.
    virtual bool CreateBar(const RECT& rect, CWnd* parentWnd, UINT id, bool visible) = 0;
    virtual void DrawBar(IKWGraphics* graphics) = 0;

    CKWSplitItem* GetFirst() const { return m_first; }
    CKWSplitItem* GetSecond() const { return m_second; }
    void SetChildren(CKWSplitItem* first, CKWSplitItem* second);
    // Puts replacement where child was.
    void ReplaceChild(CKWSplitItem* child, CKWSplitItem* replacement);
    // A child leaves the tree (it is being destroyed).
    void ForgetChild(CKWSplitItem* child);
    double GetRatio() const { return m_ratio; }
    void SetMoveBarFirst(bool moveBarFirst) { m_moveBarFirst = moveBarFirst; }

protected:
    // A child's extent along (or across) this splitter's axis, subtrees included.
    int AlongAxis(CKWSplitItem* item);

    CKWSplitItem* m_first;
    CKWSplitItem* m_second;
    bool m_vertical;
    double m_ratio;
    bool m_moveBarFirst;
};
