#pragma once
// CQMXPToolbarButton: one item of a tool bar, of the menu bar and of every
// popup menu: a command id, a style word, an image index into the tool
// bars' shared strips, a text and its place on the bar. The bar owns its
// buttons and calls their virtual operations to measure, draw, click, copy,
// store and customise them; every fill, border and text colour comes from
// the current visual manager. Buttons travel between bars by drag and drop
// in a clipboard format of the process's own.
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <windows.h>

class CArchive;
class CDC;
class CMenu;
class COleDataObject;
class COleDataSource;
class CQMXPToolBar;
class CQMXPToolBarImages;
class CWnd;

// Button styles (m_nStyle), the class library's tool-bar button bits.
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_CHECKED = 0x10000;
constexpr UINT TBBS_PRESSED = 0x20000;
constexpr UINT TBBS_DISABLED = 0x40000;
constexpr UINT TBBS_INDETERMINATE = 0x100000;

// Drawing states passed to the visual manager.
constexpr int QMXP_BUTTON_NORMAL = 0;
constexpr int QMXP_BUTTON_PRESSED = 1;
constexpr int QMXP_BUTTON_HIGHLIGHTED = 2;

class CQMXPToolbarButton : public CObject {
    DECLARE_SERIAL(CQMXPToolbarButton)
public:
    CQMXPToolbarButton();
    // Without an image given (-1) the image comes from the command manager;
    // a given one is registered there for the command (unless locked).
    CQMXPToolbarButton(UINT uiID, int iImage, LPCWSTR lpszText = nullptr, BOOL bUserButton = FALSE,
                       BOOL bLocked = FALSE);
    // A button of the command with a text, shown when bText.
    CQMXPToolbarButton(UINT uiID, LPCWSTR lpszText, BOOL bText = FALSE);
    ~CQMXPToolbarButton() override;

    // Command id, style, image in use, text, user-image flag, stored flag,
    // show text, show image; no version of its own.
    void Serialize(CArchive& ar) override;

    virtual BOOL CanBeDroppedOn(CQMXPToolBar* pToolbar);
    // Copies everything but the rectangle, the window and the stored flag.
    virtual void AssignFrom(const CQMXPToolbarButton& src);
    virtual void OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages* pImages, BOOL bHorz = TRUE,
                        BOOL bCustomizeMode = FALSE, BOOL bHighlight = FALSE, BOOL bDrawBorder = TRUE,
                        BOOL bGrayDisabledButtons = TRUE);
    // The size on a bar whose buttons are sizeDefault; the DC holds the bar's font.
    virtual SIZE OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz);
    // TRUE when the click was handled at once (a menu opened).
    virtual BOOL OnClick(CWnd* pWnd, BOOL bDelay = TRUE);
    // TRUE: the bar sends no command for the release.
    virtual BOOL OnClickUp();
    // A double click on the button; TRUE when the button took it.
    virtual BOOL OnDblClick(CWnd* pWnd);
    // Fills the tool of the button's own tip; FALSE leaves the tip to the bar.
    virtual BOOL OnToolHitTest(const CWnd* pWnd, struct tagTOOLINFOW* pTI);
    // Called whenever the button is put on a bar; controls make their windows here.
    virtual void OnParentChanged(CWnd* pWndParent);
    // Gives the menu item the command's short name when this button has no text.
    virtual BOOL FillMenuItemText(CQMXPToolbarButton* pMenuItem);
    // The rectangle changed (controls move their windows).
    virtual void OnMove();
    virtual void OnSize(int iSize);
    // The control window the button holds; none for a plain button.
    virtual HWND GetHwnd();
    virtual BOOL CanBeStretched() const;
    // TRUE lets the control's command through.
    virtual BOOL OnCommandNotify(UINT uiNotifyCode);
    virtual void OnAddToCustomizePage();
    virtual HBRUSH OnCtlColor(CDC* pDC, UINT nCtlColor);
    virtual BOOL CanBeDragged() const;
    virtual BOOL HasBorder() const;
    virtual void OnCancelMode();
    // FALSE for the commands the library reserves and those excluded.
    virtual BOOL IsPermitted() const;
    virtual BOOL OnClickImmediate(CWnd* pWnd);
    virtual BOOL OnCustomizeMenu(CMenu* pMenu);
    // The button as a row of a command list; the width the row needs.
    virtual int OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                             BOOL bDrawImage = TRUE);
    virtual BOOL IsDroppedDown() const;
    virtual BOOL ClosePopup();
    // Asks the owning library frame's button hook; 0 without such a frame.
    virtual BOOL OnFrameHook(CWnd* pWnd, int nArg);
    virtual void OnShow(BOOL bShow);
    virtual CRect GetRect() const;
    virtual void SetStyle(UINT nStyle);
    // The command's default image again, or its text when it has none.
    virtual void ResetToDefault();
    virtual BOOL CompareWith(const CQMXPToolbarButton& other) const;
    virtual void EnableWindow(BOOL bEnable = TRUE);
    virtual BOOL IsWindowVisible();
    virtual BOOL IsOwnerOf(HWND hwnd);
    virtual BOOL HasFocus() const;
    // The index lands in the user or the standard field by the user-image flag.
    virtual void SetImage(int iImage);
    // The command's state came as a radio check; nothing in the base.
    virtual void SetRadio();
    virtual BOOL IsOnMenuTypeBar() const { return m_bOnMenuTypeBar; }
    // A bar stores only the buttons that answer TRUE.
    virtual BOOL CanBeStored() const;

    // The index in use: the user image or the standard one.
    int GetImage() const { return m_bUserButton ? m_iUserImage : m_iImage; }
    BOOL IsEditable() const;
    BOOL IsHorizontal() const { return m_bHorz; }
    // Stores the rectangle and tells the button (OnMove).
    void SetRect(const CRect& rect);
    // The visual manager fills the background (state 0 in customise mode,
    // else 2 highlighted, 1 checked or pressed, 0).
    void FillInterior(CDC* pDC, const CRect& rect, BOOL bHighlight);

    // Writes the button (its class, then its record) into the data source
    // in the tool-bar button format; nothing when it may not be dragged.
    BOOL PutOnClipboard(COleDataSource* pDataSource);
    // A new button from the data; none when the data holds none, holds
    // another class than a tool-bar button or cannot be read.
    static CQMXPToolbarButton* LoadFromOleData(COleDataObject* pDataObject);
    // "QMXToolbarButton<instance>", registered once per run.
    static CLIPFORMAT GetClipboardFormat();
    // The text without mnemonic marks: "&&" reads "&", a single "&" nothing.
    static CString GetDisplayText(const CString& strText);
    // The part after the first line break of the command's string; empty without one.
    static CString GetCommandShortName(UINT uiCmd);

    BOOL m_bUserButton;
    UINT m_nID;
    UINT m_nStyle;
    CString m_strText;
    BOOL m_bText;
    BOOL m_bImage;
    BOOL m_bTextSecond;
    BOOL m_bImageSecond;
    BOOL m_bTextBelow;
    CString m_strTextCustom;
    // Set while the button is written from a command list; stored.
    BOOL m_bDragFromCollection;
    CRect m_rect;
    int m_iImage;
    int m_iUserImage;
    BOOL m_bLocked;
    // While set, a control button keeps its window hidden on a horizontal bar.
    BOOL m_bIsHidden;
    CSize m_sizeText;
    // A window that draws the button's background itself.
    CWnd* m_pWndSelfDraw;
    BOOL m_bOnMenuTypeBar;
    BOOL m_bHorz;
    // Set by the bar's placement.
    BOOL m_bVisible;
    BOOL m_bWrap;
    // The customise menu's "Reset to Default" is greyed for the button.
    BOOL m_bNoReset;
    // The button draws an image of its own (the drop-down button): the
    // appearance dialog offers no image choice for it.
    BOOL m_bOwnImage;
    // The button always shows its text; it cannot be made image only.
    BOOL m_bAlwaysText;

    // Off while the workspace loads saved tool bars: loaded buttons then
    // leave the command manager's standard images alone.
    static BOOL m_bUpdateImages;
    // Texts under images wrap.
    static BOOL m_bWrapText;

protected:
    void Initialize();
    // Draws the text down a vertical bar with its mnemonic underlined by hand.
    void DrawVerticalText(CDC* pDC, const CRect& rectText);

    static CLIPFORMAT s_cFormat;
    static CString s_strClipboardFormatName;
};
