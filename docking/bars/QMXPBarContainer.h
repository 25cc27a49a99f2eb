#pragma once
// CQMXPBarContainer: one node of the binary tree that lays docking panes out
// side by side or one above the other. A node divides its rectangle between
// a first side (left or top) and a second side (right or bottom) with a
// slider between them; each side holds a pane or a child node. Shares are
// whole percents, kept by the panes and by the child nodes. The tree belongs
// to one bar container manager.
#include "platform/classlib/List.h"
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"

#include <windows.h>

class CQMXPBarContainerManager;
class CQMXPDockingControlBar;
class CQMXPSlider;
class CWnd;

class CQMXPBarContainer : public CObject {
    DECLARE_DYNCREATE(CQMXPBarContainer)
public:
    CQMXPBarContainer(CQMXPBarContainerManager* pManager = nullptr, CQMXPDockingControlBar* pLeftBar = nullptr,
                      CQMXPDockingControlBar* pRightBar = nullptr, CQMXPSlider* pSlider = nullptr);
    // Deletes both subtrees and destroys an inner slider's window; the panes stay.
    ~CQMXPBarContainer() override;
    CQMXPBarContainer(const CQMXPBarContainer&) = delete;
    CQMXPBarContainer& operator=(const CQMXPBarContainer&) = delete;

    // The node's record: first pane id, second pane id, slider, first
    // child, second child. Child records nest at most kMaxDepth deep.
    void Serialize(CArchive& ar) override;
    static const int kMaxDepth = 64;

    // Union of the panes' and children's rectangles (screen).
    virtual void GetWindowRect(CRect& rect, BOOL bIgnoreVisibility = FALSE) const;
    virtual void GetMinSize(CSize& size) const;
    virtual void GetMinSizeLeft(CSize& size) const;
    virtual void GetMinSizeRight(CSize& size) const;
    virtual int GetResizeStep() const;
    // Gives the node's whole rectangle to its first pane other than pExcept.
    virtual void FillNodeRect(CQMXPDockingControlBar* pExcept, BOOL bSkip);
    virtual void DeleteControlBar(CQMXPDockingControlBar* pBar);
    // nSide 0: the first side, 1: the second.
    virtual void DeleteControlBarFromSide(CQMXPDockingControlBar* pBar, int nSide);
    virtual BOOL StoreRecentDockInfo(CQMXPDockingControlBar* pBar);
    // Moves the subtree so that its top-left corner is (x, y).
    virtual void Move(int x, int y);

    void SetBar(CQMXPDockingControlBar* pBar, BOOL bLeft);
    void SetContainer(CQMXPBarContainer* pNode, BOOL bLeft);
    // nMode 0 first pane, 1 second pane, 2 slider, 3 the node itself.
    CQMXPBarContainer* FindSubContainer(const CObject* pObject, int nMode);
    void SetContainerManager(CQMXPBarContainerManager* pManager, BOOL bDeep = FALSE);
    int GetNodeCount() const;
    int GetTotalRefCount() const;
    BOOL ReplaceBarByContainer(CQMXPBarContainer* pNewNode, BOOL bFirst);
    BOOL IsLeftBar(const CQMXPDockingControlBar* pBar) const { return pBar == m_pBarLeftTop; }
    BOOL SetBarByID(UINT nID, CQMXPDockingControlBar* pBar);
    CList<UINT, UINT>* GetSavedSiblingBarIDs(const CQMXPDockingControlBar* pBar);
    CQMXPDockingControlBar* FindTabbedBarBySiblingID(UINT nID);
    void RemoveNonValidBars();
    void CheckSliderVisibility();
    void AddRef() { ++m_nRefCount; }
    void Release();
    void ReleaseEmptyContainers();
    // Folds a node with one occupant into its parent and deletes it.
    void ReleaseEmptyContainer();

    BOOL IsContainerEmpty() const;
    BOOL HasVisibleBars() const;
    // Lays the subtree out in rect (dock-site client coordinates).
    void ResizeContainer(CRect rect, HDWP& hdwp, BOOL bRepaint = FALSE);
    // Recomputes the shares from the present rectangles.
    void StorePercents();
    // The node's slider was dragged by nOffset.
    int MoveSlider(int nOffset, HDWP& hdwp);
    // Moves the node's first or second outer edge by nOffset along x
    // (bHorz) or y; a positive offset grows the node at that edge.
    int StretchContainer(int nOffset, BOOL bHorz, BOOL bSecondSide, BOOL bMoveSlider, HDWP& hdwp);
    // A copy that takes over the visible panes and slider, recursively.
    CQMXPBarContainer* CopyVisible(CQMXPBarContainer* pParentCopy);
    // Puts a pane back at its remembered place; the pane (or the bar that
    // now holds it), none when that failed.
    CQMXPDockingControlBar* AddRecentControlBar(CQMXPDockingControlBar* pBar);

    BOOL IsSliderHorz() const;
    // A loaded tree: each side takes the room its node's slider leaves it
    // (rectNode in the dock site's client coordinates), so that the layout
    // measures the stored shares.
    void PlaceSidesBySlider(const CRect& rectNode);
    int GetSliderThickness() const;
    // Every live node; a record that names a node checks it first.
    static BOOL IsLive(const CQMXPBarContainer* pNode);

    CQMXPDockingControlBar* m_pBarLeftTop;
    CQMXPDockingControlBar* m_pBarRightBottom;
    CQMXPSlider* m_pSlider;
    CQMXPBarContainer* m_pLeftContainer;
    CQMXPBarContainer* m_pRightContainer;
    CQMXPBarContainer* m_pParentContainer;
    CQMXPBarContainerManager* m_pContainerManager;
    int m_nPercent;
    BOOL m_bSavedSliderHorz;
    int m_nRefCount;
    DWORD m_dwSavedSliderStyle;
    CRect m_rectSavedSlider;
    UINT m_nSavedLeftBarID;
    UINT m_nSavedRightBarID;
    UINT m_nSavedSliderID;
    CList<UINT, UINT> m_lstSavedSiblingBarIDsLeft;
    CList<UINT, UINT> m_lstSavedSiblingBarIDsRight;

protected:
    void SerializeNode(CArchive& ar, int nDepth);
    // A side's pane id; a tabbed bar follows with its tabs, object, style and tab window.
    static void StoreSide(CArchive& ar, CQMXPDockingControlBar* pBar);
    // A tabbed bar is made again at once under the dock site; one that cannot be made leaves the side empty.
    void LoadTabbedSide(CArchive& ar, BOOL bLeft);
    // Layout uses hidden panes as present while the group is auto-hidden.
    BOOL IsAutoHide() const;
    BOOL IsBarShown(const CQMXPDockingControlBar* pBar) const;
    BOOL IsChildShown(const CQMXPBarContainer* pNode) const;
    // The present rectangle and minimum size of a side (screen).
    void MeasureSide(BOOL bLeft, CRect& rect, CSize& sizeMin) const;
    // The node's rectangle and both sides' (screen).
    void MeasureSides(CRect& rectNode, CRect& rectLeft, CRect& rectRight) const;
    BOOL IsSideEmpty(BOOL bLeft) const;
    // The stored share of a side: its pane's, else its child's, else 50.
    int StoredPercent(BOOL bLeft) const;
    void SetSidePercent(BOOL bLeft, int nPercent);
    CWnd* DockSite() const;
    void StretchBar(CQMXPDockingControlBar* pBar, int nOffset, BOOL bHorz, BOOL bSecondSide);
    // Climbs to the first ancestor with content and closes the gap pBar left.
    void CloseGapUpward(CQMXPDockingControlBar* pBar, HDWP& hdwp);
};
