#pragma once
// Conversions between UTF-16 and UTF-8 or ANSI code pages, and the locale and
// character-set look-ups of the RTF reader and writer.
#include "platform/classlib/String.h"

#include <windows.h>

#include <memory>
#include <string>

// The default ANSI code page of a locale; false when the locale is unknown.
bool GetLocaleCodePage(LCID locale, UINT& codePage);

// The first installed locale whose default ANSI code page is codePage.
bool FindLocaleForCodePage(UINT codePage, LCID& locale);

// The code page of a GDI character set; -1 when it has none.
int CharsetToCodePage(int charset);

// The GDI character set of a code page; DEFAULT_CHARSET when it has none.
int CodePageToCharset(UINT codePage);

// Converts terminated ANSI text into buffer (length characters, terminator
// included), truncating when it does not fit; returns the characters written.
int AnsiToWideBuffer(wchar_t* buffer, const char* text, int length);

// textLength characters (-1: up to and including the terminator) to UTF-8.
// A 0 byte is written after the converted bytes, so buffer must hold
// bufferSize + 1 bytes. Null when nothing was converted.
char* WideToUtf8Buffer(char* buffer, const wchar_t* text, int textLength, int bufferSize);

// UTF-8 of length characters (-1: up to the terminator) in a new terminated
// block; *size counts the terminator. Unconvertible text gives an empty block.
std::unique_ptr<char[]> WideToUtf8Alloc(const wchar_t* text, int length, int* size);

// UTF-8 to UTF-16 into buffer, which must hold bufferSize + 1 characters;
// null when nothing was converted.
wchar_t* Utf8ToWideBuffer(wchar_t* buffer, const char* text, int textLength, int bufferSize);

// UTF-16 of length UTF-8 bytes (-1: up to the terminator) in a new terminated
// block; *count includes the terminator.
std::unique_ptr<wchar_t[]> Utf8ToWideAlloc(const char* text, int length, int* count);

// One UTF-16 character to the bytes of a code page, without terminator; the
// number of bytes written, 0 when buffer is null or smaller than 2 bytes.
int WideToMultiByteCP(wchar_t ch, char* buffer, int bufferSize, UINT codePage);

// One byte of a code page to UTF-16 into a buffer of 2 characters; the number
// of characters written.
int MultiByteToWideCP(char byte, wchar_t* buffer, UINT codePage);

// Narrow text (at most count characters) in the C runtime's current locale to
// UTF-8, terminated as by WideToUtf8Buffer; null when nothing was converted.
char* NarrowToUtf8Buffer(char* buffer, const char* text, int count, int bufferSize);

// Text of a code page (length -1: up to the terminator) into a wide string;
// no text or length 0 empties it; unconvertible text leaves it unchanged.
void MultiByteToString(CString& out, const char* text, int length, UINT codePage);

// UTF-16 text in the ANSI code page; empty for null or empty text. Characters
// the code page lacks become its default character.
std::string WideToAnsi(const wchar_t* text);

// A form of a path that ANSI file functions open: the path itself when the
// code page holds every character of it, otherwise its short (8.3) form, of
// the folder when the file does not exist yet. Empty when neither serves.
std::string AnsiPathOf(const wchar_t* path);
