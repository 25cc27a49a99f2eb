#pragma once
// The tree control: a hierarchy of text items, each of which may carry one
// owned data object (a CKWDBItemUserData, deleted by the tree with its item, when its
// data is replaced and when the window goes). CKWTreeCtrlImp is the kind's
// implementation interface; CKWTreeControl the facade callers hold. Every
// facade operation needs a tree implementation: callers create the control
// first (without one the operations do nothing and answer 0 or false).
#include "controls/KWControl.h"

#include <commctrl.h>

class CKWDBItemUserData;

class CKWTreeCtrlImp : public virtual CKWCtrlImp {
public:
    virtual int Reserved(int) { return 0; }
    virtual HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after) = 0;
    virtual CString GetItemText(HTREEITEM item) = 0;
    virtual bool SetItemText(HTREEITEM item, const wchar_t* text) = 0;
    // Deletes the item with its subtree and their data objects.
    virtual bool DeleteItem(HTREEITEM item) = 0;
    virtual bool DeleteAllItems() = 0;
    // The first top-level item whose text equals the text (case-sensitive)
    // is selected; the selection's result, 0 when none matches.
    virtual LRESULT SelectItemByText(const wchar_t* text) = 0;
    virtual bool SelectItem(HTREEITEM item) = 0;
    virtual HTREEITEM GetSelectedItem() = 0;
    // The item's top-level ancestor (the item itself when top-level); 0 for 0.
    virtual HTREEITEM GetTopAncestor(HTREEITEM item) = 0;
    virtual bool SelectSetFirstVisible(HTREEITEM item) = 0;
    virtual CKWDBItemUserData* GetItemData(HTREEITEM item) = 0;
    // The old object is deleted once the new one is set.
    virtual bool SetItemData(HTREEITEM item, CKWDBItemUserData* data) = 0;
    virtual HTREEITEM GetRootItem() = 0;
    // The first child when previous is 0, else the child after previous.
    virtual HTREEITEM GetNextChildItem(HTREEITEM parent, HTREEITEM previous) = 0;
    virtual bool Expand(HTREEITEM item, UINT code) = 0;
    virtual bool IsExpanded(HTREEITEM item) = 0;
    virtual bool IsSelected(HTREEITEM item) = 0;
    virtual bool EnsureVisible(HTREEITEM item) = 0;
    virtual HWND EditLabel(HTREEITEM item) = 0;
    // Escape (cancel) or Enter to the label's edit box; false without one.
    virtual bool EndEditLabelNow(bool cancel) = 0;
    virtual bool IsEditingLabel() = 0;
    virtual bool IsLabelModified() = 0;
    virtual bool SetInsertMark(HTREEITEM item, int ignored, bool after, bool redraw) = 0;
    virtual HTREEITEM HitTest(int x, int y, UINT* flags) = 0;
    virtual bool GetItemRect(HTREEITEM item, RECT* rect, bool textOnly) = 0;
    // The clipboard operations of the label's edit box; false without one.
    virtual bool Cut() = 0;
    virtual bool Clear() = 0;
    virtual bool Copy() = 0;
    virtual bool Paste() = 0;
    virtual bool CanCut() = 0;
    virtual bool CanCopy() = 0;
    virtual bool CanClear() = 0;
    virtual bool CanPaste() = 0;
    virtual void Initialize() {}
};

class CKWTreeControl : public CKWControl {
public:
    CKWTreeControl() = default;
    ~CKWTreeControl() override;

    // A tree implementation over the existing window.
    void CreateImp(HWND hWnd) override;
    // The implementation with its own tree-view window; true when it is a tree.
    bool Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;

    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after);
    CString GetItemText(HTREEITEM item);
    bool SetItemText(HTREEITEM item, const wchar_t* text);
    bool DeleteItem(HTREEITEM item);
    bool DeleteAllItems();
    LRESULT SelectItemByText(const wchar_t* text);
    bool SelectItem(HTREEITEM item);
    HTREEITEM HitTest(int x, int y, UINT* flags);
    bool GetItemRect(HTREEITEM item, RECT* rect, bool textOnly);
    HTREEITEM GetSelectedItem();
    HTREEITEM GetTopAncestor(HTREEITEM item);
    bool SelectSetFirstVisible(HTREEITEM item);
    HWND EditLabel(HTREEITEM item);
    bool EndEditLabelNow(bool cancel);
    bool IsEditingLabel();
    bool IsLabelModified();
    CKWDBItemUserData* GetItemData(HTREEITEM item);
    bool SetItemData(HTREEITEM item, CKWDBItemUserData* data);
    HTREEITEM GetRootItem();
    HTREEITEM GetNextChildItem(HTREEITEM parent, HTREEITEM previous);
    bool Expand(HTREEITEM item, UINT code);
    bool IsExpanded(HTREEITEM item);
    bool IsSelected(HTREEITEM item);
    bool EnsureVisible(HTREEITEM item);
    bool SetInsertMark(HTREEITEM item, int ignored, bool after, bool redraw);
    bool Cut();
    bool Copy();
    bool Clear();
    bool Paste();
    bool CanCut();
    bool CanCopy();
    bool CanClear();
    bool CanPaste();
    // The implementation's empty initialisation.
    void Initialize();

    CKWTreeCtrlImp* GetTreeImp() const { return dynamic_cast<CKWTreeCtrlImp*>(m_imp); }
};
