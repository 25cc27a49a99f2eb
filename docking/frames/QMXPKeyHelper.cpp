#include "docking/frames/QMXPKeyHelper.h"

namespace {

constexpr int kKeyNameLength = 50;
constexpr UINT kEscapeChar = 27;

void AddVirtKeyName(CString& str, UINT uiVirtKey, BOOL bLast) {
    str += CQMXPKeyHelper::GetKeyName(uiVirtKey);
    if (!bLast)
        str += L'+';
}

}  // namespace

CString CQMXPKeyHelper::GetKeyName(UINT uiVirtKey) {
    const UINT nScan = ::MapVirtualKeyExW(uiVirtKey, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0));
    LONG lParam = static_cast<LONG>((nScan << 16) | 1);
    // Page Up to Help: the extended keys, not their keypad twins.
    if (uiVirtKey >= VK_PRIOR && uiVirtKey <= VK_HELP)
        lParam |= 0x01000000;
    wchar_t szName[kKeyNameLength] = {0};
    ::GetKeyNameTextW(lParam, szName, kKeyNameLength);
    CString strName(szName);
    strName.MakeLower();
    for (int i = 0; i < strName.GetLength(); ++i) {
        wchar_t ch = strName[i];
        if (::IsCharLowerW(ch)) {
            ::CharUpperBuffW(&ch, 1);
            strName.SetAt(i, ch);
            break;
        }
    }
    return strName;
}

void CQMXPKeyHelper::Format(CString& str) const {
    str.Empty();
    if (m_lpAccel == nullptr)
        return;
    if (m_lpAccel->fVirt & FCONTROL)
        AddVirtKeyName(str, VK_CONTROL, FALSE);
    if (m_lpAccel->fVirt & FSHIFT)
        AddVirtKeyName(str, VK_SHIFT, FALSE);
    if (m_lpAccel->fVirt & FALT)
        AddVirtKeyName(str, VK_MENU, FALSE);
    if (m_lpAccel->fVirt & FVIRTKEY)
        AddVirtKeyName(str, m_lpAccel->key, TRUE);
    else if (m_lpAccel->key != kEscapeChar && m_lpAccel->key != 0)
        str += static_cast<wchar_t>(static_cast<BYTE>(m_lpAccel->key));
}
