#include "docking/frames/QMXPTearOffManager.h"

#include <cwctype>

CQMXPTearOffManager* qmxTearOffManager = nullptr;

namespace {

constexpr wchar_t kMarker = 1;
constexpr int kMaxMenuText = 1024;
constexpr UINT kMenuBarBreak = MF_MENUBARBREAK;

CString MenuItemText(HMENU hMenu, int iItem) {
    wchar_t szText[kMaxMenuText + 1] = {0};
    ::GetMenuStringW(hMenu, static_cast<UINT>(iItem), szText, kMaxMenuText, MF_BYPOSITION);
    return szText;
}

}  // namespace

CQMXPTearOffManager::CQMXPTearOffManager(UINT uiFirst, UINT uiLast)
    : m_uiTearOffMenuFirst(uiFirst), m_uiTearOffMenuLast(uiLast) {
    // Signed: a last id below the first is no range, not a wrapped one.
    const long long nCount = static_cast<long long>(uiLast) - static_cast<long long>(uiFirst) + 1;
    if (uiFirst != 0 && uiLast != 0 && nCount >= 1)
        m_arTearOffIDsUsage.assign(static_cast<size_t>(nCount), 0);
}

CQMXPTearOffManager::~CQMXPTearOffManager() = default;

int CQMXPTearOffManager::IndexOf(UINT uiCmdId) const {
    if (m_arTearOffIDsUsage.empty() || uiCmdId < m_uiTearOffMenuFirst || uiCmdId > m_uiTearOffMenuLast)
        return -1;
    return static_cast<int>(uiCmdId - m_uiTearOffMenuFirst);
}

UINT CQMXPTearOffManager::GetFreeTearOffID() {
    for (size_t i = 0; i < m_arTearOffIDsUsage.size(); ++i) {
        if (m_arTearOffIDsUsage[i] == 0) {
            m_arTearOffIDsUsage[i] = 1;
            return m_uiTearOffMenuFirst + static_cast<UINT>(i);
        }
    }
    return 0;
}

void CQMXPTearOffManager::SetInUse(UINT uiCmdId, BOOL bUse) {
    const int iIndex = IndexOf(uiCmdId);
    if (iIndex < 0)
        return;
    int& nUsage = m_arTearOffIDsUsage[static_cast<size_t>(iIndex)];
    if (bUse)
        ++nUsage;
    else if (nUsage > 0)
        --nUsage;
}

int CQMXPTearOffManager::GetUseCount(UINT uiCmdId) const {
    const int iIndex = IndexOf(uiCmdId);
    return iIndex < 0 ? 0 : m_arTearOffIDsUsage[static_cast<size_t>(iIndex)];
}

BOOL CQMXPTearOffManager::IsDynamicID(UINT uiCmdId) const { return IndexOf(uiCmdId) >= 0; }

void CQMXPTearOffManager::Build(UINT uiTearOffBarID, CString& strText) {
    CString strID;
    strID.Format(L"%u", uiTearOffBarID);
    strText = CString(kMarker) + strID + CString(kMarker) + strText;
}

UINT CQMXPTearOffManager::Parse(CString& str) {
    if (str.IsEmpty() || str[0] != kMarker)
        return 0;
    UINT uiID = 0;
    for (int i = 1; i < str.GetLength() && std::iswdigit(str[i]); ++i)
        uiID = uiID * 10 + static_cast<UINT>(str[i] - L'0');
    str = str.Mid(str.ReverseFind(kMarker) + 1);
    return uiID;
}

void CQMXPTearOffManager::SetupTearOffMenus(HMENU hMenu) { SetupMenu(hMenu); }

BOOL CQMXPTearOffManager::SetupMenu(HMENU hMenu) {
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu == nullptr)
            continue;
        if (::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION) & kMenuBarBreak) {
            CString strText = MenuItemText(hMenu, i);
            CString strPlain = strText;
            if (Parse(strPlain) == 0) {
                const UINT uiID = GetFreeTearOffID();
                if (uiID == 0)
                    return FALSE;
                Build(uiID, strText);
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_STRING;
                info.dwTypeData = const_cast<LPWSTR>(static_cast<LPCWSTR>(strText));
                ::SetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &info);
            }
        }
        if (!SetupMenu(hSubMenu))
            return FALSE;
    }
    return TRUE;
}

void CQMXPTearOffManager::Reset(HMENU hMenu) {
    if (hMenu == nullptr) {
        m_arTearOffIDsUsage.assign(m_arTearOffIDsUsage.size(), 0);
        return;
    }
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        CString strText = MenuItemText(hMenu, i);
        const int iIndex = IndexOf(Parse(strText));
        if (iIndex >= 0)
            m_arTearOffIDsUsage[static_cast<size_t>(iIndex)] = 0;
        HMENU hSubMenu = ::GetSubMenu(hMenu, i);
        if (hSubMenu != nullptr)
            Reset(hSubMenu);
    }
}
