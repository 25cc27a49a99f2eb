#pragma once
// Text rules of the HTML export: colours and alignment names as the page
// documents write them, and one escaping of body text, attribute values and
// file references.
#include <cstdint>

#include "platform/classlib/String.h"

// Body text: '&', '<' and '>' -> entities, LF -> "<BR>", TAB -> four
// non-breaking spaces; '"' and CR stay as they are, so the browser shows the
// text as typed.
CString EscapeHtmlText(const wchar_t* text);
CString EscapeHtmlText(const CString& text);

// A COLORREF (red in the low byte) as "#RRGGBB", upper case.
CString FormatHtmlColor(uint32_t colorRef);

// 0 "left", 1 "center", 2 "right", anything else empty.
CString AlignmentName(int code);

// A value inside a double-quoted attribute (or the TITLE): '&', '<', '>' and
// '"' become entities, so names from the report cannot end the value early.
CString EscapeHtmlAttribute(const wchar_t* text);
CString EscapeHtmlAttribute(const CString& text);

// A file name as a relative reference: '%' and '#' are percent-encoded, so a
// name holding them still names its file instead of a fragment or an escape.
// Blanks are left alone.
CString EncodeFileReference(const wchar_t* name);
