#include "docking/frames/KeyAssign.h"

BEGIN_MESSAGE_MAP(CKeyAssign, CEdit)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CKeyAssign::CKeyAssign() : m_bIsDefined(FALSE), m_Accel(), m_Helper(&m_Accel), m_bIsFocused(FALSE) {}

CKeyAssign::~CKeyAssign() = default;

void CKeyAssign::ResetKey() {
    m_Accel = ACCEL();
    m_bIsDefined = FALSE;
    if (GetSafeHwnd() != nullptr)
        SetWindowText(L"");
}

void CKeyAssign::SetAccelFlag(BYTE bFlag, BOOL bOn) {
    if (bOn)
        m_Accel.fVirt |= bFlag;
    else
        m_Accel.fVirt &= static_cast<BYTE>(~bFlag);
}

BOOL CKeyAssign::PreTranslateMessage(MSG* pMsg) {
    switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        m_bIsFocused = TRUE;
        SetFocus();
        return TRUE;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        break;
    default:
        return CEdit::PreTranslateMessage(pMsg);
    }

    const BOOL bKeyDown = pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN;
    // Bit 30: the key was down already (an auto-repeat).
    if (bKeyDown && !(pMsg->lParam & 0x40000000) && m_bIsDefined)
        ResetKey();
    if (!m_bIsDefined) {
        switch (pMsg->wParam) {
        case VK_SHIFT:
            SetAccelFlag(FSHIFT, bKeyDown);
            break;
        case VK_CONTROL:
            SetAccelFlag(FCONTROL, bKeyDown);
            break;
        case VK_MENU:
            SetAccelFlag(FALT, bKeyDown);
            break;
        default:
            if (!m_bIsFocused) {
                m_bIsFocused = TRUE;
                return TRUE;
            }
            m_Accel.key = static_cast<WORD>(pMsg->wParam);
            if (bKeyDown) {
                SetAccelFlag(FVIRTKEY, TRUE);
                m_bIsDefined = TRUE;
            }
        }
    }
    const BYTE bModifiers = FSHIFT | FCONTROL | FALT;
    if (!(m_Accel.fVirt & bModifiers) && (m_Accel.fVirt & FVIRTKEY)) {
        if (m_Accel.key == VK_TAB) {
            ResetKey();
            return CEdit::PreTranslateMessage(pMsg);
        }
        if (m_Accel.key == VK_ESCAPE) {
            ResetKey();
            return TRUE;
        }
    }
    CString strKey;
    m_Helper.Format(strKey);
    SetWindowText(strKey);
    return TRUE;
}

void CKeyAssign::OnKillFocus(CWnd* pNewWnd) {
    m_bIsFocused = FALSE;
    CEdit::OnKillFocus(pNewWnd);
}
