#pragma once
// CKWFontData / CKWFont: a GDI+ font and its family, made from a face name,
// a size and GDI+ style bits. GDI+ must have been started by the caller.
#include <windows.h>

namespace Gdiplus {
class GpFont;
class GpFontFamily;
}

class CKWFontData {
public:
    enum : int { kUnitPixel = 2 };  // GDI+ UnitPixel

    CKWFontData();
    virtual ~CKWFontData();

    // Replaces the font by one of this face; no font when the face or the
    // font cannot be made.
    void CreateFont(const wchar_t* face, double size, int style, int unit);
    // A pixel-sized font of this face, or of "Arial" when the face cannot be
    // made; true when a font exists.
    bool SetFont(const wchar_t* face, double size, int style);
    // Describes the font for GDI as the screen would realise it; false when
    // there is no font.
    bool GetLogFont(LOGFONTW& logFont) const;

    Gdiplus::GpFont* GetFont() const { return m_font; }
    Gdiplus::GpFontFamily* GetFamily() const { return m_family; }

    CKWFontData(const CKWFontData&) = delete;
    CKWFontData& operator=(const CKWFontData&) = delete;

private:
    void DeleteObjects();

    Gdiplus::GpFont* m_font;
    Gdiplus::GpFontFamily* m_family;
};

class CKWFont : public CKWFontData {
public:
    CKWFont() = default;
    // Falls back to "Arial" like SetFont, in the given unit.
    CKWFont(const wchar_t* face, double size, int style, int unit = kUnitPixel);
};
