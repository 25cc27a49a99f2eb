#pragma once
// CKWTreeCtrlImpWin: the tree control over a tree-view window. Bound to an
// existing window it subclasses that window at once and lets it go again
// (restoring its window procedure) when destroyed; a window it created goes
// away with its parent.
#include "controls/KWCtrlImpWin.h"
#include "controls/KWTreeControl.h"
#include "controls/KWTreeCtrlWnd.h"

class CKWTreeCtrlImpWin : public CKWCtrlImpWin, public CKWTreeCtrlImp {
public:
    explicit CKWTreeCtrlImpWin(HWND hWnd = nullptr);
    ~CKWTreeCtrlImpWin() override;

    // --- generic operations the tree realises itself ---
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    void SetContextMenu(UINT menuId) override;
    void SetDropHandler(CKWDragDropPane* handler) override;
    void EnableDragDrop(bool enable) override;
    void SetOwner(CKWFocusManager* owner, int value) override;

    // --- CKWTreeCtrlImp ---
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after) override;
    CString GetItemText(HTREEITEM item) override;
    bool SetItemText(HTREEITEM item, const wchar_t* text) override;
    bool DeleteItem(HTREEITEM item) override;
    bool DeleteAllItems() override;
    LRESULT SelectItemByText(const wchar_t* text) override;
    bool SelectItem(HTREEITEM item) override;
    HTREEITEM GetSelectedItem() override;
    HTREEITEM GetTopAncestor(HTREEITEM item) override;
    bool SelectSetFirstVisible(HTREEITEM item) override;
    CKWDBItemUserData* GetItemData(HTREEITEM item) override;
    bool SetItemData(HTREEITEM item, CKWDBItemUserData* data) override;
    HTREEITEM GetRootItem() override;
    HTREEITEM GetNextChildItem(HTREEITEM parent, HTREEITEM previous) override;
    bool Expand(HTREEITEM item, UINT code) override;
    bool IsExpanded(HTREEITEM item) override;
    bool IsSelected(HTREEITEM item) override;
    bool EnsureVisible(HTREEITEM item) override;
    HWND EditLabel(HTREEITEM item) override;
    bool EndEditLabelNow(bool cancel) override;
    bool IsEditingLabel() override;
    bool IsLabelModified() override;
    bool SetInsertMark(HTREEITEM item, int ignored, bool after, bool redraw) override;
    HTREEITEM HitTest(int x, int y, UINT* flags) override;
    bool GetItemRect(HTREEITEM item, RECT* rect, bool textOnly) override;
    bool Cut() override;
    bool Clear() override;
    bool Copy() override;
    bool Paste() override;
    bool CanCut() override;
    bool CanCopy() override;
    bool CanClear() override;
    bool CanPaste() override;

    CKWTreeCtrlWnd& GetWindow() { return m_wnd; }

private:
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    UINT GetState(HTREEITEM item, UINT mask);
    // The label's edit box while a label is edited; null otherwise.
    HWND EditBox();
    bool HasEditSelection();

    CKWTreeCtrlWnd m_wnd;
    HWND m_bound;
};
