// The file set of the HTML export: frameset, data folder, page documents,
// contents document, navigation images, escaping of names, and failures.
#include "tests/export/CountingProgress.h"
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/ExportHTMLData.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWProgressInterface.h"
#include "model/TalTextFormat.h"

#include "HtmlLinkWalker.h"
#include "HtmlTestSupport.h"

using namespace htmltest;

namespace {

const char* const kHead =
    "<HTML>\n\t<HEAD>\n\t\t<TITLE>%s</TITLE>\n"
    "\t\t<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "\t\t<META name=\"GENERATOR\" content=\"OstraTallier\">\n"
    "\t\t<META name=\"Keywords\" content=\"%s\">\n\t</HEAD>\n";

std::string Head(const std::string& title, const std::string& keywords)
{
    std::string head = kHead;
    head.replace(head.find("%s"), 2, title);
    head.replace(head.find("%s"), 2, keywords);
    return head;
}

std::string CrLf(const std::string& text)
{
    return OnDisk(Wide(text));
}

// True when every line feed of the text follows a carriage return.
bool HasOnlyCrLf(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

std::vector<uint8_t> ResourceBytes(int id)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), L"QUARTZ");
    if (!info)
        return {};
    const uint8_t* bytes = static_cast<const uint8_t*>(::LockResource(::LoadResource(module, info)));
    return std::vector<uint8_t>(bytes, bytes + ::SizeofResource(module, info));
}

}  // namespace

// A report "My Report" with sections Alpha (a page), Alpha One under it (a
// page) and Beta (no page), after a title page: three pages.
class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        CTalDocProperties& properties = m_document.Properties();
        properties.SetPaperKind(CTalDocProperties::kPaperPrint);
        properties.m_printWidth = 2100;
        properties.m_printHeight = 2970;
        properties.SetPortrait(1);
        properties.m_insertContents = 1;
        CTalTextFormat* entryFormat = new CTalTextFormat;
        entryFormat->m_size = 8;
        entryFormat->m_color = RGB(0, 0, 0x80);
        entryFormat->m_font = properties.GetFontTable().FindOrAdd(L"Verdana");
        properties.SetTextFormat(kTalFormatContent, entryFormat);

        m_heading = properties.GetHeadingSection();
        m_heading->SetName(CString(L"My Report"));
        m_alpha = AddSection(m_heading.Get(), L"Alpha");
        m_alphaOne = AddSection(m_alpha.Get(), L"Alpha One");
        m_beta = AddSection(m_heading.Get(), L"Beta");

        m_document.SetComposer([this](TestDocument&, TalPageList& pages) {
            for (int i = 0; i < m_pageCount; ++i) {
                TalPageExport* page = i == 0   ? NewPage(kTitlePage, L"Title-page")
                                      : i == 1 ? NewPage(kSectionPage, L"Alpha", m_alpha.Get())
                                               : NewPage(kSectionPage, L"Alpha One", m_alphaOne.Get());
                CString text;
                text.Format(L"Page %d", i + 1);
                page->AddObject(new TalObjExport(text, CKWDoubleRect(0.1, 0.1, 0.9, 0.2), nullptr));
                page->AddObject(new TalObjExport(CString(L"DRAFT"), 4, nullptr));
                pages.push_back(page);
            }
        });
    }

    CKWRefPtr<CTalSection> AddSection(CTalSection* parent, const wchar_t* name)
    {
        CKWRefPtr<CTalSection> section = new CTalSection(parent, name);
        const CTalSectionList& children = parent->GetSubSections();
        parent->InsertSubSection(section.Get(), children.empty() ? nullptr : children.back().Get());
        return section;
    }

    std::wstring Data(const wchar_t* name = L"report") const { return m_folder.Path() + name + L"_data\\"; }
    std::wstring Out(const wchar_t* name = L"report.htm") const { return m_folder.Path() + name; }

    CExportTestFolder m_folder;
    TestDocument m_document;
    CKWRefPtr<CTalSection> m_heading;
    CKWRefPtr<CTalSection> m_alpha;
    CKWRefPtr<CTalSection> m_alphaOne;
    CKWRefPtr<CTalSection> m_beta;
    int m_pageCount = 3;
    CTalHTMLExp m_exporter;
};

TEST_F(HtmlExport, ThreePagesMakeTheFileSet)
{
    CountingProgress progress(1000);
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str(), &progress));
    EXPECT_TRUE(IsFile(Out()));
    const std::vector<std::wstring> expected = {L"back.png",    L"blank.gif",   L"next.png",    L"report.htm",
                                                L"report2.htm", L"report3.htm", L"report_c.htm"};
    EXPECT_EQ(expected, ListFolder(Data()));
    EXPECT_EQ(CTalHTMLExp::CountProgressSteps(3, true), progress.GetPos());
    EXPECT_EQ(11, CTalHTMLExp::CountProgressSteps(3, true));

    // Each page links to its neighbours, above and below the page cell.
    const struct {
        const wchar_t* file;
        const char* back;
        const char* next;
    } pages[] = {{L"report.htm", nullptr, "report2.htm"},
                 {L"report2.htm", "report.htm", "report3.htm"},
                 {L"report3.htm", "report2.htm", nullptr}};
    for (const auto& page : pages) {
        const std::string text = ReadText(Data() + page.file);
        EXPECT_TRUE(HasOnlyCrLf(text)) << Narrow(page.file);
        const std::string back = std::string("<A href=\"") + (page.back ? page.back : "") +
                                 "\"><IMG src=\"back.png\" alt=\"[Back]\" border=\"0\"></A>\r\n";
        const std::string next = std::string("<A href=\"") + (page.next ? page.next : "") +
                                 "\"><IMG src=\"next.png\" alt=\"[Next]\" border=\"0\"></A>\r\n";
        size_t first = text.find(page.back ? back : next);
        ASSERT_NE(std::string::npos, first) << Narrow(page.file);
        EXPECT_NE(std::string::npos, text.find(page.back ? back : next, first + 1)) << Narrow(page.file);
        EXPECT_EQ(page.back != nullptr, text.find("[Back]") != std::string::npos) << Narrow(page.file);
        EXPECT_EQ(page.next != nullptr, text.find("[Next]") != std::string::npos) << Narrow(page.file);
        EXPECT_NE(std::string::npos, text.find("<TD WIDTH=793 HEIGHT=1122 valign=top>")) << Narrow(page.file);
    }
    EXPECT_NE(std::string::npos, ReadText(Data() + L"report2.htm").find(">Page 2</TD>"));

    // The pages keep their file names until they are composed again.
    const ExportHTMLData* data = dynamic_cast<const ExportHTMLData*>(m_document.GetExportPages()[1]->GetCache());
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(Narrow(Data() + L"report2.htm"), Narrow(data->m_pagePath));
    EXPECT_EQ("report2", Narrow(data->m_pageName));
}

TEST_F(HtmlExport, FramesetWithContentsFrame)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    EXPECT_EQ(CrLf(Head("report", "report") +
                   "\t<frameset cols=\"20%,*\" bordercolor=\"#808080\" border=\"2\">\n"
                   "\t\t<frame src=\"report_data/report_c.htm\" name=\"Content\" scrolling=\"Auto\" "
                   "title=\"Content\" frameborder=\"0\">\n"
                   "\t\t<frame src=\"report_data/report.htm\" name=\"Report\" scrolling=\"Auto\" title=\"Report\" "
                   "frameborder=\"1\">\n\t</frameset>\n</HTML>"),
              ReadText(Out()));
}

TEST_F(HtmlExport, ContentsDocumentListsTheSectionTree)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    const std::string span = "<FONT style = \"font-size:8pt;  font-family:Verdana; color:#000080; "
                             "font-weight:normal; font-style:normal; text-decoration:none\">";
    EXPECT_EQ(CrLf(Head("report Content", "report") + "\t<BODY leftmargin=0 topmargin=0>\n\t\t<UL><NOBR>\n" +
                   "\t\t\t<LI><A HREF=\"report.htm\" TARGET=\"Report\">" + span + "Title-page</FONT></A><BR></LI>\n" +
                   "\t\t\t<LI>" + span + "My Report</FONT><BR></LI>\n" +
                   "\t\t\t<UL>\n" +
                   "\t\t\t\t<LI><A HREF=\"report2.htm\" TARGET=\"Report\">" + span + "Alpha</FONT></A><BR></LI>\n" +
                   "\t\t\t\t<UL>\n" +
                   "\t\t\t\t\t<LI><A HREF=\"report3.htm\" TARGET=\"Report\">" + span +
                   "Alpha One</FONT></A><BR></LI>\n" +
                   "\t\t\t\t</UL>\n" +
                   "\t\t\t\t<LI>" + span + "Beta</FONT><BR></LI>\n" +
                   "\t\t\t</UL>\n" +
                   "\t\t</NOBR></UL>\n\t</BODY>\n</HTML>"),
              ReadText(Data() + L"report_c.htm"));
}

TEST_F(HtmlExport, ContentsPagesAreLeftToTheContentsDocument)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    EXPECT_EQ(0, m_document.ContentsFlagSeen());
    EXPECT_EQ(1, m_document.Properties().m_insertContents);
}

TEST_F(HtmlExport, OnePageWithoutContents)
{
    m_pageCount = 1;
    m_document.Properties().m_insertContents = 0;
    CountingProgress progress(1000);
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out(L"single.html").c_str(), &progress));
    EXPECT_EQ(CTalHTMLExp::CountProgressSteps(1, false), progress.GetPos());
    const std::vector<std::wstring> expected = {L"back.png", L"blank.gif", L"next.png", L"single.html"};
    EXPECT_EQ(expected, ListFolder(Data(L"single")));
    EXPECT_EQ(CrLf(Head("single", "single") +
                   "\t<frameset bordercolor=\"#808080\" border=\"0\">\n"
                   "\t\t<frame src=\"single_data/single.html\" name=\"Report\" scrolling=\"Auto\" title=\"Report\" "
                   "frameborder=\"1\">\n\t</frameset>\n</HTML>"),
              ReadText(Out(L"single.html")));
    const std::string page = ReadText(Data(L"single") + L"single.html");
    EXPECT_EQ(std::string::npos, page.find("<HR>"));
    EXPECT_EQ(std::string::npos, page.find("<A href"));
}

TEST_F(HtmlExport, NoPageWritesNothing)
{
    m_pageCount = 0;
    EXPECT_FALSE(m_exporter.WriteExport(m_document, Out().c_str()));
    EXPECT_EQ(1, m_document.Compositions());
    EXPECT_TRUE(ListFolder(m_folder.Path()).empty());
    EXPECT_EQ(1, m_document.Properties().m_insertContents);
}

TEST_F(HtmlExport, NavigationImagesAreTheProgramsResources)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    const struct {
        int id;
        const wchar_t* name;
        const char* signature;
    } images[] = {{223, L"back.png", "\x89PNG\r\n\x1a\n"}, {224, L"next.png", "\x89PNG\r\n\x1a\n"},
                  {225, L"blank.gif", "GIF89a"}};
    for (const auto& image : images) {
        const std::vector<uint8_t> resource = ResourceBytes(image.id);
        ASSERT_FALSE(resource.empty()) << image.id;
        const std::vector<uint8_t> file = ReadBytes(Data() + image.name);
        EXPECT_EQ(resource, file) << Narrow(image.name);
        const std::string signature = image.signature;
        ASSERT_GE(file.size(), signature.size());
        EXPECT_EQ(signature, std::string(file.begin(), file.begin() + signature.size())) << Narrow(image.name);
    }
    // The spacer is a 1 x 1 picture with a transparent colour.
    const std::vector<uint8_t> gif = ReadBytes(Data() + L"blank.gif");
    ASSERT_GE(gif.size(), 24u);
    EXPECT_EQ(1, gif[6] | gif[7] << 8);
    EXPECT_EQ(1, gif[8] | gif[9] << 8);
}

TEST_F(HtmlExport, EveryReferenceLeadsToAFile)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    LinkReport report = WalkLinks(Out());
    EXPECT_GE(report.references, 15u);
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
}

TEST_F(HtmlExport, NamesWithMarkupAndUrlCharactersStayIntact)
{
    m_alpha->SetName(CString(L"Tom & \"Jerry\" <1>"));
    m_document.SetComposer([this](TestDocument&, TalPageList& pages) {
        pages.push_back(NewPage(kSectionPage, L"Tom & \"Jerry\" <1>", m_alpha.Get()));
        pages.push_back(NewPage(kSectionPage, L"Caf\x00E9 \x2615", m_alphaOne.Get()));
    });
    const std::wstring name = L"R&D #1 100%";
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out((name + L".htm").c_str()).c_str()));
    const std::wstring data = Data(name.c_str());
    EXPECT_TRUE(IsFile(data + name + L".htm"));
    EXPECT_TRUE(IsFile(data + name + L"2.htm"));

    const std::string frameset = ReadText(Out((name + L".htm").c_str()));
    EXPECT_NE(std::string::npos, frameset.find("<TITLE>R&amp;D #1 100%</TITLE>"));
    EXPECT_NE(std::string::npos, frameset.find("<META name=\"Keywords\" content=\"R&amp;D #1 100%\">"));
    EXPECT_NE(std::string::npos, frameset.find("<frame src=\"R&amp;D %231 100%25_data/R&amp;D %231 100%25.htm\""));

    const std::string first = ReadText(data + name + L".htm");
    EXPECT_NE(std::string::npos, first.find("<TITLE>Tom &amp; &quot;Jerry&quot; &lt;1&gt;</TITLE>"));
    EXPECT_NE(std::string::npos, first.find("<A href=\"R&amp;D %231 100%252.htm\">"));
    EXPECT_NE(std::string::npos, ReadText(data + name + L"2.htm").find("<TITLE>Caf\xC3\xA9 \xE2\x98\x95</TITLE>"));
    EXPECT_NE(std::string::npos,
              ReadText(data + name + L"_c.htm").find(">Tom &amp; \"Jerry\" &lt;1&gt;</FONT></A><BR></LI>"));

    LinkReport report = WalkLinks(Out((name + L".htm").c_str()));
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
}

TEST_F(HtmlExport, NamesOutsideTheAnsiCodePage)
{
    const std::wstring name = L"\x0391\x03BD\x03B1\x03C6\x03BF\x03C1\x03AC";  // Greek
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out((name + L".htm").c_str()).c_str()));
    EXPECT_TRUE(IsFile(Out((name + L".htm").c_str())));
    EXPECT_TRUE(IsFile(Data(name.c_str()) + name + L"3.htm"));
    LinkReport report = WalkLinks(Out((name + L".htm").c_str()));
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
}

TEST_F(HtmlExport, ABlockedDataFolderIsReported)
{
    // A file where the data folder should be: no page can be written.
    ASSERT_TRUE(WriteBytes(m_folder.Path() + L"report_data", "x", 1));
    EXPECT_FALSE(m_exporter.WriteExport(m_document, Out().c_str()));
    EXPECT_TRUE(m_exporter.HasWriteFailed());
    // The frameset comes first and is there.
    EXPECT_TRUE(IsFile(Out()));
    EXPECT_EQ(1, m_document.Properties().m_insertContents);
}

TEST_F(HtmlExport, APageThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(::CreateDirectoryW(Data().c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Data() + L"report2.htm", "old", 3));
    HANDLE locked = ::CreateFileW((Data() + L"report2.htm").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    const bool result = m_exporter.WriteExport(m_document, Out().c_str());
    ::CloseHandle(locked);
    EXPECT_FALSE(result);
    // The others are written all the same.
    EXPECT_NE(std::string::npos, ReadText(Data() + L"report3.htm").find(">Page 3</TD>"));
    EXPECT_EQ("old", ReadText(Data() + L"report2.htm"));
}

TEST_F(HtmlExport, AFramesetInAMissingFolderIsReported)
{
    EXPECT_FALSE(m_exporter.WriteExport(m_document, (m_folder.Path() + L"missing\\report.htm").c_str()));
    EXPECT_TRUE(ListFolder(m_folder.Path()).empty());
}

TEST_F(HtmlExport, ExportingAgainReplacesTheFiles)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    ASSERT_TRUE(WriteBytes(Data() + L"stray.txt", "s", 1));
    m_pageCount = 2;
    CTalHTMLExp again;
    ASSERT_TRUE(again.WriteExport(m_document, Out().c_str()));
    EXPECT_EQ(std::string::npos, ReadText(Data() + L"report2.htm").find("[Next]"));
    // Nothing is deleted: what only the first export wrote stays.
    EXPECT_TRUE(IsFile(Data() + L"report3.htm"));
    EXPECT_TRUE(IsFile(Data() + L"stray.txt"));
}
