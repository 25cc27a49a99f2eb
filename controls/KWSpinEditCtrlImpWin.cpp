#include "controls/KWSpinEditCtrlImpWin.h"

#include "controls/KWEditCtrlImpWin.h"
#include "controls/KWSpinButtonCtrlImpWin.h"

#include <commctrl.h>

BOOL CVDBaseWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && m_owner && m_owner->OnSpinEditKey(static_cast<UINT>(msg->wParam)))
        return TRUE;
    if (msg->message == WM_KEYUP && msg->wParam == VK_TAB && msg->hwnd == m_hWnd && m_focusTarget) {
        ::SetFocus(m_focusTarget);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}

BOOL CVDBaseWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == EN_KILLFOCUS && m_focusTarget && reinterpret_cast<HWND>(lParam) == m_focusTarget) {
        if (m_owner)
            m_owner->OnSpinEditEnd();
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CVDBaseWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == static_cast<UINT>(UDN_DELTAPOS) && header->hwndFrom == m_spin && m_owner) {
        const auto* spin = reinterpret_cast<const NMUPDOWN*>(lParam);
        m_owner->OnSpinEditEnd();
        m_owner->OnSpinEditSpin(spin->iPos, spin->iDelta);
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

CKWSpinEditCtrlImpWin::CKWSpinEditCtrlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd), m_existing(hWnd) {}

CKWSpinEditCtrlImpWin::~CKWSpinEditCtrlImpWin()
{
    if (!m_container || !m_container->m_hWnd)
        return;
    if (m_madeContainer) {
        m_container->DestroyWindow();
        return;
    }
    for (CKWCtrlImpWin* part : {static_cast<CKWCtrlImpWin*>(m_edit.get()), static_cast<CKWCtrlImpWin*>(m_spin.get())}) {
        if (part && part->GetHwnd())
            ::DestroyWindow(part->GetHwnd());
    }
    m_container->UnsubclassWindow();
}

void CKWSpinEditCtrlImpWin::AttachOwner(CKWSpinEditOwner* owner)
{
    if (m_container)
        return;
    m_container = std::make_unique<CVDBaseWnd>(owner);
    if (m_existing)
        m_container->SubclassWindow(m_existing);
}

bool CKWSpinEditCtrlImpWin::Create(DWORD, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!m_container || m_container->m_hWnd)
        return false;
    if (!m_container->CreateEx(0, L"STATIC", L"", KWContainerStyle(style), rect, parent, id))
        return false;
    m_madeContainer = true;
    SetHwnd(m_container->m_hWnd);
    CreateParts();
    return true;
}

void CKWSpinEditCtrlImpWin::CreateParts()
{
    HWND container = GetHwnd();
    if (!container || !m_container)
        return;
    const UINT id = static_cast<UINT>(::GetDlgCtrlID(container));
    m_edit = std::make_unique<CKWEditCtrlImpWin>();
    m_spin = std::make_unique<CKWSpinButtonCtrlImpWin>();
    const DWORD style = WS_CHILD | WS_VISIBLE;
    m_edit->Create(0, style, CRect(), m_container.get(), id);
    m_spin->Create(0, style, CRect(), m_container.get(), id + 1);
    RECT client = {};
    ::GetClientRect(container, &client);
    PlaceParts(client.right, client.bottom);
    m_container->SetFocusTarget(m_edit->GetHwnd());
    m_container->SetSpinWindow(m_spin->GetHwnd());
    if (HWND edit = m_edit->GetHwnd())
        ::SendMessageW(edit, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(container, WM_GETFONT, 0, 0)), TRUE);
}

void CKWSpinEditCtrlImpWin::PlaceParts(int width, int height)
{
    if (m_edit && m_edit->GetHwnd())
        ::MoveWindow(m_edit->GetHwnd(), 0, 0, width - kSpinWidth - 2, height, TRUE);
    if (m_spin && m_spin->GetHwnd())
        ::MoveWindow(m_spin->GetHwnd(), width - kSpinWidth, 0, kSpinWidth - 1, height - 1, TRUE);
}

void CKWSpinEditCtrlImpWin::SetWindowRect(const RECT& rect)
{
    HWND container = GetHwnd();
    if (!container)
        return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::MoveWindow(container, rect.left, rect.top, width, height, TRUE);
    PlaceParts(width, height);
}

void CKWSpinEditCtrlImpWin::Enable(bool enable)
{
    CKWCtrlImpWin::Enable(enable);
    if (m_edit)
        m_edit->Enable(enable);
    if (m_spin)
        m_spin->Enable(enable);
}

bool CKWSpinEditCtrlImpWin::IsEnabled()
{
    return CKWCtrlImpWin::IsEnabled() && m_edit && m_edit->IsEnabled() && m_spin && m_spin->IsEnabled();
}

void CKWSpinEditCtrlImpWin::Show(bool show)
{
    CKWCtrlImpWin::Show(show);
    if (m_edit)
        m_edit->Show(show);
    if (m_spin)
        m_spin->Show(show);
}

bool CKWSpinEditCtrlImpWin::IsVisible()
{
    return CKWCtrlImpWin::IsVisible() && m_edit && m_edit->IsVisible() && m_spin && m_spin->IsVisible();
}

void CKWSpinEditCtrlImpWin::Redraw(bool updateNow)
{
    if (m_edit)
        m_edit->Redraw(updateNow);
    if (m_spin)
        m_spin->Redraw(updateNow);
}

void CKWSpinEditCtrlImpWin::Invalidate()
{
    if (m_edit)
        m_edit->Invalidate();
    if (m_spin)
        m_spin->Invalidate();
}

void CKWSpinEditCtrlImpWin::SetFocus()
{
    if (m_edit)
        m_edit->SetFocus();
}

void CKWSpinEditCtrlImpWin::SetText(const CString& text)
{
    if (m_edit)
        m_edit->SetText(text);
}

void CKWSpinEditCtrlImpWin::GetText(CString& text)
{
    if (m_edit)
        m_edit->GetText(text);
}

bool CKWSpinEditCtrlImpWin::HasFocus()
{
    return m_edit && m_edit->HasFocus();
}

void CKWSpinEditCtrlImpWin::SetFont(const CKWFontData& font)
{
    if (m_edit)
        m_edit->SetFont(font);
}

bool CKWSpinEditCtrlImpWin::SetReadOnly(bool readOnly)
{
    return m_edit && m_edit->SetReadOnly(readOnly);
}

void CKWSpinEditCtrlImpWin::SetModify(bool modified)
{
    if (m_edit)
        m_edit->SetModify(modified);
}

bool CKWSpinEditCtrlImpWin::GetModify()
{
    return m_edit && m_edit->GetModify();
}

void CKWSpinEditCtrlImpWin::SetSel(int start, int end)
{
    if (m_edit)
        m_edit->SetSel(start, end);
}

void CKWSpinEditCtrlImpWin::GetSel(int& start, int& end)
{
    if (m_edit)
        m_edit->GetSel(start, end);
}

void CKWSpinEditCtrlImpWin::LimitText(int count)
{
    if (m_edit)
        m_edit->LimitText(count);
}

int CKWSpinEditCtrlImpWin::GetLimitText()
{
    return m_edit ? m_edit->GetLimitText() : 0;
}

int CKWSpinEditCtrlImpWin::GetPos()
{
    return m_spin ? m_spin->GetPos() : -1;
}

void CKWSpinEditCtrlImpWin::GetRange(int& lower, int& upper)
{
    if (m_spin)
        m_spin->GetRange(lower, upper);
}

int CKWSpinEditCtrlImpWin::SetPos(int position)
{
    return m_spin ? m_spin->SetPos(position) : -1;
}

void CKWSpinEditCtrlImpWin::SetRange(int lower, int upper)
{
    if (m_spin)
        m_spin->SetRange(lower, upper);
}
