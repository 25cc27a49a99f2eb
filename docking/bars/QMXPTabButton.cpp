#include "docking/bars/QMXPTabButton.h"

#include "docking/bars/QMXPBaseTabWnd.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"

IMPLEMENT_DYNAMIC(CQMXTabButton, CButton)

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr int kStatePressed = 1;
constexpr int kStateHighlighted = 2;

}  // namespace

BEGIN_MESSAGE_MAP(CQMXTabButton, CButton)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_CANCELMODE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQMXTabButton::CQMXTabButton()
    : m_nGlyph(-1),
      m_nHotGlyph(0),
      m_nAutoRepeatDelay(0),
      m_nFlatStyle(0),
      m_nStdImage(0),
      m_bPushed(FALSE),
      m_bHighlighted(FALSE),
      m_bRepeating(FALSE) {}

CQMXTabButton::~CQMXTabButton() = default;

void CQMXTabButton::SetTooltip(LPCWSTR lpszTooltip) {
    m_strTooltip = lpszTooltip != nullptr ? lpszTooltip : L"";
    if (GetSafeHwnd() == nullptr)
        return;
    if (m_ToolTip.GetSafeHwnd() == nullptr) {
        if (!m_ToolTip.Create(this))
            return;
        m_ToolTip.Activate(TRUE);
        CRect rectClient;
        GetClientRect(&rectClient);
        m_ToolTip.AddTool(this, m_strTooltip, &rectClient, 1);
        return;
    }
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWnd;
    info.uId = 1;
    info.lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(m_strTooltip));
    m_ToolTip.SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CQMXTabButton::PreTranslateMessage(MSG* pMsg) {
    if (m_ToolTip.GetSafeHwnd() != nullptr && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        m_ToolTip.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

void CQMXTabButton::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    auto* pTabWnd = DYNAMIC_DOWNCAST(CQMXPBaseTabWnd, GetParent());
    CQMXPVisualManager* pVisualManager = CQMXPVisualManager::GetInstance();
    pVisualManager->OnFillTab(&dc, rect, -1, pTabWnd);
    const int nState = (m_bPushed && m_bHighlighted ? kStatePressed : 0) | (m_bHighlighted ? kStateHighlighted : 0);
    pVisualManager->OnDrawTabButtonBorder(&dc, rect, this, nState, pTabWnd);
    if (m_nGlyph < 0 || rect.IsRectEmpty())
        return;
    // The glyph in what the border leaves.
    const CSize sizeGlyph = CQMXPMenuGlyphs::GetSize();
    const CPoint pt(rect.left + (rect.Width() - sizeGlyph.cx) / 2, rect.top + (rect.Height() - sizeGlyph.cy) / 2);
    const int nGlyph = m_bHighlighted && m_nHotGlyph != 0 ? m_nHotGlyph : m_nGlyph;
    CQMXPMenuGlyphs::Draw(&dc, nGlyph, pt,
                          IsWindowEnabled() ? CQMXPMenuGlyphs::ImageBlack : CQMXPMenuGlyphs::ImageGray);
}

BOOL CQMXTabButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CQMXTabButton::SendClick() {
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CQMXTabButton::StopRepeat() {
    if (m_bRepeating)
        KillTimer(kRepeatTimer);
    m_bRepeating = FALSE;
}

void CQMXTabButton::OnLButtonDown(UINT, CPoint) {
    if (!IsWindowEnabled())
        return;
    m_bPushed = TRUE;
    m_bHighlighted = TRUE;
    SetCapture();
    Invalidate();
    // A repeating button clicks at once and again while it is held.
    if (m_nAutoRepeatDelay > 0) {
        m_bRepeating = TRUE;
        SetTimer(kRepeatTimer, m_nAutoRepeatDelay, nullptr);
        SendClick();
    }
}

void CQMXTabButton::OnLButtonUp(UINT, CPoint point) {
    const BOOL bWasPushed = m_bPushed;
    const BOOL bRepeated = m_bRepeating;
    StopRepeat();
    m_bPushed = FALSE;
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    CRect rect;
    GetClientRect(&rect);
    m_bHighlighted = rect.PtInRect(point);
    Invalidate();
    if (bWasPushed && !bRepeated && m_bHighlighted)
        SendClick();
}

void CQMXTabButton::OnMouseMove(UINT, CPoint point) {
    CRect rect;
    GetClientRect(&rect);
    const BOOL bInside = rect.PtInRect(point);
    if (bInside == m_bHighlighted)
        return;
    m_bHighlighted = bInside;
    if (!m_bPushed) {
        if (bInside)
            SetCapture();
        else if (CWnd::GetCapture() == this)
            ::ReleaseCapture();
    }
    Invalidate();
}

void CQMXTabButton::OnCancelMode() {
    StopRepeat();
    m_bPushed = m_bHighlighted = FALSE;
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    Invalidate();
}

void CQMXTabButton::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRepeatTimer && m_bPushed && m_bHighlighted) {
        SendClick();
        return;
    }
    CButton::OnTimer(nIDEvent);
}

void CQMXTabButton::OnSize(UINT nType, int cx, int cy) {
    CButton::OnSize(nType, cx, cy);
    if (m_ToolTip.GetSafeHwnd() != nullptr) {
        const CRect rect(0, 0, cx, cy);
        m_ToolTip.SetToolRect(this, 1, &rect);
    }
}

void CQMXTabButton::OnDestroy() {
    StopRepeat();
    if (m_ToolTip.GetSafeHwnd() != nullptr)
        m_ToolTip.DestroyWindow();
    CButton::OnDestroy();
}
