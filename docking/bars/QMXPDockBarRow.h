#pragma once
// CQMXPDockBarRow: one row of bars in a dock bar: a strip at an offset from
// the dock bar's origin, as thick as its thickest visible bar. It keeps its
// bars in order along the row, pushes them apart where they overlap, lets
// them shrink when the row is too short and grow again when it lengthens,
// and moves a dragged bar along the row, exchanging places with the
// neighbour it passes.
#include "platform/classlib/ObList.h"
#include "platform/classlib/Rect.h"

#include <vector>

// A 16-bit Windows leftover that the system headers still define as a macro.
#ifdef GetFreeSpace
#undef GetFreeSpace
#endif

class CQMXPBaseControlBar;
class CQMXPControlBar;
class CQMXPDockBar;

// Edges of a dock bar that changed size (RepositionBars).
constexpr int QMXP_EDGE_NONE = -1;
constexpr int QMXP_EDGE_LEFT = 1;
constexpr int QMXP_EDGE_RIGHT = 2;
constexpr int QMXP_EDGE_TOP = 3;
constexpr int QMXP_EDGE_BOTTOM = 6;

class CQMXPDockBarRow : public CObject {
    DECLARE_DYNAMIC(CQMXPDockBarRow)
public:
    CQMXPDockBarRow(CQMXPDockBar* pParentDockBar, int nOffset, int nHeight);
    ~CQMXPDockBarRow() override;

    virtual BOOL Create() { return TRUE; }
    virtual void GetShrunkRect(CRect& rect) const;
    virtual int GetVisibleBarCount() const;
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // lpRect in screen coordinates gives the place along the row.
    virtual void AddControlBar(CQMXPControlBar* pControlBar, int dockMethod, LPCRECT lpRect = nullptr,
                               BOOL bAddToTheEnd = FALSE);
    // A bar coming from another row: at the cursor (method 1) or where it is.
    virtual void PlaceBarAtCursor(CQMXPControlBar* pControlBar, int dockMethod);
    virtual void RemoveControlBar(CQMXPBaseControlBar* pControlBar);
    // Drops the pointer to a bar object that is being deleted, without laying out.
    void ForgetControlBar(const CQMXPBaseControlBar* pControlBar);
    virtual int ChangeExtent(int nOffset);
    virtual void Move(int nOffset);
    // Resolves overlaps around the bar and keeps the bars inside the row.
    virtual void ArrangeBars(CQMXPControlBar* pInitialBar);
    // The dock bar changed size by nAmount at an edge (QMXP_EDGE_...).
    virtual void RepositionBars(CRect& rectNewParentBarArea, int nSide, BOOL bIncrease, int nAmount);
    virtual BOOL IsEmpty() const { return m_lstControlBars.IsEmpty(); }
    virtual void UpdateVisibleState(BOOL bDelay);
    virtual void ShowRow(BOOL bShow, BOOL bDelay);
    virtual BOOL ReplaceControlBar(CQMXPBaseControlBar* pBarOld, CQMXPBaseControlBar* pBarNew);
    virtual BOOL ShowControlBar(CQMXPBaseControlBar* pControlBar, BOOL bShow, BOOL bDelay = FALSE);
    virtual void OnResizeControlBar(CQMXPBaseControlBar* pControlBar) {}
    virtual BOOL IsVisible() const { return m_bVisible; }
    // The client length less the visible bars' lengths (full sizes with bUseFullSize).
    virtual int GetFreeSpace(BOOL bUseFullSize) const;
    virtual BOOL HasSingleRowBar() const;
    virtual void InsertBarOrdered(CQMXPControlBar* pControlBar);

    // Moves one bar by (dx, dy) along the row, exchanging places with the
    // neighbour it passes when bSwapControlBars.
    void MoveControlBar(CQMXPControlBar* pControlBar, CPoint ptOffset, BOOL bSwapControlBars, HDWP& hdwp);
    // Every visible bar takes up the row's free length; the windows follow.
    void FitBars();
    // The visible bars one after another from nStart along the row, nSpacing
    // apart; a bar that is not first in its group follows the one before
    // closely. Each lays itself out for its length.
    void LayoutBarsEndToEnd(int nStart, int nSpacing);
    // The group of the bar: back to the nearest bar first in its group (or
    // the first bar), then on until a bar last in its group.
    void GetGroupOfBar(CQMXPControlBar* pBar, CObList& lstGroup) const;
    // Every visible bar but pExclude records its full-size rectangle, or
    // with bRePlace goes back to it.
    void UpdateBarRects(CQMXPBaseControlBar* pExclude = nullptr, BOOL bRePlace = FALSE);

    void GetWindowRect(CRect& rect) const;
    void GetClientRect(CRect& rect) const;
    int GetRowHeight() const { return m_nRowHeight; }
    int GetRowOffset() const { return m_nRowOffset; }
    BOOL IsHorizontal() const { return (m_dwRowAlignment & 0xA000) != 0; }
    CQMXPDockBar* GetDockBar() const { return m_pParentDockBar; }
    const CObList& GetControlBars() const { return m_lstControlBars; }
    void SetExtra(int nExtraSpace, BOOL bExtraBeforeBars) {
        m_nExtraSpace = nExtraSpace;
        m_bExtraBeforeBars = bExtraBeforeBars;
    }

    BOOL m_bIgnoreBarVisibility;

protected:
    // A visible bar and its window in dock-bar client coordinates; the
    // arrangements work on these and then move the windows that changed.
    struct Slot {
        CQMXPControlBar* pBar;
        CRect rect;
    };
    using Slots = std::vector<Slot>;

    BOOL IsBarShown(const CQMXPBaseControlBar* pBar) const;
    Slots VisibleSlots() const;
    void ApplySlots(const Slots& slots, HDWP& hdwp, UINT nFlags = 0);
    // The slot of the bar; -1 when it is not visible here.
    static int SlotOf(const Slots& slots, const CQMXPBaseControlBar* pBar);
    // Moves each slot that overlaps the one before it (in the direction)
    // clear of it, from nStart on.
    void ResolveSlots(Slots& slots, int nStart, BOOL bForward) const;
    // From nStart on the slots move by nDelta, each first using up the gap before it.
    void PushSlots(Slots& slots, int nStart, int nDelta, BOOL bForward) const;
    // The slots beyond nFrom (in the direction) that lie off their full-size
    // places go back toward them by at most nMax each.
    void ReturnSlots(Slots& slots, int nFrom, BOOL bForward, int nMax) const;
    // Bars that can grow take the row's free length in list order.
    void ExpandStretchedBars(HDWP& hdwp);
    // Shrinks the bars from the last one until nMissing is absorbed; a bar
    // that gives less moves back by the difference.
    void ShrinkFromEnd(int nMissing, HDWP& hdwp);

    // Along the row: near edge, far edge, length and a move of a rectangle.
    int Near(const CRect& rect) const { return IsHorizontal() ? rect.left : rect.top; }
    int Far(const CRect& rect) const { return IsHorizontal() ? rect.right : rect.bottom; }
    int Length(const CRect& rect) const { return IsHorizontal() ? rect.Width() : rect.Height(); }
    void OffsetAlong(CRect& rect, int nOffset) const {
        rect.OffsetRect(IsHorizontal() ? nOffset : 0, IsHorizontal() ? 0 : nOffset);
    }
    // The bar's window and full-size rectangle in dock-bar client coordinates.
    CRect BarRect(const CQMXPBaseControlBar* pBar) const;
    static CRect BarFullRect(const CQMXPControlBar* pBar);
    // The row's length: the dock bar's client length, or the new one while it resizes.
    int RowLength() const;

    BOOL m_bVisible;
    int m_nRowHeight;
    int m_nRowOffset;
    CObList m_lstControlBars;
    DWORD m_dwRowAlignment;
    CQMXPDockBar* m_pParentDockBar;
    int m_nExtraSpace;
    BOOL m_bExtraBeforeBars;
    // The new length while the dock bar resizes; -1 otherwise.
    int m_nLengthOverride;
};
