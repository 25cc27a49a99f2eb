#include "controls/KWCtrlImpWin.h"

#include "framework/KWFont.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"

#include <vector>

CKWCtrlImpWin::~CKWCtrlImpWin()
{
    if (m_font)
        ::DeleteObject(m_font);
}

void CKWCtrlImpWin::Enable(bool enable)
{
    if (m_hWnd)
        ::EnableWindow(m_hWnd, enable);
}

bool CKWCtrlImpWin::IsEnabled()
{
    return m_hWnd && ::IsWindowEnabled(m_hWnd) == 1;
}

void CKWCtrlImpWin::Show(bool show)
{
    if (m_hWnd)
        ::ShowWindow(m_hWnd, show ? SW_SHOW : SW_HIDE);
}

bool CKWCtrlImpWin::IsVisible()
{
    return ::IsWindowVisible(m_hWnd) == 1;
}

void CKWCtrlImpWin::Redraw(bool updateNow)
{
    if (!m_hWnd)
        return;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (updateNow)
        ::UpdateWindow(m_hWnd);
}

void CKWCtrlImpWin::Invalidate()
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CKWCtrlImpWin::InvalidateRect(const RECT& rect)
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, &rect, TRUE);
}

void CKWCtrlImpWin::Update()
{
    if (m_hWnd)
        ::UpdateWindow(m_hWnd);
}

void CKWCtrlImpWin::SetFocus()
{
    if (m_hWnd)
        ::SetFocus(m_hWnd);
}

void CKWCtrlImpWin::SetText(const CString& text)
{
    if (m_hWnd)
        ::SetWindowTextW(m_hWnd, text);
}

void CKWCtrlImpWin::GetText(CString& text)
{
    if (!m_hWnd)
        return;
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    text = buffer.data();
}

bool CKWCtrlImpWin::HasFocus()
{
    return m_hWnd && ::GetFocus() == m_hWnd;
}

void CKWCtrlImpWin::SetFont(const CKWFontData& font)
{
    if (!m_hWnd)
        return;
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
    LOGFONTW logFont = {};
    font.GetLogFont(logFont);
    m_font = ::CreateFontIndirectW(&logFont);
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
}

void CKWCtrlImpWin::SetWindowRect(const RECT& rect)
{
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER);
}

bool CKWCtrlImpWin::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    m_hWnd = KWCreateChildControl(L"STATIC", exStyle, style, rect, parent, id);
    return m_hWnd != nullptr;
}

HWND KWCreateChildControl(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id)
{
    return ::CreateWindowExW(exStyle, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, CWnd::SafeHwndOf(parent),
                             (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
                             AfxGetInstanceHandle(), nullptr);
}

DWORD KWContainerStyle(DWORD style)
{
    return style & 0xFFFF0000u & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
}

void CKWCtrlImpWin::GetClientRect(RECT* rect)
{
    if (m_hWnd && rect)
        ::GetClientRect(m_hWnd, rect);
}

int CKWCtrlImpWin::GetScrollPos(bool vertical)
{
    return m_hWnd ? ::GetScrollPos(m_hWnd, vertical ? SB_VERT : SB_HORZ) : 0;
}

void CKWCtrlImpWin::SetScrollPos(bool, int position)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
}

int CKWCtrlImpWin::GetScrollInfo(bool vertical, int& minimum, int& maximum, int)
{
    minimum = 0;
    maximum = 0;
    if (!m_hWnd)
        return 0;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!::GetScrollInfo(m_hWnd, vertical ? SB_VERT : SB_HORZ, &info))
        return 0;
    minimum = info.nMin;
    maximum = info.nMax;
    return info.nPos;
}
