// The test environment the other suites rely on: the Windows faces the
// program asks for have real font files behind them (the code page is
// checked where text is converted).
#include <gtest/gtest.h>
#include <windows.h>

TEST(TestEnvironment, WindowsFacesHaveFontData) {
    HDC dc = ::GetDC(nullptr);
    for (const wchar_t* face : {L"Arial", L"Times New Roman", L"Courier New"}) {
        HFONT font = ::CreateFontW(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
        HGDIOBJ old = ::SelectObject(dc, font);
        EXPECT_GT(::GetFontData(dc, 0, 0, nullptr, 0), 1000u) << "no font data behind " << face;
        ABC abc[1];
        EXPECT_TRUE(::GetCharABCWidthsW(dc, L'W', L'W', abc));
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    }
    ::ReleaseDC(nullptr, dc);
}
