// The customisation sheet's catalogue of commands: categories of button
// copies built from the application's menus, each command once per
// category and once in all commands.
#include "docking/frames/QMXPToolbarCustomize.h"

#include "docking/frames/QMXPFrameWnd.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPTearOffManager.h"
#include "docking/frames/QMXPUserTool.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPUserToolsManager.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/ComboBox.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/ListBox.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/WinApp.h"

#include <memory>

namespace {

constexpr INT_PTR kCategoryBlock = 10;

// The path joined with the text: capital after each blank, blanks gone, cut at the tab.
CString CustomText(const CString& strPath, const CString& strText) {
    const CString strJoined = strPath + strText;
    CString strResult;
    BOOL bAfterBlank = FALSE;
    for (int i = 0; i < strJoined.GetLength(); ++i) {
        wchar_t ch = strJoined[i];
        if (ch == L'\t')
            break;
        if (ch == L' ') {
            bAfterBlank = TRUE;
            continue;
        }
        if (bAfterBlank)
            ch = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(ch))));
        bAfterBlank = FALSE;
        strResult += ch;
    }
    return strResult;
}

BOOL HoldsRealCommand(const CObList& lstButtons) {
    for (POSITION pos = lstButtons.GetHeadPosition(); pos != nullptr;) {
        const UINT uiID = static_cast<CQMXPToolbarButton*>(lstButtons.GetNext(pos))->m_nID;
        if (uiID != 0 && uiID != static_cast<UINT>(-1))
            return TRUE;
    }
    return FALSE;
}

}  // namespace

CObList* CQMXPToolbarCustomize::GetCategoryButtons(LPCWSTR lpszCategory) const {
    CObList* pList = nullptr;
    return m_ButtonsByCategory.Lookup(CString(lpszCategory), pList) ? pList : nullptr;
}

void CQMXPToolbarCustomize::AddCommandButton(LPCWSTR lpszCategory, const CQMXPToolbarButton& button,
                                             int iInsertAfter) {
    const UINT uiID = button.m_nID;
    if (IsStandardCommand(uiID) ||
        (qmxUserToolsManager != nullptr && uiID == qmxUserToolsManager->GetToolsEntryCmd()) ||
        !CQMXPToolBar::IsCommandPermitted(uiID))
        return;
    CString strText = button.m_strText;
    BOOL bUserTool = FALSE;
    if (qmxUserToolsManager != nullptr && qmxUserToolsManager->IsUserToolCmd(uiID)) {
        CQMXPUserTool* pTool = qmxUserToolsManager->LookupTool(uiID);
        if (pTool == nullptr)
            return;
        strText = pTool->m_strLabel;
        bUserTool = TRUE;
    }
    if (strText.IsEmpty()) {
        strText = CQMXPToolbarButton::GetCommandShortName(uiID);
        if (strText.IsEmpty())
            return;
    } else {
        strText.Remove(L'&');
        const int iTab = strText.Find(L'\t');
        if (iTab >= 0)
            strText = strText.Left(iTab);
    }

    const CString strCategory(lpszCategory);
    CObList* pCategory = GetCategoryButtons(strCategory);
    if (pCategory != nullptr) {
        for (POSITION pos = pCategory->GetHeadPosition(); pos != nullptr;) {
            const auto* pOld = static_cast<CQMXPToolbarButton*>(pCategory->GetNext(pos));
            if (uiID != static_cast<UINT>(-1) ? pOld->m_nID == uiID : pOld->m_strText == strText)
                return;
        }
    } else {
        pCategory = new CObList(kCategoryBlock);
        m_ButtonsByCategory.SetAt(strCategory, pCategory);
        if (strCategory != m_strAllCommands)
            m_strCategoriesList.AddTail(strCategory);
    }

    std::unique_ptr<CQMXPToolbarButton> pCopy(
        static_cast<CQMXPToolbarButton*>(button.GetRuntimeClass()->CreateObject()));
    if (pCopy == nullptr)
        return;
    pCopy->AssignFrom(button);
    pCopy->m_strText = strText;
    if (bUserTool)
        pCopy->SetImage(0);
    CQMXPToolbarButton* pAdded = pCopy.release();
    POSITION posAfter = iInsertAfter != -1 ? pCategory->FindIndex(iInsertAfter) : nullptr;
    if (posAfter != nullptr)
        pCategory->InsertAfter(posAfter, pAdded);
    else
        pCategory->AddTail(pAdded);
    if (strCategory != m_strAllCommands)
        AddCommandButton(m_strAllCommands, button);
    pAdded->OnAddToCustomizePage();
}

void CQMXPToolbarCustomize::AddMenuCommands(const CMenu* pMenu, LPCWSTR lpszCategory, LPCWSTR lpszMenuPath) {
    if (pMenu == nullptr)
        return;
    const int nCount = static_cast<int>(pMenu->GetMenuItemCount());
    for (int i = 0; i < nCount; ++i) {
        const UINT uiID = pMenu->GetMenuItemID(i);
        if (uiID == 0)
            continue;
        CString strText;
        pMenu->GetMenuString(static_cast<UINT>(i), strText, MF_BYPOSITION);
        strText.Remove(L'&');
        if (uiID != static_cast<UINT>(-1)) {
            if (lpszCategory != nullptr && qmxUserToolsManager != nullptr &&
                uiID == qmxUserToolsManager->GetToolsEntryCmd()) {
                AddUserTools(lpszCategory);
                continue;
            }
            CQMXPToolbarButton button(uiID, -1, strText);
            if (lpszMenuPath != nullptr)
                button.m_strTextCustom = CustomText(lpszMenuPath, strText);
            AddCommandButton(lpszCategory != nullptr ? lpszCategory : m_strAllCommands.GetString(), button);
            continue;
        }
        CQMXPTearOffManager::Parse(strText);
        const CString strCategory = lpszCategory != nullptr ? CString(lpszCategory) : strText;
        const CString strPath = CString(lpszMenuPath != nullptr ? lpszMenuPath : L"") + strText;
        AddMenuCommands(pMenu->GetSubMenu(i), strCategory, strPath);
    }
}

void CQMXPToolbarCustomize::BuildFromFrameMenus() {
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pDocManager != nullptr) {
        for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
            auto* pTemplate = DYNAMIC_DOWNCAST(CMultiDocTemplate, pApp->GetNextDocTemplate(pos));
            if (pTemplate != nullptr && pTemplate->m_hMenuShared != nullptr)
                AddMenuCommands(CMenu::FromHandle(pTemplate->m_hMenuShared));
        }
    }
    HMENU hMenu = m_pParentFrame != nullptr ? m_pParentFrame->m_hMenuDefault : nullptr;
    if (hMenu == nullptr) {
        CQMXPMenuBar* pMenuBar = nullptr;
        if (auto* pMDIFrame = DYNAMIC_DOWNCAST(CQMXPMDIFrameWnd, m_pParentFrame))
            pMenuBar = pMDIFrame->GetLibraryMenuBar();
        else if (auto* pFrame = DYNAMIC_DOWNCAST(CQMXPFrameWnd, m_pParentFrame))
            pMenuBar = pFrame->GetLibraryMenuBar();
        if (pMenuBar != nullptr)
            hMenu = pMenuBar->GetDefaultMenu();
    }
    if (hMenu != nullptr)
        AddMenuCommands(CMenu::FromHandle(hMenu));
}

void CQMXPToolbarCustomize::AddUserTools(LPCWSTR lpszCategory) {
    if (qmxUserToolsManager == nullptr)
        return;
    for (POSITION pos = qmxUserToolsManager->GetUserTools().GetHeadPosition(); pos != nullptr;) {
        auto* pTool = static_cast<CQMXPUserTool*>(qmxUserToolsManager->GetUserTools().GetNext(pos));
        AddCommandButton(lpszCategory, CQMXPToolbarButton(pTool->m_uiCmdId, 0, pTool->m_strLabel, FALSE, TRUE));
    }
}

std::vector<std::pair<CString, CObList*>> CQMXPToolbarCustomize::CategoriesToShow(BOOL bIncludeEmpty) const {
    std::vector<std::pair<CString, CObList*>> categories;
    for (POSITION pos = m_strCategoriesList.GetHeadPosition(); pos != nullptr;) {
        const CString strName = m_strCategoriesList.GetNext(pos);
        CObList* pList = GetCategoryButtons(strName);
        if (pList != nullptr && (bIncludeEmpty || HoldsRealCommand(*pList)))
            categories.emplace_back(strName, pList);
    }
    categories.emplace_back(m_strAllCommands, GetCategoryButtons(m_strAllCommands));
    return categories;
}

void CQMXPToolbarCustomize::FillCategoryCombo(CComboBox& wndCategory, BOOL bIncludeEmpty) const {
    for (const auto& category : CategoriesToShow(bIncludeEmpty))
        wndCategory.SetItemData(wndCategory.AddString(category.first), reinterpret_cast<DWORD_PTR>(category.second));
}

void CQMXPToolbarCustomize::FillCategoryList(CListBox& wndCategory, BOOL bIncludeEmpty) const {
    for (const auto& category : CategoriesToShow(bIncludeEmpty))
        wndCategory.SetItemData(wndCategory.AddString(category.first), reinterpret_cast<DWORD_PTR>(category.second));
}

void CQMXPToolbarCustomize::FillAllCommandsList(CListBox& wndListOfCommands) const {
    wndListOfCommands.ResetContent();
    CObList* pAll = GetCategoryButtons(m_strAllCommands);
    if (pAll == nullptr)
        return;
    for (POSITION pos = pAll->GetHeadPosition(); pos != nullptr;) {
        const auto* pButton = static_cast<CQMXPToolbarButton*>(pAll->GetNext(pos));
        const int iIndex =
            wndListOfCommands.AddString(pButton->m_strTextCustom.IsEmpty() ? pButton->m_strText : pButton->m_strTextCustom);
        wndListOfCommands.SetItemData(iIndex, pButton->m_nID);
    }
}

LPCWSTR CQMXPToolbarCustomize::LookupCommandName(UINT uiCmd) const {
    CObList* pAll = GetCategoryButtons(m_strAllCommands);
    if (pAll == nullptr)
        return nullptr;
    for (POSITION pos = pAll->GetHeadPosition(); pos != nullptr;) {
        const auto* pButton = static_cast<CQMXPToolbarButton*>(pAll->GetNext(pos));
        if (pButton->m_nID == uiCmd)
            return pButton->m_strText;
    }
    return nullptr;
}
