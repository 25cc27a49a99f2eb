#include "export/pdf/SubsetFontForPDF.h"

#include "export/pdf/TrueTypeFont.h"

const wchar_t kPDFFallbackFace[] = L"Arial";

bool SubsetLoadedFont(TrueTypeFont& font, std::vector<uint16_t>& map, PDFFontRecord& record)
{
    map.resize(65536);
    font.LoadCmap();
    std::vector<bool> used(65536, false);
    for (uint16_t code : record.codes)
        used[code] = true;
    std::vector<bool> listed(65536, false);
    std::vector<uint16_t> glyphs(1, 0);
    listed[0] = true;
    for (uint32_t c = 0; c < 65536; ++c) {
        const uint16_t glyph = font.GlyphForCode(map[c]);
        map[c] = glyph;
        if (used[c] && !listed[glyph]) {
            listed[glyph] = true;
            glyphs.push_back(glyph);
        }
    }
    record.fontFile = font.MakeEmbeddable(glyphs);
    return !record.fontFile.empty();
}

bool SubsetFontForPDF(std::vector<uint16_t>& map, PDFFontRecord& record)
{
    const std::vector<uint16_t> identity = map;
    TrueTypeFont font;
    if (font.LoadFromGDI(record.name, record.style, record.codes, record.advances) &&
        SubsetLoadedFont(font, map, record))
        return true;
    const std::vector<uint32_t> ownAdvances = record.advances;
    TrueTypeFont fallback;
    map = identity;
    if (fallback.LoadFromGDI(kPDFFallbackFace, record.style, record.codes, record.advances) &&
        SubsetLoadedFont(fallback, map, record))
        return true;
    // Nothing to embed: the reader substitutes a font, spaced by the face's own advances.
    record.fontFile.clear();
    record.advances = ownAdvances;
    for (uint16_t& entry : map)
        entry = 0;
    return false;
}
