#include "platform/classlib/ControlBar.h"

#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {

const wchar_t kBarWndClass[] = L"OTClassLibControlBar";

LPCWSTR BarWndClass() {
    return AfxRegisterWindowClassOnce(kBarWndClass, CS_DBLCLKS,
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
}

}  // namespace

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar() : m_bAutoDelete(FALSE), m_pDockSite(nullptr), m_dwStyle(0), m_dwDockStyle(0) {}

CControlBar::~CControlBar() {
    m_bAutoDelete = FALSE;  // the destructor is running already
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

CSize CControlBar::CalcFixedLayout(BOOL, BOOL) { return CSize(0, 0); }

void CControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    if (m_dwStyle == dwStyle)
        return;
    m_dwStyle = dwStyle;
    if (m_hWnd != nullptr) {
        Invalidate();
        CFrameWnd* pFrame = GetDockingFrame();
        if (pFrame != nullptr)
            pFrame->RecalcLayout();
    }
}

BOOL CControlBar::IsVisible() const { return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0; }

CFrameWnd* CControlBar::GetDockingFrame() const {
    if (m_pDockSite != nullptr)
        return m_pDockSite;
    return GetParentFrame();
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr)
        cs.lpszClass = BarWndClass();
    if (cs.lpszClass == nullptr)
        return FALSE;
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam) {
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || pOwner->m_hWnd == m_hWnd)
        return CWnd::OnCommand(wParam, lParam);
    pOwner->SendMessage(WM_COMMAND, wParam, lParam);
    return TRUE;
}

void CControlBar::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}

int CControlBar::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // A bar made with its style in the window style's low word keeps it as the bar style.
    if (m_dwStyle == 0)
        m_dwStyle = lpcs->style & 0xFFFF;
    if (m_pDockSite == nullptr) {
        CWnd* pParent = CWnd::FromHandle(lpcs->hwndParent);
        if (pParent != nullptr && pParent->IsFrameWnd())
            m_pDockSite = static_cast<CFrameWnd*>(pParent);
    }
    return 0;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (lpLayout == nullptr || !IsVisible())
        return 0;
    DWORD dwAlign = m_dwStyle & CBRS_ALIGN_ANY;
    if (dwAlign == 0)
        return 0;  // a floating or unplaced bar takes no room
    const BOOL bHorz = IsHorz();
    CSize size = CalcFixedLayout(lpLayout->bStretch, bHorz);
    CRect rect(lpLayout->rect);
    CRect rectBar = rect;
    if (dwAlign & CBRS_ALIGN_TOP) {
        size.cy = std::min<LONG>(size.cy, rect.Height());
        rectBar.bottom = rect.top + size.cy;
        lpLayout->rect.top += size.cy;
    } else if (dwAlign & CBRS_ALIGN_BOTTOM) {
        size.cy = std::min<LONG>(size.cy, rect.Height());
        rectBar.top = rect.bottom - size.cy;
        lpLayout->rect.bottom -= size.cy;
    } else if (dwAlign & CBRS_ALIGN_LEFT) {
        size.cx = std::min<LONG>(size.cx, rect.Width());
        rectBar.right = rect.left + size.cx;
        lpLayout->rect.left += size.cx;
    } else {
        size.cx = std::min<LONG>(size.cx, rect.Width());
        rectBar.left = rect.right - size.cx;
        lpLayout->rect.right -= size.cx;
    }
    if (bHorz) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max<LONG>(lpLayout->sizeTotal.cx, size.cx);
    } else {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max<LONG>(lpLayout->sizeTotal.cy, size.cy);
    }
    AfxRepositionWindow(lpLayout, m_hWnd, &rectBar);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!IsVisible())
        return 0;
    // The target is the frame that owns the bar's commands (the owner's frame when there is one).
    CWnd* pOwner = GetOwner();
    CFrameWnd* pTarget = nullptr;
    if (pOwner != nullptr && pOwner->IsFrameWnd())
        pTarget = static_cast<CFrameWnd*>(pOwner);
    else if (pOwner != nullptr)
        pTarget = pOwner->GetParentFrame();
    if (pTarget == nullptr)
        pTarget = GetDockingFrame();
    if (pTarget != nullptr)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}
