#pragma once
// Helpers shared by the styled-text tests.
#include <initializer_list>
#include <string>
#include <vector>

#include "text/KWTextData.h"

// Fills a text with characters and runs/paragraphs of the given counts,
// without going through the change operations.
template <typename Text>
void FillText(Text& text, const wchar_t* chars, std::initializer_list<uint32_t> runs,
              std::initializer_list<uint32_t> paras = {})
{
    text.ClearRuns();
    text.ClearParas();
    text.AssignText(CString(chars));
    uint8_t style = 0;
    for (uint32_t count : runs) {
        CKWCharFormat* run = new CKWCharFormat;
        run->m_count = count;
        run->m_style = style;
        style = style ? 0 : CKWCharFormat::kBold;  // neighbours differ
        text.AppendRun(run);
    }
    for (uint32_t count : paras) {
        CKWParaFormat* para = new CKWParaFormat;
        para->m_count = count;
        text.AppendPara(para);
    }
}

// A paragraph record for each paragraph of the characters.
template <typename Text>
void AppendParagraphs(Text& text, const std::wstring& chars)
{
    uint32_t count = 0;
    for (wchar_t ch : chars) {
        ++count;
        if (ch == L'\n') {
            CKWParaFormat* para = new CKWParaFormat;
            para->m_count = count;
            text.AppendPara(para);
            count = 0;
        }
    }
    CKWParaFormat* last = new CKWParaFormat;
    last->m_count = count;
    text.AppendPara(last);
}

template <typename Text>
std::vector<uint32_t> RunCounts(const Text& text)
{
    std::vector<uint32_t> counts;
    for (int i = 0; i < text.GetRunCount(); ++i)
        counts.push_back(text.GetRun(i).m_count);
    return counts;
}

template <typename Text>
std::vector<uint32_t> ParaCounts(const Text& text)
{
    std::vector<uint32_t> counts;
    for (int i = 0; i < text.GetParaCount(); ++i)
        counts.push_back(text.GetPara(i).m_count);
    return counts;
}

// A text that logs its hooks and notifications, each hook with the value the
// record held when it was called (so "before the change" is visible).
class RecordingText : public CKWTextData {
public:
    std::vector<std::string> log;
    bool keepRemoved = false;
    std::vector<CKWCharFormat*> keptRuns;

    ~RecordingText() override
    {
        for (CKWCharFormat* r : keptRuns)
            delete r;
    }

    bool OnRemoveRun(int i) override
    {
        Log("RemoveRun", i);
        if (keepRemoved)
            keptRuns.push_back(GetRunPtr(i));
        return keepRemoved;
    }
    bool OnRemovePara(int i) override { return Log("RemovePara", i); }
    bool OnInsertRun(int i) override { return Log("InsertRun", i); }
    bool OnInsertPara(int i) override { return Log("InsertPara", i); }
    bool OnSetRunStyle(int i) override { return Log("SetRunStyle", i, GetRun(i).m_style); }
    bool OnSetRunSize(int i) override { return Log("SetRunSize", i, GetRun(i).m_size); }
    bool OnSetRunColor(int i) override { return Log("SetRunColor", i, GetRun(i).m_color.GetValue()); }
    bool OnSetRunFont(int i) override { return Log("SetRunFont", i, GetRun(i).m_fontIndex); }
    bool OnSetRunVertical(int i) override { return Log("SetRunVertical", i, GetRun(i).m_vertical); }
    bool OnSetRunSpacing(int i) override { return Log("SetRunSpacing", i); }
    bool OnSetRunLength(int i) override { return Log("SetRunLength", i, GetRun(i).m_count); }
    bool OnSetParaAlign(int i) override { return Log("SetParaAlign", i, GetPara(i).m_align); }
    bool OnSetParaLeftIndent(int i) override { return Log("SetParaLeftIndent", i); }
    bool OnSetParaRightIndent(int i) override { return Log("SetParaRightIndent", i); }
    bool OnSetParaFirstLine(int i) override { return Log("SetParaFirstLine", i); }
    bool OnSetParaSpaceBefore(int i) override { return Log("SetParaSpaceBefore", i); }
    bool OnSetParaSpaceAfter(int i) override { return Log("SetParaSpaceAfter", i); }
    bool OnSetParaLineSpacing(int i) override { return Log("SetParaLineSpacing", i); }
    bool OnSetParaLength(int i) override { return Log("SetParaLength", i, GetPara(i).m_count); }
    bool OnBeforeReplace(int start, int end, int length) override
    {
        log.push_back("BeforeReplace " + std::to_string(start) + " " + std::to_string(end) + " " +
                      std::to_string(length) + " [" + Narrow(GetText()) + "]");
        return false;
    }
    void OnTextChanged() override { log.push_back("TextChanged [" + Narrow(GetText()) + "]"); }
    void OnRunsChanged() override { log.push_back("RunsChanged"); }
    void OnParasChanged() override { log.push_back("ParasChanged"); }

    static std::string Narrow(const CString& s)
    {
        std::string out;
        for (int i = 0; i < s.GetLength(); ++i)
            out += static_cast<char>(s[i]);
        return out;
    }

private:
    bool Log(const char* what, int i)
    {
        log.push_back(std::string(what) + " " + std::to_string(i));
        return false;
    }
    bool Log(const char* what, int i, long long before)
    {
        log.push_back(std::string(what) + " " + std::to_string(i) + " was " + std::to_string(before));
        return false;
    }
};
