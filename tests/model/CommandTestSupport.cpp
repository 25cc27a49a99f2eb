#include "tests/model/CommandTestSupport.h"

#include <set>
#include <sstream>

#include "model/TalCommandGroup.h"
#include "model/TalCommandHistory.h"
#include "model/TalTextNote.h"

std::string Narrow(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        out += ch < 128 ? static_cast<char>(ch) : '?';
    }
    return out;
}

namespace {

std::string Positions(const CTalPositionList& positions)
{
    std::string out;
    for (int32_t p : positions)
        out += " " + std::to_string(p);
    return out;
}

void DescribeText(std::ostringstream& out, const CTalTextNote& note)
{
    out << "  text \"" << Narrow(note.GetText()) << "\"\n";
    for (int i = 0; i < note.GetRunCount(); ++i) {
        const CKWCharFormat* run = const_cast<CTalTextNote&>(note).GetRunPtr(i);
        out << "  run " << run << " " << run->m_count << " " << int(run->m_style) << " " << int(run->m_charSet) << " "
            << run->m_size << " " << run->m_fontIndex << " " << int(run->m_color.GetKind()) << ":"
            << run->m_color.GetValue() << " " << run->m_spacing << " " << int(run->m_vertical) << " "
            << int(run->m_sizeStepUp) << "\n";
    }
    for (int i = 0; i < note.GetParaCount(); ++i) {
        const CKWParaFormat* para = const_cast<CTalTextNote&>(note).GetParaPtr(i);
        out << "  para " << para << " " << para->m_count << " " << para->m_leftIndent << " " << para->m_rightIndent
            << " " << para->m_firstLine << " " << para->m_spaceBefore << " " << para->m_spaceAfter << " "
            << para->m_lineSpacing << " " << int(para->m_align) << "\n";
    }
    const CKWTextBoxAttributes& box = note.GetBoxAttributes();
    out << "  box " << int(box.growMode) << " " << box.color.GetValue() << "\n";
}

void DescribeSection(std::ostringstream& out, const CTalSection* section, int depth)
{
    out << std::string(static_cast<size_t>(depth), '.') << "section " << section << " id " << section->GetId()
        << " \"" << Narrow(section->GetName()) << "\" own " << int(section->GetOwnTemplate()) << " tmpl \""
        << Narrow(section->GetTemplateName()) << "\" expanded " << int(section->GetExpanded()) << " parent "
        << section->PeekParent() << "\n";
    for (const CKWRefPtr<CTalPicture>& picture : section->GetPictures()) {
        out << "  picture " << picture.Get() << " id " << picture->GetPictureId() << " \""
            << Narrow(picture->GetTitle()) << "\" " << picture->GetUseDescription() << " "
            << int(picture->GetShown()) << " " << picture->GetGrayscale() << " " << int(picture->GetNewPage())
            << " angle " << picture->GetAngle() << " parent " << picture->PeekParent() << "\n";
    }
    DescribeText(out, *section->GetTextNote());
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections())
        DescribeSection(out, child.Get(), depth + 1);
}

::testing::AssertionResult CheckSection(const CTalSection* section, std::set<const void*>& seen)
{
    if (!seen.insert(section).second)
        return ::testing::AssertionFailure() << "section " << section->GetId() << " stands twice";
    const CTalTextNote* note = section->GetTextNote();
    if (!note || note->PeekParent() != section)
        return ::testing::AssertionFailure() << "note of " << section->GetId() << " is not linked";
    int64_t runs = 0, paras = 0;
    for (int i = 0; i < note->GetRunCount(); ++i)
        runs += note->GetRun(i).m_count;
    for (int i = 0; i < note->GetParaCount(); ++i)
        paras += note->GetPara(i).m_count;
    if ((note->GetRunCount() > 0 && runs != note->GetLength()) ||
        (note->GetParaCount() > 0 && paras != note->GetLength()))
        return ::testing::AssertionFailure() << "sums of " << section->GetId() << ": runs " << runs << ", paras "
                                             << paras << ", length " << note->GetLength();
    for (const CKWRefPtr<CTalPicture>& picture : section->GetPictures()) {
        if (!picture || picture->PeekParent() != section)
            return ::testing::AssertionFailure() << "picture of " << section->GetId() << " is not linked";
        if (!seen.insert(picture.Get()).second)
            return ::testing::AssertionFailure() << "picture stands twice, in " << section->GetId();
        if (picture->GetAngle() < 0 || picture->GetAngle() >= 360)
            return ::testing::AssertionFailure() << "angle " << picture->GetAngle();
    }
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections()) {
        if (!child || child->PeekParent() != section)
            return ::testing::AssertionFailure() << "child of " << section->GetId() << " is not linked";
        ::testing::AssertionResult result = CheckSection(child.Get(), seen);
        if (!result)
            return result;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

void LoggingDocument::Log(const char* what, const CTalSection* section, const std::string& rest)
{
    log.push_back(std::string(what) + " " + (section ? std::to_string(section->GetId()) : "-") + rest);
}

void LoggingDocument::OnSectionInserted(CKWRefPtr<CTalSection> s, bool select)
{
    Log("Inserted", s.Get(), select ? " 1" : " 0");
}
void LoggingDocument::OnSectionRemoved(CKWRefPtr<CTalSection> s) { Log("Removed", s.Get()); }
void LoggingDocument::OnSectionMoving(CKWRefPtr<CTalSection> s) { Log("Moving", s.Get()); }
void LoggingDocument::OnSectionMoved(CKWRefPtr<CTalSection> s) { Log("Moved", s.Get()); }
void LoggingDocument::OnSectionRenamed(CKWRefPtr<CTalSection> s, bool edit)
{
    Log("Renamed", s.Get(), edit ? " 1" : " 0");
}
void LoggingDocument::OnSectionTemplateChanged(CKWRefPtr<CTalSection> s) { Log("Template", s.Get()); }
void LoggingDocument::OnSectionExpandedChanged(CKWRefPtr<CTalSection> s) { Log("Expanded", s.Get()); }
void LoggingDocument::OnPictureTitleChanged(CKWRefPtr<CTalSection> s, CKWRefPtr<CTalPicture> p, bool edit)
{
    Log("Title", s.Get(), " " + std::to_string(p->GetPictureId()) + (edit ? " 1" : " 0"));
}
void LoggingDocument::OnPicturesChanging(CKWRefPtr<CTalSection> s) { Log("Changing", s.Get()); }
void LoggingDocument::OnPicturesRemoved(CKWRefPtr<CTalSection> s, const CTalPositionList& p)
{
    Log("PicturesRemoved", s.Get(), Positions(p));
}
void LoggingDocument::OnPicturesInserted(CKWRefPtr<CTalSection> s, const CTalPositionList& p)
{
    Log("PicturesInserted", s.Get(), Positions(p));
}
void LoggingDocument::OnPicturesRotated(CKWRefPtr<CTalSection> s, const CTalPositionList& p)
{
    Log("Rotated", s.Get(), Positions(p));
}
void LoggingDocument::OnPicturePropertiesChanged(CKWRefPtr<CTalSection> s, const CTalPositionList& p)
{
    Log("Properties", s.Get(), Positions(p));
}
void LoggingDocument::OnTextNoteChanged(CKWRefPtr<CTalSection> s) { Log("Text", s.Get()); }
void LoggingDocument::OnTextRangeChanged(CKWRefPtr<CTalSection> s, int32_t first, int32_t last)
{
    Log("Range", s.Get(), " " + std::to_string(first) + " " + std::to_string(last));
}
void LoggingDocument::OnTextLayoutChanged() { log.push_back("Layout"); }

std::string DescribeModel(const CTalSection* heading)
{
    std::ostringstream out;
    DescribeSection(out, heading, 0);
    return out.str();
}

::testing::AssertionResult ModelInvariantsHold(const CTalSection* heading)
{
    std::set<const void*> seen;
    return CheckSection(heading, seen);
}

CKWRefPtr<CTalPicture> MakePicture(int32_t id, int32_t angle)
{
    CKWRefPtr<CTalPicture> picture(new CTalPicture);
    picture->SetPictureId(id);
    picture->SetAngle(angle);
    CString title;
    title.Format(L"Picture-%d", id);
    picture->SetTitle(title);
    return picture;
}

SampleReport::SampleReport(LoggingDocument& document) : heading(document.Heading())
{
    auto child = [](CTalSection* parent, const wchar_t* name) {
        CKWRefPtr<CTalSection> section(new CTalSection(parent, name));
        parent->InsertSubSection(section.Get(), parent->GetSubSection(parent->GetSubSectionCount() - 1).Get());
        return section;
    };
    a = child(heading.Get(), L"A");
    a1 = child(a.Get(), L"A1");
    a2 = child(a.Get(), L"A2");
    b = child(heading.Get(), L"B");
    c = child(heading.Get(), L"C");
    for (int32_t i = 0; i < 5; ++i)
        a->InsertPicture(i, MakePicture(200 + i, (i * 90) % 360).Get());
    for (int32_t i = 0; i < 2; ++i)
        b->InsertPicture(i, MakePicture(300 + i).Get());

    // Built outside any group: nothing is recorded.
    CTalTextNote* note = a->GetTextNote();
    note->SetText(L"Hello world\nSecond line\nThird");
    note->EnsureOneRun();
    note->EnsureOnePara();
    CKWCharFormat bold;
    bold.m_count = CKWCharFormat::kBold;
    bold.m_style = CKWCharFormat::kBold;
    note->SetCharFormatInRange(6, 11, bold);
    CKWParaFormat centred;
    centred.m_count = CKWParaFormat::kMaskAlign;
    centred.m_align = CKWParaFormat::kAlignCenter;
    note->SetParaFormatInRange(13, 14, centred);
}

std::vector<int32_t> PictureIds(const CTalSection* section)
{
    std::vector<int32_t> ids;
    for (const auto& picture : section->GetPictures())
        ids.push_back(picture->GetPictureId());
    return ids;
}

std::vector<CString> ChildNames(const CTalSection* section)
{
    std::vector<CString> names;
    for (const auto& child : section->GetSubSections())
        names.push_back(child->GetName());
    return names;
}

void SampleReportTest::SetUp()
{
    m_liveAtStart = CKWRefCounter::GetLiveCount();
    document.reset(new LoggingDocument);
    report.reset(new SampleReport(*document));
}

void SampleReportTest::TearDown()
{
    report.reset();
    document.reset();
    EXPECT_EQ(m_liveAtStart, CKWRefCounter::GetLiveCount()) << "counted objects leaked by the test";
}

uint32_t SampleReportTest::LastLabel()
{
    return History().GetGroup(History().GetPosition())->GetLabel();
}
