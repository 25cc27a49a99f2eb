#include "docking/bars/QMXPCaptionBar.h"

#include "docking/frames/QMXPTrackMouse.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/FrameWnd.h"

IMPLEMENT_DYNCREATE(CQMXPCaptionBar, CQMXPControlBar)

namespace {
// The room on the right of an active button for its drop-down triangle.
constexpr int kMenuArrowWidth = 10;
constexpr DWORD kTextFormat = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;
}  // namespace

BEGIN_MESSAGE_MAP(CQMXPCaptionBar, CQMXPControlBar)
    ON_WM_CREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CQMXPCaptionBar::CQMXPCaptionBar()
    : m_clrBarText(static_cast<COLORREF>(-1)),
      m_clrBarBackground(static_cast<COLORREF>(-1)),
      m_hIcon(nullptr),
      m_bStretchImage(FALSE),
      m_iconAlignment(ALIGN_LEFT),
      m_rectImage(0, 0, 0, 0),
      m_hFont(nullptr),
      m_textAlignment(ALIGN_LEFT),
      m_rectText(0, 0, 0, 0),
      m_rectDrawText(0, 0, 0, 0),
      m_uiBtnID(0),
      m_btnAlignnment(ALIGN_LEFT),
      m_rectButton(0, 0, 0, 0),
      m_bIsButtonPressed(FALSE),
      m_bIsButtonHighlighted(FALSE),
      m_bIsButtonChecked(FALSE),
      m_bTracked(FALSE),
      m_bBtnEnabled(FALSE),
      m_nBorderSize(4),
      m_nMargin(4),
      m_nHorzElementOffset(4),
      m_nDefaultHeight(-1),
      m_nCurrentHeight(0),
      m_bFlatBorder(FALSE) {}

CQMXPCaptionBar::~CQMXPCaptionBar() = default;

BOOL CQMXPCaptionBar::Create(DWORD dwStyle, CWnd* pParentWnd, UINT uiID, int nHeight) {
    SetBarStyle(CBRS_ALIGN_TOP);
    m_nDefaultHeight = nHeight;
    return CQMXPControlBar::Create(nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, uiID, 0);
}

int CQMXPCaptionBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    return CQMXPControlBar::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CQMXPCaptionBar::SetText(const CString& strText, BarElementAlignment align) {
    m_strText = strText;
    m_textAlignment = align;
    RefreshLayout();
}

void CQMXPCaptionBar::SetIcon(HICON hIcon, BarElementAlignment align) {
    m_Bitmap.Clear();
    m_hIcon = hIcon;
    m_iconAlignment = align;
    RefreshLayout();
}

BOOL CQMXPCaptionBar::SetBitmap(UINT uiBmpResId, COLORREF clrTransparent, BOOL bStretch, BarElementAlignment align) {
    m_hIcon = nullptr;
    m_Bitmap.Clear();
    m_Bitmap.SetTransparentColor(clrTransparent);
    const BOOL bLoaded = m_Bitmap.Load(uiBmpResId);
    if (bLoaded) {
        // The whole bitmap is the one image.
        BITMAP bmp = {};
        ::GetObjectW(m_Bitmap.GetImageWell(), sizeof(bmp), &bmp);
        m_Bitmap.SetImageSize(CSize(bmp.bmWidth, bmp.bmHeight));
    }
    m_bStretchImage = bStretch;
    m_iconAlignment = align;
    RefreshLayout();
    return bLoaded;
}

void CQMXPCaptionBar::SetButton(const CString& strLabel, UINT uiCmdUI, BarElementAlignment align, BOOL bEnabled) {
    m_strBtnText = strLabel;
    m_uiBtnID = uiCmdUI;
    m_btnAlignnment = align;
    m_bBtnEnabled = bEnabled;
    RefreshLayout();
}

void CQMXPCaptionBar::EnableButton(BOOL bEnable) {
    m_bBtnEnabled = bEnable;
    if (!HasActiveButton())
        m_bIsButtonHighlighted = m_bIsButtonPressed = FALSE;
    RefreshLayout();
}

void CQMXPCaptionBar::SetButtonPressed(BOOL bPressed) {
    m_bIsButtonChecked = bPressed;
    RedrawButton();
}

void CQMXPCaptionBar::SetFixedHeight(int nHeight) {
    m_nDefaultHeight = nHeight;
    RefreshLayout();
}

void CQMXPCaptionBar::SetFlatBorder(BOOL bFlat) {
    m_bFlatBorder = bFlat;
    RefreshLayout();
}

void CQMXPCaptionBar::SetTextColor(COLORREF clrText) {
    m_clrBarText = clrText;
    RefreshLayout();
}

void CQMXPCaptionBar::SetBackColor(COLORREF clrBackground) {
    m_clrBarBackground = clrBackground;
    RefreshLayout();
}

void CQMXPCaptionBar::RefreshLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr)
        pFrame->RecalcLayout(TRUE);
    AdjustLayout();
    Invalidate();
}

CSize CQMXPCaptionBar::CalcFixedLayout(BOOL, BOOL) {
    AdjustLayout();
    return CSize(32767, m_nCurrentHeight);
}

void CQMXPCaptionBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    lpncsp->rgrc[0].top += m_nBorderSize;
    lpncsp->rgrc[0].bottom -= m_nBorderSize;
}

void CQMXPCaptionBar::OnNcPaint() {
    CWindowDC dc(this);
    CRect rectWindow;
    GetWindowRect(&rectWindow);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    CRect rectClient;
    GetClientRect(&rectClient);
    rectClient.OffsetRect(0, m_nBorderSize);
    dc.ExcludeClipRect(&rectClient);
    OnDrawBorder(&dc, CRect(rectWindow.left, rectWindow.top, rectWindow.right, rectWindow.top + m_nBorderSize));
    OnDrawBorder(&dc, CRect(rectWindow.left, rectWindow.bottom - m_nBorderSize, rectWindow.right, rectWindow.bottom));
}

BOOL CQMXPCaptionBar::OnEraseBkgnd(CDC* pDC) {
    CRect rectClient;
    GetClientRect(&rectClient);
    OnDrawBackground(pDC, rectClient);
    return TRUE;
}

void CQMXPCaptionBar::OnPaint() {
    CPaintDC dc(this);
    const int nSaved = dc.SaveDC();
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_clrBarText != static_cast<COLORREF>(-1)
                        ? m_clrBarText
                        : CQMXPVisualManager::GetInstance()->GetCaptionBarTextColor(this));
    ::SelectObject(dc.GetSafeHdc(), m_hFont != nullptr ? m_hFont : globalData.fontRegular.GetSafeHandle());
    OnDrawButton(&dc, m_rectButton, m_strBtnText, m_bBtnEnabled);
    OnDrawText(&dc, m_rectDrawText, m_strText);
    OnDrawImage(&dc, m_rectImage);
    dc.RestoreDC(nSaved);
}

void CQMXPCaptionBar::OnSize(UINT nType, int cx, int cy) {
    CQMXPControlBar::OnSize(nType, cx, cy);
    AdjustLayout();
    Invalidate();
}

void CQMXPCaptionBar::OnSysColorChange() {}

LRESULT CQMXPCaptionBar::OnSetFont(WPARAM wParam, LPARAM) {
    m_hFont = reinterpret_cast<HFONT>(wParam);
    RefreshLayout();
    return 0;
}

LRESULT CQMXPCaptionBar::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

void CQMXPCaptionBar::OnDrawBackground(CDC* pDC, CRect rect) {
    CQMXPVisualManager::GetInstance()->OnFillBarBackground(pDC, this, rect, rect, FALSE);
}

void CQMXPCaptionBar::OnDrawBorder(CDC* pDC, CRect rect) {
    rect.InflateRect(2, 0);
    if (m_clrBarBackground == static_cast<COLORREF>(-1)) {
        pDC->FillRect(&rect, &globalData.brBtnFace);
    } else {
        CBrush brush(m_clrBarBackground);
        pDC->FillRect(&rect, &brush);
    }
    if (!m_bFlatBorder)
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnShadow);
}

void CQMXPCaptionBar::OnDrawText(CDC* pDC, CRect rect, const CString& strText) {
    pDC->DrawText(strText, &rect, kTextFormat);
}

void CQMXPCaptionBar::OnDrawImage(CDC* pDC, CRect rect) {
    if (m_hIcon != nullptr) {
        ::DrawIconEx(pDC->GetSafeHdc(), rect.left, rect.top, m_hIcon, rect.Width(), rect.Height(), 0, nullptr,
                     DI_NORMAL);
        return;
    }
    if (m_Bitmap.GetCount() <= 0)
        return;
    CQMXPDrawState ds;
    const CSize sizeDraw = m_bStretchImage ? rect.Size() : m_rectImage.Size();
    if (!m_Bitmap.BeginDraw(ds, sizeDraw.cx, sizeDraw.cy))
        return;
    m_Bitmap.DrawImage(pDC, rect.left, rect.top, 0);
    m_Bitmap.FinishDraw(ds);
}

void CQMXPCaptionBar::OnDrawButton(CDC* pDC, CRect rect, const CString& strButton, BOOL bEnabled) {
    const BOOL bArrow = m_uiBtnID != 0 && bEnabled;
    CRect rectText = rect;
    rectText.DeflateRect(m_nHorzElementOffset, 0);
    if (bArrow)
        rectText.right -= kMenuArrowWidth;
    pDC->DrawText(strButton, &rectText, kTextFormat);

    if (bArrow) {
        const int xCentre = rectText.right + m_nHorzElementOffset / 2 + kMenuArrowWidth / 2;
        const int yCentre = rect.CenterPoint().y;
        const POINT triangle[3] = {{xCentre - 3, yCentre - 1}, {xCentre + 3, yCentre - 1}, {xCentre, yCentre + 2}};
        CBrush brush(pDC->GetTextColor());
        CPen pen(PS_SOLID, 1, pDC->GetTextColor());
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->Polygon(triangle, 3);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }

    if (m_bIsButtonPressed || m_bIsButtonChecked)
        pDC->Draw3dRect(&rect, globalData.clrBtnDkShadow, globalData.clrBtnHilite);
    else if (m_bIsButtonHighlighted)
        pDC->Draw3dRect(&rect, globalData.clrBtnHilite, globalData.clrBtnDkShadow);
}

void CQMXPCaptionBar::RedrawButton() {
    if (GetSafeHwnd() == nullptr)
        return;
    InvalidateRect(&m_rectButton);
    UpdateWindow();
}

void CQMXPCaptionBar::OnMouseMove(UINT nFlags, CPoint point) {
    CQMXPControlBar::OnMouseMove(nFlags, point);
    if (!HasActiveButton())
        return;
    if (!m_bTracked) {
        TRACKMOUSEEVENT trackmouseevent = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTracked = QMXPTrackMouse(&trackmouseevent);
    }
    const BOOL bHot = m_rectButton.PtInRect(point);
    if (bHot == m_bIsButtonHighlighted)
        return;
    m_bIsButtonHighlighted = bHot;
    m_bIsButtonPressed = (nFlags & MK_LBUTTON) && bHot;
    RedrawButton();
}

void CQMXPCaptionBar::OnLButtonDown(UINT nFlags, CPoint point) {
    CQMXPControlBar::OnLButtonDown(nFlags, point);
    if (!HasActiveButton() || !m_bIsButtonHighlighted)
        return;
    m_bIsButtonPressed = TRUE;
    RedrawButton();
    CWnd* pTarget = GetOwner() != nullptr ? GetOwner() : GetParent();
    if (pTarget != nullptr)
        pTarget->SendMessage(WM_COMMAND, m_uiBtnID, 0);
}

void CQMXPCaptionBar::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_bIsButtonPressed) {
        m_bIsButtonPressed = FALSE;
        RedrawButton();
    }
    CQMXPControlBar::OnLButtonUp(nFlags, point);
}

void CQMXPCaptionBar::OnRButtonUp(UINT, CPoint point) {
    if (CQMXPToolBar::m_bCustomizeMode) {
        Default();
        return;
    }
    CWnd* pTarget = GetOwner() != nullptr ? GetOwner() : GetParent();
    if (pTarget == nullptr)
        return;
    ClientToScreen(&point);
    pTarget->SendMessage(QMXTOOLBAR_POPUPMENU, reinterpret_cast<WPARAM>(m_hWnd), MAKELPARAM(point.x, point.y));
}

void CQMXPCaptionBar::OnMouseLeave() {
    m_bTracked = FALSE;
    if (m_bIsButtonPressed || m_bIsButtonHighlighted) {
        m_bIsButtonPressed = m_bIsButtonHighlighted = FALSE;
        RedrawButton();
    }
}
