#include "docking/frames/QMXPKeyboardPage.h"

#include "docking/frames/QMXPDocTypeLines.h"
#include "docking/frames/QMXPKeyboardManager.h"
#include "docking/frames/QMXPToolbarCustomize.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/ObList.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

#include <vector>

namespace {
constexpr int kIdcCategory = 16601;
constexpr int kIdcCommands = 16641;
constexpr int kIdcDescription = 16514;
constexpr int kIdcViewType = 16642;
constexpr int kIdcCurrentKeys = 16643;
constexpr int kIdcNewKey = 16644;
constexpr int kIdcAssign = 16645;
constexpr int kIdcRemove = 16646;
constexpr int kIdcResetAll = 16647;
constexpr int kIdcViewIcon = 16526;
constexpr int kIdcAssignedTo = 16527;
constexpr int kIdcAssignedToTitle = 16528;
constexpr UINT kIdsUnassigned = 16009;
constexpr UINT kIdsDefault = 16114;
constexpr UINT kIdsResetKeyboard = 16115;
// A key's identity: virtual key, Shift, Ctrl and Alt; FNOINVERT says nothing.
constexpr BYTE kKeyFlagsMask = FVIRTKEY | FSHIFT | FCONTROL | FALT;
constexpr UINT kNoCommand = static_cast<UINT>(-1);
}  // namespace

IMPLEMENT_DYNAMIC(CQMXPKeyboardPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQMXPKeyboardPage, CPropertyPage)
    ON_CBN_SELCHANGE(kIdcCategory, OnSelchangeCategory)
    ON_LBN_SELCHANGE(kIdcCommands, OnSelchangeCommandsList)
    ON_LBN_SELCHANGE(kIdcCurrentKeys, OnSelchangeCurrentKeysList)
    ON_CBN_SELCHANGE(kIdcViewType, OnSelchangeViewType)
    ON_EN_UPDATE(kIdcNewKey, OnUpdateNewShortcutKey)
    ON_BN_CLICKED(kIdcAssign, OnAssign)
    ON_BN_CLICKED(kIdcRemove, OnRemove)
    ON_BN_CLICKED(kIdcResetAll, OnResetAll)
END_MESSAGE_MAP()

CQMXPKeyboardPage::CQMXPKeyboardPage(CFrameWnd* pParentFrame, BOOL bAutoSet)
    : CPropertyPage(IDD),
      m_hAccelTable(nullptr),
      m_lpAccel(nullptr),
      m_nAccelSize(0),
      m_pSelTemplate(nullptr),
      m_pSelButton(nullptr),
      m_pSelEntry(nullptr),
      m_pParentFrame(pParentFrame),
      m_bAutoSet(bAutoSet) {}

CQMXPKeyboardPage::~CQMXPKeyboardPage() { delete[] m_lpAccel; }

BOOL CQMXPKeyboardPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_wndAssignedToTitle.SubclassDlgItem(kIdcAssignedToTitle, this);
    m_wndNewKey.SubclassDlgItem(kIdcNewKey, this);
    m_wndViewTypeList.SubclassDlgItem(kIdcViewType, this);
    m_wndViewIcon.SubclassDlgItem(kIdcViewIcon, this);
    m_wndRemoveButton.SubclassDlgItem(kIdcRemove, this);
    m_wndCurrentKeysList.SubclassDlgItem(kIdcCurrentKeys, this);
    m_wndCommandsList.SubclassDlgItem(kIdcCommands, this);
    m_wndCategoryList.SubclassDlgItem(kIdcCategory, this);
    m_wndAssignButton.SubclassDlgItem(kIdcAssign, this);

    if (auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent()))
        pSheet->FillCategoryCombo(m_wndCategoryList, FALSE);
    m_wndCategoryList.SetCurSel(0);
    OnSelchangeCategory();

    if (m_bAutoSet)
        QMXPAddDocTypeLines(m_wndViewTypeList,
                            [](const CMultiDocTemplate& docType) { return BOOL(docType.m_hAccelTable != nullptr); });
    if (m_pParentFrame != nullptr && m_pParentFrame->m_hAccelTable != nullptr) {
        CString strDefault;
        AfxLoadStringResource(kIdsDefault, strDefault);
        const int iIndex = m_wndViewTypeList.AddString(strDefault);
        m_wndViewTypeList.SetItemData(iIndex, 0);
        m_wndViewTypeList.SetCurSel(iIndex);
        OnSelchangeViewType();
    }
    if (m_wndViewTypeList.GetCurSel() < 0) {
        m_wndViewTypeList.SetCurSel(0);
        OnSelchangeViewType();
    }
    return TRUE;
}

void CQMXPKeyboardPage::ShowTexts() {
    SetDlgItemText(kIdcDescription, m_strDescription);
    SetDlgItemText(kIdcAssignedTo, m_strAssignedTo);
}

void CQMXPKeyboardPage::SetWorkingCopy(LPACCEL lpAccel, int nSize) {
    if (lpAccel == nullptr) {
        m_wndCurrentKeysList.ResetContent();
        m_pSelEntry = nullptr;
    } else {
        // The lines keep their entries: the new copy holds them at the same places.
        for (int i = 0; i < m_wndCurrentKeysList.GetCount(); ++i) {
            const auto iEntry = reinterpret_cast<LPACCEL>(m_wndCurrentKeysList.GetItemData(i)) - m_lpAccel;
            m_wndCurrentKeysList.SetItemData(
                i, reinterpret_cast<DWORD_PTR>(iEntry >= 0 && iEntry < nSize ? lpAccel + iEntry : nullptr));
        }
        if (m_pSelEntry != nullptr) {
            const auto iEntry = m_pSelEntry - m_lpAccel;
            m_pSelEntry = iEntry < nSize ? lpAccel + iEntry : nullptr;
        }
    }
    delete[] m_lpAccel;
    m_lpAccel = lpAccel;
    m_nAccelSize = lpAccel != nullptr ? nSize : 0;
}

BOOL CQMXPKeyboardPage::InstallWorkingCopy() {
    if (qmxKeyboardManager == nullptr ||
        !qmxKeyboardManager->UpdateAcceleratorTable(m_pSelTemplate, m_lpAccel, m_nAccelSize, m_pParentFrame))
        return FALSE;
    m_hAccelTable = m_pSelTemplate != nullptr ? m_pSelTemplate->m_hAccelTable : m_pParentFrame->m_hAccelTable;
    return TRUE;
}

void CQMXPKeyboardPage::AddKeyLine(LPACCEL pEntry) {
    CString strKey;
    CQMXPKeyHelper(pEntry).Format(strKey);
    const int iIndex = m_wndCurrentKeysList.AddString(strKey);
    m_wndCurrentKeysList.SetItemData(iIndex, reinterpret_cast<DWORD_PTR>(pEntry));
}

void CQMXPKeyboardPage::OnSelchangeCategory() {
    m_wndCommandsList.ResetContent();
    m_wndCurrentKeysList.ResetContent();
    const int iCategory = m_wndCategoryList.GetCurSel();
    if (iCategory >= 0) {
        CString strCategory;
        m_wndCategoryList.GetLBText(iCategory, strCategory);
        const BOOL bAllCommands = strCategory == m_strAllCategory;
        auto* pCategory = reinterpret_cast<CObList*>(m_wndCategoryList.GetItemData(iCategory));
        for (POSITION pos = pCategory != nullptr ? pCategory->GetHeadPosition() : nullptr; pos != nullptr;) {
            auto* pButton = static_cast<CQMXPToolbarButton*>(pCategory->GetNext(pos));
            if (pButton->m_nID == 0 || pButton->m_nID == kNoCommand)
                continue;
            CString strText = pButton->m_strText;
            if (!pButton->m_strTextCustom.IsEmpty()) {
                int nSameText = 0;
                for (POSITION posOther = pCategory->GetHeadPosition(); posOther != nullptr;)
                    if (static_cast<CQMXPToolbarButton*>(pCategory->GetNext(posOther))->m_strText == strText)
                        ++nSameText;
                if (bAllCommands || nSameText > 1)
                    strText = pButton->m_strTextCustom;
            }
            const int iIndex = m_wndCommandsList.AddString(strText);
            m_wndCommandsList.SetItemData(iIndex, reinterpret_cast<DWORD_PTR>(pButton));
        }
    }
    m_wndNewKey.EnableWindow(FALSE);
    m_wndCommandsList.SetCurSel(0);
    OnSelchangeCommandsList();
}

void CQMXPKeyboardPage::OnSelchangeCommandsList() {
    m_strDescription.Empty();
    m_wndCurrentKeysList.ResetContent();
    OnSelchangeCurrentKeysList();
    const int iSelected = m_wndCommandsList.GetCurSel();
    if (iSelected >= 0) {
        m_pSelButton = reinterpret_cast<CQMXPToolbarButton*>(m_wndCommandsList.GetItemData(iSelected));
        if (m_pParentFrame != nullptr)
            m_pParentFrame->GetMessageString(m_pSelButton->m_nID, m_strDescription);
        for (int i = 0; i < m_nAccelSize; ++i)
            if (m_lpAccel[i].cmd == m_pSelButton->m_nID)
                AddKeyLine(&m_lpAccel[i]);
        m_wndNewKey.EnableWindow(TRUE);
    } else {
        m_pSelButton = nullptr;
        m_wndNewKey.EnableWindow(FALSE);
    }
    ShowTexts();
}

void CQMXPKeyboardPage::OnSelchangeCurrentKeysList() {
    const int iSelected = m_wndCurrentKeysList.GetCurSel();
    m_pSelEntry = iSelected >= 0 ? reinterpret_cast<LPACCEL>(m_wndCurrentKeysList.GetItemData(iSelected)) : nullptr;
    m_wndRemoveButton.EnableWindow(m_pSelEntry != nullptr);
}

void CQMXPKeyboardPage::OnSelchangeViewType() {
    SetWorkingCopy(nullptr, 0);
    m_hAccelTable = nullptr;
    m_pSelTemplate = nullptr;
    const int iSelected = m_wndViewTypeList.GetCurSel();
    if (iSelected < 0) {
        m_wndViewIcon.SetIcon(nullptr);
        return;
    }
    auto* pTemplate = reinterpret_cast<CMultiDocTemplate*>(m_wndViewTypeList.GetItemData(iSelected));
    HICON hIcon = nullptr;
    if (pTemplate != nullptr) {
        hIcon = QMXPDocTypeIcon(*pTemplate);
        m_hAccelTable = pTemplate->m_hAccelTable;
    } else if (m_pParentFrame != nullptr) {
        hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(m_pParentFrame->GetSafeHwnd(), GCLP_HICON));
        m_hAccelTable = m_pParentFrame->m_hAccelTable;
    }
    m_wndViewIcon.SetIcon(hIcon != nullptr ? hIcon : ::LoadIconW(nullptr, IDI_APPLICATION));
    const int nCount = m_hAccelTable != nullptr ? ::CopyAcceleratorTableW(m_hAccelTable, nullptr, 0) : 0;
    if (nCount > 0) {
        auto* lpAccel = new ACCEL[static_cast<size_t>(nCount)];
        SetWorkingCopy(lpAccel, ::CopyAcceleratorTableW(m_hAccelTable, lpAccel, nCount));
    }
    m_pSelTemplate = pTemplate;
    OnSelchangeCommandsList();
}

void CQMXPKeyboardPage::OnUpdateNewShortcutKey() {
    m_strAssignedTo.Empty();
    m_wndAssignedToTitle.ShowWindow(SW_HIDE);
    m_wndAssignButton.EnableWindow(FALSE);
    if (!m_wndNewKey.IsKeyDefined()) {
        ShowTexts();
        return;
    }
    const ACCEL& accel = m_wndNewKey.GetAccel();
    BOOL bTaken = FALSE;
    for (int i = 0; i < m_nAccelSize && !bTaken; ++i) {
        if (m_lpAccel[i].key != accel.key || (m_lpAccel[i].fVirt & kKeyFlagsMask) != (accel.fVirt & kKeyFlagsMask))
            continue;
        bTaken = TRUE;
        auto* pSheet = DYNAMIC_DOWNCAST(CQMXPToolbarCustomize, GetParent());
        LPCWSTR lpszName = pSheet != nullptr ? pSheet->LookupCommandName(m_lpAccel[i].cmd) : nullptr;
        m_strAssignedTo = lpszName != nullptr ? lpszName : L"????";
    }
    if (!bTaken) {
        AfxLoadStringResource(kIdsUnassigned, m_strAssignedTo);
        m_wndAssignButton.EnableWindow(m_pSelButton != nullptr);
    }
    m_wndAssignedToTitle.ShowWindow(SW_SHOW);
    ShowTexts();
}

void CQMXPKeyboardPage::OnAssign() {
    if (m_pSelButton == nullptr || !m_wndNewKey.IsKeyDefined())
        return;
    ACCEL entry = m_wndNewKey.GetAccel();
    entry.cmd = static_cast<WORD>(m_pSelButton->m_nID);
    auto* lpAccel = new ACCEL[static_cast<size_t>(m_nAccelSize) + 1];
    std::copy(m_lpAccel, m_lpAccel + m_nAccelSize, lpAccel);
    lpAccel[m_nAccelSize] = entry;
    SetWorkingCopy(lpAccel, m_nAccelSize + 1);
    if (InstallWorkingCopy()) {
        AddKeyLine(&m_lpAccel[m_nAccelSize - 1]);
    } else {
        // The table stays as it was: so does the page.
        ::MessageBeep(static_cast<UINT>(-1));
        --m_nAccelSize;
    }
    m_wndNewKey.ResetKey();
    OnUpdateNewShortcutKey();
    m_wndCommandsList.SetFocus();
}

void CQMXPKeyboardPage::OnRemove() {
    if (m_pSelEntry == nullptr)
        return;
    std::vector<ACCEL> entries;
    for (int i = 0; i < m_nAccelSize; ++i)
        if (&m_lpAccel[i] != m_pSelEntry)
            entries.push_back(m_lpAccel[i]);
    const std::vector<ACCEL> previous(m_lpAccel, m_lpAccel + m_nAccelSize);
    auto* lpAccel = new ACCEL[entries.size() + 1];
    std::copy(entries.begin(), entries.end(), lpAccel);
    m_wndCurrentKeysList.ResetContent();
    m_pSelEntry = nullptr;
    SetWorkingCopy(lpAccel, static_cast<int>(entries.size()));
    if (!InstallWorkingCopy()) {
        // A table cannot be left without keys: the key stays, and the page shows it.
        ::MessageBeep(static_cast<UINT>(-1));
        auto* lpPrevious = new ACCEL[previous.size()];
        std::copy(previous.begin(), previous.end(), lpPrevious);
        SetWorkingCopy(lpPrevious, static_cast<int>(previous.size()));
    }
    OnSelchangeCommandsList();
    m_wndCommandsList.SetFocus();
}

void CQMXPKeyboardPage::OnResetAll() {
    CString strPrompt;
    AfxLoadStringResource(kIdsResetKeyboard, strPrompt);
    if (AfxMessageBox(strPrompt, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (qmxKeyboardManager != nullptr)
        qmxKeyboardManager->ResetAll();
    if (m_pParentFrame != nullptr)
        m_pParentFrame->SendMessage(QMXTOOLBAR_RESETKEYBAORD);
    OnSelchangeViewType();
    OnSelchangeCommandsList();
}
