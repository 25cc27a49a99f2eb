#pragma once
// CKWSplitView: a scrolled view that is also a pane of a split frame.
#include "framework/KWSplitItem.h"
#include "appwindows/KWView.h"

class CKWSplitView : public CKWView, public CKWSplitItem {
    DECLARE_DYNCREATE(CKWSplitView)
public:
    CKWSplitView();
    ~CKWSplitView() override;

    using CWnd::GetClientRect;
    // The pane's window is the view itself.
    CWnd* GetWnd() override;
};
