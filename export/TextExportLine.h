#pragma once
// TextExportLine: the laid-out lines of one text-note block as the exports
// draw them. The flag byte is the text engine's; the composition only carries it.
#include <cstdint>

#include "text/KWTextLine.h"

struct TextExportLine {
    uint8_t m_flags = 0;
    CKWTextLineVector m_lines;

    TextExportLine() = default;
    TextExportLine(const TextExportLine& other) = default;
    TextExportLine& operator=(const TextExportLine& other) = default;

    void Copy(const TextExportLine& other) { *this = other; }
    // Frees the line records; the flag stays.
    void Clear() { CKWTextLineVector().swap(m_lines); }
    int GetCount() const { return m_lines.GetSize(); }
};
