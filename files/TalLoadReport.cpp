#include "files/TalLoadReport.h"

namespace {

const wchar_t kMoreLines[] = L"%d more lines are not shown.";

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n' || ch == L'\f' || ch == L'\v';
}

}  // namespace

const wchar_t CTalLoadReport::kIncompatibleFormat[] = L"Incompatable format of file.";

void CTalLoadReport::Add(const CString& line)
{
    if (m_lines.size() < kMaxLines)
        m_lines.push_back(line);
    else
        ++m_more;
}

void CTalLoadReport::AddMessage(const CString& message)
{
    const wchar_t* text = message.GetString();
    int end = message.GetLength();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    int start = 0;
    for (int at = 0; at < end; ++at) {
        if (text[at] != L'\n')
            continue;
        const int lineEnd = at > start && text[at - 1] == L'\r' ? at - 1 : at;
        Add(CString(text + start, lineEnd - start));
        start = at;
        while (start < end && IsBlank(text[start]))
            ++start;
        at = start - 1;
    }
    Add(CString(text + start, end - start));
}

std::vector<CString> CTalLoadReport::TakeLines()
{
    std::vector<CString> lines;
    lines.swap(m_lines);
    if (m_more > 0) {
        CString line;
        line.Format(kMoreLines, static_cast<int>(m_more > INT32_MAX ? INT32_MAX : m_more));
        lines.push_back(line);
    }
    m_more = 0;
    return lines;
}
