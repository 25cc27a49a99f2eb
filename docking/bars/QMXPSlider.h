#pragma once
// CQMXPSlider: the thin splitter between docked panes. A slider along a
// frame edge owns the container manager of the panes docked on that side of
// it (a default slider); inner sliders sit between two containers of such a
// tree. Dragged with the left button, it draws its outline on the desktop
// within the limits the manager gives and on release moves, and the manager
// resizes the panes on both sides.
#include "docking/bars/QMXPBaseControlBar.h"

class CQMXPBarContainer;
class CQMXPBarContainerManager;
class CQMXPDockingControlBar;

// Slider styles: lies along x between panes stacked top and bottom (moves
// up and down), lies along y between panes side by side.
constexpr DWORD QMXP_SS_HORZ = 0x1;
constexpr DWORD QMXP_SS_VERT = 0x2;

class CQMXPSlider : public CQMXPBaseControlBar {
    DECLARE_DYNCREATE(CQMXPSlider)
public:
    explicit CQMXPSlider(BOOL bDefaultSlider = FALSE, CWnd* pParent = nullptr);
    ~CQMXPSlider() override;

    // Id, third limit, rectangle in the parent, visibility, style, width,
    // owns-manager flag, limits; then an owned manager's record.
    void Serialize(CArchive& ar) override;
    BOOL IsHorizontal() const override { return (m_dwSliderStyle & QMXP_SS_HORZ) != 0; }
    BOOL IsInsertTarget() const override;
    // The window's size plus the manager's whole rectangle.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    virtual void MoveSlider(CSize offset);
    virtual void AddControlBar(CQMXPDockingControlBar* pBar);
    virtual CQMXPDockingControlBar* AddRecentControlBar(CQMXPDockingControlBar* pBar);
    virtual BOOL InsertControlBar(CQMXPDockingControlBar* pBar, CQMXPDockingControlBar* pTargetBar,
                                  DWORD dwAlignment, LPCRECT lpRect = nullptr);
    virtual BOOL AddContainerManager(CQMXPDockingControlBar* pTargetBar, DWORD dwAlignment,
                                     CQMXPBarContainerManager& other, BOOL bCopy = TRUE);
    virtual BOOL AddContainerManager(CQMXPBarContainerManager& other, BOOL bCopy = TRUE);
    virtual void RemoveControlBar(CQMXPDockingControlBar* pBar);
    // The slider along one side of rect, the rest to the manager (parent coordinates).
    virtual void RepositionPanes(CRect rect, HDWP& hdwp);
    virtual BOOL ReplaceControlBar(CQMXPDockingControlBar* pOld, CQMXPDockingControlBar* pNew);
    // Shows an owning slider while its manager has a visible pane, else
    // hides it; the number of visible panes.
    virtual int CheckVisibility();
    virtual void ShowControlBar(CQMXPDockingControlBar* pBar, BOOL bShow);
    using CQMXPBaseControlBar::ShowControlBar;
    virtual BOOL IsManagerEmpty() const;
    virtual void CalcExpectedDockedRect(CWnd* pWndToDock, CPoint ptMouse, CRect& rectResult, BOOL& bDrawTab,
                                        CQMXPDockingControlBar** ppTargetBar);
    // Removes and destroys this slider when its tree is empty and unreferenced.
    virtual void RemoveIfEmpty();
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwStyleEx, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CCreateContext* pContext = nullptr);
    using CQMXPBaseControlBar::CreateEx;
    // Ends a drag; with bMove the slider moves to the outline.
    virtual void StopTracking(BOOL bMove);

    // The container that holds the pane goes into its recent dock info.
    void StoreRecentDockInfo(CQMXPDockingControlBar* pBar);
    CQMXPDockingControlBar* ControlBarFromPoint(CPoint point, int nSensitivity, BOOL bExactBar, BOOL& bIsTabArea,
                                                BOOL& bCaption);
    CQMXPDockingControlBar* GetFirstBar() const;
    void GetRootRect(CRect& rect) const;

    BOOL IsDefault() const { return m_bDefaultSlider; }
    BOOL IsAutoHideMode() const { return m_bAutoHideMode; }
    void SetAutoHideMode(BOOL bMode) { m_bAutoHideMode = bMode; }
    DWORD GetSliderStyle() const { return m_dwSliderStyle; }
    int GetWidth() const { return m_nWidth; }
    BOOL IsTracking() const { return m_bCaptured; }
    UINT GetSliderID() const { return m_nID; }
    CRect GetDragRect() const { return m_rectDragBounds; }
    CRect GetTrackingBounds() const { return m_rectTrackBounds; }
    CQMXPBarContainerManager* GetContainerManager() const { return m_pContainerManager; }
    void SetContainerManager(CQMXPBarContainerManager* pManager) { m_pContainerManager = pManager; }

    // The width of a slider made for a pane docked at a frame edge.
    static int GetDefaultWidth() { return m_nDefaultWidth; }
    // The id the next slider between panes takes.
    static int m_nNextSliderID;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcDestroy();

    UINT m_nID;
    DWORD m_dwSliderStyle;
    int m_nWidth;
    BYTE m_bCaptured;
    BOOL m_bDefaultSlider;
    BOOL m_bAutoHideMode;
    int m_nMinOffset;
    int m_nMaxOffset;
    int m_nStep;
    CRect m_rectDragBounds;
    CRect m_rectTrackBounds;
    CQMXPBarContainerManager* m_pContainerManager;
    CWnd* m_pParentWnd;

    static int m_nDefaultWidth;

    DECLARE_MESSAGE_MAP()
};
