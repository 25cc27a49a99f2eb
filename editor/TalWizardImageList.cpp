#include "editor/TalWizardImageList.h"

#include "framework/KWDib.h"
#include "framework/KWRasterImage.h"
#include "framework/KWRasterLib.h"

#include <algorithm>
#include <cstring>

CTalWizardImageList::~CTalWizardImageList()
{
    if (m_images)
        ::ImageList_Destroy(m_images);
}

void CTalWizardImageList::Attach(HWND list, int thumbnailSize)
{
    m_list = list;
    m_size = thumbnailSize;
    if (!m_images)
        m_images = ::ImageList_Create(thumbnailSize, thumbnailSize, ILC_COLOR32, 4, 4);
    ::SendMessageW(m_list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_images));
}

void CTalWizardImageList::DeleteAllItems()
{
    ::SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    if (m_images)
        ::ImageList_Remove(m_images, -1);
}

int CTalWizardImageList::AddThumbnail(uint32_t pictureId)
{
    KWSharedRasterImage thumbnail = g_rasterLib.GetThumbnail(pictureId);
    if (!thumbnail || !m_images)
        return -1;
    HDC screen = ::GetDC(nullptr);
    BITMAPINFO info;
    void* bits = nullptr;
    HBITMAP slot = KWCreateTopDownDib(screen, m_size, m_size, info, &bits);
    ::ReleaseDC(nullptr, screen);
    if (!slot)
        return -1;
    // The thumbnail unscaled in the middle of a white slot, cut to the slot.
    auto* target = static_cast<uint32_t*>(bits);
    std::fill(target, target + size_t(m_size) * m_size, 0xFFFFFFFFu);
    const int width = std::min<int>(static_cast<int>(thumbnail->width), m_size);
    const int height = std::min<int>(static_cast<int>(thumbnail->height), m_size);
    const int left = (m_size - width) / 2;
    const int top = (m_size - height) / 2;
    for (int y = 0; y < height; ++y)
        std::memcpy(target + size_t(top + y) * m_size + left, thumbnail->Pixels() + size_t(y) * thumbnail->stride,
                    size_t(width) * 4);
    const int index = ::ImageList_Add(m_images, slot, nullptr);
    ::DeleteObject(slot);
    return index;
}

void CTalWizardImageList::AddItem(const wchar_t* caption, uint32_t pictureId)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = GetItemCount();
    item.pszText = const_cast<wchar_t*>(caption);
    item.iImage = AddThumbnail(pictureId);
    ::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int CTalWizardImageList::GetItemCount() const
{
    return static_cast<int>(::SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
}

void CTalWizardImageList::SelectItem(int index)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

int CTalWizardImageList::GetNextSelected(int index) const
{
    return static_cast<int>(::SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED));
}

int CTalWizardImageList::GetCurrentItem() const
{
    return static_cast<int>(::SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void CTalWizardImageList::SetItemText(int index, const wchar_t* text)
{
    LVITEMW item = {};
    item.pszText = const_cast<wchar_t*>(text);
    ::SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void CTalWizardImageList::EditLabel(int index)
{
    if (index >= 0)
        ::SendMessageW(m_list, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

bool CTalWizardImageList::IsEditingLabel() const
{
    return ::SendMessageW(m_list, LVM_GETEDITCONTROL, 0, 0) != 0;
}

void CTalWizardImageList::EndEditLabel(bool cancel)
{
    HWND edit = reinterpret_cast<HWND>(::SendMessageW(m_list, LVM_GETEDITCONTROL, 0, 0));
    if (edit)
        ::SendMessageW(edit, WM_KEYDOWN, cancel ? VK_ESCAPE : VK_RETURN, 0);
}
