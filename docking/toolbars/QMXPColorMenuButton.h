#pragma once
// CQMXPColorMenuButton: a tool-bar button or menu item that shows its colour
// as a bar under its image and drops a palette of colours (CColorPopup). The
// chosen colour is remembered per command for the whole library, so every
// button of the command shows it and a new button starts with it.
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "platform/classlib/GdiObject.h"

#include <vector>

class CQMXPColorMenuButton : public CQMXPToolbarMenuButton {
    DECLARE_SERIAL(CQMXPColorMenuButton)
public:
    // The automatic colour: all bits set.
    static constexpr COLORREF kAutomatic = static_cast<COLORREF>(-1);

    CQMXPColorMenuButton();
    // The command's image and its remembered colour; the palette's colours
    // (the system's 20 default colours without one).
    CQMXPColorMenuButton(UINT uiCmdID, LPCWSTR lpszText, CPalette* pPalette = nullptr);

    void Serialize(CArchive& ar) override;
    void AssignFrom(const CQMXPToolbarButton& src) override;
    void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                BOOL bGrayDisabledButtons = TRUE) override;
    void OnParentChanged(CWnd* pWndParent) override;
    int OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                     BOOL bDrawImage = TRUE) override;
    CQMXPPopupMenu* MakePopupMenu() override;
    BOOL IsEmptyMenuAllowed() const override { return TRUE; }

    // Stores the colour for the button and its command; with bNotify the
    // other buttons and the open colour bars of the command follow.
    virtual void SetColor(COLORREF color, BOOL bNotify = TRUE);
    // The button's colour dialog started with colorDefault; TRUE and colorRes on OK.
    // The palette's other-colour entry asks it, so a program may offer its own dialog.
    virtual BOOL OpenColorDialog(COLORREF colorDefault, COLORREF& colorRes);

    // The entry that opens a colour dialog: the library's (bAltColorDlg) or the system's.
    void EnableCustomColorButton(LPCWSTR lpszLabel, BOOL bAltColorDlg = TRUE, BOOL bEnable = TRUE);
    void EnableAutomaticButton(LPCWSTR lpszLabel, COLORREF colorAutomatic, BOOL bEnable = TRUE);
    void EnableDocumentColors(LPCWSTR lpszLabel, BOOL bEnable = TRUE);
    COLORREF GetColor() const { return color; }
    // The colour drawn: the automatic colour while the colour is -1.
    COLORREF GetShownColor() const;
    // The rectangle of the colour bar within the button's rectangle.
    CRect GetColorBarRect(const CRect& rect, BOOL bHorz) const;

    // The colour remembered for the command, -1 when none.
    static COLORREF GetColorByCmd(UINT uiCmdID);
    static void SetColorByCmd(UINT uiCmdID, COLORREF color);

    COLORREF color;
    COLORREF colorAutomatic;
    std::vector<COLORREF> colors;
    CPalette palette;
    // Handed to the colour bar in this order: its columns, its rows when
    // docked horizontally and its columns when docked vertically.
    int columns;
    int vertDockRows;
    int horzDockColumns;
    BOOL bIsAutomaticButton;
    BOOL bIsOtherButton;
    BOOL bIsDocumentColors;
    CString strAutomaticButtonLabel;
    CString strOtherButtonLabel;
    CString strDocumentColorsLabel;
    BOOL bStdColorDlg;

protected:
    void Initialize();
};
