#pragma once
// CQMXPColorBar: a palette of colour cells drawn as a tool bar: optional
// automatic button on top, the palette, the document's colours under a
// label, and a button that opens a colour dialog with a cell beside it for a
// colour that is none of the palette's. It serves inside the popup of a
// colour menu button, as that popup's tear-off tool bar, and as a child
// control of a dialog. A chosen colour goes to the menu button (which sends
// its command) or, for a standalone bar, to every colour menu button of the
// bar's command and to the owner as WM_COMMAND.
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "platform/classlib/CmdUI.h"
#include "platform/classlib/GdiObject.h"

#include <map>
#include <vector>

class CColorButton;
class CQMXPColorButton;
class CQMXPColorMenuButton;

class CQMXPColorBar : public CQMXPPopupMenuBar {
    DECLARE_SERIAL(CQMXPColorBar)
    friend class CColorButton;

public:
    // The form a saved tear-off bar is made in: a tear-off.
    CQMXPColorBar();
    // A tear-off copy of another bar, for the command.
    CQMXPColorBar(const CQMXPColorBar& src, UINT uiCommandID);
    // The bar of a colour menu button's popup. Null texts are empty (no such entry).
    CQMXPColorBar(const std::vector<COLORREF>& colors, COLORREF color, LPCWSTR lpszAutoColor,
                  LPCWSTR lpszOtherColor, LPCWSTR lpszDocColors, const std::vector<COLORREF>& lstDocColors,
                  int nColumns, int nRowsDockHorz, int nColDockVert, COLORREF colorAutomatic, UINT uiCommandID,
                  CQMXPColorMenuButton* pParentBtn);
    ~CQMXPColorBar() override;

    // The bar as a child control of a dialog (columns below 1: as many as fit).
    virtual BOOL CreateControl(CWnd* pParentWnd, const CRect& rect, UINT nID, int nColumns = -1,
                               CPalette* pPalette = nullptr);
    // A tool bar of the palette's colours (when the bar has none yet).
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, CPalette* pPalette, int nColumns = 0,
                        int nRowsDockHorz = 0, int nColDockVert = 0);
    using CQMXPPopupMenuBar::Create;
    // The colour dialog for the colour; TRUE and colorRes on OK.
    virtual BOOL OpenColorDialog(COLORREF colorDefault, COLORREF& colorRes);
    // All the buttons again.
    virtual void Rebuild();

    // Selects the colour (-1: the automatic button).
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_ColorSelected; }
    // The palette's entries, or the system's 20 default colours.
    static int InitColors(CPalette* pPalette, std::vector<COLORREF>& arColors);
    // A logical palette of at most 100 of the colours.
    static BOOL CreatePalette(const std::vector<COLORREF>& arColors, CPalette& palette);
    // Names shown in the cells' tips; nothing fills it, so cells show their values.
    static std::map<COLORREF, CString>& ColorNames();

    // The grid for the current docking: columns and rows of the palette.
    CSize GetColumnsAndRows(BOOL bHorz) const;

    void Serialize(CArchive& ar) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DoPaint(CDC* pDC) override;
    CSize CalcSize(BOOL bVertDock) override;
    void AdjustLocations() override;
    // A floating bar shows its document colours: its frame grows to them.
    void OnAfterFloat() override;
    BOOL OnItemClicked(CQMXPToolbarButton* pButton) override;
    BOOL ProcessKey(UINT nChar) override;
    void ShowCommandMessageString(UINT uiCmdId) override;
    BOOL IsTearOff() const { return m_bIsTearOff; }
    // A bar owned by a colour button closes its parent on a click outside
    // it, a right or middle click, Esc, a system key and a context menu.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    int m_nNumColumns;
    int m_nNumRowsHorz;
    int m_nNumColumnsVert;
    std::vector<COLORREF> m_colors;
    CPalette m_Palette;
    CSize m_BoxSize;
    int m_nRowHeight;
    int m_nTextButtonHeight;
    COLORREF m_ColorSelected;
    COLORREF m_ColorAutomatic;
    CString m_strAutoColor;
    CString m_strOtherColor;
    CString m_strDocColors;
    std::vector<COLORREF> m_lstDocColors;
    UINT m_nCommandID;
    BOOL m_bStdColorDlg;
    BOOL m_bIsEnabled;
    BOOL m_bIsTearOff;
    BOOL m_bShowDocColorsWhenDocked;
    CQMXPColorMenuButton* m_pParentBtn;
    // The colour button whose drop-down the bar is, or none.
    CQMXPColorButton* m_pOwnerButton;
    int m_nHorzOffset;
    int m_nVertOffset;
    BOOL m_bInternal;
    int m_nHorzMargin;
    int m_nVertMargin;

protected:
    // The document colours show (docked bars hide them unless told otherwise).
    BOOL ShowsDocColors() const;
    // Grows the cells while the grid fits the client area, then centres it.
    void FitCellsToClient();
    // Extra height of the text rows and the document colours for the columns.
    int TextRowsHeight(int nColumns) const;
    CPalette* SelectPalette(CDC* pDC);
    void CommonInit();
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnDestroy();
    // The owner's drop-down goes: its parent is closed.
    void CloseOwnedParent();
    DECLARE_MESSAGE_MAP()
};

// The command state of the bar: only its enable is kept. A handler that
// does not touch the enable (one that only shows the selection's colour)
// leaves the bar enabled.
class CQMXPColorCCmdUI : public CCmdUI {
public:
    CQMXPColorCCmdUI() : m_bIsEnabled(TRUE) {}
    void Enable(BOOL bOn) override {
        m_bIsEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    BOOL m_bIsEnabled;
};
