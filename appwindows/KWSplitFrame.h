#pragma once
// CKWSplitFrame: a document frame whose panes form a split-pane tree; the
// frame owns the tree and lays it out again whenever it is resized.
#include "appwindows/KWBaseFrame.h"
#include "appwindows/KWSplitManager.h"

#include <vector>

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
    // A print preview takes the place of all panes: the tree's windows are
    // hidden while it runs and the preview fills the pane area.
    void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    bool m_inPreview = false;
    std::vector<HWND> m_hiddenForPreview;
};
