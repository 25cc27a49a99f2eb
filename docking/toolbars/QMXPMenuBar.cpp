// The menu bar: its buttons from a menu, the maximised child's buttons,
// keys, short menus and its layout along the frame.
#include "docking/toolbars/QMXPMenuBar.h"

#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMenuPage.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/frames/QMXPToolbarMenuButtonsButton.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPToolbarSystemMenuButton.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/View.h"

#include <algorithm>

IMPLEMENT_SERIAL(CQMXPMenuBar, CQMXPToolBar, VERSIONABLE_SCHEMA | 1)

BOOL CQMXPMenuBar::m_bShowAllCommands = FALSE;

namespace {

constexpr int kMaxMenuText = 1024;
constexpr UINT kNoCommand = static_cast<UINT>(-1);
constexpr UINT kMenuBarNameString = 16006;
constexpr UINT_PTR kTimerShowAll = 1;
constexpr UINT kShowAllDelay = 5000;
constexpr DWORD kHideInPlace = 0x0008;
constexpr int kNoLimit = 32767;

CString MenuItemText(HMENU hMenu, int iItem) {
    wchar_t szText[kMaxMenuText + 1] = {0};
    ::GetMenuStringW(hMenu, static_cast<UINT>(iItem), szText, kMaxMenuText, MF_BYPOSITION);
    return szText;
}

bool IsWindowButton(const CQMXPToolbarButton* pButton) {
    return pButton != nullptr && pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarMenuButtonsButton));
}

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPMenuBar, CQMXPToolBar)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_TIMER()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CQMXPMenuBar::CQMXPMenuBar()
    : m_bDocMenus(TRUE),
      m_pParentWnd(nullptr),
      m_bMaximizeMode(FALSE),
      m_hMenu(nullptr),
      m_hDefaultMenu(nullptr),
      m_hSysMenu(nullptr),
      m_hSysIcon(nullptr),
      m_uiDefMenuResId(0),
      m_nSystemButtonsNum(0),
      m_nSystemButtonsNumSaved(0),
      m_bHaveButtons(FALSE),
      m_szSystemButton(0, 0),
      m_pDroppedButton(nullptr),
      m_bStretchBar(TRUE) {}

CQMXPMenuBar::~CQMXPMenuBar() {
    RemoveAllButtons();
    if (m_hMenu != nullptr && ::IsMenu(m_hMenu)) {
        qmxMenuHash.RemoveBarButtons(m_hMenu);
        // A document type's menu is its template's to destroy.
        if (!IsTemplateMenu(m_hMenu))
            ::DestroyMenu(m_hMenu);
    }
}

BOOL CQMXPMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) { return CreateEx(pParentWnd, dwStyle, nID); }

BOOL CQMXPMenuBar::CreateEx(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_pParentWnd = pParentWnd != nullptr && pParentWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(pParentWnd) : nullptr;
    return CQMXPToolBar::CreateEx(pParentWnd, dwStyle, nID);
}

int CQMXPMenuBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPToolBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (auto* pFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, m_pParentWnd))
        pFrame->SetMenuBar(this);
    else if (auto* pSDIFrame = DYNAMIC_DOWNCAST(CQMXPFrameWnd, m_pParentWnd))
        pSDIFrame->SetMenuBar(this);
    else if (auto* pIPFrame = DYNAMIC_DOWNCAST(CQMXPOleIPFrameWnd, m_pParentWnd))
        pIPFrame->SetMenuBar(this);
    else if (auto* pDocIPFrame = DYNAMIC_DOWNCAST(CQMXPOleDocIPFrameWnd, m_pParentWnd))
        pDocIPFrame->SetMenuBar(this);
    CString strName;
    AfxLoadStringResource(kMenuBarNameString, strName);
    SetWindowText(strName);
    SetBarStyle(GetBarStyle() | kHideInPlace);
    MeasureSystemButton();
    return 0;
}

void CQMXPMenuBar::MeasureSystemButton() {
    const int nSize = ::GetSystemMetrics(SM_CXMENUSIZE);
    CRect rect(0, 0, nSize, nSize);
    HDC hScreen = ::GetDC(nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, nSize, nSize);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::DrawFrameControl(hDC, &rect, DFC_CAPTION, DFCS_ADJUSTRECT);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    m_szSystemButton = rect.Size();
}

void CQMXPMenuBar::OnSettingChange(UINT uFlags, LPCWSTR lpszSection) {
    CQMXPToolBar::OnSettingChange(uFlags, lpszSection);
    MeasureSystemButton();
    AdjustLayout();
}

CFrameWnd* CQMXPMenuBar::ParentFrame() const {
    if (m_pParentWnd != nullptr)
        return m_pParentWnd;
    CWnd* pOwner = GetOwner();
    return pOwner != nullptr && pOwner->IsFrameWnd() ? static_cast<CFrameWnd*>(pOwner) : nullptr;
}

CFont& CQMXPMenuBar::GetMenuFont(BOOL bHorz) { return bHorz ? globalData.fontRegular : globalData.fontVert; }

BOOL CQMXPMenuBar::FindMenuItemText(HMENU hMenu, UINT nItemID, CString& strOutText) {
    if (hMenu == nullptr || nItemID == 0 || nItemID == kNoCommand)
        return FALSE;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu != nullptr) {
            if (FindMenuItemText(hSubMenu, nItemID, strOutText))
                return TRUE;
        } else if (::GetMenuItemID(hMenu, i) == nItemID) {
            strOutText = MenuItemText(hMenu, i);
            return TRUE;
        }
    }
    return FALSE;
}

// --- The menu ------------------------------------------------------------------------------------

void CQMXPMenuBar::BuildButtons(HMENU hMenu) {
    RemoveAllButtons();
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        const UINT uiID = ::GetMenuItemID(hMenu, i);
        CString strText = MenuItemText(hMenu, i);
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu == nullptr && uiID == 0) {
            InsertSeparator();
            continue;
        }
        CQMXPToolbarButton* pButton = nullptr;
        if (hSubMenu != nullptr) {
            const UINT uiTearOffId = CQMXPTearOffManager::Parse(strText);
            auto* pMenuButton = new CQMXPToolbarMenuButton(kNoCommand, hSubMenu, -1, strText);
            pMenuButton->AssignTearOffId(uiTearOffId);
            pButton = pMenuButton;
        } else {
            pButton = new CQMXPToolbarButton(uiID, -1, strText);
        }
        pButton->m_bText = TRUE;
        pButton->m_bImage = FALSE;
        if (InsertButton(pButton) < 0)
            delete pButton;
    }
}

void CQMXPMenuBar::CreateFromMenu(HMENU hMenu, BOOL bDefaultMenu, BOOL bForceUpdate) {
    if (hMenu == nullptr || !::IsMenu(hMenu))
        return;
    if (::GetFocus() == m_hWnd && ParentFrame() != nullptr)
        ParentFrame()->SetFocus();
    if (hMenu == m_hMenu && !m_bCustomizeMode && !bForceUpdate) {
        if (m_bMaximizeMode) {
            SetMaximizeMode(FALSE, nullptr, FALSE);
            InvalidateButton(0);
        }
        return;
    }
    if (m_hMenu != nullptr) {
        if (qmxTearOffManager != nullptr)
            qmxTearOffManager->Reset(m_hMenu);
        qmxMenuHash.StoreBarButtons(m_hMenu, this);
    }
    const BOOL bMaximize = m_bMaximizeMode;
    SetMaximizeMode(FALSE, nullptr, FALSE);
    m_hMenu = hMenu;
    if (bDefaultMenu)
        m_hDefaultMenu = hMenu;
    if (RestoreButtons(hMenu, bForceUpdate))
        SetBarStyle(GetBarStyle());
    else
        BuildButtons(hMenu);
    auto* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, ParentFrame());
    if (bMaximize && pMDIFrame != nullptr) {
        BOOL bMaximized = FALSE;
        CMDIChildWnd* pChild = pMDIFrame->MDIGetActive(&bMaximized);
        if (pChild != nullptr && bMaximized)
            SetMaximizeMode(TRUE, pChild, FALSE);
    }
    if (GetSafeHwnd() != nullptr)
        AdjustLayout();
    RebuildAccelerators();
}

void CQMXPMenuBar::ShowFrameMenu(HMENU hMenu) {
    CreateFromMenu(hMenu, FALSE, FALSE);
    // The page shows the document type whose menu the frame shows now.
    CMultiDocTemplate* pTemplate = TemplateOfMenu(hMenu);
    if (m_pMenuPage != nullptr && ::IsWindow(m_pMenuPage->GetSafeHwnd()) &&
        (pTemplate != nullptr || hMenu == m_hDefaultMenu))
        m_pMenuPage->SelectMenu(pTemplate, FALSE);
}

BOOL CQMXPMenuBar::RestoreButtons(HMENU hMenu, BOOL bForceUpdate) {
    if (bForceUpdate)
        return FALSE;
    struct Restoring {
        bool& flag;
        explicit Restoring(bool& f) : flag(f) { flag = true; }
        ~Restoring() { flag = false; }
    } restoring(m_bRestoringButtons);
    return qmxMenuHash.RestoreBarButtons(hMenu, this);
}

void CQMXPMenuBar::AdjustLayout() {
    if (!m_bRestoringButtons)
        CQMXPToolBar::AdjustLayout();
}

void CQMXPMenuBar::SetMaximizeMode(BOOL bMax, CWnd* pWnd, BOOL bRecalcLayout) {
    if (bMax == m_bMaximizeMode)
        return;
    if (!bMax) {
        m_nSystemButtonsNumSaved = m_nSystemButtonsNum;
        const CQMXPToolbarButton* pFirst = GetButton(0);
        if (pFirst != nullptr && pFirst->IsKindOf(RUNTIME_CLASS(CQMXPToolbarSystemMenuButton)))
            RemoveButtonAt(0);
        const int iChevron = m_pCustomizeBtn != nullptr ? 1 : 0;
        for (int i = 0; i < m_nSystemButtonsNum; ++i) {
            const int iLast = GetCount() - 1 - iChevron;
            if (IsWindowButton(GetButton(iLast)))
                RemoveButtonAt(iLast);
        }
        m_nSystemButtonsNum = 0;
        m_hSysMenu = nullptr;
        m_bMaximizeMode = FALSE;
    } else {
        if (pWnd == nullptr || pWnd->GetSafeHwnd() == nullptr)
            return;
        HMENU hSysMenu = ::GetSystemMenu(pWnd->GetSafeHwnd(), FALSE);
        if (hSysMenu != nullptr && !::IsMenu(hSysMenu))
            hSysMenu = nullptr;
        HICON hIcon = reinterpret_cast<HICON>(pWnd->SendMessage(WM_GETICON, ICON_SMALL));
        if (hIcon == nullptr)
            hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(pWnd->GetSafeHwnd(), GCLP_HICONSM));
        m_hSysMenu = hSysMenu;
        m_hSysIcon = hIcon;
        m_nSystemButtonsNum = 0;
        if (hSysMenu != nullptr) {
            InsertButton(CQMXPToolbarSystemMenuButton(hSysMenu, hIcon), 0);
            const DWORD dwStyle = pWnd->GetStyle();
            auto append = [this](UINT uiSysCmd, UINT nStyle) {
                auto* pButton = new CQMXPToolbarMenuButtonsButton(uiSysCmd);
                pButton->m_nStyle = nStyle;
                if (InsertButton(pButton) >= 0)
                    ++m_nSystemButtonsNum;
                else
                    delete pButton;
            };
            if (dwStyle & WS_MINIMIZEBOX)
                append(SC_MINIMIZE, 0);
            if (dwStyle & WS_MAXIMIZEBOX)
                append(SC_RESTORE, 0);
            const UINT uiCloseState = ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
            const BOOL bCloseOff = uiCloseState == static_cast<UINT>(-1) || (uiCloseState & (MF_GRAYED | MF_DISABLED));
            append(SC_CLOSE, bCloseOff ? TBBS_DISABLED : 0);
        }
        m_bMaximizeMode = TRUE;
    }
    if (bRecalcLayout && GetSafeHwnd() != nullptr) {
        AdjustLayout();
        if (!m_bStretchBar && ParentFrame() != nullptr)
            ParentFrame()->RecalcLayout();
    }
}

void CQMXPMenuBar::RefreshChildFrameMenus(CMultiDocTemplate* pTemplate) {
    if (pTemplate == nullptr)
        return;
    for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc != nullptr;) {
        CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
        for (POSITION posView = pDoc->GetFirstViewPosition(); posView != nullptr;) {
            CView* pView = pDoc->GetNextView(posView);
            auto* pChild = DYNAMIC_DOWNCAST(CMDIChildWnd, pView != nullptr ? pView->GetParentFrame() : nullptr);
            if (pChild == nullptr)
                continue;
            pChild->m_hMenuShared = pTemplate->m_hMenuShared;
            pChild->m_hAccelTable = pTemplate->m_hAccelTable;
        }
    }
}

void CQMXPMenuBar::SetDroppedButton(CQMXPToolbarMenuButton* pButton) {
    if (m_pDroppedButton == pButton)
        return;
    InvalidateButton(ButtonToIndex(m_pDroppedButton));
    m_pDroppedButton = pButton;
    InvalidateButton(ButtonToIndex(pButton));
}

void CQMXPMenuBar::OnPopupClosed(CQMXPToolbarMenuButton* pButton) {
    if (m_pDroppedButton == pButton)
        m_pDroppedButton = nullptr;
    if (FindOpenMenuButton() == nullptr) {
        KillTimer(kTimerShowAll);
        m_bShowAllCommands = FALSE;
    }
}

// --- Clicks, keys, short menus -------------------------------------------------------------------

BOOL CQMXPMenuBar::OnItemClicked(CQMXPToolbarButton* pButton) {
    auto* pWindowButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButtonsButton, pButton);
    if (pWindowButton == nullptr)
        return FALSE;
    auto* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, ParentFrame());
    CMDIChildWnd* pChild = pMDIFrame != nullptr ? pMDIFrame->MDIGetActive() : nullptr;
    if (pChild == nullptr) {
        ::MessageBeep(static_cast<UINT>(-1));
        return TRUE;
    }
    pChild->SendMessage(WM_SYSCOMMAND, pWindowButton->m_uiSystemCommand);
    return TRUE;
}

BOOL CQMXPMenuBar::SetHot(int iHot) {
    KillTimer(kTimerShowAll);
    const BOOL bResult = CQMXPToolBar::SetHot(iHot);
    if (FindOpenMenuButton() != nullptr)
        SetTimer(kTimerShowAll, kShowAllDelay, nullptr);
    else
        m_bShowAllCommands = FALSE;
    return bResult;
}

void CQMXPMenuBar::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kTimerShowAll) {
        CQMXPToolBar::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kTimerShowAll);
    int iOpen = -1;
    CQMXPToolbarMenuButton* pOpen = FindOpenMenuButton(&iOpen);
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (pOpen == nullptr || HitTest(point) != iOpen)
        return;
    CQMXPPopupMenu* pPopup = pOpen->GetPopupMenu();
    if (pPopup != nullptr && !pPopup->GetMenuBar()->AreAllCommandsShown())
        pPopup->ShowAllCommands();
}

void CQMXPMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    const int iHit = HitTest(point);
    auto* pButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, GetButton(iHit));
    if (pButton == nullptr || pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarSystemMenuButton)) ||
        m_bShowAllCommands || !m_bRecentlyUsedMenus || !qmxCmdUsageCount.HasEnoughStatistics() ||
        m_bCustomizeMode) {
        CQMXPToolBar::OnLButtonDblClk(nFlags, point);
        return;
    }
    m_bShowAllCommands = TRUE;
    pButton->OnCancelMode();
    if (pButton->OnClick(this, FALSE)) {
        m_iHighlighted = iHit;
        InvalidateButton(iHit);
    }
}

void CQMXPMenuBar::OnLButtonDown(UINT nFlags, CPoint point) { CQMXPToolBar::OnLButtonDown(nFlags, point); }

void CQMXPMenuBar::OnSetFocus(CWnd* pOldWnd) {
    CQMXPToolBar::OnSetFocus(pOldWnd);
    if (FindOpenMenuButton() != nullptr)
        return;
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr)
        pOwner->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    if (m_iHighlighted < 0 && GetCount() > 0) {
        m_iHighlighted = m_bMaximizeMode && GetCount() > 1 ? 1 : 0;
        InvalidateButton(m_iHighlighted);
    }
}

BOOL CQMXPMenuBar::PreTranslateMessage(MSG* pMsg) {
    const int nMenuItems = GetCount() - m_nSystemButtonsNum - (m_pCustomizeBtn != nullptr ? 1 : 0);
    if (pMsg->message == WM_KEYDOWN && FindOpenMenuButton() == nullptr && m_iHighlighted >= 0 &&
        m_iHighlighted < nMenuItems) {
        switch (pMsg->wParam) {
        case VK_RETURN:
        case VK_DOWN: {
            auto* pButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, GetButton(m_iHighlighted));
            if (pButton != nullptr && pButton->OnClick(this, FALSE) && pButton->GetPopupMenu() != nullptr)
                pButton->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
            return TRUE;
        }
        case VK_ESCAPE:
            Deactivate();
            RestoreFocus();
            m_bShowAllCommands = FALSE;
            return FALSE;
        case VK_LEFT:
        case VK_RIGHT: {
            const int iOld = m_iHighlighted;
            const int nStep = pMsg->wParam == VK_RIGHT ? 1 : -1;
            m_iHighlighted = (m_iHighlighted + nStep + nMenuItems) % nMenuItems;
            InvalidateButton(iOld);
            InvalidateButton(m_iHighlighted);
            UpdateWindow();
            return TRUE;
        }
        default:
            if (CQMXPKeyboardManager::IsCharacterKey(static_cast<UINT>(pMsg->wParam)) &&
                ProcessMnemonic(static_cast<UINT>(pMsg->wParam)))
                return TRUE;
            break;
        }
    }
    return CQMXPToolBar::PreTranslateMessage(pMsg);
}

// --- Layout --------------------------------------------------------------------------------------

BOOL CQMXPMenuBar::HasImages() const {
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        const auto* pButton = static_cast<const CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarSystemMenuButton)) || IsWindowButton(pButton))
            continue;
        if (pButton->m_bImage && pButton->GetImage() >= 0)
            return TRUE;
    }
    return FALSE;
}

int CQMXPMenuBar::GetRowHeight() const {
    const int nHeight = HasImages() ? GetButtonSize().cy : globalData.menuItemHeight - 2;
    return std::max(nHeight, IsHorizontal() ? globalData.textHeight : globalData.textHeightVert);
}

int CQMXPMenuBar::GetColumnWidth() const {
    return HasImages() ? GetButtonSize().cx : globalData.menuItemWidth - 2;
}

CSize CQMXPMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    return CalcLayout((bStretch ? QMXP_LM_STRETCH : 0) | (bHorz ? QMXP_LM_HORZ : 0), -1);
}

CSize CQMXPMenuBar::CalcLayout(DWORD dwMode, int nLength) {
    m_bHaveButtons = HasImages();
    if (IsFloating() || !m_bStretchBar)
        return CQMXPToolBar::CalcLayout(dwMode, nLength);
    CRect rectDock(0, 0, 0, 0);
    if (m_pParentDockBar != nullptr && m_pParentDockBar->GetSafeHwnd() != nullptr)
        m_pParentDockBar->GetClientRect(&rectDock);
    if (rectDock.IsRectEmpty() && ParentFrame() != nullptr && ParentFrame()->GetSafeHwnd() != nullptr)
        ParentFrame()->GetClientRect(&rectDock);
    CRect rectInside(0, 0, 0, 0);
    const BOOL bVert = (dwMode & QMXP_LM_VERTDOCK) || !(dwMode & QMXP_LM_HORZ);
    CalcInsideRect(rectInside, !bVert);
    CSize size;
    if (bVert) {
        const CSize sizeVert = CalcSize(TRUE);
        size = CSize(sizeVert.cx - rectInside.Width(), rectDock.Height());
    } else {
        const int nWidth = std::max<int>(rectDock.Width() + rectInside.Width(), 0);
        WrapToolBar(nWidth, kNoLimit);
        size = CSize(rectDock.Width(), CalcSize(FALSE).cy - rectInside.Height());
    }
    RebuildAccelerators();
    return size;
}

void CQMXPMenuBar::AdjustLocations() {
    CQMXPToolBar::AdjustLocations();
    if (!m_bMaximizeMode || GetSafeHwnd() == nullptr)
        return;
    CRect rectClient;
    GetClientRect(&rectClient);
    const BOOL bHorz = IsHorizontal();
    const int iChevron = m_pCustomizeBtn != nullptr ? 1 : 0;
    int nEdge = bHorz ? rectClient.right : rectClient.bottom;
    for (int i = GetCount() - 1 - iChevron, n = 0; n < m_nSystemButtonsNum && i >= 0; --i, ++n) {
        CQMXPToolbarButton* pButton = GetButton(i);
        if (!IsWindowButton(pButton))
            break;
        CRect rect;
        if (bHorz) {
            const int y = rectClient.top + (rectClient.Height() - m_szSystemButton.cy) / 2;
            rect = CRect(nEdge - m_szSystemButton.cx, y, nEdge, y + m_szSystemButton.cy);
            nEdge = rect.left - 1;
        } else {
            const int x = rectClient.left + (rectClient.Width() - m_szSystemButton.cx) / 2;
            rect = CRect(x, nEdge - m_szSystemButton.cy, x + m_szSystemButton.cx, nEdge);
            nEdge = rect.top - 1;
        }
        if (rect != pButton->GetRect())
            pButton->SetRect(rect);
    }
}

INT_PTR CQMXPMenuBar::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const {
    const CQMXPToolbarButton* pButton = GetButton(const_cast<CQMXPMenuBar*>(this)->HitTest(point));
    if (pButton != nullptr && pButton->IsKindOf(RUNTIME_CLASS(CQMXPToolbarMenuButton)))
        return -1;
    return CQMXPToolBar::OnToolHitTest(point, pTI);
}

BOOL CQMXPMenuBar::SetDefaultButtonText(CQMXPToolbarButton* pButton) {
    CString strText;
    if (pButton != nullptr && FindMenuItemText(m_hMenu, pButton->m_nID, strText)) {
        pButton->m_strText = strText;
        return TRUE;
    }
    return CQMXPToolBar::SetDefaultButtonText(pButton);
}
