#include "files/XmlValueForms.h"

#include "files/Base64.h"
#include "framework/KWCodePage.h"
#include "framework/KWTextFileStream.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

const char kXmlHeader[] = "<?xml version='1.0' encoding='utf-8' ?>\n\n";

int32_t ClampXmlDepth(int32_t depth)
{
    if (depth < 0)
        return 0;
    return depth > kXmlMaxDepth ? kXmlMaxDepth : depth;
}

CXmlIndentation::CXmlIndentation() : m_depth(0)
{
    m_tabs[0] = 0;
}

const char* CXmlIndentation::Get(int32_t depth)
{
    depth = ClampXmlDepth(depth);
    if (depth != m_depth) {
        std::memset(m_tabs, '\t', static_cast<size_t>(depth));
        m_tabs[depth] = 0;
        m_depth = depth;
    }
    return m_tabs;
}

namespace {

void AppendCharacterReference(std::string& out, uint32_t codePoint, bool hex)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, hex ? "&#x%X;" : "&#%u;", codePoint);
    out += buffer;
}

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that cannot lead.
int SequenceLength(uint8_t lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 0;
    if (lead >= 0xC2)
        return 2;
    return 0;
}

}  // namespace

std::string XmlEscapeUtf8(const char* utf8, size_t length)
{
    std::string out;
    if (!utf8)
        return out;
    out.reserve(length + length / 8);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(utf8);
    for (size_t i = 0; i < length;) {
        uint8_t byte = p[i];
        if (byte < 0x80) {
            switch (byte) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case '\t':
            case '\n':
            case '\r': AppendCharacterReference(out, byte, false); break;
            default:
                if (byte >= 0x20)
                    out += static_cast<char>(byte);
                break;
            }
            ++i;
            continue;
        }
        int n = SequenceLength(byte);
        bool valid = n > 0 && i + static_cast<size_t>(n) <= length;
        uint32_t codePoint = 0;
        if (valid) {
            codePoint = byte & (0xFF >> (n + 1));
            for (int k = 1; k < n; ++k) {
                uint8_t next = p[i + static_cast<size_t>(k)];
                if ((next & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                codePoint = (codePoint << 6) | (next & 0x3F);
            }
        }
        if (!valid) {
            // A stray byte: as the byte's own number, as libxml2 writes it.
            AppendCharacterReference(out, byte, false);
            ++i;
            continue;
        }
        if (codePoint != 0xFFFE && codePoint != 0xFFFF && (codePoint < 0xD800 || codePoint > 0xDFFF))
            AppendCharacterReference(out, codePoint, true);
        i += static_cast<size_t>(n);
    }
    return out;
}

std::string XmlPlainForm(const wchar_t* text)
{
    if (!text || !*text)
        return std::string();
    int size = 0;
    std::unique_ptr<char[]> utf8 = WideToUtf8Alloc(text, -1, &size);
    if (!utf8 || size <= 1)
        return std::string();
    return std::string(utf8.get(), static_cast<size_t>(size - 1));
}

std::string XmlTextForm(const wchar_t* text)
{
    std::string utf8 = XmlPlainForm(text);
    return XmlEscapeUtf8(utf8.data(), utf8.size());
}

std::string XmlNarrowTextForm(const char* text)
{
    if (!text || !*text)
        return std::string();
    size_t count = std::mbstowcs(nullptr, text, 0);
    if (count == static_cast<size_t>(-1))
        return std::string();
    std::wstring wide(count + 1, L'\0');
    std::mbstowcs(&wide[0], text, count + 1);
    wide.resize(count);
    return XmlTextForm(wide.c_str());
}

std::string XmlIntegerForm(int32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return buffer;
}

std::string XmlRealForm(double value)
{
    return CKWTextFileStream::FormatDouble(value);
}

std::string XmlShortRealForm(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

const char* XmlBoolForm(bool value)
{
    return value ? "TRUE" : "FALSE";
}

std::string XmlBinaryForm(const void* bytes, int32_t count)
{
    if (!bytes || count < 1)
        return std::string();
    std::string text(static_cast<size_t>(CBase64::EncodedLength(count)), '\0');
    CBase64 coder;
    int32_t written = coder.Encode(static_cast<const uint8_t*>(bytes), &text[0], count);
    text.resize(static_cast<size_t>(written));
    return text;
}

namespace {

// The runtime's white space: blank, TAB, LF, VT, FF and CR.
template <class Char>
bool IsNumberBlank(Char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

template <class Char>
bool IsDigit(Char c)
{
    return c >= '0' && c <= '9';
}

template <class Char>
int32_t ReadInteger(const Char* p, const Char* end)
{
    while (p < end && IsNumberBlank(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    // Counted in 64 bits and held at 2^31 once beyond it.
    const int64_t kBeyond = int64_t(INT32_MAX) + 1;
    int64_t number = 0;
    for (; p < end && IsDigit(*p); ++p) {
        if (number < kBeyond)
            number = number * 10 + (*p - '0');
    }
    if (negative)
        return number >= kBeyond ? INT32_MIN : static_cast<int32_t>(-number);
    return number > INT32_MAX ? INT32_MAX : static_cast<int32_t>(number);
}

}  // namespace

int32_t ReadXmlInteger(const char* text, size_t length)
{
    return text ? ReadInteger(text, text + length) : 0;
}

int32_t ReadXmlInteger(const wchar_t* text)
{
    return text ? ReadInteger(text, text + std::wcslen(text)) : 0;
}

double ReadXmlReal(const wchar_t* text)
{
    if (!text)
        return 0.0;
    const wchar_t* p = text;
    while (IsNumberBlank(*p))
        ++p;
    const wchar_t* start = p;
    if (*p == '-' || *p == '+')
        ++p;
    int digits = 0;
    for (; IsDigit(*p); ++p)
        ++digits;
    if (*p == '.') {
        ++p;
        for (; IsDigit(*p); ++p)
            ++digits;
    }
    if (digits == 0)
        return 0.0;
    // An exponent only with its digits: "2e" is 2.
    if (*p == 'e' || *p == 'E') {
        const wchar_t* exponent = p + 1;
        if (*exponent == '-' || *exponent == '+')
            ++exponent;
        if (IsDigit(*exponent)) {
            p = exponent;
            while (IsDigit(*p))
                ++p;
        }
    }
    // Only the number's own characters reach the runtime's conversion.
    const std::wstring number(start, p);
    const double value = std::wcstod(number.c_str(), nullptr);
    if (std::isfinite(value))
        return value;
    return number[0] == '-' ? -DBL_MAX : DBL_MAX;
}

bool IsXmlImageFormat(const char* text, size_t length)
{
    if (!text || length < 1 || length > 6)
        return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum)
            return false;
    }
    return true;
}
