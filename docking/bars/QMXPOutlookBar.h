#pragma once
// CQMXPOutlookBar: a docking pane whose pages are stacked as full-width
// page buttons (its tab window is a CQMXPOutlookWnd); a click on a button
// opens that page. Pages are usually outlook bar panes, but any docking
// pane can be one. Custom pages (outlook bar panes made at run time) keep
// their ids and names in the registry and come back at the next start.
// CQMXPOutlookBarDockingPane wraps plain windows added as detachable pages;
// such panes docked onto each other form an outlook bar.
#include "docking/bars/QMXPBaseTabbedBar.h"
#include "docking/bars/QMXPDockingCBWrapper.h"
#include "platform/classlib/ObList.h"

class CQMXPOutlookBar : public CQMXPBaseTabbedBar {
    DECLARE_SERIAL(CQMXPOutlookBar)
public:
    CQMXPOutlookBar();
    ~CQMXPOutlookBar() override;

    // No caption (the page buttons name the pages), tabbed style 0x40; with
    // control-bar style 0x4 it docks on every side and to its frame, else
    // the frame's dock manager takes it as a plain bar.
    virtual BOOL Create(LPCWSTR lpszLabel, CWnd* pParentWnd, const CRect& rect, UINT nID, DWORD dwStyle,
                        DWORD dwControlBarStyle, CCreateContext* pContext = nullptr);

    BOOL CanAcceptBar(const CQMXPBaseControlBar* pBar) const override;
    // The tabbed bar's state, then the custom pages: key "QMXPOutlookBar-<id>"
    // or, with an index, "sQMXPOutlookBar-<id><index in hex>" after the section.
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    void GetTabArea(CRect& rectTabAreaTop, CRect& rectTabAreaBottom) const override;
    int GetDockingStatus(CPoint point, int nSensitivity) override;
    BOOL CanBeDestroyedWhenEmpty() const override { return CanFloat(); }
    // Hook for the page scroll buttons; a derived bar scrolls its pages.
    virtual void OnScroll(BOOL bDown) {}

    int GetCustomPageCount() const { return static_cast<int>(m_lstCustomPages.GetCount()); }
    // The registry key of the custom pages.
    CString GetCustomPagesKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) const;

    // Custom page ids start here; each id is used by at most one page.
    static constexpr UINT kFirstCustomPageID = 0xF000;
    static BOOL IsCustomPageIDUsed(UINT uiID);

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();

    // Destroys the custom pages and frees their ids.
    void RemoveCustomPages();

    CObList m_lstCustomPages;

    DECLARE_MESSAGE_MAP()
};

class CQMXPOutlookBarDockingPane : public CQMXPDockingCBWrapper {
    DECLARE_SERIAL(CQMXPOutlookBarDockingPane)
public:
    CQMXPOutlookBarDockingPane();
    ~CQMXPOutlookBarDockingPane() override;

    BOOL CanFloat() const override { return CQMXPBaseControlBar::CanFloat(); }
    BOOL CreateEx(DWORD dwStyleEx, LPCWSTR lpszCaption, CWnd* pParentWnd, const CRect& rect, BOOL bHasCaption,
                  UINT nID, DWORD dwStyle, DWORD dwTabbedStyle, DWORD dwControlBarStyle,
                  CCreateContext* pContext = nullptr) override;
    using CQMXPDockingCBWrapper::CreateEx;

protected:
    afx_msg void OnNcDestroy();

    BOOL m_bCreated;

    DECLARE_MESSAGE_MAP()
};
