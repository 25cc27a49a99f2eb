#include "docking/frames/QMXPMenuPage.h"

#include "docking/frames/QMXPContextMenuManager.h"
#include "docking/frames/QMXPDocTypeLines.h"
#include "docking/frames/QMXPFrameImpl.h"
#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/toolbars/MenuHash.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/StringList.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

namespace {
constexpr int kIdcMenuDescription = 16506;
constexpr int kIdcMenuIcon = 16507;
constexpr int kIdcContextCaption = 16508;
constexpr int kIdcContextHint = 16519;
constexpr int kIdcContextFrame = 16520;
constexpr int kIdcAnimationsLabel = 16543;
constexpr int kIdcMenuList = 16621;
constexpr int kIdcContextList = 16622;
constexpr int kIdcResetContext = 16623;
constexpr int kIdcResetFrameMenu = 16624;
constexpr int kIdcAnimations = 16625;
constexpr int kIdcShadows = 16626;
constexpr UINT kIdsCantCustomize = 16007;
constexpr UINT kIdsDefaultMenu = 16106;
constexpr UINT kIdsDefaultMenuDescr = 16107;
constexpr UINT kIdsNoContextMenu = 16108;
constexpr UINT kIdsResetMenu = 16113;
constexpr const wchar_t* kAnimations[] = {L"None", L"Unfold", L"Slide", L"Fade"};
// A context menu opened before any was moved stands this far right of the sheet.
constexpr int kFirstMenuGap = 8;

CString LoadLibraryString(UINT uiID) {
    CString str;
    AfxLoadStringResource(uiID, str);
    return str;
}

void SimpleBeep() { ::MessageBeep(static_cast<UINT>(-1)); }

CQMXPMenuBar* FindMenuBar() {
    for (CQMXPToolBar* pBar : CQMXPToolBar::GetAllToolbars())
        if (pBar != nullptr && ::IsWindow(pBar->GetSafeHwnd()) && pBar->IsKindOf(RUNTIME_CLASS(CQMXPMenuBar)))
            return static_cast<CQMXPMenuBar*>(pBar);
    return nullptr;
}

CQMXPFrameImpl* LibraryFrameImpl(CFrameWnd* pFrame) {
    if (auto* pMDIFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, pFrame))
        return &pMDIFrame->GetFrameImpl();
    if (auto* pSDIFrame = DYNAMIC_DOWNCAST(CQMXPFrameWnd, pFrame))
        return &pSDIFrame->GetFrameImpl();
    return nullptr;
}
}  // namespace

CPoint CQMXPMenuPage::m_ptMenuLastPos(-1, -1);

IMPLEMENT_DYNAMIC(CQMXPMenuPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPMenuPage, CPropertyPage)
    ON_CBN_SELCHANGE(kIdcMenuList, OnSelchangeMenuList)
    ON_BN_CLICKED(kIdcResetFrameMenu, OnResetFrameMenu)
    ON_CBN_SELCHANGE(kIdcContextList, OnSelchangeContextMenuList)
    ON_BN_CLICKED(kIdcResetContext, OnResetContextMenu)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CQMXPMenuPage::CQMXPMenuPage(CFrameWnd* pParentFrame, BOOL bAutoSet)
    : CPropertyPage(IDD),
      m_iMenuAnimationType(CQMXPPopupMenu::animationType),
      m_bMenuShadows(CQMXPPopupMenu::bMenuShadows),
      m_pMenuBar(nullptr),
      m_hmenuCurr(nullptr),
      m_hmenuSelected(nullptr),
      m_pContextMenu(nullptr),
      m_uiContextMenuResId(0),
      m_bIsDefaultMenuLoaded(FALSE),
      m_bAutoSet(bAutoSet),
      m_pParentFrame(pParentFrame) {}

BOOL CQMXPMenuPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_wndMenuAnimationsLabel.SubclassDlgItem(kIdcAnimationsLabel, this);
    m_wndMenuAnimations.SubclassDlgItem(kIdcAnimations, this);
    m_wndMenuShadows.SubclassDlgItem(kIdcShadows, this);
    m_wndContextFrame.SubclassDlgItem(kIdcContextFrame, this);
    m_wndContextHint.SubclassDlgItem(kIdcContextHint, this);
    m_wndResetMenuButton.SubclassDlgItem(kIdcResetContext, this);
    m_wndContextMenuCaption.SubclassDlgItem(kIdcContextCaption, this);
    m_wndContextMenus.SubclassDlgItem(kIdcContextList, this);
    m_wndIcon.SubclassDlgItem(kIdcMenuIcon, this);
    m_wndMenuesList.SubclassDlgItem(kIdcMenuList, this);
    for (const wchar_t* lpszAnimation : kAnimations)
        m_wndMenuAnimations.AddString(lpszAnimation);
    m_wndMenuAnimations.SetCurSel(m_iMenuAnimationType);
    m_wndMenuShadows.SetCheck(m_bMenuShadows ? BST_CHECKED : BST_UNCHECKED);

    m_pMenuBar = FindMenuBar();
    if (m_pMenuBar == nullptr) {
        m_wndMenuesList.EnableWindow(FALSE);
        GetDlgItem(kIdcResetFrameMenu)->EnableWindow(FALSE);
        m_strMenuDescr = LoadLibraryString(kIdsCantCustomize);
    } else {
        m_pMenuBar->SetMenuPage(this);
        m_hmenuCurr = m_pMenuBar->GetHMenu();
        SaveBarButtons(m_hmenuCurr);
        if (m_bAutoSet) {
            QMXPAddDocTypeLines(m_wndMenuesList, [](const CMultiDocTemplate& docType) {
                return BOOL(docType.m_hMenuShared != nullptr);
            });
            for (int i = 0; i < m_wndMenuesList.GetCount(); ++i)
                if (reinterpret_cast<CMultiDocTemplate*>(m_wndMenuesList.GetItemData(i))->m_hMenuShared == m_hmenuCurr)
                    m_wndMenuesList.SetCurSel(i);
        }
        const int iDefault = m_wndMenuesList.AddString(LoadLibraryString(kIdsDefaultMenu));
        m_wndMenuesList.SetItemData(iDefault, 0);
        if (m_wndMenuesList.GetCurSel() < 0) {
            m_wndMenuesList.SetCurSel(iDefault);
            m_bIsDefaultMenuLoaded = TRUE;
        }
        OnSelchangeMenuList();
    }

    m_wndContextMenus.AddString(LoadLibraryString(kIdsNoContextMenu));
    m_wndContextMenus.SetCurSel(0);
    if (qmxContextMenuManager == nullptr) {
        for (CWnd* pWnd : {static_cast<CWnd*>(&m_wndContextFrame), static_cast<CWnd*>(&m_wndContextMenuCaption),
                           static_cast<CWnd*>(&m_wndContextMenus), static_cast<CWnd*>(&m_wndResetMenuButton),
                           static_cast<CWnd*>(&m_wndContextHint)})
            pWnd->ShowWindow(SW_HIDE);
    } else {
        CStringList listNames;
        qmxContextMenuManager->GetMenuNames(listNames);
        for (POSITION pos = listNames.GetHeadPosition(); pos != nullptr;)
            m_wndContextMenus.AddString(listNames.GetNext(pos));
        const BOOL bAny = m_wndContextMenus.GetCount() > 1;
        m_wndContextMenuCaption.EnableWindow(bAny);
        m_wndContextMenus.EnableWindow(bAny);
    }

    auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
    const UINT uiFlags = pSheet != nullptr ? pSheet->GetFlags() : 0;
    if (!(uiFlags & QMXCUSTOMIZE_MENU_SHADOWS))
        m_wndMenuShadows.ShowWindow(SW_HIDE);
    if (!(uiFlags & QMXCUSTOMIZE_MENU_ANIMATIONS)) {
        m_wndMenuAnimationsLabel.ShowWindow(SW_HIDE);
        m_wndMenuAnimations.ShowWindow(SW_HIDE);
    }
    ShowDescription();
    return TRUE;
}

void CQMXPMenuPage::ReadControls() {
    if (GetSafeHwnd() == nullptr)
        return;
    const int iAnimation = m_wndMenuAnimations.GetCurSel();
    if (iAnimation >= 0)
        m_iMenuAnimationType = iAnimation;
    m_bMenuShadows = m_wndMenuShadows.GetCheck() == BST_CHECKED;
    const int iContext = m_wndContextMenus.GetCurSel();
    m_strContextMenuName.Empty();
    if (iContext >= 0)
        m_wndContextMenus.GetLBText(iContext, m_strContextMenuName);
    const int iMenu = m_wndMenuesList.GetCurSel();
    m_strMenuName.Empty();
    if (iMenu >= 0)
        m_wndMenuesList.GetLBText(iMenu, m_strMenuName);
}

void CQMXPMenuPage::ShowDescription() { SetDlgItemText(kIdcMenuDescription, m_strMenuDescr); }

void CQMXPMenuPage::SaveBarButtons(HMENU hMenu) {
    if (m_pMenuBar == nullptr || hMenu == nullptr)
        return;
    m_pMenuBar->SetHot(-1);
    qmxMenuHash.StoreBarButtons(hMenu, m_pMenuBar);
}

int CQMXPMenuPage::AskReset(const CString& strName) const {
    CString strPrompt;
    strPrompt.Format(LoadLibraryString(kIdsResetMenu), strName.GetString());
    return AfxMessageBox(strPrompt, MB_YESNO | MB_ICONQUESTION);
}

BOOL CQMXPMenuPage::SelectMenu(CMultiDocTemplate* pTemplate, BOOL bSaveSelection) {
    if (!bSaveSelection)
        m_hmenuSelected = nullptr;
    int iFound = -1;
    for (int i = 0; i < m_wndMenuesList.GetCount() && iFound < 0; ++i)
        if (reinterpret_cast<CMultiDocTemplate*>(m_wndMenuesList.GetItemData(i)) == pTemplate)
            iFound = i;
    if (iFound < 0)
        return FALSE;
    m_wndMenuesList.SetCurSel(iFound);
    if (m_pMenuBar != nullptr)
        m_hmenuCurr = m_pMenuBar->GetHMenu();
    OnSelchangeMenuList();
    return TRUE;
}

void CQMXPMenuPage::OnSelchangeMenuList() {
    ReadControls();
    if (m_pMenuBar == nullptr)
        return;
    SaveBarButtons(m_hmenuSelected);
    const int iSelected = m_wndMenuesList.GetCurSel();
    HICON hIcon = nullptr;
    HMENU hMenu = nullptr;
    m_strMenuDescr.Empty();
    if (iSelected >= 0) {
        auto* pTemplate = reinterpret_cast<CMultiDocTemplate*>(m_wndMenuesList.GetItemData(iSelected));
        m_bIsDefaultMenuLoaded = pTemplate == nullptr;
        if (pTemplate != nullptr) {
            pTemplate->GetDocString(m_strMenuDescr, CDocTemplate::regFileTypeName);
            hIcon = QMXPDocTypeIcon(*pTemplate);
            hMenu = pTemplate->m_hMenuShared;
        } else {
            m_strMenuDescr = LoadLibraryString(kIdsDefaultMenuDescr);
            CWnd* pMainWnd = AfxGetMainWnd();
            if (pMainWnd != nullptr)
                hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(pMainWnd->GetSafeHwnd(), GCLP_HICON));
            hMenu = m_pMenuBar->GetDefaultMenu();
        }
        m_pMenuBar->CreateFromMenu(hMenu, FALSE, FALSE);
    }
    m_wndIcon.SetIcon(hIcon);
    m_hmenuSelected = hMenu;
    ShowDescription();
}

void CQMXPMenuPage::OnResetFrameMenu() {
    ReadControls();
    const int iSelected = m_wndMenuesList.GetCurSel();
    if (m_pMenuBar == nullptr || iSelected < 0 || m_hmenuSelected == nullptr)
        return;
    if (AskReset(m_strMenuName) != IDYES)
        return;
    auto* pTemplate = reinterpret_cast<CMultiDocTemplate*>(m_wndMenuesList.GetItemData(iSelected));
    const UINT uiResId = pTemplate != nullptr ? pTemplate->GetResourceID() : m_pMenuBar->GetDefaultMenuResId();
    HMENU hMenuNew = uiResId != 0 ? ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiResId)) : nullptr;
    if (hMenuNew == nullptr) {
        SimpleBeep();
        return;
    }
    const HMENU hMenuOld = m_hmenuSelected;
    // A new menu is built from its items, never from what the cache holds for a reused handle.
    if (pTemplate != nullptr) {
        pTemplate->m_hMenuShared = hMenuNew;
        m_pMenuBar->CreateFromMenu(hMenuNew, FALSE, TRUE);
        m_pMenuBar->RefreshChildFrameMenus(pTemplate);
    } else {
        m_pMenuBar->CreateFromMenu(hMenuNew, TRUE, TRUE);
    }
    if (m_pParentFrame != nullptr) {
        if (m_pParentFrame->SendMessage(QMXTOOLBAR_RESETMENU, uiResId) != 0)
            m_pMenuBar->AdjustLayout();
        if (pTemplate == nullptr) {
            m_pParentFrame->m_hMenuDefault = hMenuNew;
            if (CQMXPFrameImpl* pImpl = LibraryFrameImpl(m_pParentFrame))
                pImpl->m_hDefaultMenu = hMenuNew;
        }
    }
    SaveBarButtons(hMenuNew);
    if (hMenuOld == m_hmenuCurr)
        m_hmenuCurr = hMenuNew;
    m_hmenuSelected = hMenuNew;
    if (m_pParentFrame != nullptr)
        m_pParentFrame->OnUpdateFrameMenu(m_hmenuCurr);
    qmxMenuHash.RemoveBarButtons(hMenuOld);
    ::DestroyMenu(hMenuOld);
    m_pMenuBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

void CQMXPMenuPage::CloseContextMenu(CQMXPPopupMenu* pMenu) {
    if (pMenu != nullptr && pMenu->GetSafeHwnd() != nullptr) {
        CRect rectMenu;
        pMenu->GetWindowRect(&rectMenu);
        m_ptMenuLastPos = rectMenu.TopLeft();
        qmxMenuHash.StoreBarButtons(pMenu->hMenu, pMenu->GetMenuBar());
    }
    if (pMenu == m_pContextMenu)
        m_pContextMenu = nullptr;
    if (GetSafeHwnd() != nullptr) {
        m_wndContextMenus.SetCurSel(0);
        m_wndResetMenuButton.EnableWindow(FALSE);
    }
    m_uiContextMenuResId = 0;
}

void CQMXPMenuPage::SaveAndCloseContextMenu() {
    if (m_pContextMenu != nullptr && ::IsWindow(m_pContextMenu->GetSafeHwnd()))
        m_pContextMenu->SendMessage(WM_CLOSE);
    m_pContextMenu = nullptr;
}

void CQMXPMenuPage::OpenContextMenu() {
    ReadControls();
    UINT uiResId = 0;
    HMENU hMenu = qmxContextMenuManager->GetMenuByName(m_strContextMenuName, &uiResId);
    HMENU hSubMenu = hMenu != nullptr ? ::GetSubMenu(hMenu, 0) : nullptr;
    if (hSubMenu == nullptr) {
        SimpleBeep();
        return;
    }
    if (m_ptMenuLastPos == CPoint(-1, -1)) {
        CRect rectSheet;
        GetParent()->GetWindowRect(&rectSheet);
        m_ptMenuLastPos = CPoint(rectSheet.right + kFirstMenuGap, rectSheet.top);
    }
    auto* pPopup = new CQMXPPopupMenu(this, m_strContextMenuName);
    // The manager keeps the menu; the popup only shows it.
    pPopup->bOwnMenu = FALSE;
    if (!CQMXPPopupMenu::bMenuShadows)
        pPopup->shadowDepth = 0;
    const CPoint ptMenu = m_ptMenuLastPos;
    // A popup that cannot be made has deleted itself.
    if (!pPopup->Create(GetTopLevelFrame(), ptMenu.x, ptMenu.y, hSubMenu, FALSE, FALSE)) {
        AfxMessageBox(L"Can't create context menu!");
        return;
    }
    m_pContextMenu = pPopup;
    m_uiContextMenuResId = uiResId;
    // The popup lays out its size only; its place is the one kept.
    pPopup->SetWindowPos(nullptr, ptMenu.x, ptMenu.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_wndResetMenuButton.EnableWindow(TRUE);
}

void CQMXPMenuPage::OnSelchangeContextMenuList() {
    m_wndResetMenuButton.EnableWindow(FALSE);
    if (qmxContextMenuManager == nullptr)
        return;
    m_uiContextMenuResId = 0;
    // Closing the open popup returns the list to its first line: the choice is kept.
    const int iSelected = m_wndContextMenus.GetCurSel();
    SaveAndCloseContextMenu();
    m_wndContextMenus.SetCurSel(iSelected);
    if (iSelected > 0)
        OpenContextMenu();
}

void CQMXPMenuPage::OnResetContextMenu() {
    if (qmxContextMenuManager == nullptr)
        return;
    ReadControls();
    if (AskReset(m_strContextMenuName) != IDYES)
        return;
    HMENU hMenu = qmxContextMenuManager->GetMenuByName(m_strContextMenuName);
    if (hMenu == nullptr) {
        SimpleBeep();
        return;
    }
    if (m_pContextMenu != nullptr && ::IsWindow(m_pContextMenu->GetSafeHwnd())) {
        m_pContextMenu->GetMenuBar()->BuildFromMenu(::GetSubMenu(hMenu, 0));
        if (m_pParentFrame != nullptr)
            m_pParentFrame->SendMessage(QMXTOOLBAR_RESETCONTEXTMENU, m_uiContextMenuResId,
                                        reinterpret_cast<LPARAM>(m_pContextMenu));
    }
    OnSelchangeContextMenuList();
    if (m_pContextMenu != nullptr) {
        m_pContextMenu->RecalcLayout();
        m_pContextMenu->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
}

void CQMXPMenuPage::OnDestroy() {
    ReadControls();
    CQMXPPopupMenu::animationType = m_iMenuAnimationType;
    if (m_pMenuBar != nullptr && ::IsWindow(m_pMenuBar->GetSafeHwnd())) {
        if (m_pMenuBar->GetMenuPage() == this)
            m_pMenuBar->SetMenuPage(nullptr);
        SaveBarButtons(m_hmenuSelected);
        m_pMenuBar->CreateFromMenu(m_hmenuCurr, FALSE, FALSE);
    }
    SaveAndCloseContextMenu();
    CQMXPPopupMenu::bMenuShadows = m_bMenuShadows;
    CPropertyPage::OnDestroy();
}
