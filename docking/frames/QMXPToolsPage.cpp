#include "docking/frames/QMXPToolsPage.h"

#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "platform/classlib/FileDialog.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

namespace {
constexpr int kIdcToolsList = 16921;
constexpr int kIdcCommand = 16922;
constexpr int kIdcBrowse = 16923;
constexpr int kIdcArguments = 16924;
constexpr int kIdcInitialDir = 16925;
constexpr int kIdcArgumentsMenu = 16989;
constexpr int kIdcInitialDirMenu = 16997;
constexpr UINT kIdsTooManyTools = 16024;

// The edit shows the text; an equal text is left alone, so that no change
// notification follows.
void ShowText(CEdit& wndEdit, const CString& strText) {
    CString strOld;
    wndEdit.GetWindowText(strOld);
    if (strOld != strText)
        wndEdit.SetWindowText(strText);
}

// The button gets the first sub-menu of the menu resource and shows.
void AttachMenu(CMenu& menu, UINT uiMenuId, CQMXPMenuButton& wndButton) {
    if (uiMenuId == 0 || !menu.LoadMenu(uiMenuId))
        return;
    wndButton.m_hMenu = ::GetSubMenu(menu.m_hMenu, 0);
    wndButton.ShowWindow(SW_SHOW);
}
}  // namespace

CQMXPUserTool* CToolsList::GetTool(int iItem) const {
    return iItem >= 0 ? reinterpret_cast<CQMXPUserTool*>(GetItemData(iItem)) : nullptr;
}

void CToolsList::OnSelectionChanged() { m_pParent->OnSelectTool(GetTool(GetSelItem())); }

BOOL CToolsList::OnBeforeRemoveItem(int iItem) {
    CQMXPUserTool* pTool = GetTool(iItem);
    // The page lets go of the tool before it is deleted.
    m_pParent->OnSelectTool(nullptr);
    if (pTool != nullptr && qmxUserToolsManager != nullptr)
        qmxUserToolsManager->DeleteTool(pTool);
    return TRUE;
}

void CToolsList::OnAfterAddItem(int iItem) {
    CQMXPUserTool* pTool = m_pParent->CreateNewTool();
    if (pTool == nullptr) {
        RemoveItem(iItem);
        return;
    }
    pTool->m_strLabel = GetItemText(iItem);
    SetItemData(iItem, reinterpret_cast<DWORD_PTR>(pTool));
    OnSelectionChanged();
}

void CToolsList::OnAfterRenameItem(int iItem) {
    if (CQMXPUserTool* pTool = GetTool(iItem))
        pTool->m_strLabel = GetItemText(iItem);
}

void CToolsList::OnAfterMoveItemUp(int iItem) {
    if (CQMXPUserTool* pTool = GetTool(iItem); pTool != nullptr && qmxUserToolsManager != nullptr)
        qmxUserToolsManager->ShiftToolUp(pTool);
}

void CToolsList::OnAfterMoveItemDown(int iItem) {
    if (CQMXPUserTool* pTool = GetTool(iItem); pTool != nullptr && qmxUserToolsManager != nullptr)
        qmxUserToolsManager->ShiftToolDown(pTool);
}

IMPLEMENT_DYNAMIC(CQMXPToolsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPToolsPage, CPropertyPage)
    ON_EN_UPDATE(kIdcCommand, OnUpdateTool)
    ON_EN_UPDATE(kIdcArguments, OnUpdateTool)
    ON_EN_UPDATE(kIdcInitialDir, OnUpdateTool)
    ON_BN_CLICKED(kIdcBrowse, OnBrowseCommand)
    ON_BN_CLICKED(kIdcArgumentsMenu, OnArgumentsOptions)
    ON_BN_CLICKED(kIdcInitialDirMenu, OnInitialDirectoryOptions)
END_MESSAGE_MAP()

CQMXPToolsPage::CQMXPToolsPage()
    : CPropertyPage(IDD),
      m_wndToolsList(this),
      m_pSelTool(nullptr),
      m_pParentSheet(nullptr),
      m_bShowingFields(FALSE) {}

BOOL CQMXPToolsPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_pParentSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
    m_wndCommandEdit.SubclassDlgItem(kIdcCommand, this);
    m_wndArgumentsEdit.SubclassDlgItem(kIdcArguments, this);
    m_wndInitialDirEdit.SubclassDlgItem(kIdcInitialDir, this);
    m_wndBrowseBtn.SubclassDlgItem(kIdcBrowse, this);
    m_wndArgumentsBtn.SubclassDlgItem(kIdcArgumentsMenu, this);
    m_wndInitialDirBtn.SubclassDlgItem(kIdcInitialDirMenu, this);
    m_wndToolsList.SubclassDlgItem(kIdcToolsList, this);
    {
        CQMXPLocalResource localResource;
        m_wndToolsList.SetStandardButtons();
    }
    if (m_pParentSheet != nullptr)
        m_pParentSheet->OnInitToolsPage();
    if (qmxUserToolsManager != nullptr) {
        const CObList& lstTools = qmxUserToolsManager->GetUserTools();
        for (POSITION pos = lstTools.GetHeadPosition(); pos != nullptr;) {
            auto* pTool = static_cast<CQMXPUserTool*>(lstTools.GetNext(pos));
            m_wndToolsList.AddItem(pTool->m_strLabel, reinterpret_cast<DWORD_PTR>(pTool));
        }
        AttachMenu(m_menuInitialDir, qmxUserToolsManager->GetInitialDirMenuID(), m_wndInitialDirBtn);
        AttachMenu(m_menuArguments, qmxUserToolsManager->GetArgumentsMenuID(), m_wndArgumentsBtn);
    }
    m_wndInitialDirBtn.m_bRightArrow = TRUE;
    m_wndArgumentsBtn.m_bRightArrow = TRUE;
    EnableControls();
    return TRUE;
}

CQMXPUserTool* CQMXPToolsPage::CreateNewTool() {
    CQMXPUserTool* pTool = qmxUserToolsManager != nullptr ? qmxUserToolsManager->AddNewTool() : nullptr;
    if (pTool == nullptr) {
        CString strFormat;
        AfxLoadStringResource(kIdsTooManyTools, strFormat);
        CString strMessage;
        strMessage.Format(strFormat, qmxUserToolsManager != nullptr ? qmxUserToolsManager->GetMaxTools() : 0);
        AfxMessageBox(strMessage, MB_OK | MB_ICONSTOP);
    }
    return pTool;
}

void CQMXPToolsPage::ExchangeFields(BOOL bSave) {
    if (bSave) {
        m_wndCommandEdit.GetWindowText(m_strCommand);
        m_wndArgumentsEdit.GetWindowText(m_strArguments);
        m_wndInitialDirEdit.GetWindowText(m_strInitialDirectory);
        return;
    }
    m_bShowingFields = TRUE;
    ShowText(m_wndCommandEdit, m_strCommand);
    ShowText(m_wndArgumentsEdit, m_strArguments);
    ShowText(m_wndInitialDirEdit, m_strInitialDirectory);
    m_bShowingFields = FALSE;
}

void CQMXPToolsPage::OnSelectTool(CQMXPUserTool* pSelTool) {
    m_strCommand = pSelTool != nullptr ? pSelTool->GetCommand() : CString();
    m_strArguments = pSelTool != nullptr ? pSelTool->m_strArguments : CString();
    m_strInitialDirectory = pSelTool != nullptr ? pSelTool->m_strInitialDirectory : CString();
    if (m_pParentSheet != nullptr)
        m_pParentSheet->OnBeforeChangeTool(m_pSelTool);
    m_pSelTool = pSelTool;
    ExchangeFields(FALSE);
    EnableControls();
    if (m_pParentSheet != nullptr)
        m_pParentSheet->OnAfterChangeTool(m_pSelTool);
}

void CQMXPToolsPage::EnableControls() {
    const BOOL bEnable = m_wndToolsList.GetSelItem() >= 0;
    for (CWnd* pWnd : {static_cast<CWnd*>(&m_wndCommandEdit), static_cast<CWnd*>(&m_wndArgumentsEdit),
                       static_cast<CWnd*>(&m_wndInitialDirEdit), static_cast<CWnd*>(&m_wndBrowseBtn),
                       static_cast<CWnd*>(&m_wndArgumentsBtn), static_cast<CWnd*>(&m_wndInitialDirBtn)})
        pWnd->EnableWindow(bEnable);
}

void CQMXPToolsPage::OnUpdateTool() {
    if (m_bShowingFields)
        return;
    ExchangeFields(TRUE);
    if (m_pSelTool != nullptr) {
        m_pSelTool->SetCommand(m_strCommand);
        m_pSelTool->m_strArguments = m_strArguments;
        m_pSelTool->m_strInitialDirectory = m_strInitialDirectory;
    } else {
        m_strCommand.Empty();
        m_strArguments.Empty();
        m_strInitialDirectory.Empty();
        ExchangeFields(FALSE);
    }
    EnableControls();
}

void CQMXPToolsPage::OnBrowseCommand() {
    const CString strDefExt = qmxUserToolsManager != nullptr ? qmxUserToolsManager->m_strDefExt : CString();
    const CString strFilter = qmxUserToolsManager != nullptr ? qmxUserToolsManager->m_strFilter : CString();
    CFileDialog dlg(TRUE, strDefExt.IsEmpty() ? nullptr : static_cast<LPCWSTR>(strDefExt), m_strCommand,
                    OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, strFilter.IsEmpty() ? nullptr : static_cast<LPCWSTR>(strFilter),
                    this);
    if (dlg.DoModal() != IDOK)
        return;
    m_strCommand = dlg.GetPathName();
    m_bShowingFields = TRUE;
    ShowText(m_wndCommandEdit, m_strCommand);
    m_bShowingFields = FALSE;
    OnUpdateTool();
}

void CQMXPToolsPage::TypeCommandText(CEdit& wndEdit, const CQMXPMenuButton& wndButton) {
    if (wndButton.m_nMenuResult == 0)
        return;
    CString strText;
    AfxLoadStringResource(static_cast<UINT>(wndButton.m_nMenuResult), strText);
    wndEdit.SetFocus();
    for (int i = 0; i < strText.GetLength(); ++i)
        wndEdit.SendMessage(WM_CHAR, strText[i]);
}

void CQMXPToolsPage::OnArgumentsOptions() { TypeCommandText(m_wndArgumentsEdit, m_wndArgumentsBtn); }

void CQMXPToolsPage::OnInitialDirectoryOptions() { TypeCommandText(m_wndInitialDirEdit, m_wndInitialDirBtn); }

BOOL CQMXPToolsPage::OnKillActive() {
    if (m_pParentSheet != nullptr && qmxUserToolsManager != nullptr &&
        !m_pParentSheet->ValidateTools(qmxUserToolsManager->GetUserTools()))
        return FALSE;
    return CPropertyPage::OnKillActive();
}

void CQMXPToolsPage::OnOK() {
    OnUpdateTool();
    CPropertyPage::OnOK();
}
