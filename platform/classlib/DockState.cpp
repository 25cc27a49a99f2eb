#include "platform/classlib/DockState.h"

#include "platform/classlib/WinApp.h"

#include <cwchar>

namespace {
constexpr wchar_t kBarCount[] = L"Bars";
// More than a frame can hold: a larger stored count is not believed.
constexpr UINT kMaxBars = 0x100;
constexpr UINT kVisibleBit = 0x10000;
}  // namespace

void CDockState::SaveState(LPCWSTR lpszProfileName) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    pApp->WriteProfileInt(lpszProfileName, kBarCount, static_cast<int>(m_arrBarInfo.size()));
    for (size_t i = 0; i < m_arrBarInfo.size(); ++i) {
        wchar_t szEntry[16];
        std::swprintf(szEntry, 16, L"Bar%u", static_cast<unsigned>(i));
        const UINT nValue = m_arrBarInfo[i].nID | (m_arrBarInfo[i].bVisible ? kVisibleBit : 0);
        pApp->WriteProfileInt(lpszProfileName, szEntry, static_cast<int>(nValue));
    }
}

void CDockState::LoadState(LPCWSTR lpszProfileName) {
    Clear();
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    const UINT nCount = pApp->GetProfileInt(lpszProfileName, kBarCount, 0);
    if (nCount > kMaxBars)
        return;
    for (UINT i = 0; i < nCount; ++i) {
        wchar_t szEntry[16];
        std::swprintf(szEntry, 16, L"Bar%u", i);
        const UINT nValue = pApp->GetProfileInt(lpszProfileName, szEntry, 0);
        m_arrBarInfo.push_back({static_cast<uint16_t>(nValue & 0xFFFF), (nValue & kVisibleBit) != 0});
    }
}
