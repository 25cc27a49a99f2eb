#pragma once
// Helpers of the layout tests: texts laid out with the default run.
#include <string>
#include <vector>

#include "tests/text/TextTestSupport.h"
#include "text/KWTextObject.h"

const CKWDoubleRect kWide(0, 0, 20000, 20000);

// One run of the default format over the text; paragraph records follow the
// line feeds; placed in rect and laid out.
inline void Make(CKWTextObject& text, const wchar_t* chars, const CKWDoubleRect& rect = kWide)
{
    const std::wstring s(chars);
    std::vector<uint32_t> paras;
    uint32_t count = 0;
    for (wchar_t ch : s) {
        ++count;
        if (ch == L'\n') {
            paras.push_back(count);
            count = 0;
        }
    }
    paras.push_back(count);
    FillText(text, chars, {static_cast<uint32_t>(s.size())});
    for (uint32_t n : paras) {
        CKWParaFormat* para = new CKWParaFormat;
        para->m_count = n;
        text.AppendPara(para);
    }
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
