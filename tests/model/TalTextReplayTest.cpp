// Text notes under the commander: what text edits record, how their undo
// replays, and replays against a text that changed outside any step.
#include <gtest/gtest.h>

#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalCommandPayloads.h"
#include "model/TalCommander.h"
#include "model/TalTextCommands.h"
#include "model/TalTextNote.h"
#include "model/TalTextRepair.h"
#include "tests/model/CommandTestSupport.h"

namespace {

class TextReplayTest : public SampleReportTest {
protected:
    void SetUp() override
    {
        SampleReportTest::SetUp();
        note = report->a->GetTextNote();
    }
    // One step of text editing, as the text panel makes it.
    template <class Edit>
    void Step(Edit edit)
    {
        History().BeginGroup();
        edit();
        History().EndGroup(0);
    }

    CTalTextNote* note = nullptr;
};

}  // namespace

TEST_F(TextReplayTest, TypingAndFormattingAreUndoneExactly)
{
    const std::string before = DescribeModel(report->heading.Get());
    Step([&] { note->ReplaceText(L"Brave new ", -1, 6, 6); });
    Step([&] { note->ReplaceText(L"", 0, 3, 20); });
    Step([&] {
        CKWCharFormat request;
        request.m_count = CKWCharFormat::kMaskSize | CKWCharFormat::kItalic;
        request.m_size = 18;
        request.m_style = CKWCharFormat::kItalic;
        note->SetCharFormatInRange(1, 9, request);
    });
    Step([&] {
        CKWParaFormat request;
        request.m_count = CKWParaFormat::kMaskLeftIndent | CKWParaFormat::kMaskAlign;
        request.m_leftIndent = 40.0f;
        request.m_align = CKWParaFormat::kAlignRight;
        note->SetParaFormatInRange(0, 30, request);
    });
    const std::string after = DescribeModel(report->heading.Get());
    EXPECT_TRUE(ModelInvariantsHold(report->heading.Get()));
    EXPECT_EQ(4, History().GetGroupCount());

    document->log.clear();
    while (History().CanUndo())
        Commander().Undo();
    EXPECT_EQ(before, DescribeModel(report->heading.Get()));
    const std::string id = std::to_string(report->a->GetId());
    EXPECT_NE(document->log.end(), std::find(document->log.begin(), document->log.end(), "Text " + id));
    while (History().CanRedo())
        Commander().Redo();
    EXPECT_EQ(after, DescribeModel(report->heading.Get()));
}

TEST_F(TextReplayTest, ReplacementSelectsTheRestoredRange)
{
    Step([&] { note->ReplaceText(L"", 0, 2, 5); });  // deletes "llo"
    Step([&] { note->ReplaceText(L"XY", 2, 0, 0); });  // inserts at the start
    document->log.clear();
    Commander().Undo();
    Commander().Undo();
    std::vector<std::string> ranges;
    for (const std::string& line : document->log) {
        if (line.compare(0, 6, "Range ") == 0)
            ranges.push_back(line);
    }
    const std::string id = std::to_string(report->a->GetId());
    // Undoing the insertion replaces two characters by none: (0, 0). Undoing
    // the deletion fills an empty range with three: the caret goes behind them.
    EXPECT_EQ((std::vector<std::string>{"Range " + id + " 0 0", "Range " + id + " 5 5"}), ranges);
    EXPECT_EQ(CString(L"Hello world\nSecond line\nThird"), note->GetText());
}

TEST_F(TextReplayTest, UndoAfterTypingOutsideAStepKeepsTheTextSound)
{
    Step([&] { note->ReplaceText(L"", 0, 0, 12); });                   // the first paragraph goes
    Step([&] { note->SetRunStyle(note->GetRunCount() - 1, 1); });      // records the last run's index
    // Typed with no step open: nothing records it.
    note->ReplaceText(L"", 0, 0, note->GetLength() - 2);
    note->ReplaceText(L"zzzz", 4, 1, 1);
    ASSERT_TRUE(ModelInvariantsHold(report->heading.Get()));

    for (int round = 0; round < 3; ++round) {
        while (History().CanUndo()) {
            Commander().Undo();
            EXPECT_TRUE(ModelInvariantsHold(report->heading.Get()));
        }
        while (History().CanRedo()) {
            Commander().Redo();
            EXPECT_TRUE(ModelInvariantsHold(report->heading.Get()));
        }
    }
}

TEST_F(TextReplayTest, IndicesOutsideTheTextAreSkippedOrClamped)
{
    const std::string before = DescribeModel(report->heading.Get());
    History().BeginGroup();
    CCmdIntByteData style(16, report->a.Get(), 99, 1);
    CCmdIntIntData size(20, report->a.Get(), -1, 12);
    CCmdIntData removeRun(39, report->a.Get(), 3);
    CCmdIntData removePara(40, report->a.Get(), -5);
    CCmdIntFloatData indent(26, report->a.Get(), 3, 1.0f);
    CCmdIntIntData length(28, report->a.Get(), 17, 1);
    for (CTalCommand* command : std::vector<CTalCommand*>{&style, &size, &removeRun, &removePara, &indent, &length})
        EXPECT_FALSE(Commander().Execute(command));
    EXPECT_FALSE(History().EndGroup(0));
    EXPECT_EQ(before, DescribeModel(report->heading.Get()));

    // A replacement past the end appends; an inverted range is empty.
    History().BeginGroup();
    CCmdReplaceText append(48, report->a.Get(), CString(L"!"), 500, 900);
    EXPECT_EQ(report->a, Commander().Execute(&append));
    CCmdReplaceText inverted(48, report->a.Get(), CString(L"?"), 3, 1);
    EXPECT_EQ(report->a, Commander().Execute(&inverted));
    EXPECT_TRUE(History().EndGroup(0));
    EXPECT_EQ(CString(L"Hel?lo world\nSecond line\nThird!"), note->GetText());
    Commander().Undo();
    EXPECT_EQ(CString(L"Hello world\nSecond line\nThird"), note->GetText());
    EXPECT_TRUE(ModelInvariantsHold(report->heading.Get()));
}

TEST_F(TextReplayTest, RepairMakesBothSumsMatchTheLength)
{
    struct Case {
        std::vector<uint32_t> runs, paras;
        std::vector<uint32_t> runsAfter, parasAfter;
    };
    // The text has 29 characters.
    const Case cases[] = {
        {{6, 5, 18}, {12, 12, 5}, {6, 5, 18}, {12, 12, 5}},
        {{6, 5, 10}, {12, 12}, {6, 5, 18}, {12, 17}},
        {{6, 30, 4}, {40}, {6, 23}, {29}},
        {{29, 0, 3}, {29, 1}, {29}, {29}},
    };
    for (const Case& c : cases) {
        note->ClearRuns();
        note->ClearParas();
        for (uint32_t count : c.runs) {
            CKWCharFormat* run = new CKWCharFormat;
            run->m_count = count;
            note->AppendRun(run);
        }
        for (uint32_t count : c.paras) {
            CKWParaFormat* para = new CKWParaFormat;
            para->m_count = count;
            note->AppendPara(para);
        }
        const bool changed = TalRepairTextSums(*note);
        std::vector<uint32_t> runs, paras;
        for (int i = 0; i < note->GetRunCount(); ++i)
            runs.push_back(note->GetRun(i).m_count);
        for (int i = 0; i < note->GetParaCount(); ++i)
            paras.push_back(note->GetPara(i).m_count);
        EXPECT_EQ(c.runsAfter, runs);
        EXPECT_EQ(c.parasAfter, paras);
        EXPECT_EQ(c.runs != c.runsAfter || c.paras != c.parasAfter, changed);
    }
}
