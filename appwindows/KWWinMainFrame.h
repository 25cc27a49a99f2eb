#pragma once
// CKWWinMainFrame: the Windows side of the framework's main window, a
// multiple-document frame of the docking library: its window style, its
// menu bar, the docking library's tool-bar reset and context menus, and
// what a print preview changes. CKWAbstractMainFrame is the main window as
// the portable code sees it.
#include "docking/frames/QMXPMDIFrameWnd.h"

class CQMXPMenuBar;
class CView;

class CKWAbstractMainFrame {
public:
    virtual ~CKWAbstractMainFrame() = default;
};

// The registered messages of the docking library's tool bars: reset a bar
// (wParam its id) and show a context menu (wParam the menu id, lParam the
// screen point).
extern const UINT g_msgQMXResetToolBar;
extern const UINT g_msgQMXPopupMenu;

class CKWWinMainFrame : public CQMXPMDIFrameWnd, public CKWAbstractMainFrame {
    DECLARE_DYNAMIC(CKWWinMainFrame)
public:
    CKWWinMainFrame();
    // Deletes a menu bar that the tool bar manager did not take.
    ~CKWWinMainFrame() override;

    // The docking library's preparation, then an overlapped, maximised
    // window whose caption names the document.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    CQMXPMenuBar* GetMenuBar() const { return m_menuBar; }
    // The print-preview view of the active frame; null when no preview is shown.
    CView* GetPrintPreviewView();

protected:
    // The menu resource's first sub-menu as a docking-library popup at the
    // screen point; nothing while a print preview is shown.
    virtual void OnToolbarContextMenu(UINT menuId, CPoint point);

    afx_msg LRESULT OnResetToolBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopupMenu(WPARAM wParam, LPARAM lParam);
    // While the program is at work (CKWBusyCursor), every client area of the
    // frame and of the windows inside it shows the busy cursor: a child asks
    // its parent first.
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    CQMXPMenuBar* m_menuBar = nullptr;
    bool m_ownsMenuBar = false;

    DECLARE_MESSAGE_MAP()
};
