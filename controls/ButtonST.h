#pragma once
// CButtonST: the flat owner-drawn push button of the program's dialogs and
// panels, attached to a dialog button by subclassing. It shows an icon and
// its caption, lights up with a raised border while the mouse is over it,
// shows a sunken border while pressed, greys its icon and embosses its
// caption when disabled, can act as a two-state (check-box) button, and
// carries a tooltip. The program uses it through CXPStyleButtonST.
#include "platform/classlib/Button.h"
#include "platform/classlib/ToolTipCtrl.h"

class CDC;

class CButtonST : public CButton {
public:
    CButtonST();
    // Destroys the icons, the tooltip and then the button window.
    ~CButtonST() override;
    CButtonST(const CButtonST&) = delete;
    CButtonST& operator=(const CButtonST&) = delete;

    // Takes the three icons (each may be null; without an in icon the button
    // has none) and owns them: 0, or 1 when one cannot be measured (then it
    // holds none).
    DWORD SetIconHandles(HICON iconIn, HICON iconOut, HICON iconDisabled);
    // The icons of the program's resources (0: none).
    DWORD SetIconById(UINT iconIn, UINT iconOut, UINT iconDisabled);
    // Nothing for a null text.
    void SetTooltipString(LPCWSTR text, BOOL activate = TRUE);
    // Nothing for a string that is missing or empty.
    void SetTooltipTextById(UINT stringId, BOOL activate = TRUE);
    void ReleaseIcons();
    // Creates the tooltip window when there is none, inactive and at most
    // 400 pixels wide, with the text set before.
    void EnsureToolTip();

    // The drawing steps, in the order of a paint.
    virtual void DrawBackground(CDC* dc, const CRect& rect);
    virtual void DrawBorder(CDC* dc, const CRect& rect);
    // May narrow the caption rectangle to the space beside the icon.
    virtual void DrawIcon(CDC* dc, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed, BOOL disabled);
    virtual void DrawCaption(CDC* dc, const CString& caption, const CRect& rect, BOOL pressed, BOOL disabled);

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    // Relays the mouse to the tooltip; a double click acts as a second press.
    BOOL PreTranslateMessage(MSG* msg) override;

    CToolTipCtrl& GetToolTip()
    {
        EnsureToolTip();
        return m_toolTip;
    }

protected:
    // Reads check-box mode and the default flag from the style, then makes
    // the button owner-drawn.
    void PreSubclassWindow() override;

    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnKillFocus(CWnd* newWindow);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnCancelMode();
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg UINT OnGetDlgCode();
    afx_msg LRESULT OnSetStyle(WPARAM style, LPARAM redraw);
    afx_msg LRESULT OnSetCheck(WPARAM check, LPARAM);
    afx_msg LRESULT OnGetCheck(WPARAM, LPARAM);
    afx_msg void OnSysColorChange();
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

    // The six colours: background and text in (hot or pressed), out
    // (normal) and focused.
    enum { kBackIn, kTextIn, kBackOut, kTextOut, kBackFocus, kTextFocus, kColorCount };
    void ReadColors();
    void CancelHover();

    bool m_hover = false;
    bool m_checkBoxMode = false;
    bool m_default = false;
    int m_check = 0;
    // Of the paint under way.
    bool m_pressed = false;
    bool m_focused = false;
    bool m_disabled = false;
    COLORREF m_colors[kColorCount];

private:
    struct Icon {
        HICON handle = nullptr;
        int width = 0;
        int height = 0;
    };
    enum { kIconIn, kIconOut, kIconDisabled, kIconCount };
    // Gives the tooltip window the text and activation set last.
    void ApplyTooltipText();

    Icon m_icons[kIconCount];
    CToolTipCtrl m_toolTip;
    CString m_tipText;
    BOOL m_tipActive = FALSE;
};
