#pragma once
// CKWSplitFrame: a document frame whose panes form a split-pane tree; the
// frame owns the tree and lays it out again whenever it is resized.
#include "framework/windows/KWBaseFrame.h"
#include "framework/windows/KWSplitManager.h"

class CKWSplitFrame : public CKWBaseFrame, public CKWSplitManager {
    DECLARE_DYNCREATE(CKWSplitFrame)
public:
    CKWSplitFrame();
    ~CKWSplitFrame() override;

    // Once the panes are split, the bars of the frame are placed and the
    // panes keep the places the tree gives them.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // The area the panes share: the client area less the frame's bars.
    CRect GetPaneArea();

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()
};
