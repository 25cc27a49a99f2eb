#include "controls/KWMessageBoxFit.h"

namespace {

// At most the text field of the system's message box at its narrowest, in
// dialog units of the message font (long lines wrap at it; under Wine about
// 172): a line measured narrower takes no less room in the box.
constexpr int kNarrowestTextDlu = 160;
// What the box shows above and below its text besides the caption and
// frame (margins, the button row), in dialog units, with room to spare.
constexpr int kBoxChromeDlu = 40;

// Draws nothing: the flags of the system's box, with the height of the text.
int WrappedHeight(HDC dc, const CString& text, int width)
{
    RECT rect = {0, 0, width, 0};
    ::DrawTextW(dc, text.GetString(), text.GetLength(), &rect,
                DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    return rect.bottom - rect.top;
}

}  // namespace

size_t KWMessageBoxLinesThatFit(const CString& heading, const std::vector<CString>& lines, HWND owner)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return lines.size();
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return lines.size();
    HDC dc = ::GetDC(nullptr);
    HFONT font = ::CreateFontIndirectW(&metrics.lfMessageFont);
    HGDIOBJ old = ::SelectObject(dc, font);
    // Dialog units of the font, as the system derives them.
    TEXTMETRICW text = {};
    ::GetTextMetricsW(dc, &text);
    SIZE letters = {0, 0};
    const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    ::GetTextExtentPoint32W(dc, kAlphabet, 52, &letters);
    const int unitX = (letters.cx / 26 + 1) / 2;
    const int unitY = text.tmHeight;
    const int width = ::MulDiv(kNarrowestTextDlu, unitX, 4);
    const int room = (monitor.rcWork.bottom - monitor.rcWork.top) - ::GetSystemMetrics(SM_CYCAPTION) -
                     2 * ::GetSystemMetrics(SM_CYFIXEDFRAME) - ::MulDiv(kBoxChromeDlu, unitY, 8);
    // The heading and the last line are always shown.
    int used = WrappedHeight(dc, heading, width) + text.tmHeight;
    size_t fit = 0;
    while (fit < lines.size()) {
        used += WrappedHeight(dc, lines[fit], width);
        if (used > room)
            break;
        ++fit;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return fit;
}
