#pragma once
// CSpinButtonCtrl: an up-down control ("msctls_updown32") of a dialog.
#include "platform/classlib/Wnd.h"

#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) { ::SendMessageW(m_hWnd, UDM_SETRANGE32, nLower, nUpper); }
    void GetRange32(int& nLower, int& nUpper) const {
        ::SendMessageW(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&nLower), reinterpret_cast<LPARAM>(&nUpper));
    }
    int SetPos32(int nPos) { return static_cast<int>(::SendMessageW(m_hWnd, UDM_SETPOS32, 0, nPos)); }
    int GetPos32(BOOL* pbError = nullptr) const {
        return static_cast<int>(::SendMessageW(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(pbError)));
    }
};
