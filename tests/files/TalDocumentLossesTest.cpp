// Elements a load drops or would let replace an earlier one: each case is a
// document text, the warning it must give and the values it must load. The
// first of a repeated element is the one read, but for a text format or a
// font name of an index, where the later one replaces the earlier.
#include "DocumentFixture.h"

#include "files/XmlValueForms.h"
#include "model/TalTextFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace doctest;

namespace {

const wchar_t kDuplicate[] = L"This file contains a duplicate of an element that can exist only once. Quillmark has "
                             L"ignored the duplicate element.";

std::string HeadingLeaf(const std::string& inner)
{
    return "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='-1'/>" + inner + "</Leaf></Tree>\n";
}

const CTalTextNote& HeadingNote(const CTalBaseDocument& document)
{
    return *document.GetProperties().GetHeadingSection()->GetTextNote();
}

// The face name of the note's run.
std::wstring RunFont(const CTalBaseDocument& document, int run)
{
    return document.GetProperties().GetFontTable().GetString(HeadingNote(document).GetRun(run).m_fontIndex);
}

// The template's first cell of the kind is at the corners.
void ExpectFirstCell(const CTalTemplate* tmpl, int32_t kind, const std::vector<double>& corners)
{
    const CTalCellList* cells = tmpl ? tmpl->GetCells(kind) : nullptr;
    ASSERT_TRUE(cells && !cells->empty());
    const CKWDoubleRect& r = cells->front();
    EXPECT_EQ((std::vector<double>{r.left, r.top, r.right, r.bottom}), corners);
}

}  // namespace

TEST_F(DocumentFiles, RepeatedAndEmptyElementsAreWarnedAboutAndTheFirstIsKept)
{
    const std::string picture = XmlBinaryForm("picture bytes", 13);
    const std::string fonts = "<FontArray><FontName Index='0' Name='Arial'/><FontName Index='1' Name='Wingdings'/>"
                              "<FontName Index='0' Name='Wingdings'/></FontArray>\n";
    const std::string note = "<TextNote>\nab<CharacterItem CharCount='1' Num='0'/><CharacterItem CharCount='1' "
                             "Num='1'/></TextNote>";
    using Check = std::function<void(const CTalBaseDocument&)>;
    const struct {
        const char* what;
        std::string body;
        const wchar_t* warning;  // null: the load shows nothing
        Check check;
    } cases[] = {
        {"a second text note", HeadingLeaf("<TextNote>\nfirst</TextNote><TextNote>\nsecond</TextNote>"), kDuplicate,
         [](const CTalBaseDocument& d) { EXPECT_EQ(Wide(HeadingNote(d).GetText()), L"first"); }},
        {"a second page-template number",
         "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='2'/><CurLeafTemplate ID='-1'/></Leaf></Tree>\n"
         "<LeafTemplate ID='2' FileName='kept.otl'><LeafRectArray Type='1'><LeafRectArrayItem Left='1'/>"
         "</LeafRectArray></LeafTemplate>\n",
         kDuplicate,
         [](const CTalBaseDocument& d) {
             EXPECT_EQ(Wide(d.GetProperties().GetHeadingSection()->GetTemplateName()), L"kept.otl");
         }},
        {"a text format given twice: the later one",
         "<ExportProperties><CharMapItem Type='1' Size='20'/><CharMapItem Type='1' Size='30'/></ExportProperties>\n",
         nullptr,
         [](const CTalBaseDocument& d) {
             EXPECT_EQ(const_cast<CTalDocProperties&>(d.GetProperties()).GetTextFormat(1, false)->m_size, 30);
         }},
        {"a font index given twice: the later name", fonts + HeadingLeaf(note), nullptr,
         [](const CTalBaseDocument& d) {
             EXPECT_EQ(RunFont(d, 0), L"Wingdings");
             EXPECT_EQ(RunFont(d, 1), L"Wingdings");
         }},
        {"a font whose name comes before its index", "<FontArray><FontName Name='Arial' Index='0'/></FontArray>\n",
         L"A font without its index or name is ignored.",
         [](const CTalBaseDocument& d) { EXPECT_EQ(d.GetProperties().GetFontTable().GetCount(), 0u); }},
        {"one font under two indices: the runs keep their fonts",
         "<FontArray><FontName Index='0' Name='Arial'/><FontName Index='1' Name='Arial'/>"
         "<FontName Index='2' Name='Wingdings'/></FontArray>\n"
         "<ExportProperties><CharMapItem Type='1' Num='2'/></ExportProperties>\n" +
             HeadingLeaf("<TextNote>\nab<CharacterItem CharCount='1' Num='1'/><CharacterItem CharCount='1' "
                         "Num='2'/></TextNote>"),
         nullptr,
         [](const CTalBaseDocument& d) {
             EXPECT_EQ(RunFont(d, 0), L"Arial");
             EXPECT_EQ(RunFont(d, 1), L"Wingdings");
             const CTalTextFormat* format = const_cast<CTalDocProperties&>(d.GetProperties()).GetTextFormat(1, false);
             EXPECT_EQ(d.GetProperties().GetFontTable().GetString(static_cast<uint32_t>(format->m_font)),
                       L"Wingdings");
         }},
        {"a font without its index", "<FontArray><FontName Name='Arial'/></FontArray>\n",
         L"A font without its index or name is ignored.",
         [](const CTalBaseDocument& d) { EXPECT_EQ(d.GetProperties().GetFontTable().GetCount(), 0u); }},
        {"a text format without its type", "<ExportProperties><CharMapItem Size='20'/></ExportProperties>\n",
         L"A text format without its type is ignored.", [](const CTalBaseDocument&) {}},
        {"a section's picture without its ID",
         HeadingLeaf("<ImageList><ImageListItem Desc='x'/></ImageList>") +
             "<Images SavePicType='0' Count='0'></Images>\n",
         L"A picture of a section without its ID is ignored.",
         [](const CTalBaseDocument& d) { EXPECT_EQ(d.GetProperties().GetHeadingSection()->GetPictureCount(), 0); }},
        {"title-page properties twice",
         "<TitlePageProperties InsertLogo='1' InsertDate='1'/><TitlePageProperties InsertLogo='0'/>\n", kDuplicate,
         [](const CTalBaseDocument& d) {
             EXPECT_EQ(d.GetProperties().m_insertLogo, 1);
             EXPECT_EQ(d.GetProperties().m_insertDate, 1);
         }},
        {"page-size properties twice", "<PageSizeProperties Orient='0'/><PageSizeProperties Orient='1'/>\n",
         kDuplicate, [](const CTalBaseDocument& d) { EXPECT_EQ(d.GetProperties().GetPortrait(), 0); }},
        {"print properties twice", "<PrintProperties SizeX='1000'/><PrintProperties SizeX='3000'/>\n", kDuplicate,
         [](const CTalBaseDocument& d) { EXPECT_EQ(d.GetProperties().m_printWidth, 1000); }},
        {"export properties twice", "<ExportProperties CurExType='2'/><ExportProperties CurExType='1'/>\n",
         kDuplicate, [](const CTalBaseDocument& d) { EXPECT_EQ(d.GetProperties().m_exportType, 2); }},
        {"a watermark's style twice",
         "<Watermarks><WatermarkItem Type='0' Text='w'><WCharMapItem Size='40'/><WCharMapItem Size='50'/>"
         "</WatermarkItem></Watermarks>\n",
         kDuplicate,
         [](const CTalBaseDocument& d) {
             ASSERT_EQ(d.GetProperties().GetWatermarks().size(), 1u);
             EXPECT_EQ(d.GetProperties().GetWatermarks()[0]->m_textFormat.m_size, 40);
         }},
        {"a second title template",
         "<TitleTemplate FileName='first.ott'/>\n<TitleTemplate FileName='second.ott'/>\n", kDuplicate,
         [](const CTalBaseDocument& d) {
             EXPECT_EQ(Wide(d.GetProperties().m_titleTemplateName), L"first.ott");
             EXPECT_EQ(g_TemplateManager.FindTitlePageTemplate(L"second.ott"), nullptr);
         }},
        {"a picture whose data gives nothing",
         HeadingLeaf("<ImageList><ImageListItem ID='1'/></ImageList>") +
             "<Images SavePicType='0' Count='1'><Image ID='1' FileFormat='png'>\n</Image></Images>\n",
         L"The picture with ID 1 holds no picture data that can be read; it is shown as missing.",
         [](const CTalBaseDocument& d) {
             ASSERT_EQ(d.GetProperties().GetHeadingSection()->GetPictureCount(), 1);
             // A placeholder of its own, which a generation's warning names as damaged.
             const uint32_t id = uint32_t(d.GetProperties().GetHeadingSection()->GetPicture(0)->GetPictureId());
             EXPECT_NE(id, 0u);
             EXPECT_EQ(Wide(g_rasterLib.GetImagePath(id)), L"");
             EXPECT_EQ(g_rasterLib.GetPictureState(id, false), KWPictureState::Damaged);
         }},
        {"a page template cell without its Top: 0",
         "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='3'/></Leaf></Tree>\n"
         "<LeafTemplate ID='3' FileName='cells.otl'><LeafRectArray Type='1'>"
         "<LeafRectArrayItem Left='0.1' Right='0.9' Bottom='0.5'/></LeafRectArray></LeafTemplate>\n",
         nullptr,
         [](const CTalBaseDocument&) {
             ExpectFirstCell(g_TemplateManager.FindPageTemplate(L"cells.otl"), 1, {0.1, 0.0, 0.9, 0.5});
         }},
        {"a title template cell beyond any page: held at a million",
         "<TitleTemplate FileName='far.ott'><TitleRectArray Type='2'><TitleRectArrayItem Left='0' Right='1' "
         "Top='1e308' Bottom='-1e999'/></TitleRectArray></TitleTemplate>\n",
         nullptr,
         [](const CTalBaseDocument&) {
             ExpectFirstCell(g_TemplateManager.FindTitlePageTemplate(L"far.ott"), 2, {0.0, 1e6, 1.0, -1e6});
         }},
        {"a page template's preview without data",
         "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='3'/></Leaf></Tree>\n"
         "<LeafTemplate ID='3' FileName='p.otl'><LeafPreview FileFormat='png'>\n</LeafPreview></LeafTemplate>\n",
         L"The LeafPreview holds no picture that can be read; the template has none.",
         [](const CTalBaseDocument&) {
             ASSERT_NE(g_TemplateManager.FindPageTemplate(L"p.otl"), nullptr);
             EXPECT_EQ(g_TemplateManager.FindPageTemplate(L"p.otl")->GetPreviewPictureId(), 0);
         }},
        {"a page template's second preview",
         "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='3'/></Leaf></Tree>\n"
         "<LeafTemplate ID='3' FileName='q.otl'><LeafPreview FileFormat='png'>\n" + picture +
             "</LeafPreview><LeafPreview FileFormat='png'>\n" + XmlBinaryForm("other", 5) +
             "</LeafPreview></LeafTemplate>\n",
         kDuplicate,
         [](const CTalBaseDocument&) {
             ASSERT_NE(g_TemplateManager.FindPageTemplate(L"q.otl"), nullptr);
             EXPECT_EQ(PictureBytes(g_TemplateManager.FindPageTemplate(L"q.otl")->GetPreviewPictureId()),
                       "picture bytes");
         }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, DocumentText(test.body), &serializer)) << test.what;
        if (test.warning) {
            EXPECT_NE(serializer.AllLines().find(test.warning), std::wstring::npos)
                << test.what << "\n" << filestest::ToAnsi(serializer.AllLines());
        } else {
            EXPECT_TRUE(serializer.dialogs.empty()) << test.what << "\n" << filestest::ToAnsi(serializer.AllLines());
        }
        test.check(document);
        g_TemplateManager.Clear();
        for (const std::wstring& name : FilesIn(TemplateFolder()))
            ::DeleteFileW((TemplateFolder() + name).c_str());
    }
}

TEST_F(DocumentFiles, PictureDataInACharacterDataSectionIsReadOrWarnedAbout)
{
    const std::string bytes = "picture in a section";
    const std::string body = HeadingLeaf("<ImageList><ImageListItem ID='1'/></ImageList>") +
                             "<Images SavePicType='0' Count='1'><Image ID='1' FileFormat='png'><![CDATA[" +
                             XmlBinaryForm(bytes.data(), static_cast<int32_t>(bytes.size())) +
                             "]]></Image></Images>\n";
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer));
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), 1);
    const bool read = PictureBytes(heading->GetPicture(0)->GetPictureId()) == bytes;
    const bool warned =
        serializer.AllLines().find(L"The picture with ID 1 holds no picture data") != std::wstring::npos;
    EXPECT_TRUE(read || warned) << "never a silent loss";
}

TEST_F(DocumentFiles, TheProblemsOfATemplateFileADocumentNamesJoinItsReport)
{
    // The template's own file is read after the parse; what it lacks is said.
    filestest::WriteBytes(TemplateFolder() + L"own.otl",
                          "<?xml version='1.0' encoding='utf-8' ?>\n<LeafTemplate>\n<LeafCell/>\n"
                          "<LeafRectArray Type='2'><LeafRectArrayItem Left='0.5'/></LeafRectArray></LeafTemplate>\n");
    const std::string body = "<Tree><Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='4'/></Leaf></Tree>\n"
                             "<LeafTemplate ID='4' FileName='own.otl'><LeafRectArray Type='1'>"
                             "<LeafRectArrayItem Left='1'/></LeafRectArray></LeafTemplate>\n";
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer));
    ASSERT_EQ(serializer.dialogs.size(), 1u);
    EXPECT_EQ(serializer.dialogs[0].lines[0], L"own.otl: Warning [line 3]: Unknown tag LeafCell is ignored.");
    const CTalTemplate* own = g_TemplateManager.FindPageTemplate(L"own.otl");
    ASSERT_NE(own, nullptr);
    ASSERT_NE(own->GetCells(2), nullptr) << "the file's cells, not the document's";
    EXPECT_EQ(own->GetCells(1), nullptr);
}

// What a load leaves out or replaces is said in one line of its report: a
// font index the file's font list lacks, a picture watermark without its
// picture, a title template's background that does not read, an element the
// format does not know.
TEST_F(DocumentFiles, EachLossOfALoadIsOneLineOfItsReport)
{
    const std::string notAPicture = XmlBinaryForm("no picture", 10);
    const struct {
        const char* what;
        std::string body;
        const wchar_t* line;
    } cases[] = {
        {"a font the list lacks",
         "<FontArray><FontName Index='0' Name='Arial'/></FontArray>\n"
         "<ExportProperties><CharMapItem Type='1' Num='5'/></ExportProperties>\n",
         L"The font 5 that a text format names is not in the file's font list;"},
        {"a picture watermark without its picture",
         "<Watermarks><WatermarkItem Type='1' Name='Seal' PicID='7'/></Watermarks>\n"
         "<Images SavePicType='0' Count='0'></Images>\n",
         L"The picture watermark \"Seal\" names no picture that the file holds; it is kept without one."},
        {"a title background that does not read",
         "<TitleTemplate FileName='damaged.ott'><TitleBgImage FileFormat='png'>" + notAPicture +
             "</TitleBgImage></TitleTemplate>\n",
         L"The picture of TitleBgImage cannot be read; a placeholder is shown."},
        {"an unknown element", "<Appendix Pages='3'>text</Appendix>\n", L"Unknown tag Appendix is ignored."},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, DocumentText(test.body), &serializer));
        ASSERT_EQ(serializer.dialogs.size(), 1u);
        std::vector<std::wstring> lines = serializer.dialogs[0].lines;
        lines.erase(std::remove(lines.begin(), lines.end(), std::wstring()), lines.end());
        ASSERT_EQ(lines.size(), 1u) << filestest::ToAnsi(serializer.AllLines());
        EXPECT_NE(lines[0].find(test.line), std::wstring::npos) << filestest::ToAnsi(lines[0]);
        g_TemplateManager.Clear();
        for (const std::wstring& name : FilesIn(TemplateFolder()))
            ::DeleteFileW((TemplateFolder() + name).c_str());
    }
    // A document without fonts of its own names the default face as font 0:
    // nothing is lost.
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document,
                         DocumentText("<ExportProperties><CharMapItem Type='1' Num='0'/></ExportProperties>\n" +
                                      HeadingLeaf("<TextNote>\nab<CharacterItem CharCount='2' Num='0'/></TextNote>")),
                         &serializer));
    EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
}
