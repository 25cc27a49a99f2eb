// A tool bar in the registry: its buttons as one archived value, its reset
// buttons, and the options every tool bar shares.
#include "docking/toolbars/QMXPToolBar.h"

#include "docking/bars/QMXPDockBar.h"
#include "docking/bars/QMXPGlobalUtils.h"
#include "docking/bars/QMXPLibraryGlobals.h"
#include "docking/frames/QMXPRegistry.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/CmdUsageCount.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "docking/toolbars/QMXPVisualManager.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/MemFile.h"

#include <cstdlib>

namespace {

constexpr wchar_t kRegName[] = L"Name";
constexpr wchar_t kRegButtons[] = L"Buttons";
constexpr wchar_t kRegOriginalItems[] = L"OriginalItems";
constexpr wchar_t kRegParameters[] = L"QMXToolbarParameters";
constexpr wchar_t kRegTooltips[] = L"Tooltips";
constexpr wchar_t kRegShortcutKeys[] = L"ShortcutKeys";
constexpr wchar_t kRegLargeIcons[] = L"LargeIcons";
constexpr wchar_t kRegMenuAnimation[] = L"MenuAnimation";
constexpr wchar_t kRegRecentlyUsedMenus[] = L"RecentlyUsedMenus";
constexpr wchar_t kRegMenuShadows[] = L"MenuShadows";
constexpr wchar_t kRegShowAllMenusAfterDelay[] = L"ShowAllMenusAfterDelay";
constexpr wchar_t kRegLook2000[] = L"Look2000";
constexpr wchar_t kRegCommandsUsage[] = L"CommandsUsage";
constexpr UINT kArchiveBuffer = 4096;
constexpr UINT kMemFileGrowth = 1024;

CString SectionKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    return QMXPBarStateKey(qmxRegToolBarSection, L"QMXToolBar", lpszProfileName, uiID, nIndex);
}

CString ParametersKey(LPCWSTR lpszProfileName) {
    return QMXPGetRegPath(qmxRegToolBarSection, lpszProfileName) + kRegParameters;
}

// The most recently used width is stored since the layout version 6.2 (and always when saving).
bool HasWidthField(BOOL bStoring) {
    const CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    if (pWorkspace == nullptr)
        return false;
    const int nMajor = pWorkspace->GetDataVersionMajor();
    const int nMinor = pWorkspace->GetDataVersionMinor();
    return (nMajor > 5 && nMinor > 1) || (bStoring && nMajor == -1 && nMinor == -1);
}

bool KeepsResetButtons() {
    const CQMXPWorkspace* pWorkspace = QMXPGetWorkspace();
    return pWorkspace != nullptr && pWorkspace->IsResourceSmartUpdate();
}

}  // namespace

BOOL CQMXPToolBar::LoadButtons(CArchive& ar) {
    CObList lstLoaded;
    BOOL bComplete = TRUE;
    try {
        for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
            // Only tool-bar buttons are made: another class stored here ends the read.
            CObject* pObject = ar.ReadObject(RUNTIME_CLASS(CQMXPToolbarButton));
            if (pObject == nullptr) {
                bComplete = FALSE;
                break;
            }
            lstLoaded.AddTail(pObject);
        }
    } catch (CException* pException) {
        pException->Delete();
        bComplete = FALSE;
    }
    if (!bComplete) {
        while (!lstLoaded.IsEmpty())
            delete lstLoaded.RemoveHead();
        if (CanBeRestored())
            RestoreFromResource();
        AdjustLayout();
        return FALSE;
    }
    while (!lstLoaded.IsEmpty()) {
        auto* pButton = static_cast<CQMXPToolbarButton*>(lstLoaded.RemoveHead());
        pButton->m_nStyle &= ~(TBBS_CHECKED | TBBS_PRESSED);
        m_Buttons.AddTail(pButton);
        pButton->OnParentChanged(this);
    }
    return TRUE;
}

void CQMXPToolBar::Serialize(CArchive& ar) {
    CQMXPBaseToolBar::Serialize(ar);
    if (m_bLocked)
        return;
    if (ar.IsStoring()) {
        CObList lstStored;
        for (POSITION pos = m_Buttons.GetHeadPosition(); pos != nullptr;) {
            auto* pButton = static_cast<CQMXPToolbarButton*>(m_Buttons.GetNext(pos));
            if (pButton->CanBeStored())
                lstStored.AddTail(pButton);
        }
        lstStored.Serialize(ar);
        ar << m_bTextLabels;
        CString strName;
        if (GetSafeHwnd() != nullptr)
            GetWindowText(strName);
        ar << strName;
        if (HasWidthField(TRUE))
            ar << m_nMRUWidth;
        return;
    }

    CQMXPToolbarButton* pCustomizeCopy = CopyCustomizeButton();
    RemoveAllButtons();
    if (!LoadButtons(ar)) {
        if (pCustomizeCopy != nullptr && InsertButton(pCustomizeCopy) >= 0)
            m_pCustomizeBtn = pCustomizeCopy;
        return;
    }
    BOOL bTextLabels = FALSE;
    ar >> bTextLabels;
    if (AllowShowTextLabels())
        m_bTextLabels = bTextLabels;
    if (pCustomizeCopy != nullptr && InsertButton(pCustomizeCopy) >= 0)
        m_pCustomizeBtn = pCustomizeCopy;
    AdjustLayout();
    CString strName;
    ar >> strName;
    if (GetSafeHwnd() != nullptr)
        SetWindowText(strName);
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (!IsCommandPermitted(GetButton(i)->m_nID))
            RemoveButton(i);
    }
    if (HasWidthField(FALSE))
        ar >> m_nMRUWidth;
}

BOOL CQMXPToolBar::SaveState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    CMemFile file(kMemFileGrowth);
    try {
        CArchive ar(&file, CArchive::store, kArchiveBuffer);
        Serialize(ar);
        ar.Flush();
        ar.Close();
    } catch (CException* pException) {
        pException->Delete();
    }
    const UINT nBytes = static_cast<UINT>(file.GetLength());
    BYTE* pData = file.Detach();
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
        if (pReg->CreateKey(SectionKey(lpszProfileName, uiID, nIndex))) {
            if (GetSafeHwnd() != nullptr) {
                CString strName;
                GetWindowText(strName);
                pReg->Write(kRegName, strName);
            }
            if (pReg->Write(kRegButtons, pData, nBytes) && KeepsResetButtons())
                SaveResetState(pReg);
        }
    }
    std::free(pData);
    return CQMXPBaseToolBar::SaveState(lpszProfileName, uiID, nIndex);
}

BOOL CQMXPToolBar::LoadState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    {
        CQMXPRegistrySP regSP;
        CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
        BYTE* pData = nullptr;
        UINT nBytes = 0;
        if (!pReg->Open(SectionKey(lpszProfileName, uiID, nIndex)) || !pReg->Read(kRegButtons, pData, nBytes))
            return FALSE;
        try {
            CMemFile file(pData, nBytes);
            CArchive ar(&file, CArchive::load, kArchiveBuffer);
            Serialize(ar);
        } catch (CException* pException) {
            pException->Delete();
        }
        delete[] pData;
        if (KeepsResetButtons())
            LoadResetState(pReg);
    }
    const BOOL bResult = CQMXPBaseToolBar::LoadState(lpszProfileName, uiID, nIndex);
    AdjustLayout();
    if (m_pDockSite != nullptr && m_pParentDockBar != nullptr && m_pDockBarRow != nullptr) {
        const CSize size = CalcFixedLayout(FALSE, IsHorizontal());
        m_pParentDockBar->ResizeRow(m_pDockBarRow, IsHorizontal() ? size.cy : size.cx);
    }
    return bResult;
}

BOOL CQMXPToolBar::HasStoredState(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    const BOOL bStored = pReg->Open(SectionKey(lpszProfileName, uiID, nIndex)) && pReg->Read(kRegButtons, pData, nBytes);
    delete[] pData;
    return bStored;
}

BOOL CQMXPToolBar::RemoveStateFromRegistry(LPCWSTR lpszProfileName, UINT uiID, int nIndex) {
    if (uiID == static_cast<UINT>(-1))
        uiID = static_cast<UINT>(GetDlgCtrlID());
    CQMXPRegistrySP regSP;
    return regSP.Create(FALSE, FALSE)->DeleteKey(SectionKey(lpszProfileName, uiID, nIndex));
}

BOOL CQMXPToolBar::SaveResetState(CQMXPRegistry* pReg) {
    if (m_OrigButtons.IsEmpty())
        return FALSE;
    return pReg->Write(kRegOriginalItems, m_OrigButtons);
}

BOOL CQMXPToolBar::LoadResetState(CQMXPRegistry* pReg) {
    CObList lstStored;
    const BOOL bRead = pReg->Read(kRegOriginalItems, lstStored);
    if (bRead)
        MergeResourceChanges(lstStored);
    while (!lstStored.IsEmpty())
        delete lstStored.RemoveHead();
    return bRead;
}

BOOL CQMXPToolBar::SaveParameters(LPCWSTR lpszProfileName) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, FALSE);
    if (!pReg->CreateKey(ParametersKey(lpszProfileName)))
        return FALSE;
    return pReg->Write(kRegTooltips, m_bShowTooltips) && pReg->Write(kRegShortcutKeys, m_bShowShortcutKeys) &&
           pReg->Write(kRegLargeIcons, m_bLargeIcons) && pReg->Write(kRegMenuAnimation, CQMXPPopupMenu::animationType) &&
           pReg->Write(kRegRecentlyUsedMenus, m_bRecentlyUsedMenus) &&
           pReg->Write(kRegMenuShadows, CQMXPPopupMenu::bMenuShadows) &&
           pReg->Write(kRegShowAllMenusAfterDelay, m_bShowAllMenusAfterDelay) &&
           pReg->Write(kRegLook2000, CQMXPVisualManager::GetInstance()->IsLook2000()) &&
           pReg->Write(kRegCommandsUsage, static_cast<CObject&>(qmxCmdUsageCount));
}

BOOL CQMXPToolBar::LoadParameters(LPCWSTR lpszProfileName) {
    CQMXPRegistrySP regSP;
    CQMXPRegistry* pReg = regSP.Create(FALSE, TRUE);
    if (!pReg->Open(ParametersKey(lpszProfileName)))
        return FALSE;
    int nAnimation = 0;
    int bLook2000 = FALSE;
    const BOOL bResult =
        pReg->Read(kRegTooltips, m_bShowTooltips) && pReg->Read(kRegShortcutKeys, m_bShowShortcutKeys) &&
        pReg->Read(kRegLargeIcons, m_bLargeIcons) && pReg->Read(kRegMenuAnimation, nAnimation) &&
        pReg->Read(kRegRecentlyUsedMenus, m_bRecentlyUsedMenus) &&
        pReg->Read(kRegMenuShadows, CQMXPPopupMenu::bMenuShadows) &&
        pReg->Read(kRegShowAllMenusAfterDelay, m_bShowAllMenusAfterDelay) && pReg->Read(kRegLook2000, bLook2000) &&
        pReg->Read(kRegCommandsUsage, static_cast<CObject&>(qmxCmdUsageCount));
    CQMXPPopupMenu::animationType = nAnimation;
    SetLargeIcons(m_bLargeIcons);
    CQMXPVisualManager::GetInstance()->SetLook2000(bLook2000);
    return bResult;
}
