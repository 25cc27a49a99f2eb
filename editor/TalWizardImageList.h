#pragma once
// CTalWizardImageList: the wizard's list of a section's images over a list
// view in icon view: one entry per picture with its title and its thumbnail
// from the picture cache, centred in a square slot. It offers the wizard the
// few list operations it uses.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "platform/classlib/String.h"

class CTalWizardImageList {
public:
    CTalWizardImageList() = default;
    ~CTalWizardImageList();
    CTalWizardImageList(const CTalWizardImageList&) = delete;
    CTalWizardImageList& operator=(const CTalWizardImageList&) = delete;

    // Binds the list view and gives it an image list of slots of the size.
    void Attach(HWND list, int thumbnailSize);

    void DeleteAllItems();
    // One entry at the end, with the picture's cached thumbnail (none when it
    // cannot be read).
    void AddItem(const wchar_t* caption, uint32_t pictureId);
    int GetItemCount() const;
    void SelectItem(int index);
    // The first selected position after index (-1: from the start); -1 when none.
    int GetNextSelected(int index) const;
    int GetFirstSelected() const { return GetNextSelected(-1); }
    int GetCurrentItem() const;
    void SetItemText(int index, const wchar_t* text);
    void EditLabel(int index);
    bool IsEditingLabel() const;
    // Enter (keep the text) or Escape to the label's edit box.
    void EndEditLabel(bool cancel);
    HWND GetHwnd() const { return m_list; }

private:
    int AddThumbnail(uint32_t pictureId);

    HWND m_list = nullptr;
    HIMAGELIST m_images = nullptr;
    int m_size = 0;
};
