#include "controls/KWComboBoxCtrlImpWin.h"

#include "controls/KWListBoxCtrlImpWin.h"
#include "platform/classlib/ComboBox.h"

#include <algorithm>

BOOL CComboBaseWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && m_owner && m_owner->OnComboBoxKey(static_cast<UINT>(msg->wParam)))
        return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

CKWComboBoxCtrlImpWin::CKWComboBoxCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd) {}

CKWComboBoxCtrlImpWin::~CKWComboBoxCtrlImpWin()
{
    // The combo box first: it is the container's child.
    m_combo.reset();
    m_container.reset();
}

void CKWComboBoxCtrlImpWin::AttachOwner(CKWComboBoxOwner* owner)
{
    if (!m_container)
        m_container = std::make_unique<CComboBaseWnd>(owner);
}

HWND CKWComboBoxCtrlImpWin::GetContainerHwnd() const
{
    return m_container ? m_container->m_hWnd : nullptr;
}

bool CKWComboBoxCtrlImpWin::Create(DWORD, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_container || m_container->m_hWnd || GetHwnd())
        return false;
    if (!m_container->CreateEx(0, L"STATIC", L"", KWContainerStyle(style), rect, parent, 0))
        return false;
    // The box fills its container from (0, 0), as SetWindowRect places it.
    auto combo = std::make_unique<CComboBox>();
    const CRect inside(0, 0, rect.right - rect.left, rect.bottom - rect.top + kListHeight);
    if (!combo->Create(style | CBS_DROPDOWNLIST | WS_VSCROLL, inside, m_container.get(), id)) {
        m_container->DestroyWindow();
        return false;
    }
    combo->SendMessage(CB_SETDROPPEDWIDTH, kListHeight);
    m_combo = std::move(combo);
    SetHwnd(m_combo->m_hWnd);
    return true;
}

void CKWComboBoxCtrlImpWin::Show(bool show)
{
    if (!GetContainerHwnd()) {
        CKWCtrlImpWin::Show(show);
        return;
    }
    m_container->ShowWindow(show ? SW_SHOW : SW_HIDE);
    CKWCtrlImpWin::Show(show);
}

void CKWComboBoxCtrlImpWin::SetWindowRect(const RECT& rect)
{
    if (!GetContainerHwnd()) {
        CKWCtrlImpWin::SetWindowRect(rect);
        return;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    m_container->MoveWindow(rect.left, rect.top, width, height, TRUE);
    if (HWND combo = GetHwnd())
        ::MoveWindow(combo, 0, 0, width, height + kListHeight, TRUE);
}

LRESULT CKWComboBoxCtrlImpWin::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = GetHwnd();
    return hWnd ? ::SendMessageW(hWnd, message, wParam, lParam) : -1;
}

int CKWComboBoxCtrlImpWin::ResetContent()
{
    return GetHwnd() ? static_cast<int>(Send(CB_RESETCONTENT)) : 0;
}

int CKWComboBoxCtrlImpWin::GetCount()
{
    return static_cast<int>(Send(CB_GETCOUNT));
}

int CKWComboBoxCtrlImpWin::SetCurSel(int index)
{
    return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index)));
}

int CKWComboBoxCtrlImpWin::GetCurSel()
{
    return static_cast<int>(Send(CB_GETCURSEL));
}

int CKWComboBoxCtrlImpWin::AddString(const wchar_t* text)
{
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int CKWComboBoxCtrlImpWin::DeleteString(int index)
{
    return static_cast<int>(Send(CB_DELETESTRING, static_cast<WPARAM>(index)));
}

int CKWComboBoxCtrlImpWin::InsertString(int index, const wchar_t* text)
{
    return static_cast<int>(Send(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int CKWComboBoxCtrlImpWin::FindStringExact(int start, const wchar_t* text)
{
    return static_cast<int>(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
}

int CKWComboBoxCtrlImpWin::FindStringCase(int start, const wchar_t* text)
{
    if (!GetHwnd())
        return -1;
    const int count = GetCount();
    for (int index = std::max(start, 0); index < count; ++index) {
        CString item;
        if (GetLBText(index, item) >= 0 && item == (text ? text : L""))
            return index;
    }
    return -1;
}

int CKWComboBoxCtrlImpWin::SetItemData(int index, DWORD_PTR value)
{
    return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(value)));
}

DWORD_PTR CKWComboBoxCtrlImpWin::GetItemData(int index)
{
    return static_cast<DWORD_PTR>(Send(CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int CKWComboBoxCtrlImpWin::GetLBText(int index, CString& text)
{
    if (index < 0 || index >= GetCount())
        return -1;
    LRESULT copied = -1;
    if (!KWReadItemText(GetHwnd(), CB_GETLBTEXTLEN, CB_GETLBTEXT, index, text, &copied))
        return -1;
    return static_cast<int>(copied);
}

void CKWComboBoxCtrlImpWin::ShowDropDown(bool show)
{
    if (HWND hWnd = GetHwnd())
        ::PostMessageW(hWnd, CB_SHOWDROPDOWN, show ? TRUE : FALSE, 0);
}

int CKWEditComboBoxCtrlImpWin::SetEditSel(int start, int end)
{
    return static_cast<int>(Send(CB_SETEDITSEL, 0, MAKELPARAM(start, end)));
}

int CKWEditComboBoxCtrlImpWin::SelectAllText()
{
    return SetEditSel(0, -1);
}

void CKWEditComboBoxCtrlImpWin::GetEditSel(int& start, int& end)
{
    if (!GetHwnd())
        return;
    const auto selection = static_cast<DWORD>(Send(CB_GETEDITSEL));
    start = LOWORD(selection);
    end = HIWORD(selection);
}
