#include "docking/frames/QMXPColorButton.h"

#include "docking/frames/ColorPopup.h"
#include "docking/frames/QMXPColorBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"

IMPLEMENT_DYNCREATE(CQMXPColorButton, CQMXPButton)

BEGIN_MESSAGE_MAP(CQMXPColorButton, CQMXPButton)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
// The colour shows inside the button's frame with this margin.
constexpr int kSwatchMargin = 3;
}  // namespace

CQMXPColorButton::CQMXPColorButton()
    : m_Color(RGB(0, 0, 0)), m_nColumns(0), m_pPopup(nullptr), m_bOpened(FALSE) {
    CQMXPColorBar::InitColors(nullptr, m_colors);
}

CQMXPColorButton::~CQMXPColorButton() {
    if (m_pPopup != nullptr && ::IsWindow(m_pPopup->GetSafeHwnd()))
        m_pPopup->DestroyWindow();
}

void CQMXPColorButton::SetColor(COLORREF color) {
    m_Color = color;
    if (GetSafeHwnd() != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CQMXPColorButton::SetPalette(const std::vector<COLORREF>& colors, int nColumns) {
    m_colors = colors;
    m_nColumns = nColumns;
}

void CQMXPColorButton::OnDraw(CDC* pDC, const CRect& rect, UINT uiState) {
    CRect rectSwatch = rect;
    rectSwatch.DeflateRect(kSwatchMargin, kSwatchMargin);
    if (rectSwatch.IsRectEmpty())
        return;
    const BOOL bDisabled = (uiState & ODS_DISABLED) != 0;
    if (!bDisabled && m_Color != static_cast<COLORREF>(-1))
        pDC->FillSolidRect(&rectSwatch, m_Color);
    pDC->Draw3dRect(&rectSwatch, globalData.clrBtnShadow, globalData.clrBtnShadow);
}

void CQMXPColorButton::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bOpened)
        return;
    CQMXPButton::OnLButtonDown(nFlags, point);
    // The drop-down takes the mouse from here on.
    ::ReleaseCapture();
    ShowDropDown();
}

void CQMXPColorButton::ShowDropDown() {
    CRect rect;
    GetWindowRect(&rect);
    m_pPopup = new CColorPopup(this, m_colors, m_Color, m_nColumns);
    m_bOpened = TRUE;
    if (!m_pPopup->Create(this, rect.left, rect.bottom, nullptr, FALSE, TRUE)) {
        // The popup has deleted itself (PostNcDestroy).
        m_pPopup = nullptr;
        m_bOpened = FALSE;
    }
}

void CQMXPColorButton::OnColorChosen(COLORREF color) {
    SetColor(color);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CQMXPColorButton::OnDropDownClosed() {
    m_pPopup = nullptr;
    m_bOpened = FALSE;
    m_bPushed = FALSE;
    m_bHighlighted = FALSE;
    if (GetSafeHwnd() != nullptr) {
        SetFocus();
        Invalidate();
    }
}

BOOL CQMXPColorButton::PreTranslateMessage(MSG* pMsg) {
    // The keys for the open drop-down reach it through the button, which
    // keeps the focus.
    if (m_bOpened && m_pPopup != nullptr && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        m_pPopup->m_wndColorBar.PreTranslateMessage(pMsg))
        return TRUE;
    return CQMXPButton::PreTranslateMessage(pMsg);
}
