#pragma once
// Shared by the command, history and edit-operation tests: a document that
// logs its notifications, a full description of a model for before/after
// comparisons, the model's invariants, and a sample report.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/TalBaseDocument.h"
#include "model/TalCommander.h"
#include "model/TalCommandHistory.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"

// Logs every notification as one line, e.g. "Renamed 7 1".
class LoggingDocument : public CTalBaseDocument {
public:
    void OnSectionInserted(CKWRefPtr<CTalSection> section, bool select) override;
    void OnSectionRemoved(CKWRefPtr<CTalSection> section) override;
    void OnSectionMoving(CKWRefPtr<CTalSection> section) override;
    void OnSectionMoved(CKWRefPtr<CTalSection> section) override;
    void OnSectionRenamed(CKWRefPtr<CTalSection> section, bool startLabelEdit) override;
    void OnSectionTemplateChanged(CKWRefPtr<CTalSection> section) override;
    void OnSectionExpandedChanged(CKWRefPtr<CTalSection> section) override;
    void OnPictureTitleChanged(CKWRefPtr<CTalSection> section, CKWRefPtr<CTalPicture> picture,
                               bool startEdit) override;
    void OnPicturesChanging(CKWRefPtr<CTalSection> section) override;
    void OnPicturesRemoved(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnPicturesInserted(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnPicturesRotated(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnPicturePropertiesChanged(CKWRefPtr<CTalSection> section, const CTalPositionList& positions) override;
    void OnTextNoteChanged(CKWRefPtr<CTalSection> section) override;
    void OnTextRangeChanged(CKWRefPtr<CTalSection> section, int32_t first, int32_t last) override;
    void OnTextLayoutChanged() override;

    CKWRefPtr<CTalSection> Heading() const { return GetProperties().GetHeadingSection(); }
    CTalCommandHistory& History() const { return *GetCommandHistory(); }

    std::vector<std::string> log;

private:
    void Log(const char* what, const CTalSection* section, const std::string& rest = std::string());
};

// Everything of the tree below the section that an edit may change, object
// identities included, one line per object.
std::string DescribeModel(const CTalSection* heading);

// Parent links match the lists, no object stands twice, every text's run and
// paragraph counts add up to its length.
::testing::AssertionResult ModelInvariantsHold(const CTalSection* heading);

// Under the heading: A (children A1, A2; five pictures; a styled note of
// three runs and three paragraphs), B (two pictures), C.
struct SampleReport {
    CKWRefPtr<CTalSection> heading, a, a1, a2, b, c;

    explicit SampleReport(LoggingDocument& document);
};

// A picture with the given id and angle and no parent.
CKWRefPtr<CTalPicture> MakePicture(int32_t id, int32_t angle = 0);

// ASCII of a text; other characters become '?'.
std::string Narrow(const CString& text);
// The picture ids and the child names of a section, in order.
std::vector<int32_t> PictureIds(const CTalSection* section);
std::vector<CString> ChildNames(const CTalSection* section);

// A test over the sample report of a logging document that fails when the
// test leaves counted model objects alive.
class SampleReportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    CTalCommandHistory& History() { return document->History(); }
    CTalCommander& Commander() { return document->GetCommander(); }
    uint32_t LastLabel();

    std::unique_ptr<LoggingDocument> document;
    std::unique_ptr<SampleReport> report;

private:
    int32_t m_liveAtStart = 0;
};
