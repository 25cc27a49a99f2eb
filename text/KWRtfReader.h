#pragma once
// CKWRtfReader: reads an RTF document (the clipboard's "Rich Text Format")
// into UTF-16 text and a list of pieces, each a run of characters with the
// character state the document gave them, with the font and colour tables
// the states refer to. Input is read one byte at a time; a document cut
// short, nested too deep or carrying words the reader does not know gives
// what was read up to there.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CKWFile;

class CKWRtfReader {
public:
    enum TokenClass { kUnknown = 0, kGroup = 1, kText = 2, kControl = 3, kEnd = 4 };
    enum : int {
        kNoParam = -1000000,  // a control word without a parameter
        kTokenBufferSize = 1024,
        // Groups open at once; deeper input ends the reading.
        kMaxDepth = 512,
        // Font sizes are kept within these points.
        kMinSize = 1,
        kMaxSize = 1670,
        kDefaultSize = 12,
        // The minor of a text token that a "\\'" escape gave.
        kEscapedText = 1,
    };

    // What a character state sets.
    enum : uint32_t { kSetsSize = 1, kSetsFont = 2, kSetsColor = 4, kSetsStyle = 8 };
    struct CharState {
        uint32_t mask = kSetsStyle;
        int size = kDefaultSize;
        int font = -1;  // number in the font table; -1: none
        int color = -1;  // number in the colour table; -1: none
        uint32_t style = 0;  // KWRTF_ bits

        bool operator==(const CharState& o) const
        {
            return mask == o.mask && size == o.size && font == o.font && color == o.color && style == o.style;
        }
        bool operator!=(const CharState& o) const { return !(*this == o); }
    };
    struct Font {
        int number = kNoParam;
        std::string name;  // the bytes of the table
        int charset = 0;
        int codePage = 1252;
        int family = 0;
    };
    struct Color {
        int number = 0;
        uint32_t value = 0;  // 0x00BBGGRR
    };
    struct Piece {
        CharState state;
        int count = 0;
    };
    struct Token {
        int tokenClass = kEnd;
        int major = 0;
        int minor = 0;
        int param = kNoParam;
        char text[kTokenBufferSize] = {0};
    };

    // Reads the whole document, replacing what an earlier read gave.
    void Read(CKWFile& file);

    const std::wstring& GetText() const { return m_text; }
    const std::vector<Piece>& GetPieces() const { return m_pieces; }
    const std::vector<Font>& GetFonts() const { return m_fonts; }
    const std::vector<Color>& GetColors() const { return m_colors; }
    // The entry of a number; -1 gives the first entry; null when absent.
    const Font* FindFont(int number) const;
    const Color* FindColor(int number) const;

    // The next token of the input (for Read; exposed for tests).
    const Token& GetToken();
    void SetInput(CKWFile* file);

private:
    int ReadByte();
    void SetControl(const char* word);
    void ReadParameter(int ch);
    bool HandleControl();
    void HandleCharAttribute();
    bool PushState();
    void PopState();
    // Skips to the end of the group that is open and closes it; false at the
    // end of input or too deep.
    bool SkipGroup();
    // Skips a group whose "{" was just read, without touching the states.
    bool SkipNestedGroup();
    bool ReadFontTable();
    bool ReadColorTable();
    void AppendByte(int byte);
    void AppendChar(wchar_t ch);
    int CurrentCodePage() const;
    void AddFont(const Font& font);
    void AddColor(const Color& color);

    CKWFile* m_file = nullptr;
    Token m_token;
    int m_pushedBack = -1;
    bool m_atEnd = false;

    // What a group restores when it ends: the character state and the
    // fallback count of "\\u".
    struct GroupState {
        CharState chars;
        int fallbackCount;
    };

    std::vector<Font> m_fonts;
    std::vector<Color> m_colors;
    // The first entry of each number, for finding it at once.
    std::map<int, size_t> m_fontNumbers;
    std::map<int, size_t> m_colorNumbers;
    CharState m_state;
    bool m_stateChanged = false;
    std::vector<GroupState> m_stack;
    // The last token opened a group: a "\\*" there makes the group an
    // optional destination; elsewhere it only marks the word after it.
    bool m_atGroupStart = false;
    bool m_optionalWord = false;
    std::vector<Piece> m_pieces;
    std::wstring m_text;
    int m_fallbackCount = 1;
    int m_skipBytes = 0;
};
