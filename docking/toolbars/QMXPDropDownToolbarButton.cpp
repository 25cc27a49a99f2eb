#include "docking/toolbars/QMXPDropDownToolbarButton.h"

#include "docking/toolbars/QMXPDropDownFrame.h"
#include "docking/toolbars/QMXPDropDownToolBar.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/StringResource.h"

IMPLEMENT_SERIAL(CQMXPDropDownToolbarButton, CQMXPToolbarButton, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr UINT kPressDelay = 500;
CQMXPDropDownToolbarButton* g_pPendingButton = nullptr;

void CALLBACK PressTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD) {
    if (g_pPendingButton != nullptr)
        g_pPendingButton->OnClick(CWnd::FromHandle(hwnd), FALSE);
    else
        ::KillTimer(hwnd, QMXP_DROPDOWN_PRESS_TIMER);
}

bool IsCommandId(UINT uiCmd) { return uiCmd != 0 && uiCmd != static_cast<UINT>(-1); }

}  // namespace

CQMXPDropDownToolbarButton* CQMXPDropDownToolbarButton::GetPendingButton() { return g_pPendingButton; }

CQMXPDropDownToolbarButton::CQMXPDropDownToolbarButton()
    : m_pToolBar(nullptr),
      m_pPopupMenu(nullptr),
      m_pWndParent(nullptr),
      m_uiTimer(0),
      m_iSelectedImage(0),
      m_bInternalDraw(FALSE),
      m_bLocalUserButton(FALSE) {
    m_bLocked = TRUE;
    m_bOwnImage = TRUE;
}

CQMXPDropDownToolbarButton::CQMXPDropDownToolbarButton(LPCWSTR lpszName, CQMXPDropDownToolBar* pToolBar)
    : CQMXPDropDownToolbarButton() {
    m_strName = lpszName != nullptr ? lpszName : L"";
    m_pToolBar = pToolBar;
}

CQMXPDropDownToolbarButton::~CQMXPDropDownToolbarButton() {
    KillPressTimer();
    if (m_pPopupMenu != nullptr) {
        CQMXPDropDownFrame* pFrame = m_pPopupMenu;
        m_pPopupMenu = nullptr;
        pFrame->m_pParentBtn = nullptr;
        pFrame->DestroyWindow();
    }
}

template <class TAction>
void CQMXPDropDownToolbarButton::AsCurrentImage(TAction action) {
    const int iImage = m_iImage;
    const BOOL bUser = m_bUserButton;
    const BOOL bImage = m_bImage;
    const BOOL bText = m_bText;
    m_iImage = m_iSelectedImage;
    m_bUserButton = m_bLocalUserButton;
    m_bImage = TRUE;
    m_bText = FALSE;
    m_bInternalDraw = TRUE;
    action();
    m_bInternalDraw = FALSE;
    m_iImage = iImage;
    m_bUserButton = bUser;
    m_bImage = bImage;
    m_bText = bText;
}

void CQMXPDropDownToolbarButton::KillPressTimer() {
    if (m_uiTimer != 0 && m_pWndParent != nullptr && m_pWndParent->GetSafeHwnd() != nullptr)
        ::KillTimer(m_pWndParent->GetSafeHwnd(), QMXP_DROPDOWN_PRESS_TIMER);
    m_uiTimer = 0;
    if (g_pPendingButton == this)
        g_pPendingButton = nullptr;
}

void CQMXPDropDownToolbarButton::CloseFrame() {
    CQMXPDropDownFrame* pFrame = m_pPopupMenu;
    if (pFrame == nullptr)
        return;
    m_pPopupMenu = nullptr;
    pFrame->m_pParentBtn = nullptr;
    pFrame->DestroyWindow();
}

void CQMXPDropDownToolbarButton::InvalidateOnBar() {
    if (m_pWndParent == nullptr || m_pWndParent->GetSafeHwnd() == nullptr)
        return;
    m_pWndParent->InvalidateRect(&m_rect);
    m_pWndParent->UpdateWindow();
}

void CQMXPDropDownToolbarButton::Serialize(CArchive& ar) {
    CQMXPToolbarButton::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_pToolBar != nullptr ? m_pToolBar->GetDlgCtrlID() : 0) << m_strName
           << m_iSelectedImage;
        return;
    }
    DWORD dwBarId = 0;
    ar >> dwBarId >> m_strName >> m_iSelectedImage;
    m_pToolBar = nullptr;
    for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars()) {
        auto* pDropDown = DYNAMIC_DOWNCAST(CQMXPDropDownToolBar, pBar);
        if (pDropDown != nullptr && pDropDown->GetSafeHwnd() != nullptr &&
            static_cast<DWORD>(pDropDown->GetDlgCtrlID()) == dwBarId) {
            m_pToolBar = pDropDown;
            break;
        }
    }
    SetDefaultCommand(m_nID);
}

void CQMXPDropDownToolbarButton::AssignFrom(const CQMXPToolbarButton& src) {
    const auto* pSrc = DYNAMIC_DOWNCAST(CQMXPDropDownToolbarButton, const_cast<CQMXPToolbarButton*>(&src));
    if (pSrc == nullptr)
        return;
    m_pToolBar = pSrc->m_pToolBar;
    m_strName = pSrc->m_strName;
    m_iSelectedImage = pSrc->m_iSelectedImage;
}

void CQMXPDropDownToolbarButton::SetDefaultCommand(UINT uiCmd) {
    m_nID = uiCmd;
    m_iSelectedImage = -1;
    if (m_pToolBar != nullptr) {
        int iImage = 0;
        for (int i = 0; i < m_pToolBar->GetCount(); ++i) {
            CQMXPToolbarButton* pButton = m_pToolBar->GetButton(i);
            if (pButton == nullptr || (pButton->m_nStyle & TBBS_SEPARATOR))
                continue;
            if (pButton->m_nID == uiCmd) {
                m_bLocalUserButton = pButton->m_bUserButton;
                m_iSelectedImage = m_bLocalUserButton ? pButton->GetImage() : iImage;
                break;
            }
            ++iImage;
        }
    }
    if (m_iSelectedImage < 0)
        m_iSelectedImage = 0;
}

SIZE CQMXPDropDownToolbarButton::OnCalcSize(CDC* pDC, const CSize& sizeDefault, BOOL bHorz) {
    if (m_nID == 0 && m_pToolBar != nullptr) {
        for (int i = 0; i < m_pToolBar->GetCount(); ++i) {
            CQMXPToolbarButton* pButton = m_pToolBar->GetButton(i);
            if (pButton != nullptr && !(pButton->m_nStyle & TBBS_SEPARATOR)) {
                SetDefaultCommand(pButton->m_nID);
                break;
            }
        }
    }
    // Measured as the button of the current image it shows.
    CSize size;
    AsCurrentImage([&] { size = CQMXPToolbarButton::OnCalcSize(pDC, sizeDefault, bHorz); });
    size.cx += CQMXPToolBar::IsLargeIcons() ? 9 : 4;
    return size;
}

BOOL CQMXPDropDownToolbarButton::OnClick(CWnd* pWnd, BOOL bDelay) {
    if (m_uiTimer == 0) {
        // The press: half a second later the frame drops down.
        if (m_pWndParent == nullptr || m_pWndParent->GetSafeHwnd() == nullptr)
            return FALSE;
        if (g_pPendingButton != nullptr && g_pPendingButton != this)
            g_pPendingButton->KillPressTimer();
        m_uiTimer = ::SetTimer(m_pWndParent->GetSafeHwnd(), QMXP_DROPDOWN_PRESS_TIMER, kPressDelay, PressTimerProc);
        if (m_uiTimer != 0)
            g_pPendingButton = this;
        return FALSE;
    }
    KillPressTimer();
    if (m_pPopupMenu != nullptr) {
        CloseFrame();
    } else {
        const BOOL bOnPopupMenu = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, m_pWndParent) != nullptr;
        if (!(bDelay && bOnPopupMenu && !CQMXPToolBar::m_bCustomizeMode))
            DropDownToolbar(pWnd);
    }
    InvalidateOnBar();
    return FALSE;
}

BOOL CQMXPDropDownToolbarButton::OnClickUp() {
    if (m_uiTimer != 0) {
        // A short click: the bar runs the current command.
        KillPressTimer();
        return FALSE;
    }
    if (m_pPopupMenu != nullptr) {
        // Released over the dropped bar: its button under the cursor is chosen.
        CQMXPDropDownToolBar& bar = m_pPopupMenu->GetToolBar();
        CPoint pt;
        ::GetCursorPos(&pt);
        if (bar.GetSafeHwnd() != nullptr && ::WindowFromPoint(pt) == bar.GetSafeHwnd()) {
            bar.ScreenToClient(&pt);
            const int iHit = bar.HitTest(pt);
            if (iHit >= 0 && bar.OnItemClicked(bar.GetButton(iHit)))
                return TRUE;
        }
        CloseFrame();
    }
    return TRUE;
}

void CQMXPDropDownToolbarButton::OnParentChanged(CWnd* pWndParent) {
    KillPressTimer();
    CQMXPToolbarButton::OnParentChanged(pWndParent);
    m_pWndParent = pWndParent;
    m_bText = FALSE;
    m_strText.Empty();
    m_bUserButton = FALSE;
}

BOOL CQMXPDropDownToolbarButton::DropDownToolbar(CWnd* pWnd) {
    if (m_pToolBar == nullptr || m_pPopupMenu != nullptr)
        return FALSE;
    CWnd* pWndBar = pWnd != nullptr && pWnd->GetSafeHwnd() != nullptr ? pWnd : m_pWndParent;
    if (pWndBar == nullptr || pWndBar->GetSafeHwnd() == nullptr)
        return FALSE;
    const auto* pParentBar = DYNAMIC_DOWNCAST(CQMXPToolBar, m_pWndParent);
    CPoint pt = pParentBar != nullptr && !pParentBar->IsHorizontal() ? CPoint(m_rect.right + 1, m_rect.top)
                                                                     : CPoint(m_rect.left - 1, m_rect.bottom);
    pWndBar->ClientToScreen(&pt);
    auto* pFrame = new CQMXPDropDownFrame;
    pFrame->m_pParentBtn = this;
    m_pPopupMenu = pFrame;
    if (!pFrame->Create(pWndBar, pt.x, pt.y, m_pToolBar)) {
        m_pPopupMenu = nullptr;
        return FALSE;
    }
    return TRUE;
}

void CQMXPDropDownToolbarButton::OnDraw(CDC* pDC, const CRect& rect, CQMXPToolBarImages*, BOOL bHorz,
                                        BOOL bCustomizeMode, BOOL bHighlight, BOOL bDrawBorder,
                                        BOOL bGrayDisabledButtons) {
    FillInterior(pDC, rect, bHighlight);
    const BOOL bLarge = CQMXPToolBar::IsLargeIcons();
    const int nArrow = bLarge ? 7 : 4;
    CRect rectImage = rect;
    rectImage.right -= bLarge ? 8 : 4;

    if (m_pToolBar != nullptr) {
        CQMXPToolBarImages* pImages =
            m_bLocalUserButton && CQMXPToolBar::m_pUserImages != nullptr ? CQMXPToolBar::m_pUserImages
                                                                       : m_pToolBar->GetLockedImages();
        if (pImages->GetTransparentColor() != globalData.clrBtnFace)
            pImages->SetTransparentColor(globalData.clrBtnFace);
        CQMXPDrawState ds;
        const CSize sizeImage = m_pToolBar->GetImageSize();
        if (pImages->BeginDraw(ds, sizeImage.cx, sizeImage.cy)) {
            AsCurrentImage([&] {
                CQMXPToolbarButton::OnDraw(pDC, rectImage, pImages, bHorz, bCustomizeMode, bHighlight, FALSE,
                                           bGrayDisabledButtons);
            });
            pImages->FinishDraw(ds);
        }
    }

    // The small triangle in the bottom-right corner.
    const int nCorner = bLarge ? 14 : 7;
    const int nPressed = (m_nStyle & TBBS_PRESSED) ? 1 : 0;
    const POINT triangle[3] = {
        {rect.right - nCorner + nPressed - 1, rect.bottom - nArrow + nPressed + 1},
        {rect.right - nArrow + nPressed + 1, rect.bottom - nArrow + nPressed + 1},
        {rect.right - nArrow + nPressed + 1, rect.bottom - nCorner + nPressed - 1},
    };
    HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetSysColorBrush(COLOR_3DDKSHADOW));
    HGDIOBJ hOldPen = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(NULL_PEN));
    pDC->Polygon(triangle, 3);
    ::SelectObject(pDC->GetSafeHdc(), hOldPen);
    ::SelectObject(pDC->GetSafeHdc(), hOldBrush);

    if (bCustomizeMode || !HasBorder() || !bDrawBorder)
        return;
    CQMXPVisualManager* pManager = CQMXPVisualManager::GetInstance();
    if (m_pPopupMenu != nullptr || (m_nStyle & (TBBS_CHECKED | TBBS_PRESSED))) {
        if (IsCommandId(m_nID))
            pManager->OnDrawButtonBorder(pDC, this, rect, 1);
    } else if (bHighlight && !(m_nStyle & (TBBS_CHECKED | TBBS_DISABLED | TBBS_INDETERMINATE))) {
        pManager->OnDrawButtonBorder(pDC, this, rect, (m_nStyle & TBBS_PRESSED) ? 1 : 2);
    }
}

BOOL CQMXPDropDownToolbarButton::FillMenuItemText(CQMXPToolbarButton* pMenuItem) {
    if (m_pToolBar == nullptr || pMenuItem == nullptr)
        return FALSE;
    CQMXPToolbarButton::FillMenuItemText(pMenuItem);
    const HMENU hMenu = ::CreatePopupMenu();
    for (int i = 0; i < m_pToolBar->GetCount(); ++i) {
        CQMXPToolbarButton* pButton = m_pToolBar->GetButton(i);
        if (pButton == nullptr || (pButton->m_nStyle & TBBS_SEPARATOR) || !IsCommandId(pButton->m_nID))
            continue;
        CString strText = pButton->m_strText;
        if (strText.IsEmpty()) {
            CString strResource;
            AfxLoadStringResource(pButton->m_nID, strResource);
            const int nBreak = strResource.Find(L'\n');
            strText = nBreak >= 0 ? strResource.Mid(nBreak + 1) : CString();
        }
        ::AppendMenuW(hMenu, MF_STRING, pButton->m_nID, strText);
    }
    pMenuItem->m_nID = 0;
    pMenuItem->m_strText = m_strName;
    pMenuItem->m_iImage = -1;
    pMenuItem->m_bImage = FALSE;
    if (auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pMenuItem))
        pMenuButton->BuildFromMenuHandle(hMenu);
    ::DestroyMenu(hMenu);
    return TRUE;
}

void CQMXPDropDownToolbarButton::OnCancelMode() { InvalidateOnBar(); }

BOOL CQMXPDropDownToolbarButton::OnCustomizeMenu(CMenu* pMenu) {
    static const wchar_t* const kGreyed[] = {L"&Copy Button Image", L"&Button Appearance...", L"&Image", L"&Text",
                                             L"Image &and Text"};
    const HMENU hMenu = pMenu != nullptr ? pMenu->GetSafeHmenu() : nullptr;
    const int nCount = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < nCount; ++i) {
        wchar_t szText[128] = {};
        ::GetMenuStringW(hMenu, static_cast<UINT>(i), szText, 128, MF_BYPOSITION);
        for (const wchar_t* lpszGreyed : kGreyed) {
            if (wcscmp(szText, lpszGreyed) == 0)
                ::EnableMenuItem(hMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
        }
    }
    return TRUE;
}

int CQMXPDropDownToolbarButton::OnDrawInList(CDC* pDC, CRect rect, CQMXPToolBarImages* pImages, BOOL bSelected,
                                             BOOL bDrawImage) {
    const CString strText = m_strText;
    m_strText = m_strName;
    const int nWidth = CQMXPToolbarButton::OnDrawInList(pDC, rect, pImages, bSelected, bDrawImage);
    m_strText = strText;
    return nWidth;
}
