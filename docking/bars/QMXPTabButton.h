#pragma once
// CQMXTabButton: a scroll or close button of a tab strip: the library's push
// button with its face and border drawn by the visual manager, as the tabs are.
#include "docking/toolbars/QMXPButton.h"

class CQMXTabButton : public CQMXPButton {
    DECLARE_DYNAMIC(CQMXTabButton)
public:
    CQMXTabButton() = default;

protected:
    void OnFillBackground(CDC* pDC, const CRect& rectClient) override;
    void OnDrawBorder(CDC* pDC, CRect& rectClient, UINT uiState) override;
};
