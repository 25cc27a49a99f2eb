#pragma once
// CQMXPColorButton: a push button that shows a colour and drops a colour
// bar under itself when pressed. The bar closes on a click outside it, a
// right or middle click, Esc, a system key or a context menu; a chosen cell
// becomes the button's colour and the parent hears BN_CLICKED.
#include "docking/toolbars/QMXPButton.h"

#include <vector>

class CColorPopup;

class CQMXPColorButton : public CQMXPButton {
    DECLARE_DYNCREATE(CQMXPColorButton)
public:
    CQMXPColorButton();
    ~CQMXPColorButton() override;

    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_Color; }
    // The palette the drop-down shows (the system's 20 default colours until set) and its columns.
    void SetPalette(const std::vector<COLORREF>& colors, int nColumns = 0);
    // The drop-down while it is open, else none.
    CColorPopup* GetDropDown() const { return m_pPopup; }
    BOOL IsDroppedDown() const { return m_bOpened; }

    // Told by the drop-down's bar: a colour was chosen.
    virtual void OnColorChosen(COLORREF color);
    // Told by the drop-down's bar as it goes.
    virtual void OnDropDownClosed();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnDraw(CDC* pDC, const CRect& rect, UINT uiState) override;
    virtual void ShowDropDown();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

    COLORREF m_Color;
    std::vector<COLORREF> m_colors;
    int m_nColumns;
    CColorPopup* m_pPopup;
    BOOL m_bOpened;

    DECLARE_MESSAGE_MAP()
};
