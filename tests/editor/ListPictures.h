#pragma once
// What a thumbnail list shows for an item: whether its image is the
// program's default picture (bitmap 100), centred in the item's slot; the
// list's count and an item's icon, asked of another process.
#include "RemoteMemory.h"

#include <windows.h>
#include <commctrl.h>

namespace edtest {

// The list's item count, once the program answers; -1 when it does not.
inline int ListItemCount(HWND list)
{
    DWORD_PTR count = 0;
    return ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count) ? int(count) : -1;
}

// The item's icon in the list's client coordinates.
inline RECT ListIconRect(HWND list, int index)
{
    CRemote remote(list, sizeof(RECT));
    ::SendMessageW(list, LVM_GETITEMRECT, WPARAM(index), remote.Put(RECT{LVIR_ICON, 0, 0, 0}));
    return remote.Get<RECT>();
}

// The colour at a point of a bitmap.
inline COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF color = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return color;
}

// True when the item's image matches the default picture at points around
// its centre (the picture is centred in the slot).
inline bool ShowsDefaultPicture(HWND list, int item)
{
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    LVITEMW entry = {};
    entry.mask = LVIF_IMAGE;
    entry.iItem = item;
    int slotWidth = 0, slotHeight = 0;
    if (!images || !::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) ||
        !ImageList_GetIconSize(images, &slotWidth, &slotHeight))
        return false;
    HBITMAP picture = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(100), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP size = {};
    if (!picture || !::GetObjectW(picture, sizeof size, &size))
        return false;
    // The slot drawn as the list draws it, onto a bitmap of our own.
    HDC screen = ::GetDC(nullptr);
    HBITMAP slot = ::CreateCompatibleBitmap(screen, slotWidth, slotHeight);
    ::ReleaseDC(nullptr, screen);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, slot);
    ImageList_Draw(images, entry.iImage, dc, 0, 0, ILD_NORMAL);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    const int left = (slotWidth - size.bmWidth) / 2;
    const int top = (slotHeight - size.bmHeight) / 2;
    bool same = true;
    for (int step = 1; step < 8 && same; ++step) {
        const int x = size.bmWidth * step / 8, y = size.bmHeight * (8 - step) / 8;
        same = BitmapPixel(picture, x, y) == BitmapPixel(slot, left + x, top + y);
    }
    ::DeleteObject(slot);
    ::DeleteObject(picture);
    return same;
}

}  // namespace edtest
