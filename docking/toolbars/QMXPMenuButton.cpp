#include "docking/toolbars/QMXPMenuButton.h"

#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "platform/classlib/DC.h"

IMPLEMENT_DYNCREATE(CQMXPMenuButton, CQMXPButton)

namespace {

constexpr int kArrowStrip = 10;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPMenuButton, CQMXPButton)
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CQMXPMenuButton::CQMXPMenuButton()
    : m_bRightArrow(FALSE),
      m_hMenu(nullptr),
      m_nMenuResult(0),
      m_bStayPressed(TRUE),
      m_bOSMenu(FALSE),
      m_bMenuIsActive(FALSE) {}

CQMXPMenuButton::~CQMXPMenuButton() = default;

CSize CQMXPMenuButton::SizeToContent(BOOL bCalcOnly) {
    CSize size = CQMXPButton::SizeToContent(TRUE);
    size.cx += CQMXPMenuGlyphs::GetSize().cx;
    if (!bCalcOnly)
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return size;
}

void CQMXPMenuButton::OnDraw(CDC* pDC, const CRect& rect, UINT uiState) {
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    CRect rectParent = rect;
    rectParent.right -= sizeGlyph.cx + kArrowStrip;
    CQMXPButton::OnDraw(pDC, rectParent, uiState);
    const CRect rectArrow(rectParent.right, rect.top, rect.right, rect.bottom);
    CQMXPMenuGlyphs::DrawCentered(pDC, m_bRightArrow ? CQMXPMenuGlyphs::IdArowRightTab : CQMXPMenuGlyphs::IdArowDownLarge,
                                  rectArrow, (uiState & ODS_DISABLED) ? CQMXPMenuGlyphs::ImageGray : CQMXPMenuGlyphs::ImageBlack);
}

void CQMXPMenuButton::OnShowMenu() {
    if (m_hMenu == nullptr || m_bMenuIsActive)
        return;
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    const int x = m_bRightArrow ? rectWindow.right : rectWindow.left;
    const int y = m_bRightArrow ? rectWindow.top : rectWindow.bottom;
    if (m_bStayPressed) {
        m_bPushed = TRUE;
        m_bHighlighted = TRUE;
    }
    m_bMenuIsActive = TRUE;
    Repaint();
    // The library's context-menu manager tracks the menu; the system does
    // when the button asks for its menu or the program has no manager.
    SetFocus();
    const int nResult =
        !m_bOSMenu && qmxContextMenuManager != nullptr
            ? static_cast<int>(qmxContextMenuManager->TrackPopupMenu(m_hMenu, x, y, this))
            : ::TrackPopupMenu(m_hMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, m_hWnd,
                               nullptr);
    if (nResult != 0) {
        m_nMenuResult = nResult;
        CWnd* pParent = GetParent();
        if (pParent != nullptr)
            pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
    }
    m_bPushed = FALSE;
    m_bHighlighted = FALSE;
    m_bMenuIsActive = FALSE;
    Repaint();
    if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
    }
}

void CQMXPMenuButton::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_SPACE || nChar == VK_DOWN) {
        OnShowMenu();
        return;
    }
    CQMXPButton::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CQMXPMenuButton::OnLButtonDown(UINT, CPoint) {
    SetFocus();
    OnShowMenu();
}

UINT CQMXPMenuButton::OnGetDlgCode() { return DLGC_WANTARROWS; }

BOOL CQMXPMenuButton::EndPressWhileMenuShows() {
    if (!m_bStayPressed || !m_bMenuIsActive)
        return FALSE;
    // The press that opened the menu is no click.
    m_bClickiedInside = FALSE;
    Default();
    if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
    }
    return TRUE;
}

void CQMXPMenuButton::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!EndPressWhileMenuShows())
        CQMXPButton::OnLButtonUp(nFlags, point);
}

void CQMXPMenuButton::OnKillFocus(CWnd* pNewWnd) {
    if (!EndPressWhileMenuShows())
        CQMXPButton::OnKillFocus(pNewWnd);
}
