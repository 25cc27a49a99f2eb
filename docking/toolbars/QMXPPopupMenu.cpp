// A popup menu's life: creation, the items built from its menu (recent
// files and user tools spliced in), its registration as the open menu,
// the keys passed along the chain of open menus, and its closing.
#include "docking/toolbars/QMXPPopupMenu.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPDialog.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPMenuPage.h"
#include "docking/frames/QMXPOleFrames.h"
#include "docking/frames/QMXPPropertyPage.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPCommandManager.h"
#include "docking/toolbars/QMXPDibSection.h"
#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPMenuGlyphs.h"
#include "docking/toolbars/QMXPMenuSound.h"
#include "docking/toolbars/QMXPPopupMenuBar.h"
#include "docking/toolbars/QMXPShowAllButton.h"
#include "docking/toolbars/QMXPToolbarMenuButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/RecentFileList.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CQMXPPopupMenu, CMiniFrameWnd)

int CQMXPPopupMenu::animationType = QMXP_ANIMATION_NONE;
BOOL CQMXPPopupMenu::bMenuShadows = TRUE;
CQMXPPopupMenu* CQMXPPopupMenu::activePopupMenu = nullptr;
const int CQMXPPopupMenu::animationPeriod = 30;
DWORD CQMXPPopupMenu::s_dwLastAnimationTime = 0;

namespace {

constexpr UINT_PTR kMenuBarID = 1;
constexpr UINT kNoCommand = static_cast<UINT>(-1);
const wchar_t kPopupMenuClass[] = L"QMXPopupMenu";
const wchar_t kRecentFilePlaceholder[] = L"Recent File";
// The item bar of a popup: a tool bar along the top without borders of its own.
constexpr DWORD kMenuBarStyle = WS_CHILD | QMXP_CBRS_GRIPPER | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM |
                                QMXP_CBRS_HIDE_INPLACE | CBRS_TOOLTIPS | CBRS_FLYBY;

// The popup keeps the screen under it (CS_SAVEBITS).
LPCWSTR PopupMenuClass() {
    return AfxRegisterWindowClassOnce(kPopupMenuClass, CS_SAVEBITS | CS_DBLCLKS,
                                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
}

bool IsSeparatorButton(const CQMXPToolbarButton* pButton) {
    return pButton != nullptr && (pButton->m_nStyle & TBBS_SEPARATOR) != 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CQMXPPopupMenu, CMiniFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_WM_DESTROY()
    ON_WM_KEYDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_ACTIVATEAPP()
END_MESSAGE_MAP()

CQMXPPopupMenu::CQMXPPopupMenu() : pMenuPage(nullptr) { CommonInit(); }

CQMXPPopupMenu::CQMXPPopupMenu(CQMXPMenuPage* pMenuPageIn, LPCWSTR lpszTitle)
    : pMenuPage(pMenuPageIn), title(lpszTitle != nullptr ? lpszTitle : L"") {
    CommonInit();
}

void CQMXPPopupMenu::CommonInit() {
    bCloseParentChain = TRUE;
    pMessageWnd = nullptr;
    pParentBtn = nullptr;
    dropDirection = QMXP_DROP_NONE;
    hMenu = nullptr;
    ptLocation = CPoint(0, 0);
    ptLocationInitial = CPoint(0, 0);
    sizeFinal = CSize(0, 0);
    menuBarHeight = 0;
    bOwnMenu = TRUE;
    bMade = FALSE;
    bTrackMode = FALSE;
    bShown = FALSE;
    bDestroying = FALSE;
    bFocusGivenBack = FALSE;
    iDefaultItem = -1;
    logoSize = 0;
    logoLocation = 0;
    sizeAnimated = CSize(0, 0);
    bAnimateFromLeft = TRUE;
    bAnimateFromTop = TRUE;
    bScrollable = FALSE;
    rectScrollUp.SetRectEmpty();
    rectScrollDn.SetRectEmpty();
    scrollDirection = 0;
    scrollButtonHeight = CQMXPMenuGlyphs::GetSize().cy + 4;
    fadePercent = 0;
    bTearOffTracking = FALSE;
    bTearOffHighlighted = FALSE;
    rectTearOffCaption.SetRectEmpty();
    const BOOL bPalette = globalData.bitsPerPixel <= 8;
    // Fading blends pixels: a palette screen cannot show it anywhere.
    if (animationType == QMXP_ANIMATION_FADE && bPalette)
        animationType = QMXP_ANIMATION_NONE;
    bAnimationFinished = animationType == QMXP_ANIMATION_NONE;
    shadowDepth = bMenuShadows && !CQMXPToolBar::m_bCustomizeMode && !bPalette
                      ? CQMXPVisualManager::GetInstance()->menuShadowDepth
                      : 0;
}

CQMXPPopupMenu::~CQMXPPopupMenu() {
    if (bOwnMenu && bMade && hMenu != nullptr && ::IsMenu(hMenu))
        ::DestroyMenu(hMenu);
    hMenu = nullptr;
}

// --- Creation ------------------------------------------------------------------------------------

BOOL CQMXPPopupMenu::Create(CWnd* pWndParent, int x, int y, HMENU hMenuIn, BOOL bLocked, BOOL bOwnMessage) {
    PlayMenuSound(QMXP_SOUND_MENU_POPUP);
    LPCWSTR lpszClass = PopupMenuClass();
    if (lpszClass == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    hMenu = hMenuIn;
    if (x == -1 && y == -1) {
        x = 0;
        y = 0;
        if (pWndParent != nullptr && pWndParent->GetSafeHwnd() != nullptr) {
            CPoint ptClient(0, 0);
            pWndParent->ClientToScreen(&ptClient);
            x = ptClient.x + 5;
            y = ptClient.y + 5;
        }
    }
    ptLocation = CPoint(x, y);
    ptLocationInitial = ptLocation;

    DWORD dwStyle = WS_POPUP | WS_CLIPCHILDREN;
    if (pMenuPage != nullptr)
        dwStyle |= WS_CAPTION | WS_SYSMENU;
    CQMXPPopupMenu* pParentPopup = GetParentPopup();
    if (pParentPopup != nullptr)
        bTrackMode = pParentPopup->bTrackMode;
    GetMenuBar()->m_bTrackMode = bTrackMode;
    if (bOwnMessage)
        pMessageWnd = pWndParent;
    else if (pParentPopup != nullptr)
        pMessageWnd = pParentPopup->pMessageWnd;
    CWnd* pWndOwner = nullptr;
    if (pWndParent != nullptr && pWndParent->GetSafeHwnd() != nullptr) {
        pWndOwner = pWndParent->GetOwner();
        if (pWndOwner == nullptr)
            pWndOwner = pWndParent;
    }
    GetMenuBar()->SetLocked(bLocked);
    if (!CMiniFrameWnd::CreateEx(0, lpszClass, title, dwStyle, CRect(0, 0, 0, 0), pWndOwner, 0))
        return FALSE;
    bMade = TRUE;
    const HWND hwndThis = m_hWnd;
    if (animationType != QMXP_ANIMATION_NONE && !CQMXPToolBar::m_bCustomizeMode && !bDestroying)
        StartAnimation();
    CheckShadow();
    if (shadowDepth == 0 && animationType == QMXP_ANIMATION_FADE) {
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        sizeAnimated = rectWindow.Size();
    }
    if (!::IsWindow(hwndThis))
        return TRUE;
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    if (CQMXPToolBar::m_bCustomizeMode)
        GetMenuBar()->RedrawWindow();
    return TRUE;
}

int CQMXPPopupMenu::OnCreate(LPCREATESTRUCTW lpCreateStruct) {
    if (CMiniFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    DWORD dwStyle = kMenuBarStyle;
    if (animationType == QMXP_ANIMATION_NONE || CQMXPToolBar::m_bCustomizeMode)
        dwStyle |= WS_VISIBLE;
    CQMXPPopupMenu* pParentPopup = GetParentPopup();
    if (pParentPopup != nullptr)
        iDefaultItem = pParentPopup->iDefaultItem;
    if (!pBar->Create(this, dwStyle, kMenuBarID))
        return 0;
    // Commands go where the popup was opened for.
    pBar->SetOwner(GetParent());
    return BuildMenu() ? 0 : 1;
}

BOOL CQMXPPopupMenu::BuildMenu(BOOL bShowAll) {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    if (hMenu != nullptr) {
        const BOOL bRestored = GetParentPopup() == nullptr && !bShowAll && qmxMenuHash.RestoreBarButtons(hMenu, pBar);
        if (!bRestored && !pBar->BuildFromMenu(hMenu, bShowAll || pParentBtn == nullptr))
            return FALSE;
    }
    CWinApp* pApp = AfxGetApp();
    if (!CQMXPToolBar::m_bCustomizeMode && pApp != nullptr && pApp->m_pRecentFileList != nullptr)
        InsertRecentFiles();
    if (!CQMXPToolBar::m_bCustomizeMode && qmxUserToolsManager != nullptr)
        InsertUserTools();
    CWnd* pTarget = pBar->GetCommandTarget();
    if (pTarget != nullptr && pTarget->IsFrameWnd())
        pBar->OnUpdateCmdUI(static_cast<CFrameWnd*>(pTarget), static_cast<CFrameWnd*>(pTarget)->m_bAutoMenuEnable);
    if (RegisterActivePopup(GetOwnerFrame(), this))
        RecalcLayout();
    return TRUE;
}

void CQMXPPopupMenu::InsertRecentFiles() {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    int iPlaceholder = -1;
    for (int i = 0; i < pBar->GetCount(); ++i) {
        const CQMXPToolbarButton* pButton = pBar->GetButton(i);
        if (pButton->m_nID == ID_FILE_MRU_FILE1 && pButton->m_strText.CompareNoCase(kRecentFilePlaceholder) == 0) {
            iPlaceholder = i;
            break;
        }
    }
    if (iPlaceholder < 0)
        return;
    pBar->RemoveButtonAt(iPlaceholder);
    CRecentFileList* pList = AfxGetApp()->m_pRecentFileList;
    wchar_t szCurDir[MAX_PATH + 1] = {0};
    DWORD nCurDir = ::GetCurrentDirectoryW(MAX_PATH, szCurDir);
    if (nCurDir > MAX_PATH)
        nCurDir = 0;
    int iInsert = iPlaceholder;
    for (int i = 0; i < pList->GetSize(); ++i) {
        CString strName;
        if (!pList->GetDisplayName(strName, i, szCurDir, static_cast<int>(nCurDir)))
            continue;
        // An '&' of a file name is no mnemonic.
        strName.Replace(L"&", L"&&");
        CString strText;
        strText.Format(L"&%d %ls", iInsert - iPlaceholder + 1, static_cast<LPCWSTR>(strName));
        CQMXPToolbarMenuButton item(ID_FILE_MRU_FILE1 + static_cast<UINT>(i), nullptr, -1, strText);
        if (pBar->InsertButton(item, iInsert) >= 0)
            ++iInsert;
    }
    if (iInsert == iPlaceholder && IsSeparatorButton(pBar->GetButton(iPlaceholder - 1)) &&
        IsSeparatorButton(pBar->GetButton(iPlaceholder)))
        pBar->RemoveButtonAt(iPlaceholder);
}

void CQMXPPopupMenu::InsertUserTools() {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    const int iPlaceholder = pBar->CommandToIndex(qmxUserToolsManager->GetToolsEntryCmd());
    if (iPlaceholder < 0)
        return;
    pBar->RemoveButtonAt(iPlaceholder);
    const CObList& tools = qmxUserToolsManager->GetUserTools();
    int iInsert = iPlaceholder;
    if (!tools.IsEmpty() && iInsert > 0 && !IsSeparatorButton(pBar->GetButton(iInsert - 1)) &&
        pBar->InsertSeparator(iInsert) >= 0)
        ++iInsert;
    for (POSITION pos = tools.GetHeadPosition(); pos != nullptr;) {
        const auto* pTool = static_cast<const CQMXPUserTool*>(tools.GetNext(pos));
        CQMXPToolbarMenuButton item(pTool->m_uiCmdId, nullptr, QMXLookupCommandImage(pTool->m_uiCmdId),
                                    pTool->m_strLabel);
        if (pBar->InsertButton(item, iInsert) >= 0)
            ++iInsert;
    }
    if (!tools.IsEmpty() && iInsert < pBar->GetCount() && !IsSeparatorButton(pBar->GetButton(iInsert)))
        pBar->InsertSeparator(iInsert);
    for (int i = pBar->GetCount() - 1; i > 0; --i) {
        if (IsSeparatorButton(pBar->GetButton(i)) && IsSeparatorButton(pBar->GetButton(i - 1)))
            pBar->RemoveButtonAt(i);
    }
}

// --- The open menu -------------------------------------------------------------------------------

namespace {
// A library dialog or property page that opened the popup routes its keys
// to it while it is open.
void TellMessageWindow(CWnd* pMessageWnd, CQMXPPopupMenu* pPopup, CQMXPPopupMenu* pOnlyIfActive = nullptr) {
    if (auto* pDialog = DYNAMIC_DOWNCAST(CQMXPDialog, pMessageWnd)) {
        if (pOnlyIfActive == nullptr || pDialog->GetActiveMenu() == pOnlyIfActive)
            pDialog->SetActiveMenu(pPopup);
    } else if (auto* pPage = DYNAMIC_DOWNCAST(CQMXPPropertyPage, pMessageWnd)) {
        if (pOnlyIfActive == nullptr || pPage->GetActiveMenu() == pOnlyIfActive)
            pPage->SetActiveMenu(pPopup);
    }
}
}  // namespace

BOOL CQMXPPopupMenu::RegisterActivePopup(CWnd* pTopFrame, CQMXPPopupMenu* pPopup) {
    if (pPopup != nullptr)
        TellMessageWindow(pPopup->pMessageWnd, pPopup);
    BOOL bAccepted = TRUE;
    if (auto* pFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, pTopFrame))
        bAccepted = pFrame->ShowPopupMenu(pPopup);
    else if (auto* pSDIFrame = DYNAMIC_DOWNCAST(CQMXPFrameWnd, pTopFrame))
        bAccepted = pSDIFrame->ShowPopupMenu(pPopup);
    else if (auto* pIPFrame = DYNAMIC_DOWNCAST(CQMXPOleIPFrameWnd, pTopFrame))
        bAccepted = pIPFrame->ShowPopupMenu(pPopup);
    else if (auto* pDocIPFrame = DYNAMIC_DOWNCAST(CQMXPOleDocIPFrameWnd, pTopFrame))
        bAccepted = pDocIPFrame->ShowPopupMenu(pPopup);
    else
        activePopupMenu = pPopup;
    if (!bAccepted) {
        if (pPopup != nullptr && !pPopup->bDestroying) {
            pPopup->bDestroying = TRUE;
            pPopup->PostMessage(WM_CLOSE);
        }
        return FALSE;
    }
    if (pPopup == nullptr)
        return TRUE;
    CQMXPPopupMenuBar* pBar = pPopup->GetMenuBar();
    if (!pBar->AreAllCommandsShown()) {
        const CQMXPToolbarButton* pLast = pBar->GetButton(pBar->GetCount() - 1);
        if (pLast == nullptr || !pLast->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton)))
            pBar->InsertButton(CQMXPShowAllButton());
    }
    if (pPopup->bTrackMode)
        activePopupMenu = pPopup;
    return TRUE;
}

CQMXPPopupMenu* CQMXPPopupMenu::GetParentPopup() const {
    if (pParentBtn == nullptr)
        return nullptr;
    auto* pParentBar = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentBtn->m_pWndParent);
    return pParentBar != nullptr ? pParentBar->GetParentPopup() : nullptr;
}

CQMXPToolBar* CQMXPPopupMenu::GetParentToolBar() const {
    return pParentBtn != nullptr ? DYNAMIC_DOWNCAST(CQMXPToolBar, pParentBtn->m_pWndParent) : nullptr;
}

CFrameWnd* CQMXPPopupMenu::GetOwnerFrame() const {
    if (qmxTopLevelFrameOverride != nullptr)
        return qmxTopLevelFrameOverride;
    CWnd* pOwner = GetSafeHwnd() != nullptr ? CWnd::FromHandle(::GetWindow(m_hWnd, GW_OWNER)) : nullptr;
    if (pOwner == nullptr && pParentBtn != nullptr)
        pOwner = pParentBtn->m_pWndParent;
    if (pOwner == nullptr)
        return nullptr;
    if (auto* pPopup = DYNAMIC_DOWNCAST(CQMXPPopupMenu, pOwner))
        return pPopup->GetOwnerFrame();
    if (pOwner->IsFrameWnd() && pOwner->GetTopLevelFrame() == nullptr)
        return static_cast<CFrameWnd*>(pOwner);
    return pOwner->GetTopLevelFrame();
}

CQMXPToolbarMenuButton* CQMXPPopupMenu::GetSelItem() {
    return DYNAMIC_DOWNCAST(CQMXPToolbarMenuButton, GetMenuBar()->GetHighlightedButton());
}

CQMXPToolbarButton* CQMXPPopupMenu::GetMenuItem(int iIndex) { return GetMenuBar()->GetButton(iIndex); }

int CQMXPPopupMenu::GetMenuItemCount() { return GetMenuBar()->GetCount(); }

int CQMXPPopupMenu::InsertItem(const CQMXPToolbarButton& button, int iInsertAt) {
    return GetMenuBar()->InsertButton(button, iInsertAt);
}

int CQMXPPopupMenu::InsertSeparator(int iInsertAt) { return GetMenuBar()->InsertSeparator(iInsertAt); }

void CQMXPPopupMenu::CancelItemModes() {
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    for (int i = 0; i < pBar->GetCount(); ++i)
        pBar->GetButton(i)->OnCancelMode();
}

BOOL CQMXPPopupMenu::PostCommand(UINT uiCommandID) {
    if (pMessageWnd == nullptr || pMessageWnd->GetSafeHwnd() == nullptr)
        return FALSE;
    return pMessageWnd->PostMessage(WM_COMMAND, uiCommandID, 0);
}

// --- Closing -------------------------------------------------------------------------------------

void CQMXPPopupMenu::CloseMenu(BOOL bSetFocusToBar) {
    bDestroying = TRUE;
    WriteBackCustomizedItems();
    CQMXPPopupMenu* pParentPopup = GetParentPopup();
    if (pParentPopup != nullptr) {
        bCloseParentChain = FALSE;
        RegisterActivePopup(GetOwnerFrame(), pParentPopup);
    } else {
        RegisterActivePopup(GetOwnerFrame(), nullptr);
        CQMXPToolBar* pBar = GetParentToolBar();
        if (bSetFocusToBar && pBar != nullptr && ::IsWindow(pBar->GetSafeHwnd()))
            pBar->SetFocus();
    }
    SendMessage(WM_CLOSE);
}

void CQMXPPopupMenu::OnDestroy() {
    bDestroying = TRUE;
    KillTimer(1);
    KillTimer(2);
    WriteBackCustomizedItems();
    // The page keeps the edited context menu's place and items.
    if (pMenuPage != nullptr)
        pMenuPage->CloseContextMenu(this);
    CQMXPPopupMenu* pParentPopup = GetParentPopup();
    CQMXPToolBar* pParentBar = GetParentToolBar();
    if (pParentBtn != nullptr) {
        CQMXPToolbarMenuButton* pButton = pParentBtn;
        pParentBtn = nullptr;
        pButton->OnPopupDestroyed();
        if (auto* pMenuBar = DYNAMIC_DOWNCAST(CQMXPMenuBar, pParentBar))
            pMenuBar->OnPopupClosed(pButton);
        if (pParentBar != nullptr && ::IsWindow(pParentBar->GetSafeHwnd()))
            pParentBar->InvalidateButton(pParentBar->ButtonToIndex(pButton));
    }
    if (bCloseParentChain && !CQMXPToolBar::m_bCustomizeMode && pParentPopup != nullptr &&
        !pParentPopup->bDestroying)
        pParentPopup->SendMessage(WM_CLOSE);
    TellMessageWindow(pMessageWnd, nullptr, this);
    CFrameWnd* pOwnerFrame = GetOwnerFrame();
    if (auto* pFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, pOwnerFrame))
        pFrame->OnClosePopupMenu(this);
    else if (auto* pSDIFrame = DYNAMIC_DOWNCAST(CQMXPFrameWnd, pOwnerFrame))
        pSDIFrame->OnClosePopupMenu(this);
    else if (auto* pIPFrame = DYNAMIC_DOWNCAST(CQMXPOleIPFrameWnd, pOwnerFrame))
        pIPFrame->OnClosePopupMenu(this);
    else if (auto* pDocIPFrame = DYNAMIC_DOWNCAST(CQMXPOleDocIPFrameWnd, pOwnerFrame))
        pDocIPFrame->OnClosePopupMenu(this);
    if (activePopupMenu == this)
        activePopupMenu = nullptr;
    if (activePopupMenu == nullptr && !bFocusGivenBack)
        GiveFocusBackToBar(pParentBar);
    CMiniFrameWnd::OnDestroy();
}

void CQMXPPopupMenu::GiveFocusBackToBar(CQMXPToolBar* pBar) {
    // The last menu gone, the keyboard goes back to the bar that opened it.
    // A sub-menu's bar goes with its own popup, and a window of an
    // application that is not active would take the activation back.
    if (pBar == nullptr || !::IsWindow(pBar->GetSafeHwnd()) || pBar->IsKindOf(RUNTIME_CLASS(CQMXPPopupMenuBar)))
        return;
    if (::GetFocus() == pBar->m_hWnd || ::GetActiveWindow() != ::GetAncestor(pBar->m_hWnd, GA_ROOT))
        return;
    pBar->SetFocus();
}

void CQMXPPopupMenu::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
    CMiniFrameWnd::OnActivateApp(bActive, dwThreadID);
    if (!bActive && !CQMXPToolBar::m_bCustomizeMode && !IsBarKeepOpen())
        PostMessage(WM_CLOSE);
}

int CQMXPPopupMenu::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

BOOL CQMXPPopupMenu::OnEraseBkgnd(CDC*) { return TRUE; }

// --- Keys ----------------------------------------------------------------------------------------

void CQMXPPopupMenu::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const HWND hwndThis = m_hWnd;
    CQMXPPopupMenuBar* pBar = GetMenuBar();
    CQMXPToolBar* pParentBar = GetParentToolBar();
    const BOOL bSubMenu = DYNAMIC_DOWNCAST(CQMXPPopupMenuBar, pParentBar) != nullptr;
    switch (nChar) {
    case VK_ESCAPE:
        CloseMenu(TRUE);
        return;
    case VK_LEFT:
        // A sub-menu goes back to its parent; a bar's menu to the bar's previous menu.
        if (pParentBar != nullptr && !bSubMenu)
            pParentBar->PrevMenu();
        else if (pParentBtn != nullptr && pParentBtn->IsDroppedDown())
            CloseMenu(FALSE);
        return;
    case VK_RIGHT: {
        const int nSavedAnimation = animationType;
        animationType = QMXP_ANIMATION_NONE;
        CQMXPToolbarMenuButton* pSel = GetSelItem();
        const BOOL bHasSubMenu = pSel != nullptr && !pSel->IsKindOf(RUNTIME_CLASS(CQMXPShowAllButton)) &&
                                 (pSel->m_nID == kNoCommand || !pSel->GetCommands().IsEmpty());
        if (bHasSubMenu && pSel->OpenPopupMenu(pBar)) {
            if (pSel->GetPopupMenu() != nullptr)
                pSel->GetPopupMenu()->SendMessage(WM_KEYDOWN, VK_HOME);
        } else if (pParentBar != nullptr && !bSubMenu) {
            pParentBar->NextMenu();
        } else if (CQMXPPopupMenu* pParentPopup = GetParentPopup()) {
            pParentPopup->SendMessage(WM_KEYDOWN, VK_RIGHT);
        }
        animationType = nSavedAnimation;
        return;
    }
    case VK_DOWN:
        if ((::GetKeyState(VK_CONTROL) & 0x8000) && !pBar->AreAllCommandsShown()) {
            ShowAllCommands();
            return;
        }
        [[fallthrough]];
    case VK_UP:
    case VK_HOME:
    case VK_END:
        pBar->ProcessKey(nChar);
        if (::IsWindow(hwndThis))
            EnsureSelectionVisible();
        return;
    default:
        if (!pBar->ProcessKey(nChar) && ::IsWindow(hwndThis))
            CMiniFrameWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
}

void CQMXPPopupMenu::ShowAllCommands() {
    if (pParentBtn == nullptr)
        return;
    PlayMenuSound(QMXP_SOUND_MENU_POPUP);
    ShowWindow(SW_HIDE);
    bmpShadowBottom.DeleteObject();
    bmpShadowRight.DeleteObject();
    ptLocation = ptLocationInitial;
    bScrollable = FALSE;
    GetMenuBar()->SetOffset(0);
    BuildMenu(TRUE);
    CheckShadow();
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    CWnd* pParentWnd = pParentBtn != nullptr ? pParentBtn->m_pWndParent : nullptr;
    if (pParentWnd != nullptr && pParentWnd->GetSafeHwnd() != nullptr) {
        CRect rect = pParentBtn->GetRect();
        pParentWnd->InvalidateRect(&rect);
        pParentWnd->UpdateWindow();
    }
}

void CQMXPPopupMenu::WriteBackCustomizedItems() {
    if (!CQMXPToolBar::m_bCustomizeMode)
        return;
    // Each popup up the chain hands its items to the button that opened it,
    // so that the menu bar's button holds the whole edited menu.
    for (CQMXPPopupMenu* pPopup = this; pPopup != nullptr; pPopup = pPopup->GetParentPopup()) {
        CQMXPToolbarMenuButton* pButton = pPopup->pParentBtn;
        CQMXPPopupMenuBar* pItems = pPopup->GetMenuBar();
        if (pButton == nullptr || pItems == nullptr || pItems->GetSafeHwnd() == nullptr)
            return;
        HMENU hMenu = pItems->ExportToMenu();
        if (hMenu == nullptr)
            return;
        pButton->BuildFromMenuHandle(hMenu);
        ::DestroyMenu(hMenu);
    }
}

BOOL CQMXPPopupMenu::PreTranslateMessage(MSG* pMsg) {
    if (wndToolTip.GetSafeHwnd() != nullptr && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
        wndToolTip.RelayEvent(pMsg);
    return CMiniFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CQMXPPopupMenu::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CMiniFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return pMessageWnd != nullptr && pMessageWnd->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CQMXPPopupMenu::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pNMH = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMH != nullptr && pNMH->hwndFrom == wndToolTip.GetSafeHwnd() &&
        (pNMH->code == TTN_SHOW || pNMH->code == TTN_POP)) {
        bTearOffHighlighted = pNMH->code == TTN_SHOW;
        InvalidateRect(&rectTearOffCaption);
        UpdateWindow();
        return FALSE;
    }
    return CMiniFrameWnd::OnNotify(wParam, lParam, pResult);
}
