#include "framework/KWCodePage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <string>

namespace {

// EnumSystemLocalesW passes no context to its callback; one search runs per thread.
thread_local UINT t_wantedCodePage = 0;
thread_local LCID t_foundLocale = 0;
thread_local bool t_found = false;

BOOL CALLBACK MatchLocale(LPWSTR localeText) {
    const LCID locale = static_cast<LCID>(std::wcstoul(localeText, nullptr, 16));
    UINT codePage = 0;
    if (GetLocaleCodePage(locale, codePage) && codePage == t_wantedCodePage) {
        t_foundLocale = locale;
        t_found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool GetLocaleCodePage(LCID locale, UINT& codePage) {
    wchar_t text[6] = {0};
    if (::GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE, text, 6) == 0) return false;
    codePage = static_cast<UINT>(std::wcstoul(text, nullptr, 10));
    return true;
}

bool FindLocaleForCodePage(UINT codePage, LCID& locale) {
    t_wantedCodePage = codePage;
    t_found = false;
    ::EnumSystemLocalesW(MatchLocale, LCID_INSTALLED);
    if (t_found) locale = t_foundLocale;
    return t_found;
}

int CharsetToCodePage(int charset) {
    CHARSETINFO info = {};
    if (!::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<uintptr_t>(charset)), &info, TCI_SRCCHARSET))
        return -1;
    return static_cast<int>(info.ciACP);
}

int CodePageToCharset(UINT codePage) {
    CHARSETINFO info = {};
    if (!::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<uintptr_t>(codePage)), &info, TCI_SRCCODEPAGE))
        return DEFAULT_CHARSET;
    return static_cast<int>(info.ciCharset);
}

int AnsiToWideBuffer(wchar_t* buffer, const char* text, int length) {
    if (!buffer || length < 1) return 0;
    buffer[0] = 0;
    if (!text) return 0;
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (needed <= 1) return 0;
    if (needed <= length) return ::MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, length) - 1;
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], needed);
    std::wmemcpy(buffer, wide.data(), static_cast<size_t>(length - 1));
    buffer[length - 1] = 0;
    return length - 1;
}

char* WideToUtf8Buffer(char* buffer, const wchar_t* text, int textLength, int bufferSize) {
    if (!buffer || bufferSize < 0) return nullptr;
    buffer[0] = 0;
    if (!text || bufferSize == 0) return nullptr;
    const int written = ::WideCharToMultiByte(CP_UTF8, 0, text, textLength, buffer, bufferSize, nullptr, nullptr);
    if (written <= 0) {
        buffer[0] = 0;
        return nullptr;
    }
    buffer[written] = 0;
    return buffer;
}

std::unique_ptr<char[]> WideToUtf8Alloc(const wchar_t* text, int length, int* size) {
    if (size) *size = 0;
    if (!text) length = 0;
    if (length < 0) length = static_cast<int>(std::wcslen(text));
    int needed = length > 0 ? ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    if (needed < 0) needed = 0;
    std::unique_ptr<char[]> block(new (std::nothrow) char[static_cast<size_t>(needed) + 1]);
    if (!block) return nullptr;
    const int written =
        needed > 0 ? ::WideCharToMultiByte(CP_UTF8, 0, text, length, block.get(), needed, nullptr, nullptr) : 0;
    block[written > 0 ? written : 0] = 0;
    if (size) *size = (written > 0 ? written : 0) + 1;
    return block;
}

wchar_t* Utf8ToWideBuffer(wchar_t* buffer, const char* text, int textLength, int bufferSize) {
    if (!buffer || bufferSize < 0) return nullptr;
    buffer[0] = 0;
    if (!text || bufferSize == 0) return nullptr;
    const int written = ::MultiByteToWideChar(CP_UTF8, 0, text, textLength, buffer, bufferSize);
    if (written <= 0) {
        buffer[0] = 0;
        return nullptr;
    }
    buffer[written] = 0;
    return buffer;
}

std::unique_ptr<wchar_t[]> Utf8ToWideAlloc(const char* text, int length, int* count) {
    if (count) *count = 0;
    if (!text) length = 0;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    int needed = length > 0 ? ::MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0) : 0;
    if (needed < 0) needed = 0;
    std::unique_ptr<wchar_t[]> block(new (std::nothrow) wchar_t[static_cast<size_t>(needed) + 1]);
    if (!block) return nullptr;
    const int written = needed > 0 ? ::MultiByteToWideChar(CP_UTF8, 0, text, length, block.get(), needed) : 0;
    block[written > 0 ? written : 0] = 0;
    if (count) *count = (written > 0 ? written : 0) + 1;
    return block;
}

int WideToMultiByteCP(wchar_t ch, char* buffer, int bufferSize, UINT codePage) {
    if (!buffer || bufferSize < 2) return 0;
    const int written = ::WideCharToMultiByte(codePage, 0, &ch, 1, buffer, bufferSize, nullptr, nullptr);
    return written > 0 ? written : 0;
}

int MultiByteToWideCP(char byte, wchar_t* buffer, UINT codePage) {
    if (!buffer) return 0;
    const int written = ::MultiByteToWideChar(codePage, 0, &byte, 1, buffer, 2);
    return written > 0 ? written : 0;
}

char* NarrowToUtf8Buffer(char* buffer, const char* text, int count, int bufferSize) {
    if (!buffer || bufferSize < 0) return nullptr;
    buffer[0] = 0;
    if (!text || count <= 0) return nullptr;
    std::wstring wide(static_cast<size_t>(count) + 1, L'\0');
    const size_t converted = std::mbstowcs(&wide[0], text, static_cast<size_t>(count));
    if (converted == static_cast<size_t>(-1) || converted == 0) return nullptr;
    return WideToUtf8Buffer(buffer, wide.c_str(), static_cast<int>(converted), bufferSize);
}

void MultiByteToString(CString& out, const char* text, int length, UINT codePage) {
    if (!text || length == 0) {
        out.Empty();
        return;
    }
    const int needed = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (needed <= 0) return;
    CString converted;
    wchar_t* buffer = converted.GetBuffer(needed);
    const int written = ::MultiByteToWideChar(codePage, 0, text, length, buffer, needed);
    if (written <= 0) {
        converted.ReleaseBuffer(0);
        return;
    }
    // With length -1 the terminator is among the converted characters.
    converted.ReleaseBuffer(length < 0 ? written - 1 : written);
    out = converted;
}

std::string WideToAnsi(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string result(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], length, nullptr, nullptr);
    result.resize(static_cast<size_t>(length - 1));
    return result;
}

namespace {

// The ANSI form of text when it converts without loss; false otherwise.
bool ExactAnsi(const wchar_t* text, std::string& ansi) {
    BOOL lossy = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &lossy);
    if (length <= 1 || lossy) return false;
    ansi.assign(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, &ansi[0], length, nullptr, &lossy);
    ansi.resize(static_cast<size_t>(length - 1));
    return !lossy;
}

std::wstring ShortPathOf(const std::wstring& path) {
    const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::wstring();
    std::wstring result(needed, L'\0');
    const DWORD written = ::GetShortPathNameW(path.c_str(), &result[0], needed);
    if (written == 0 || written >= needed) return std::wstring();
    result.resize(written);
    return result;
}

}  // namespace

std::string AnsiPathOf(const wchar_t* path) {
    std::string ansi;
    if (!path || !*path || ExactAnsi(path, ansi)) return ansi;
    const std::wstring whole(path);
    std::wstring shortened = ShortPathOf(whole);
    if (shortened.empty()) {
        // A file still to be made: the folder's short form and the name as it is.
        const size_t slash = whole.find_last_of(L"\\/");
        if (slash == std::wstring::npos) return std::string();
        const std::wstring folder = ShortPathOf(whole.substr(0, slash + 1));
        if (folder.empty()) return std::string();
        shortened = folder + whole.substr(slash + 1);
        if (shortened[folder.size() - 1] != L'\\' && shortened[folder.size() - 1] != L'/')
            shortened.insert(folder.size(), 1, L'\\');
    }
    return ExactAnsi(shortened.c_str(), ansi) ? ansi : std::string();
}
