#include "text/KWClipboard.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/KWCodePage.h"

namespace {

// GMEM_MOVEABLE | GMEM_DDESHARE: clipboard data must be a movable block.
const UINT kClipboardBlockFlags = 0x2002;

const UINT g_rtfFormat = ::RegisterClipboardFormatW(L"Rich Text Format");
const UINT g_ansiCodePage = ::GetACP();

int AnsiCharsetOf(UINT codePage)
{
    CHARSETINFO info = {};
    if (!::TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<uintptr_t>(codePage)), &info, TCI_SRCCODEPAGE))
        return 255;
    return static_cast<int>(info.ciCharset);
}

const int g_ansiCharset = AnsiCharsetOf(g_ansiCodePage);

}  // namespace

UINT KWGetRtfClipboardFormat()
{
    return g_rtfFormat;
}

UINT KWGetDefaultAnsiCodePage()
{
    return g_ansiCodePage;
}

int KWGetDefaultAnsiCharset()
{
    return g_ansiCharset;
}

CKWClipboard::~CKWClipboard()
{
    if (m_open)
        Close();
}

bool CKWClipboard::Open(HWND owner)
{
    m_open = ::OpenClipboard(owner) ? 1 : 0;
    return m_open != 0;
}

void CKWClipboard::Close()
{
    ::CloseClipboard();
    m_open = 0;
}

uint32_t CKWClipboard::GetDataSize(UINT format) const
{
    HANDLE data = ::GetClipboardData(format);
    if (!data)
        return 0;
    if (format == CF_ENHMETAFILE)
        return ::GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), 0, nullptr);
    return static_cast<uint32_t>(::GlobalSize(data));
}

bool CKWClipboard::GetData(UINT format, void* buffer, uint32_t size, uint32_t* copied) const
{
    if (copied)
        *copied = 0;
    HANDLE data = ::GetClipboardData(format);
    if (!data)
        return false;
    uint32_t count = 0;
    if (format == CF_ENHMETAFILE) {
        count = ::GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), size, static_cast<BYTE*>(buffer));
    } else {
        // The block's own size bounds the copy: the data need not be terminated.
        count = std::min<uint32_t>(size, static_cast<uint32_t>(::GlobalSize(data)));
        if (count > 0) {
            const void* bytes = ::GlobalLock(data);
            if (!bytes)
                return false;
            std::memcpy(buffer, bytes, count);
            ::GlobalUnlock(data);
        }
    }
    if (copied)
        *copied = count;
    return true;
}

bool CKWClipboard::SetData(UINT format, const void* bytes, uint32_t size)
{
    HGLOBAL block = ::GlobalAlloc(kClipboardBlockFlags, std::max<SIZE_T>(size, 1));
    if (!block)
        return false;
    void* target = ::GlobalLock(block);
    if (!target) {
        ::GlobalFree(block);
        return false;
    }
    if (size > 0)
        std::memcpy(target, bytes, size);
    ::GlobalUnlock(block);
    if (!::SetClipboardData(format, block)) {
        ::GlobalFree(block);  // still ours when the clipboard did not take it
        return false;
    }
    return true;
}

bool CKWClipboard::GetUnicodeText(CString& text) const
{
    const uint32_t size = GetDataSize(CF_UNICODETEXT);
    std::vector<wchar_t> chars(size / sizeof(wchar_t) + 1, L'\0');
    uint32_t copied = 0;
    if (!GetData(CF_UNICODETEXT, chars.data(), size, &copied))
        return false;
    const size_t count = copied / sizeof(wchar_t);
    const size_t length = std::find(chars.begin(), chars.begin() + count, L'\0') - chars.begin();
    text = CString(chars.data(), static_cast<int>(length));
    return true;
}

bool CKWClipboard::GetAnsiText(CString& text, int& charset) const
{
    UINT codePage = g_ansiCodePage;
    LCID locale = 0;
    uint32_t copied = 0;
    if (IsFormatAvailable(CF_LOCALE) && GetData(CF_LOCALE, &locale, sizeof locale, &copied) &&
        copied == sizeof locale) {
        UINT localeCodePage = 0;
        if (GetLocaleCodePage(locale, localeCodePage))
            codePage = localeCodePage;
    }
    charset = CodePageToCharset(codePage);
    const uint32_t size = GetDataSize(CF_TEXT);
    std::vector<char> bytes(size + 1, '\0');
    if (!GetData(CF_TEXT, bytes.data(), size, &copied))
        return false;
    const size_t length = std::find(bytes.begin(), bytes.begin() + copied, '\0') - bytes.begin();
    text.Empty();
    MultiByteToString(text, bytes.data(), static_cast<int>(length), codePage);
    return true;
}

bool CKWClipboard::SetUnicodeText(const CString& text)
{
    return SetData(CF_UNICODETEXT, text.GetString(),
                   static_cast<uint32_t>((static_cast<size_t>(text.GetLength()) + 1) * sizeof(wchar_t)));
}

bool CKWClipboard::SetAnsiText(const CString& text, int charset)
{
    int codePage = charset >= 0 ? CharsetToCodePage(charset) : -1;
    if (codePage < 0)
        codePage = static_cast<int>(g_ansiCodePage);
    if (charset >= 0) {
        LCID locale = 0;
        if (FindLocaleForCodePage(static_cast<UINT>(codePage), locale))
            SetData(CF_LOCALE, &locale, sizeof locale);
    }
    const int length = text.GetLength();
    const int needed = length > 0 ? ::WideCharToMultiByte(static_cast<UINT>(codePage), 0, text.GetString(), length,
                                                           nullptr, 0, nullptr, nullptr)
                                  : 0;
    std::vector<char> bytes(static_cast<size_t>(std::max(needed, 0)) + 1, '\0');
    if (needed > 0)
        ::WideCharToMultiByte(static_cast<UINT>(codePage), 0, text.GetString(), length, bytes.data(), needed,
                              nullptr, nullptr);
    return SetData(CF_TEXT, bytes.data(), static_cast<uint32_t>(bytes.size()));
}
