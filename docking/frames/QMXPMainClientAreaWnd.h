#pragma once
// CQMXPMainClientAreaWnd: subclasses the MDI client of the library's MDI
// main frame, so that the frame may paint the client's background and the
// shared menus of the document frames go to the frame's menu bar instead
// of a Windows menu. With MDI tabs on it shows the document windows as
// tabs along the client, which follow them: added, retitled, given new
// icons, activated and removed with them.
#include "docking/bars/QMXPTabWnd.h"
#include "platform/classlib/ImageList.h"
#include "platform/classlib/Map.h"
#include "platform/classlib/Wnd.h"

// Posted or sent to the MDI client: the tabs follow the document windows.
constexpr UINT QMXPM_UPDATE_MDI_TABS = 0x0465;

// The window's small icon, else its class's; none when it has neither.
HICON QMXPGetSmallIcon(HWND hWnd);

class CQMXPMainClientAreaWnd : public CWnd {
    DECLARE_DYNCREATE(CQMXPMainClientAreaWnd)
public:
    CQMXPMainClientAreaWnd();
    ~CQMXPMainClientAreaWnd() override;

    // The tab strip takes the rectangle and the client its content area;
    // without tabs the client takes it and minimised children keep their
    // distance to the bottom edge.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

    // A tab for each shown document window, in window order; windows that
    // are hidden lose theirs. Windows with the same icon share its image.
    void UpdateTabs();
    // The tab that shows the window becomes the active one.
    void SetActiveTab(HWND hWnd);
    // The frame switches the tabs on or off.
    void EnableMDITabs(BOOL bEnable);
    BOOL AreTabsEnabled() const { return m_bTabIsEnabled; }
    CQMXPTabWnd& GetTabWnd() { return m_wndTab; }
    const CImageList& GetTabIcons() const { return m_TabIcons; }

protected:
    void PreSubclassWindow() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSetMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshMenu(WPARAM wParam, LPARAM lParam);
    // The frame is not redrawn while a document window goes, then at once;
    // the window's tab goes first and never comes back.
    afx_msg LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateTabs(WPARAM wParam, LPARAM lParam);

    // The image of the icon in the tab icons, added when new; -1 for none.
    int TabIconIndex(HICON hIcon);

    CQMXPTabWnd m_wndTab;
    int m_nTabLocation = QMXP_LOCATION_BOTTOM;
    BOOL m_bTabIsEnabled = FALSE;
    CImageList m_TabIcons;
    BOOL m_bTabIcons = TRUE;
    BOOL m_bTabCloseButton = FALSE;
    CMap<HICON, HICON, int, int> m_mapIcons;

    DECLARE_MESSAGE_MAP()
};
