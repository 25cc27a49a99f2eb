// CKWRtfReader: tokens, groups, character states and the font and colour
// tables of an RTF document.
#include "text/KWRtfReader.h"

#include <algorithm>
#include <cstdint>

#include "framework/KWCodePage.h"
#include "framework/KWFile.h"
#include "text/KWRtfCommon.h"
#include "text/KWRtfKeywords.h"

namespace {

// A parameter keeps growing no further than this; longer digit strings are
// read whole but saturate.
const int64_t kParamLimit = 1000000000;
// Bytes of a font name kept.
const size_t kMaxFontName = 255;

bool IsLetter(int ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsDigit(int ch)
{
    return ch >= '0' && ch <= '9';
}

int HexValue(int ch)
{
    if (IsDigit(ch))
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// The entry of a table with the number (its first one); -1 stands for the
// first entry.
template <typename Entry>
const Entry* FindNumbered(const std::vector<Entry>& table, const std::map<int, size_t>& numbers, int number)
{
    if (number == -1)
        return table.empty() ? nullptr : &table.front();
    auto found = numbers.find(number);
    return found == numbers.end() ? nullptr : &table[found->second];
}

}  // namespace

void CKWRtfReader::SetInput(CKWFile* file)
{
    m_file = file;
    m_pushedBack = -1;
    m_atEnd = false;
}

int CKWRtfReader::ReadByte()
{
    if (m_pushedBack >= 0) {
        const int ch = m_pushedBack;
        m_pushedBack = -1;
        return ch;
    }
    if (m_atEnd || !m_file)
        return -1;
    unsigned char byte = 0;
    if (m_file->Read(&byte, 1) != 1) {
        m_atEnd = true;
        return -1;
    }
    return byte;
}

void CKWRtfReader::SetControl(const char* word)
{
    uint8_t keywordClass = 0, index = 0;
    if (KWRtfLookupKeyword(word, keywordClass, index)) {
        m_token.tokenClass = kControl;
        m_token.major = keywordClass;
        m_token.minor = index;
    } else {
        m_token.tokenClass = kUnknown;
    }
}

const CKWRtfReader::Token& CKWRtfReader::GetToken()
{
    Token& t = m_token;
    t.tokenClass = kUnknown;
    t.major = t.minor = 0;
    t.param = kNoParam;
    t.text[0] = 0;

    int ch = ReadByte();
    if (ch < 0) {
        t.tokenClass = kEnd;
        return t;
    }
    if (ch == '{' || ch == '}') {
        t.tokenClass = kGroup;
        t.major = ch == '{' ? 0 : 1;
        return t;
    }
    if (ch == '\t') {
        SetControl("tab");
        return t;
    }
    if (ch != '\\') {
        t.tokenClass = kText;
        t.major = ch;
        return t;
    }

    ch = ReadByte();
    if (ch < 0) {
        t.tokenClass = kEnd;
        return t;
    }
    if (IsLetter(ch)) {
        // The word is consumed whole; one longer than the buffer is unknown.
        size_t length = 0;
        while (IsLetter(ch)) {
            if (length < kTokenBufferSize - 1)
                t.text[length] = static_cast<char>(ch);
            ++length;
            ch = ReadByte();
        }
        t.text[std::min<size_t>(length, kTokenBufferSize - 1)] = 0;
        bool negative = false;
        if (ch == '-') {
            negative = true;
            ++length;
            ch = ReadByte();
        }
        if (IsDigit(ch)) {
            int64_t value = 0;
            while (IsDigit(ch)) {
                value = std::min<int64_t>(value * 10 + (ch - '0'), kParamLimit);
                ++length;
                ch = ReadByte();
            }
            t.param = static_cast<int>(negative ? -value : value);
        }
        if (ch >= 0 && ch != ' ')
            m_pushedBack = ch;  // a blank after a control word belongs to it
        if (length >= kTokenBufferSize)
            t.tokenClass = kUnknown;
        else
            SetControl(t.text);
        return t;
    }
    if (ch == '\'') {
        int value = 0, digits = 0;
        while (digits < 2) {
            const int next = ReadByte();
            const int hex = HexValue(next);
            if (hex < 0) {
                if (next >= 0)
                    m_pushedBack = next;
                break;
            }
            value = value * 16 + hex;
            ++digits;
        }
        if (digits > 0) {
            t.tokenClass = kText;
            t.major = value;
            t.minor = kEscapedText;
        }
        return t;
    }
    if (ch == ':' || ch == '{' || ch == '}' || ch == '\\') {
        t.tokenClass = kText;
        t.major = ch;
        return t;
    }
    if (ch == '\n' || ch == '\r') {
        SetControl("par");
        return t;
    }
    t.text[0] = static_cast<char>(ch);
    t.text[1] = 0;
    SetControl(t.text);
    return t;
}

void CKWRtfReader::Read(CKWFile& file)
{
    m_fonts.clear();
    m_colors.clear();
    m_fontNumbers.clear();
    m_colorNumbers.clear();
    m_stack.clear();
    m_atGroupStart = false;
    m_optionalWord = false;
    m_pieces.clear();
    m_text.clear();
    m_state = CharState();
    m_stateChanged = false;
    m_fallbackCount = 1;
    m_skipBytes = 0;
    SetInput(&file);

    bool reading = true;
    while (reading) {
        const Token& t = GetToken();
        const bool groupStart = m_atGroupStart;
        m_atGroupStart = false;
        // A control word stands for one character of a "\u" fallback too.
        if ((t.tokenClass == kControl || t.tokenClass == kUnknown) && m_skipBytes > 0) {
            --m_skipBytes;
            continue;
        }
        // The word after a "\*" within a group is one the reader may pass over.
        if (m_optionalWord && t.tokenClass != kText) {
            m_optionalWord = false;
            if (t.tokenClass == kControl && t.major == KWRTF_CLASS_DESTINATION)
                continue;
        }
        switch (t.tokenClass) {
        case kEnd:
            reading = false;
            break;
        case kGroup:
            m_skipBytes = 0;  // a fallback does not reach past its group
            m_optionalWord = false;
            if (t.major == 0) {
                reading = PushState();
                m_atGroupStart = true;
            } else {
                PopState();
            }
            break;
        case kText:
            if (t.major != '\n' && t.major != '\r')
                AppendByte(t.major);
            else if (t.minor == kEscapedText && m_skipBytes > 0)
                --m_skipBytes;  // an escape, even a malformed one, is a character of a "\u" fallback
            break;
        case kControl:
            if (t.major == KWRTF_CLASS_SPECIAL && t.minor == KWRTF_SPECIAL_OPTIONAL && !groupStart) {
                m_optionalWord = true;
                break;
            }
            reading = HandleControl();
            break;
        default:
            break;
        }
    }
    SetInput(nullptr);
}

bool CKWRtfReader::PushState()
{
    if (m_stack.size() >= static_cast<size_t>(kMaxDepth))
        return false;
    m_stack.push_back({m_state, m_fallbackCount});
    return true;
}

void CKWRtfReader::PopState()
{
    if (m_stack.empty())
        return;
    const CharState restored = m_stack.back().chars;
    m_fallbackCount = m_stack.back().fallbackCount;
    m_stack.pop_back();
    if (restored != m_state) {
        m_state = restored;
        m_stateChanged = true;
    }
}

bool CKWRtfReader::SkipNestedGroup()
{
    size_t depth = 1;
    for (;;) {
        const Token& t = GetToken();
        if (t.tokenClass == kEnd)
            return false;
        if (t.tokenClass != kGroup)
            continue;
        if (t.major == 0) {
            if (m_stack.size() + ++depth > static_cast<size_t>(kMaxDepth))
                return false;
        } else if (--depth == 0) {
            return true;
        }
    }
}

bool CKWRtfReader::SkipGroup()
{
    if (!SkipNestedGroup())
        return false;
    PopState();
    return true;
}

bool CKWRtfReader::HandleControl()
{
    const Token& t = m_token;
    switch (t.major) {
    case KWRTF_CLASS_DEFAULT_FONT:
        m_state.font = t.param;
        m_stateChanged = true;
        break;
    case KWRTF_CLASS_DESTINATION:
        switch (t.minor) {
        case KWRTF_DEST_PICT:
        case KWRTF_DEST_INFO:
        case KWRTF_DEST_STYLESHEET:
            return SkipGroup();
        case KWRTF_DEST_FONTTBL:
            return ReadFontTable();
        case KWRTF_DEST_COLORTBL:
            return ReadColorTable();
        default:
            break;  // read as body text
        }
        break;
    case KWRTF_CLASS_SPECIAL:
        switch (t.minor) {
        case KWRTF_SPECIAL_PAR:
            AppendChar(L'\n');
            break;
        case KWRTF_SPECIAL_TAB:
            AppendChar(L'\t');
            break;
        case KWRTF_SPECIAL_UC:
            m_fallbackCount = t.param == kNoParam ? 1 : std::clamp(t.param, 0, 0xFFFF);
            break;
        case KWRTF_SPECIAL_U:
            if (t.param != kNoParam) {
                // Writers give characters above 32767 as negative numbers.
                const int value = t.param < 0 ? t.param + 65536 : t.param;
                if (value > 0 && value <= 0xFFFF)
                    AppendChar(static_cast<wchar_t>(value));
                m_skipBytes = m_fallbackCount;
            }
            break;
        case KWRTF_SPECIAL_RQUOTE:
        case KWRTF_SPECIAL_RDBLQUOTE:
        case KWRTF_SPECIAL_LQUOTE:
        case KWRTF_SPECIAL_LDBLQUOTE: {
            static const int kQuoteBytes[] = {0x92, 0x94, 0x91, 0x93};
            const int byte = kQuoteBytes[t.minor - KWRTF_SPECIAL_RQUOTE];
            wchar_t chars[2];
            const int count = MultiByteToWideCP(static_cast<char>(byte), chars, CurrentCodePage());
            for (int k = 0; k < count; ++k)
                AppendChar(chars[k]);
            break;
        }
        case KWRTF_SPECIAL_OPTIONAL:
            return SkipGroup();
        default:
            break;
        }
        break;
    case KWRTF_CLASS_CHAR_ATTR:
        HandleCharAttribute();
        break;
    default:
        break;
    }
    return true;
}

void CKWRtfReader::HandleCharAttribute()
{
    const Token& t = m_token;
    const bool on = t.param != 0;
    uint32_t& style = m_state.style;
    auto setBit = [&](uint32_t bit) { style = on ? (style | bit) : (style & ~bit); };
    switch (t.minor) {
    case KWRTF_CHAR_PLAIN:
        style = 0;
        break;
    case KWRTF_CHAR_B:
        setBit(KWRTF_BOLD);
        break;
    case KWRTF_CHAR_I:
        setBit(KWRTF_ITALIC);
        break;
    case KWRTF_CHAR_STRIKE:
        setBit(KWRTF_STRIKEOUT);
        break;
    case KWRTF_CHAR_OUTL:
        setBit(KWRTF_OUTLINE);
        break;
    case KWRTF_CHAR_SHAD:
        setBit(KWRTF_SHADOW);
        break;
    case KWRTF_CHAR_SCAPS:
        setBit(KWRTF_SMALLCAPS);
        break;
    case KWRTF_CHAR_CAPS:
        setBit(KWRTF_CAPS);
        break;
    case KWRTF_CHAR_V:
        setBit(KWRTF_HIDDEN);
        break;
    case KWRTF_CHAR_UL:
        setBit(KWRTF_UNDERLINE);
        break;
    case KWRTF_CHAR_ULW:
        setBit(KWRTF_WORDUNDERLINE);
        break;
    case KWRTF_CHAR_ULNONE:
        style &= ~(KWRTF_UNDERLINE | KWRTF_WORDUNDERLINE);
        break;
    // A vertical position replaces the other one.
    case KWRTF_CHAR_UP:
    case KWRTF_CHAR_SUPER:
        style = (style & ~KWRTF_SUBSCRIPT) | KWRTF_SUPERSCRIPT;
        break;
    case KWRTF_CHAR_DN:
    case KWRTF_CHAR_SUB:
        style = (style & ~KWRTF_SUPERSCRIPT) | KWRTF_SUBSCRIPT;
        break;
    case KWRTF_CHAR_NOSUPERSUB:
        style &= ~(KWRTF_SUPERSCRIPT | KWRTF_SUBSCRIPT);
        break;
    case KWRTF_CHAR_F:
        m_state.font = t.param;
        m_state.mask |= kSetsFont;
        m_stateChanged = true;
        return;
    case KWRTF_CHAR_FS:
        // Half points, halved with truncation, kept to sizes a font can have.
        m_state.size = std::clamp(t.param / 2, static_cast<int>(kMinSize), static_cast<int>(kMaxSize));
        m_state.mask |= kSetsSize;
        m_stateChanged = true;
        return;
    case KWRTF_CHAR_CF:
        m_state.color = t.param;
        m_state.mask |= kSetsColor;
        m_stateChanged = true;
        return;
    default:
        return;  // ignored
    }
    m_state.mask |= kSetsStyle;
    m_stateChanged = true;
}

bool CKWRtfReader::ReadFontTable()
{
    Font entry;
    bool inEntry = false;     // a "\f" started an entry not yet ended by ";"
    bool entryGroup = false;  // a "{" of an entry is open
    auto finish = [&] {
        if (inEntry && !entry.name.empty()) {
            entry.codePage = KWRtfCodePageOfCharset(entry.charset);
            AddFont(entry);
        }
        inEntry = false;
        entry = Font();
    };
    for (;;) {
        const Token& t = GetToken();
        switch (t.tokenClass) {
        case kEnd:
            return false;
        case kGroup:
            if (t.major == 0) {
                if (entryGroup) {
                    if (!SkipNestedGroup())  // an alternative name, a panose number...
                        return false;
                } else {
                    entryGroup = true;
                }
            } else if (entryGroup) {
                finish();
                entryGroup = false;
            } else {
                finish();
                PopState();
                return true;
            }
            break;
        case kText:
            if (t.major == ';')
                finish();
            else if (inEntry && t.major != '\n' && t.major != '\r' && entry.name.size() < kMaxFontName)
                entry.name += static_cast<char>(t.major);
            break;
        case kControl:
            if (t.major == KWRTF_CLASS_CHAR_ATTR && t.minor == KWRTF_CHAR_F) {
                finish();
                entry.number = t.param;
                inEntry = true;
            } else if (t.major == KWRTF_CLASS_FONT_FAMILY) {
                entry.family = t.minor;
            } else if (t.major == KWRTF_CLASS_CHARSET) {
                entry.charset = std::clamp(t.param, 0, 255);
            } else if (t.major == KWRTF_CLASS_SPECIAL && t.minor == KWRTF_SPECIAL_OPTIONAL) {
                if (!entryGroup)
                    return SkipGroup();
                // An optional group in the place of an entry: dropped whole.
                if (!SkipNestedGroup())
                    return false;
                inEntry = false;
                entry = Font();
                entryGroup = false;
            }
            break;
        default:
            break;
        }
    }
}

bool CKWRtfReader::ReadColorTable()
{
    int number = 0;
    uint32_t value = 0;
    bool any = false;
    for (;;) {
        const Token& t = GetToken();
        switch (t.tokenClass) {
        case kEnd:
            return false;
        case kGroup:
            if (t.major == 0) {
                if (!SkipNestedGroup())
                    return false;
            } else {
                PopState();
                return true;
            }
            break;
        case kText:
            if (t.major == ';') {
                if (any)  // an entry without components keeps its number only
                    AddColor({number, value});
                ++number;
                value = 0;
                any = false;
            }
            break;
        case kControl:
            if (t.major == KWRTF_CLASS_COLOR_NAME) {
                const uint32_t component = static_cast<uint32_t>(std::clamp(t.param, 0, 255));
                const int shift = 8 * t.minor;
                value = (value & ~(0xFFu << shift)) | (component << shift);
                any = true;
            }
            break;
        default:
            break;
        }
    }
}

int CKWRtfReader::CurrentCodePage() const
{
    const Font* font = FindFont(m_state.font);
    return font ? font->codePage : 1252;
}

void CKWRtfReader::AppendByte(int byte)
{
    if (m_skipBytes > 0) {
        --m_skipBytes;  // the fallback of a "\u" character
        return;
    }
    wchar_t chars[2];
    const int count = MultiByteToWideCP(static_cast<char>(byte), chars, CurrentCodePage());
    if (count <= 0) {
        AppendChar(static_cast<wchar_t>(byte));
        return;
    }
    for (int k = 0; k < count; ++k)
        AppendChar(chars[k]);
}

void CKWRtfReader::AppendChar(wchar_t ch)
{
    if (ch == 0)
        return;  // styled text holds no terminators
    if (m_pieces.empty() || m_stateChanged) {
        m_pieces.push_back({m_state, 1});
        m_stateChanged = false;
    } else {
        ++m_pieces.back().count;
    }
    m_text += ch;
}

void CKWRtfReader::AddFont(const Font& font)
{
    m_fontNumbers.emplace(font.number, m_fonts.size());
    m_fonts.push_back(font);
}

void CKWRtfReader::AddColor(const Color& color)
{
    m_colorNumbers.emplace(color.number, m_colors.size());
    m_colors.push_back(color);
}

const CKWRtfReader::Font* CKWRtfReader::FindFont(int number) const
{
    return FindNumbered(m_fonts, m_fontNumbers, number);
}

const CKWRtfReader::Color* CKWRtfReader::FindColor(int number) const
{
    return FindNumbered(m_colors, m_colorNumbers, number);
}
