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

namespace {

// The tree implementation's operation, or the answer of no implementation.
template <typename Result, typename... Params, typename... Args>
Result Forward(CKWTreeCtrlImp* tree, Result (CKWTreeCtrlImp::*operation)(Params...), Args... args)
{
    return tree ? (tree->*operation)(args...) : Result();
}

}  // namespace

HTREEITEM CKWTreeControl::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::InsertItem, text, parent, after);
}

CString CKWTreeControl::GetItemText(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetItemText, item);
}

bool CKWTreeControl::SetItemText(HTREEITEM item, const wchar_t* text)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::SetItemText, item, text);
}

bool CKWTreeControl::DeleteItem(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::DeleteItem, item);
}

bool CKWTreeControl::DeleteAllItems()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::DeleteAllItems);
}

LRESULT CKWTreeControl::SelectItemByText(const wchar_t* text)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::SelectItemByText, text);
}

bool CKWTreeControl::SelectItem(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::SelectItem, item);
}

HTREEITEM CKWTreeControl::HitTest(int x, int y, UINT* flags)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::HitTest, x, y, flags);
}

bool CKWTreeControl::GetItemRect(HTREEITEM item, RECT* rect, bool textOnly)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetItemRect, item, rect, textOnly);
}

HTREEITEM CKWTreeControl::GetSelectedItem()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetSelectedItem);
}

HTREEITEM CKWTreeControl::GetTopAncestor(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetTopAncestor, item);
}

bool CKWTreeControl::SelectSetFirstVisible(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::SelectSetFirstVisible, item);
}

HWND CKWTreeControl::EditLabel(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::EditLabel, item);
}

bool CKWTreeControl::EndEditLabelNow(bool cancel)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::EndEditLabelNow, cancel);
}

bool CKWTreeControl::IsEditingLabel()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::IsEditingLabel);
}

bool CKWTreeControl::IsLabelModified()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::IsLabelModified);
}

CObject* CKWTreeControl::GetItemData(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetItemData, item);
}

bool CKWTreeControl::SetItemData(HTREEITEM item, CObject* data)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::SetItemData, item, data);
}

HTREEITEM CKWTreeControl::GetRootItem()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetRootItem);
}

HTREEITEM CKWTreeControl::GetNextChildItem(HTREEITEM parent, HTREEITEM previous)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::GetNextChildItem, parent, previous);
}

bool CKWTreeControl::Expand(HTREEITEM item, UINT code)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::Expand, item, code);
}

bool CKWTreeControl::IsExpanded(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::IsExpanded, item);
}

bool CKWTreeControl::IsSelected(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::IsSelected, item);
}

bool CKWTreeControl::EnsureVisible(HTREEITEM item)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::EnsureVisible, item);
}

bool CKWTreeControl::SetInsertMark(HTREEITEM item, int ignored, bool after, bool redraw)
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::SetInsertMark, item, ignored, after, redraw);
}

bool CKWTreeControl::Cut()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::Cut);
}

bool CKWTreeControl::Copy()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::Copy);
}

bool CKWTreeControl::Clear()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::Clear);
}

bool CKWTreeControl::Paste()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::Paste);
}

bool CKWTreeControl::CanCut()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::CanCut);
}

bool CKWTreeControl::CanCopy()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::CanCopy);
}

bool CKWTreeControl::CanClear()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::CanClear);
}

bool CKWTreeControl::CanPaste()
{
    return Forward(GetTreeImp(), &CKWTreeCtrlImp::CanPaste);
}

void CKWTreeControl::Initialize()
{
    if (CKWTreeCtrlImp* tree = GetTreeImp())
        tree->Initialize();
}
