#pragma once
// PPTTextStyleSheets: the default paragraph and character styles of the
// master's text types (0 title, 1 body, 2 notes, 4 other, 5 centre body,
// 6 centre title, 7 half body, 8 quarter body; type 3 has none), five
// indentation levels each, written as the master's TextMasterStyleAtoms.
#include <cstdint>

class EscherEx;

struct PPTParagraphLevel {
    uint16_t bulletOn = 0;
    uint16_t bulletChar = 0;
    uint16_t bulletFont = 0;
    uint16_t bulletSize = 100;
    uint32_t bulletColor = 0xFE000000;
    uint16_t alignment = 0;
    uint16_t lineSpacing = 100;
    uint16_t spaceBefore = 0;
    uint16_t spaceAfter = 0;
    uint16_t leftMargin = 0;  // text offset
    uint16_t indent = 0;      // bullet offset
    uint16_t defaultTab = 0;
};

struct PPTCharacterLevel {
    uint16_t styleFlags = 0;
    uint16_t font = 0;
    uint16_t eastAsianFont = 0xFFFF;
    uint16_t size = 0;
    uint32_t color = 0xFE000000;
    uint16_t position = 0;
};

struct PPTParagraphLevels {
    PPTParagraphLevel levels[5];
};

struct PPTCharacterLevels {
    PPTCharacterLevel levels[5];
};

class PPTTextStyleSheets {
public:
    static constexpr int kTextTypes = 9;
    static constexpr int kLevels = 5;
    static constexpr uint16_t kTextMasterStyleAtom = 4003;

    explicit PPTTextStyleSheets(uint16_t defaultTab);

    // False for type 3 and for types out of range.
    static bool HasType(int type) { return type >= 0 && type < kTextTypes && type != 3; }
    const PPTParagraphLevels& GetParagraphLevels(int type) const { return m_paragraphs[type]; }
    const PPTCharacterLevels& GetCharacterLevels(int type) const { return m_characters[type]; }

    // The eight TextMasterStyleAtoms, types 0, 1, 2, 4, 5, 6, 7, 8.
    void Write(EscherEx& escher) const;

private:
    void WriteAtom(EscherEx& escher, int type) const;

    PPTParagraphLevels m_paragraphs[kTextTypes];
    PPTCharacterLevels m_characters[kTextTypes];
};
