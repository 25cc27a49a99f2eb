#pragma once
// CStatic: a static control (text, frame, icon or bitmap).
#include "platform/classlib/Wnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;

    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF) {
        return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
    }
    // The previous image of the kind; the control shows it only with the
    // matching SS_ style.
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return reinterpret_cast<HBITMAP>(
            ::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    HICON SetIcon(HICON hIcon) {
        return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_GETICON, 0, 0)); }
};
