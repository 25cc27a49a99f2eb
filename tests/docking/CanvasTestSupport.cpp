#include "CanvasTestSupport.h"

#include "docking/toolbars/QMXPGlobalData.h"

#include <gdiplus.h>

namespace docking_test {

CCanvas::CCanvas(int cx, int cy, COLORREF clrFill) {
    m_dib.Create(cx, cy);
    m_dc.Attach(m_dib.GetDC());
    m_dc.FillSolidRect(0, 0, cx, cy, clrFill);
}

CCanvas::~CCanvas() { m_dc.Detach(); }

COLORREF CCanvas::At(int x, int y) {
    ::GdiFlush();
    return CQMXPDibSection::ToColor(m_dib.Pixel(x, y));
}

int CCanvas::Count(COLORREF clr, const CRect& rect) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            n += At(x, y) == clr ? 1 : 0;
    return n;
}

void CCanvas::CopyScreen(CPoint ptFrom) {
    HDC hdcScreen = ::GetDC(nullptr);
    ::BitBlt(m_dc.m_hDC, 0, 0, m_dib.Width(), m_dib.Height(), hdcScreen, ptFrom.x, ptFrom.y, SRCCOPY);
    ::ReleaseDC(nullptr, hdcScreen);
}

bool SaveScreen(const CRect& rect, const wchar_t* lpszName) {
    CCanvas canvas(rect.Width(), rect.Height());
    canvas.CopyScreen(rect.TopLeft());
    return canvas.SavePng(lpszName);
}

bool CCanvas::SavePng(const wchar_t* lpszName) {
    ::GdiFlush();
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    ::CreateDirectoryW(L"screenshots", nullptr);
    const std::wstring path = std::wstring(L"screenshots\\") + lpszName + L".png";
    // The PNG encoder.
    const CLSID clsidPng = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    bool bSaved = false;
    {
        // Rows run bottom-up in the section: start at the top row, step back.
        Gdiplus::Bitmap bitmap(m_dib.Width(), m_dib.Height(), -4 * m_dib.Width(), PixelFormat32bppRGB,
                               reinterpret_cast<BYTE*>(&m_dib.Pixel(0, 0)));
        bSaved = bitmap.Save(path.c_str(), &clsidPng, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return bSaved;
}

CSysColorsScope::CSysColorsScope(std::vector<int> indexes, std::vector<COLORREF> colors) : m_indexes(indexes) {
    for (int nIndex : m_indexes)
        m_old.push_back(::GetSysColor(nIndex));
    ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), colors.data());
    globalData.RefreshSysColors();
}

CSysColorsScope::~CSysColorsScope() {
    ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_old.data());
    globalData.RefreshSysColors();
}

const std::vector<std::wstring> CWineFontsScope::kFiles = {L"tahoma.ttf", L"tahomabd.ttf", L"marlett.ttf"};

// The prefix's file of that name in the system's fonts folder.
static std::wstring PrefixFont(const std::wstring& strName) {
    wchar_t szWindows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(szWindows, MAX_PATH);
    return std::wstring(szWindows) + L"\\Fonts\\" + strName;
}

CWineFontsScope::CWineFontsScope() {
    for (const std::wstring& file : kFiles)
        m_nAdded += ::AddFontResourceExW(PrefixFont(file).c_str(), FR_PRIVATE, nullptr) > 0 ? 1 : 0;
    globalData.UpdateFonts();
}

CWineFontsScope::~CWineFontsScope() {
    for (const std::wstring& file : kFiles)
        ::RemoveFontResourceExW(PrefixFont(file).c_str(), FR_PRIVATE, nullptr);
    globalData.UpdateFonts();
}

}  // namespace docking_test
