#pragma once
// CQMXPPrintPreviewView: the class library's print preview with the
// library's look: a library tool bar built from the preview's tool-bar
// resource over the class library's preview bar, the one/two pages button
// showing the other choice, and the page numbers in the library status
// bar's stretch pane.
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/PreviewView.h"

class CQMXPStatusBar;

// The preview's tool-bar resource, and the extra button that holds the
// two-pages image.
constexpr UINT IDR_QMXP_PRINT_PREVIEW = 16960;
constexpr UINT ID_QMXP_PREVIEW_TWO_PAGES_IMAGE = 16959;
constexpr UINT AFX_ID_PREVIEW_ZOOMIN = 0xE305;
constexpr UINT AFX_ID_PREVIEW_ZOOMOUT = 0xE306;

// The preview's tool bar: no customisation menu, and it leaves its frame's
// dock manager when its window goes.
class CQMXPPrintPreviewToolBar : public CQMXPToolBar {
    DECLARE_DYNAMIC(CQMXPPrintPreviewToolBar)
protected:
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point) {}
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

class CQMXPPrintPreviewView : public CPreviewView {
    DECLARE_DYNCREATE(CQMXPPrintPreviewView)
public:
    CQMXPPrintPreviewView();
    ~CQMXPPrintPreviewView() override;

    // "Page n" or "Pages n-m" into the status bar's stretch pane, else the frame's message line.
    void OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed) override;

    CQMXPPrintPreviewToolBar& GetToolBar() { return m_wndToolBar; }
    int GetOnePageImage() const { return m_iOnePageImageIndex; }
    int GetTwoPagesImage() const { return m_iTwoPageImageIndex; }
    int GetPagesButtonIndex() const { return m_iPagesBtnIndex; }

protected:
    // Places the tool bar over the class library's preview bar at the top of the frame.
    void SetToolbarSize();
    // The pages button shows the choice the next click makes.
    void UpdatePagesImage();

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // One page / two pages, then the button shows the other choice.
    afx_msg void OnNumPageChange();

    CQMXPPrintPreviewToolBar m_wndToolBar;
    int m_iOnePageImageIndex;
    int m_iTwoPageImageIndex;
    int m_iPagesBtnIndex;
    CQMXPStatusBar* m_pWndStatusBar;

    DECLARE_MESSAGE_MAP()
};
