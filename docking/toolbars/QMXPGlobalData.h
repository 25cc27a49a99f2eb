#pragma once
// CQMXPGlobalData: the colours, brushes, fonts and metrics that every window
// of the docking library draws with. The one instance, globalData, is built
// before the program's entry and refreshed when the system colours or
// settings change.
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/Rect.h"

class CDC;
class CFrameWnd;
class CWnd;

class CQMXPGlobalData {
public:
    CQMXPGlobalData();
    ~CQMXPGlobalData();
    CQMXPGlobalData(const CQMXPGlobalData&) = delete;
    CQMXPGlobalData& operator=(const CQMXPGlobalData&) = delete;

    // System brushes, not owned.
    HBRUSH hbrBtnHilite;
    HBRUSH hbrBtnShadow;

    COLORREF clrBtnFace;
    COLORREF clrBtnShadow;
    COLORREF clrBtnHilite;
    COLORREF clrBtnText;
    COLORREF clrWindowFrame;
    COLORREF clrBtnDkShadow;
    COLORREF clrBtnLight;
    COLORREF clrGrayedText;
    COLORREF clrHilite;
    COLORREF clrTextHilite;
    COLORREF clrHotLinkText;

    // Attached to system brushes (never deleted), but brLight, which is ours:
    // the fill of pressed and checked items.
    CBrush brBtnFace;
    CBrush brHilite;
    CBrush brLight;
    CBrush brDarkShadow;

    // Loaded by their first user and shared; nobody destroys them.
    HCURSOR hcurStretchHorz;
    HCURSOR hcurStretchVert;
    HCURSOR hcurHand;
    HCURSOR hcurMove;
    HICON hiconTool;

    // The shell's small-icon size, asked of the shell when first wanted:
    // the shell makes its whole system image list to answer.
    CSize GetSmallIconSize();

    CFont fontRegular;
    CFont fontStatus;
    CFont fontBold;
    CFont fontUnderline;
    CFont fontVert;
    CFont fontVertLeft;
    CFont fontMarlett;

    BOOL bIsWindowsNT4;
    int bitsPerPixel;
    int dragFrameWidth;
    int dragFrameWidthSmall;
    int dockBarMargin;
    int autoHideOffset;
    int dockPercentage;
    int textHeight;
    int textHeightVert;
    // A menu item of the menu font: its height along a horizontal bar and
    // its width across a vertical one.
    int menuItemHeight;
    int menuItemWidth;
    HMODULE hmodUxTheme;
    // The office-style look, read by the edit-box buttons; the classic look
    // leaves it off.
    BOOL bIsOfficeStyleLook;
    // A docked bar's gripper (across the bar) and the border line on each
    // side its style names: what a bar leaves free around its content.
    int gripperSize;
    int borderSize;

    void RefreshSysColors();
    void UpdateFonts();
    void UpdateTextMetrics();
    void CleanUp();
    // Paints into pDC what the parent of pWnd shows under it (the clip
    // rectangle only, when given); the parent's answer.
    BOOL PaintParentBackground(CWnd* pWnd, CDC* pDC, LPCRECT lpRectClip = nullptr);

private:
    void UpdateSmallIconSize();

    CSize m_smallIconSize;
};

extern CQMXPGlobalData globalData;

// The frame window that owns pWnd, or null.
CFrameWnd* QMXFindOwnerFrame(CWnd* pWnd);
