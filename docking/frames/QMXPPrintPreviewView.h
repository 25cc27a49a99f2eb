#pragma once
// CQMXPPrintPreviewView: the docking library's print preview view, with its
// own tool bar in place of the class library's preview bar buttons.
// Stand-in: a row of text buttons for the preview's commands; the docking
// library replaces its inside (images, the frame's dock manager).
#include "docking/toolbars/QMXPToolBar.h"
#include "platform/classlib/PreviewView.h"

class CQMXPStatusBar;

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

protected:
    // Places the tool bar over the class library's preview bar at the top of the frame.
    void SetToolbarSize();

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
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
