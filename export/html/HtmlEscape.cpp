#include "export/html/HtmlEscape.h"

#include <windows.h>

CString EscapeHtmlText(const wchar_t* text)
{
    CString out;
    if (!text)
        return out;
    for (const wchar_t* p = text; *p; ++p) {
        switch (*p) {
        case L'\n':
            out += L"<BR>";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'\t':
            out += L"&nbsp;&nbsp;&nbsp;&nbsp;";
            break;
        default:
            out += *p;
            break;
        }
    }
    return out;
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
    CString out;
    if (!text)
        return out;
    for (const wchar_t* p = text; *p; ++p) {
        switch (*p) {
        case L'&':
            out += L"&amp;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'"':
            out += L"&quot;";
            break;
        default:
            out += *p;
            break;
        }
    }
    return out;
}

CString EscapeHtmlAttribute(const CString& text)
{
    return EscapeHtmlAttribute(text.GetString());
}

CString EncodeFileReference(const wchar_t* name)
{
    CString out;
    if (!name)
        return out;
    for (const wchar_t* p = name; *p; ++p) {
        if (*p == L'%')
            out += L"%25";
        else if (*p == L'#')
            out += L"%23";
        else
            out += *p;
    }
    return out;
}
