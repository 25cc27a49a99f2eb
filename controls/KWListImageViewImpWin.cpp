#include "controls/KWListImageViewImpWin.h"

#include "framework/KWAlphaComposite.h"
#include "framework/KWDib.h"
#include "framework/KWRasterLib.h"
#include "framework/KWRasterImage.h"

#include <algorithm>
#include <cstring>

namespace {

// Long enough for any caption the lists show.
constexpr int kTextBuffer = 512;
const COLORREF kWhite = RGB(255, 255, 255);

// A top-down 32-bit DIB section of width x height and its pixels.
HBITMAP MakeDib(int width, int height, uint8_t*& bits)
{
    BITMAPINFO info;
    void* pixels = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP dib = KWCreateTopDownDib(screen, width, height, info, &pixels);
    ::ReleaseDC(nullptr, screen);
    bits = static_cast<uint8_t*>(pixels);
    if (dib && !bits) {
        ::DeleteObject(dib);
        dib = nullptr;
    }
    return dib;
}

// The module's bitmap resource as a device-independent bitmap in its own
// format: a batch copies the default picture into the image list for every
// item, and a 24-bit picture goes into the 24-bit list by rows, several
// times faster than a device bitmap.
HBITMAP LoadPicture(UINT resourceId)
{
    return static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP,
                                             0, 0, LR_CREATEDIBSECTION));
}

// A source whose rows hold at least its width of pixels.
bool IsReadable(const KWRasterImage* source)
{
    return source && source->width > 0 && source->height > 0 &&
           static_cast<uint64_t>(source->stride) >= static_cast<uint64_t>(source->width) * 4;
}

}  // namespace

CKWListImageViewImpWin::CKWListImageViewImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd), m_bound(hWnd)
{
    if (hWnd)
        m_wnd.SubclassDlgItem(static_cast<UINT>(::GetDlgCtrlID(hWnd)), CWnd::FromHandle(::GetParent(hWnd)));
}

CKWListImageViewImpWin::~CKWListImageViewImpWin()
{
    if (m_defaultPicture)
        ::DeleteObject(m_defaultPicture);
    if (m_bound && m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
    else if (m_wnd.m_hWnd)
        m_wnd.DestroyWindow();
}

LRESULT CKWListImageViewImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = GetHwnd();
    return hWnd ? ::SendMessageW(hWnd, message, wParam, lParam) : 0;
}

HIMAGELIST CKWListImageViewImpWin::ImageList()
{
    return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
}

bool CKWListImageViewImpWin::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_wnd.CreateEx(exStyle, style, rect, parent, id))
        return false;
    SetHwnd(m_wnd.m_hWnd);
    return true;
}

void CKWListImageViewImpWin::EnableDragDrop(bool enable)
{
    if (enable)
        m_wnd.RegisterDropTarget(&m_wnd);
    else
        m_wnd.RevokeDropTarget();
}

void CKWListImageViewImpWin::SetScrollPos(bool vertical, int position)
{
    SCROLLINFO info = {sizeof(info), SIF_ALL};
    ::GetScrollInfo(GetHwnd(), vertical ? SB_VERT : SB_HORZ, &info);
    const int delta = position - info.nPos;
    Send(LVM_SCROLL, vertical ? 0 : delta, vertical ? delta : 0);
}

void CKWListImageViewImpWin::SetThumbnailSize(int width, int height, int, int, int)
{
    m_thumbWidth = width;
    m_thumbHeight = height;
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24, 4, 4);
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(list)));
    if (old && old != list)
        ImageList_Destroy(old);
}

void CKWListImageViewImpWin::ReserveImages(int count)
{
    HIMAGELIST list = ImageList();
    const int images = list ? ImageList_GetImageCount(list) : 0;
    // Grown geometrically, so that batches of one item do not copy the
    // whole image list each time; the slots past the items stay unused.
    if (list && images < count)
        ImageList_SetImageCount(list, static_cast<UINT>(std::max(count, images + images / 2)));
}

void CKWListImageViewImpWin::BeginAddItems(int count, int position)
{
    m_pending = count;
    m_added = 0;
    const int n = GetItemCount();
    // Every reserved item is filled with an image of its own (the default
    // picture until its thumbnail comes).
    ReserveImages(n + std::max(count, 0));
    Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(n + count), 0);
    for (int i = 0; i < count; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = n + i;
        item.pszText = const_cast<wchar_t*>(L"");
        item.iImage = 0;
        Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (position < 0 || position >= n)
        return;
    for (int i = n - 1; i >= position; --i) {
        CKWImageViewData* data = GetItemData(i);
        wchar_t text[kTextBuffer] = {};
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = kTextBuffer;
        Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iItem = i + count;
        Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        SetItemData(i + count, data, true);
        // The reserved item shows nothing until it is filled.
        LVITEMW cleared = {};
        cleared.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        cleared.iItem = i;
        cleared.pszText = const_cast<wchar_t*>(L"");
        cleared.iImage = 0;
        Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&cleared));
    }
}

void CKWListImageViewImpWin::EndAddItems()
{
    if (GetItemCount() == m_pending && GetHwnd())
        ::InvalidateRect(GetHwnd(), nullptr, TRUE);
    m_pending = 0;
}

void CKWListImageViewImpWin::FillItem(int target, int slot, const CString& caption, const KWRasterImage* source,
                                      CKWImageViewData* data)
{
    bool owned = true;
    HBITMAP thumbnail = MakeThumbnail(source, owned, kWhite);
    HIMAGELIST list = ImageList();
    int image = slot;
    if (thumbnail && list) {
        if (slot < ImageList_GetImageCount(list))
            ImageList_Replace(list, slot, thumbnail, nullptr);
        else
            image = ImageList_Add(list, thumbnail, nullptr);
    }
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = target;
    item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(caption));
    item.iImage = image;
    Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetItemData(target, data, true);
    ++m_added;
    if (thumbnail && owned)
        ::DeleteObject(thumbnail);
}

void CKWListImageViewImpWin::AddItem(const CString& caption, const KWRasterImage* source, CKWImageViewData* data)
{
    // The image slot is the target item's position, so that a batch on a
    // list that holds items leaves their images alone.
    const int target = GetItemCount() - m_pending + m_added;
    FillItem(target, target, caption, source, data);
}

void CKWListImageViewImpWin::SetItem(int index, const CString& caption, const KWRasterImage* source,
                                     CKWImageViewData* data)
{
    const int next = GetItemCount() - m_pending + m_added;
    const int target = index >= 0 && index < GetItemCount() ? index : next;
    FillItem(target, next, caption, source, data);
}

void CKWListImageViewImpWin::ReplaceImage(int index, const KWRasterImage* source)
{
    bool owned = true;
    HBITMAP thumbnail = MakeThumbnail(source, owned, kWhite);
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (thumbnail && Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        ImageList_Replace(ImageList(), item.iImage, thumbnail, nullptr);
    if (thumbnail && owned)
        ::DeleteObject(thumbnail);
}

int CKWListImageViewImpWin::GetItemCount()
{
    return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0));
}

void CKWListImageViewImpWin::DeleteAllItems()
{
    m_wnd.DeleteAllItems();
    if (HIMAGELIST list = ImageList())
        ImageList_Remove(list, -1);
}

int CKWListImageViewImpWin::InsertAt(int index, const CString& caption, const KWRasterImage* source,
                                     CKWImageViewData* data, bool selected)
{
    if (!source)
        return -1;
    bool owned = true;
    HBITMAP thumbnail = MakeThumbnail(source, owned, kWhite);
    HIMAGELIST list = ImageList();
    const int image = list ? ImageList_GetImageCount(list) : 0;
    if (thumbnail && list)
        ImageList_Add(list, thumbnail, nullptr);
    if (thumbnail && owned)
        ::DeleteObject(thumbnail);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    item.iItem = index == -1 ? image : index;
    item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(caption));
    item.iImage = image;
    item.state = selected ? LVIS_SELECTED : 0;
    item.stateMask = LVIS_SELECTED;
    const int at = static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at >= 0)
        SetItemData(at, data, true);
    return at;
}

int CKWListImageViewImpWin::InsertItem(int index, const CString& caption, const KWRasterImage* source,
                                       CKWImageViewData* data)
{
    return InsertAt(index, caption, source, data, true);
}

int CKWListImageViewImpWin::InsertItemAt(int index, const CString& caption, const KWRasterImage* source,
                                         CKWImageViewData* data)
{
    return InsertAt(index < 0 ? GetItemCount() : index, caption, source, data, false);
}

void CKWListImageViewImpWin::SelectItem(int index)
{
    m_wnd.SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
    Send(LVM_SETHOTITEM, static_cast<WPARAM>(index), 0);
}

void CKWListImageViewImpWin::ClearSelection()
{
    for (int i = GetItemCount() - 1; i >= 0; --i)
        m_wnd.SetItemState(i, 0, LVIS_SELECTED);
}

void CKWListImageViewImpWin::SelectAll()
{
    if (!IsMultiSelect())
        return;
    for (int i = GetItemCount() - 1; i >= 0; --i)
        m_wnd.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
}

void CKWListImageViewImpWin::EnsureVisible(int index, bool partial)
{
    Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partial);
}

int CKWListImageViewImpWin::GetCurrentItem()
{
    const int hot = static_cast<int>(Send(LVM_GETHOTITEM, 0, 0));
    return hot >= 0 && hot < GetItemCount() ? hot : -1;
}

int CKWListImageViewImpWin::GetFirstSelected()
{
    return GetHwnd() ? static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) : -1;
}

int CKWListImageViewImpWin::GetNextSelected(int& index)
{
    index = GetHwnd() ? static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED)) : -1;
    return index;
}

bool CKWListImageViewImpWin::SetItemText(int index, const CString& caption)
{
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(caption));
    return Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

CString CKWListImageViewImpWin::GetItemText(int index)
{
    wchar_t text[kTextBuffer] = {};
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = kTextBuffer;
    Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return CString(text);
}

HWND CKWListImageViewImpWin::EditLabel(int index)
{
    return reinterpret_cast<HWND>(Send(LVM_EDITLABELW, static_cast<WPARAM>(index), 0));
}

bool CKWListImageViewImpWin::IsEditingLabel()
{
    return Send(LVM_GETEDITCONTROL, 0, 0) != 0;
}

bool CKWListImageViewImpWin::IsLabelModified()
{
    HWND edit = reinterpret_cast<HWND>(Send(LVM_GETEDITCONTROL, 0, 0));
    return edit && ::SendMessageW(edit, EM_GETMODIFY, 0, 0) == 1;
}

int CKWListImageViewImpWin::GetInsertIndex(const POINT& point, bool exactOnly)
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const int item = static_cast<int>(Send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (item >= 0 || exactOnly)
        return item;
    const int count = GetItemCount();
    int first = -1;
    RECT bounds = {};
    for (int i = 0; i < count && first < 0; ++i) {
        if (GetItemRect(i, bounds) && bounds.bottom >= point.y)
            first = i;
    }
    if (first < 0)
        return -1;
    for (int i = first; i < count; ++i) {
        GetItemRect(i, bounds);
        if (bounds.right >= point.x)
            return i;
        RECT next = {};
        if (i + 1 < count && GetItemRect(i + 1, next) && next.bottom > bounds.bottom)
            return i + 1;
    }
    return -1;
}

bool CKWListImageViewImpWin::GetItemRect(int index, RECT& rect)
{
    rect = RECT{LVIR_BOUNDS, 0, 0, 0};
    return Send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != 0;
}

bool CKWListImageViewImpWin::SetDefaultBitmap(UINT resourceId)
{
    HBITMAP bitmap = LoadPicture(resourceId);
    if (!bitmap)
        return false;
    if (m_defaultPicture)
        ::DeleteObject(m_defaultPicture);
    m_defaultPicture = bitmap;
    return true;
}

HBITMAP CKWListImageViewImpWin::FitDefaultPicture(bool& owned, COLORREF background)
{
    BITMAP picture = {};
    if (!m_defaultPicture || !::GetObjectW(m_defaultPicture, sizeof picture, &picture))
        return m_defaultPicture;
    const int side = std::max(m_thumbWidth, m_thumbHeight);
    if (picture.bmWidth == side && picture.bmHeight == side)
        return m_defaultPicture;
    // An image list takes only whole slots: a picture of another size is
    // centred on the background in a slot of its own.
    uint8_t* bits = nullptr;
    HBITMAP slot = MakeDib(side, side, bits);
    if (!slot)
        return m_defaultPicture;
    HDC screen = ::GetDC(nullptr);
    HDC target = ::CreateCompatibleDC(screen);
    HDC origin = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldTarget = ::SelectObject(target, slot);
    HGDIOBJ oldOrigin = ::SelectObject(origin, m_defaultPicture);
    HBRUSH brush = ::CreateSolidBrush(background);
    const RECT all = {0, 0, side, side};
    ::FillRect(target, &all, brush);
    ::DeleteObject(brush);
    ::BitBlt(target, (side - picture.bmWidth) / 2, (side - picture.bmHeight) / 2, picture.bmWidth, picture.bmHeight,
             origin, 0, 0, SRCCOPY);
    ::SelectObject(origin, oldOrigin);
    ::SelectObject(target, oldTarget);
    ::DeleteDC(origin);
    ::DeleteDC(target);
    owned = true;
    return slot;
}

HBITMAP CKWListImageViewImpWin::MakeThumbnail(const KWRasterImage* source, bool& owned, COLORREF background)
{
    owned = true;
    if (!source) {
        if (!m_defaultPicture)
            m_defaultPicture = LoadPicture(100);
        owned = false;
        return FitDefaultPicture(owned, background);
    }
    if (!IsReadable(source))
        return nullptr;
    const int width = static_cast<int>(source->width);
    const int height = static_cast<int>(source->height);
    const int side = std::max(m_thumbWidth, m_thumbHeight);
    uint8_t* bits = nullptr;
    HBITMAP dib = MakeDib(side, side, bits);
    if (!dib)
        return nullptr;
    if (width == m_thumbWidth && height == m_thumbHeight && width == side && height == side) {
        KWCopyRowsOver(*source, bits, side, 0, 0, background);
        return dib;
    }
    std::memset(bits, GetRValue(background), static_cast<size_t>(side) * side * 4);
    if (width <= side && height <= side) {
        KWCopyRowsOver(*source, bits, side, (side - width) / 2, (side - height) / 2, background);
        return dib;
    }
    // Larger than a slot of the image list: scaled down to fit it, proportions
    // kept, each pixel the average of those it covers. Laid over the
    // background first, so that clear parts average as they show. The
    // raster library scales in memory; the system's stretching between
    // device contexts took most of the time of a section's thumbnails.
    const double scale = std::min(static_cast<double>(side) / width, static_cast<double>(side) / height);
    const int drawnW = std::max(1, static_cast<int>(width * scale));
    const int drawnH = std::max(1, static_cast<int>(height * scale));
    // Only a picture with transparency needs a copy to blend.
    const bool clear = KWHasTransparency(*source);
    KWRasterImagePtr laid(clear ? KWCopyRasterImage(source) : nullptr);
    if (laid)
        KWBlendOver(*laid, background);
    const KWRasterImage* toScale = clear ? laid.get() : source;
    KWRasterImagePtr scaled(toScale ? g_rasterLib.RasterResize(toScale, static_cast<uint32_t>(drawnW),
                                                               static_cast<uint32_t>(drawnH))
                                    : nullptr);
    if (!scaled) {
        ::DeleteObject(dib);
        return nullptr;
    }
    KWCopyRowsOver(*scaled, bits, side, (side - drawnW) / 2, (side - drawnH) / 2, background);
    return dib;
}
