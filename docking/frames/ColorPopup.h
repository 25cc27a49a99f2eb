#pragma once
// CColorPopup: the popup a colour menu button or a colour button drops: a
// popup menu whose item bar is a colour bar. It never opens in
// customisation mode; a colour menu button's tears off into a dockable
// colour bar of the button's command.
#include "docking/frames/QMXPColorBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"

class CColorPopup : public CQMXPPopupMenu {
public:
    CColorPopup(const std::vector<COLORREF>& colors, COLORREF color, LPCWSTR lpszAutoColor, LPCWSTR lpszOtherColor,
                LPCWSTR lpszDocColors, const std::vector<COLORREF>& lstDocColors, int nColumns, int nRowsDockHorz,
                int nColDockVert, COLORREF colorAutomatic, UINT uiCommandID, CQMXPColorMenuButton* pParentBtn);
    // The drop-down of a colour button: the palette, the button's colour selected.
    CColorPopup(CQMXPColorButton* pOwnerButton, const std::vector<COLORREF>& colors, COLORREF color, int nColumns);

    CQMXPPopupMenuBar* GetMenuBar() override { return &m_wndColorBar; }
    CQMXPToolBar* CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCWSTR lpszName) override;

    CQMXPColorBar m_wndColorBar;
    BOOL m_bEnabledInCustomizeMode;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};
