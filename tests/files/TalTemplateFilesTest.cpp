#include "DocumentTestSupport.h"

#include "files/TalTemplateTags.h"
#include "files/TalXmlSerializer.h"
#include "files/XmlValueForms.h"
#include "framework/KWRasterLib.h"
#include "model/TalPageTemplate.h"
#include "model/TalTitlePageTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using filestest::TempDir;

namespace {

// Rectangles as left, top, right, bottom, for comparing.
using Rects = std::vector<std::vector<double>>;

Rects Cells(const CTalTemplate& tmpl, int32_t kind)
{
    Rects rects;
    if (const CTalCellList* cells = tmpl.GetCells(kind)) {
        for (const CKWDoubleRect& r : *cells)
            rects.push_back({r.left, r.top, r.right, r.bottom});
    }
    return rects;
}

Rects Cells(std::initializer_list<std::vector<double>> rects)
{
    return Rects(rects);
}

class TemplateFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        serializer.SetTemplateFolder(m_dir.Path().c_str());
        ASSERT_TRUE(tags.RegisterTags());
    }

    std::wstring PathOf(const CTalTemplate& tmpl) { return m_dir.Path() + tmpl.GetName().GetString(); }

    bool Load(const std::wstring& path, CTalTemplate& tmpl)
    {
        CTalTemplateTags loadTags;
        loadTags.RegisterTags();
        CTalXmlSerializer reader;
        return reader.LoadTemplate(path.c_str(), &loadTags, &tmpl);
    }

    // A picture file outside the store, registered by path.
    int32_t MakePicture(const wchar_t* name, const std::string& bytes)
    {
        std::wstring path = m_dir.File(name);
        filestest::WriteBytes(path, bytes);
        return static_cast<int32_t>(g_rasterLib.GetPictureId(path.c_str()));
    }

    TempDir m_dir;
    CTalXmlSerializer serializer;
    CTalTemplateTags tags;
};

}  // namespace

TEST_F(TemplateFiles, AnEmptyTemplateIsTheHeaderAndTheRoot)
{
    CTalPageTemplate leaf;
    leaf.SetName(L"Empty.otl");
    ASSERT_TRUE(serializer.SaveLeafTemplate(&leaf));
    filestest::ExpectGolden(L"EmptyLeaf.otl", filestest::ReadBytes(PathOf(leaf)));
    EXPECT_TRUE(filestest::IsWellFormedXml(PathOf(leaf)));

    CTalPageTemplate back;
    back.SetTitle(L"unchanged");
    ASSERT_TRUE(Load(PathOf(leaf), back));
    EXPECT_STREQ(back.GetTitle(), L"unchanged") << "no Title attribute leaves the title";
    for (int kind = 0; kind <= 10; ++kind)
        EXPECT_EQ(back.GetCells(kind), nullptr);
}

TEST_F(TemplateFiles, RectanglesOfTwoKindsAndAnEscapedTitle)
{
    CTalTitlePageTemplate title;
    title.SetName(L"Kinds.ott");
    title.SetTitle(L"Tom & Jerry's <\"best\">");
    title.AddCell(5, CKWDoubleRect(0.1, 0.2, 0.9, 0.3));
    title.AddCell(2, CKWDoubleRect(12.3456789, 0.5, 1, 0.75));
    title.AddCell(2, CKWDoubleRect(0, 0, 0.000001, 1e-9));
    ASSERT_TRUE(serializer.SaveTitleTemplate(&title));
    const std::string bytes = filestest::ReadBytes(PathOf(title));
    filestest::ExpectGolden(L"Kinds.ott", bytes);
    EXPECT_TRUE(filestest::IsWellFormedXml(PathOf(title)));

    CTalTitlePageTemplate back;
    ASSERT_TRUE(Load(PathOf(title), back));
    EXPECT_STREQ(back.GetTitle(), L"Tom & Jerry's <\"best\">");
    for (int kind = 0; kind <= 10; ++kind) {
        if (kind != 2 && kind != 5) {
            EXPECT_EQ(back.GetCells(kind), nullptr) << kind;
        }
    }
    // Coordinates keep six significant digits.
    EXPECT_EQ(Cells(back, 2), Cells({{12.3457, 0.5, 1, 0.75}, {0, 0, 0.000001, 1e-9}}));
    EXPECT_EQ(Cells(back, 5), Cells({{0.1, 0.2, 0.9, 0.3}}));
}

TEST_F(TemplateFiles, TitlesWithAnyCharactersReadBackExactly)
{
    const wchar_t* titles[] = {
        L"O'Neil", L"\"q\"", L"a<b>c", L"x & y", L"tab\tline\nreturn\r", L"\x0416\x4E2D\xD83D\xDE00\x00E9",
    };
    int n = 0;
    for (const wchar_t* text : titles) {
        CTalPageTemplate leaf;
        leaf.SetName(CString(L"T") + CString(static_cast<wchar_t>(L'a' + n++)) + L".otl");
        leaf.SetTitle(text);
        ASSERT_TRUE(serializer.SaveLeafTemplate(&leaf));
        EXPECT_TRUE(filestest::IsWellFormedXml(PathOf(leaf)));
        CTalPageTemplate back;
        ASSERT_TRUE(Load(PathOf(leaf), back));
        EXPECT_EQ(back.GetTitle(), CString(text)) << filestest::ToAnsi(text);
    }
}

TEST_F(TemplateFiles, PicturesTravelAsBase64AndComeBackAsNewPictures)
{
    const std::string previewBytes = "preview bytes \x01\x02\xFF", backgroundBytes(4000, '\x7E');
    CTalTitlePageTemplate title;
    title.SetName(L"Pictures.ott");
    const int32_t previewId = MakePicture(L"preview.png", previewBytes);
    const int32_t backgroundId = MakePicture(L"back.jpg", backgroundBytes);
    title.SetPreviewPictureId(previewId);
    title.SetBackgroundPictureId(backgroundId);
    title.AddCell(4, CKWDoubleRect(0.25, 0.25, 0.75, 0.5));
    ASSERT_TRUE(serializer.SaveTitleTemplate(&title));

    // The template now names copies in the picture store.
    EXPECT_NE(title.GetPreviewPictureId(), previewId);
    EXPECT_NE(title.GetBackgroundPictureId(), backgroundId);
    EXPECT_EQ(filestest::ReadBytes(g_rasterLib.GetImagePath(title.GetPreviewPictureId()).GetString()), previewBytes);

    const std::string bytes = filestest::ReadBytes(PathOf(title));
    filestest::ExpectGolden(L"Pictures.ott", bytes);
    EXPECT_TRUE(filestest::IsWellFormedXml(PathOf(title)));

    CTalTitlePageTemplate back;
    ASSERT_TRUE(Load(PathOf(title), back));
    ASSERT_NE(back.GetPreviewPictureId(), 0);
    ASSERT_NE(back.GetBackgroundPictureId(), 0);
    EXPECT_EQ(filestest::ReadBytes(g_rasterLib.GetImagePath(back.GetPreviewPictureId()).GetString()), previewBytes);
    EXPECT_EQ(filestest::ReadBytes(g_rasterLib.GetImagePath(back.GetBackgroundPictureId()).GetString()),
              backgroundBytes);
    EXPECT_EQ(Cells(back, 4), Cells({{0.25, 0.25, 0.75, 0.5}}));
}

TEST_F(TemplateFiles, APictureWhoseFileIsGoneKeepsItsIdAndLeavesTheElementEmpty)
{
    CTalPageTemplate leaf;
    leaf.SetName(L"Gone.otl");
    const int32_t id = MakePicture(L"gone.png", "x");
    ::DeleteFileW(m_dir.File(L"gone.png").c_str());
    leaf.SetPreviewPictureId(id);
    ASSERT_TRUE(serializer.SaveLeafTemplate(&leaf));
    EXPECT_EQ(leaf.GetPreviewPictureId(), id);
    EXPECT_EQ(filestest::ReadBytes(PathOf(leaf)),
              filestest::WithCrLf("<?xml version='1.0' encoding='utf-8' ?>\n\n<LeafTemplate>\n"
                                  "\t<LeafPreview FileFormat='png'>\n\t</LeafPreview>\n</LeafTemplate>\n"));
    CTalPageTemplate back;
    ASSERT_TRUE(Load(PathOf(leaf), back));
    EXPECT_EQ(back.GetPreviewPictureId(), 0);
}

TEST_F(TemplateFiles, ReadingToleratesOrderMissingAttributesAndMisplacedElements)
{
    std::wstring path = m_dir.File(L"hand.ott");
    filestest::WriteBytes(path,
                          "<?xml version='1.0' encoding='utf-8' ?>\n"
                          "<TitleTemplate Other='1' Title='Hand made'>\n"
                          "<TitleRectArrayItem Left='9' Right='9' Top='9' Bottom='9'></TitleRectArrayItem>\n"
                          "<LeafPreview FileFormat='png'>AAAA</LeafPreview>\n"
                          "<TitleRectArray Type='7'>\n"
                          "<TitleRectArrayItem Bottom='0.4' Right='0.3' Left='0.1'/>\n"
                          "<LeafRectArrayItem Left='8' Right='8' Top='8' Bottom='8'/>\n"
                          "</TitleRectArray>\n"
                          "<TitleRectArray>\n"
                          "<TitleRectArrayItem Left='0.5' Right='0.6' Top='0.7' Bottom='0.8'/>\n"
                          "</TitleRectArray>\n"
                          "</TitleTemplate>\n");
    CTalTitlePageTemplate back;
    ASSERT_TRUE(Load(path, back)) << "misplaced elements are only warned about";
    EXPECT_STREQ(back.GetTitle(), L"Hand made");
    EXPECT_EQ(back.GetPreviewPictureId(), 0);
    EXPECT_EQ(Cells(back, 7), Cells({{0.1, 0.0, 0.3, 0.4}})) << "a missing Top reads as 0";
    EXPECT_EQ(Cells(back, 0), Cells({{0.5, 0.7, 0.6, 0.8}})) << "an array without Type is kind 0";
    for (int kind = 1; kind <= 10; ++kind) {
        if (kind != 7) {
            EXPECT_EQ(back.GetCells(kind), nullptr) << kind;
        }
    }
}

TEST_F(TemplateFiles, BrokenOrMissingFilesDoNotLoad)
{
    CTalPageTemplate leaf;
    EXPECT_FALSE(Load(m_dir.File(L"missing.otl"), leaf));
    std::wstring broken = m_dir.File(L"broken.otl");
    filestest::WriteBytes(broken, "<LeafTemplate Title='x'>\n<LeafRectArray Type='1'>\n</LeafTemplate>\n");
    EXPECT_FALSE(Load(broken, leaf));
    filestest::WriteBytes(broken, "<LeafTemplate Title='x'>\n<LeafRectArray Type='1'>\n");
    EXPECT_FALSE(Load(broken, leaf));
    filestest::WriteBytes(broken, "");
    EXPECT_FALSE(Load(broken, leaf)) << "an empty file is no template";

    CTalXmlSerializer reader;
    std::wstring good = m_dir.File(L"good.otl");
    filestest::WriteBytes(good, "<LeafTemplate/>");
    EXPECT_FALSE(reader.LoadTemplate(good.c_str(), nullptr, &leaf));
    CTalTemplateTags tags2;
    tags2.RegisterTags();
    EXPECT_FALSE(reader.LoadTemplate(good.c_str(), &tags2, nullptr));
    EXPECT_TRUE(reader.LoadTemplate(good.c_str(), &tags2, &leaf));
}

TEST_F(TemplateFiles, ASaveThatCannotWriteKeepsThePreviousFile)
{
    CTalPageTemplate leaf;
    leaf.SetName(L"Keep.otl");
    leaf.SetTitle(L"first");
    ASSERT_TRUE(serializer.SaveLeafTemplate(&leaf));
    const std::string first = filestest::ReadBytes(PathOf(leaf));

    // A template folder that does not exist: nothing can be written.
    CTalXmlSerializer elsewhere;
    elsewhere.SetTemplateFolder((m_dir.Path() + L"no such folder\\").c_str());
    EXPECT_FALSE(elsewhere.SaveLeafTemplate(&leaf));

    // The target is locked against replacement: the save fails and leaves it.
    HANDLE lock = ::CreateFileW(PathOf(leaf).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    leaf.SetTitle(L"second");
    EXPECT_FALSE(serializer.SaveLeafTemplate(&leaf));
    ::CloseHandle(lock);
    EXPECT_EQ(filestest::ReadBytes(PathOf(leaf)), first);

    EXPECT_EQ(doctest::FilesIn(m_dir.Path()).size(), 1u) << "no temporary file is left behind";
}

TEST_F(TemplateFiles, ProblemsOfATemplateFileAreReturnedAndAFileWithoutTheTemplateFails)
{
    const std::string head = "<?xml version='1.0' encoding='utf-8' ?>\n";
    const std::string damaged = XmlBinaryForm("no picture", 10);
    const struct {
        const char* what;
        bool title;
        std::string text;
        bool loads;
        const wchar_t* problem;  // null: none
        size_t cells;            // of kind 1
        std::vector<double> first = {};
    } cases[] = {
        {"an unknown root", true,
         "<Template><TitleRectArray Type='1'><TitleRectArrayItem/></TitleRectArray></Template>", false,
         L"Error: The file's root element is not TitleTemplate: it holds no template of that kind.", 0},
        {"a root of the other kind", false, "<TitleTemplate><TitleRectArray Type='1'/></TitleTemplate>", false,
         L"Error: The file's root element is not LeafTemplate", 0},
        {"nested cells", false,
         "<LeafTemplate><LeafRectArray Type='1'><LeafRectArrayItem Left='1'><LeafRectArrayItem Left='2'/>"
         "</LeafRectArrayItem></LeafRectArray></LeafTemplate>",
         true, L"Warning [line 2]: Misplaced tag LeafRectArrayItem is ignored.", 1},
        {"an unknown cell kind", false,
         "<LeafTemplate><LeafRectArray Type='11'><LeafRectArrayItem Left='1'/></LeafRectArray>"
         "<LeafRectArray Type='1'><LeafRectArrayItem/></LeafRectArray></LeafTemplate>",
         true, L"Warning [line 2]: The cell kind 11 is unknown; its cells are ignored.", 1},
        {"an unknown element", true, "<TitleTemplate><TitleCell Left='1'/></TitleTemplate>", true,
         L"Warning [line 2]: Unknown tag TitleCell is ignored.", 0},
        {"a preview without data", true,
         "<TitleTemplate><TitlePreview FileFormat='png'></TitlePreview></TitleTemplate>", true,
         L"Warning [line 2]: The TitlePreview holds no picture that can be read; the template has none.", 0},
        {"a damaged first preview", false,
         "<LeafTemplate><LeafPreview FileFormat='png'>" + damaged + "</LeafPreview></LeafTemplate>", true,
         L"Warning [line 2]: The picture of LeafPreview cannot be read; a placeholder is shown.", 0},
        {"a damaged background", true,
         "<TitleTemplate><TitleBgImage FileFormat='png'>" + damaged + "</TitleBgImage></TitleTemplate>", true,
         L"Warning [line 2]: The picture of TitleBgImage cannot be read; a placeholder is shown.", 0},
        {"a second preview", false,
         "<LeafTemplate><LeafPreview FileFormat='png'>" + damaged + "</LeafPreview><LeafPreview FileFormat='png'>" +
             damaged + "</LeafPreview></LeafTemplate>",
         true, L"Warning [line 2]: This file contains a duplicate of an element that can exist only once.", 0},
        {"an element turned into text", true,
         "<TitleTemplate><TitleRectArray Type='1'>TitleRectArrayItem Left='1'/><TitleRectArrayItem Top='1'/>"
         "</TitleRectArray></TitleTemplate>",
         true, L"Warning [line 2]: The text in TitleRectArray is ignored.", 1},
        // Coordinates: a missing one is 0, a garbled one its first digits or 0, one
        // beyond a million is held there; no line.
        {"a cell without two of its coordinates", false,
         "<LeafTemplate><LeafRectArray Type='1'><LeafRectArrayItem Right='0.2' Left='0.1'/></LeafRectArray>"
         "</LeafTemplate>",
         true, nullptr, 1, {0.1, 0, 0.2, 0}},
        {"a cell beyond any page", true,
         "<TitleTemplate><TitleRectArray Type='1'><TitleRectArrayItem Left='0' Right='1e999' Top='0' Bottom='1'/>"
         "<TitleRectArrayItem Left='0' Right='1' Top='0' Bottom='1'/></TitleRectArray></TitleTemplate>",
         true, nullptr, 2, {0, 0, 1e6, 1}},
        {"a cell far off the page and without Top", false,
         "<LeafTemplate><LeafRectArray Type='1'><LeafRectArrayItem Left='-2e6' Right='0' Bottom='1'/>"
         "</LeafRectArray></LeafTemplate>",
         true, nullptr, 1, {-1e6, 0, 0, 1}},
        {"a cell with words for coordinates", false,
         "<LeafTemplate><LeafRectArray Type='1'><LeafRectArrayItem Left='nan' Top='12abc' Right='inf' "
         "Bottom='-1e999'/></LeafRectArray></LeafTemplate>",
         true, nullptr, 1, {0, 12, 0, -1e6}},
        {"a file cut short", true, "<TitleTemplate><TitleRectArray Type='1'>", false,
         L"Error [Line 2]: Premature end of data in tag TitleRectArray line 2", 0},
    };
    for (const auto& test : cases) {
        const std::wstring path = m_dir.File(test.title ? L"case.ott" : L"case.otl");
        filestest::WriteBytes(path, head + test.text + "\n");
        CTalTitlePageTemplate title;
        CTalPageTemplate leaf;
        CTalTemplate& tmpl = test.title ? static_cast<CTalTemplate&>(title) : leaf;
        CTalTemplateTags loadTags;
        ASSERT_TRUE(loadTags.RegisterTags());
        CTalXmlSerializer reader;
        std::vector<CString> problems;
        EXPECT_EQ(reader.LoadTemplate(path.c_str(), &loadTags, &tmpl, &problems), test.loads) << test.what;
        std::wstring all;
        for (const CString& line : problems)
            all += std::wstring(line.GetString()) + L"\n";
        EXPECT_TRUE(test.problem ? all.find(test.problem) != std::wstring::npos : all.empty())
            << test.what << "\n" << filestest::ToAnsi(all);
        const Rects cells = Cells(tmpl, 1);
        EXPECT_EQ(cells.size(), test.cells) << test.what;
        EXPECT_TRUE(test.first.empty() || (!cells.empty() && cells.front() == test.first)) << test.what;
    }
}
