#pragma once
// CTalSectionTree: the section tree of a report frame as the document drives
// it (the editor's tree control facade implements it). Items are the tree
// control's handles; 0 is none. Item data are objects that the tree owns from
// SetItemData on and deletes with their items; the document attaches
// CTalItemUserData objects and recognises them by a dynamic cast.
#include <windows.h>
#include <commctrl.h>

class CKWDBItemUserData;

class CTalSectionTree {
public:
    // Codes of Expand.
    enum : int { kCollapse = 1, kExpand = 2 };

    virtual ~CTalSectionTree() = default;

    // The new item under parent (0: at the root) after the item given (0: first); 0 when refused.
    virtual HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after) = 0;
    // Deletes the item with its subtree.
    virtual void DeleteItem(HTREEITEM item) = 0;
    virtual void DeleteAllItems() = 0;
    // The first root item; 0 when the tree is empty.
    virtual HTREEITEM GetRootItem() = 0;
    // The first child when previous is 0, else the child after previous; 0 at the end.
    virtual HTREEITEM GetNextChild(HTREEITEM item, HTREEITEM previous) = 0;
    virtual CKWDBItemUserData* GetItemData(HTREEITEM item) = 0;
    virtual void SetItemData(HTREEITEM item, CKWDBItemUserData* data) = 0;
    virtual void SetItemText(HTREEITEM item, const wchar_t* text) = 0;
    // Makes the item the selected one; the tree then tells the document
    // (CTalDocument::OnTreeSelChanged) through the view.
    virtual void SelectItem(HTREEITEM item) = 0;
    virtual void Expand(HTREEITEM item, int code) = 0;
    virtual void EnsureVisible(HTREEITEM item) = 0;
    // Starts in-place editing of the item's label.
    virtual void EditLabel(HTREEITEM item) = 0;
    // Ends a label edit in progress, as Escape (cancel) or Enter would; nothing when none is.
    virtual void EndEditLabel(bool cancel) = 0;
    virtual bool IsEditingLabel() = 0;
    // The label edit box holds text other than the item's; false without an edit box.
    virtual bool IsLabelModified() = 0;
    // The clipboard tests of the label edit box while a label is edited.
    virtual bool CanCut() = 0;
    virtual bool CanCopy() = 0;
    virtual bool CanPaste() = 0;
    virtual bool CanDelete() = 0;
    // The label edit box takes the command; true when it did (a label is edited).
    virtual bool CutLabel() = 0;
    virtual bool CopyLabel() = 0;
    virtual bool PasteLabel() = 0;
    virtual bool DeleteLabel() = 0;
    // The tree takes the keyboard focus.
    virtual void SetFocus() = 0;
};
