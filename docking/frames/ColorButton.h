#pragma once
// CColorButton: one cell of a colour bar: a colour swatch, the automatic
// button, the button that opens a colour dialog, a label, a document colour,
// or the cell beside the other button that shows a selected colour which is
// none of the palette's.
#include "docking/toolbars/QMXPToolbarButton.h"

class CQMXPColorBar;

class CColorButton : public CQMXPToolbarButton {
    DECLARE_DYNCREATE(CColorButton)
public:
    CColorButton();
    // A cell; lpszText only for the automatic and the other button.
    CColorButton(COLORREF color, BOOL bIsAutomatic, BOOL bIsOther, LPCWSTR lpszText, BOOL bHighlight,
                 BOOL bIsDocument = FALSE, BOOL bIsOtherColor = FALSE);
    // A label of the document colours.
    CColorButton(LPCWSTR lpszColorBarLabel, BOOL bIsDocument);

    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    void OnParentChanged(CWnd* pWndParent) override;
    BOOL OnToolHitTest(const CWnd* pWnd, struct tagTOOLINFOW* pTI) override;

    // A text button spans the bar's width (automatic, other, label).
    BOOL IsTextButton() const { return m_bIsAutomatic || m_bIsOther || m_bIsLabel; }
    // The tip of a colour cell: its name, else "Hex={RR,GG,BB}".
    static CString ColorTipText(COLORREF color);

    COLORREF m_Color;
    BOOL m_bHighlight;
    BOOL m_bIsAutomatic;
    BOOL m_bIsOther;
    BOOL m_bIsLabel;
    BOOL m_bIsDocument;
    BOOL m_bIsOtherColor;
    CQMXPColorBar* m_pParentBar;
};
