#pragma once
// Small text helpers shared by the number parsers, the text clipboard and the
// word navigation of the edit engine.
#include "platform/classlib/String.h"

// True for the blanks that the number and unit parsers skip.
bool IsTextBlank(wchar_t ch);

// Skips blanks; a '+' gives +1 and a '-' gives -1 (both consumed); anything else +1.
int ParseSign(const wchar_t*& text);

// Moves the cursor to the first digit, or to a '.' that directly precedes one
// (so ".5" is read as a half); to the end of the text when there is no digit.
void SkipToNumber(const wchar_t*& text);

// True when characters follow the number at the start of the text (after its
// sign and blanks): "12pt" yes, "12" no, no digits at all no.
bool HasTextAfterNumber(const wchar_t* text);

// True when the text begins (case-sensitive) with a URL prefix such as "http://".
bool StartsWithUrlPrefix(const wchar_t* text);

// Removes every ch in place; false, and the text unchanged, when ch does not occur.
bool RemoveCharFromString(CString& text, wchar_t ch);

// Inserts `inserted` before every `target` in place (also where it already
// stands); false, and the text unchanged, when target does not occur.
bool InsertBeforeChar(CString& text, wchar_t target, wchar_t inserted);

// Last position of ch within the first count characters (count < 0: the whole
// text; count 0: only position 0); -1 when there is none.
int FindCharReverse(wchar_t ch, const wchar_t* text, int count);

// End of the word at or after position: skips non-alphanumerics, then
// alphanumerics. -1 for a negative position or an empty buffer; length when
// position is at or past the end.
int FindNextWordStart(const wchar_t* buffer, int length, int position);

// Position of the character before the word that ends before position;
// -1 when there is no such word or it begins the text.
int FindPrevWordStart(const wchar_t* buffer, int length, int position);
