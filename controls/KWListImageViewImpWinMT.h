#pragma once
// CKWListImageViewImpWin_MThread: the thumbnail list for lists that more
// than one thread calls. Every operation runs under one system-wide named
// mutex that all such lists share; a thread that holds it may take it again,
// so operations that call one another do not block.
#include "controls/KWListImageViewImpWin.h"
#include "platform/classlib/SyncObjects.h"

// A scoped owner of a synchronisation object: it waits (without time-out)
// until it owns the object, handling the messages other threads send to
// this thread's windows meanwhile, since the owner may be sending one and
// waiting for its answer. On release it first flushes the thread's GDI work.
class CKWSingleLock : public CSingleLock {
public:
    explicit CKWSingleLock(CSyncObject* object);
    ~CKWSingleLock() override;
};

class CKWListImageViewImpWin_MThread : public CKWListImageViewImpWin {
public:
    static constexpr const wchar_t* kMutexName = L"CoreScaffold_ListControlsSync_Mutex";

    explicit CKWListImageViewImpWin_MThread(HWND hWnd = nullptr);

    void Enable(bool enable) override { Guard([&] { Base::Enable(enable); }); }
    bool IsEnabled() override { return Guard([&] { return Base::IsEnabled(); }); }
    void Show(bool show) override { Guard([&] { Base::Show(show); }); }
    bool IsVisible() override { return Guard([&] { return Base::IsVisible(); }); }
    void Redraw(bool updateNow) override { Guard([&] { Base::Redraw(updateNow); }); }
    void Invalidate() override { Guard([&] { Base::Invalidate(); }); }
    void InvalidateRect(const RECT& rect) override { Guard([&] { Base::InvalidateRect(rect); }); }
    void Update() override { Guard([&] { Base::Update(); }); }
    void SetFocus() override { Guard([&] { Base::SetFocus(); }); }
    void SetText(const CString& text) override { Guard([&] { Base::SetText(text); }); }
    void GetText(CString& text) override { Guard([&] { Base::GetText(text); }); }
    bool HasFocus() override { return Guard([&] { return Base::HasFocus(); }); }
    void SetFont(const CKWFontData& font) override { Guard([&] { Base::SetFont(font); }); }
    void SetWindowRect(const RECT& rect) override { Guard([&] { Base::SetWindowRect(rect); }); }
    void SetContextMenu(UINT menuId) override { Guard([&] { Base::SetContextMenu(menuId); }); }
    void SetDropHandler(CKWDragDropPane* handler) override { Guard([&] { Base::SetDropHandler(handler); }); }
    void EnableDragDrop(bool enable) override { Guard([&] { Base::EnableDragDrop(enable); }); }
    void SetOwner(CKWFocusManager* owner, int value) override { Guard([&] { Base::SetOwner(owner, value); }); }
    void GetClientRect(RECT* rect) override { Guard([&] { Base::GetClientRect(rect); }); }
    int GetScrollPos(bool vertical) override { return Guard([&] { return Base::GetScrollPos(vertical); }); }
    void SetScrollPos(bool vertical, int position) override { Guard([&] { Base::SetScrollPos(vertical, position); }); }
    int GetScrollInfo(bool vertical, int& minimum, int& maximum, int passed) override
    {
        return Guard([&] { return Base::GetScrollInfo(vertical, minimum, maximum, passed); });
    }

    void SetThumbnailSize(int w, int h, int a, int b, int c) override
    {
        Guard([&] { Base::SetThumbnailSize(w, h, a, b, c); });
    }
    void BeginAddItems(int count, int position) override { Guard([&] { Base::BeginAddItems(count, position); }); }
    void EndAddItems() override { Guard([&] { Base::EndAddItems(); }); }
    void Reserved3(int a, int b, int c) override { Guard([&] { Base::Reserved3(a, b, c); }); }
    void AddItem(const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override
    {
        Guard([&] { Base::AddItem(caption, source, data); });
    }
    void SetItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override
    {
        Guard([&] { Base::SetItem(index, caption, source, data); });
    }
    void ReplaceImage(int index, const KWRasterImage* source) override
    {
        Guard([&] { Base::ReplaceImage(index, source); });
    }
    void Reserved0() override { Guard([&] { Base::Reserved0(); }); }
    int GetItemCount() override { return Guard([&] { return Base::GetItemCount(); }); }
    void DeleteAllItems() override { Guard([&] { Base::DeleteAllItems(); }); }
    int InsertItem(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override
    {
        return Guard([&] { return Base::InsertItem(index, caption, source, data); });
    }
    int InsertItemAt(int index, const CString& caption, const KWRasterImage* source, CKWImageViewData* data) override
    {
        return Guard([&] { return Base::InsertItemAt(index, caption, source, data); });
    }
    void Reserved1() override { Guard([&] { Base::Reserved1(); }); }
    CKWImageViewData* GetItemData(int index) override { return Guard([&] { return Base::GetItemData(index); }); }
    bool SetItemData(int index, CKWImageViewData* data, bool deleteOld) override
    {
        return Guard([&] { return Base::SetItemData(index, data, deleteOld); });
    }
    void SelectItem(int index) override { Guard([&] { Base::SelectItem(index); }); }
    void ClearSelection() override { Guard([&] { Base::ClearSelection(); }); }
    void SelectAll() override { Guard([&] { Base::SelectAll(); }); }
    void EnsureVisible(int index, bool partial) override { Guard([&] { Base::EnsureVisible(index, partial); }); }
    int GetCurrentItem() override { return Guard([&] { return Base::GetCurrentItem(); }); }
    int GetFirstSelected() override { return Guard([&] { return Base::GetFirstSelected(); }); }
    int GetNextSelected(int& index) override { return Guard([&] { return Base::GetNextSelected(index); }); }
    void SetMultiSelect(bool multi) override { Guard([&] { Base::SetMultiSelect(multi); }); }
    bool IsMultiSelect() override { return Guard([&] { return Base::IsMultiSelect(); }); }
    bool SetItemText(int index, const CString& caption) override
    {
        return Guard([&] { return Base::SetItemText(index, caption); });
    }
    CString GetItemText(int index) override { return Guard([&] { return Base::GetItemText(index); }); }
    HWND EditLabel(int index) override { return Guard([&] { return Base::EditLabel(index); }); }
    bool IsEditingLabel() override { return Guard([&] { return Base::IsEditingLabel(); }); }
    bool IsLabelModified() override { return Guard([&] { return Base::IsLabelModified(); }); }
    void EndEditLabel(bool cancel) override { Guard([&] { Base::EndEditLabel(cancel); }); }
    void SetLabelsReadOnly(bool readOnly) override { Guard([&] { Base::SetLabelsReadOnly(readOnly); }); }
    void EnableDragStart(bool enable) override { Guard([&] { Base::EnableDragStart(enable); }); }
    void SetDragSourceHandler(CKWDragDropPane* handler) override
    {
        Guard([&] { Base::SetDragSourceHandler(handler); });
    }
    bool Reserved2(int a, int b, int c) override { return Guard([&] { return Base::Reserved2(a, b, c); }); }
    int GetInsertIndex(const POINT& point, bool exactOnly) override
    {
        return Guard([&] { return Base::GetInsertIndex(point, exactOnly); });
    }
    bool GetItemRect(int index, RECT& rect) override { return Guard([&] { return Base::GetItemRect(index, rect); }); }
    bool Cut() override { return Guard([&] { return Base::Cut(); }); }
    bool Clear() override { return Guard([&] { return Base::Clear(); }); }
    bool Copy() override { return Guard([&] { return Base::Copy(); }); }
    bool Paste() override { return Guard([&] { return Base::Paste(); }); }
    bool CanCut() override { return Guard([&] { return Base::CanCut(); }); }
    bool CanClear() override { return Guard([&] { return Base::CanClear(); }); }
    bool CanCopy() override { return Guard([&] { return Base::CanCopy(); }); }
    bool CanPaste() override { return Guard([&] { return Base::CanPaste(); }); }

    CMutex& GetMutex() { return m_mutex; }

private:
    using Base = CKWListImageViewImpWin;
    template <typename Call>
    auto Guard(Call call) -> decltype(call())
    {
        CKWSingleLock lock(&m_mutex);
        return call();
    }

    CMutex m_mutex;
};
