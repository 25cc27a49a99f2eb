#pragma once
// CTalSectionTreeCtrl: the report window's section tree: the tree control of
// the split layout, driven by the document through CTalSectionTree.
#include "controls/KWTreeControlSplit.h"
#include "document/TalSectionTree.h"

class CTalSectionTreeCtrl : public CKWTreeControlSplit, public CTalSectionTree {
public:
    CTalSectionTreeCtrl() = default;
    ~CTalSectionTreeCtrl() override;

    // --- CTalSectionTree ---
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after) override;
    void DeleteItem(HTREEITEM item) override;
    void DeleteAllItems() override;
    HTREEITEM GetRootItem() override;
    HTREEITEM GetNextChild(HTREEITEM item, HTREEITEM previous) override;
    CKWDBItemUserData* GetItemData(HTREEITEM item) override;
    void SetItemData(HTREEITEM item, CKWDBItemUserData* data) override;
    void SetItemText(HTREEITEM item, const wchar_t* text) override;
    void SelectItem(HTREEITEM item) override;
    void Expand(HTREEITEM item, int code) override;
    void EnsureVisible(HTREEITEM item) override;
    void EditLabel(HTREEITEM item) override;
    void EndEditLabel(bool cancel) override;
    bool IsEditingLabel() override;
    bool IsLabelModified() override;
    bool CanCut() override;
    bool CanCopy() override;
    bool CanPaste() override;
    bool CanDelete() override;
    bool CutLabel() override;
    bool CopyLabel() override;
    bool PasteLabel() override;
    bool DeleteLabel() override;
    void SetFocus() override;
};
