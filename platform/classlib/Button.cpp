#include "platform/classlib/Button.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CBitmapButton, CButton)

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult != nullptr)
        *pResult = TRUE;
    return TRUE;
}

namespace {

// Loads one bitmap of the set; a missing name leaves the slot empty.
BOOL LoadOne(CBitmap& bitmap, LPCWSTR name) {
    bitmap.DeleteObject();
    return name == nullptr || bitmap.LoadBitmap(name);
}

LPCWSTR NameOf(UINT nID) { return nID != 0 ? MAKEINTRESOURCEW(nID) : nullptr; }

}  // namespace

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel, UINT nIDBitmapResourceFocus,
                                UINT nIDBitmapResourceDisabled) {
    return LoadBitmaps(NameOf(nIDBitmapResource), NameOf(nIDBitmapResourceSel), NameOf(nIDBitmapResourceFocus),
                       NameOf(nIDBitmapResourceDisabled));
}

BOOL CBitmapButton::LoadBitmaps(LPCWSTR lpszBitmapResource, LPCWSTR lpszBitmapResourceSel,
                                LPCWSTR lpszBitmapResourceFocus, LPCWSTR lpszBitmapResourceDisabled) {
    // Every slot is loaded, so that a failure leaves no bitmap of an earlier set.
    BOOL bAllLoaded = lpszBitmapResource != nullptr && LoadOne(m_bitmap, lpszBitmapResource);
    bAllLoaded = LoadOne(m_bitmapSel, lpszBitmapResourceSel) && bAllLoaded;
    bAllLoaded = LoadOne(m_bitmapFocus, lpszBitmapResourceFocus) && bAllLoaded;
    bAllLoaded = LoadOne(m_bitmapDisabled, lpszBitmapResourceDisabled) && bAllLoaded;
    return bAllLoaded;
}

void CBitmapButton::SizeToContent() {
    BITMAP info = {};
    if (m_bitmap.GetSafeHandle() == nullptr || m_bitmap.GetBitmap(&info) == 0)
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CBitmap* pBitmap = &m_bitmap;
    const UINT state = lpDIS->itemState;
    if ((state & ODS_SELECTED) && m_bitmapSel.GetSafeHandle() != nullptr)
        pBitmap = &m_bitmapSel;
    else if ((state & ODS_FOCUS) && m_bitmapFocus.GetSafeHandle() != nullptr)
        pBitmap = &m_bitmapFocus;
    else if ((state & ODS_DISABLED) && m_bitmapDisabled.GetSafeHandle() != nullptr)
        pBitmap = &m_bitmapDisabled;
    if (pBitmap->GetSafeHandle() == nullptr)
        return;
    HDC hMemDC = ::CreateCompatibleDC(lpDIS->hDC);
    if (hMemDC == nullptr)
        return;
    HGDIOBJ hOld = ::SelectObject(hMemDC, pBitmap->GetSafeHandle());
    const RECT& rc = lpDIS->rcItem;
    ::BitBlt(lpDIS->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOld);
    ::DeleteDC(hMemDC);
}
