#pragma once
// CKWFocusManager: remembers which pane of a split frame holds the focus.
class CKWSplitItem;

class CKWFocusManager {
public:
    CKWFocusManager() = default;
    virtual ~CKWFocusManager();
    // A pane gained the focus.
    virtual void SetFocusItem(CKWSplitItem* item);

    CKWSplitItem* GetFocusItem() const { return m_focusItem; }

private:
    CKWSplitItem* m_focusItem = nullptr;
};
