#pragma once
// The list control kind: a report-style list view of a dialog, reached
// through the platform's list-view messages. Its window (CKWListCtrlWnd)
// owns the items' data, which must each be null or an object with a
// virtual destructor (CKWImageViewData). CKWListCtrlImp is the kind's
// interface; CKWListCtrlImpWin binds it to a dialog item (its Create
// answers false).
#include "controls/KWCtrlImpWin.h"
#include "controls/KWListCtrlWnd.h"

class CKWListCtrlImp : public virtual CKWCtrlImp {
public:
    virtual int InsertColumn(int index, const LVCOLUMNW& column) = 0;
    virtual bool DeleteColumn(int index) = 0;
    virtual int InsertItem(const LVITEMW& item) = 0;
    virtual bool DeleteItem(int index) = 0;
    virtual void DeleteAllItems() = 0;
    virtual int GetItemCount() = 0;
    virtual bool GetItem(LVITEMW& item) = 0;
    // -1 for -1 or an index not below the count.
    virtual LPARAM GetItemData(int index) = 0;
    virtual bool SetItemData(int index, LPARAM value) = 0;
    virtual UINT GetItemState(int index, UINT mask) = 0;
    virtual bool SetItemState(int index, UINT state, UINT mask) = 0;
    virtual bool SetItem(const LVITEMW& item) = 0;
    virtual int HitTest(int x, int y, UINT* flags) = 0;
    // -1 unless the hot item is an item.
    virtual int GetHotItem() = 0;
    virtual int GetFirstSelected() = 0;
    virtual int GetNextSelected(int index) = 0;
    virtual void LockUpdate() = 0;
    virtual void UnlockUpdate() = 0;
};

class CKWListCtrlImpWin : public CKWCtrlImpWin, public CKWListCtrlImp {
public:
    explicit CKWListCtrlImpWin(HWND hWnd);
    // Lets the dialog's window go (its window procedure restored).
    ~CKWListCtrlImpWin() override;

    bool Create(DWORD, DWORD, const RECT&, CWnd*, UINT) override { return false; }
    void SetContextMenu(UINT menuId) override { m_wnd.SetContextMenu(menuId); }
    void SetOwner(CKWFocusManager* owner, int value) override { m_wnd.SetOwner(owner, value); }

    int InsertColumn(int index, const LVCOLUMNW& column) override;
    bool DeleteColumn(int index) override;
    int InsertItem(const LVITEMW& item) override;
    bool DeleteItem(int index) override { return m_wnd.DeleteItem(index); }
    void DeleteAllItems() override;
    int GetItemCount() override;
    bool GetItem(LVITEMW& item) override;
    LPARAM GetItemData(int index) override;
    bool SetItemData(int index, LPARAM value) override;
    UINT GetItemState(int index, UINT mask) override;
    bool SetItemState(int index, UINT state, UINT mask) override;
    bool SetItem(const LVITEMW& item) override;
    int HitTest(int x, int y, UINT* flags) override;
    int GetHotItem() override;
    int GetFirstSelected() override;
    int GetNextSelected(int index) override;
    void LockUpdate() override { ::LockWindowUpdate(GetHwnd()); }
    void UnlockUpdate() override { ::LockWindowUpdate(nullptr); }

    CKWListCtrlWnd& GetWindow() { return m_wnd; }

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

    CKWListCtrlWnd m_wnd;
};
