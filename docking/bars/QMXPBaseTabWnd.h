#pragma once
// CQMXPBaseTabWnd: the window that holds a row of tabs, each showing one
// child window of which only the active one is shown. It keeps the tabs
// with their labels, images, colours, visibility and detach permission,
// the active tab, the tabs' tool tips, renaming a tab in place, dragging a
// tab along the row (swapping) and out of it (detaching into a floating
// pane), the tab state of a stored layout, and a drop target for tool-bar
// buttons dragged while the tool bars are customised. Where the tabs lie
// and how they look is the derived windows' (the tab strip).
#include "docking/bars/QMXPTabInfo.h"
#include "platform/classlib/Array.h"
#include "platform/classlib/Edit.h"
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/ImageList.h"
#include "platform/classlib/List.h"
#include "platform/classlib/OleDropTarget.h"
#include "platform/classlib/ToolTipCtrl.h"
#include "platform/classlib/Wnd.h"

class CQMXPBaseTabWnd;
class CQMXPDockingControlBar;

// Tab row locations.
constexpr int QMXP_LOCATION_BOTTOM = 0;
constexpr int QMXP_LOCATION_TOP = 1;

class CQMXPTabDropTarget : public COleDropTarget {
public:
    CQMXPTabDropTarget() = default;
    // Only while tool bars are customised and the data is a tool-bar button.
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;

    CQMXPBaseTabWnd* m_pOwner = nullptr;

private:
    static BOOL Accepts(COleDataObject* pDataObject);
};

class CQMXPBaseTabWnd : public CWnd {
    DECLARE_DYNAMIC(CQMXPBaseTabWnd)
public:
    CQMXPBaseTabWnd();
    ~CQMXPBaseTabWnd() override;

    // The tabs: count, then per tab label, visible, control id, detachable,
    // text and background colours; then the active tab and the location.
    // Loading keeps them for ApplyRestoredTabs.
    void Serialize(CArchive& ar) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    virtual BOOL IsPtInTabArea(CPoint point) const = 0;
    virtual void GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const = 0;
    virtual BOOL SetImageList(HIMAGELIST hImageList);
    virtual BOOL SetImageList(UINT uiID, int cx = 15, COLORREF clrTransp = RGB(255, 0, 255));
    virtual void SetTabsHeight();
    virtual int GetTabsHeight() const { return m_nTabsHeight; }
    virtual void RecalcLayout() = 0;
    virtual void AddTab(CWnd* pTabWnd, UINT uiResTabLabel, UINT uiImageId = static_cast<UINT>(-1),
                        BOOL bDetachable = TRUE);
    virtual void AddTab(CWnd* pTabWnd, LPCWSTR lpszTabLabel, UINT uiImageId = static_cast<UINT>(-1),
                        BOOL bDetachable = TRUE);
    virtual void InsertTab(CWnd* pNewWnd, UINT uiResTabLabel, int nInsertAt, UINT uiImageId = static_cast<UINT>(-1),
                           BOOL bDetachable = TRUE);
    virtual void InsertTab(CWnd* pNewWnd, LPCWSTR lpszTabLabel, int nInsertAt,
                           UINT uiImageId = static_cast<UINT>(-1), BOOL bDetachable = TRUE);
    virtual BOOL RemoveTab(int iTab, BOOL bRecalcLayout = TRUE);
    virtual void RemoveAllTabs();
    // dockMethod 1 dragged out of the row, 2 double click, 0 asked by the
    // tabbed bar; iTab -1 the active tab.
    virtual BOOL DetachTab(int dockMethod, int iTab = -1, BOOL bHide = FALSE);
    virtual int GetVisibleTabsNum() const;
    virtual BOOL ShowTab(int iTab, BOOL bShow = TRUE, BOOL bRecalcLayout = TRUE, BOOL bActivate = FALSE);
    virtual int GetTabsNum() const { return m_iTabsNum; }
    virtual CWnd* GetTabWnd(int iTab) const;
    virtual CWnd* GetTabContent(int iTab) const;
    virtual BOOL GetTabRect(int iTab, CRect& rect) const;
    virtual BOOL GetTabLabel(int iTab, CString& strLabel) const;
    virtual BOOL SetTabLabel(int iTab, const CString& strLabel);
    virtual UINT GetTabIcon(int iTab) const;
    virtual BOOL SetTabIcon(int iTab, UINT uiIcon);
    virtual BOOL SetTabHicon(int iTab, HICON hIcon);
    virtual HICON GetTabHicon(int iTab) const;
    virtual COLORREF GetTabBkColor(int iTab) const;
    virtual BOOL SetTabBkColor(int iTab, COLORREF color = static_cast<COLORREF>(-1));
    virtual COLORREF GetTabTextColor(int iTab) const;
    virtual BOOL SetTabTextColor(int iTab, COLORREF color = static_cast<COLORREF>(-1));
    virtual BOOL IsTabDetachable(int iTab) const;
    virtual BOOL EnableTabDetach(int iTab, BOOL bEnable);
    virtual BOOL StartRenameTab(int iTab);
    virtual BOOL RenameTab();
    virtual BOOL OnRenameTab(int, CString&) { return TRUE; }
    virtual void EnableInPlaceEdit(BOOL bEnable) = 0;
    virtual void AdjustEditRect(CRect& rect) const = 0;
    virtual int GetActiveTab() const { return m_iActiveTab; }
    virtual CWnd* GetActiveWnd() const;
    virtual BOOL SetActiveTab(int iTab) = 0;
    virtual int GetTabFromPoint(CPoint& pt) const;
    virtual int GetTabFromHwnd(HWND hwnd) const;
    virtual BOOL EnsureVisible(int) { return FALSE; }
    virtual void SetActiveTabColor(COLORREF clr);
    virtual void SetActiveTabTextColor(COLORREF clr) { m_clrActiveTabFg = clr; }
    virtual COLORREF GetActiveTabColor() const;
    virtual COLORREF GetActiveTabTextColor() const;
    virtual CSize GetImageSize() const { return m_sizeImage; }
    virtual CImageList* GetImageList() const;
    virtual void SetTabBorderSize(int nTabBorderSize, BOOL bRepaint = TRUE);
    virtual int GetTabBorderSize() const { return GetTabsHeight() > 0 ? m_nTabBorderSize : 0; }
    virtual CWnd* IsPtInTabsAreaGap(CPoint point) = 0;
    virtual void ApplyRestoredTabs(BOOL bReorder);
    virtual CWnd* GetFirstVisibleTab(int& iTabNum) const;
    virtual CWnd* GetLastVisibleTab(int& iTabNum) const;
    virtual CSize GetMaxWindowSize() const;
    virtual BOOL IsTabVisible(int iTab) const;
    virtual BOOL IsFlatTab() const { return FALSE; }
    virtual BOOL IsFlatFrame() const { return FALSE; }
    virtual BOOL IsInPlaceEdit() const { return m_bIsInPlaceEdit; }
    virtual BOOL IsHideSingleTab() const { return m_bHideSingleTab; }
    virtual void HideSingleTab(BOOL bHide = TRUE);
    virtual BOOL OnDrop(COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
    virtual DROPEFFECT OnDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
    virtual void OnDragLeave() {}
    virtual DROPEFFECT OnDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
    virtual void CleanUp();
    virtual int GetTabIndex(int iTab) const { return iTab == -1 ? m_iActiveTab : iTab; }
    // A detachable window that is not a docking pane goes into a wrapper pane.
    virtual CWnd* CreateWrapper(CWnd* pWndToWrap, LPCWSTR lpszTabLabel, BOOL bDetachable);

    // Ampersands of flat tabs show as themselves; redraws when asked.
    void SetDrawOption(BOOL bNoPrefix, BOOL bRedraw = TRUE);
    BOOL IsDrawNoPrefix() const { return m_bLabelNoPrefix; }
    int GetLocation() const { return m_location; }
    int GetCurTab() const { return m_iCurTab; }
    int GetHighlightedTab() const { return m_iHighlighted; }
    BOOL IsTabDragging() const { return m_bTabDragging; }
    int GetRestoredActiveTab() const { return m_nRestoredActiveTab; }
    const CList<CQMXPRestoredTabInfo, const CQMXPRestoredTabInfo&>& GetRestoredTabs() const {
        return m_lstRestoredTabInfo;
    }
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }
    CEdit* GetInPlaceEdit() const { return m_pInPlaceEdit; }
    // The next tool id a tab takes.
    int GetNextTabID() const { return m_nNextTabID; }
    void EnableActivateLastOnRemove(BOOL bEnable = TRUE) { m_bActivateLastOnRemove = bEnable; }
    void EnableHighlightTabs(BOOL bEnable = TRUE) { m_bHighLightTabs = bEnable; }
    void EnableTabSwap(BOOL bEnable = TRUE) { m_bEnableTabSwap = bEnable; }
    void EnableWrapper(BOOL bEnable = TRUE) { m_bEnableWrapper = bEnable; }
    void SetAutoDestroyWindow(BOOL bAuto) { m_bAutoDestroyWindow = bAuto; }
    BOOL IsAutoDestroyWindow() const { return m_bAutoDestroyWindow; }
    // Registered with OLE at creation when OLE is running.
    CQMXPTabDropTarget& GetDropTarget() { return m_DropTarget; }
    void SetActivateOnBtnUp(BOOL bOnUp) { m_bActivateOnBtnUp = bOnUp; }
    void SetWrapperRTC(CRuntimeClass* pRTC) { m_pWrapperRTC = pRTC; }
    // The tab whose window has the control id; -1 when none.
    int GetTabFromID(UINT nID) const;
    // The tab record by index; none for a bad index.
    CQMXPTabInfo* GetTabInfo(int iTab) const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();

    BOOL IsValidTab(int iTab) const { return iTab >= 0 && iTab < m_iTabsNum; }
    // The first visible tab at or after iFrom, else the nearest one before; -1 when none.
    int VisibleTabNear(int iFrom) const;
    // "QMXM_ONCHANGE_ACTIVE_TAB" to the parent.
    void NotifyActiveTabChanged(LPARAM lParam = 0);
    void InvalidateTab(int iTab);
    // Ends a rename; applies it with bApply (FALSE when that failed).
    BOOL EndRename(BOOL bApply);
    // Activates a highlighted tab clicked in the row and tells the parent.
    void ActivateClickedTab(int iTab, CPoint point);

    BOOL m_bEnableWrapper;
    BOOL m_bActivateLastOnRemove;
    BOOL m_bHighLightTabs;
    int m_location;
    CArray<CQMXPTabInfo*, CQMXPTabInfo*> m_arTabs;
    int m_iTabsNum;
    int m_iActiveTab;
    int m_iTabBeforeDrag;
    CImageList m_Images;
    HIMAGELIST m_hImageList;
    CSize m_sizeImage;
    CToolTipCtrl m_ToolTip;
    int m_iCurTab;
    int m_nNextTabID;
    int m_nTabBorderSize;
    int m_nTabsHeight;
    BOOL m_bAutoDestroyWindow;
    BOOL m_bHideInactiveWindow;
    int m_iHighlighted;
    int m_iPressed;
    BOOL m_bActivateOnBtnUp;
    BOOL m_bEnableTabSwap;
    BOOL m_bHideSingleTab;
    COLORREF m_clrActiveTabBk;
    COLORREF m_clrActiveTabFg;
    CBrush m_brActiveTab;
    CFont m_fntTabs;
    CFont m_fntTabsBold;
    BOOL m_bLabelNoPrefix;
    int m_iEditedTab;
    CEdit* m_pInPlaceEdit;
    BOOL m_bIsInPlaceEdit;
    BOOL m_bTabDragging;
    CPoint m_ptDragStart;
    int m_nDragOffset;
    CList<CQMXPRestoredTabInfo, const CQMXPRestoredTabInfo&> m_lstRestoredTabInfo;
    int m_nRestoredActiveTab;
    int m_nRestoredLocation;
    CRuntimeClass* m_pWrapperRTC;
    CQMXPTabDropTarget m_DropTarget;

    DECLARE_MESSAGE_MAP()
};
