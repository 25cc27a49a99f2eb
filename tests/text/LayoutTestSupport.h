#pragma once
// Helpers of the layout tests: texts laid out with the default run.
#include <string>

// The text object first: it brings the system headers, whose ReplaceText
// macro must come before the text data undoes it.
#include "text/KWTextObject.h"

#include "tests/text/TextTestSupport.h"

const CKWDoubleRect kWide(0, 0, 20000, 20000);

// One run of the default format over the text; paragraph records follow the
// line feeds; placed in rect and laid out.
inline void Make(CKWTextObject& text, const wchar_t* chars, const CKWDoubleRect& rect = kWide)
{
    const std::wstring s(chars);
    FillText(text, chars, {static_cast<uint32_t>(s.size())});
    AppendParagraphs(text, s);
    text.SetRect(rect);
    text.UpdateLayout();
}

inline double Widths(const CKWTextObject& text, int from, int to)
{
    double sum = 0;
    for (int p = from; p < to; ++p)
        sum += text.GetCharAdvance(p);
    return sum;
}
