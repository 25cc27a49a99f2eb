#include "docking/toolbars/QMXPDropDownFrame.h"

#include "docking/toolbars/QMXPDropDownToolbarButton.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "platform/classlib/DC.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CQMXPDropDownFrame, CMiniFrameWnd)

namespace {
constexpr UINT kToolBarId = 1;
// The frame's border around its bar: a double raised edge and a pixel.
constexpr int kBorder = 3;

const CString& DropDownFrameClass() {
    static CString strClass;
    if (strClass.IsEmpty()) {
        WNDCLASSW wc = {};
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"QMXDropDownFrame";
        WNDCLASSW existing = {};
        if (::GetClassInfoW(wc.hInstance, wc.lpszClassName, &existing) || ::RegisterClassW(&wc))
            strClass = wc.lpszClassName;
    }
    return strClass;
}
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPDropDownFrame, CMiniFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATEAPP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQMXPDropDownFrame::CQMXPDropDownFrame()
    : m_pParentBtn(nullptr), m_pWndOriginToolbar(nullptr), m_x(0), m_y(0) {}

CQMXPDropDownFrame::~CQMXPDropDownFrame() = default;

BOOL CQMXPDropDownFrame::Create(CWnd* pWndParent, int x, int y, CQMXPDropDownToolBar* pWndOriginToolbar) {
    PlayMenuSound(QMXP_SOUND_MENU_POPUP);
    m_pWndOriginToolbar = pWndOriginToolbar;
    if (x == -1 && y == -1 && pWndParent != nullptr) {
        CRect rectParent;
        pWndParent->GetClientRect(&rectParent);
        pWndParent->ClientToScreen(&rectParent);
        x = rectParent.left + 5;
        y = rectParent.top + 5;
    }
    m_x = x;
    m_y = y;
    CWnd* pOwner = pWndParent != nullptr ? pWndParent->GetTopLevelFrame() : nullptr;
    if (pOwner == nullptr)
        pOwner = pWndParent;
    if (!CMiniFrameWnd::CreateEx(0, DropDownFrameClass(), m_strCaption, WS_POPUP, CRect(x, y, x, y), pOwner))
        return FALSE;
    ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

int CQMXPDropDownFrame::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CMiniFrameWnd::OnCreate(lpCreateStruct) == -1 || m_pWndOriginToolbar == nullptr)
        return -1;
    CWnd* pBar = m_pParentBtn != nullptr ? m_pParentBtn->m_pWndParent : nullptr;
    const auto* pParentBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pBar);
    const BOOL bHorz = pParentBar == nullptr || pParentBar->IsHorizontal();
    const DWORD dwAlign = bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | dwAlign, kToolBarId))
        return -1;
    m_wndToolBar.CopyFrom(*m_pWndOriginToolbar);
    RecalcLayout();
    return 0;
}

void CQMXPDropDownFrame::RecalcLayout(BOOL) {
    if (m_wndToolBar.GetSafeHwnd() == nullptr)
        return;
    const BOOL bHorz = m_wndToolBar.IsHorizontal();
    const CSize sizeBar = m_wndToolBar.CalcSize(!bHorz);
    CRect rect(CPoint(m_x, m_y), CSize(sizeBar.cx + 2 * kBorder, sizeBar.cy + 2 * kBorder));

    // Kept on the screen: against its right edge (beside a vertical bar),
    // above the button at its bottom.
    const CRect rectScreen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CWnd* pBar = m_pParentBtn != nullptr ? m_pParentBtn->m_pWndParent : nullptr;
    CRect rectButton(0, 0, 0, 0);
    if (pBar != nullptr && m_pParentBtn != nullptr) {
        rectButton = m_pParentBtn->GetRect();
        pBar->ClientToScreen(&rectButton);
    }
    if (rect.right > rectScreen.right) {
        const auto* pParentBar = DYNAMIC_DOWNCAST(CQMXPBaseControlBar, pBar);
        if (pParentBar != nullptr && !pParentBar->IsHorizontal()) {
            CRect rectBar;
            pBar->GetWindowRect(&rectBar);
            rect.OffsetRect(rectBar.left - rect.right, 0);
        } else {
            rect.OffsetRect(rectScreen.right - 1 - rect.right, 0);
        }
    }
    if (rect.bottom > rectScreen.bottom) {
        const int nTop = m_pParentBtn != nullptr ? rect.top - rect.Height() - rectButton.Height() - 4 : 0;
        rect.OffsetRect(0, std::max(nTop, 0) - rect.top);
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPDropDownFrame::OnSize(UINT nType, int cx, int cy) {
    CMiniFrameWnd::OnSize(nType, cx, cy);
    if (m_wndToolBar.GetSafeHwnd() != nullptr)
        m_wndToolBar.SetWindowPos(nullptr, 2, 2, cx - 4, cy - 4, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQMXPDropDownFrame::OnPaint() {
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.Draw3dRect(&rect, globalData.clrBtnLight, globalData.clrBtnDkShadow);
    rect.DeflateRect(1, 1);
    dc.Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
}

BOOL CQMXPDropDownFrame::OnEraseBkgnd(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, globalData.clrBtnFace);
    return TRUE;
}

void CQMXPDropDownFrame::OnActivateApp(BOOL bActive, DWORD) {
    if (!bActive && !CQMXPToolBar::m_bCustomizeMode)
        SendMessage(WM_CLOSE);
}

void CQMXPDropDownFrame::OnDestroy() {
    CQMXPDropDownToolbarButton* pButton = m_pParentBtn;
    m_pParentBtn = nullptr;
    m_wndToolBar.ReleaseBorrowedButtons();
    if (pButton != nullptr) {
        pButton->m_pPopupMenu = nullptr;
        pButton->m_nStyle &= ~TBBS_PRESSED;
        pButton->OnCancelMode();
        // The bar that holds the button lets it go as if the mouse came up.
        CWnd* pBar = pButton->m_pWndParent;
        if (pBar != nullptr && pBar->GetSafeHwnd() != nullptr) {
            CPoint pt;
            ::GetCursorPos(&pt);
            pBar->ScreenToClient(&pt);
            pBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        }
    }
    CMiniFrameWnd::OnDestroy();
}
