// TrueTypeFont: loading a face through GDI.
#include "export/pdf/TrueTypeFont.h"

#include <windows.h>

namespace {

const int kEmHeight = -1000;  // so that advances come in thousandths of the em

// GDI's table tags read as little-endian DWORDs of the four characters.
DWORD GdiTag(uint32_t tag)
{
    return (tag >> 24 & 0xFF) | (tag >> 8 & 0xFF00) | (tag << 8 & 0xFF0000) | (tag << 24 & 0xFF000000u);
}

const uint32_t kTablesRead[] = {
    TrueTypeTag('c', 'm', 'a', 'p'), TrueTypeTag('c', 'v', 't', ' '), TrueTypeTag('f', 'p', 'g', 'm'),
    TrueTypeTag('g', 'l', 'y', 'f'), TrueTypeTag('h', 'e', 'a', 'd'), TrueTypeTag('h', 'h', 'e', 'a'),
    TrueTypeTag('h', 'm', 't', 'x'), TrueTypeTag('l', 'o', 'c', 'a'), TrueTypeTag('m', 'a', 'x', 'p'),
    TrueTypeTag('p', 'r', 'e', 'p'),
};

}  // namespace

bool TrueTypeFont::LoadFromGDI(const wchar_t* face, uint8_t style, const std::vector<uint16_t>& codes,
                               std::vector<uint32_t>& advances)
{
    m_tables.clear();
    m_cmapLoaded = false;
    advances.assign(codes.size(), 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc)
        return false;
    if (::GetMapMode(dc) != MM_TEXT)
        ::SetMapMode(dc, MM_TEXT);
    HFONT font = ::CreateFontW(kEmHeight, 0, 0, 0, (style & 1) ? FW_BOLD : FW_NORMAL, (style & 2) ? TRUE : FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, 0, 0, 0, face);
    if (!font) {
        ::DeleteDC(dc);
        return false;
    }
    HGDIOBJ previous = ::SelectObject(dc, font);
    // Table by table: this also serves a face inside a collection, whose
    // whole-file data would start with the collection's header.
    for (uint32_t tag : kTablesRead) {
        const DWORD size = ::GetFontData(dc, GdiTag(tag), 0, nullptr, 0);
        if (size == GDI_ERROR || size > 0x7FFFFFFF)
            continue;
        std::vector<uint8_t> data(size, 0);
        if (size && ::GetFontData(dc, GdiTag(tag), 0, data.data(), size) != size)
            continue;
        m_tables[tag] = std::move(data);
    }
    for (size_t i = 0; i < codes.size(); ++i) {
        INT width = 0;
        if (::GetCharWidth32W(dc, codes[i], codes[i], &width) && width > 0)
            advances[i] = static_cast<uint32_t>(width);
    }
    ::SelectObject(dc, previous);
    ::DeleteObject(font);
    ::DeleteDC(dc);
    return HasOutlines();
}
