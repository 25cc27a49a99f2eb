#include "controls/KWTreeControl.h"

#include "controls/KWControlsFactory.h"

CKWTreeControl::~CKWTreeControl() = default;

void CKWTreeControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateTreeImp(hWnd);
    Initialize();
}

bool CKWTreeControl::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateTreeCtrl(exStyle, style, rect, parent, id);
    return GetTreeImp() != nullptr;
}

HTREEITEM CKWTreeControl::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::InsertItem, text, parent, after);
}

CString CKWTreeControl::GetItemText(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetItemText, item);
}

bool CKWTreeControl::SetItemText(HTREEITEM item, const wchar_t* text)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::SetItemText, item, text);
}

bool CKWTreeControl::DeleteItem(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::DeleteItem, item);
}

bool CKWTreeControl::DeleteAllItems()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::DeleteAllItems);
}

LRESULT CKWTreeControl::SelectItemByText(const wchar_t* text)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::SelectItemByText, text);
}

bool CKWTreeControl::SelectItem(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::SelectItem, item);
}

HTREEITEM CKWTreeControl::HitTest(int x, int y, UINT* flags)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::HitTest, x, y, flags);
}

bool CKWTreeControl::GetItemRect(HTREEITEM item, RECT* rect, bool textOnly)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetItemRect, item, rect, textOnly);
}

HTREEITEM CKWTreeControl::GetSelectedItem()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetSelectedItem);
}

HTREEITEM CKWTreeControl::GetTopAncestor(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetTopAncestor, item);
}

bool CKWTreeControl::SelectSetFirstVisible(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::SelectSetFirstVisible, item);
}

HWND CKWTreeControl::EditLabel(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::EditLabel, item);
}

bool CKWTreeControl::EndEditLabelNow(bool cancel)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::EndEditLabelNow, cancel);
}

bool CKWTreeControl::IsEditingLabel()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::IsEditingLabel);
}

bool CKWTreeControl::IsLabelModified()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::IsLabelModified);
}

CKWDBItemUserData* CKWTreeControl::GetItemData(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetItemData, item);
}

bool CKWTreeControl::SetItemData(HTREEITEM item, CKWDBItemUserData* data)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::SetItemData, item, data);
}

HTREEITEM CKWTreeControl::GetRootItem()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetRootItem);
}

HTREEITEM CKWTreeControl::GetNextChildItem(HTREEITEM parent, HTREEITEM previous)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::GetNextChildItem, parent, previous);
}

bool CKWTreeControl::Expand(HTREEITEM item, UINT code)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::Expand, item, code);
}

bool CKWTreeControl::IsExpanded(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::IsExpanded, item);
}

bool CKWTreeControl::IsSelected(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::IsSelected, item);
}

bool CKWTreeControl::EnsureVisible(HTREEITEM item)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::EnsureVisible, item);
}

bool CKWTreeControl::SetInsertMark(HTREEITEM item, int ignored, bool after, bool redraw)
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::SetInsertMark, item, ignored, after, redraw);
}

bool CKWTreeControl::Cut()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::Cut);
}

bool CKWTreeControl::Copy()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::Copy);
}

bool CKWTreeControl::Clear()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::Clear);
}

bool CKWTreeControl::Paste()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::Paste);
}

bool CKWTreeControl::CanCut()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::CanCut);
}

bool CKWTreeControl::CanCopy()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::CanCopy);
}

bool CKWTreeControl::CanClear()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::CanClear);
}

bool CKWTreeControl::CanPaste()
{
    return KWForwardToImp(GetTreeImp(), &CKWTreeCtrlImp::CanPaste);
}

void CKWTreeControl::Initialize()
{
    if (CKWTreeCtrlImp* tree = GetTreeImp())
        tree->Initialize();
}
