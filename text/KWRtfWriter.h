#pragma once
// CKWRtfWriter: writes a text and the pieces of its formats as an RTF
// document (the clipboard's "Rich Text Format"). Pieces are added in text
// order; each names its font and colour, which the writer numbers in the
// document's font and colour tables.
#include <cstdint>
#include <string>
#include <vector>

class CKWFile;

class CKWRtfWriter {
public:
    struct Font {
        std::string name;  // ANSI
        int charset = 0;
        int codePage = 1252;
        int family = 0;
        int number = 0;
    };
    struct Color {
        int number = 0;
        uint32_t value = 0;  // 0x00BBGGRR
    };
    // Fields of a piece that differ from the piece before it.
    enum : uint32_t { kDiffSize = 1, kDiffFont = 2, kDiffColor = 4, kDiffStyle = 8, kDiffAll = 0xFFFF };
    struct Piece {
        uint32_t mask = kDiffAll;
        int count = 0;
        int size = 0;  // points
        int font = 0;
        int color = 0;
        uint32_t style = 0;  // KWRTF_ bits
    };

    // count characters of the text in this format; the font and the colour
    // (0x00BBGGRR) are looked up in their tables or added.
    void AddPiece(int count, int size, uint32_t style, const char* fontName, int charset, int family,
                  uint32_t color);
    // The characters the pieces cover, in order; text beyond them is written
    // with no font.
    void SetText(const wchar_t* text, int length);
    // The whole document; false when the file took fewer bytes than given.
    bool Write(CKWFile& file);

    const std::vector<Font>& GetFonts() const { return m_fonts; }
    const std::vector<Color>& GetColors() const { return m_colors; }
    const std::vector<Piece>& GetPieces() const { return m_pieces; }

private:
    int FindOrAddFont(const char* name, int charset, int family);
    int FindOrAddColor(uint32_t value);
    void WriteFormatWords(const Piece& piece, const Piece* previous);
    void WriteChars(int from, int to, int codePage);
    void Put(const char* text);
    void PutNumber(const char* word, int value);
    bool Flush(CKWFile& file);

    std::vector<Font> m_fonts;
    std::vector<Color> m_colors;
    std::vector<Piece> m_pieces;
    std::wstring m_text;
    std::string m_line;  // bytes not yet given to the file
    bool m_failed = false;
};
