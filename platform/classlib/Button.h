#pragma once
// CButton: a button control (push button, check box, radio button, group
// box). An owner-drawn button (BS_OWNERDRAW) draws itself: the WM_DRAWITEM
// its parent receives is reflected back to DrawItem.
#include "platform/classlib/Wnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;

    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
    }

    UINT GetState() const { return static_cast<UINT>(Send(BM_GETSTATE)); }
    void SetState(BOOL bHighlight) { Send(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int nCheck) { Send(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
    // The style without its window-style bits (BS_ values).
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) {
        Send(BM_SETSTYLE, static_cast<WPARAM>(nStyle), static_cast<LPARAM>(bRedraw));
    }
    HICON SetIcon(HICON hIcon) {
        return reinterpret_cast<HICON>(Send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
    }
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return reinterpret_cast<HBITMAP>(Send(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }

    // Draws an owner-drawn button; nothing in the base.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    // Takes the reflected WM_DRAWITEM; other messages go to the base.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
};
