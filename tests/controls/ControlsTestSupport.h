#pragma once
// What the drawn-control tests share: the test program's application and a
// visible test window.
#include "controls/KWLinkOpener.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/Wnd.h"
#include "tests/platform/classlib/TestSupport.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace controls_test {

// The test program's application, which notes the links it is asked to open.
class CControlsTestApp : public CWinApp, public IKWLinkOpener {
public:
    CControlsTestApp() : CWinApp(L"ControlsTests") {}
    void OpenLink(const CString& text) override { openedLinks.push_back(text.GetString()); }
    std::vector<std::wstring> openedLinks;
};
CControlsTestApp& App();

// A visible top-level window at a place of the screen, for the controls
// that are made inside it.
struct ShownWindow {
    explicit ShownWindow(const CRect& place)
    {
        window.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, place.left, place.top, place.Width(),
                        place.Height(), nullptr, nullptr);
    }
    ~ShownWindow()
    {
        classlib_test::DrainMessages();
        window.DestroyWindow();
    }
    // A static child of the given client rectangle and id.
    HWND AddStatic(UINT id, const CRect& rect, DWORD style = 0) const
    {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                 rect.Width(), rect.Height(), window.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }
    CWnd window;
};

}  // namespace controls_test
