#pragma once
// CKWTreeCtrlWnd: the tree-view window of the tree control. It owns the data
// objects of its items, shows its context menu on a right click (after
// selecting the item hit), tells its owner when it gains the focus, leaves
// Alt+F4 to the system, and is a drop pane whose typed events go to the drop
// handler it is given.
#include "controls/KWDragDropPane.h"
#include "platform/classlib/TreeCtrl.h"

#include <cstdint>

class CKWFocusManager;

class CKWTreeCtrlWnd : public CTreeCtrl, public CKWDragDropPane {
public:
    CKWTreeCtrlWnd();
    ~CKWTreeCtrlWnd() override;

    // Deletes the data objects of the item and its subtree, or of every item
    // for null, and clears their parameters.
    void ReleaseItemData(HTREEITEM item);
    // TVM_SETINSERTMARK (after as wParam, the item as lParam); true. A null
    // item removes the mark; a tree view that refuses a null item keeps its
    // mark, which is then drawn in the tree's background colour (and
    // repainted) until an item is marked again. The marked item is drawn as
    // the drop target (TVGN_DROPHILITE) while it is marked.
    virtual bool SetInsertMark(HTREEITEM item, int ignored, bool after);

    void SetContextMenuId(uint16_t id) { m_contextMenuId = id; }
    uint16_t GetContextMenuId() const { return m_contextMenuId; }
    void SetOwner(CKWFocusManager* owner, int value)
    {
        m_owner = owner;
        m_focusValue = value;
    }
    // Registers (true) or revokes the window as a drop target.
    void EnableDragDrop(bool enable);
    // An owned child window, destroyed and deleted with the tree window.
    void SetOwnedChild(CWnd* child) { m_ownedChild = child; }

protected:
    afx_msg void OnDestroy();
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()

private:
    void ReleaseSubtree(HTREEITEM item);

    uint16_t m_contextMenuId = 0;
    int m_focusValue = 0;
    CKWFocusManager* m_owner = nullptr;
    CWnd* m_ownedChild = nullptr;
    bool m_markHidden = false;
};
