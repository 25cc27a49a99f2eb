// The items of a popup menu: built from a menu handle with short menus,
// measured in columns, laid out, exported back to a menu handle, and the
// chosen command run.
#include "docking/toolbars/QMXPPopupMenuBar.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMeasureDC.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinApp.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>

IMPLEMENT_SERIAL(CQMXPPopupMenuBar, CQMXPToolBar, VERSIONABLE_SCHEMA | 1)

int CQMXPPopupMenuBar::m_uiPopupTimerDelay = -1;

namespace {

constexpr int kMaxMenuText = 1024;
constexpr UINT kNoCommand = static_cast<UINT>(-1);
constexpr UINT kMenuBreakStyle = 0x20000000;
constexpr int kDefaultDelay = 500;
constexpr int kMaxDelay = 5000;
constexpr int kSeparatorHeight = 8;
constexpr int kTabExtra = 10;
const CSize kEmptyBarSize(52, 22);

bool IsSeparator(const CQMXPToolbarButton* pButton) { return (pButton->m_nStyle & TBBS_SEPARATOR) != 0; }

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPPopupMenuBar, CQMXPToolBar)
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CREATE()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CQMXPPopupMenuBar::CQMXPPopupMenuBar()
    : m_uiDefaultMenuCmdId(0),
      m_pDelayedPopupMenuButton(nullptr),
      m_pDelayedClosePopupMenuButton(nullptr),
      m_bFirstClick(TRUE),
      m_ptRestAtOpen(0, 0),
      m_bPointerResting(::GetCursorPos(&m_ptRestAtOpen)),
      m_iOffset(0),
      m_xSeparatorOffsetLeft(0),
      m_xSeparatorOffsetRight(0),
      m_bAreAllCommandsShown(TRUE),
      m_iMaxWidth(-1),
      m_HiddenItemsAccel(17),
      m_bTrackMode(FALSE),
      m_bIsClickOutsideItem(TRUE),
      m_bKeepOpen(FALSE),
      m_bCommandInProgress(FALSE) {
    m_bMenuMode = TRUE;
}

CQMXPPopupMenuBar::~CQMXPPopupMenuBar() = default;

void CQMXPPopupMenuBar::ReadPopupTimerDelay() {
    m_uiPopupTimerDelay = kDefaultDelay;
    CQMXPRegistry reg(FALSE, TRUE);
    CString strDelay;
    if (!reg.Open(L"Control Panel\\Desktop") || !reg.Read(L"MenuShowDelay", strDelay))
        return;
    // Unsigned: a negative number counts as too long.
    const unsigned long ulDelay = std::wcstoul(strDelay, nullptr, 10);
    m_uiPopupTimerDelay = ulDelay > static_cast<unsigned long>(kMaxDelay) ? kMaxDelay : static_cast<int>(ulDelay);
}

int CQMXPPopupMenuBar::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CQMXPToolBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_uiPopupTimerDelay == -1)
        ReadPopupTimerDelay();
    return 0;
}

void CQMXPPopupMenuBar::OnNcPaint() {}

void CQMXPPopupMenuBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {}

CQMXPPopupMenu* CQMXPPopupMenuBar::GetParentPopup() const {
    return GetSafeHwnd() != nullptr ? DYNAMIC_DOWNCAST(CQMXPPopupMenu, GetParent()) : nullptr;
}

// --- Items ---------------------------------------------------------------------------------------

BOOL CQMXPPopupMenuBar::BuildFromMenu(HMENU hMenu, BOOL bShowAll) {
    RemoveAllButtons();
    m_bAreAllCommandsShown = TRUE;
    m_HiddenItemsAccel.RemoveAll();
    if (hMenu == nullptr || !::IsMenu(hMenu))
        return FALSE;

    CQMXPPopupMenu* pPopup = GetParentPopup();
    CWnd* pInitTarget = pPopup != nullptr && pPopup->pMessageWnd != nullptr ? pPopup->pMessageWnd : AfxGetMainWnd();
    if (pInitTarget != nullptr && pInitTarget->GetSafeHwnd() != nullptr)
        pInitTarget->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), m_iOffset);

    const BOOL bShortMenus = !m_bTrackMode && !bShowAll && !CQMXPMenuBar::m_bShowAllCommands &&
                             CQMXPToolBar::m_bRecentlyUsedMenus && qmxCmdUsageCount.HasEnoughStatistics();
    const int nCount = ::GetMenuItemCount(hMenu);
    BOOL bPrevSeparator = FALSE;
    int nAdded = 0;
    for (int i = 0; i < nCount; ++i) {
        wchar_t szText[kMaxMenuText + 1] = {0};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = szText;
        info.cch = kMaxMenuText;
        if (!::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.fType & MFT_SEPARATOR) {
            if (!bPrevSeparator && nAdded > 0 && i != nCount - 1 && InsertSeparator() >= 0)
                bPrevSeparator = TRUE;
            continue;
        }
        CString strText(szText);
        UINT uiCmd = info.wID;
        UINT uiTearOffId = 0;
        if (info.hSubMenu != nullptr) {
            uiCmd = kNoCommand;
            if (qmxTearOffManager != nullptr)
                uiTearOffId = CQMXPTearOffManager::Parse(strText);
        }
        if (bShortMenus && CQMXPToolBar::IsCommandRarelyUsed(uiCmd)) {
            if (CQMXPToolBar::IsCommandPermitted(uiCmd)) {
                m_bAreAllCommandsShown = FALSE;
                const int iAmp = strText.Find(L'&');
                if (iAmp >= 0 && iAmp < strText.GetLength() - 1)
                    m_HiddenItemsAccel.SetAt(static_cast<UINT>(std::towupper(strText[iAmp + 1])), uiCmd);
            }
            continue;
        }
        auto* pItem = new CQMXPToolbarMenuButton(uiCmd, info.hSubMenu, -1, strText);
        pItem->m_bText = TRUE;
        if (pItem->m_iImage < 0 && uiCmd != kNoCommand) {
            pItem->m_bUserButton = TRUE;
            pItem->m_iUserImage = QMXLookupCommandImage(uiCmd, TRUE);
        }
        const int iIndex = InsertButton(pItem);
        if (iIndex < 0) {
            delete pItem;
            continue;
        }
        pItem->m_bImage = pItem->GetImage() >= 0;
        const BOOL bUserTool = qmxUserToolsManager != nullptr && qmxUserToolsManager->IsUserToolCmd(uiCmd);
        if ((info.fState & (MFS_GRAYED | MFS_DISABLED)) && !bUserTool)
            pItem->m_nStyle |= TBBS_DISABLED;
        pItem->AssignTearOffId(uiTearOffId);
        if (info.fState & MFS_CHECKED)
            pItem->m_nStyle |= TBBS_CHECKED;
        if (info.fType & MFT_MENUBREAK)
            pItem->m_nStyle |= kMenuBreakStyle;
        bPrevSeparator = FALSE;
        ++nAdded;
    }
    m_uiDefaultMenuCmdId = ::GetMenuDefaultItem(hMenu, FALSE, GMDI_USEDISABLED);
    if (m_uiDefaultMenuCmdId == kNoCommand)
        m_uiDefaultMenuCmdId = 0;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pItem = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, m_Buttons.GetNext(pos));
        if (pItem != nullptr && m_uiDefaultMenuCmdId != 0 && pItem->m_nID == m_uiDefaultMenuCmdId)
            pItem->SetDefault(TRUE);
    }
    return TRUE;
}

HMENU CQMXPPopupMenuBar::ExportToMenu() const {
    HMENU hMenu = ::CreatePopupMenu();
    if (hMenu == nullptr)
        return nullptr;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        const auto* pButton = static_cast<const CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        const UINT uiBreak = (pButton->m_nStyle & kMenuBreakStyle) ? MF_MENUBREAK : 0;
        if (IsSeparator(pButton)) {
            ::AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, const_cast<CQMXPToolbarButton*>(pButton));
        if (pMenuButton != nullptr && pButton->m_nID == kNoCommand) {
            HMENU hSubMenu = pMenuButton->CreateMenuHandle();
            if (hSubMenu == nullptr)
                hSubMenu = ::CreatePopupMenu();
            CString strText = pButton->m_strText;
            if (pMenuButton->HasTearOffId() && qmxTearOffManager != nullptr)
                CQMXPTearOffManager::Build(pMenuButton->GetTearOffId(), strText);
            if (!::AppendMenuW(hMenu, MF_POPUP | uiBreak, reinterpret_cast<UINT_PTR>(hSubMenu), strText))
                ::DestroyMenu(hSubMenu);
            continue;
        }
        ::AppendMenuW(hMenu, MF_STRING | uiBreak, pButton->m_nID, pButton->m_strText);
    }
    if (m_uiDefaultMenuCmdId != 0)
        ::SetMenuDefaultItem(hMenu, m_uiDefaultMenuCmdId, FALSE);
    return hMenu;
}

UINT CQMXPPopupMenuBar::GetHiddenMnemonicCommand(UINT uiChar) const {
    UINT uiCmd = 0;
    return m_HiddenItemsAccel.Lookup(uiChar, uiCmd) ? uiCmd : 0;
}

// --- Size and placement --------------------------------------------------------------------------

CSize CQMXPPopupMenuBar::CalcSize(BOOL) {
    if (m_Buttons.IsEmpty())
        return kEmptyBarSize;
    CQMXPMeasureDC dc(&globalData.fontRegular);
    const CSize sizeDefault(GetColumnWidth() + 2, GetRowHeight());
    int nTotalWidth = 0;
    int nColumnWidth = 0;
    int nColumnHeight = 0;
    int nMaxHeight = 0;
    m_arColumns.clear();
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        CSize size(0, kSeparatorHeight);
        if (!IsSeparator(pButton)) {
            auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton);
            CFont* pOldFont = nullptr;
            if (pMenuButton != nullptr && pMenuButton->IsDefault())
                pOldFont = dc.SelectObject(&globalData.fontBold);
            size = pButton->OnCalcSize(&dc, sizeDefault, TRUE);
            if (pOldFont != nullptr)
                dc.SelectObject(pOldFont);
            if (pButton->m_strText.Find(L'\t') > 0)
                size.cx += kTabExtra;
        }
        if ((pButton->m_nStyle & kMenuBreakStyle) && !m_bCustomizeMode && nColumnHeight > 0) {
            nTotalWidth += 1 + nColumnWidth;
            m_arColumns.push_back(static_cast<UINT>(nTotalWidth));
            nMaxHeight = std::max(nMaxHeight, nColumnHeight);
            nColumnWidth = 0;
            nColumnHeight = 0;
        }
        nColumnWidth = std::max<int>(nColumnWidth, size.cx);
        nColumnHeight += size.cy;
    }
    int nWidth = nTotalWidth + nColumnWidth + 2;
    if (m_iMaxWidth > 0)
        nWidth = std::min(nWidth, m_iMaxWidth);
    m_arColumns.push_back(static_cast<UINT>(nWidth));
    return CSize(nWidth, std::max(nMaxHeight, nColumnHeight) + 2);
}

void CQMXPPopupMenuBar::AdjustLocations() {
    if (GetSafeHwnd() == nullptr || m_Buttons.IsEmpty())
        return;
    if (m_xSeparatorOffsetLeft == 0) {
        const CSize sizeInsets = CQMXPToolbarMenuButton::GetSeparatorInsets();
        m_xSeparatorOffsetLeft = sizeInsets.cx;
        m_xSeparatorOffsetRight = sizeInsets.cy;
    }
    CRect rectClient;
    GetClientRect(&rectClient);
    CQMXPMeasureDC dc(&globalData.fontRegular);
    const CSize sizeDefault(GetColumnWidth() + 2, GetRowHeight());
    const int yTop = rectClient.top - GetRowHeight() * m_iOffset + 1;
    const BOOL bColumns = !m_bCustomizeMode && !m_arColumns.empty();
    size_t iColumn = 0;
    auto columnLeft = [&](size_t i) { return i == 0 || !bColumns ? rectClient.left : static_cast<int>(m_arColumns[i - 1]) + 1; };
    auto columnRight = [&](size_t i) {
        return bColumns && i < m_arColumns.size() ? static_cast<int>(m_arColumns[i]) : rectClient.right;
    };
    int y = yTop;
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        if ((pButton->m_nStyle & kMenuBreakStyle) && bColumns && y > yTop) {
            ++iColumn;
            y = yTop;
        }
        CRect rect;
        if (IsSeparator(pButton)) {
            rect = CRect(columnLeft(iColumn) + m_xSeparatorOffsetLeft, y, columnRight(iColumn) - m_xSeparatorOffsetRight,
                         y + kSeparatorHeight);
        } else {
            auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton);
            CFont* pOldFont = nullptr;
            if (pMenuButton != nullptr && pMenuButton->IsDefault())
                pOldFont = dc.SelectObject(&globalData.fontBold);
            const CSize size = pButton->OnCalcSize(&dc, sizeDefault, TRUE);
            if (pOldFont != nullptr)
                dc.SelectObject(pOldFont);
            rect = CRect(columnLeft(iColumn), y, columnRight(iColumn), y + size.cy);
        }
        if (rect != pButton->GetRect())
            pButton->SetRect(rect);
        pButton->m_bVisible = TRUE;
        y += rect.Height();
    }
    RebuildAccelerators();
    // The release of the click that opened the menu over an item chooses
    // nothing. Once the bar has had a press of its own, a layout (an item's
    // text updated by that press) leaves the release to choose the item.
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_bFirstClick && rectClient.PtInRect(point) && HitTest(point) >= 0)
        m_bIsClickOutsideItem = FALSE;
    UpdateTooltips();
}

void CQMXPPopupMenuBar::SetOffset(int iOffset) {
    if (m_iOffset == iOffset)
        return;
    m_iOffset = iOffset;
    AdjustLocations();
}

void CQMXPPopupMenuBar::AdjustLayout() {
    if (GetSafeHwnd() == nullptr)
        return;
    AdjustLocations();
    Invalidate();
    UpdateWindow();
    CQMXPPopupMenu* pPopup = GetParentPopup();
    if (m_bCustomizeMode && pPopup != nullptr)
        pPopup->RecalcLayout();
}

CRect CQMXPPopupMenuBar::GetSeparatorRect(const CQMXPToolbarButton* pButton, BOOL) const {
    return pButton->GetRect();
}

void CQMXPPopupMenuBar::DrawSeparator(CDC* pDC, const CRect& rect, BOOL) {
    CQMXPVisualManager::GetInstance()->OnDrawSeparator(pDC, this, rect, FALSE);
}

BOOL CQMXPPopupMenuBar::IsRarelyUsedItem(const CQMXPToolbarButton* pButton) const {
    return !IsSeparator(pButton) && CQMXPToolBar::IsCommandRarelyUsed(pButton->m_nID);
}

void CQMXPPopupMenuBar::OnFillBackground(CDC* pDC) {
    CQMXPPopupMenu* pPopup = GetParentPopup();
    if (!m_bRecentlyUsedMenus || m_bCustomizeMode || pPopup == nullptr || !pPopup->HasParentButton())
        return;
    // Each run of rarely used items, with the separators inside it, is one band.
    CRect rectBand;
    CRect rectPendingSeparators;
    auto flush = [&]() {
        if (!rectBand.IsRectEmpty())
            CQMXPVisualManager::GetInstance()->OnHighlightRarelyUsedMenuItems(pDC, rectBand);
        rectBand.SetRectEmpty();
        rectPendingSeparators.SetRectEmpty();
    };
    for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
        const auto* pButton = static_cast<const CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
        CRect rectItem = pButton->GetRect();
        if (IsSeparator(pButton)) {
            if (!rectBand.IsRectEmpty())
                rectPendingSeparators.UnionRect(&rectPendingSeparators, &rectItem);
            continue;
        }
        if (!IsRarelyUsedItem(pButton)) {
            flush();
            continue;
        }
        if (!rectBand.IsRectEmpty() && !rectPendingSeparators.IsRectEmpty())
            rectBand.UnionRect(&rectBand, &rectPendingSeparators);
        rectPendingSeparators.SetRectEmpty();
        if (rectBand.IsRectEmpty())
            rectBand = rectItem;
        else
            rectBand.UnionRect(&rectBand, &rectItem);
    }
    flush();
}

// --- Commands ------------------------------------------------------------------------------------

void CQMXPPopupMenuBar::MarkCommandInProgress(BOOL bMark) {
    for (CQMXPPopupMenu* pPopup = GetParentPopup(); pPopup != nullptr; pPopup = pPopup->GetParentPopup())
        pPopup->GetMenuBar()->m_bCommandInProgress = bMark;
    m_bCommandInProgress = bMark;
}

void CQMXPPopupMenuBar::InvokeMenuCommand(UINT uiCmdId) {
    CQMXPPopupMenu* pPopup = GetParentPopup();
    CWnd* pPromptTarget = pPopup != nullptr && pPopup->pMessageWnd != nullptr ? pPopup->pMessageWnd : GetOwner();
    if (pPromptTarget != nullptr && pPromptTarget->GetSafeHwnd() != nullptr)
        pPromptTarget->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);

    // Where the command goes is kept first: a window that takes the focus
    // back when the opening bar deactivates may close the menus, this bar
    // with them, and the command chosen still runs.
    const BOOL bTrackMode = m_bTrackMode;
    const HWND hwndMessage =
        pPopup != nullptr && pPopup->pMessageWnd != nullptr ? pPopup->pMessageWnd->GetSafeHwnd() : nullptr;
    CWnd* pOwner = GetOwner();
    const HWND hwndOwner = pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr;
    const HWND hwndThis = m_hWnd;

    // The bar that opened the chain leaves its keyboard mode before the
    // command runs and the menus go; the focus it gives back stays there.
    CQMXPPopupMenu* pTop = pPopup;
    while (pTop != nullptr && pTop->GetParentPopup() != nullptr)
        pTop = pTop->GetParentPopup();
    CQMXPToolBar* pChainBar = pTop != nullptr ? pTop->GetParentToolBar() : nullptr;
    if (pChainBar != nullptr && pChainBar->GetSafeHwnd() != nullptr) {
        for (CQMXPPopupMenu* pChain = pPopup; pChain != nullptr; pChain = pChain->GetParentPopup())
            pChain->bFocusGivenBack = TRUE;
        pChainBar->Deactivate();
    }
    const BOOL bAlive = ::IsWindow(hwndThis);

    if (uiCmdId != 0) {
        if (bAlive)
            MarkCommandInProgress(TRUE);
        PlayMenuSound(QMXP_SOUND_MENU_COMMAND);
        if (bTrackMode) {
            if (qmxContextMenuManager != nullptr)
                qmxContextMenuManager->SetLastCommandId(uiCmdId);
        } else {
            CountCommandUse(uiCmdId);
            const BOOL bPosted = bAlive && pPopup != nullptr ? pPopup->PostCommand(uiCmdId)
                                 : hwndMessage != nullptr && ::PostMessageW(hwndMessage, WM_COMMAND, uiCmdId, 0);
            if (!bPosted) {
                if ((qmxUserToolsManager == nullptr || !qmxUserToolsManager->RunTool(uiCmdId)) &&
                    hwndOwner != nullptr)
                    ::PostMessageW(hwndOwner, WM_COMMAND, uiCmdId, 0);
            }
        }
        if (bAlive)
            MarkCommandInProgress(FALSE);
    }
    if (bAlive && pPopup != nullptr && ::IsWindow(pPopup->GetSafeHwnd())) {
        pPopup->bDestroying = TRUE;
        pPopup->SendMessage(WM_CLOSE);
    }
}

BOOL CQMXPPopupMenuBar::OnItemClicked(CQMXPToolbarButton* pButton) {
    if (pButton == nullptr || (pButton->m_nStyle & TBBS_DISABLED) || pButton->m_nID == kNoCommand)
        return FALSE;
    if (auto* pMenuButton = DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, pButton)) {
        if (pMenuButton->IsDroppedDown())
            return FALSE;
        if (pMenuButton->OnClickMenuItem())
            return TRUE;
    }
    if (pButton->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton))) {
        if (CQMXPPopupMenu* pPopup = GetParentPopup())
            pPopup->ShowAllCommands();
        return TRUE;
    }
    InvokeMenuCommand(pButton->m_nID);
    return TRUE;
}

BOOL CQMXPPopupMenuBar::SetDefaultButtonText(CQMXPToolbarButton* pButton) {
    CQMXPPopupMenu* pPopup = GetParentPopup();
    while (pPopup != nullptr && pPopup->GetParentPopup() != nullptr)
        pPopup = pPopup->GetParentPopup();
    CQMXPToolBar* pChainBar = pPopup != nullptr ? pPopup->GetParentToolBar() : nullptr;
    if (pChainBar != nullptr && pChainBar->SetDefaultButtonText(pButton))
        return TRUE;
    return CQMXPToolBar::SetDefaultButtonText(pButton);
}

INT_PTR CQMXPPopupMenuBar::OnToolHitTest(CPoint point, TOOLINFOW* pTI) const {
    if (!m_bShowTooltips)
        return -1;
    const int iHit = const_cast<CQMXPPopupMenuBar*>(this)->HitTest(point);
    CQMXPToolbarButton* pButton = GetButton(iHit);
    // Menu items have no tips; only a button that makes its own shows one.
    if (pButton == nullptr || !pButton->OnToolHitTest(this, pTI))
        return -1;
    return pButton->m_nID == kNoCommand ? 0 : pButton->m_nID;
}

CWnd* CQMXPPopupMenuBar::GetCommandTarget() const {
    if (m_bTrackMode)
        return nullptr;
    CQMXPPopupMenu* pPopup = GetParentPopup();
    if (pPopup != nullptr && pPopup->pMessageWnd != nullptr)
        return pPopup->pMessageWnd;
    // An item active in place takes the commands in place of the window's own frame.
    if (qmxCommandTargetOverride != nullptr)
        return qmxCommandTargetOverride;
    return CQMXPToolBar::GetCommandTarget();
}

void CQMXPPopupMenuBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    if (!m_bTrackMode)
        CQMXPToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

LRESULT CQMXPPopupMenuBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!IsWindowVisible() || m_bTrackMode)
        return 0;
    CWnd* pTarget = GetCommandTarget();
    if (pTarget != nullptr && pTarget->IsFrameWnd())
        OnUpdateCmdUI(static_cast<CFrameWnd*>(pTarget), static_cast<BOOL>(wParam));
    return 0;
}
