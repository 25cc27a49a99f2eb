// CKWRtfWriter: the RTF document of a piece list.
#include "text/KWRtfWriter.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/KWFile.h"
#include "text/KWRtfCommon.h"

namespace {

// Bytes gathered before they are handed to the file.
const size_t kFlushSize = 4096;

// The one byte of ch in the code page; false when it has none (neither a
// best-fit substitute nor the default character counts as a form of it).
bool OneByteForm(wchar_t ch, int codePage, unsigned char& byte)
{
    char buffer[4];
    BOOL usedDefault = FALSE;
    const int written = ::WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, &ch, 1, buffer,
                                              sizeof buffer, nullptr, &usedDefault);
    if (written != 1 || usedDefault)
        return false;
    byte = static_cast<unsigned char>(buffer[0]);
    return true;
}

struct StyleWord {
    uint32_t bit;
    const char* on;
    const char* off;
};

const StyleWord kStyleWords[] = {
    {KWRTF_BOLD, "\\b", "\\b0"},           {KWRTF_ITALIC, "\\i", "\\i0"},
    {KWRTF_STRIKEOUT, "\\strike", "\\strike0"}, {KWRTF_OUTLINE, "\\outl", "\\outl0"},
    {KWRTF_SHADOW, "\\shad", "\\shad0"},   {KWRTF_UNDERLINE, "\\ul", "\\ulnone"},
};

}  // namespace

int CKWRtfWriter::FindOrAddFont(const char* name, int charset, int family)
{
    const std::string key(name ? name : "");
    for (const Font& font : m_fonts) {
        if (font.name == key && font.charset == charset && font.family == family)
            return font.number;
    }
    Font font;
    font.name = key;
    font.charset = charset;
    font.codePage = KWRtfCodePageOfCharset(charset);
    font.family = family;
    font.number = m_fonts.empty() ? 0 : m_fonts.back().number + 1;
    m_fonts.push_back(font);
    return font.number;
}

int CKWRtfWriter::FindOrAddColor(uint32_t value)
{
    for (const Color& color : m_colors) {
        if (color.value == value)
            return color.number;
    }
    Color color;
    color.number = m_colors.empty() ? 0 : m_colors.back().number + 1;
    color.value = value;
    m_colors.push_back(color);
    return color.number;
}

void CKWRtfWriter::AddPiece(int count, int size, uint32_t style, const char* fontName, int charset, int family,
                            uint32_t color)
{
    Piece piece;
    piece.count = std::max(count, 0);
    piece.size = size;
    piece.style = style;
    piece.font = FindOrAddFont(fontName, charset, family);
    piece.color = FindOrAddColor(color);
    if (!m_pieces.empty()) {
        const Piece& before = m_pieces.back();
        piece.mask = 0;
        if (piece.size != before.size)
            piece.mask |= kDiffSize;
        if (piece.font != before.font)
            piece.mask |= kDiffFont;
        if (piece.color != before.color)
            piece.mask |= kDiffColor;
        if (piece.style != before.style)
            piece.mask |= kDiffStyle;
    }
    m_pieces.push_back(piece);
}

void CKWRtfWriter::SetText(const wchar_t* text, int length)
{
    m_text.assign(text ? text : L"", text && length > 0 ? static_cast<size_t>(length) : 0);
}

void CKWRtfWriter::Put(const char* text)
{
    m_line += text;
}

void CKWRtfWriter::PutNumber(const char* word, int value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%d", word, value);
    m_line += buffer;
}

bool CKWRtfWriter::Flush(CKWFile& file)
{
    if (!m_line.empty()) {
        const int32_t size = static_cast<int32_t>(m_line.size());
        if (file.Write(m_line.data(), size) != size)
            m_failed = true;
        m_line.clear();
    }
    return !m_failed;
}

void CKWRtfWriter::WriteFormatWords(const Piece& piece, const Piece* previous)
{
    const uint32_t mask = previous ? piece.mask : kDiffAll;
    const size_t before = m_line.size();
    if (mask & kDiffFont)
        PutNumber("\\f", piece.font);
    if (mask & kDiffSize)
        PutNumber("\\fs", piece.size * 2);
    if (mask & kDiffColor)
        PutNumber("\\cf", piece.color);
    if (mask & kDiffStyle) {
        const uint32_t changed = previous ? piece.style ^ previous->style : 0xFFFFFFFFu;
        for (const StyleWord& word : kStyleWords) {
            if (changed & word.bit)
                Put((piece.style & word.bit) ? word.on : word.off);
        }
        // One word says the whole vertical position, so that a move from
        // superscript straight to subscript is not lost.
        if (changed & (KWRTF_SUPERSCRIPT | KWRTF_SUBSCRIPT)) {
            if (piece.style & KWRTF_SUPERSCRIPT)
                Put("\\super");
            else if (piece.style & KWRTF_SUBSCRIPT)
                Put("\\sub");
            else
                Put("\\nosupersub");
        }
    }
    if (m_line.size() != before)
        Put(" ");
}

void CKWRtfWriter::WriteChars(int from, int to, int codePage)
{
    const int length = static_cast<int>(m_text.size());
    to = std::min(to, length);
    for (int i = std::max(from, 0); i < to; ++i) {
        const wchar_t ch = m_text[static_cast<size_t>(i)];
        switch (ch) {
        case L'\t':
            Put("\\tab ");
            continue;
        case L'\r':
            if (i + 1 < length && m_text[static_cast<size_t>(i) + 1] == L'\n')
                continue;  // the line feed writes the paragraph
            Put("\\par\r\n");
            continue;
        case L'\n':
            Put("\\par\r\n");
            continue;
        case L'\\':
            Put("\\\\");
            continue;
        case L'{':
            Put("\\{");
            continue;
        case L'}':
            Put("\\}");
            continue;
        default:
            break;
        }
        if (ch < 128) {
            m_line += static_cast<char>(ch);
            continue;
        }
        // Readers take the parameter as a signed 16-bit number.
        PutNumber("\\u", ch > 32767 ? static_cast<int>(ch) - 65536 : static_cast<int>(ch));
        unsigned char byte = 0;
        if (OneByteForm(ch, codePage, byte)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\'%02x", byte);
            Put(hex);
        } else {
            Put("?");  // a fallback a reader skips as the one it expects
        }
    }
}

bool CKWRtfWriter::Write(CKWFile& file)
{
    m_line.clear();
    m_failed = false;
    Put("{\\rtf1\\ansi ");
    if (!m_fonts.empty()) {
        Put("{\\fonttbl");
        for (const Font& font : m_fonts) {
            PutNumber("{\\f", font.number);
            Put("\\");
            Put(g_kwRtfFontFamilies[font.family >= 0 && font.family < KWRTF_FAMILY_COUNT ? font.family : 0]);
            PutNumber("\\fcharset", font.charset);
            Put(" ");
            // A name's own braces and backslashes must not end its entry or
            // the table; a semicolon would end the name and is left out.
            for (const char ch : font.name) {
                if (ch == '\\' || ch == '{' || ch == '}')
                    m_line += '\\';
                if (ch != ';')
                    m_line += ch;
            }
            Put(";}");
        }
        Put("}\n");
    }
    if (!m_colors.empty()) {
        Put("{\\colortbl");
        for (int number = 0; number <= m_colors.back().number; ++number) {
            auto it = std::find_if(m_colors.begin(), m_colors.end(),
                                   [number](const Color& color) { return color.number == number; });
            if (it != m_colors.end()) {
                PutNumber("\\red", static_cast<int>(it->value & 0xFF));
                PutNumber("\\green", static_cast<int>((it->value >> 8) & 0xFF));
                PutNumber("\\blue", static_cast<int>((it->value >> 16) & 0xFF));
            }
            Put(";");
        }
        Put("}\n");
    }
    int pos = 0;
    const Piece* previous = nullptr;
    for (const Piece& piece : m_pieces) {
        WriteFormatWords(piece, previous);
        int codePage = 1252;
        for (const Font& font : m_fonts) {
            if (font.number == piece.font)
                codePage = font.codePage;
        }
        WriteChars(pos, pos + piece.count, codePage);
        pos += piece.count;
        previous = &piece;
        if (m_line.size() >= kFlushSize)
            Flush(file);
    }
    WriteChars(pos, static_cast<int>(m_text.size()), 1252);
    Put("}");
    return Flush(file);
}
