#pragma once
// CQMXPColorMenuButton: a tool-bar button that holds a colour and lets the
// user choose another. Until the button has its palette popup, a press
// offers the extra colour entry at once: with it enabled the colour dialog
// opens, and a colour chosen there becomes the button's and its command is
// sent to the bar's command target.
#include "docking/toolbars/QMXPToolbarMenuButton.h"

class CQMXPColorMenuButton : public CQMXPToolbarMenuButton {
    DECLARE_SERIAL(CQMXPColorMenuButton)
public:
    // The automatic colour: all bits set.
    static constexpr COLORREF kAutomatic = static_cast<COLORREF>(-1);

    CQMXPColorMenuButton();
    CQMXPColorMenuButton(UINT uiCmdID, LPCWSTR lpszText, COLORREF color = kAutomatic);

    virtual void SetColor(COLORREF color, BOOL bNotify = TRUE);
    COLORREF GetColor() const { return m_Color; }
    // The extra colour entry of the popup: its label, whether it shows and
    // whether it opens the colour dialog (rather than notifying the owner).
    void EnableCustomColorButton(LPCWSTR lpszLabel, BOOL bShow = TRUE, BOOL bOwnDialog = TRUE);
    const CString& GetCustomColorLabel() const { return m_strCustomColor; }
    BOOL IsCustomColorShown() const { return m_bCustomColor; }

    // The colour with the rest of the button.
    void AssignFrom(const CQMXPToolbarButton& src) override;
    // A press (bDelay FALSE) with the extra entry opening the dialog: the
    // dialog, then TRUE (the press is handled); otherwise FALSE, the bar
    // runs the command as for a plain button.
    BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE) override;
    HWND GetHwnd() override { return nullptr; }

    // The colour dialog from the current colour; TRUE with the chosen one.
    virtual BOOL ChooseOtherColor(COLORREF current, COLORREF& chosen);

protected:
    COLORREF m_Color;
    CString m_strCustomColor;
    BOOL m_bCustomColor;
    BOOL m_bOwnDialog;
};
