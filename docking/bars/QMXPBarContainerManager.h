#pragma once
// CQMXPBarContainerManager: one tree of bar containers with the panes and
// sliders that belong to it. A group of panes docked at a frame edge has one
// (held by its default slider); every floating frame of several panes has
// one. It adds, inserts, removes and puts back panes, merges whole groups,
// lays the tree out, answers hit tests and slider limits, and stores the
// tree and its pane list in the docking layout.
#include "platform/classlib/ObList.h"
#include "platform/classlib/Rect.h"

#include <windows.h>

class CQMXPBarContainer;
class CQMXPDockManager;
class CQMXPDockingControlBar;
class CQMXPSlider;
class CRuntimeClass;
class CWnd;

class CQMXPBarContainerManager : public CObject {
    DECLARE_DYNCREATE(CQMXPBarContainerManager)
public:
    CQMXPBarContainerManager();
    // Deletes the tree when it owns it; its sliders forget the manager.
    ~CQMXPBarContainerManager() override;
    CQMXPBarContainerManager(const CQMXPBarContainerManager&) = delete;
    CQMXPBarContainerManager& operator=(const CQMXPBarContainerManager&) = delete;

    // The tree's record, then the pane count and each pane's id.
    void Serialize(CArchive& ar) override;

    virtual BOOL Create(CWnd* pDockSite, CQMXPSlider* pDefaultSlider, CRuntimeClass* pContainerRTC = nullptr);
    // Another manager's visible panes, with their tree, next to a pane.
    virtual BOOL AddContainerManager(CQMXPDockingControlBar* pTargetBar, DWORD dwAlignment,
                                     CQMXPBarContainerManager& other, BOOL bCopy);
    // Another manager's visible panes as the first child of the root (at the dock site).
    virtual BOOL AddContainerManager(CQMXPBarContainerManager& other, BOOL bCopy);
    virtual BOOL AddContainerManagerToTabWnd(CQMXPDockingControlBar* pTargetBar, CQMXPBarContainerManager& other);
    // The first pane.
    virtual void AddControlBar(CQMXPDockingControlBar* pBar);
    virtual CQMXPDockingControlBar* AddControlBarToRecentContainer(CQMXPDockingControlBar* pBar,
                                                                   CQMXPBarContainer* pNode);
    // The pane on the side of a listed pane: 0x1000 left, 0x2000 top,
    // 0x4000 right, 0x8000 bottom.
    virtual BOOL InsertControlBar(CQMXPDockingControlBar* pBar, CQMXPDockingControlBar* pTargetBar,
                                  DWORD dwAlignment);
    virtual int OnMoveSlider(CQMXPSlider* pSlider, int nOffset, HDWP& hdwp);
    virtual void GetWindowRect(CRect& rect) const;
    virtual void GetAvailableSpace(CRect& rect) const;
    virtual BOOL RemoveControlBarFromContainer(CQMXPDockingControlBar* pBar);
    virtual void ResizeBarContainers(CRect rect, HDWP& hdwp);
    // nEdge 1 or 2 stretch along x, others along y; the second side moves.
    virtual void StretchBarContainers(int nEdge, BOOL bGrow, int nAmount, HDWP& hdwp);
    virtual BOOL ReplaceControlBar(CQMXPDockingControlBar* pOld, CQMXPDockingControlBar* pNew);
    // How far the slider may move back (negative) and forward.
    virtual void GetMinMaxOffset(CQMXPSlider* pSlider, int& nMinOffset, int& nMaxOffset, int& nStep);
    virtual BOOL OnShowControlBar(CQMXPDockingControlBar* pBar, BOOL bShow);
    virtual BOOL IsRootContainerVisible() const;
    virtual void GetMinSize(CSize& size) const;
    virtual int GetVisibleBarCount() const;
    virtual void ShowBarCaptions(BOOL bShow);
    virtual void HideAll();
    virtual BOOL CanFloat() const;
    virtual BOOL AllowsInsertion() const;
    // The pane under the point: its tab area, its caption, or (with a
    // sensitivity) its border zone; a second pass, unless bExactBar, its
    // rectangle grown by the sensitivity.
    virtual CQMXPDockingControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, BOOL bExactBar,
                                                        BOOL& bIsTabArea, BOOL& bCaption) const;
    // In a floating frame of fewer than two visible panes: the frame's caption.
    virtual BOOL IsPointInMiniFrameCaption(CPoint point, CQMXPDockingControlBar*& pBar) const;
    virtual CQMXPDockingControlBar* GetFirstBar() const;
    virtual CWnd* GetDockSite() const { return m_pDockSite; }
    virtual CQMXPDockingControlBar* GetFirstVisibleBar() const;
    virtual void SetBarsDockState(DWORD dwValue);
    virtual void RemoveSlider(CQMXPSlider* pSlider);
    // A slider read with the tree joins this manager's sliders.
    void AdoptSlider(CQMXPSlider* pSlider);
    virtual void StoreRecentDockInfo(CQMXPDockingControlBar* pBar);
    virtual CQMXPBarContainer* FindContainer(const CQMXPDockingControlBar* pBar, BOOL& bLeft) const;

    int GetNodeCount() const;
    int GetTotalRefCount() const;
    BOOL IsEmpty() const { return m_lstControlBars.IsEmpty(); }
    BOOL IsListed(const CQMXPDockingControlBar* pBar) const;
    CQMXPDockingControlBar* FindTabbedBarBySiblingID(UINT nID);
    void RemoveNonValidBars();
    // A pane is valid while its window lives with an id other than -1, a
    // tabbed bar (id -1) while it holds tabs; an invalid one leaves the list.
    BOOL CheckAndRemoveNonValidBar(CQMXPDockingControlBar* pBar);
    void CollectVisible(CObList& lstBars, CObList* pLstSliders) const;
    void RemoveVisible();
    // A slider between panes (style 1 stacked, 2 side by side) with an id
    // from the slider class's counter (-1: the next one).
    CQMXPSlider* CreateSlider(CRect rect, DWORD dwStyle, int nID = -1);
    // The default slider checks whether it is still needed.
    void NotifyDefaultSlider();
    void CheckSliderVisibility();
    void StorePercents();
    // The part of the target's rectangle a newcomer of rectNew takes on a side.
    static void SplitRect(CRect& rectTarget, CRect& rectNew, CRect& rectSlider, DWORD dwAlignment,
                          DWORD& dwSliderStyle);
    BOOL IsAutoHideMode() const;
    // Raises the rectangle's width and height to the minimum size (right and bottom edges move).
    static void WidenToMinSize(CRect& rect, CSize sizeMin);

    CQMXPBarContainer* GetRootContainer() const { return m_pRootContainer; }
    CQMXPSlider* GetDefaultSlider() const { return m_pDefaultSlider; }
    const CObList& GetBars() const { return m_lstControlBars; }
    const CObList& GetSliders() const { return m_lstSliders; }
    // The dock manager the panes of this tree belong to.
    CQMXPDockManager* GetDockManager() const;

    // A node of the manager's class, with the manager set.
    CQMXPBarContainer* NewContainer(CQMXPDockingControlBar* pLeft, CQMXPDockingControlBar* pRight,
                                    CQMXPSlider* pSlider);

protected:
    BOOL InsertContainer(CQMXPDockingControlBar* pTargetBar, CQMXPBarContainer* pNode, DWORD dwAlignment);

    CObList m_lstControlBars;
    CObList m_lstSliders;
    CQMXPBarContainer* m_pRootContainer;
    CRuntimeClass* m_pContainerRTC;
    CQMXPSlider* m_pDefaultSlider;
    BOOL m_bDestroyRootContainer;
    CWnd* m_pDockSite;
};
