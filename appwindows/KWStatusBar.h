#pragma once
// CKWStatusBar: the framework's status bar over the docking library's. It
// draws its panes' texts itself, greying the Caps Lock and Num Lock
// indicators while their keys are off and the overtype indicator always,
// and a double click on the key panes presses those keys. At most one
// exists; GetKWStatusBar names it.
#include "docking/bars/QMXPStatusBar.h"

#include <cstdarg>

class CKWRegKeyStack;

// The key-state indicator panes.
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_OVR = 0xE704;

class CKWStatusBar : public CQMXPStatusBar {
    DECLARE_DYNAMIC(CKWStatusBar)
public:
    CKWStatusBar();
    ~CKWStatusBar() override;

    // Pane 0 gets the first text, panes 1, 2 ... the list's texts until it
    // ends with a null or the panes run out; each is drawn at once.
    void SetPaneTexts(const wchar_t* first, va_list others);
    // The pane whose rectangle holds the point (client coordinates); -1 for none.
    int HitTestPane(CPoint point) const;
    // Shows a hidden bar and hides a shown one, through its frame.
    void ToggleVisible();
    // The application hands over its registry key stack; nothing is done with it.
    void SetKeyStack(CKWRegKeyStack* keyStack) {}

    // The text colour of a pane: grey for a key indicator whose key is off.
    static COLORREF PaneTextColour(UINT paneId);

protected:
    void DrawPane(CDC* pDC, int nIndex) override;
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

// The status bar that exists; null when there is none.
CKWStatusBar* GetKWStatusBar();
