// The document reader on hand-made files: the tree from its IDs whatever
// they are, attributes in any order, text notes, pictures by storage mode,
// templates carried by the document, and the problems it reports.
#include "DocumentFixture.h"
#include "tests/support/DamagedPictures.h"

#include "files/BoundedPictureName.h"
#include "files/XmlValueForms.h"
#include "framework/KWFile.h"
#include "framework/KWFileHelpers.h"
#include "model/TalPageTemplate.h"
#include "model/TalPictureName.h"
#include "model/TalTextFormat.h"
#include "model/TalWatermark.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include <string>
#include <tuple>
#include <vector>

using namespace doctest;

namespace {

std::string Leaf(int id, int parent, const std::string& name, const std::string& inner = "")
{
    return "<Leaf ID='" + std::to_string(id) + "' IDParentLeaf='" + std::to_string(parent) + "'>\n" + name +
           "<CurLeafTemplate ID='-1'></CurLeafTemplate>" + inner + "</Leaf>\n";
}

std::string Tree(const std::vector<std::string>& leaves)
{
    std::string text = "<Tree>\n";
    for (const std::string& leaf : leaves)
        text += leaf;
    return text + "</Tree>\n";
}

// "name(child,child(grandchild))".
std::wstring Describe(const CTalSection* section)
{
    std::wstring text = Wide(section->GetName());
    if (section->GetSubSectionCount() == 0)
        return text;
    text += L"(";
    for (int i = 0; i < section->GetSubSectionCount(); ++i)
        text += (i ? L"," : L"") + Describe(section->GetSubSections()[static_cast<size_t>(i)].Get());
    return text + L")";
}

std::wstring DescribeDocument(const CTalBaseDocument& document)
{
    return Describe(document.GetProperties().GetHeadingSection().Get());
}

}  // namespace

TEST_F(DocumentFiles, TheTreeComesFromTheIdsAndNoSectionBecomesItsOwnAncestor)
{
    const std::string wrapped = "<Tree>\n" + Leaf(1, 0, "H") + "<Leafs>\n" + Leaf(2, 1, "a") + Leaf(3, 1, "b") +
                                Leaf(4, 3, "c") + Leaf(5, 1, "d") + "</Leafs>\n</Tree>\n";
    const struct {
        const char* what;
        std::string tree;
        const wchar_t* expected;
        const wchar_t* warning;  // null: the load shows nothing
    } cases[] = {
        {"with Leafs wrappers", wrapped, L"H(a,b(c),d)", nullptr},
        {"without", Tree({Leaf(1, 0, "H"), Leaf(2, 1, "a"), Leaf(3, 1, "b"), Leaf(4, 3, "c"), Leaf(5, 1, "d")}),
         L"H(a,b(c),d)", nullptr},
        {"a heading without parent ID, its name trimmed",
         "<Tree><Leaf ID='1'>  Top  <CurLeafTemplate ID='-1'/></Leaf>" + Leaf(2, 1, "child") + "</Tree>",
         L"Top(child)", nullptr},
        {"duplicate ids", Tree({Leaf(1, 0, "H"), Leaf(2, 1, "a"), Leaf(2, 1, "b"), Leaf(3, 2, "c")}), L"H(a(c),b)",
         L"The section ID 2 is used more than once."},
        {"id 0 and several roots", Tree({Leaf(0, 0, "H"), Leaf(5, 0, "r"), Leaf(6, 0, "s"), Leaf(7, 5, "x")}),
         L"H(r(x),s)", L"has no parent"},
        {"own and later parents", Tree({Leaf(1, 0, "H"), Leaf(2, 2, "s"), Leaf(3, 4, "f"), Leaf(4, 3, "g")}),
         L"H(s,f(g))", L"The section with ID 2 has no parent with ID 2 before it and is placed under the heading."},
        {"a cycle of two", Tree({Leaf(1, 0, "H"), Leaf(2, 3, "p"), Leaf(3, 2, "q")}), L"H(p(q))", L"has no parent"},
        {"heading not first", Tree({Leaf(1, 1, "x"), Leaf(2, 0, "H"), Leaf(3, 1, "y")}), L"H(x(y))", L"has no parent"},
        {"negative ids", Tree({Leaf(1, 0, "H"), Leaf(-1, 1, "n"), Leaf(2, -1, "m")}), L"H(n,m)", L"has no parent"},
        {"no heading at all", Tree({Leaf(4, 3, "a"), Leaf(5, 4, "b")}), L"Heading record(a(b))", L"has no parent"},
        {"heading is its children's parent", Tree({Leaf(1, 0, "H"), Leaf(1, 1, "again"), Leaf(2, 1, "c")}),
         L"H(again,c)", L"The section ID 1 is used more than once."},
    };
    for (const auto& test : cases) {
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, DocumentText(test.tree), &serializer)) << test.what;
        EXPECT_EQ(DescribeDocument(document), test.expected) << test.what;
        if (!test.warning) {
            EXPECT_TRUE(serializer.dialogs.empty()) << test.what;
        } else {
            EXPECT_NE(serializer.AllLines().find(test.warning), std::wstring::npos) << test.what;
        }
        // Saving and loading again terminates and keeps the tree.
        const std::wstring path = File(L"again.otd");
        ASSERT_TRUE(Save(document, path)) << test.what;
        CTalBaseDocument back;
        ASSERT_TRUE(Load(back, path)) << test.what;
        EXPECT_EQ(DescribeDocument(back), test.expected) << test.what;
    }
}

// A report template names no page template for its heading (a new report's
// default): the heading keeps the one it was made with, the manager's first,
// so that the report composes pages; a section still inherits it.
TEST_F(DocumentFiles, AHeadingWithoutATemplateInItsFileKeepsTheOneItWasMadeWith)
{
    auto* first = new CTalPageTemplate;
    first->SetName(L"First");
    first->SetTitle(L"A");
    g_TemplateManager.AddPageTemplate(first);
    CTalBaseDocument document;
    ASSERT_TRUE(LoadText(document, DocumentText(Tree({Leaf(1, 0, "Report"), Leaf(2, 1, "Introduction")}))));
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    EXPECT_EQ(1, heading->GetOwnTemplate());
    EXPECT_EQ(CString(L"First"), heading->GetTemplateName());
    ASSERT_EQ(1, heading->GetSubSectionCount());
    EXPECT_EQ(first, heading->GetSubSection(0)->GetPageTemplate());
}

TEST_F(DocumentFiles, ALongChainOfSectionsIsKeptWithinTheDepthLimit)
{
    std::vector<std::string> leaves{Leaf(1, 0, "H")};
    const int count = 3000;
    for (int id = 2; id <= count; ++id)
        leaves.push_back(Leaf(id, id - 1, "s" + std::to_string(id)));
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    const DWORD start = ::GetTickCount();
    ASSERT_TRUE(LoadText(document, DocumentText(Tree(leaves)), &serializer));
    size_t sections = 0, depth = 0;
    MeasureTree(document.GetProperties().GetHeadingSection().Get(), sections, depth);
    EXPECT_EQ(sections, static_cast<size_t>(count)) << "no section is lost";
    EXPECT_EQ(depth, static_cast<size_t>(CTalTags::kMaxSectionDepth));
    EXPECT_NE(serializer.AllLines().find(L"is nested too deeply"), std::wstring::npos);
    const std::wstring path = File(L"deep.otd");
    ASSERT_TRUE(Save(document, path));
    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, path));
    MeasureTree(back.GetProperties().GetHeadingSection().Get(), sections, depth);
    EXPECT_EQ(sections, static_cast<size_t>(count));
    EXPECT_LT(::GetTickCount() - start, 20000u);
}

TEST_F(DocumentFiles, AttributesAreReadInAnyOrder)
{
    const std::string body =
        "<PrintProperties Orient='3' SizeY='1500' SizeX='1000'></PrintProperties>\n"
        "<FontArray><FontName Index='0' Name='Courier'/><FontName Index='1' Name='Symbol'/></FontArray>\n"
        "<TitlePageProperties InsertWatermark='0' LogoID='0' InsertDate='0' InsertLogo='1'/>\n"
        "<ExportProperties UseTextStyles='0' CurExType='2'>"
        "<CharMapItem Align='2' Spacing='1.5' Size='20' Type='3' Style='5'/></ExportProperties>\n"
        "<Watermarks>"
        "<WatermarkItem Height='2.5' Width='4' Unit='1' Constrain='0' PicID='0' SendToFront='1' Place='6' "
        "Name='pic' Type='1'/>"
        "<WatermarkItem Num1p='12' Type='2' Name='num'/>"
        "</Watermarks>\n";
    CTalBaseDocument document;
    ASSERT_TRUE(LoadText(document, DocumentText(body)));
    const CTalDocProperties& props = document.GetProperties();
    EXPECT_EQ(std::make_tuple(props.m_printWidth, props.m_printHeight, props.m_printOrientation),
              std::make_tuple(1000, 1500, 3));
    ASSERT_EQ(props.GetFontTable().GetCount(), 2u);
    EXPECT_EQ(std::make_tuple(props.GetFontTable().GetString(0), props.GetFontTable().GetString(1)),
              std::make_tuple(std::wstring(L"Courier"), std::wstring(L"Symbol")));
    EXPECT_EQ(std::make_tuple(props.m_insertLogo, props.m_insertDate, props.m_insertWatermarks, props.m_exportType,
                              props.m_useTextStyles),
              std::make_tuple(1, 0, 0, 2, 0));
    const CTalTextFormat* three = const_cast<CTalDocProperties&>(props).GetTextFormat(3, false);
    ASSERT_NE(three, nullptr);
    // A spacing of one and a half.
    EXPECT_EQ(std::make_tuple(three->m_align, three->m_size, three->m_style, three->m_spacing),
              std::make_tuple(2, 20, 5, 1.5f));
    ASSERT_EQ(props.GetWatermarks().size(), 2u);
    const CTalWatermark& picture = *props.GetWatermarks()[0];
    EXPECT_EQ(picture.m_kind, CTalWatermark::kImage);
    EXPECT_EQ(Wide(picture.m_name), L"pic");
    EXPECT_EQ(std::make_tuple(picture.m_place, picture.m_sendToFront, picture.m_constrain, picture.m_width,
                              picture.m_height),
              std::make_tuple(6, 1, 0, 4.0, 2.5));
    EXPECT_EQ(picture.m_unit, CTalWatermark::kUnitMillimetre);
    EXPECT_EQ(props.GetWatermarks()[1]->m_firstNumber, 12);
}

TEST_F(DocumentFiles, ATextWatermarkWithoutItsOwnStyleTakesTheLatestReadBeforeIt)
{
    const std::string body = "<Watermarks>"
                             "<WatermarkItem Type='0' Text='zero'></WatermarkItem>"
                             "<WatermarkItem Type='0' Text='one'><WCharMapItem Size='40' Color='255'/></WatermarkItem>"
                             "<WatermarkItem Type='0' Text='two'></WatermarkItem>"
                             "</Watermarks>\n";
    CTalBaseDocument document;
    ASSERT_TRUE(LoadText(document, DocumentText(body)));
    const auto& watermarks = document.GetProperties().GetWatermarks();
    ASSERT_EQ(watermarks.size(), 3u);
    EXPECT_TRUE(watermarks[0]->m_textFormat == CTalTextFormat()) << "none read before it";
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(watermarks[i]->m_textFormat.m_size, 40) << i;
        EXPECT_EQ(watermarks[i]->m_textFormat.m_color, 255u) << i;
    }
}

TEST_F(DocumentFiles, TextNotesKeepTheirCharactersSpacingsAndPositions)
{
    const struct {
        const char* what;
        std::string note;
        const wchar_t* text;
    } cases[] = {
        {"no line feed after the start tag", "<TextNote>abc<CharacterItem CharCount='3'/></TextNote>", L"abc"},
        {"the usual line feed", "<TextNote>\nabc\n\t\t\t<CharacterItem CharCount='3'/>\n\t\t</TextNote>", L"abc"},
        {"blanks and line feeds of its own at the end",
         "<TextNote>\nab&#10; &#10;\t\t<CharacterItem CharCount='5'/>\n\t</TextNote>", L"ab\n \n"},
        {"a TAB inside", "<TextNote>\na&#9;b\t<CharacterItem CharCount='3'/></TextNote>", L"a\tb"},
        {"without runs the end is trimmed", "<TextNote>\nabc  \n\t</TextNote>", L"abc"},
        {"text after the runs' length is kept", "<TextNote>\nabcdef<CharacterItem CharCount='3'/></TextNote>",
         L"abcdef"},
    };
    for (const auto& test : cases) {
        CTalBaseDocument document;
        ASSERT_TRUE(LoadText(document, DocumentText(Tree({Leaf(1, 0, "H", test.note)})))) << test.what;
        const CTalTextNote* note = document.GetProperties().GetHeadingSection()->GetTextNote();
        EXPECT_EQ(Wide(note->GetText()), test.text) << test.what;
        int64_t runs = 0;
        for (int i = 0; i < note->GetRunCount(); ++i)
            runs += note->GetRun(i).m_count;
        if (note->GetRunCount() > 0) {
            EXPECT_EQ(runs, note->GetLength()) << test.what;
        }
    }

    const std::string note =
        "<TextNote>\nab\ncd"
        "<CharacterItem CharCount='2' Style='3' CharSet='204' Size='-7' Num='2' Color='16711935' Spacing='2.5' "
        "Pos='1' Flags='1'/>"
        "<CharacterItem CharCount='3' Spacing='1e300'/>"
        "<ParagrafItem CharCount='3' LeftIndent='1.5' RightIndent='2' FirstLine='-3' BeforeIndent='12.5' "
        "AfterIndent='3' BetweenIndent='-150' HAlign='2'/>"
        "<ParagrafItem CharCount='2' BeforeIndent='-1e300' AfterIndent='nonsense'/>"
        "</TextNote>";
    CTalBaseDocument document;
    ASSERT_TRUE(LoadText(document, DocumentText(Tree({Leaf(1, 0, "H", note)}))));
    const CTalTextNote* read = document.GetProperties().GetHeadingSection()->GetTextNote();
    ASSERT_EQ(read->GetRunCount(), 2);
    const CKWCharFormat& run = read->GetRun(0);
    EXPECT_EQ(std::make_tuple(run.m_style, run.m_charSet, run.m_size, run.m_fontIndex, run.GetColorRef(),
                              run.m_spacing, run.m_vertical, run.m_sizeStepUp),
              std::make_tuple(3, 204, -7, 2u, 16711935u, 2.5f, 1, 1));
    EXPECT_EQ(run.m_color.GetKind(), CKWColor::KindRgb);
    EXPECT_EQ(read->GetRun(1).m_spacing, 1000.0f) << "held within a sane range";
    ASSERT_EQ(read->GetParaCount(), 2);
    const CKWParaFormat& para = read->GetPara(0);
    EXPECT_EQ(std::make_tuple(para.m_leftIndent, para.m_rightIndent, para.m_firstLine, para.m_spaceBefore,
                              para.m_spaceAfter, para.m_lineSpacing, para.m_align),
              std::make_tuple(1.5f, 2.0f, -3.0f, 12.5f, 3.0f, -150.0f, 2));
    EXPECT_EQ(read->GetPara(1).m_spaceBefore, -100000.0f);
    EXPECT_EQ(read->GetPara(1).m_spaceAfter, 0.0f);
}

TEST_F(DocumentFiles, MisplacedElementsAreSkippedAndReported)
{
    const std::string body = Tree({"<Leaf ID='1' IDParentLeaf='0'>\nH<CurLeafTemplate ID='-1'/>" +
                                       Leaf(2, 1, "nested in a Leaf") + "<Unknown>text of it</Unknown></Leaf>\n",
                                   Leaf(3, 1, "fine")}) +
                             "<Leaf ID='4' IDParentLeaf='1'>outside the tree</Leaf>\n";
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer)) << "misplaced elements are no error";
    EXPECT_EQ(DescribeDocument(document), L"H(fine)");
    ASSERT_EQ(serializer.dialogs.size(), 1u);
    EXPECT_EQ(serializer.dialogs[0].heading, L"Some errors have occured during loading the document:");
    const std::vector<std::wstring>& lines = serializer.dialogs[0].lines;
    ASSERT_EQ(lines.size(), 3u) << filestest::ToAnsi(serializer.AllLines());
    EXPECT_EQ(lines[0].find(L"Warning [line "), 0u);
    EXPECT_NE(lines[0].find(L"]: Misplaced tag Leaf is ignored."), std::wstring::npos);
    EXPECT_NE(lines[1].find(L"]: Unknown tag Unknown is ignored."), std::wstring::npos);
    EXPECT_NE(lines[2].find(L"]: Misplaced tag Leaf is ignored."), std::wstring::npos);
}

TEST_F(DocumentFiles, AFileCutShortFailsAndKeepsWhatWasRead)
{
    const std::string text = DocumentText("<ExportProperties CurExType='4'/>\n" +
                                          Tree({Leaf(1, 0, "H"), Leaf(2, 1, "a"), Leaf(3, 1, "b")}) +
                                          "<Images SavePicType='0' Count='0'></Images>\n");
    const size_t cut = text.find("<Leaf ID='3'");
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    EXPECT_FALSE(LoadText(document, text.substr(0, cut), &serializer));
    ASSERT_EQ(serializer.dialogs.size(), 1u);
    ASSERT_EQ(serializer.dialogs[0].lines.size(), 2u);
    EXPECT_EQ(serializer.dialogs[0].lines[0], L"Incompatable format of file.");
    EXPECT_EQ(serializer.dialogs[0].lines[1].find(L"Error [Line 9]: "), 0u) << "the parser's own message";
    EXPECT_EQ(document.GetProperties().m_exportType, 4);
    EXPECT_EQ(DescribeDocument(document), L"H(a)") << "the sections read are in the tree";

    CTalBaseDocument broken;
    CRecordingSerializer second;
    EXPECT_FALSE(LoadText(broken, DocumentText("<Tree><Leaf ID='1'></Tree>"), &second));
    ASSERT_EQ(second.dialogs.size(), 1u);
    ASSERT_GE(second.dialogs[0].lines.size(), 2u);
    EXPECT_NE(second.AllLines().find(L"Parsing error occures."), std::wstring::npos);
}

TEST_F(DocumentFiles, DamageInsidePictureDataIsNeverASilentLoss)
{
    const std::string data = XmlBinaryForm(std::string(3000, 'p').data(), 3000);
    const std::string half = data.substr(0, data.size() / 2);
    const std::string tree = Tree({Leaf(1, 0, "H", "<ImageList><ImageListItem ID='1'/><ImageListItem ID='2'/>"
                                                  "</ImageList>")});
    const auto images = [&](const std::string& first) {
        return "<Images SavePicType='0' Count='2'><Image ID='1' FileFormat='png'>\n" + first +
               "</Image><Image ID='2' FileFormat='png'>\n" + data + "</Image></Images>\n";
    };
    const std::string leaf = "<LeafTemplate ID='1' FileName='t.otl'><LeafPreview FileFormat='png'>\n";
    const std::string cells = "</LeafPreview><LeafRectArray Type='1'><LeafRectArrayItem Left='1'/></LeafRectArray>"
                              "</LeafTemplate>\n";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"cut inside the first picture", DocumentText(tree + images(half)).substr(0, 300 + tree.size())},
        {"an unclosed comment in a picture", DocumentText(tree + images(half + "<!--" + half))},
        {"an unclosed CDATA section in a picture", DocumentText(tree + images(half + "<![CDATA[" + half))},
        {"a damaged byte in a template's preview", DocumentText(tree + leaf + half + "&" + half + cells)},
        {"a template's preview cut short", DocumentText(tree + leaf + half)},
    };
    for (const auto& test : cases) {
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        EXPECT_FALSE(LoadText(document, test.text, &serializer)) << test.what;
        ASSERT_EQ(serializer.dialogs.size(), 1u) << test.what;
        EXPECT_NE(serializer.AllLines().find(L"Error [Line "), std::wstring::npos) << test.what;
        g_TemplateManager.Clear();
    }
}

TEST_F(DocumentFiles, AFileThatCannotBeOpenedIsNoDocument)
{
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    EXPECT_FALSE(Load(document, File(L"no such file.otd"), &serializer));
    // An empty file is no empty document: everything it held is gone.
    EXPECT_FALSE(LoadText(document, "", &serializer));
    EXPECT_EQ(serializer.messages, std::vector<std::wstring>(2, L"Incompatable format of file."));
    EXPECT_TRUE(serializer.dialogs.empty());

    CRecordingSerializer noTable;
    filestest::WriteBytes(File(L"empty.otd"), DocumentText(""));
    EXPECT_FALSE(noTable.LoadDocument(File(L"empty.otd").c_str(), &document, nullptr, 0, nullptr));
    CTalTags tags;
    ASSERT_TRUE(tags.RegisterTags());
    EXPECT_FALSE(noTable.LoadDocument(File(L"empty.otd").c_str(), nullptr, &tags, 0, nullptr));
}

TEST_F(DocumentFiles, APageTemplateFileLoadsAsAnEmptyDocument)
{
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document,
                         "<?xml version='1.0' encoding='utf-8' ?>\n<LeafTemplate Title='t'>\n"
                         "<LeafRectArray Type='1'><LeafRectArrayItem Left='0'/></LeafRectArray></LeafTemplate>\n",
                         &serializer));
    EXPECT_EQ(DescribeDocument(document), L"Heading record");
    EXPECT_EQ(document.GetProperties().m_imageSaveType, -1) << "a file without Images";
    for (int32_t id = 0; id <= 10; ++id)
        EXPECT_NE(document.GetProperties().GetTextFormat(id, false), nullptr) << id;
    EXPECT_NE(serializer.AllLines().find(L"Misplaced tag LeafTemplate is ignored."), std::wstring::npos);
}

TEST_F(DocumentFiles, PictureFilesThatAreMissingAreListedAndKept)
{
    const std::wstring missing = File(L"away.jpg");
    const std::string body = Tree({Leaf(1, 0, "H", "<ImageList><ImageListItem ID='3' Desc='d'/></ImageList>")}) +
                             "<Images SavePicType='1' Count='1'><Image ID='3'>\n" + XmlTextForm(missing.c_str()) +
                             "\t</Image></Images>\n";
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer));
    ASSERT_EQ(serializer.dialogs.size(), 1u);
    EXPECT_EQ(serializer.dialogs[0].lines, (std::vector<std::wstring>{L"Cannot open file " + missing, L""}));
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), 1);
    EXPECT_EQ(Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(heading->GetPicture(0)->GetPictureId()))),
              missing);
    EXPECT_EQ(document.GetProperties().m_imageSaveType, 1);
}

TEST_F(DocumentFiles, PicturesSharedWithTheLogoAndWatermarksAreResolvedInEveryStorageMode)
{
    // Bytes that begin as pictures do: a document naming files where they lie takes only those.
    const std::string first = "\xFF\xD8\xFF first picture", second = "GIF89a second picture";
    const std::wstring folder = File(L"shared Images") + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    filestest::WriteBytes(folder + L"one.jpg", first);
    filestest::WriteBytes(folder + L"two.png", second);
    const std::string items = "<ImageList><ImageListItem ID='5' Desc='a'/><ImageListItem ID='6' Desc='b'/>"
                              "<ImageListItem ID='5' Desc='c'/></ImageList>";
    const std::string common = "<TitlePageProperties LogoID='5'/>"
                               "<Watermarks><WatermarkItem Type='1' PicID='5'/><WatermarkItem Type='1' PicID='6'/>"
                               "<WatermarkItem Type='1' PicID='9'/></Watermarks>" +
                               Tree({Leaf(1, 0, "H", items), Leaf(2, 1, "s", "<ImageList><ImageListItem ID='6'/>"
                                                                             "</ImageList>")});
    const std::string images[] = {
        "<Images SavePicType='0' Count='2'><Image ID='6' FileFormat='png'>\n" + XmlBinaryForm(second.data(), second.size()) +
            "</Image><Image ID='5' FileFormat='jpg'>\n" + XmlBinaryForm(first.data(), first.size()) + "</Image></Images>",
        "<Images SavePicType='1' Count='2'><Image ID='6'>\n" + XmlTextForm((folder + L"two.png").c_str()) +
            "</Image><Image ID='5'>\n\t\t\t" + XmlTextForm((folder + L"one.jpg").c_str()) + "\n\t\t</Image></Images>",
        "<Images SavePicType='2' Count='2'><Image ID='6'>\n    shared Images\\two.png\n  </Image>"
        "<Image ID='5'>\nshared Images\\one.jpg</Image></Images>",
    };
    for (int mode = 0; mode <= 2; ++mode) {
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        const std::wstring path = File(L"shared.otd");
        filestest::WriteBytes(path, DocumentText(common + images[mode]));
        serializer.SetTemplateFolder(TemplateFolder().c_str());
        CTalTags tags;
        ASSERT_TRUE(tags.RegisterTags());
        filestest::CProgressProbe progress;
        ASSERT_TRUE(serializer.LoadDocument(path.c_str(), &document, &tags, 0, &progress)) << mode;
        EXPECT_EQ(progress.GetPos(), 1000) << "the bar ends at its end in every mode, " << mode;
        EXPECT_FALSE(progress.backwards) << mode;
        // The stages named to the user: the pictures' only when the file holds them.
        std::vector<std::wstring> stages = {L"Loading templates...", L"Loading..."};
        if (mode == 0)
            stages.insert(stages.begin(), L"Preprocessing images...");
        EXPECT_EQ(stages, progress.messages) << mode;
        // The watermark of a key the file lacks is kept without a picture, and said.
        ASSERT_EQ(serializer.dialogs.size(), 1u) << mode;
        const std::wstring all = serializer.AllLines();
        EXPECT_NE(all.find(L"The picture watermark \"\" names no picture that the file holds; it is kept without one."),
                  std::wstring::npos)
            << mode << filestest::ToAnsi(all);
        EXPECT_EQ(std::count(all.begin(), all.end(), L'\n'), 1) << mode << filestest::ToAnsi(all);
        const CTalDocProperties& props = document.GetProperties();
        EXPECT_EQ(PictureBytes(props.m_logoPictureId), first) << mode;
        ASSERT_EQ(props.GetWatermarks().size(), 3u);
        EXPECT_EQ(PictureBytes(props.GetWatermarks()[0]->m_pictureId), first) << mode;
        EXPECT_EQ(PictureBytes(props.GetWatermarks()[1]->m_pictureId), second) << mode;
        EXPECT_EQ(props.GetWatermarks()[2]->m_pictureId, 0) << "a key without picture names none, mode " << mode;
        CKWRefPtr<CTalSection> heading = props.GetHeadingSection();
        ASSERT_EQ(heading->GetPictureCount(), 3) << mode;
        EXPECT_EQ(PictureBytes(heading->GetPicture(0)->GetPictureId()), first) << mode;
        EXPECT_EQ(Wide(heading->GetPicture(0)->GetTitle()), L"a");
        EXPECT_EQ(PictureBytes(heading->GetPicture(1)->GetPictureId()), second) << "the section's order, mode "
                                                                                << mode;
        EXPECT_EQ(Wide(heading->GetPicture(2)->GetTitle()), L"c") << "listed twice, there twice, mode " << mode;
        ASSERT_EQ(heading->GetSubSectionCount(), 1);
        ASSERT_EQ(heading->GetSubSection(0)->GetPictureCount(), 1);
        EXPECT_EQ(PictureBytes(heading->GetSubSection(0)->GetPicture(0)->GetPictureId()), second) << mode;
    }
}

TEST_F(DocumentFiles, EachPageTemplateKeepsItsOwnCellsWithOrWithoutPreview)
{
    const std::string preview = XmlBinaryForm("preview", 7);
    const std::string body =
        Tree({"<Leaf ID='1' IDParentLeaf='0'>H<CurLeafTemplate ID='2'/></Leaf>",
              "<Leaf ID='2' IDParentLeaf='1'>a<CurLeafTemplate ID='2'/></Leaf>",
              "<Leaf ID='3' IDParentLeaf='1'>b<CurLeafTemplate ID='3'/></Leaf>"}) +
        "<Images SavePicType='0' Count='0'></Images>\n"
        "<LeafTemplate ID='2' FileName='with.otl' Title='With'>\n"
        "<LeafPreview FileFormat='png'>\n" + preview + "</LeafPreview>\n"
        "<LeafRectArray Type='1'><LeafRectArrayItem Left='0.1' Right='0.2' Top='0.3' Bottom='0.4'/></LeafRectArray>\n"
        "</LeafTemplate>\n"
        "<LeafTemplate ID='3' FileName='without.otl'>\n"
        "<LeafRectArray Type='3'><LeafRectArrayItem Left='0.5' Right='0.6' Top='0.7' Bottom='0.8'/></LeafRectArray>\n"
        "<LeafBgImage FileFormat='jpg'>\n" + XmlBinaryForm("background", 10) + "</LeafBgImage>\n"
        "</LeafTemplate>\n";
    CTalBaseDocument document;
    ASSERT_TRUE(LoadText(document, DocumentText(body)));
    const CTalTemplate* with = g_TemplateManager.FindPageTemplate(L"with.otl");
    const CTalTemplate* without = g_TemplateManager.FindPageTemplate(L"without.otl");
    ASSERT_NE(with, nullptr);
    ASSERT_NE(without, nullptr);
    EXPECT_EQ(PictureBytes(with->GetPreviewPictureId()), "preview");
    ASSERT_NE(with->GetCells(1), nullptr);
    EXPECT_EQ(with->GetCells(1)->size(), 1u);
    EXPECT_EQ(with->GetCells(3), nullptr) << "the next template's cells are not this one's";
    EXPECT_EQ(without->GetPreviewPictureId(), 0);
    EXPECT_EQ(PictureBytes(without->GetBackgroundPictureId()), "background") << "found after the cells";
    ASSERT_NE(without->GetCells(3), nullptr);
    EXPECT_EQ(without->GetCells(3)->size(), 1u);
    EXPECT_TRUE(filestest::FileExists(TemplateFolder() + L"with.otl"));
    EXPECT_TRUE(filestest::FileExists(TemplateFolder() + L"without.otl"));
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    EXPECT_EQ(Wide(heading->GetTemplateName()), L"with.otl");
    EXPECT_EQ(Wide(heading->GetSubSection(1)->GetTemplateName()), L"without.otl");
    EXPECT_EQ(heading->GetSubSection(1)->GetOwnTemplate(), 1);
}

TEST_F(DocumentFiles, TemplateNamesThatWouldLeaveTheTemplateFolderAreRefused)
{
    const char* const names[] = {"..\\evil.otl", "../evil.otl", "sub\\evil.otl", "C:evil.otl", "\\\\host\\evil.otl",
                                 "CON",          "con.otl",     "LPT1.otl",      "evil.otl.",  "evil.otl ",
                                 "a..otl",       "",            "evil11.exe",    "desktop.ini", "COM\xC2\xB9.otl",
                                 "lpt\xC2\xB3.ott"};
    for (const char* name : names) {
        const std::string body =
            Tree({"<Leaf ID='1' IDParentLeaf='0'>H<CurLeafTemplate ID='1'/></Leaf>"}) +
            "<TitleTemplate FileName='" + std::string(name) + "'><TitleRectArray Type='4'>"
            "<TitleRectArrayItem Left='1'/></TitleRectArray></TitleTemplate>\n"
            "<LeafTemplate ID='1' FileName='" + name + "'><LeafRectArray Type='1'><LeafRectArrayItem Left='1'/>"
            "</LeafRectArray></LeafTemplate>\n";
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer)) << name;
        EXPECT_TRUE(g_TemplateManager.GetPageTemplates().empty()) << name;
        EXPECT_TRUE(g_TemplateManager.GetTitlePageTemplates().empty()) << name;
        EXPECT_TRUE(FilesIn(TemplateFolder()).empty()) << name;
        EXPECT_NE(serializer.AllLines().find(L"is refused."), std::wstring::npos) << name;
        EXPECT_EQ(document.GetProperties().GetHeadingSection()->GetOwnTemplate(), 0) << name;
    }
    EXPECT_EQ(FilesIn(m_dir.Path()), std::vector<std::wstring>{L"crafted.otd"}) << "nothing written beside it";
    EXPECT_FALSE(filestest::FileExists(L"C:\\evil.otl"));
}

TEST_F(DocumentFiles, PictureReferencesOutsideThePictureFolderOrToDevicesAreRefused)
{
    filestest::WriteBytes(File(L"outside.png"), "outside");
    const wchar_t* refused = L"The picture file name";
    const KWPictureState missing = KWPictureState::Missing;
    const std::string longLink = "\\\\server\\share\\" + std::string(281, 'f') + ".jpg";  // longer than a header
    // A real picture where the end of the long link, as a start tag holds it,
    // would name a file: such an end is a name, never a file's path.
    const std::string linkEnd = filestest::ToAnsi(Wide(BoundedPictureName(filestest::ToWide(longLink).c_str())));
    filestest::WriteBytes(m_dir.Path() + filestest::ToWide(linkEnd), RealPicture("jpg", 6));
    const wchar_t* notTaken = L"was not taken";
    // Beside the refused names, the other placeholders of no file: a file
    // that is not a picture, and embedded data that give none. Each picture
    // a row names is shown by what it lists: a section (s), the title page's
    // logo (l), a picture watermark (w).
    const struct {
        int mode;
        std::string reference;
        const wchar_t* said;
        KWPictureState state;
        std::string shows = "s";
    } cases[] = {
        {2, "..\\outside.png", refused, missing}, {2, "x Images\\..\\..\\outside.png", refused, missing},
        {2, "..", refused, missing}, {2, "..\\x", refused, missing}, {2, "x Images\\..", refused, missing},
        {2, "CON", refused, missing}, {2, "x Images\\COM1.jpg", refused, missing},
        {2, "C:\\outside.png", refused, missing}, {2, "outside.png", refused, missing}, {1, "CON", refused, missing},
        {1, "C:\\folder\\com\xC2\xB2.jpg", refused, missing}, {1, "\\\\server\\share\\x.jpg", refused, missing},
        {1, "C:x.jpg", refused, missing}, {1, "\\\\?\\C:\\x.jpg", refused, missing}, {1, longLink, refused, missing},
        {1, filestest::ToAnsi(File(L"outside.png")), L"is not a picture", KWPictureState::NotPicture},
        {0, "", L"holds no picture data", KWPictureState::Damaged}, {1, linkEnd, notTaken, missing},
        {1, longLink, refused, missing, "l"}, {1, longLink, refused, missing, "w"},
        {1, longLink, refused, missing, "lws"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.reference + " shown by " + test.shows);
        std::string shows, list, images;
        for (size_t i = 0; i < test.shows.size(); ++i) {
            const std::string key = std::to_string(3 + i);
            shows += test.shows[i] == 'l'   ? "<TitlePageProperties LogoID='" + key + "'/>"
                     : test.shows[i] == 'w' ? "<Watermarks><WatermarkItem Type='1' PicID='" + key + "'/></Watermarks>"
                                            : "";
            list += test.shows[i] == 's' ? "<ImageListItem ID='" + key + "'/>" : "";
            images += "<Image ID='" + key + "'" + (test.mode == 0 ? " FileFormat='jpg'" : "") + ">\n" +
                      test.reference + "</Image>";
        }
        const std::string body =
            shows + (list.empty() ? "" : Tree({Leaf(1, 0, "H", "<ImageList>" + list + "</ImageList>")})) +
            "<Images SavePicType='" + std::to_string(test.mode) + "' Count='" + std::to_string(test.shows.size()) +
            "'>" + images + "</Images>\n";
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer));
        EXPECT_NE(serializer.AllLines().find(test.said), std::wstring::npos);
        // A link longer than a header, saved embedded, as links, copied
        // beside the report and embedded again: named whole at each reopen,
        // by every picture that shows it, each picture's start tag within
        // its header, and the file at its end's path never taken.
        const std::wstring whole = filestest::ToWide(test.reference);
        CTalBaseDocument* from = &document;
        std::unique_ptr<CTalBaseDocument> held;
        for (int mode : test.reference.size() > 200 ? std::vector<int>{0, 1, 2, 0} : std::vector<int>{}) {
            from->GetProperties().m_imageSaveType = mode;
            ASSERT_TRUE(Save(*from, File(L"cycle.otd")));
            const std::string written = filestest::ReadBytes(File(L"cycle.otd"));
            for (size_t at = written.find("<Image "); at != std::string::npos; at = written.find("<Image ", at + 1))
                EXPECT_NE(written.substr(at, 200).find('>'), std::string::npos) << mode;
            auto back = std::make_unique<CTalBaseDocument>();
            CRecordingSerializer reader;
            ASSERT_TRUE(Load(*back, File(L"cycle.otd"), &reader));
            EXPECT_NE(reader.AllLines().find(L"\"" + whole + L"\""), std::wstring::npos) << mode;
            const CTalDocProperties& props = back->GetProperties();
            std::vector<int32_t> ids = {static_cast<int32_t>(props.m_logoPictureId)};
            for (const CTalWatermark* mark : props.GetWatermarks())
                ids.push_back(static_cast<int32_t>(mark->m_pictureId));
            for (const auto& picture : props.GetHeadingSection()->GetPictures())
                ids.push_back(picture->GetPictureId());
            ids.erase(std::remove(ids.begin(), ids.end(), 0), ids.end());
            EXPECT_EQ(ids.size(), test.shows.size()) << mode;
            for (int32_t id : ids)
                EXPECT_EQ(Wide(g_rasterLib.GetImagePath(id)) + Wide(g_rasterLib.GetPictureSource(id)), whole) << mode;
            held = std::move(back);
            from = held.get();
        }
        document.GetProperties().m_imageSaveType = test.mode;
        if (test.shows != "s")
            continue;
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        ASSERT_EQ(heading->GetPictureCount(), 1);
        const uint32_t id = uint32_t(heading->GetPicture(0)->GetPictureId());
        EXPECT_EQ(Wide(g_rasterLib.GetImagePath(id)), L"") << "no file";
        EXPECT_EQ(g_rasterLib.GetPictureState(id, false), test.state) << "shown as missing";

        // Pasted into the same report and into another, both save, each link
        // as it was read, and come back as the same placeholders, named again.
        CTalBaseDocument other;
        other.GetProperties().m_imageSaveType = test.mode;
        ASSERT_TRUE(PasteThroughClipboard(heading->GetPictures(), other.GetProperties().GetHeadingSection().Get()));
        ASSERT_TRUE(PasteThroughClipboard(heading->GetPictures(), heading.Get()));
        // The end of a link is written as a name, no link.
        const std::string escaped = XmlEscapeUtf8(test.reference.data(), test.reference.size());
        const std::string link = filestest::WithCrLf(test.said == notTaken ? "RefusedLink='" + escaped + "'"
                                                                            : ">\n" + escaped + "\t");
        for (CTalBaseDocument* report : {&document, &other}) {
            ASSERT_TRUE(Save(*report, File(L"again.otd"))) << "the document stays savable";
            const std::string written = filestest::ReadBytes(File(L"again.otd"));
            const int count = report == &document ? 2 : 1;
            int links = 0;
            for (size_t at = written.find(link); test.mode && at != std::string::npos; at = written.find(link, at + 1))
                ++links;
            EXPECT_EQ(links, test.mode != 0 ? count : 0);
            CTalBaseDocument back;
            CRecordingSerializer reader;
            ASSERT_TRUE(Load(back, File(L"again.otd"), &reader));
            EXPECT_NE(reader.AllLines().find(test.said), std::wstring::npos);
            ASSERT_EQ(back.GetProperties().GetHeadingSection()->GetPictureCount(), count);
            for (const auto& picture : back.GetProperties().GetHeadingSection()->GetPictures())
                EXPECT_EQ(g_rasterLib.GetPictureState(uint32_t(picture->GetPictureId()), false), test.state);
        }
        if (test.mode == 0)
            continue;
        // Pasted into a report that embeds its pictures, before a picture of
        // its own, saved and reopened: named as its report named it, which a
        // save of any mode writes again. Each picture's start tag ends within
        // the 200 bytes a reader takes as its header, so that such a reader
        // finds every picture after it too.
        const std::wstring name = Wide(g_rasterLib.GetPictureSource(id));
        CTalBaseDocument inside, back;
        ASSERT_TRUE(PasteThroughClipboard(heading->GetPictures(), inside.GetProperties().GetHeadingSection().Get()));
        AddPicture(inside.GetProperties().GetHeadingSection().Get(), StorePicture(RealPicture("jpg", 5)));
        ASSERT_TRUE(Save(inside, File(L"inside.otd")));
        const std::string written = filestest::ReadBytes(File(L"inside.otd"));
        for (size_t at = written.find("<Image "); at != std::string::npos; at = written.find("<Image ", at + 1))
            EXPECT_NE(written.substr(at, 200).find('>'), std::string::npos) << written.substr(at, 300);
        CRecordingSerializer reader;
        ASSERT_TRUE(Load(back, File(L"inside.otd"), &reader));
        EXPECT_NE(reader.AllLines().find(L"\"" + name + L"\" was not taken"), std::wstring::npos);
        ASSERT_EQ(back.GetProperties().GetHeadingSection()->GetPictureCount(), heading->GetPictureCount() + 1);
        const uint32_t again = uint32_t(back.GetProperties().GetHeadingSection()->GetPicture(0)->GetPictureId());
        EXPECT_EQ(Wide(g_rasterLib.GetImagePath(again)) + Wide(g_rasterLib.GetPictureSource(again)), name) << "no file";
    }
}

TEST_F(DocumentFiles, GarbledNumbersReadTheirFirstDigitsSilentlyAndRepeatedImageIdsAreWarnedAbout)
{
    const std::string picture = XmlBinaryForm("first", 5), other = XmlBinaryForm("second", 6);
    const std::string body =
        "<FontArray><FontName Index='0' Name='Arial'/><FontName Index='nan' Name='Evil'/>"
        "<FontName Index='1x' Name='Courier New'/></FontArray>\n"
        "<PrintProperties SizeX='12abc' SizeY='1500'/>\n" +
        Tree({Leaf(1, 0, "H", "<ImageList><ImageListItem ID='4' Angle='x'/></ImageList>")}) +
        "<Images SavePicType='0' Count='2'><Image ID='4' FileFormat='png'>\n" + picture +
        "</Image><Image ID='4' FileFormat='png'>\n" + other + "</Image></Images>\n"
        "<LeafTemplate ID='3' FileName='a.otl'/><LeafTemplate ID='3' FileName='b.otl'/>"
        "<LeafTemplate ID='5' FileName='A.otl'/>\n";
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer));
    const CTalDocProperties& props = document.GetProperties();
    ASSERT_EQ(props.GetFontTable().GetCount(), 2u);
    EXPECT_EQ(props.GetFontTable().GetString(0), L"Evil") << "\"nan\" is index 0, whose later name replaces Arial";
    EXPECT_EQ(props.GetFontTable().GetString(1), L"Courier New") << "\"1x\" is index 1";
    EXPECT_EQ(props.m_printWidth, 12) << "\"12abc\" is 12";
    EXPECT_EQ(props.m_printHeight, 1500);
    CKWRefPtr<CTalSection> heading = props.GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), 1);
    EXPECT_EQ(PictureBytes(heading->GetPicture(0)->GetPictureId()), "first");
    EXPECT_EQ(heading->GetPicture(0)->GetAngle(), 0) << "\"x\" is 0";
    const std::wstring lines = serializer.AllLines();
    EXPECT_EQ(lines.find(L"is not a number"), std::wstring::npos) << "no word about a value that is not a number";
    for (const wchar_t* expected : {L"The image ID 4 is used more than once.",
                                    L"The page template \"b.otl\" with ID 3 is carried more than once.",
                                    L"The page template \"A.otl\" with ID 5 is carried more than once."})
        EXPECT_NE(lines.find(expected), std::wstring::npos) << filestest::ToAnsi(expected);
}

TEST_F(DocumentFiles, KeysWithoutAPictureAddNothingAndAListOfNoKnownTypeIsWarnedAbout)
{
    for (const char* images : {"<Images SavePicType='0' Count='0'></Images>\n",
                               "<Images Count='1'><Image ID='9'>x.png</Image></Images>\n"}) {
        const std::string body =
            "<TitlePageProperties LogoID='9'/>" +
            Tree({Leaf(1, 0, "H", "<ImageList><ImageListItem ID='9'/><ImageListItem/></ImageList>")}) + images;
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        ASSERT_TRUE(LoadText(document, DocumentText(body), &serializer));
        EXPECT_EQ(document.GetProperties().m_logoPictureId, 0);
        EXPECT_EQ(document.GetProperties().GetHeadingSection()->GetPictureCount(), 0);
        EXPECT_EQ(serializer.AllLines().find(L"stored in no known way") != std::wstring::npos, images[8] == 'C');
    }
}

TEST_F(DocumentFiles, ADeepTreeWithSiblingsOnEveryLevelIsWrittenReadably)
{
    CTalBaseDocument document;
    CKWRefPtr<CTalSection> level = document.GetProperties().GetHeadingSection();
    const int levels = CTalTags::kMaxSectionDepth - 1;
    for (int i = 0; i < levels; ++i) {
        AddSection(level.Get(), L"leaf");
        level = AddSection(level.Get(), L"branch");
    }
    const std::wstring path = File(L"bushy.otd");
    ASSERT_TRUE(Save(document, path));
    EXPECT_TRUE(filestest::IsWellFormedXml(path)) << "within the parser's depth limit";
    CTalBaseDocument back;
    CRecordingSerializer serializer;
    ASSERT_TRUE(Load(back, path, &serializer));
    EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
    size_t sections = 0, depth = 0;
    MeasureTree(back.GetProperties().GetHeadingSection().Get(), sections, depth);
    EXPECT_EQ(sections, static_cast<size_t>(1 + 2 * levels));
    EXPECT_EQ(depth, static_cast<size_t>(levels));
    // The model's own tree is freed section by section.
    level = nullptr;
}

TEST_F(DocumentFiles, AFileCutInsideAnElementSaysSoInTheParsersOwnWords)
{
    const std::string data = XmlBinaryForm(std::string(3000, 'p').data(), 3000);
    const std::string text =
        DocumentText(Tree({Leaf(1, 0, "H", "<ImageList><ImageListItem ID='1'/></ImageList>")}) +
                     "<Images SavePicType='0' Count='1'><Image ID='1' FileFormat='png'>\n" + data +
                     "</Image></Images>\n");
    const struct {
        const char* what;
        size_t cut;
        const wchar_t* expected;  // the error line after "Incompatable format of file."
    } cases[] = {
        {"inside a picture's data", text.find("<Image ID") + 100,
         L"Error [Line 9]: Premature end of data in tag Image line 8"},
        {"inside a section's name", text.find("<Leaf ID") + 30,
         L"Error [Line 5]: Premature end of data in tag Leaf line 5"},
        {"after a start tag", text.find("<Images") + 35, L"Error [Line 8]: Premature end of data in tag Images line 8"},
        {"inside a start tag", text.find("<Image ID") + 10, L"Error [Line 8]: AttValue: \" or ' expected"},
    };
    for (const auto& test : cases) {
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        EXPECT_FALSE(LoadText(document, text.substr(0, test.cut), &serializer)) << test.what;
        ASSERT_EQ(serializer.dialogs.size(), 1u) << test.what;
        const std::vector<std::wstring>& lines = serializer.dialogs[0].lines;
        ASSERT_GE(lines.size(), 2u) << test.what;
        EXPECT_EQ(lines[0], L"Incompatable format of file.") << test.what;
        EXPECT_EQ(lines[1], test.expected) << test.what;
        EXPECT_EQ(serializer.AllLines().find(L"Extra content"), std::wstring::npos) << test.what;
    }
}

TEST_F(DocumentFiles, TheProblemReportShowsItsFirstThousandLinesAndCountsTheRest)
{
    std::string misplaced;
    for (int i = 0; i < 1500; ++i)
        misplaced += "<Leaf/>\n";
    const std::string complete = DocumentText(misplaced);
    std::string missing = "<Images SavePicType='1' Count='10'>";
    std::string items;
    for (int i = 1; i <= 10; ++i) {
        missing += "<Image ID='" + std::to_string(i) + "'>\n" + filestest::ToAnsi(File(L"gone")) + std::to_string(i) +
                   ".jpg</Image>";
        items += "<ImageListItem ID='" + std::to_string(i) + "'/>";
    }
    missing += "</Images>\n";
    const std::string files = Tree({Leaf(1, 0, "H", "<ImageList>" + items + "</ImageList>")}) + missing;
    const struct {
        const char* what;
        std::string text;
        bool loads;
        const wchar_t* first;
        size_t lastWarning;  // the line that holds the 1000th warning
        const wchar_t* more;
    } cases[] = {
        {"warnings only", DocumentText(misplaced), true, L"Warning [line 4]: Misplaced tag Leaf is ignored.", 999,
         L"500 more lines are not shown."},
        {"missing files first", DocumentText(files + misplaced), true, L"Cannot open file ", 0,
         L"510 more lines are not shown."},
        {"a file cut short", complete.substr(0, complete.rfind("</TallierDocument")), false,
         L"Incompatable format of file.", 0, L"502 more lines are not shown."},
        {"a short report", DocumentText(misplaced.substr(0, 8 * 999)), true, L"Warning [line 4]", 998, nullptr},
    };
    for (const auto& test : cases) {
        CTalBaseDocument document;
        CRecordingSerializer serializer;
        EXPECT_EQ(LoadText(document, test.text, &serializer), test.loads) << test.what;
        ASSERT_EQ(serializer.dialogs.size(), 1u) << test.what;
        const std::vector<std::wstring>& lines = serializer.dialogs[0].lines;
        EXPECT_EQ(lines[0].find(test.first), 0u) << test.what;
        if (test.lastWarning) {
            EXPECT_EQ(lines[test.lastWarning],
                      L"Warning [line " + std::to_wstring(test.lastWarning + 4) + L"]: Misplaced tag Leaf is ignored.")
                << test.what;
        }
        if (test.more) {
            ASSERT_EQ(lines.size(), 1001u) << test.what;
            EXPECT_EQ(lines.back(), test.more) << test.what;
        } else {
            EXPECT_EQ(lines.size(), 999u) << test.what;
        }
    }
}

TEST_F(DocumentFiles, PicturesLoadWhateverFormTheirBase64TakesAndLargeOnesRoundTrip)
{
    std::string large(400000, '\0'), small = "a picture of a few bytes";
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 131 + i / 7);
    const std::string text = XmlBinaryForm(large.data(), static_cast<int32_t>(large.size()));
    std::string lines;
    for (size_t at = 0; at < text.size(); at += 64)
        lines += text.substr(at, 64) + "\n";
    const std::string smallText = XmlBinaryForm(small.data(), static_cast<int32_t>(small.size()));
    // Key, form: one run, lines, CDATA, CDATA of lines, CDATA beside text.
    const std::vector<std::pair<int, std::string>> forms = {
        {11, text}, {12, lines}, {13, "<![CDATA[" + text + "]]>"}, {14, "<![CDATA[\n" + lines + "]]>"},
        {15, smallText.substr(0, 8) + "<![CDATA[" + smallText.substr(8) + "]]>"},
    };
    std::string items = "<ImageList>", images = "<Images SavePicType='0' Count='5'>";
    for (const auto& form : forms) {
        items += "<ImageListItem ID='" + std::to_string(form.first) + "'/>";
        images += "<Image ID='" + std::to_string(form.first) + "' FileFormat='jpg'>\n" + form.second + "\t\t</Image>\n";
    }
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(LoadText(document, DocumentText(Tree({Leaf(1, 0, "H", items + "</ImageList>")}) + images +
                                                "</Images>"),
                         &serializer));
    EXPECT_TRUE(serializer.dialogs.empty()) << filestest::ToAnsi(serializer.AllLines());
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(PictureBytes(heading->GetPicture(i)->GetPictureId()) == large) << "form " << forms[i].first;
    EXPECT_EQ(PictureBytes(heading->GetPicture(4)->GetPictureId()), small);

    // Written again (one run each, written behind) and read back: the same
    // bytes, and the same file once more.
    ExpectRoundTrip(document, File(L"again.otd"));
    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, File(L"again.otd")));
    ASSERT_EQ(back.GetProperties().GetHeadingSection()->GetPictureCount(), 5);
    EXPECT_TRUE(PictureBytes(back.GetProperties().GetHeadingSection()->GetPicture(3)->GetPictureId()) == large);
}

// A document that refers to files where they lie may name any file: only a
// picture is taken. Another file, a server's share, a device and a name from
// the root of whatever drive the document lies on are named in a warning and
// never opened, and a relative name is taken from the document's folder, not
// from the current one.
TEST_F(DocumentFiles, AHostileFileListOfPicturesTakesOnlyPictures)
{
    const std::wstring deep = File(L"doc") + L"\\deep\\";
    ASSERT_TRUE(::CreateDirectoryW(File(L"doc").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((deep + L"er").c_str(), nullptr));
    const std::wstring document = deep + L"er\\hostile.otd";
    // The current folder holds an x.jpg two levels up: a name resolved there would find it.
    const std::wstring current = File(L"cwd") + L"\\";
    ASSERT_TRUE(::CreateDirectoryW(current.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((current + L"a").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((current + L"a\\b").c_str(), nullptr));
    const std::string picture = "\xFF\xD8\xFF a picture";
    filestest::WriteBytes(current + L"x.jpg", picture);
    filestest::WriteBytes(deep + L"er\\good.jpg", picture);
    wchar_t before[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(::SetCurrentDirectoryW((current + L"a\\b").c_str()));
    ASSERT_TRUE(filestest::FileExists(L"C:\\windows\\win.ini"));

    const char* names[] = {"C:\\windows\\win.ini", "..\\..\\x.jpg", "\\\\host\\share\\x.jpg", "CON", "good.jpg",
                           "\\x.jpg", "/x.jpg"};
    std::string items, images;
    for (int key = 1; key <= 7; ++key) {
        items += "<ImageListItem ID='" + std::to_string(key) + "'/>";
        images += "<Image ID='" + std::to_string(key) + "'>\n" + names[key - 1] + "</Image>";
    }
    filestest::WriteBytes(document, DocumentText(Tree({Leaf(1, 0, "H", "<ImageList>" + items + "</ImageList>")}) +
                                                 "<Images SavePicType='1' Count='7'>" + images + "</Images>"));
    CTalBaseDocument loaded;
    CRecordingSerializer serializer;
    serializer.SetTemplateFolder(TemplateFolder().c_str());
    CTalTags tags;
    ASSERT_TRUE(tags.RegisterTags());
    const bool read = serializer.LoadDocument(document.c_str(), &loaded, &tags, 0, nullptr);
    ::SetCurrentDirectoryW(before);
    ASSERT_TRUE(read);

    // Six warnings: the missing file first, then one line for each refusal.
    ASSERT_EQ(serializer.dialogs.size(), 1u);
    std::vector<std::wstring> lines = serializer.dialogs[0].lines;
    lines.erase(std::remove(lines.begin(), lines.end(), std::wstring()), lines.end());
    ASSERT_EQ(lines.size(), 6u) << filestest::ToAnsi(serializer.AllLines());
    EXPECT_EQ(lines[0], L"Cannot open file " + File(L"doc") + L"\\x.jpg") << "from the document's folder";
    EXPECT_NE(lines[1].find(L"C:\\windows\\win.ini\" is not a picture"), std::wstring::npos);
    EXPECT_NE(lines[2].find(L"\\\\host\\share\\x.jpg\" is refused."), std::wstring::npos);
    EXPECT_NE(lines[3].find(L"\"CON\" is refused."), std::wstring::npos);
    EXPECT_NE(lines[4].find(L"\"\\x.jpg\" is refused."), std::wstring::npos);
    EXPECT_NE(lines[5].find(L"\"/x.jpg\" is refused."), std::wstring::npos);

    // Only the picture and the missing name reach the picture store.
    CKWRefPtr<CTalSection> heading = loaded.GetProperties().GetHeadingSection();
    std::vector<std::wstring> paths;
    for (const CKWRefPtr<CTalPicture>& p : heading->GetPictures())
        paths.push_back(Wide(g_rasterLib.GetImagePath(static_cast<uint32_t>(p->GetPictureId()))));
    const std::vector<std::wstring> kept = {L"", File(L"doc") + L"\\x.jpg", L"", L"", deep + L"er\\good.jpg", L"", L""};
    EXPECT_EQ(paths, kept);
    EXPECT_EQ(PictureBytes(heading->GetPicture(4)->GetPictureId()), picture);
    // A name not taken stays the placeholder it shows, which a generation's warning names by it.
    const uint32_t untaken = uint32_t(heading->GetPicture(0)->GetPictureId());
    EXPECT_EQ(g_rasterLib.GetPictureState(untaken, false), KWPictureState::NotPicture);
    EXPECT_EQ(Wide(TalPictureName(loaded.GetProperties(), untaken, document.c_str())), L"C:\\windows\\win.ini");

    // A note typed and saved: every name not taken is written as it was read.
    SetNote(heading.Get(), {{L"A note", 0, 10, 0, 0, 0.0f, 0}});
    ASSERT_TRUE(Save(loaded, document));
    const std::string written = filestest::ReadBytes(document);
    for (const char* name : {"C:\\windows\\win.ini", "\\\\host\\share\\x.jpg", "CON", "\\x.jpg", "/x.jpg"})
        EXPECT_NE(written.find(filestest::WithCrLf(std::string(">\n") + name + "\t")), std::string::npos) << name;
}

// Four small TIFF files whose tags claim hundreds of millions of values, inside
// a document: loading it and showing its pictures keeps the process within
// 64 MB of where it started (the system's decoder sized its buffers by the
// claims when it read the files by name).
TEST_F(DocumentFiles, PicturesClaimingHugeTagsStayWithinBoundsWhenShown)
{
    CTalBaseDocument document;
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    const uint16_t tags[] = {273, 279, 258, 273};
    for (int i = 0; i < 4; ++i) {
        const std::string tiff = testpictures::TiffClaimingValues(tags[i], 300000000u + uint32_t(i) * 50000000u);
        AddPicture(heading.Get(), OutsidePicture(File((L"claims" + std::to_wstring(i) + L".tif").c_str()), tiff));
    }
    const std::wstring path = File(L"claims.otd");
    ASSERT_TRUE(Save(document, path));
    EXPECT_LT(filestest::ReadBytes(path).size(), 20000u);

    PROCESS_MEMORY_COUNTERS start = {};
    ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &start, sizeof start));
    CTalBaseDocument back;
    ASSERT_TRUE(Load(back, path));
    CKWRefPtr<CTalSection> loaded = back.GetProperties().GetHeadingSection();
    ASSERT_EQ(loaded->GetPictureCount(), 4);
    for (const CKWRefPtr<CTalPicture>& picture : loaded->GetPictures()) {
        const uint32_t id = static_cast<uint32_t>(picture->GetPictureId());
        EXPECT_EQ(g_rasterLib.GetPictureState(id), KWPictureState::Damaged);
        g_rasterLib.GetThumbnail(id);
        g_rasterLib.GetPreviewImage(id);
        KWRasterImagePtr(g_rasterLib.LoadImage(id));
    }
    PROCESS_MEMORY_COUNTERS end = {};
    ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &end, sizeof end));
    std::printf("[ info ] peak private memory %u MB above the start\n",
                unsigned(end.PeakPagefileUsage > start.PagefileUsage
                             ? (end.PeakPagefileUsage - start.PagefileUsage) >> 20 : 0));
    EXPECT_LE(end.PeakPagefileUsage, std::max<size_t>(start.PeakPagefileUsage, start.PagefileUsage + (64u << 20)));
}

// A report whose second picture's text starts past 2 GB, after a first
// picture of 1.6 GB: the parser passes over the first one's text with a seek
// beyond 2 GB, the second reads back byte for byte, and memory stays that of
// a small report. The file is made in the test's folder and removed after.
TEST_F(DocumentFiles, APictureWhoseTextStartsPastTwoGigabytesReadsBackWhole)
{
    ULARGE_INTEGER available = {};
    ASSERT_TRUE(::GetDiskFreeSpaceExW(m_dir.Path().c_str(), &available, nullptr, nullptr));
    ASSERT_GE(available.QuadPart, 4ull << 30) << "this test needs 4 GB of free disk for a 2 GB report and its picture";
    // The first picture's text: one block of 64 KB of Base64 text, repeated.
    std::string block(48 * 1024, '\0');
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 31 + i / 251);
    const std::string blockText = XmlBinaryForm(block.data(), static_cast<int32_t>(block.size())), small = "past 2 GB";
    const int64_t blocks = (int64_t(1) << 31) / 65536 + 1;
    const std::string text = DocumentText(
        Tree({Leaf(1, 0, "H", "<ImageList><ImageListItem ID='1'/><ImageListItem ID='2'/></ImageList>")}) +
        "<Images SavePicType='0' Count='2'>\n<Image ID='1' FileFormat='jpg'>\n@\t\t</Image>\n<Image ID='2' "
        "FileFormat='jpg'>\n" + XmlBinaryForm(small.data(), 9) + "\t\t</Image>\n</Images>\n");
    const int32_t cut = static_cast<int32_t>(text.find('@')), rest = static_cast<int32_t>(text.size()) - cut - 1;
    const std::wstring path = File(L"past2g.otd");
    CKWFile file(path.c_str(), CKWFile::kWrite | CKWFile::kBinary);
    ASSERT_EQ(cut, file.Write(text.data(), cut));
    for (int64_t i = 0; i < blocks; ++i)
        ASSERT_EQ(65536, file.Write(blockText.data(), 65536));
    ASSERT_TRUE(file.Write(text.data() + cut + 1, rest) == rest && file.Close());

    PROCESS_MEMORY_COUNTERS start = {}, end = {};
    ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &start, sizeof start));
    CTalBaseDocument document;
    CRecordingSerializer serializer;
    ASSERT_TRUE(Load(document, path, &serializer));
    ::DeleteFileW(path.c_str());
    EXPECT_TRUE(serializer.dialogs.empty() && serializer.messages.empty()) << filestest::ToAnsi(serializer.AllLines());
    CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
    ASSERT_EQ(heading->GetPictureCount(), 2);
    EXPECT_EQ(PictureBytes(heading->GetPicture(1)->GetPictureId()), small);
    const CString first = g_rasterLib.GetImagePath(static_cast<uint32_t>(heading->GetPicture(0)->GetPictureId()));
    EXPECT_EQ(KWGetFileSize(first), blocks * 48 * 1024);
    ASSERT_TRUE(::GetProcessMemoryInfo(::GetCurrentProcess(), &end, sizeof end));
    EXPECT_LE(end.PeakPagefileUsage, std::max<size_t>(start.PeakPagefileUsage, start.PagefileUsage + (64u << 20)));
}
