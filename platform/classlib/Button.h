#pragma once
// CButton: a button control (push button, check box, radio button, group
// box). An owner-drawn button draws itself: the parent reflects WM_DRAWITEM
// back to the button object, which calls DrawItem.
#include "platform/classlib/GdiObject.h"
#include "platform/classlib/Wnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;

    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
    }

    UINT GetState() const { return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0)); }
    void SetState(BOOL bHighlight) { ::SendMessageW(m_hWnd, BM_SETSTATE, static_cast<WPARAM>(bHighlight), 0); }
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int nCheck) { ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0); }
    // The style bits of the button type and options (the low word).
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle()) & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) {
        ::SendMessageW(m_hWnd, BM_SETSTYLE, static_cast<WPARAM>(nStyle), static_cast<LPARAM>(bRedraw));
    }
    HICON SetIcon(HICON hIcon) {
        return reinterpret_cast<HICON>(
            ::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
    }
    HICON GetIcon() const {
        return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0));
    }
    HBITMAP SetBitmap(HBITMAP hBitmap) {
        return reinterpret_cast<HBITMAP>(
            ::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
    }

    // Draws an owner-drawn button; nothing in the base.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    // WM_DRAWITEM reflected by the parent goes to DrawItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// CBitmapButton: an owner-drawn button shown by up to four bitmaps: normal,
// selected (pressed), focused and disabled. A state without a bitmap of its
// own shows the normal one.
class CBitmapButton : public CButton {
    DECLARE_DYNAMIC(CBitmapButton)
public:
    CBitmapButton() = default;

    // The normal bitmap is required; 0 (or null) leaves a state without one.
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0, UINT nIDBitmapResourceFocus = 0,
                     UINT nIDBitmapResourceDisabled = 0);
    BOOL LoadBitmaps(LPCWSTR lpszBitmapResource, LPCWSTR lpszBitmapResourceSel = nullptr,
                     LPCWSTR lpszBitmapResourceFocus = nullptr, LPCWSTR lpszBitmapResourceDisabled = nullptr);
    // Sizes the button to its normal bitmap.
    void SizeToContent();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
