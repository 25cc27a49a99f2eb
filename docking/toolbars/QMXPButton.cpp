// The library's owner-drawn button: its type, its mouse and key states,
// auto-repeat, check boxes and radio groups.
#include "docking/toolbars/QMXPButton.h"

#include "docking/toolbars/QMXPPopupMenu.h"

IMPLEMENT_DYNCREATE(CQMXPButton, CButton)

namespace {

constexpr UINT_PTR kTimerAutoRepeat = 1;
constexpr DWORD kTypeMask = BS_TYPEMASK;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_CANCELMODE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_ENABLE()
    ON_WM_SIZE()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
END_MESSAGE_MAP()

CQMXPButton::CQMXPButton()
    : m_nFlatStyle(BUTTONSTYLE_3D),
      m_nAlignStyle(ALIGN_CENTER),
      m_bRightImage(FALSE),
      m_bTransparent(FALSE),
      m_bDrawFocus(TRUE),
      m_bHighlightChecked(TRUE),
      m_bGrayDisabled(TRUE),
      m_bResponseOnButtonDown(FALSE),
      m_bPushed(FALSE),
      m_bClickiedInside(FALSE),
      m_bHighlighted(FALSE),
      m_bCaptured(FALSE),
      m_bHover(FALSE),
      m_bChecked(FALSE),
      m_bCheckButton(FALSE),
      m_bRadioButton(FALSE),
      m_bAutoCheck(FALSE),
      m_bTypeRead(FALSE),
      m_sizeImage(0, 0),
      m_bAutoToolTip(FALSE),
      m_bDelayFullTextTooltipSet(FALSE),
      m_nStdImageId(-1),
      m_nStdImageStyle(0),
      m_hCursor(nullptr),
      m_sizePushOffset(2, 2),
      m_clrRegular(static_cast<COLORREF>(-1)),
      m_clrHover(static_cast<COLORREF>(-1)),
      m_clrFace(static_cast<COLORREF>(-1)),
      m_hFont(nullptr),
      m_nAutoRepeatTimeDelay(0) {}

CQMXPButton::~CQMXPButton() { CleanUp(); }

void CQMXPButton::CleanUp() {
    m_sizeImage = CSize(0, 0);
    m_nStdImageId = -1;
    for (CImageList* pList : {&m_Image, &m_ImageHot, &m_ImageDisabled, &m_ImageChecked, &m_ImageCheckedHot,
                              &m_ImageCheckedDisabled})
        pList->DeleteImageList();
}

// --- Type ----------------------------------------------------------------------------------------

void CQMXPButton::ReadButtonType(DWORD dwStyle) {
    switch (dwStyle & kTypeMask) {
    case BS_CHECKBOX:
        m_bCheckButton = TRUE;
        break;
    case BS_AUTOCHECKBOX:
        m_bCheckButton = TRUE;
        m_bAutoCheck = TRUE;
        break;
    case BS_RADIOBUTTON:
        m_bRadioButton = TRUE;
        break;
    case BS_AUTORADIOBUTTON:
        m_bRadioButton = TRUE;
        m_bAutoCheck = TRUE;
        break;
    default:
        break;
    }
    if (m_bCheckButton || m_bRadioButton) {
        switch (dwStyle & BS_CENTER) {
        case BS_LEFT:
            m_nAlignStyle = ALIGN_LEFT;
            break;
        case BS_RIGHT:
            m_nAlignStyle = ALIGN_RIGHT;
            break;
        case BS_CENTER:
            m_nAlignStyle = ALIGN_CENTER;
            break;
        default:
            break;
        }
    }
    m_bTypeRead = TRUE;
}

BOOL CQMXPButton::PreCreateWindow(CREATESTRUCTW& cs) {
    ReadButtonType(static_cast<DWORD>(cs.style));
    // The type field is replaced, not OR-ed: radios, three-state boxes and
    // group boxes would otherwise become a type that is never drawn.
    cs.style = static_cast<LONG>((static_cast<DWORD>(cs.style) & ~kTypeMask) | BS_OWNERDRAW);
    return CButton::PreCreateWindow(cs);
}

void CQMXPButton::PreSubclassWindow() {
    const DWORD dwStyle = GetStyle();
    if (!m_bTypeRead && (dwStyle & kTypeMask) != BS_OWNERDRAW)
        ReadButtonType(dwStyle);
    if ((dwStyle & kTypeMask) != BS_OWNERDRAW)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>((dwStyle & ~kTypeMask) | BS_OWNERDRAW));
    CButton::PreSubclassWindow();
}

// --- States --------------------------------------------------------------------------------------

void CQMXPButton::Repaint() {
    if (GetSafeHwnd() == nullptr)
        return;
    Invalidate();
    UpdateWindow();
}

void CQMXPButton::NotifyParent() {
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CQMXPButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CQMXPButton::OnMouseMove(UINT nFlags, CPoint point) {
    const BOOL bLeft = (nFlags & MK_LBUTTON) != 0;
    if (m_nFlatStyle == BUTTONSTYLE_3D && !bLeft) {
        CButton::OnMouseMove(nFlags, point);
        return;
    }
    CRect rectClient;
    GetClientRect(&rectClient);
    if (rectClient.PtInRect(point)) {
        m_bHover = TRUE;
        if (!m_bHighlighted) {
            m_bHighlighted = TRUE;
            Repaint();
        }
        if (bLeft && m_bClickiedInside && !m_bPushed) {
            m_bPushed = TRUE;
            Repaint();
        }
        if (!m_bCaptured) {
            SetCapture();
            m_bCaptured = TRUE;
            Repaint();
        }
    } else {
        m_bHover = FALSE;
        if (bLeft) {
            if (m_bPushed) {
                m_bPushed = FALSE;
                Repaint();
            }
        } else if (m_bHighlighted) {
            m_bHighlighted = FALSE;
            Repaint();
        }
        if (!(nFlags & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) && m_bCaptured) {
            ::ReleaseCapture();
            m_bCaptured = FALSE;
            m_bHighlighted = FALSE;
            Repaint();
        }
    }
    CButton::OnMouseMove(nFlags, point);
}

void CQMXPButton::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bResponseOnButtonDown) {
        NotifyParent();
        return;
    }
    m_bPushed = TRUE;
    m_bClickiedInside = TRUE;
    m_bHighlighted = TRUE;
    if (!m_bCaptured) {
        SetCapture();
        m_bCaptured = TRUE;
    }
    Repaint();
    if (m_nAutoRepeatTimeDelay > 0)
        SetTimer(kTimerAutoRepeat, static_cast<UINT>(m_nAutoRepeatTimeDelay));
    // The native button takes the press too and sends its click on the release.
    CButton::OnLButtonDown(nFlags, point);
}

void CQMXPButton::OnLButtonUp(UINT nFlags, CPoint point) {
    const BOOL bClicked = m_bPushed && m_bClickiedInside && m_bHighlighted;
    m_bPushed = FALSE;
    m_bClickiedInside = FALSE;
    m_bHighlighted = FALSE;
    if (bClicked && m_bAutoCheck) {
        if (m_bCheckButton) {
            m_bChecked = !m_bChecked;
        } else if (m_bRadioButton && !m_bChecked) {
            m_bChecked = TRUE;
            UncheckRadioButtonsInGroup();
        }
    }
    if (GetSafeHwnd() != nullptr)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const HWND hwndThis = m_hWnd;
    CButton::OnLButtonUp(nFlags, point);
    if (!::IsWindow(hwndThis))
        return;
    if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
    }
    if (m_nAutoRepeatTimeDelay >= 1)
        KillTimer(kTimerAutoRepeat);
}

void CQMXPButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
    m_bPushed = TRUE;
    m_bClickiedInside = TRUE;
    m_bHighlighted = TRUE;
    Repaint();
    CButton::OnLButtonDblClk(nFlags, point);
}

void CQMXPButton::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kTimerAutoRepeat) {
        CButton::OnTimer(nIDEvent);
        return;
    }
    if (m_bPushed && m_bHighlighted)
        NotifyParent();
}

void CQMXPButton::ForgetMouse() {
    if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
    }
    m_bPushed = FALSE;
    m_bClickiedInside = FALSE;
    m_bHighlighted = FALSE;
    m_bHover = FALSE;
    Repaint();
}

void CQMXPButton::OnCancelMode() {
    CButton::OnCancelMode();
    if (m_bCaptured)
        ForgetMouse();
    if (m_nAutoRepeatTimeDelay >= 0)
        KillTimer(kTimerAutoRepeat);
}

void CQMXPButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    ForgetMouse();
}

void CQMXPButton::OnEnable(BOOL bEnable) {
    m_bPushed = FALSE;
    m_bClickiedInside = FALSE;
    m_bHighlighted = FALSE;
    if (m_bCaptured) {
        ::ReleaseCapture();
        m_bCaptured = FALSE;
    }
    CButton::OnEnable(bEnable);
}

BOOL CQMXPButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_hCursor != nullptr) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        CRect rectClient;
        GetClientRect(&rectClient);
        if (rectClient.PtInRect(point)) {
            ::SetCursor(m_hCursor);
            return TRUE;
        }
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CQMXPButton::OnSize(UINT nType, int cx, int cy) {
    m_bDelayFullTextTooltipSet = TRUE;
    CButton::OnSize(nType, cx, cy);
}

LRESULT CQMXPButton::OnSetFont(WPARAM wParam, LPARAM lParam) {
    m_hFont = reinterpret_cast<HFONT>(wParam);
    if (lParam != 0)
        Repaint();
    return 0;
}

LRESULT CQMXPButton::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

LRESULT CQMXPButton::OnGetCheck(WPARAM, LPARAM) {
    return (m_bCheckButton || m_bRadioButton) && m_bChecked ? BST_CHECKED : BST_UNCHECKED;
}

LRESULT CQMXPButton::OnSetCheck(WPARAM wParam, LPARAM) {
    const BOOL bCheck = wParam != BST_UNCHECKED;
    if (!(m_bCheckButton || m_bRadioButton) || bCheck == m_bChecked)
        return 0;
    m_bChecked = bCheck;
    if (m_bRadioButton && m_bChecked)
        UncheckRadioButtonsInGroup();
    Repaint();
    return 0;
}

void CQMXPButton::UncheckRadioButtonsInGroup() {
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    for (CWnd* pWnd = pParent->GetNextDlgGroupItem(this); pWnd != nullptr && pWnd != this;
         pWnd = pParent->GetNextDlgGroupItem(pWnd)) {
        auto* pButton = DYNAMIC_DOWNCAST(CQMXPButton, CWnd::FromHandlePermanent(pWnd->GetSafeHwnd()));
        if (pButton != nullptr && pButton->m_bRadioButton && pButton->m_bChecked) {
            pButton->m_bChecked = FALSE;
            pButton->Repaint();
        }
    }
}

// --- Keys ----------------------------------------------------------------------------------------

BOOL CQMXPButton::PreTranslateMessage(MSG* pMsg) {
    if (m_wndToolTip.GetSafeHwnd() != nullptr && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        m_wndToolTip.RelayEvent(pMsg);
    if (pMsg->message != WM_KEYDOWN)
        return CButton::PreTranslateMessage(pMsg);
    switch (pMsg->wParam) {
    case VK_RETURN:
        if (CQMXPPopupMenu::GetActiveMenu() != nullptr)
            break;
        NotifyParent();
        return TRUE;
    case VK_SPACE:
        if (m_bAutoCheck && m_bCheckButton) {
            m_bChecked = !m_bChecked;
            Repaint();
            NotifyParent();
            return TRUE;
        }
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (!m_bAutoCheck || !m_bRadioButton)
            break;
        CWnd* pParent = GetParent();
        if (pParent == nullptr)
            break;
        const BOOL bPrevious = pMsg->wParam == VK_LEFT || pMsg->wParam == VK_UP;
        // The next radio of the group that is shown and enabled.
        CQMXPButton* pNext = nullptr;
        for (CWnd* pWnd = pParent->GetNextDlgGroupItem(this, bPrevious); pWnd != nullptr && pWnd != this;
             pWnd = pParent->GetNextDlgGroupItem(pWnd, bPrevious)) {
            auto* pButton = DYNAMIC_DOWNCAST(CQMXPButton, CWnd::FromHandlePermanent(pWnd->GetSafeHwnd()));
            if (pButton != nullptr && pButton->m_bRadioButton && pButton->IsWindowVisible() &&
                pButton->IsWindowEnabled()) {
                pNext = pButton;
                break;
            }
        }
        if (pNext == nullptr || pNext->m_bChecked)
            break;
        pNext->SendMessage(BM_SETCHECK, BST_CHECKED);
        pNext->SetFocus();
        pNext->NotifyParent();
        return TRUE;
    }
    default:
        break;
    }
    return CButton::PreTranslateMessage(pMsg);
}

void CQMXPButton::SetTooltip(LPCWSTR lpszToolTipText) {
    if (lpszToolTipText == nullptr) {
        if (m_wndToolTip.GetSafeHwnd() != nullptr)
            m_wndToolTip.Activate(FALSE);
        return;
    }
    if (m_wndToolTip.GetSafeHwnd() == nullptr) {
        if (!m_wndToolTip.Create(this, TTS_ALWAYSTIP))
            return;
        CRect rectClient;
        GetClientRect(&rectClient);
        m_wndToolTip.AddTool(this, lpszToolTipText, &rectClient, 0);
    } else {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = m_hWnd;
        info.uId = 0;
        info.lpszText = const_cast<LPWSTR>(lpszToolTipText);
        ::SendMessageW(m_wndToolTip.GetSafeHwnd(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
    m_wndToolTip.Activate(TRUE);
}
