// The file set of the HTML export: frameset, data folder, page documents,
// contents document, navigation images, escaping of names, and failures.
#include "tests/export/CountingProgress.h"
#include <gtest/gtest.h>

#include "export/TalObjExport.h"
#include "export/html/ExportHTMLData.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWProgressInterface.h"
#include "model/TalTextFormat.h"

#include "tests/export/ExportTestSupport.h"

#include "HtmlLinkWalker.h"
#include "HtmlTestSupport.h"

using namespace htmltest;

namespace {

// The frameset and every document of the data folder, whole, with the names
// and sizes of the other files; line ends as the disk holds them.
std::string FileSet(const std::wstring& frameset)
{
    const std::wstring folder = frameset.substr(0, frameset.rfind(L'.')) + L"_data\\";
    std::string dump = "=== " + Narrow(frameset.substr(frameset.rfind(L'\\') + 1)) + "\n" + ReadFileBytes(frameset) + "\n";
    for (const std::wstring& name : ListFolder(folder)) {
        const std::string text = ReadFileBytes(folder + name);
        const bool document = name.find(L".htm") != std::wstring::npos;
        dump += "=== " + Narrow(name) + (document ? "\n" + text : " " + std::to_string(text.size()) + " bytes") + "\n";
    }
    return dump;
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

// Three pages with the contents document, one page without it, and names
// with markup and URL characters: the file sets are compared with their
// golden file (frameset, contents tree, navigation above and below each page,
// the page cell, escaped titles and references); every reference leads to a
// file.
TEST_F(HtmlExport, FileSetsMatchTheGolden)
{
    std::string dump;
    CountingProgress progress(1000);
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str(), &progress));
    EXPECT_EQ(11, progress.GetPos());
    EXPECT_EQ(CTalHTMLExp::CountProgressSteps(3, true), progress.GetPos());
    // Contents pages are left to the contents document; the setting stays.
    EXPECT_EQ(0, m_document.ContentsFlagSeen());
    EXPECT_EQ(1, m_document.Properties().m_insertContents);
    // The pages keep their file names until they are composed again.
    const ExportHTMLData* data = dynamic_cast<const ExportHTMLData*>(m_document.GetExportPages()[1]->GetCache());
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(Narrow(Data() + L"report2.htm"), Narrow(data->m_pagePath));
    dump += FileSet(Out());

    m_pageCount = 1;
    m_document.Properties().m_insertContents = 0;
    CountingProgress single(1000);
    ASSERT_TRUE(CTalHTMLExp().WriteExport(m_document, Out(L"single.html").c_str(), &single));
    EXPECT_EQ(CTalHTMLExp::CountProgressSteps(1, false), single.GetPos());
    dump += FileSet(Out(L"single.html"));

    m_alpha->SetName(CString(L"Tom & \"Jerry\" <1>"));
    m_document.Properties().m_insertContents = 1;
    m_document.SetComposer([this](TestDocument&, TalPageList& pages) {
        pages.push_back(NewPage(kSectionPage, L"Tom & \"Jerry\" <1>", m_alpha.Get()));
        pages.push_back(NewPage(kSectionPage, L"Caf\x00E9 \x2615", m_alphaOne.Get()));
    });
    const std::wstring name = L"R&D #1 100%.htm";
    ASSERT_TRUE(CTalHTMLExp().WriteExport(m_document, Out(name.c_str()).c_str()));
    dump += FileSet(Out(name.c_str()));
    ExpectGolden(L"html_file_sets.txt", dump);
    for (const wchar_t* frameset : {L"report.htm", L"single.html", name.c_str()}) {
        const LinkReport report = WalkLinks(Out(frameset));
        EXPECT_GE(report.references, 4u) << Narrow(frameset);
        EXPECT_TRUE(report.broken.empty()) << report.broken.front();
    }
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
        const std::string file = ReadFileBytes(Data() + image.name);
        EXPECT_EQ(std::string(resource.begin(), resource.end()), file) << Narrow(image.name);
        EXPECT_EQ(0u, file.find(image.signature)) << Narrow(image.name);
    }
    // The spacer is a 1 x 1 picture with a transparent colour.
    const std::string gif = ReadFileBytes(Data() + L"blank.gif");
    ASSERT_GE(gif.size(), 24u);
    EXPECT_EQ(std::string("\x01\x00\x01\x00", 4), gif.substr(6, 4));
}

TEST_F(HtmlExport, NamesOutsideTheAnsiCodePage)
{
    const std::wstring name = L"\x0391\x03BD\x03B1\x03C6\x03BF\x03C1\x03AC";  // Greek
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out((name + L".htm").c_str()).c_str()));
    EXPECT_TRUE(FileExistsAt(Out((name + L".htm").c_str())));
    EXPECT_TRUE(FileExistsAt(Data(name.c_str()) + name + L"3.htm"));
    LinkReport report = WalkLinks(Out((name + L".htm").c_str()));
    EXPECT_TRUE(report.broken.empty()) << report.broken.front();
}

// A failed export names the file it could not write and why, and takes away
// everything it wrote, so that no half-written report is left.
TEST_F(HtmlExport, ABlockedDataFolderIsReportedAndTheFramesetTakenAway)
{
    // A file where the data folder should be: no page can be written.
    ASSERT_TRUE(WriteFileBytes(m_folder.Path() + L"report_data", "x"));
    EXPECT_FALSE(m_exporter.WriteExport(m_document, Out().c_str()));
    EXPECT_TRUE(m_exporter.HasWriteFailed());
    const CKWOutputRecord& output = m_exporter.GetOutputRecord();
    ASSERT_TRUE(output.HasFailed());
    EXPECT_EQ(m_folder.Path() + L"report_data", std::wstring(output.GetFailedPath().GetString()));
    EXPECT_EQ(std::vector<std::wstring>{L"report_data"}, ListFolder(m_folder.Path()));
    EXPECT_EQ("x", ReadFileBytes(m_folder.Path() + L"report_data"));
    EXPECT_EQ(1, m_document.Properties().m_insertContents);
}

TEST_F(HtmlExport, APageThatCannotBeWrittenStopsTheExportAndLeavesNothingOfIt)
{
    ASSERT_TRUE(::CreateDirectoryW(Data().c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(Data() + L"report2.htm", "old"));
    HANDLE locked = ::CreateFileW((Data() + L"report2.htm").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    const bool result = m_exporter.WriteExport(m_document, Out().c_str());
    ::CloseHandle(locked);
    EXPECT_FALSE(result);
    const CKWOutputRecord& output = m_exporter.GetOutputRecord();
    EXPECT_EQ(Data() + L"report2.htm", std::wstring(output.GetFailedPath().GetString()));
    EXPECT_NE(-1, output.FailureMessage().Find(L"open in another program"));
    // The frameset, the first page, the contents and the navigation images
    // are gone again, the third page was never written; the folder, which
    // was there before, keeps what it held.
    EXPECT_FALSE(FileExistsAt(Out()));
    EXPECT_EQ((std::vector<std::wstring>{L"report2.htm"}), ListFolder(Data()));
    EXPECT_EQ("old", ReadFileBytes(Data() + L"report2.htm"));
}

TEST_F(HtmlExport, AFramesetInAMissingFolderIsReportedByName)
{
    const std::wstring path = m_folder.Path() + L"missing\\report.htm";
    EXPECT_FALSE(m_exporter.WriteExport(m_document, path.c_str()));
    EXPECT_TRUE(ListFolder(m_folder.Path()).empty());
    const CString message = m_exporter.GetOutputRecord().FailureMessage();
    EXPECT_NE(-1, message.Find(path.c_str())) << htmltest::Narrow(message);
    EXPECT_NE(-1, message.Find(L"does not exist")) << htmltest::Narrow(message);
}

TEST_F(HtmlExport, ExportingAgainReplacesTheFiles)
{
    ASSERT_TRUE(m_exporter.WriteExport(m_document, Out().c_str()));
    ASSERT_TRUE(WriteFileBytes(Data() + L"stray.txt", "s"));
    m_pageCount = 2;
    CTalHTMLExp again;
    ASSERT_TRUE(again.WriteExport(m_document, Out().c_str()));
    EXPECT_EQ(std::string::npos, ReadFileBytes(Data() + L"report2.htm").find("[Next]"));
    // Nothing is deleted: what only the first export wrote stays.
    EXPECT_TRUE(FileExistsAt(Data() + L"report3.htm"));
    EXPECT_TRUE(FileExistsAt(Data() + L"stray.txt"));
}
