// Seeded random sequences of edits, undos and redos: the model stays sound
// after every step, and undoing every step brings back the first model.
#include <gtest/gtest.h>

#include <random>

#include "model/TalCommandHistory.h"
#include "model/TalCommander.h"
#include "model/TalPageTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "tests/model/CommandTestSupport.h"
#include "tests/model/ModelLeakCheck.h"

namespace {

class RandomEdits {
public:
    RandomEdits(LoggingDocument& document, uint32_t seed) : m_document(document), m_random(seed) {}

    // One edit chosen at random; edits that cannot apply simply leave no step.
    void Edit()
    {
        CTalCommander& commander = m_document.GetCommander();
        CKWRefPtr<CTalSection> section = AnySection();
        CKWRefPtr<CTalSection> other = AnySection();
        switch (Pick(20)) {
        case 0:
            commander.AddChildSection(section.Get(), Name(), nullptr, true, Coin(), Coin(), true);
            break;
        case 1:
            commander.AddSiblingSection(section.Get(), Name(), nullptr, true, Coin());
            break;
        case 2:
            commander.RemoveSection(section.Get());
            break;
        case 3:
            commander.MoveSectionLeft(section.Get());
            break;
        case 4:
            commander.MoveSectionRight(section.Get());
            break;
        case 5:
            if (Coin())
                commander.MoveSectionUp(section.Get());
            else
                commander.MoveSectionDown(section.Get());
            break;
        case 6:
            commander.MoveSectionTo(section.Get(), other.Get(), Coin());
            break;
        case 7:
            commander.RenameSection(section.Get(), CString(Name()));
            break;
        case 8:
            if (Coin())
                commander.SetSectionTemplate(section.Get(), Pick(4) - 1);
            else
                commander.SetUseTemplate(section.Get(), Coin());
            break;
        case 9: {
            CTalPictureList pictures;
            for (int i = Pick(3) + 1; i > 0; --i)
                pictures.push_back(MakePicture(m_nextPicture++, Pick(4) * 90));
            commander.InsertPictures(section.Get(), pictures, Pick(section->GetPictureCount() + 3) - 1, true);
            break;
        }
        case 10:
            commander.RemovePictures(section.Get(), Positions(*section));
            break;
        case 11:
            commander.MovePictures(other.Get(), section.Get(), Positions(*section),
                                   Pick(section->GetPictureCount() + 2) - 1);
            break;
        case 12:
            if (Coin())
                commander.RotatePicturesLeft(section.Get(), Positions(*section));
            else
                commander.RotatePicturesRight(section.Get(), Positions(*section));
            break;
        case 13:
            switch (Pick(4)) {
            case 0:
                commander.SetPicturesShowInReport(section.Get(), Positions(*section), static_cast<uint8_t>(Pick(2)));
                break;
            case 1:
                commander.SetPicturesUseDescription(section.Get(), Positions(*section), static_cast<uint8_t>(Pick(3)));
                break;
            case 2:
                commander.SetPicturesGrayscale(section.Get(), Positions(*section), static_cast<uint8_t>(Pick(3)));
                break;
            default:
                commander.SetPicturesNewPage(section.Get(), Positions(*section), static_cast<uint8_t>(Pick(2)));
                break;
            }
            break;
        case 14:
            if (Coin())
                commander.ResolvePicturesUseDescription(section.Get(), Positions(*section), Coin());
            else
                commander.ResolvePicturesGrayscale(section.Get(), Positions(*section), Coin());
            break;
        case 15:
            commander.EditPictureTitle(section.Get(), Pick(section->GetPictureCount() + 1), CString(Name()));
            break;
        default:
            EditText(*section->GetTextNote());
            break;
        }
    }

    int Pick(int count) { return count <= 0 ? 0 : static_cast<int>(m_random() % static_cast<uint32_t>(count)); }
    bool Coin() { return Pick(2) == 1; }

private:
    CKWRefPtr<CTalSection> AnySection()
    {
        std::vector<CTalSection*> all;
        Collect(m_document.Heading().Get(), all);
        return CKWRefPtr<CTalSection>(all[static_cast<size_t>(Pick(static_cast<int>(all.size())))]);
    }
    static void Collect(CTalSection* section, std::vector<CTalSection*>& all)
    {
        all.push_back(section);
        for (const auto& child : section->GetSubSections())
            Collect(child.Get(), all);
    }
    // Mostly valid positions, sometimes repeated or outside the list.
    CTalPositionList Positions(const CTalSection& section)
    {
        CTalPositionList positions;
        for (int i = Pick(4); i > 0; --i)
            positions.push_back(Pick(section.GetPictureCount() + 2) - 1);
        return positions;
    }
    const wchar_t* Name()
    {
        static const wchar_t* const kNames[] = {L"Intro", L" Results\t", L"\r\nSummary", L"x", nullptr};
        return kNames[Pick(5)];
    }
    // A step of the text panel: typing, deleting or formatting in one group.
    void EditText(CTalTextNote& note)
    {
        CTalCommandHistory& history = m_document.History();
        const int length = note.GetLength();
        int start = Pick(length + 1);
        int end = start + Pick(length - start + 1);
        history.BeginGroup();
        switch (Pick(3)) {
        case 0: {
            static const wchar_t* const kTyped[] = {L"a", L"new words", L"\n", L"two\nlines", L""};
            note.ReplaceText(kTyped[Pick(5)], -1, start, end);
            break;
        }
        case 1: {
            CKWCharFormat request;
            request.m_count = CKWCharFormat::kBold | CKWCharFormat::kMaskSize;
            request.m_style = Coin() ? CKWCharFormat::kBold : 0;
            request.m_size = static_cast<int16_t>(8 + 2 * Pick(6));
            note.SetCharFormatInRange(start, end, request);
            break;
        }
        default: {
            CKWParaFormat request;
            request.m_count = CKWParaFormat::kMaskAlign | CKWParaFormat::kMaskFirstLine;
            request.m_align = static_cast<uint8_t>(Pick(3));
            request.m_firstLine = static_cast<float>(Pick(4) * 10);
            note.SetParaFormatInRange(start, end, request);
            break;
        }
        }
        history.EndGroup(0);
        m_document.OnTextLayoutChanged();
    }

    LoggingDocument& m_document;
    std::mt19937 m_random;
    int32_t m_nextPicture = 1000;
};

::testing::AssertionResult HistoryIsSound(const CTalCommandHistory& history)
{
    if (history.IsGroupOpen())
        return ::testing::AssertionFailure() << "a group was left open";
    if (history.GetGroupCount() > history.GetLimit())
        return ::testing::AssertionFailure() << history.GetGroupCount() << " steps";
    if (history.GetPosition() < -1 || history.GetPosition() >= history.GetGroupCount())
        return ::testing::AssertionFailure() << "position " << history.GetPosition();
    return ::testing::AssertionSuccess();
}

class UndoRandomTest : public ModelLeakCheck {
protected:
    void SetUp() override
    {
        ModelLeakCheck::SetUp();
        for (const wchar_t* name : {L"one.otl", L"two.otl"}) {
            CTalPageTemplate* page = new CTalPageTemplate;
            page->SetName(CString(name));
            page->SetTitle(CString(name));
            g_TemplateManager.AddPageTemplate(page);
        }
    }
    void TearDown() override
    {
        g_TemplateManager.Clear();
        ModelLeakCheck::TearDown();
    }
};

}  // namespace

TEST_F(UndoRandomTest, RandomStepsKeepTheModelSoundAndUndoToTheStart)
{
    const int kRounds = 400;
    const int kStepsPerRound = 25;  // below the history's limit, so every step stays undoable
    LoggingDocument document;
    SampleReport report(document);
    CTalCommandHistory& history = document.History();
    CTalCommander& commander = document.GetCommander();
    RandomEdits random(document, 20240611u);

    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        history.Clear();
        const std::string first = DescribeModel(report.heading.Get());
        for (int step = 0; step < kStepsPerRound; ++step) {
            const int choice = random.Pick(10);
            if (choice < 6)
                random.Edit();
            else if (choice < 8)
                commander.Undo();
            else
                commander.Redo();
            ASSERT_TRUE(ModelInvariantsHold(report.heading.Get())) << "step " << step;
            ASSERT_TRUE(HistoryIsSound(history)) << "step " << step;
        }
        const std::string reached = DescribeModel(report.heading.Get());
        const int position = history.GetPosition();
        while (history.CanUndo()) {
            commander.Undo();
            ASSERT_TRUE(ModelInvariantsHold(report.heading.Get()));
        }
        ASSERT_EQ(first, DescribeModel(report.heading.Get()));
        for (int i = 0; i <= position; ++i)
            commander.Redo();
        ASSERT_EQ(reached, DescribeModel(report.heading.Get()));
    }
}
