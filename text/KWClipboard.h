#pragma once
// CKWClipboard: opens and closes the Windows clipboard and moves bytes and
// text through it. The destructor closes a clipboard it opened.
#include <windows.h>

#include <cstdint>

#include "platform/classlib/String.h"

// The registered clipboard format "Rich Text Format", registered once before
// first use.
UINT KWGetRtfClipboardFormat();
// The program's ANSI code page and its character set (255 when it has none):
// what CF_TEXT is taken to be when no CF_LOCALE says otherwise.
UINT KWGetDefaultAnsiCodePage();
int KWGetDefaultAnsiCharset();

class CKWClipboard {
public:
    CKWClipboard() = default;
    ~CKWClipboard();
    CKWClipboard(const CKWClipboard&) = delete;
    CKWClipboard& operator=(const CKWClipboard&) = delete;

    // OpenClipboard with the window or none; the result is kept and returned.
    bool Open(HWND owner);
    void Close();
    bool IsOpen() const { return m_open != 0; }
    bool Empty() { return ::EmptyClipboard() != FALSE; }
    bool IsFormatAvailable(UINT format) const { return ::IsClipboardFormatAvailable(format) != FALSE; }

    // Bytes of the data of a format (of the metafile bits for CF_ENHMETAFILE);
    // 0 when there is none.
    uint32_t GetDataSize(UINT format) const;
    // At most size bytes of the data into buffer, their number in *copied;
    // false when the format is absent.
    bool GetData(UINT format, void* buffer, uint32_t size, uint32_t* copied = nullptr) const;
    // A new movable, shared block holding the bytes becomes the format's data;
    // false (and the block freed) when it cannot be made or set.
    bool SetData(UINT format, const void* bytes, uint32_t size);

    // CF_UNICODETEXT up to its terminator or the end of its block.
    bool GetUnicodeText(CString& text) const;
    // CF_TEXT converted with the code page of CF_LOCALE (else the default
    // one); charset receives that code page's character set.
    bool GetAnsiText(CString& text, int& charset) const;
    // The characters and a terminator as CF_UNICODETEXT.
    bool SetUnicodeText(const CString& text);
    // As CF_TEXT in the code page of the character set (charset < 0: the
    // default code page), with CF_LOCALE of a locale of that code page.
    bool SetAnsiText(const CString& text, int charset);

private:
    uint8_t m_open = 0;
};
