#pragma once
// CKWPrintPreviewView: the framework's print preview. It opens with its
// frame maximised, its tool bar locked at the top and the one/two-pages
// button reading "&One Page", and shows as many pages side by side as the
// document asks for.
#include "docking/frames/QMXPPrintPreviewView.h"

class CKWWinView;

class CKWPrintPreviewView : public CQMXPPrintPreviewView {
    DECLARE_DYNCREATE(CKWPrintPreviewView)
public:
    CKWPrintPreviewView();
    ~CKWPrintPreviewView() override;

    // Activated over a framework document: one page more than the document's
    // extra preview pages.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnNumPageChange();
    DECLARE_MESSAGE_MAP()
};

// The framework's print preview of the view in its frame; false (after
// "Command failed.") when it cannot start, the view left as it was.
bool DoPrintPreview(CKWWinView* view);
