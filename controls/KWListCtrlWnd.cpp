#include "controls/KWListCtrlWnd.h"

#include "controls/KWLabelEditClipboard.h"
#include "controls/KWListImagesView.h"
#include "controls/KWTrackContextMenu.h"
#include "framework/KWFocusManager.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/MessageMap.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_DYNAMIC(CKWListCtrlWnd, CListCtrl)

BEGIN_MESSAGE_MAP(CKWListCtrlWnd, CListCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

RECT KWFitPicture(int width, int height, int w, int h)
{
    if (w <= 0 || h <= 0)
        return RECT{0, 0, 0, 0};
    if (width >= w && height >= h) {
        const int left = (width - w) / 2;
        const int top = (height - h) / 2;
        return RECT{left, top, left + w, top + h};
    }
    const double scale = std::min(static_cast<double>(width) / w, static_cast<double>(height) / h);
    const double drawnW = w * scale;
    const double drawnH = h * scale;
    const int left = drawnW < width ? static_cast<int>((width - drawnW) / 2) : 0;
    const int top = drawnH < height ? static_cast<int>((height - drawnH) / 2) : 0;
    return RECT{left, top, left + static_cast<int>(drawnW), top + static_cast<int>(drawnH)};
}

CKWListCtrlWnd::CKWListCtrlWnd() = default;

CKWListCtrlWnd::~CKWListCtrlWnd()
{
    if (m_background)
        ::DeleteObject(m_background);
}

void CKWListCtrlWnd::SetMultiSelect(bool multi)
{
    if (IsMultiSelect() == multi)
        return;
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, multi ? (style & ~LVS_SINGLESEL) : (style | LVS_SINGLESEL));
}

bool CKWListCtrlWnd::IsMultiSelect()
{
    return m_hWnd && (::GetWindowLongW(m_hWnd, GWL_STYLE) & LVS_SINGLESEL) == 0;
}

void CKWListCtrlWnd::EndEditLabel(bool cancel)
{
    if (HWND edit = m_hWnd ? GetEditControl() : nullptr)
        ::SendMessageW(edit, WM_KEYDOWN, cancel ? VK_ESCAPE : VK_RETURN, 0);
}

void CKWListCtrlWnd::SetLabelsReadOnly(bool readOnly)
{
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    const bool editable = (style & LVS_EDITLABELS) != 0;
    if (editable == !readOnly)
        return;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, readOnly ? (style & ~LVS_EDITLABELS) : (style | LVS_EDITLABELS));
}

bool CKWListCtrlWnd::SetBackgroundBitmap(UINT resourceId)
{
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        return false;
    if (m_background)
        ::DeleteObject(m_background);
    m_background = bitmap;
    return true;
}

BOOL CKWListCtrlWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_DELETE || pMsg->wParam == VK_ESCAPE) && m_hWnd &&
        GetEditControl()) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    return CListCtrl::PreTranslateMessage(pMsg);
}

CKWImageViewData* CKWListCtrlWnd::GetItemData(int index) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!m_hWnd || !GetItem(&item))
        return nullptr;
    return reinterpret_cast<CKWImageViewData*>(item.lParam);
}

bool CKWListCtrlWnd::SetItemData(int index, CKWImageViewData* data, bool deleteOld)
{
    CKWImageViewData* old = GetItemData(index);
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = reinterpret_cast<LPARAM>(data);
    if (!m_hWnd || !SetItem(&item))
        return false;
    if (deleteOld && old && old != data)
        delete old;
    return true;
}

bool CKWListCtrlWnd::DeleteItem(int index)
{
    CKWImageViewData* data = GetItemData(index);
    if (!m_hWnd || !SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index), 0))
        return false;
    delete data;
    return true;
}

void CKWListCtrlWnd::DeleteAllItems()
{
    if (!m_hWnd)
        return;
    std::vector<CKWImageViewData*> data;
    for (int i = GetItemCount() - 1; i >= 0; --i)
        data.push_back(GetItemData(i));
    // The list view's own emptying (one item at a time would cost the time
    // of all the items for each) also forgets where its icons went, so that
    // the next items start again at the top left.
    SendMessage(LVM_DELETEALLITEMS, 0, 0);
    for (CKWImageViewData* object : data)
        delete object;
    if (m_background)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CKWListCtrlWnd::ClearItemData()
{
    if (!m_hWnd)
        return;
    for (int i = GetItemCount() - 1; i >= 0; --i) {
        delete GetItemData(i);
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SetItem(&item);
    }
}

HWND CKWListCtrlWnd::LabelEdit() const
{
    return m_hWnd ? GetEditControl() : nullptr;
}

bool CKWListCtrlWnd::Cut() { return KWLabelEditCut(LabelEdit()); }
bool CKWListCtrlWnd::Copy() { return KWLabelEditCopy(LabelEdit()); }
bool CKWListCtrlWnd::Clear() { return KWLabelEditClear(LabelEdit()); }
bool CKWListCtrlWnd::Paste() { return KWLabelEditPaste(LabelEdit()); }
bool CKWListCtrlWnd::CanCut() { return KWLabelEditHasSelection(LabelEdit()); }
bool CKWListCtrlWnd::CanCopy() { return KWLabelEditHasSelection(LabelEdit()); }
bool CKWListCtrlWnd::CanClear() { return LabelEdit() != nullptr; }
bool CKWListCtrlWnd::CanPaste() { return KWLabelEditCanPaste(LabelEdit()); }

int CKWListCtrlWnd::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    const int result = CListCtrl::OnCreate(lpCreateStruct);
    RegisterDropTarget(this);
    return result;
}

void CKWListCtrlWnd::OnDestroy()
{
    ClearItemData();
    RevokeDropTarget();
    CListCtrl::OnDestroy();
}

void CKWListCtrlWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_owner)
        m_owner->SetFocusItem(m_focusValue);
    CListCtrl::OnSetFocus(pOldWnd);
}

void CKWListCtrlWnd::OnLButtonDown(UINT, CPoint point)
{
    Default();
    if (m_dragStart) {
        SetCapture();
        m_dragPoint = point;
    }
}

void CKWListCtrlWnd::OnMouseMove(UINT, CPoint point)
{
    Default();
    if (!m_dragStart || ::GetCapture() != m_hWnd || m_dragPoint.x == -1)
        return;
    const double dx = point.x - m_dragPoint.x;
    const double dy = point.y - m_dragPoint.y;
    if (std::sqrt(dx * dx + dy * dy) > kDragDistance) {
        ::ReleaseCapture();
        m_dragPoint = CPoint(-1, -1);
        BeginDrag(point);
    }
}

void CKWListCtrlWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
    if (m_dragStart) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        m_dragPoint = CPoint(-1, -1);
    }
}

void CKWListCtrlWnd::OnRButtonDown(UINT, CPoint point)
{
    Default();
    const int hit = HitTest(point);
    if (hit >= 0)
        SetHotItem(hit);
    if (m_contextMenu) {
        ClientToScreen(&point);
        KWTrackContextMenu(m_contextMenu & 0xFFFF, point.x, point.y, m_hWnd);
    }
}

BOOL CKWListCtrlWnd::OnEraseBkgnd(CDC* pDC)
{
    const BOOL result = static_cast<BOOL>(Default());
    if (pDC && m_background && GetItemCount() == 0)
        DrawBackground(pDC->GetSafeHdc());
    return result;
}

void CKWListCtrlWnd::DrawBackground(HDC dc)
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    KWBlitFitted(dc, client, m_background);
}

RECT KWBlitFitted(HDC dc, const RECT& client, HBITMAP bitmap)
{
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    const RECT fit = KWFitPicture(client.right - client.left, client.bottom - client.top, info.bmWidth, info.bmHeight);
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    if (fit.right - fit.left == info.bmWidth && fit.bottom - fit.top == info.bmHeight) {
        ::BitBlt(dc, client.left + fit.left, client.top + fit.top, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    } else {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, client.left + fit.left, client.top + fit.top, fit.right - fit.left, fit.bottom - fit.top,
                     memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return fit;
}
