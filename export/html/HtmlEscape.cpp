#include "export/html/HtmlEscape.h"

#include <windows.h>

namespace {

enum class EscapeKind { Text, Attribute, Reference };

// What a character becomes in a kind of text; null when it stays as it is.
const wchar_t* Replacement(wchar_t c, EscapeKind kind)
{
    if (kind == EscapeKind::Reference)
        return c == L'%' ? L"%25" : c == L'#' ? L"%23" : nullptr;
    const bool text = kind == EscapeKind::Text;
    switch (c) {
    case L'&':
        return L"&amp;";
    case L'<':
        return L"&lt;";
    case L'>':
        return L"&gt;";
    case L'"':
        return text ? nullptr : L"&quot;";
    case L'\n':
        return text ? L"<BR>" : nullptr;
    case L'\t':
        return text ? L"&nbsp;&nbsp;&nbsp;&nbsp;" : nullptr;
    default:
        return nullptr;
    }
}

CString Escape(const wchar_t* text, EscapeKind kind)
{
    CString out;
    for (const wchar_t* p = text; p && *p; ++p) {
        if (const wchar_t* replacement = Replacement(*p, kind))
            out += replacement;
        else
            out += *p;
    }
    return out;
}

}  // namespace

CString EscapeHtmlText(const wchar_t* text)
{
    return Escape(text, EscapeKind::Text);
}

CString EscapeHtmlText(const CString& text)
{
    return EscapeHtmlText(text.GetString());
}

CString FormatHtmlColor(uint32_t colorRef)
{
    CString out;
    out.Format(L"#%02x%02x%02x", GetRValue(colorRef), GetGValue(colorRef), GetBValue(colorRef));
    out.MakeUpper();
    return out;
}

CString AlignmentName(int code)
{
    switch (code) {
    case 0:
        return CString(L"left");
    case 1:
        return CString(L"center");
    case 2:
        return CString(L"right");
    default:
        return CString();
    }
}

CString EscapeHtmlAttribute(const wchar_t* text)
{
    return Escape(text, EscapeKind::Attribute);
}

CString EscapeHtmlAttribute(const CString& text)
{
    return EscapeHtmlAttribute(text.GetString());
}

CString EncodeFileReference(const wchar_t* name)
{
    return Escape(name, EscapeKind::Reference);
}
