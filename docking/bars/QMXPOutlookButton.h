#pragma once
// CQMXPOutlookButton: a large-image button of an outlook bar pane, its text
// wrapped under the image. It lives only on outlook bar panes.
#include "docking/toolbars/QMXPToolbarButton.h"

class CQMXPOutlookBarPane;

class CQMXPOutlookButton : public CQMXPToolbarButton {
    DECLARE_SERIAL(CQMXPOutlookButton)
public:
    CQMXPOutlookButton();
    ~CQMXPOutlookButton() override;

    BOOL CanBeDroppedOn(CQMXPToolBar* pToolbar) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    // The text wrapped in the default width less three spaces, under the image.
    SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) override;
    void OnParentChanged(CWnd* pWndParent) override;
    // The index only: the pane's own strip holds the image, not the command manager.
    void SetImage(int iImage) override;

    CQMXPOutlookBarPane* GetPane() const { return m_pWndParentBar; }
    void SetImageSize(CSize sizeImage) { m_sizeImage = sizeImage; }

protected:
    CQMXPOutlookBarPane* m_pWndParentBar;
    CSize m_sizeImage;
};
