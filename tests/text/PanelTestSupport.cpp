#include "tests/text/PanelTestSupport.h"

#include <gtest/gtest.h>

#include "tests/support/WindowScreenshot.h"
#include "tests/text/TextTestSupport.h"

void SetNote(CKWTextObject& text, const std::wstring& chars)
{
    text.ClearRuns();
    text.ClearParas();
    text.AssignText(CString(chars.c_str(), static_cast<int>(chars.size())));
    text.EnsureOneRun();
    AppendParagraphs(text, chars);
}

PanelWindow::PanelWindow(int width, int height, DWORD panelStyle)
{
    m_host = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width, height,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    m_panel.reset(new TestPanel);
    const RECT rect = {0, 0, width, height};
    EXPECT_TRUE(m_panel->Create(WS_CHILD | WS_VISIBLE | panelStyle, rect, CWnd::FromHandle(m_host), 1159));
    ::SetForegroundWindow(m_host);
    DrainMessages();
}

PanelWindow::~PanelWindow()
{
    if (m_panel->m_hWnd)
        m_panel->DestroyWindow();
    ::DestroyWindow(m_host);
    SetModifiers(false, false);
    DrainMessages();
}

void PanelWindow::Edit(CKWTextObject& text)
{
    m_panel->AttachTextObject(&text);
    Press(WM_LBUTTONDOWN, PointOf(0));
    Press(WM_LBUTTONUP, PointOf(0));
}

void PanelWindow::Key(UINT key, bool shift, bool ctrl)
{
    SetModifiers(shift, ctrl);
    ::SendMessageW(Handle(), WM_KEYDOWN, key, 1);
    SetModifiers(false, false);
}

void PanelWindow::Type(const std::wstring& chars)
{
    for (wchar_t ch : chars)
        ::SendMessageW(Handle(), WM_CHAR, ch, 1);
}

void PanelWindow::Press(UINT message, POINT point, WPARAM flags)
{
    ::SendMessageW(Handle(), message, flags, MAKELPARAM(point.x, point.y));
}

POINT PanelWindow::PointOf(int position)
{
    CKWTextObject* text = m_panel->GetTextObject();
    const int line = text->LineOfPosition(position, false);
    double x = 0, y = 0;
    text->PositionToPoint(position, line, x, y);
    const CKWDoubleRect& place = text->GetRect();
    const CKWCoordMapper& mapper = m_panel->GetMapper();
    POINT point;
    point.x = mapper.ToWindowX(place.left + x);
    point.y = mapper.ToWindowY(place.top + y + text->GetLine(line).height / 2 - m_panel->GetScrollY());
    return point;
}

std::pair<int, int> PanelWindow::Selection() const
{
    return {m_panel->GetSelStart().pos, m_panel->GetSelEnd().pos};
}

bool PanelWindow::WholeWindowInvalid() const
{
    RECT client;
    ::GetClientRect(Handle(), &client);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ::GetUpdateRgn(Handle(), region, FALSE);
    HRGN whole = ::CreateRectRgnIndirect(&client);
    const bool equal = ::EqualRgn(region, whole) != FALSE;
    ::DeleteObject(region);
    ::DeleteObject(whole);
    return equal;
}

bool PanelWindow::Screenshot(const wchar_t* name)
{
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    return test_support::WriteWindowScreenshot(Handle(), name);
}
