#include "framework/KWTextUtils.h"

#include <cwchar>
#include <cwctype>

namespace {

const wchar_t* const kUrlPrefixes[] = {
    L"http://", L"https://", L"www.",      L"mailto:", L"ftp://", L"news:",
    L"file://", L"gopher://", L"telnet:", L"wais:",   L"afp:",
};

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

bool IsWordChar(wchar_t ch) { return std::iswalnum(ch) != 0; }

}  // namespace

bool IsTextBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

int ParseSign(const wchar_t*& text) {
    while (IsTextBlank(*text)) ++text;
    if (*text == L'+') {
        ++text;
        return 1;
    }
    if (*text == L'-') {
        ++text;
        return -1;
    }
    return 1;
}

void SkipToNumber(const wchar_t*& text) {
    while (*text && !IsDigit(*text) && !(*text == L'.' && IsDigit(text[1]))) ++text;
}

bool HasTextAfterNumber(const wchar_t* text) {
    if (!text || !*text) return false;
    ParseSign(text);
    while (IsTextBlank(*text)) ++text;
    SkipToNumber(text);
    if (!*text) return false;
    wchar_t* end = nullptr;
    std::wcstod(text, &end);
    return end && end != text && *end != 0;
}

bool StartsWithUrlPrefix(const wchar_t* text) {
    if (!text || !*text) return false;
    for (const wchar_t* prefix : kUrlPrefixes) {
        if (std::wcsncmp(text, prefix, std::wcslen(prefix)) == 0) return true;
    }
    return false;
}

bool RemoveCharFromString(CString& text, wchar_t ch) {
    if (text.Find(ch) < 0) return false;
    text.Remove(ch);
    return true;
}

bool InsertBeforeChar(CString& text, wchar_t target, wchar_t inserted) {
    if (text.Find(target) < 0) return false;
    CString result;
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        if (text[i] == target) result += inserted;
        result += text[i];
    }
    text = result;
    return true;
}

int FindCharReverse(wchar_t ch, const wchar_t* text, int count) {
    if (!text) return -1;
    const int length = static_cast<int>(std::wcslen(text));
    int last = count < 0 ? length - 1 : (count == 0 ? 0 : count - 1);
    if (last > length - 1) last = length - 1;
    for (int i = last; i >= 0; --i) {
        if (text[i] == ch) return i;
    }
    return -1;
}

int FindNextWordStart(const wchar_t* buffer, int length, int position) {
    if (position < 0 || length < 1 || !buffer) return -1;
    if (position >= length) return length;
    while (position < length && !IsWordChar(buffer[position])) ++position;
    while (position < length && IsWordChar(buffer[position])) ++position;
    return position;
}

int FindPrevWordStart(const wchar_t* buffer, int length, int position) {
    if (position < 0 || length < 1 || position > length || !buffer) return -1;
    int i = position - 1;
    while (i >= 0 && !IsWordChar(buffer[i])) --i;
    // A word at position 0 (or none at all) has no character before it.
    if (i < 1) return -1;
    while (i >= 0 && IsWordChar(buffer[i])) --i;
    return i;
}
