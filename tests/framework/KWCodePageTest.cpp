#include "framework/KWCodePage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

namespace {

// "Grüße €" and a character outside the basic plane (U+1D11E).
const wchar_t kWideText[] = L"Gr\u00FC\u00DFe \u20AC\xD834\xDD1E";
const char kUtf8Text[] = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\xF0\x9D\x84\x9E";

TEST(KWCodePageTest, Utf8AllocRoundTrip) {
    int size = 0;
    std::unique_ptr<char[]> utf8 = WideToUtf8Alloc(kWideText, -1, &size);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(size, static_cast<int>(sizeof(kUtf8Text)));
    EXPECT_EQ(std::memcmp(utf8.get(), kUtf8Text, sizeof(kUtf8Text)), 0);

    int count = 0;
    std::unique_ptr<wchar_t[]> wide = Utf8ToWideAlloc(utf8.get(), -1, &count);
    ASSERT_TRUE(wide);
    EXPECT_EQ(count, static_cast<int>(std::wcslen(kWideText)) + 1);
    EXPECT_STREQ(wide.get(), kWideText);

    // A length converts only that part.
    utf8 = WideToUtf8Alloc(kWideText, 3, &size);
    EXPECT_EQ(size, 5);
    EXPECT_STREQ(utf8.get(), "Gr\xC3\xBC");
    wide = Utf8ToWideAlloc(kUtf8Text, 4, &count);
    EXPECT_EQ(count, 4);
    EXPECT_STREQ(wide.get(), L"Gr\u00FC");

    // Nothing gives an empty block.
    for (const wchar_t* nothing : {L"", static_cast<const wchar_t*>(nullptr)}) {
        size = -1;
        utf8 = WideToUtf8Alloc(nothing, nothing ? -1 : 5, &size);
        ASSERT_TRUE(utf8);
        EXPECT_EQ(size, 1);
    }
    EXPECT_EQ(WideToUtf8Alloc(L"", -1, &size)[0], 0);
    count = -1;
    wide = Utf8ToWideAlloc("", -1, &count);
    ASSERT_TRUE(wide);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(wide[0], 0);
}

TEST(KWCodePageTest, WideToUtf8BufferTerminatesAfterTheConvertedBytes) {
    const int bytes = static_cast<int>(std::strlen(kUtf8Text));
    char buffer[64];
    std::memset(buffer, 'x', sizeof(buffer));
    const int characters = static_cast<int>(std::wcslen(kWideText));
    EXPECT_EQ(WideToUtf8Buffer(buffer, kWideText, characters, bytes), buffer);
    EXPECT_EQ(std::memcmp(buffer, kUtf8Text, static_cast<size_t>(bytes)), 0);
    EXPECT_EQ(buffer[bytes], 0);

    // -1 converts the terminator too, which needs one byte more.
    EXPECT_EQ(WideToUtf8Buffer(buffer, kWideText, -1, bytes), nullptr);
    EXPECT_EQ(WideToUtf8Buffer(buffer, kWideText, -1, bytes + 1), buffer);
    EXPECT_STREQ(buffer, kUtf8Text);

    EXPECT_EQ(WideToUtf8Buffer(buffer, kWideText, characters, bytes - 1), nullptr);
    EXPECT_EQ(WideToUtf8Buffer(buffer, kWideText, 0, bytes), nullptr);
    EXPECT_EQ(WideToUtf8Buffer(nullptr, kWideText, -1, bytes), nullptr);
}

TEST(KWCodePageTest, Utf8ToWideBufferTerminatesAfterTheConvertedCharacters) {
    const int characters = static_cast<int>(std::wcslen(kWideText));
    wchar_t buffer[32];
    std::wmemset(buffer, L'x', 32);
    const int bytes = static_cast<int>(std::strlen(kUtf8Text));
    EXPECT_EQ(Utf8ToWideBuffer(buffer, kUtf8Text, bytes, characters), buffer);
    EXPECT_STREQ(buffer, kWideText);
    // Too small a buffer converts nothing (cut before the euro sign: Wine
    // splits a surrogate pair where Windows fails).
    EXPECT_EQ(Utf8ToWideBuffer(buffer, kUtf8Text, bytes, characters - 3), nullptr);
    EXPECT_EQ(Utf8ToWideBuffer(buffer, kUtf8Text, -1, characters + 1), buffer);
    EXPECT_STREQ(buffer, kWideText);
    EXPECT_EQ(Utf8ToWideBuffer(buffer, nullptr, -1, 10), nullptr);
}

struct CodePageCase {
    UINT codePage;
    wchar_t character;
    const char* bytes;
};

TEST(KWCodePageTest, CharacterByCharacterConversions) {
    const CodePageCase cases[] = {
        {1252, L'\u20AC', "\x80"}, {1252, L'\u00E9', "\xE9"}, {1251, L'\u20AC', "\x88"},
        {1251, L'\u0416', "\xC6"}, {1251, L'\u044F', "\xFF"}, {1253, L'\u03A9', "\xD9"},
        {1252, L'A', "A"},
    };
    for (const CodePageCase& c : cases) {
        SCOPED_TRACE(c.codePage);
        SCOPED_TRACE(static_cast<int>(c.character));
        char bytes[4] = {0};
        const int length = static_cast<int>(std::strlen(c.bytes));
        EXPECT_EQ(WideToMultiByteCP(c.character, bytes, sizeof(bytes), c.codePage), length);
        EXPECT_EQ(std::memcmp(bytes, c.bytes, static_cast<size_t>(length)), 0);
        if (length == 1) {
            wchar_t wide[2] = {0, 0};
            EXPECT_EQ(MultiByteToWideCP(c.bytes[0], wide, c.codePage), 1);
            EXPECT_EQ(wide[0], c.character);
        }
    }
    // The conversion needs room for two bytes.
    char bytes[2] = {0, 0};
    EXPECT_EQ(WideToMultiByteCP(L'A', bytes, 1, 1252), 0);
    EXPECT_EQ(WideToMultiByteCP(L'A', nullptr, 2, 1252), 0);
    EXPECT_EQ(WideToMultiByteCP(L'A', bytes, 2, 1252), 1);
    EXPECT_EQ(bytes[0], 'A');
}

// Every byte of a single-byte code page comes back from its UTF-16 form.
TEST(KWCodePageTest, SingleByteCodePagesRoundTrip) {
    for (UINT codePage : {1251u, 1252u, 1253u}) {
        for (int value = 0x20; value <= 0xFF; ++value) {
            const char byte = static_cast<char>(value);
            wchar_t wide[2] = {0, 0};
            ASSERT_EQ(MultiByteToWideCP(byte, wide, codePage), 1) << codePage << " " << value;
            char back[4] = {0};
            ASSERT_EQ(WideToMultiByteCP(wide[0], back, sizeof(back), codePage), 1) << codePage << " " << value;
            EXPECT_EQ(back[0], byte) << codePage << " " << value;
        }
    }
}

TEST(KWCodePageTest, MultiByteToString) {
    const char russian[] = "\xCF\xF0\xE8\xE2\xE5\xF2";  // "Привет" in code page 1251
    const wchar_t* const german = L"Gr\u00FC\u00DF" L"e";
    // Nothing convertible keeps the string; no text empties it.
    const struct {
        const wchar_t* before;
        const char* bytes;
        int length;
        UINT codePage;
        const wchar_t* after;
    } cases[] = {
        {L"old", russian, -1, 1251, L"\u041F\u0440\u0438\u0432\u0435\u0442"}, {L"old", russian, 2, 1251, L"\u041F\u0440"},
        {L"old", "caf\xE9", -1, 1252, L"caf\u00E9"}, {L"old", "Gr\xC3\xBC\xC3\x9F" "e", -1, CP_UTF8, german},
        {german, "abc", -1, 12345, german}, {german, "abc", 0, 1252, L""}, {L"x", nullptr, -1, 1252, L""},
        {L"x", "", -1, 1252, L""},
    };
    for (const auto& c : cases) {
        CString text(c.before);
        MultiByteToString(text, c.bytes, c.length, c.codePage);
        EXPECT_STREQ(text, c.after) << c.codePage << " " << c.length;
    }
}

TEST(KWCodePageTest, AnsiAndNarrowBuffers) {
    ASSERT_EQ(1252u, ::GetACP()) << "the test set-up runs every program with the ANSI code page 1252";
    wchar_t buffer[8];
    EXPECT_EQ(AnsiToWideBuffer(buffer, "caf\xE9", 8), 4);
    EXPECT_STREQ(buffer, L"caf\u00E9");
    EXPECT_EQ(AnsiToWideBuffer(buffer, "caf\xE9", 3), 2);
    EXPECT_STREQ(buffer, L"ca");
    EXPECT_EQ(AnsiToWideBuffer(buffer, "", 8), 0);
    EXPECT_STREQ(buffer, L"");

    char narrow[16];
    EXPECT_EQ(NarrowToUtf8Buffer(narrow, "abcdef", 3, 15), narrow);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(NarrowToUtf8Buffer(narrow, "abcdef", 10, 15), narrow);
    EXPECT_STREQ(narrow, "abcdef");
    EXPECT_EQ(NarrowToUtf8Buffer(narrow, "abcdef", 6, 4), nullptr);
    EXPECT_EQ(NarrowToUtf8Buffer(narrow, nullptr, 6, 15), nullptr);
    EXPECT_EQ(NarrowToUtf8Buffer(narrow, "", 6, 15), nullptr);
}

TEST(KWCodePageTest, LocaleCodePagesBothWays) {
    struct Case {
        LCID locale;
        UINT codePage;
    };
    const Case cases[] = {{0x0409, 1252}, {0x0419, 1251}, {0x0408, 1253}, {0x0411, 932}};
    for (const Case& c : cases) {
        UINT codePage = 0;
        EXPECT_TRUE(GetLocaleCodePage(c.locale, codePage)) << c.locale;
        EXPECT_EQ(codePage, c.codePage) << c.locale;
    }
    UINT codePage = 77;
    EXPECT_FALSE(GetLocaleCodePage(0x7777, codePage));
    EXPECT_EQ(codePage, 77u);

    for (UINT wanted : {1251u, 1252u, 1253u}) {
        LCID locale = 0;
        ASSERT_TRUE(FindLocaleForCodePage(wanted, locale)) << wanted;
        EXPECT_TRUE(GetLocaleCodePage(locale, codePage));
        EXPECT_EQ(codePage, wanted);
    }
    LCID locale = 0x1234;
    EXPECT_FALSE(FindLocaleForCodePage(4711, locale));
    EXPECT_EQ(locale, 0x1234u);
}

TEST(KWCodePageTest, CharsetsAndCodePages) {
    const int cases[][2] = {{ANSI_CHARSET, 1252}, {RUSSIAN_CHARSET, 1251}, {GREEK_CHARSET, 1253},
                            {SHIFTJIS_CHARSET, 932}, {EASTEUROPE_CHARSET, 1250}};
    for (const auto& c : cases) {
        EXPECT_EQ(CharsetToCodePage(c[0]), c[1]) << c[0];
        EXPECT_EQ(CodePageToCharset(static_cast<UINT>(c[1])), c[0]) << c[1];
    }
    EXPECT_EQ(CharsetToCodePage(250), -1);
    EXPECT_EQ(CodePageToCharset(4711), DEFAULT_CHARSET);
}

}  // namespace
