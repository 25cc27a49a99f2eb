#include "docking/frames/QMXPOptionsPage.h"

#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

namespace {
constexpr int kIdcShowTooltips = 16651;
constexpr int kIdcShortcutKeys = 16652;
constexpr int kIdcLargeIcons = 16653;
constexpr int kIdcLook2000 = 16654;
constexpr int kIdcRecentlyUsed = 16655;
constexpr int kIdcShowAllDelay = 16656;
constexpr int kIdcResetUsage = 16657;
constexpr int kIdcMenusLabel = 16538;
constexpr int kIdcMenusLine = 16539;
constexpr int kIdcVisualizations = 17001;
constexpr UINT kIdsResetUsage = 16244;
}  // namespace

IMPLEMENT_DYNAMIC(CQMXPOptionsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPOptionsPage, CPropertyPage)
    ON_BN_CLICKED(kIdcShowTooltips, OnShowTooltips)
    ON_BN_CLICKED(kIdcShortcutKeys, OnShowShortcutKeys)
    ON_BN_CLICKED(kIdcLargeIcons, OnLargeIcons)
    ON_BN_CLICKED(kIdcLook2000, OnLook2000)
    ON_BN_CLICKED(kIdcRecentlyUsed, OnRecentlyUsedMenus)
    ON_BN_CLICKED(kIdcShowAllDelay, OnShowAllMenusDelay)
    ON_BN_CLICKED(kIdcResetUsage, OnResetUsageData)
END_MESSAGE_MAP()

CQMXPOptionsPage::CQMXPOptionsPage(BOOL bIsMenuBarExist)
    : CPropertyPage(IDD),
      m_bShowTooltips(CQMXPToolBar::m_bShowTooltips),
      m_bShowShortcutKeys(CQMXPToolBar::m_bShowShortcutKeys),
      m_bRecentlyUsedMenus(CQMXPToolBar::m_bRecentlyUsedMenus),
      m_bShowAllMenusDelay(CQMXPToolBar::m_bShowAllMenusAfterDelay),
      m_bLargeIcons(CQMXPToolBar::m_bLargeIcons),
      m_bLook2000(CQMXPVisualManager::GetInstance()->IsLook2000()),
      m_bIsMenuBarExist(bIsMenuBarExist) {}

void CQMXPOptionsPage::ShowControl(int nID, BOOL bShow) {
    CWnd* pControl = GetDlgItem(nID);
    if (pControl == nullptr)
        return;
    pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    pControl->EnableWindow(bShow);
}

BOOL CQMXPOptionsPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    const struct {
        int nID;
        BOOL bValue;
    } checks[] = {{kIdcShowTooltips, m_bShowTooltips},   {kIdcShortcutKeys, m_bShowShortcutKeys},
                  {kIdcLargeIcons, m_bLargeIcons},       {kIdcLook2000, m_bLook2000},
                  {kIdcRecentlyUsed, m_bRecentlyUsedMenus}, {kIdcShowAllDelay, m_bShowAllMenusDelay}};
    for (const auto& check : checks)
        CheckDlgButton(check.nID, check.bValue ? BST_CHECKED : BST_UNCHECKED);
    GetDlgItem(kIdcShortcutKeys)->EnableWindow(m_bShowTooltips);
    GetDlgItem(kIdcShowAllDelay)->EnableWindow(m_bRecentlyUsedMenus);
    if (CQMXPToolBar::m_lstBasicCommands.IsEmpty() || !m_bIsMenuBarExist) {
        for (int nID : {kIdcRecentlyUsed, kIdcResetUsage, kIdcMenusLabel, kIdcMenusLine, kIdcShowAllDelay})
            ShowControl(nID, FALSE);
    }
    auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
    if (pSheet == nullptr || !(pSheet->GetFlags() & QMXCUSTOMIZE_LOOK_2000))
        ShowControl(kIdcLook2000, FALSE);
    // The visual managers have no settings dialog of their own here.
    ShowControl(kIdcVisualizations, FALSE);
    return TRUE;
}

void CQMXPOptionsPage::ReadChecks() {
    m_bShowTooltips = IsDlgButtonChecked(kIdcShowTooltips) == BST_CHECKED;
    m_bShowShortcutKeys = IsDlgButtonChecked(kIdcShortcutKeys) == BST_CHECKED;
    m_bLargeIcons = IsDlgButtonChecked(kIdcLargeIcons) == BST_CHECKED;
    m_bLook2000 = IsDlgButtonChecked(kIdcLook2000) == BST_CHECKED;
    m_bRecentlyUsedMenus = IsDlgButtonChecked(kIdcRecentlyUsed) == BST_CHECKED;
    m_bShowAllMenusDelay = IsDlgButtonChecked(kIdcShowAllDelay) == BST_CHECKED;
}

void CQMXPOptionsPage::OnShowTooltips() {
    ReadChecks();
    CQMXPToolBar::m_bShowTooltips = m_bShowTooltips;
    GetDlgItem(kIdcShortcutKeys)->EnableWindow(m_bShowTooltips);
}

void CQMXPOptionsPage::OnShowShortcutKeys() {
    ReadChecks();
    CQMXPToolBar::m_bShowShortcutKeys = m_bShowShortcutKeys;
}

void CQMXPOptionsPage::OnLargeIcons() {
    ReadChecks();
    CQMXPToolBar::SetLargeIcons(m_bLargeIcons);
}

void CQMXPOptionsPage::OnLook2000() {
    ReadChecks();
    CQMXPVisualManager::GetInstance()->SetLook2000(m_bLook2000);
    CWnd* pMainWnd = AfxGetApp() != nullptr ? AfxGetApp()->m_pMainWnd : nullptr;
    if (pMainWnd != nullptr && pMainWnd->GetSafeHwnd() != nullptr)
        ::RedrawWindow(::GetAncestor(pMainWnd->GetSafeHwnd(), GA_ROOT), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CQMXPOptionsPage::OnRecentlyUsedMenus() {
    ReadChecks();
    CQMXPToolBar::m_bRecentlyUsedMenus = m_bRecentlyUsedMenus;
    GetDlgItem(kIdcShowAllDelay)->EnableWindow(m_bRecentlyUsedMenus);
}

void CQMXPOptionsPage::OnShowAllMenusDelay() {
    ReadChecks();
    CQMXPToolBar::m_bShowAllMenusAfterDelay = m_bShowAllMenusDelay;
}

void CQMXPOptionsPage::OnResetUsageData() {
    CString strPrompt;
    AfxLoadStringResource(kIdsResetUsage, strPrompt);
    if (AfxMessageBox(strPrompt, MB_YESNO | MB_ICONQUESTION) == IDYES)
        qmxCmdUsageCount.Reset();
}
