#pragma once
// CColorPopup: the popup a colour menu button drops: a popup menu whose item
// bar is a colour bar. It never opens in customisation mode, and tears off
// into a dockable colour bar of the button's command.
#include "docking/frames/QMXPColorBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"

class CColorPopup : public CQMXPPopupMenu {
public:
    CColorPopup(const std::vector<COLORREF>& colors, COLORREF color, LPCWSTR lpszAutoColor, LPCWSTR lpszOtherColor,
                LPCWSTR lpszDocColors, const std::vector<COLORREF>& lstDocColors, int nColumns, int nRowsDockHorz,
                int nColDockVert, COLORREF colorAutomatic, UINT uiCommandID, CQMXPColorMenuButton* pParentBtn);

    CQMXPPopupMenuBar* GetMenuBar() override { return &m_wndColorBar; }
    CQMXPToolBar* CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCWSTR lpszName) override;

    CQMXPColorBar m_wndColorBar;
    BOOL m_bEnabledInCustomizeMode;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};
