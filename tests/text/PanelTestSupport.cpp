#include "tests/text/PanelTestSupport.h"

#include <gdiplus.h>

#include <gtest/gtest.h>

#include "framework/KWGdiPlusStartup.h"
#include "tests/text/TextTestSupport.h"

void SetNote(CKWTextObject& text, const std::wstring& chars)
{
    text.ClearRuns();
    text.ClearParas();
    text.AssignText(CString(chars.c_str(), static_cast<int>(chars.size())));
    text.EnsureOneRun();
    AppendParagraphs(text, chars);
}

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void SetModifiers(bool shift, bool ctrl)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
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
    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    RECT client;
    ::GetClientRect(Handle(), &client);
    const int width = client.right, height = client.bottom;
    HDC window = ::GetDC(Handle());
    HDC memory = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(window, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(Handle(), window);

    wchar_t module[MAX_PATH];
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder = folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"screenshots";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name + L".png";

    bool saved = false;
    GpBitmap* image = nullptr;
    if (StartupGdiPlus() && GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) == Ok) {
        // The PNG encoder of GDI+.
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        saved = GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Ok;
        GdipDisposeImage(image);
    }
    ::DeleteObject(bitmap);
    return saved;
}
