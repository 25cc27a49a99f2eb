#pragma once
// CKWListImageViewImpWin: the thumbnail list over a list-view window
// (CKWListCtrlWnd). Thumbnails are 32-bit DIB sections of the thumbnail
// size: a smaller picture centred on the background colour, a larger one
// scaled down with its proportions kept, then centred.
#include "controls/KWCtrlImpWin.h"
#include "controls/KWListCtrlWnd.h"
#include "controls/KWListImagesView.h"

class CKWListImageViewImpWin : public CKWCtrlImpWin, public CKWListImageViewImp {
public:
    // Bound to a list view of a dialog it subclasses that window; else its Create makes one.
    explicit CKWListImageViewImpWin(HWND hWnd = nullptr);
    // Deletes the default picture and lets the list window go.
    ~CKWListImageViewImpWin() override;

    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    void SetContextMenu(UINT menuId) override { m_wnd.SetContextMenu(menuId); }
    void SetDropHandler(CKWDragDropPane* handler) override { m_wnd.SetDropHandler(handler); }
    void EnableDragDrop(bool enable) override;
    void SetOwner(CKWFocusManager* owner, int value) override { m_wnd.SetOwner(owner, value); }
    // Scrolls the asked axis only, by the difference to the wanted position.
    void SetScrollPos(bool vertical, int position) override;

    void SetThumbnailSize(int width, int height, int, int, int) override;
    void BeginAddItems(int count, int position) override;
    void EndAddItems() override;
    void AddItem(const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override;
    void SetItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override;
    void ReplaceImage(int index, const KWRasterImage* source) override;
    int GetItemCount() override;
    void DeleteAllItems() override;
    int InsertItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override;
    int InsertItemAt(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override;
    CKWImageViewData* GetItemData(int index) override { return m_wnd.GetItemData(index); }
    bool SetItemData(int index, CKWImageViewData* data, bool deleteOld) override
    {
        return m_wnd.SetItemData(index, data, deleteOld);
    }
    void SelectItem(int index) override;
    void ClearSelection() override;
    void SelectAll() override;
    void EnsureVisible(int index, bool partial) override;
    int GetCurrentItem() override;
    int GetFirstSelected() override;
    int GetNextSelected(int& index) override;
    void SetMultiSelect(bool multi) override { m_wnd.SetMultiSelect(multi); }
    bool IsMultiSelect() override { return m_wnd.IsMultiSelect(); }
    bool SetItemText(int index, const CString& caption) override;
    CString GetItemText(int index) override;
    HWND EditLabel(int index) override;
    bool IsEditingLabel() override;
    bool IsLabelModified() override;
    void EndEditLabel(bool cancel) override { m_wnd.EndEditLabel(cancel); }
    void SetLabelsReadOnly(bool readOnly) override { m_wnd.SetLabelsReadOnly(readOnly); }
    void EnableDragStart(bool enable) override { m_wnd.EnableDragStart(enable); }
    void SetDragSourceHandler(CKWDragDropPane* handler) override { m_wnd.SetDragSourceHandler(handler); }
    int GetInsertIndex(const POINT& point, bool exactOnly) override;
    bool GetItemRect(int index, RECT& rect) override;
    bool Cut() override { return m_wnd.Cut(); }
    bool Clear() override { return m_wnd.Clear(); }
    bool Copy() override { return m_wnd.Copy(); }
    bool Paste() override { return m_wnd.Paste(); }
    bool CanCut() override { return m_wnd.CanCut(); }
    bool CanClear() override { return m_wnd.CanClear(); }
    bool CanCopy() override { return m_wnd.CanCopy(); }
    bool CanPaste() override { return m_wnd.CanPaste(); }
    bool SetDefaultBitmap(UINT resourceId) override;
    bool SetBackgroundBitmap(UINT resourceId) override { return m_wnd.SetBackgroundBitmap(resourceId); }

    // A thumbnail of the source on the colour's background; owned tells
    // whether the caller must delete it (the shared default picture is not
    // to be deleted). Null when no bitmap could be made.
    virtual HBITMAP MakeThumbnail(const KWRasterImage* source, bool& owned, COLORREF background);

    CKWListCtrlWnd& GetWindow() { return m_wnd; }
    int GetPendingCount() const { return m_pending; }
    int GetAddedCount() const { return m_added; }

private:
    // The default picture in a slot of the thumbnail size (owned: made for
    // the call), or the picture itself when it has that size.
    HBITMAP FitDefaultPicture(bool& owned, COLORREF background);
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    HIMAGELIST ImageList();
    // Makes the image list hold at least count images.
    void ReserveImages(int count);
    // Fills the target item from the image slot, then counts it added.
    void FillItem(int target, int slot, const CString& caption, const KWRasterImage* source, CKWImageViewData* data);
    int InsertAt(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data,
                 bool selected);

    CKWListCtrlWnd m_wnd;
    HWND m_bound;
    int m_pending = 0;
    int m_added = 0;
    int m_thumbWidth = 32;
    int m_thumbHeight = 32;
    HBITMAP m_defaultPicture = nullptr;
};
