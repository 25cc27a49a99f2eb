#pragma once
// The thumbnail list: pictures shown as thumbnails with a caption each in a
// list view whose normal image list holds the thumbnails. CKWImageViewData
// is the base of the data a caller attaches to an item (the list owns and
// deletes it); CKWListImageViewImp is the kind's implementation interface
// and CKWListImagesView the facade callers hold. The thumbnail operations
// need a thumbnail implementation (CreateImageViewImp or CreateImageView).
#include "controls/KWControl.h"

struct KWRasterImage;

class CKWImageViewData {
public:
    virtual ~CKWImageViewData() = default;
};

class CKWListImageViewImp : public virtual CKWCtrlImp {
public:
    // The size of the thumbnails (the three further values are not used).
    virtual void SetThumbnailSize(int width, int height, int, int, int) = 0;
    // Reserves count items for a batch at the position (outside the list: at its end).
    virtual void BeginAddItems(int count, int position) = 0;
    virtual void EndAddItems() = 0;
    virtual void Reserved3(int, int, int) {}
    // Fills the next reserved item; a null source shows the default picture.
    virtual void AddItem(const CString& caption, const KWRasterImage* source, CKWImageViewData* data) = 0;
    // Fills the item at the index (else the next reserved one).
    virtual void SetItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) = 0;
    virtual void ReplaceImage(int index, const KWRasterImage* source) = 0;
    virtual void Reserved0() {}
    virtual int GetItemCount() = 0;
    virtual void DeleteAllItems() = 0;
    // Selected, at the index (-1: at the end); -1 and nothing added for a null source.
    virtual int InsertItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) = 0;
    // At exactly the index, not selected.
    virtual int InsertItemAt(int index, const CString& caption, const KWRasterImage* source,
                             CKWImageViewData* data) = 0;
    virtual void Reserved1() {}
    virtual CKWImageViewData* GetItemData(int index) = 0;
    virtual bool SetItemData(int index, CKWImageViewData* data, bool deleteOld) = 0;
    // Selects the item and makes it the hot item.
    virtual void SelectItem(int index) = 0;
    virtual void ClearSelection() = 0;
    // Only a multiple-selection list selects anything.
    virtual void SelectAll() = 0;
    virtual void EnsureVisible(int index, bool partial) = 0;
    // The hot item when it is an item, else -1.
    virtual int GetCurrentItem() = 0;
    virtual int GetFirstSelected() = 0;
    // The selected item after the index, also written into it.
    virtual int GetNextSelected(int& index) = 0;
    virtual void SetMultiSelect(bool multi) = 0;
    virtual bool IsMultiSelect() = 0;
    virtual bool SetItemText(int index, const CString& caption) = 0;
    virtual CString GetItemText(int index) = 0;
    virtual HWND EditLabel(int index) = 0;
    virtual bool IsEditingLabel() = 0;
    virtual bool IsLabelModified() = 0;
    virtual void EndEditLabel(bool cancel) = 0;
    virtual void SetLabelsReadOnly(bool readOnly) = 0;
    virtual void EnableDragStart(bool enable) = 0;
    virtual void SetDragSourceHandler(CKWDragDropPane* handler) = 0;
    virtual bool Reserved2(int, int, int) { return false; }
    // The index before which something dropped at the point goes (Algorithm
    // in the implementation); -1 for the end.
    virtual int GetInsertIndex(const POINT& point, bool exactOnly) = 0;
    virtual bool GetItemRect(int index, RECT& rect) = 0;
    virtual bool Cut() = 0;
    virtual bool Clear() = 0;
    virtual bool Copy() = 0;
    virtual bool Paste() = 0;
    virtual bool CanCut() = 0;
    virtual bool CanClear() = 0;
    virtual bool CanCopy() = 0;
    virtual bool CanPaste() = 0;
    virtual bool SetDefaultBitmap(UINT resourceId) = 0;
    virtual bool SetBackgroundBitmap(UINT resourceId) = 0;
};

class CKWListImagesView : public CKWControl {
public:
    // A thumbnail implementation over the list view (the thread-safe one on request).
    void CreateImageViewImp(HWND hWnd, bool threadSafe);
    // A thumbnail implementation with its own list view; false when the window was not made.
    bool CreateImageView(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id, bool threadSafe);

    CKWListImageViewImp* Thumbnails() const { return KindImp<CKWListImageViewImp>(); }

    void SetThumbnailSize(int w, int h, int a, int b, int c) { Call(&I::SetThumbnailSize, w, h, a, b, c); }
    void BeginAddItems(int count, int position) { Call(&I::BeginAddItems, count, position); }
    void EndAddItems() { Call(&I::EndAddItems); }
    void AddItem(const CString& caption, const KWRasterImage* source, CKWImageViewData* data);
    void SetItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data);
    void ReplaceImage(int index, const KWRasterImage* source) { Call(&I::ReplaceImage, index, source); }
    int GetItemCount() { return Call(&I::GetItemCount); }
    void DeleteAllItems() { Call(&I::DeleteAllItems); }
    CKWImageViewData* GetItemData(int index) { return Call(&I::GetItemData, index); }
    bool SetItemData(int index, CKWImageViewData* data) { return Call(&I::SetItemData, index, data, true); }
    void SelectItem(int index) { Call(&I::SelectItem, index); }
    void ClearSelection() { Call(&I::ClearSelection); }
    void SelectAll() { Call(&I::SelectAll); }
    void EnsureVisible(int index, bool partial) { Call(&I::EnsureVisible, index, partial); }
    int GetCurrentItem() { return Thumbnails() ? Thumbnails()->GetCurrentItem() : -1; }
    int GetFirstSelected() { return Thumbnails() ? Thumbnails()->GetFirstSelected() : -1; }
    int GetNextSelected(int& index) { return Thumbnails() ? Thumbnails()->GetNextSelected(index) : -1; }
    void SetMultiSelect(bool multi) { Call(&I::SetMultiSelect, multi); }
    bool IsMultiSelect() { return Call(&I::IsMultiSelect); }
    bool SetItemText(int index, const CString& caption) { return Call(&I::SetItemText, index, caption); }
    CString GetItemText(int index) { return Call(&I::GetItemText, index); }
    HWND EditLabel(int index) { return Call(&I::EditLabel, index); }
    bool IsEditingLabel() { return Call(&I::IsEditingLabel); }
    bool IsLabelModified() { return Call(&I::IsLabelModified); }
    void EndEditLabel(bool cancel) { Call(&I::EndEditLabel, cancel); }
    void SetLabelsReadOnly(bool readOnly) { Call(&I::SetLabelsReadOnly, readOnly); }
    void EnableDragStart(bool enable) { Call(&I::EnableDragStart, enable); }
    void SetDragSourceHandler(CKWDragDropPane* handler) { Call(&I::SetDragSourceHandler, handler); }
    int GetInsertIndex(const POINT& point, bool exactOnly)
    {
        return Thumbnails() ? Thumbnails()->GetInsertIndex(point, exactOnly) : -1;
    }
    bool GetItemRect(int index, RECT& rect) { return Call(&I::GetItemRect, index, rect); }
    bool Cut() { return Call(&I::Cut); }
    bool Clear() { return Call(&I::Clear); }
    bool Copy() { return Call(&I::Copy); }
    bool Paste() { return Call(&I::Paste); }
    bool CanCut() { return Call(&I::CanCut); }
    bool CanClear() { return Call(&I::CanClear); }
    bool CanCopy() { return Call(&I::CanCopy); }
    bool CanPaste() { return Call(&I::CanPaste); }
    bool SetDefaultBitmap(UINT id) { return Call(&I::SetDefaultBitmap, id); }
    bool SetBackgroundBitmap(UINT id) { return Call(&I::SetBackgroundBitmap, id); }

private:
    using I = CKWListImageViewImp;
    template <typename Result, typename... Params, typename... Args>
    Result Call(Result (I::*operation)(Params...), Args&&... args)
    {
        return KWForwardToImp(Thumbnails(), operation, std::forward<Args>(args)...);
    }
};
