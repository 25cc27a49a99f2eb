#include "editor/TalSectionTreeCtrl.h"

#include "platform/classlib/Wnd.h"

CTalSectionTreeCtrl::~CTalSectionTreeCtrl() = default;

HTREEITEM CTalSectionTreeCtrl::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after)
{
    return CKWTreeControl::InsertItem(text, parent, after);
}

void CTalSectionTreeCtrl::DeleteItem(HTREEITEM item)
{
    CKWTreeControl::DeleteItem(item);
}

void CTalSectionTreeCtrl::DeleteAllItems()
{
    CKWTreeControl::DeleteAllItems();
}

HTREEITEM CTalSectionTreeCtrl::GetRootItem()
{
    return CKWTreeControl::GetRootItem();
}

HTREEITEM CTalSectionTreeCtrl::GetNextChild(HTREEITEM item, HTREEITEM previous)
{
    return GetNextChildItem(item, previous);
}

CKWDBItemUserData* CTalSectionTreeCtrl::GetItemData(HTREEITEM item)
{
    return CKWTreeControl::GetItemData(item);
}

void CTalSectionTreeCtrl::SetItemData(HTREEITEM item, CKWDBItemUserData* data)
{
    CKWTreeControl::SetItemData(item, data);
}

void CTalSectionTreeCtrl::SetItemText(HTREEITEM item, const wchar_t* text)
{
    CKWTreeControl::SetItemText(item, text);
}

void CTalSectionTreeCtrl::SelectItem(HTREEITEM item)
{
    CKWTreeControl::SelectItem(item);
}

void CTalSectionTreeCtrl::Expand(HTREEITEM item, int code)
{
    CKWTreeControl::Expand(item, code == kExpand ? TVE_EXPAND : TVE_COLLAPSE);
}

void CTalSectionTreeCtrl::EnsureVisible(HTREEITEM item)
{
    CKWTreeControl::EnsureVisible(item);
}

void CTalSectionTreeCtrl::EditLabel(HTREEITEM item)
{
    CKWTreeControl::EditLabel(item);
}

void CTalSectionTreeCtrl::EndEditLabel(bool cancel)
{
    EndEditLabelNow(cancel);
}

bool CTalSectionTreeCtrl::IsEditingLabel()
{
    return CKWTreeControl::IsEditingLabel();
}

bool CTalSectionTreeCtrl::IsLabelModified()
{
    return CKWTreeControl::IsLabelModified();
}

bool CTalSectionTreeCtrl::CanCut()
{
    return CKWTreeControl::CanCut();
}

bool CTalSectionTreeCtrl::CanCopy()
{
    return CKWTreeControl::CanCopy();
}

bool CTalSectionTreeCtrl::CanPaste()
{
    return CKWTreeControl::CanPaste();
}

bool CTalSectionTreeCtrl::CanDelete()
{
    return CanClear();
}

bool CTalSectionTreeCtrl::CutLabel()
{
    if (!IsEditingLabel())
        return false;
    Cut();
    return true;
}

bool CTalSectionTreeCtrl::CopyLabel()
{
    if (!IsEditingLabel())
        return false;
    Copy();
    return true;
}

bool CTalSectionTreeCtrl::PasteLabel()
{
    if (!IsEditingLabel())
        return false;
    Paste();
    return true;
}

bool CTalSectionTreeCtrl::DeleteLabel()
{
    if (!IsEditingLabel())
        return false;
    Clear();
    return true;
}

void CTalSectionTreeCtrl::SetFocus()
{
    // A tree hidden by its command takes no keys: they would choose sections
    // unseen. (A tree in a frame not shown yet takes them.)
    CWnd* tree = GetWnd();
    if (tree && tree->m_hWnd && !(tree->GetStyle() & WS_VISIBLE))
        return;
    CKWControl::SetFocus();
}
