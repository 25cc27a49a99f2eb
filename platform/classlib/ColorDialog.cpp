#include "platform/classlib/ColorDialog.h"

#include "platform/classlib/WinThread.h"

#include <cstring>

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) {
    std::memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = clrInit;
    m_cc.Flags = dwFlags | CC_RGBINIT;
    m_cc.hwndOwner = pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr;
    m_cc.lpCustColors = GetSavedCustomColors();
}

COLORREF* CColorDialog::GetSavedCustomColors() {
    static COLORREF s_colors[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_colors;
}

INT_PTR CColorDialog::DoModal() {
    if (m_cc.hwndOwner == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        m_cc.hwndOwner = pMain != nullptr ? pMain->GetSafeHwnd() : nullptr;
    }
    return ::ChooseColorW(&m_cc) ? IDOK : IDCANCEL;
}
