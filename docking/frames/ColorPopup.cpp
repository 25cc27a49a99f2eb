#include "docking/frames/ColorPopup.h"

#include "docking/toolbars/QMXPColorMenuButton.h"

BEGIN_MESSAGE_MAP(CColorPopup, CQMXPPopupMenu)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kTearOffStyle =
    WS_CHILD | WS_VISIBLE | QMXP_CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | QMXP_CBRS_HIDE_INPLACE;

}  // namespace

CColorPopup::CColorPopup(const std::vector<COLORREF>& colors, COLORREF color, LPCWSTR lpszAutoColor,
                         LPCWSTR lpszOtherColor, LPCWSTR lpszDocColors, const std::vector<COLORREF>& lstDocColors,
                         int nColumns, int nRowsDockHorz, int nColDockVert, COLORREF colorAutomatic,
                         UINT uiCommandID, CQMXPColorMenuButton* pParentBtn)
    : m_wndColorBar(colors, color, lpszAutoColor, lpszOtherColor, lpszDocColors, lstDocColors, nColumns,
                    nRowsDockHorz, nColDockVert, colorAutomatic, uiCommandID, pParentBtn),
      m_bEnabledInCustomizeMode(FALSE) {}

CColorPopup::CColorPopup(CQMXPColorButton* pOwnerButton, const std::vector<COLORREF>& colors, COLORREF color,
                         int nColumns)
    : m_wndColorBar(colors, color, nullptr, nullptr, nullptr, {}, nColumns, 0, 0, static_cast<COLORREF>(-1), 0,
                    nullptr),
      m_bEnabledInCustomizeMode(FALSE) {
    m_wndColorBar.m_pOwnerButton = pOwnerButton;
}

int CColorPopup::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPToolBar::m_bCustomizeMode && !m_bEnabledInCustomizeMode)
        return -1;
    if (CQMXPPopupMenu::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_wndColorBar.GetSafeHwnd() != nullptr)
        m_wndColorBar.SetBarStyle(m_wndColorBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    return 0;
}

CQMXPToolBar* CColorPopup::CreateTearOffBar(CFrameWnd* pWndMain, UINT uiID, LPCWSTR lpszName) {
    CQMXPColorMenuButton* pButton = m_wndColorBar.m_pParentBtn;
    if (pWndMain == nullptr || pButton == nullptr)
        return nullptr;
    auto* pBar = new CQMXPColorBar(m_wndColorBar, pButton->m_nID);
    if (!pBar->Create(pWndMain, kTearOffStyle, uiID)) {
        delete pBar;
        return nullptr;
    }
    pBar->SetWindowText(lpszName);
    pBar->SetBarStyle(pBar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}
