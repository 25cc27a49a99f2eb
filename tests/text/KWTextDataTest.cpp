#include "text/KWTextData.h"

#include <gtest/gtest.h>

#include "framework/KWIndexDecoder.h"
#include "tests/text/TextTestSupport.h"

namespace {

typedef std::vector<uint32_t> Counts;
typedef std::vector<std::string> Log;

TEST(KWTextDataLookup, RunIndexAtPosIsStrictAndEndsAtTheText)
{
    CKWTextData text;
    FillText(text, L"abcdefg", {3, 2, 2});
    struct Case { int pos; int index; int end; };
    const Case cases[] = {{0, 0, 3}, {2, 0, 3}, {3, 1, 5}, {4, 1, 5}, {5, 2, 7}, {6, 2, 7}, {7, 2, 7}, {20, 2, 7}};
    for (const Case& c : cases) {
        int end = 0;
        EXPECT_EQ(c.index, text.GetRunIndexAtPos(c.pos, 0, end)) << c.pos;
        EXPECT_EQ(c.end, end) << c.pos;
    }
    // Continuing from a later index, the caller gives that run's start.
    int end = 3;
    EXPECT_EQ(2, text.GetRunIndexAtPos(5, 1, end));
    EXPECT_EQ(7, end);
}

TEST(KWTextDataLookup, SingleAndMissingRecords)
{
    CKWTextData text;
    FillText(text, L"abcde", {0});
    int end = 0;
    EXPECT_EQ(0, text.GetRunIndexAtPos(3, 0, end));
    EXPECT_EQ(5, end);  // a count of 0 stands for the whole text
    EXPECT_EQ(-1, text.GetParaIndexAtPos(3, 0, end));
    EXPECT_EQ(5, end);
    EXPECT_EQ(&CKWParaFormat::GetDefault(), &text.LocateParaAt(2));
    EXPECT_EQ(&CKWCharFormat::GetDefault(), &text.GetRun(7));
}

TEST(KWTextDataLookup, LocateRunContinuesAScanAndClampsTheEnd)
{
    CKWTextData text;
    FillText(text, L"abcdef", {2, 2, 4});  // the last run overshoots the text
    int index = 0, end = 0;
    std::vector<int> indices, ends;
    for (int pos = 0; pos < 6; ++pos) {
        text.LocateRun(pos, &index, &end);
        indices.push_back(index);
        ends.push_back(end);
    }
    EXPECT_EQ((std::vector<int>{0, 0, 1, 1, 2, 2}), indices);
    EXPECT_EQ((std::vector<int>{2, 2, 4, 4, 6, 6}), ends);
    // Going back restarts the scan.
    EXPECT_EQ(&text.GetRun(0), &text.LocateRun(1, &index, &end));
    EXPECT_EQ(2, end);
    // Past the end: the last run, ending at the text end.
    EXPECT_EQ(&text.GetRun(2), &text.LocateRun(9, &index, &end));
    EXPECT_EQ(6, end);
    EXPECT_EQ(1, text.GetRunIndexAt(2));
}

TEST(KWTextDataLookup, TextRangeIsClamped)
{
    CKWTextData text;
    FillText(text, L"hello world", {11});
    EXPECT_STREQ(L"lo w", text.GetTextRange(3, 7).GetString());
    EXPECT_STREQ(L"world", text.GetTextRange(6, 99).GetString());
    EXPECT_STREQ(L"", text.GetTextRange(5, 2).GetString());
    EXPECT_STREQ(L"he", text.GetTextRange(-4, 2).GetString());
}

TEST(KWTextDataLookup, CommonCharFormatTakesTheRunBeforeABoundary)
{
    CKWTextData text;
    FillText(text, L"abcdefgh", {3, 2, 3});  // plain, bold, plain
    text.GetRunPtr(2)->m_size = 14;
    uint32_t mask = 0;
    EXPECT_EQ(&text.GetRun(0), &text.GetCommonCharFormat(3, 3, mask));  // caret after run 0
    EXPECT_EQ(CKWCharFormat::kMaskAll, mask);
    EXPECT_EQ(&text.GetRun(1), &text.GetCommonCharFormat(3, 5, mask));
    EXPECT_EQ(CKWCharFormat::kMaskAll, mask);
    EXPECT_EQ(&text.GetRun(0), &text.GetCommonCharFormat(1, 4, mask));
    EXPECT_EQ(CKWCharFormat::kMaskAll & ~uint32_t(CKWCharFormat::kBold), mask);
    text.GetCommonCharFormat(4, 8, mask);  // bold 14 against plain 10
    EXPECT_EQ(CKWCharFormat::kMaskAll & ~uint32_t(CKWCharFormat::kBold | CKWCharFormat::kMaskSize), mask);
}

TEST(KWTextDataLookup, CommonParaFormatTracksOnlyAlignment)
{
    CKWTextData text;
    FillText(text, L"ab\ncd\nef", {8}, {3, 3, 2});
    text.GetParaPtr(1)->m_align = CKWParaFormat::kAlignCenter;
    text.GetParaPtr(2)->m_leftIndent = 50;
    uint32_t mask = 0;
    EXPECT_EQ(&text.GetPara(1), &text.GetCommonParaFormat(3, 3, mask));  // a paragraph's start is its own
    EXPECT_EQ(CKWParaFormat::kMaskAll, mask);
    text.GetCommonParaFormat(4, 7, mask);  // centre against left, indents ignored
    EXPECT_EQ(CKWParaFormat::kMaskAll & ~uint32_t(CKWParaFormat::kMaskAlign), mask);
    text.GetCommonParaFormat(0, 2, mask);
    EXPECT_EQ(CKWParaFormat::kMaskAll, mask);
}

TEST(KWTextDataLookup, ExpandToParagraphs)
{
    CKWTextData text;
    FillText(text, L"ab\ncd\nef", {8});
    struct Case { int start, end, wantStart, wantEnd; };
    const Case cases[] = {{4, 4, 3, 6}, {3, 6, 3, 6}, {0, 0, 0, 3}, {7, 8, 6, 8},
                          {1, 3, 0, 3}, {2, 4, 0, 6}, {8, 8, 6, 8}};
    for (const Case& c : cases) {
        int s = c.start, e = c.end;
        text.ExpandToParagraphs(s, e);
        EXPECT_EQ(c.wantStart, s) << c.start << "," << c.end;
        EXPECT_EQ(c.wantEnd, e) << c.start << "," << c.end;
    }
}

// --- Replacing text ---

struct ReplaceCase {
    const char* name;
    Counts runs;
    int start, end;
    const wchar_t* insert;
    Counts wantRuns;
};

TEST(KWTextDataReplace, RunsFollowTheReplacement)
{
    const ReplaceCase cases[] = {
        {"typing at a run start extends the run before", {3, 2}, 3, 3, L"X", {4, 2}},
        {"typing at position 0 extends the first run", {3, 2}, 0, 0, L"XY", {5, 2}},
        {"typing inside a run", {3, 2}, 4, 4, L"X", {3, 3}},
        {"appending at the end", {3, 2}, 5, 5, L"XYZ", {3, 5}},
        {"deleting a whole run removes it", {2, 1, 2}, 2, 3, L"", {2, 2}},
        {"deleting across runs", {2, 2, 2}, 1, 5, L"", {1, 1}},
        {"replacing across runs", {3, 2}, 2, 4, L"XYZ", {5, 1}},
        {"replacing a whole run keeps its format for the new text", {2, 1, 2}, 2, 3, L"XY", {2, 2, 2}},
        {"deleting everything keeps one empty run", {5}, 0, 5, L"", {0}},
    };
    const wchar_t* base[] = {L"abcde", L"abcdef"};
    for (const ReplaceCase& c : cases) {
        CKWTextData text;
        uint32_t total = 0;
        for (uint32_t n : c.runs)
            total += n;
        FillText(text, total == 5 ? base[0] : base[1], {});
        for (size_t i = 0; i < c.runs.size(); ++i) {
            CKWCharFormat* run = new CKWCharFormat;
            run->m_count = c.runs[i];
            run->m_size = static_cast<int16_t>(10 + i);
            text.AppendRun(run);
        }
        const int16_t sizeBefore = text.GetRun(0).m_size;
        text.ReplaceText(c.insert, -1, c.start, c.end);
        EXPECT_EQ(c.wantRuns, RunCounts(text)) << c.name;
        EXPECT_EQ(sizeBefore, text.GetRun(0).m_size) << c.name;
        uint32_t sum = 0;
        for (uint32_t n : RunCounts(text))
            sum += n;
        EXPECT_EQ(static_cast<uint32_t>(text.GetLength()), sum) << c.name;
    }
}

TEST(KWTextDataReplace, ParagraphsFollowWithoutTheBoundaryRule)
{
    CKWTextData text;
    FillText(text, L"ab\ncd\nef", {8}, {3, 3, 2});
    text.ReplaceText(L"X", 1, 3, 3);  // at the start of paragraph 1: it grows, not paragraph 0
    EXPECT_EQ((Counts{3, 4, 2}), ParaCounts(text));
    text.ReplaceText(nullptr, 0, 3, 7);  // the whole of paragraph 1
    EXPECT_EQ((Counts{3, 2}), ParaCounts(text));
    EXPECT_STREQ(L"ab\nef", text.GetText().GetString());
}

TEST(KWTextDataReplace, HooksComeBeforeAndNotificationsAfter)
{
    RecordingText text;
    FillText(text, L"abcde", {2, 1, 2}, {5});
    text.log.clear();
    text.ReplaceText(L"XY", 2, 1, 4);
    const Log want = {
        "RemoveRun 1",         // the middle run is consumed whole
        "RunsChanged",
        "SetRunLength 1 was 2",  // the last run loses one character
        "SetRunLength 0 was 2",  // the first run: 2 - 1 taken + 2 inserted
        "SetParaLength 0 was 5",
        "BeforeReplace 1 4 2 [abcde]",
        "TextChanged [aXYe]",
    };
    EXPECT_EQ(want, text.log);
    EXPECT_EQ((Counts{3, 1}), RunCounts(text));
}

TEST(KWTextDataReplace, EmptyReplacementAndReadOnlyText)
{
    RecordingText text;
    FillText(text, L"abc", {3}, {3});
    text.log.clear();
    text.ReplaceText(L"", 0, 2, 2);
    EXPECT_TRUE(text.log.empty());
    text.SetReadOnly(true);
    text.SetText(L"new");
    EXPECT_STREQ(L"abc", text.GetText().GetString());
    EXPECT_TRUE(text.log.empty());
    text.SetReadOnly(false);
    text.SetText(L"longer text");
    EXPECT_EQ((Counts{11}), RunCounts(text));
    EXPECT_EQ((Counts{11}), ParaCounts(text));
}

// --- Normalizing ---

TEST(KWTextDataNormalize, RunsAndParagraphs)
{
    struct Case {
        const char* name;
        Counts runs;
        bool equalFormats;
        Counts wantRuns;
        Counts paras;
        Counts wantParas;
    };
    const Case cases[] = {
        {"3/0/2 equal runs merge to 5", {3, 0, 2}, true, {5}, {5}, {5}},
        {"3/4 different runs are cut to 3/2", {3, 4}, false, {3, 2}, {5}, {5}},
        {"one short run is lengthened", {2}, true, {5}, {2}, {5}},
        {"3/0/2 different runs drop the empty one", {3, 0, 2}, false, {3, 2}, {3, 2}, {3, 2}},
        {"runs beyond the text are dropped", {3, 2, 4}, false, {3, 2}, {3, 4, 1}, {3, 2}},
        {"equal runs merge into one and are then cut", {4, 4}, true, {5}, {1, 1}, {1, 4}},
    };
    for (const Case& c : cases) {
        CKWTextData text;
        FillText(text, L"abcde", {}, {});
        for (uint32_t n : c.runs) {
            CKWCharFormat* run = new CKWCharFormat;
            run->m_count = n;
            run->m_size = static_cast<int16_t>(c.equalFormats ? 10 : 10 + text.GetRunCount());
            text.AppendRun(run);
        }
        for (uint32_t n : c.paras) {
            CKWParaFormat* para = new CKWParaFormat;
            para->m_count = n;
            text.AppendPara(para);
        }
        text.NormalizeRuns();
        EXPECT_EQ(c.wantRuns, RunCounts(text)) << c.name;
        EXPECT_EQ(c.wantParas, ParaCounts(text)) << c.name;
    }
}

TEST(KWTextDataNormalize, AnEmptyTextKeepsOneEmptyRun)
{
    CKWTextData text;
    FillText(text, L"", {0, 0, 3});
    text.NormalizeRuns();
    EXPECT_EQ((Counts{0}), RunCounts(text));
}

// --- Format requests ---

TEST(KWTextDataFormat, BoldInsideOneRunSplitsItInOrder)
{
    RecordingText text;
    FillText(text, L"0123456789", {10}, {10});
    text.log.clear();
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kBold;
    request.m_style = CKWCharFormat::kBold;
    text.SetCharFormatInRange(3, 6, request);
    const Log want = {
        "SetRunLength 0 was 10", "InsertRun 1", "RunsChanged",  // split at 3
        "InsertRun 2", "RunsChanged",                          // split at 6: the new run is cut directly
        "SetRunStyle 1 was 0", "RunsChanged",
    };
    EXPECT_EQ(want, text.log);
    EXPECT_EQ((Counts{3, 3, 4}), RunCounts(text));
    EXPECT_EQ(0, text.GetRun(0).m_style);
    EXPECT_EQ(CKWCharFormat::kBold, text.GetRun(1).m_style);
    EXPECT_EQ(0, text.GetRun(2).m_style);
}

TEST(KWTextDataFormat, RequestsThatChangeNothingSendNothing)
{
    RecordingText text;
    FillText(text, L"0123456789", {10}, {10});
    text.log.clear();
    CKWCharFormat request;
    request.m_count = 0;  // empty mask
    request.m_size = 20;
    text.SetCharFormatInRange(2, 5, request);
    request.m_count = CKWCharFormat::kMaskSize | CKWCharFormat::kItalic;
    request.m_size = 10;  // as it is
    request.m_style = 0;  // not italic, as it is
    text.SetCharFormatInRange(2, 5, request);
    CKWParaFormat paraRequest;
    paraRequest.m_count = CKWParaFormat::kMaskAlign;
    text.SetParaFormatInRange(0, 3, paraRequest);
    EXPECT_TRUE(text.log.empty());
    EXPECT_EQ((Counts{10}), RunCounts(text));
}

TEST(KWTextDataFormat, FieldsByMask)
{
    CKWTextData text;
    FillText(text, L"abcdef", {6});
    text.GetRunPtr(0)->m_style = CKWCharFormat::kItalic | CKWCharFormat::kUnderline;
    CKWCharFormat request;
    request.m_style = CKWCharFormat::kBold;
    request.m_count = CKWCharFormat::kBold | CKWCharFormat::kItalic;  // bold on, italic off, underline kept
    text.SetCharFormatInRange(0, 6, request);
    EXPECT_EQ(CKWCharFormat::kBold | CKWCharFormat::kUnderline, text.GetRun(0).m_style);
    request.m_count = CKWCharFormat::kMaskWholeStyle;
    request.m_style = CKWCharFormat::kShadow;
    text.SetCharFormatInRange(0, 6, request);
    EXPECT_EQ(CKWCharFormat::kShadow, text.GetRun(0).m_style);

    request.m_count = CKWCharFormat::kMaskColor | CKWCharFormat::kMaskFont | CKWCharFormat::kMaskVertical |
                      CKWCharFormat::kMaskSpacing;
    request.m_color = CKWColor::FromRgb(1, 2, 3);
    request.m_fontIndex = 4;
    request.m_vertical = CKWCharFormat::kSubscript;
    request.m_spacing = 1.5f;
    text.SetCharFormatInRange(0, 6, request);
    const CKWCharFormat& run = text.GetRun(0);
    EXPECT_TRUE(CKWCharFormat::IsSameColor(request.m_color, run.m_color));
    EXPECT_EQ(4u, run.m_fontIndex);
    EXPECT_EQ(CKWCharFormat::kSubscript, run.m_vertical);
    EXPECT_EQ(1.5f, run.m_spacing);
    EXPECT_EQ(10, run.m_size);  // not in the mask
}

TEST(KWTextDataFormat, SizeStepsAlongTheStandardSizes)
{
    CKWTextData text;
    FillText(text, L"abcd", {2, 2});
    text.GetRunPtr(0)->m_size = 12;
    text.GetRunPtr(1)->m_size = 13;
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kMaskStepSize;
    request.m_sizeStepUp = 1;
    text.SetCharFormatInRange(0, 4, request);
    EXPECT_EQ(14, text.GetRun(0).m_size);
    EXPECT_EQ(14, text.GetRun(1).m_size);
    request.m_sizeStepUp = 0;
    text.SetCharFormatInRange(0, 2, request);
    EXPECT_EQ(12, text.GetRun(0).m_size);
}

TEST(KWTextDataFormat, ParagraphRequestWidensToWholeParagraphs)
{
    RecordingText text;
    FillText(text, L"ab\ncd\nef", {8}, {8});
    text.log.clear();
    CKWParaFormat request;
    request.m_count = CKWParaFormat::kMaskAlign | CKWParaFormat::kMaskLeftIndent;
    request.m_align = CKWParaFormat::kAlignCenter;
    request.m_leftIndent = 25.0f;
    text.SetParaFormatInRange(4, 4, request);
    const Log want = {
        "SetParaLength 0 was 8", "InsertPara 1", "ParasChanged",
        "InsertPara 2", "ParasChanged",
        "SetParaAlign 1 was 0", "SetParaLeftIndent 1", "ParasChanged",
    };
    EXPECT_EQ(want, text.log);
    EXPECT_EQ((Counts{3, 3, 2}), ParaCounts(text));
    EXPECT_EQ(CKWParaFormat::kAlignCenter, text.GetPara(1).m_align);
    EXPECT_EQ(25.0f, text.GetPara(1).m_leftIndent);
    EXPECT_EQ(CKWParaFormat::kAlignLeft, text.GetPara(2).m_align);
}

TEST(KWTextDataFormat, ReadOnlyTextIgnoresRequests)
{
    CKWTextData text;
    FillText(text, L"abcdef", {6});
    text.SetReadOnly(true);
    CKWCharFormat request;
    request.m_count = CKWCharFormat::kBold;
    request.m_style = CKWCharFormat::kBold;
    text.SetCharFormatInRange(0, 3, request);
    EXPECT_EQ((Counts{6}), RunCounts(text));
    EXPECT_EQ(0, text.GetRun(0).m_style);
}

// --- Records ---

TEST(KWTextDataRecords, SettersCheckTheIndexAndNotify)
{
    RecordingText text;
    FillText(text, L"abc", {3}, {3});
    text.log.clear();
    EXPECT_FALSE(text.SetRunStyle(1, 1));
    EXPECT_FALSE(text.SetParaAlign(-1, 1));
    EXPECT_FALSE(text.SetRunLength(1, 3));
    EXPECT_TRUE(text.log.empty());
    EXPECT_TRUE(text.SetRunSize(0, 24));
    EXPECT_TRUE(text.SetParaFirstLine(0, 12.5));
    EXPECT_TRUE(text.SetRunLength(0, 3));
    const Log want = {"SetRunSize 0 was 10", "RunsChanged", "SetParaFirstLine 0", "ParasChanged",
                      "SetRunLength 0 was 3"};
    EXPECT_EQ(want, text.log);
    EXPECT_EQ(12.5f, text.GetPara(0).m_firstLine);
}

TEST(KWTextDataRecords, ARemoveHookMayKeepTheRecord)
{
    RecordingText text;
    FillText(text, L"abc", {1, 2});
    CKWCharFormat* second = text.GetRunPtr(1);
    text.keepRemoved = true;
    text.RemoveRun(1);
    text.RemoveRun(5);  // out of range: nothing
    ASSERT_EQ(1u, text.keptRuns.size());
    EXPECT_EQ(second, text.keptRuns[0]);
    EXPECT_EQ(2u, second->m_count);  // still alive, owned by the hook's side
    EXPECT_EQ(1, text.GetRunCount());
    CKWCharFormat* rejected = new CKWCharFormat;
    EXPECT_FALSE(text.InsertRun(3, rejected));  // stays the caller's
    delete rejected;
}

TEST(KWTextDataRecords, FirstRunTakesArialFromTheFontTable)
{
    class TableText : public CKWTextData {
    public:
        CKWIndexDecoder* table = nullptr;
        CKWIndexDecoder* GetFontTable() const override { return table; }
    };
    TableText text;
    text.AssignText(CString(L"abc"));
    CKWIndexDecoder table;
    table.FindOrAdd(L"Tahoma");
    text.table = &table;
    text.EnsureOneRun();
    EXPECT_EQ(1u, text.GetRun(0).m_fontIndex);
    EXPECT_EQ(3u, text.GetRun(0).m_count);
    EXPECT_EQ(L"Arial", table.GetString(1));

    TableText bare;
    bare.EnsureOneRun();
    EXPECT_EQ(CKWCharFormat::kNoFont, bare.GetRun(0).m_fontIndex);
    EXPECT_EQ(L"Arial", bare.GetRun(0).GetFaceName(nullptr));
}

TEST(KWTextDataRecords, RemapFontsFollowsNamesIntoTheNewTable)
{
    CKWTextData text;
    FillText(text, L"abcd", {2, 2});
    CKWIndexDecoder oldTable, newTable;
    text.GetRunPtr(0)->m_fontIndex = oldTable.FindOrAdd(L"Courier New");
    text.GetRunPtr(1)->m_fontIndex = oldTable.FindOrAdd(L"Tahoma");
    newTable.FindOrAdd(L"Tahoma");
    text.RemapFonts(&newTable, &oldTable);
    EXPECT_EQ(1u, text.GetRun(0).m_fontIndex);
    EXPECT_EQ(0u, text.GetRun(1).m_fontIndex);
    EXPECT_EQ(L"Courier New", newTable.GetString(1));
}

TEST(KWTextDataRecords, ColourEqualityAndColorRef)
{
    EXPECT_TRUE(CKWCharFormat::IsSameColor(CKWColor::FromRgb(1, 2, 3), CKWColor::FromRgb(1, 2, 3)));
    EXPECT_FALSE(CKWCharFormat::IsSameColor(CKWColor::FromRgb(1, 2, 3), CKWColor::FromArgb(0, 1, 2, 3)));
    const CKWColor odd(7, 5);
    EXPECT_FALSE(CKWCharFormat::IsSameColor(odd, odd));  // unknown kinds never match

    CKWCharFormat run;
    run.m_color = CKWColor::FromRgb(0x11, 0x22, 0x33);
    EXPECT_EQ(0x332211u, run.GetColorRef());
    run.m_color = CKWColor::FromCmyk(200, 0, 0, 100);  // R 0, G 155, B 155
    EXPECT_EQ(0x9B9B00u, run.GetColorRef());
    run.m_color = CKWColor(CKWColor::KindValue, 0x123456);
    EXPECT_EQ(0u, run.GetColorRef());
}

TEST(KWTextDataRecords, LineSpacing)
{
    CKWParaFormat para;
    const struct { float spacing; double want; } cases[] = {{0, 40}, {-100, 40}, {-150, 60}, {12, 12}};
    for (const auto& c : cases) {
        para.m_lineSpacing = c.spacing;
        EXPECT_DOUBLE_EQ(c.want, para.ApplyLineSpacing(40.0)) << c.spacing;
    }
}

TEST(KWTextDataRecords, CopyIsDeep)
{
    CKWTextData source;
    FillText(source, L"abcd", {1, 3}, {4});
    source.GetBoxAttributes().growMode = 2;
    source.GetBoxAttributes().extra = 9;
    CKWTextData copy;
    copy.Copy(source);
    source.GetRunPtr(0)->m_count = 99;
    EXPECT_EQ((Counts{1, 3}), RunCounts(copy));
    EXPECT_EQ((Counts{4}), ParaCounts(copy));
    EXPECT_EQ(2, copy.GetBoxAttributes().growMode);
    EXPECT_EQ(9u, copy.GetBoxAttributes().extra);
    EXPECT_STREQ(L"abcd", copy.GetText().GetString());
}

}  // namespace

TEST(KWTextDataFormats, RangesAppliedInOrderThroughACursorChangeWhatSingleCallsChange)
{
    // The same formats on consecutive and gapped ranges, from the start and
    // from the middle of a text with runs of its own: one cursor kept over
    // the calls gives the same runs and the same hooks, in the same order.
    const struct {
        int from;
        std::vector<int> lengths;  // a negative length is a gap
    } cases[] = {{0, {1, 2, 3, 1, 1}}, {3, {2, -1, 4, 1}}, {5, {1, 1, 1, 1, 1}}, {0, {12}}, {11, {1}}};
    for (const auto& c : cases) {
        RecordingText single, cursored;
        FillText(single, L"abcdefghijkl", {2, 3, 4, 3}, {12});
        FillText(cursored, L"abcdefghijkl", {2, 3, 4, 3}, {12});
        single.log.clear();
        cursored.log.clear();
        CKWTextData::RunCursor cursor;
        int pos = c.from;
        uint8_t style = CKWCharFormat::kItalic;
        for (int length : c.lengths) {
            if (length < 0) {
                pos -= length;
                continue;
            }
            CKWCharFormat request;
            request.m_count = CKWCharFormat::kMaskWholeStyle | CKWCharFormat::kMaskSize;
            request.m_style = style;
            request.m_size = static_cast<int16_t>(8 + pos);
            single.SetCharFormatInRange(pos, pos + length, request);
            cursored.SetCharFormatInRange(pos, pos + length, request, cursor);
            style = style == CKWCharFormat::kItalic ? CKWCharFormat::kBold : CKWCharFormat::kItalic;
            pos += length;
        }
        EXPECT_EQ(single.log, cursored.log) << c.from;
        EXPECT_EQ(RunCounts(single), RunCounts(cursored)) << c.from;
        for (int i = 0; i < single.GetRunCount(); ++i)
            EXPECT_TRUE(single.GetRun(i).m_style == cursored.GetRun(i).m_style &&
                        single.GetRun(i).m_size == cursored.GetRun(i).m_size)
                << c.from << " run " << i;
        // A cursor past a range is not used: the range's runs are found all the same.
        CKWCharFormat bold;
        bold.m_count = CKWCharFormat::kMaskWholeStyle;
        bold.m_style = CKWCharFormat::kBold;
        cursored.SetCharFormatInRange(0, 1, bold, cursor);
        EXPECT_EQ(cursored.GetRun(0).m_style, CKWCharFormat::kBold) << c.from;
    }
}
