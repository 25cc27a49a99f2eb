#include "framework/KWFont.h"

#include <gdiplus.h>

namespace {

const wchar_t kFallbackFace[] = L"Arial";

}  // namespace

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

CKWFontData::CKWFontData()
    : m_font(nullptr), m_family(nullptr)
{
}

CKWFontData::~CKWFontData()
{
    DeleteObjects();
}

void CKWFontData::DeleteObjects()
{
    if (m_font) {
        GdipDeleteFont(m_font);
        m_font = nullptr;
    }
    if (m_family) {
        GdipDeleteFontFamily(m_family);
        m_family = nullptr;
    }
}

void CKWFontData::CreateFont(const wchar_t* face, double size, int style, int unit)
{
    DeleteObjects();
    if (!face)
        return;
    GpFontFamily* family = nullptr;
    if (GdipCreateFontFamilyFromName(face, nullptr, &family) != Ok || !family)
        return;
    m_family = family;
    GpFont* font = nullptr;
    if (GdipCreateFont(family, static_cast<REAL>(size), style, static_cast<Unit>(unit), &font) == Ok)
        m_font = font;
}

bool CKWFontData::SetFont(const wchar_t* face, double size, int style)
{
    CreateFont(face, size, style, kUnitPixel);
    if (!m_font || !m_family)
        CreateFont(kFallbackFace, size, style, kUnitPixel);
    return m_font != nullptr;
}

bool CKWFontData::GetLogFont(LOGFONTW& logFont) const
{
    if (!m_font)
        return false;
    const HWND desktop = ::GetDesktopWindow();
    const HDC dc = ::GetDC(desktop);
    if (!dc)
        return false;
    bool done = false;
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) == Ok && graphics) {
        done = GdipGetLogFontW(m_font, graphics, &logFont) == Ok;
        GdipDeleteGraphics(graphics);
    }
    ::ReleaseDC(desktop, dc);
    return done;
}

CKWFont::CKWFont(const wchar_t* face, double size, int style, int unit)
{
    CreateFont(face, size, style, unit);
    if (!GetFont() || !GetFamily())
        CreateFont(kFallbackFace, size, style, unit);
}
