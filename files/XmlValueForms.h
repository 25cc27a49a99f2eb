#pragma once
// The text forms in which the XML files store values, shared by the archive's
// writer and the serializer: every value is written by hand, attributes in
// apostrophes, one element per line indented by TABs.
#include <cstdint>
#include <string>

// The first bytes of every file: the declaration and one empty line.
extern const char kXmlHeader[];

// Writers keep their depth within 0..kXmlMaxDepth.
constexpr int32_t kXmlMaxDepth = 256;
int32_t ClampXmlDepth(int32_t depth);

// The indentation of a depth: that many TABs, at most kXmlMaxDepth.
class CXmlIndentation {
public:
    CXmlIndentation();
    const char* Get(int32_t depth);

private:
    char m_tabs[kXmlMaxDepth + 1];
    int32_t m_depth;
};

// The two halves of a character beyond U+FFFF in UTF-16.
inline bool IsHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-8 escaped for an attribute value or character data. The five markup
// characters become entity references and TAB, LF and CR character
// references (a parser reads them raw as spaces in attributes, and a CR
// anywhere as a LF); other control characters are dropped; every character
// beyond ASCII becomes a hexadecimal character reference, so the result is
// pure ASCII. The non-characters U+FFFE and U+FFFF are dropped like control
// characters, since no parser accepts them back.
std::string XmlEscapeUtf8(const char* utf8, size_t length);
// The text form: UTF-16 to UTF-8, then escaped.
std::string XmlTextForm(const wchar_t* text);
// A narrow text of the runtime's current code page, widened, then as XmlTextForm.
std::string XmlNarrowTextForm(const char* text);
// UTF-16 to UTF-8 without escaping, for values the program forms itself.
std::string XmlPlainForm(const wchar_t* text);

// printf "%d".
std::string XmlIntegerForm(int32_t value);
// printf "%f" with trailing zeros removed, and the point when it is reached.
std::string XmlRealForm(double value);
// printf "%g".
std::string XmlShortRealForm(double value);
// "TRUE" or "FALSE".
const char* XmlBoolForm(bool value);
// All bytes as one Base64 run.
std::string XmlBinaryForm(const void* bytes, int32_t count);

// The form of a value by its type, for typed writers: texts (wide, or narrow
// in the current code page) in the text form, reals in the real form, whole
// numbers in the integer form, a character escaped (an apostrophe or a stray
// byte taken raw would make the file unreadable), a bool in the bool form.
inline std::string XmlValueForm(const wchar_t* text) { return XmlTextForm(text); }
inline std::string XmlValueForm(const char* text) { return XmlNarrowTextForm(text); }
inline std::string XmlValueForm(double value) { return XmlRealForm(value); }
inline std::string XmlValueForm(float value) { return XmlRealForm(value); }
inline std::string XmlValueForm(int32_t value) { return XmlIntegerForm(value); }
inline std::string XmlValueForm(int16_t value) { return XmlIntegerForm(value); }
inline std::string XmlValueForm(long value) { return XmlIntegerForm(static_cast<int32_t>(value)); }
inline std::string XmlValueForm(char value) { return XmlEscapeUtf8(&value, 1); }
inline std::string XmlValueForm(bool value) { return XmlBoolForm(value); }

// XML's white space: blank, TAB, carriage return and line feed.
inline bool IsXmlBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A whole number as the runtime's _wtol reads it: blanks, an optional sign
// and the decimal digits up to the first other character, so "12abc" is 12;
// 0 when no digit comes. Beyond 32 bits it is held at the nearer end.
int32_t ReadXmlInteger(const char* text, size_t length);
int32_t ReadXmlInteger(const wchar_t* text);
// A real number as the runtime's wcstod reads a decimal one: the longest
// start of the text that forms a number, 0 when none does. "inf", "nan" and
// hexadecimal forms are not taken (0), and a number beyond a double's range
// is held at the largest one of its sign, so the result is always finite.
double ReadXmlReal(const wchar_t* text);

// A valid picture-file extension: 1 to 6 ASCII letters and digits. Extensions
// come from files and become the extensions of files in the picture store.
bool IsXmlImageFormat(const char* text, size_t length);
