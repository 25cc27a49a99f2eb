#pragma once
// CKWSplitManager: owns the root of a split-pane tree and grows the tree one
// split at a time. It owns the bars (the inner nodes) only; the panes are
// windows of their frame.
class CKWSplitItem;
class CKWSplitterIFace;
class CWnd;
typedef unsigned int UINT;

class CKWSplitManager {
public:
    // Registers the framework's bar window with the controls factory.
    CKWSplitManager();
    // Deletes the root when it is a bar (and with it every bar below).
    virtual ~CKWSplitManager();

    // False, changing nothing, when an item is missing or the existing item
    // refuses the split; else true when a bar was made.
    virtual bool AddItem(CKWSplitItem* existing, CKWSplitItem* newItem, bool newAfter, bool vertical, int position,
                         CWnd* parentWnd, UINT id, bool moveBarFirst);
    // Puts a bar centred at position (from the existing item's left or top
    // edge) and the two items on its sides; the new bar, null when none was made.
    virtual CKWSplitterIFace* SplitItem(CKWSplitItem* existing, CKWSplitItem* newItem, bool newAfter, bool vertical,
                                        int position, CWnd* parentWnd, UINT id, bool visible, bool moveBarFirst);

    CKWSplitItem* GetRoot() const { return m_root; }
    // Whether the root is a bar (the panes are split).
    bool IsRootBar() const { return m_rootIsBar; }
    // The tree starts as this one pane.
    void SetRoot(CKWSplitItem* root)
    {
        m_root = root;
        m_rootIsBar = false;
    }

    CKWSplitManager(const CKWSplitManager&) = delete;
    CKWSplitManager& operator=(const CKWSplitManager&) = delete;

protected:
    CKWSplitItem* m_root;

private:
    // A pane at the root may be gone before the manager: only a bar made here is asked and deleted.
    bool m_rootIsBar;
};
