#include "controls/KWTreeCtrlImpWin.h"

#include "controls/KWDBItemUserData.h"
#include "controls/KWLabelEditClipboard.h"

#include "platform/classlib/Object.h"

#include <cstring>

namespace {
// Long enough for any section name the tree shows.
constexpr int kTextBuffer = 1024;
}  // namespace

CKWTreeCtrlImpWin::CKWTreeCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd), m_bound(hWnd)
{
    if (hWnd)
        m_wnd.SubclassDlgItem(static_cast<UINT>(::GetDlgCtrlID(hWnd)), CWnd::FromHandle(::GetParent(hWnd)));
}

CKWTreeCtrlImpWin::~CKWTreeCtrlImpWin()
{
    if (m_bound && m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
}

LRESULT CKWTreeCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = GetHwnd();
    return hWnd ? ::SendMessageW(hWnd, message, wParam, lParam) : 0;
}

bool CKWTreeCtrlImpWin::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_wnd.CreateEx(exStyle, style, rect, parent, id))
        return false;
    SetHwnd(m_wnd.m_hWnd);
    return true;
}

void CKWTreeCtrlImpWin::SetContextMenu(UINT menuId)
{
    m_wnd.SetContextMenuId(static_cast<uint16_t>(menuId));
}

void CKWTreeCtrlImpWin::SetDropHandler(CKWDragDropPane* handler)
{
    m_wnd.SetDropHandler(handler);
}

void CKWTreeCtrlImpWin::EnableDragDrop(bool enable)
{
    if (m_wnd.m_hWnd)
        m_wnd.EnableDragDrop(enable);
}

void CKWTreeCtrlImpWin::SetOwner(CKWFocusManager* owner, int value)
{
    m_wnd.SetOwner(owner, value);
}

HTREEITEM CKWTreeCtrlImpWin::InsertItem(const wchar_t* text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after ? after : TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text ? text : L"");
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

CString CKWTreeCtrlImpWin::GetItemText(HTREEITEM item)
{
    if (!item)
        return CString();
    wchar_t buffer[kTextBuffer] = {};
    TVITEMW data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = kTextBuffer;
    Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return CString(buffer);
}

bool CKWTreeCtrlImpWin::SetItemText(HTREEITEM item, const wchar_t* text)
{
    if (!item)
        return false;
    TVITEMW data = {};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = const_cast<wchar_t*>(text ? text : L"");
    return Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data)) == 1;
}

bool CKWTreeCtrlImpWin::DeleteItem(HTREEITEM item)
{
    if (!item)
        return false;
    m_wnd.ReleaseItemData(item);
    return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) == 1;
}

bool CKWTreeCtrlImpWin::DeleteAllItems()
{
    m_wnd.ReleaseItemData(nullptr);
    return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) == 1;
}

LRESULT CKWTreeCtrlImpWin::SelectItemByText(const wchar_t* text)
{
    const CString wanted = text ? text : L"";
    for (HTREEITEM item = GetRootItem(); item;
         item = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        if (GetItemText(item) == wanted)
            return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    return 0;
}

bool CKWTreeCtrlImpWin::SelectItem(HTREEITEM item)
{
    return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

HTREEITEM CKWTreeCtrlImpWin::GetSelectedItem()
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0));
}

HTREEITEM CKWTreeCtrlImpWin::GetTopAncestor(HTREEITEM item)
{
    while (item) {
        auto parent = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
        if (!parent)
            break;
        item = parent;
    }
    return item;
}

bool CKWTreeCtrlImpWin::SelectSetFirstVisible(HTREEITEM item)
{
    return Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(item)) != 0;
}

CKWDBItemUserData* CKWTreeCtrlImpWin::GetItemData(HTREEITEM item)
{
    if (!item)
        return nullptr;
    TVITEMW data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return reinterpret_cast<CKWDBItemUserData*>(data.lParam);
}

bool CKWTreeCtrlImpWin::SetItemData(HTREEITEM item, CKWDBItemUserData* object)
{
    CKWDBItemUserData* old = GetItemData(item);
    TVITEMW data = {};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    data.lParam = reinterpret_cast<LPARAM>(object);
    const bool set = item && Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data)) != 0;
    if (set && old && old != object)
        delete old;
    return set;
}

HTREEITEM CKWTreeCtrlImpWin::GetRootItem()
{
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

HTREEITEM CKWTreeCtrlImpWin::GetNextChildItem(HTREEITEM parent, HTREEITEM previous)
{
    auto first = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    if (!first)
        return nullptr;
    if (!previous)
        return first;
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(previous)));
}

bool CKWTreeCtrlImpWin::Expand(HTREEITEM item, UINT code)
{
    return Send(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
}

UINT CKWTreeCtrlImpWin::GetState(HTREEITEM item, UINT mask)
{
    return static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

bool CKWTreeCtrlImpWin::IsExpanded(HTREEITEM item)
{
    return (GetState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

bool CKWTreeCtrlImpWin::IsSelected(HTREEITEM item)
{
    return (GetState(item, TVIS_SELECTED) & TVIS_SELECTED) != 0;
}

bool CKWTreeCtrlImpWin::EnsureVisible(HTREEITEM item)
{
    return Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)) == 1;
}

HWND CKWTreeCtrlImpWin::EditLabel(HTREEITEM item)
{
    return reinterpret_cast<HWND>(Send(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item)));
}

HWND CKWTreeCtrlImpWin::EditBox()
{
    return reinterpret_cast<HWND>(Send(TVM_GETEDITCONTROL, 0, 0));
}

bool CKWTreeCtrlImpWin::EndEditLabelNow(bool cancel)
{
    HWND edit = EditBox();
    if (!edit)
        return false;
    ::SendMessageW(edit, WM_KEYDOWN, cancel ? VK_ESCAPE : VK_RETURN, 0);
    return true;
}

bool CKWTreeCtrlImpWin::IsEditingLabel()
{
    return EditBox() != nullptr;
}

bool CKWTreeCtrlImpWin::IsLabelModified()
{
    HWND edit = EditBox();
    return edit && ::SendMessageW(edit, EM_GETMODIFY, 0, 0) == 1;
}

bool CKWTreeCtrlImpWin::SetInsertMark(HTREEITEM item, int ignored, bool after, bool redraw)
{
    m_wnd.SetInsertMark(item, ignored, after);
    if (redraw && item) {
        RECT row = {};
        if (GetItemRect(item, &row, false)) {
            ::InvalidateRect(GetHwnd(), &row, TRUE);
            ::UpdateWindow(GetHwnd());
        }
    }
    return true;
}

HTREEITEM CKWTreeCtrlImpWin::HitTest(int x, int y, UINT* flags)
{
    TVHITTESTINFO info = {};
    info.pt = {x, y};
    auto item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return item;
}

bool CKWTreeCtrlImpWin::GetItemRect(HTREEITEM item, RECT* rect, bool textOnly)
{
    if (!rect)
        return false;
    // The message takes the item in the rectangle's place.
    std::memcpy(rect, &item, sizeof(item));
    return Send(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)) == 1;
}

bool CKWTreeCtrlImpWin::HasEditSelection() { return KWLabelEditHasSelection(EditBox()); }
bool CKWTreeCtrlImpWin::Cut() { return KWLabelEditCut(EditBox()); }
bool CKWTreeCtrlImpWin::Copy() { return KWLabelEditCopy(EditBox()); }
bool CKWTreeCtrlImpWin::Clear() { return KWLabelEditClear(EditBox()); }
bool CKWTreeCtrlImpWin::Paste() { return KWLabelEditPaste(EditBox()); }
bool CKWTreeCtrlImpWin::CanCut() { return HasEditSelection(); }
bool CKWTreeCtrlImpWin::CanCopy() { return HasEditSelection(); }
bool CKWTreeCtrlImpWin::CanClear() { return EditBox() != nullptr; }
bool CKWTreeCtrlImpWin::CanPaste() { return KWLabelEditCanPaste(EditBox()); }
