#include "export/pdf/PDFFontName.h"

#include <cstring>
#include <cwchar>

uint32_t PDFFontKey(const wchar_t* face, uint8_t style)
{
    uint32_t x = 0;
    const size_t length = face ? std::wcslen(face) : 0;
    for (size_t k = 0; k + 1 < length; k += 2)
        x ^= static_cast<uint32_t>(static_cast<uint16_t>(face[k])) << 16 | static_cast<uint16_t>(face[k + 1]);
    return (style & 3u) + x;
}

std::string MakePDFFontName(const std::string& ansiFace, uint8_t style)
{
    static const char kHex[] = "0123456789ABCDEF";
    static const char kDelimiters[] = "()<>[]{}/%#";
    std::string name;
    name.reserve(ansiFace.size() + 12);
    for (unsigned char c : ansiFace) {
        if (c < 0x21 || c > 0x7E || std::strchr(kDelimiters, c)) {
            name += '#';
            name += kHex[c >> 4];
            name += kHex[c & 15];
        } else {
            name += static_cast<char>(c);
        }
    }
    static const char* const kSuffixes[] = {"", ",Bold", ",Italic", ",BoldItalic"};
    name += kSuffixes[style & 3];
    return name;
}
