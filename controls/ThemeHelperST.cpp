#include "controls/ThemeHelperST.h"

namespace {

using OpenThemeDataFn = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HTHEME);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using IsAppThemedFn = BOOL(WINAPI*)();

// Function pointers of another type, taken from GetProcAddress.
template <class F>
F As(FARPROC function)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(function));
}

}  // namespace

CThemeHelperST::CThemeHelperST() : m_library(::LoadLibraryW(L"UxTheme.dll")) {}

CThemeHelperST::~CThemeHelperST()
{
    if (m_library)
        ::FreeLibrary(m_library);
}

FARPROC CThemeHelperST::Find(const char* name) const
{
    return m_library ? ::GetProcAddress(m_library, name) : nullptr;
}

HTHEME CThemeHelperST::OpenThemeData(HWND window, LPCWSTR classList)
{
    auto open = As<OpenThemeDataFn>(Find("OpenThemeData"));
    return open ? open(window, classList) : nullptr;
}

HRESULT CThemeHelperST::CloseThemeData(HTHEME theme)
{
    auto close = As<CloseThemeDataFn>(Find("CloseThemeData"));
    return close ? close(theme) : E_FAIL;
}

HRESULT CThemeHelperST::DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                            const RECT* clip)
{
    auto draw = As<DrawThemeBackgroundFn>(Find("DrawThemeBackground"));
    return draw ? draw(theme, dc, part, state, rect, clip) : E_FAIL;
}

BOOL CThemeHelperST::IsAppThemed()
{
    auto themed = As<IsAppThemedFn>(Find("IsAppThemed"));
    return themed ? themed() : FALSE;
}
