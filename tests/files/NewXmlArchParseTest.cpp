#include "FilesTestSupport.h"
#include "RecordingTags.h"

#include "files/NewXmlArch.h"
#include "framework/KWProgressInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

using filestest::TempDir;

namespace {

const std::vector<CRecordingTags::Element> kElements = {
    {"Root", CTagTable::kRootParent},
    {"Child", "Root"},
    {"Leaf", "Child"},
};

struct ParseResult {
    int32_t code = -1;
    std::wstring errors;
    std::wstring warnings;
    std::vector<std::wstring> events;
};

class ArchiveParse : public ::testing::Test {
protected:
    // Writes the bytes to a file and parses it with the recording table.
    ParseResult Parse(const std::string& bytes)
    {
        std::wstring path = m_dir.File(L"doc.xml");
        filestest::WriteBytes(path, bytes);
        return ParseFile(path);
    }

    ParseResult ParseFile(const std::wstring& path)
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, false);
        m_archive = &archive;
        tags.SetTarget(this);
        archive.SetTagTable(&tags);
        ParseResult result;
        result.code = archive.Parse();
        result.errors = archive.GetErrors().GetString();
        result.warnings = archive.GetWarnings().GetString();
        result.events = tags.events;
        m_archive = nullptr;
        return result;
    }

    void SetUp() override { ASSERT_TRUE(tags.RegisterTags()); }

    TempDir m_dir;
    CRecordingTags tags{kElements};
    CNewXmlArch* m_archive = nullptr;
};

std::vector<std::wstring> Lines(std::initializer_list<const wchar_t*> lines)
{
    return std::vector<std::wstring>(lines.begin(), lines.end());
}

}  // namespace

TEST_F(ArchiveParse, DispatchesWarnsAndFailsAsTheFileSays)
{
    std::string line12 = "<Root>\n";
    for (int line = 2; line < 12; ++line)
        line12 += "<Child/>\n";
    const struct {
        const char* what;
        std::string text;
        int32_t code;
        std::vector<std::wstring> events;  // compared when given, and for the empty file
        const wchar_t* warnings;
    } cases[] = {
        {"attributes and text", "<?xml version='1.0' encoding='utf-8' ?>\n\n"
                                "<Root Name='a&apos;b&quot;c&lt;&amp;' Tab='x&#9;y&#10;z&#13;!' Raw='p\tq'>\n"
                                "\t<Child B='2' A='1'>caf\xC3\xA9 &#x416;</Child>\n</Root>\n",
         0,
         Lines({L"start Root", L"start Child", L"end Child B=2 A=1 [caf\x00E9 \x0416]",
                L"end Root Name=a'b\"c<& Tab=x\ty\nz\r! Raw=p q [\n\t\n]"}),
         L""},
        {"a root inside another element goes with its subtree",
         "<Root>\n<Child A='1'>\n<Root X='1'>\n<Child B='2'><Leaf/></Child>\n</Root>\n<Leaf C='3'/>\n</Child>\n"
         "</Root>\n",
         0,
         Lines({L"start Root", L"start Child", L"start Leaf", L"end Leaf C=3", L"end Child A=1 [\n\n\n]",
                L"end Root [\n\n]"}),
         L"Warning [line 3]: Misplaced tag Root is ignored.\r\n"},
        {"a misplaced element on line 12", line12 + "<Leaf/>\n</Root>\n", 0, {},
         L"Warning [line 12]: Misplaced tag Leaf is ignored.\r\n"},
        {"lines of a file with CR LF", "<Root>\r\n<Child/>\r\n<Leaf/>\r\n</Root>\r\n", 0, {},
         L"Warning [line 3]: Misplaced tag Leaf is ignored.\r\n"},
        {"unknown elements give their text to the parent", "<Root>a<Unknown Z='1'>b<Child/>c</Unknown>d</Root>", 0,
         Lines({L"start Root", L"start Child", L"end Child", L"end Root [abcd]"}), L""},
        {"an empty file", "", 0, {}, L""},
        {"private-use marks are control characters",
         "<Root>a&#xE00A;b\xEE\x80\x8E" "c&#xE009;d&#xE01F;e&#xE020;</Root>", 0,
         Lines({L"start Root", L"end Root [a\nb\nc\td\x1F" L"e\xE020]"}), L""},
        {"a truncated file", "<Root>\n<Child A='1'>\n<Leaf/>", CNewXmlArch::kErrUnknown, {}, L""},
    };
    for (const auto& c : cases) {
        tags.events.clear();
        ParseResult r = Parse(c.text);
        EXPECT_EQ(r.code, c.code) << c.what;
        EXPECT_EQ(r.errors.empty(), c.code == 0) << c.what;
        if (!c.events.empty() || c.text.empty())
            EXPECT_EQ(r.events, c.events) << c.what;
        EXPECT_EQ(r.warnings, c.warnings) << c.what;
    }
    // Not well-formed: libxml2's message, then code 8's text.
    ParseResult r = Parse("<Root>\n<Child>\n</Root>\n<Child/>\n");
    EXPECT_EQ(r.code, CNewXmlArch::kErrParsing);
    const size_t parser = r.errors.find(L"Error [Line 3]: "), ours = r.errors.find(L"Parsing error occures.\r\n");
    ASSERT_NE(ours, std::wstring::npos) << filestest::ToAnsi(r.errors);
    EXPECT_LT(parser, ours) << "libxml2's message comes first";
    // Text nodes of any size, nesting of a bounded depth.
    const std::string huge = "<Root><Child>" + std::string(12u << 20, 'A') + "<![CDATA[" + std::string(11u << 20, 'B') +
                             "]]></Child></Root>";
    EXPECT_EQ(Parse(huge).code, CNewXmlArch::kErrNone) << "a text node larger than the parser's default limit";
    std::string deep;
    for (int level = 0; level < 300; ++level)
        deep += "<Unknown>";
    r = Parse("<Root>" + deep + "</Root>");
    EXPECT_EQ(r.code, CNewXmlArch::kErrParsing);
    EXPECT_NE(r.errors.find(L"The elements nest deeper than 256 levels."), std::wstring::npos)
        << filestest::ToAnsi(r.errors);
}

TEST_F(ArchiveParse, AHandlerSkipsItsElement)
{
    tags.onStart[L"Child"] = [this](CRecordingTags&) { EXPECT_TRUE(m_archive->SkipElement(L"Child")); };
    ParseResult r = Parse("<Root><Child A='1'>data<Leaf/></Child><Child A='2'/>tail</Root>");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.events, Lines({L"start Root", L"start Child", L"start Child", L"end Root [tail]"}));
    EXPECT_EQ(tags.GetParams(L"Child"), nullptr) << "a skipped element loses its cell";
}

TEST_F(ArchiveParse, AStopOrAnExceptionInAHandlerEndsTheParseAtOnce)
{
    std::string text = "<Root><Child/>";
    for (int i = 0; i < 100; ++i)
        text += "<Child/>";
    tags.onStart[L"Child"] = [this](CRecordingTags&) { m_archive->Stop(); };
    ParseResult r = Parse(text + "</Root>");
    EXPECT_EQ(r.code, CNewXmlArch::kErrTerminated);
    EXPECT_EQ(r.warnings, L"Warning [line 1]: The parser is terminated.\r\n");
    EXPECT_LT(r.events.size(), 5u);
    // No exception crosses the parser.
    tags.events.clear();
    tags.onStart[L"Child"] = [](CRecordingTags&) { throw std::runtime_error("handler failed"); };
    r = Parse(text + "</Root>");
    EXPECT_EQ(r.code, CNewXmlArch::kErrUnknown);
    EXPECT_NE(r.errors.find(L"An unknown error occures."), std::wstring::npos);
    EXPECT_LT(r.events.size(), 5u);
}

TEST_F(ArchiveParse, ANestedParseIsRefused)
{
    std::wstring inner = m_dir.File(L"inner.xml");
    filestest::WriteBytes(inner, "<Root/>");
    int32_t innerCode = -1;
    tags.onStart[L"Child"] = [&](CRecordingTags&) {
        CRecordingTags innerTags(kElements);
        innerTags.RegisterTags();
        innerTags.SetTarget(this);
        CNewXmlArch second(inner.c_str(), CNewXmlArch::kModeRead, false);
        second.SetTagTable(&innerTags);
        innerCode = second.Parse();
    };
    ParseResult r = Parse("<Root><Child/></Root>");
    EXPECT_EQ(innerCode, CNewXmlArch::kErrCommand);
    EXPECT_EQ(r.code, 0);
}

TEST(ArchiveParseSetup, RefusesWhatIsNotReady)
{
    TempDir dir;
    std::wstring path = dir.File(L"a.xml");
    filestest::WriteBytes(path, "<Root/>");
    CRecordingTags tags(kElements);
    tags.RegisterTags();

    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, false);
        EXPECT_EQ(archive.Parse(), CNewXmlArch::kErrInitialization) << "no tag table";
        EXPECT_EQ(archive.GetErrors(), CString(L"Error: Initialization error.\r\n"));
    }
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, false);
        tags.SetTarget(nullptr);
        archive.SetTagTable(&tags);
        EXPECT_EQ(archive.Parse(), CNewXmlArch::kErrInitialization) << "no target";
    }
    {
        CNewXmlArch archive(dir.File(L"missing.xml").c_str(), CNewXmlArch::kModeRead, false);
        EXPECT_FALSE(archive.IsOpen());
        tags.SetTarget(&tags);
        archive.SetTagTable(&tags);
        EXPECT_EQ(archive.Parse(), CNewXmlArch::kErrOpenFile);
    }
    {
        CNewXmlArch archive(dir.File(L"out.xml").c_str(), CNewXmlArch::kModeWrite, false);
        archive.SetTagTable(&tags);
        EXPECT_EQ(archive.Parse(), CNewXmlArch::kErrCommand) << "an archive that writes does not parse";
    }
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, false);
        tags.SetTarget(&tags);
        archive.SetTagTable(&tags);
        EXPECT_EQ(archive.Parse(), 0);
        EXPECT_FALSE(archive.IsOpen()) << "a parse closes the archive";
        EXPECT_EQ(archive.Parse(), CNewXmlArch::kErrInitialization) << "a second parse needs the table again";
        archive.SetTagTable(&tags);
        EXPECT_EQ(archive.Parse(), 0);
    }
}

namespace {

// Counts libxml2's allocations while a test runs (the archive installs the
// runtime's allocator; these forward to it).
struct AllocationWatch {
    static size_t& Largest()
    {
        static size_t largest = 0;
        return largest;
    }
    static void* Malloc(size_t size)
    {
        Largest() = std::max(Largest(), size);
        return std::malloc(size);
    }
    static void* Realloc(void* block, size_t size)
    {
        Largest() = std::max(Largest(), size);
        return std::realloc(block, size);
    }
    AllocationWatch()
    {
        xmlMemGet(&m_free, &m_malloc, &m_realloc, &m_strdup);
        Largest() = 0;
        xmlMemSetup(m_free, Malloc, Realloc, m_strdup);
    }
    ~AllocationWatch() { xmlMemSetup(m_free, m_malloc, m_realloc, m_strdup); }

    xmlFreeFunc m_free;
    xmlMallocFunc m_malloc;
    xmlReallocFunc m_realloc;
    xmlStrdupFunc m_strdup;
};

}  // namespace

TEST_F(ArchiveParse, ASkippedTextOfTensOfMegabytesNeverStandsWholeInTheParser)
{
    const size_t kTextSize = 24 * 1024 * 1024;
    std::string text = "<Root>\n<Child A='1'>\n";
    text.reserve(kTextSize + 100);
    const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (size_t i = 0; i < kTextSize; ++i)
        text += digits[(i * 7) & 63];
    text += "\t</Child>\n<Child A='2'>small</Child>\n</Root>\n";
    tags.onStart[L"Child"] = [this](CRecordingTags&) {
        const CNewParamCell* cell = m_archive->GetParams(L"Child");
        if (cell && cell->Find(L"A") && cell->Find(L"A")[0] == L'1')
            m_archive->SkipElement(L"Child");
    };
    std::wstring path = m_dir.File(L"big.xml");
    filestest::WriteBytes(path, text);
    text.clear();
    text.shrink_to_fit();

    CNewXmlArch probe;  // the interface exists, so the watch's allocator stays installed
    AllocationWatch watch;
    DWORD start = ::GetTickCount();
    ParseResult r = ParseFile(path);
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_EQ(r.code, 0) << filestest::ToAnsi(r.errors);
    EXPECT_EQ(r.events, Lines({L"start Root", L"start Child", L"start Child", L"end Child A=2 [small]",
                               L"end Root [\n\n\n]"}));
    EXPECT_LT(AllocationWatch::Largest(), 1024u * 1024u) << "the parser held a large block";
    std::printf("[ info ] %u ms for %u MB of skipped text\n", static_cast<unsigned>(elapsed),
                static_cast<unsigned>(kTextSize >> 20));
}

namespace {

int g_customReads = 0;
int MatchCustom(const char* uri)
{
    return uri && std::strncmp(uri, "otest:", 6) == 0;
}
void* OpenCustom(const char*)
{
    static int position;
    position = 0;
    return &position;
}
int ReadCustom(void* context, char* buffer, int length)
{
    static const char doc[] = "<r/>";
    int* position = static_cast<int*>(context);
    int n = std::min<int>(length, static_cast<int>(sizeof doc - 1) - *position);
    std::memcpy(buffer, doc + *position, static_cast<size_t>(n));
    *position += n;
    ++g_customReads;
    return n;
}
int CloseCustom(void*)
{
    return 0;
}

}  // namespace

TEST(ArchiveLibrary, TheLibrarysGlobalStateOutlivesEveryArchive)
{
    // Another user of libxml2 registers an input source; archives that come
    // and go must not clean the library up under it.
    CNewXmlArch first;
    int index = xmlRegisterInputCallbacks(MatchCustom, OpenCustom, ReadCustom, CloseCustom);
    ASSERT_GE(index, 0);
    {
        TempDir dir;
        std::wstring path = dir.File(L"a.xml");
        filestest::WriteBytes(path, "<Root><Child/></Root>");
        for (int round = 0; round < 3; ++round) {
            CRecordingTags tags(kElements);
            tags.RegisterTags();
            tags.SetTarget(&tags);
            CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, false);
            archive.SetTagTable(&tags);
            EXPECT_EQ(archive.Parse(), 0);
            EXPECT_EQ(tags.events.size(), 4u);
        }
    }
    g_customReads = 0;
    xmlDocPtr doc = xmlReadFile("otest:doc", nullptr, XML_PARSE_NONET);
    EXPECT_NE(doc, nullptr);
    EXPECT_GT(g_customReads, 0);
    xmlFreeDoc(doc);
    xmlPopInputCallbacks();
}

namespace {

// A progress bar of 0..1000 that remembers where it was set.
}  // namespace

TEST_F(ArchiveParse, ReportsProgressOverTheFileAndEndsAtTheStagesEnd)
{
    std::string text = "<Root>\n";
    for (int i = 0; i < 50000; ++i)
        text += "<Child A='" + std::to_string(i) + "'/>\n";
    text += "</Root>\n";
    std::wstring path = m_dir.File(L"progress.xml");
    filestest::WriteBytes(path, text);
    filestest::CProgressProbe progress;
    progress.SetStageShare(0.5);
    CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, false);
    tags.SetTarget(this);
    archive.SetTagTable(&tags);
    EXPECT_EQ(archive.Parse(&progress), 0);
    EXPECT_EQ(progress.GetPos(), 500) << "the stage ends at its share of the range";
    EXPECT_GE(progress.sets, static_cast<int>(text.size() / CNewXmlArch::kProgressBytes))
        << "the bar moved along the file";
    EXPECT_FALSE(progress.backwards);
}

TEST_F(ArchiveParse, EntityDeclarationsAreRefusedSoThatNoEntityCanAmplify)
{
    filestest::WriteBytes(m_dir.File(L"secret.txt"), "SECRET");
    std::string bomb = "<!DOCTYPE Root [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 10; ++level) {
        bomb += "<!ENTITY l" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            bomb += "&l" + std::to_string(level - 1) + ";";
        bomb += "\">";
    }
    // 50 KB of text referred to 20,000 times: a 110 KB file, 1 GB of text.
    std::string wide = "<!DOCTYPE Root [<!ENTITY w \"" + std::string(50000, 'w') + "\">]>\n<Root>";
    for (int i = 0; i < 20000; ++i)
        wide += "&w;";
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"internal", "<!DOCTYPE Root [<!ENTITY who \"World\">]><Root>Hello &who;</Root>"},
        {"external", "<?xml version='1.0'?>\n<!DOCTYPE Root [<!ENTITY x SYSTEM \"secret.txt\">"
                     "<!ENTITY y SYSTEM \"http://127.0.0.1:9/none\">]>\n<Root>[&x;][&y;]</Root>\n"},
        {"nested", bomb + "]>\n<Root A='&l10;'>&l10;</Root>\n"},
        {"wide", wide + "</Root>\n"},
    };
    CNewXmlArch probe;  // the interface exists, so the watch's allocator stays installed
    for (const auto& test : cases) {
        tags.events.clear();
        AllocationWatch watch;
        const DWORD start = ::GetTickCount();
        ParseResult r = Parse(test.text);
        EXPECT_LT(::GetTickCount() - start, 2000u) << test.what;
        EXPECT_LT(AllocationWatch::Largest(), 1024u * 1024u) << test.what;
        EXPECT_NE(r.warnings.find(L"\" is refused."), std::wstring::npos) << test.what;
        EXPECT_NE(r.code, 0) << "a reference to a refused entity is an error, " << test.what;
        EXPECT_NE(r.errors.find(L"not defined"), std::wstring::npos) << test.what;
        for (const std::wstring& e : r.events)
            EXPECT_EQ(e.find(L"SECRET"), std::wstring::npos) << test.what;
    }
}

TEST_F(ArchiveParse, ErrorsInsideASkippedElementAreReported)
{
    tags.onStart[L"Child"] = [this](CRecordingTags&) { m_archive->SkipElement(L"Child"); };
    const std::string data(100000, 'Q');
    const struct {
        const char* what;
        std::string text;
        int32_t code;
    } cases[] = {
        {"cut inside the data", "<Root><Child>" + data, CNewXmlArch::kErrUnknown},
        {"an unclosed comment", "<Root><Child>" + data + "<!--" + data + "</Child><Leaf/></Root>",
         CNewXmlArch::kErrUnknown},
        {"an unclosed CDATA section", "<Root><Child>" + data + "<![CDATA[" + data + "</Child></Root>",
         CNewXmlArch::kErrUnknown},
        {"a bare ampersand", "<Root><Child>" + data + "&" + data + "</Child></Root>", CNewXmlArch::kErrParsing},
        {"a control character", "<Root><Child>" + data + "\x01" + data + "</Child></Root>",
         CNewXmlArch::kErrParsing},
        {"a byte that is no UTF-8", "<Root><Child>" + data + "\xFF" + data + "</Child></Root>",
         CNewXmlArch::kErrParsing},
    };
    for (const auto& test : cases) {
        ParseResult r = Parse(test.text);
        EXPECT_NE(r.code, 0) << test.what;
        EXPECT_NE(r.errors.find(L"Error [Line 1]: "), std::wstring::npos) << test.what << filestest::ToAnsi(r.errors);
    }
}

TEST_F(ArchiveParse, AStartTagWithMoreAttributesThanTheLimitIsRefusedAtOnce)
{
    for (int count : {CNewXmlArch::kMaxAttributes, 100000}) {
        std::string text = "<Root Text='a=b c=d'";
        for (int i = 1; i < count; ++i)
            text += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
        tags.events.clear();
        const DWORD start = ::GetTickCount();
        ParseResult r = Parse(text + "/>");
        EXPECT_LT(::GetTickCount() - start, 5000u) << count;
        if (count == CNewXmlArch::kMaxAttributes) {
            EXPECT_EQ(r.code, 0) << filestest::ToAnsi(r.errors);
            ASSERT_EQ(r.events.size(), 2u);
            EXPECT_NE(r.events[1].find(L" a999=999"), std::wstring::npos);
        } else {
            EXPECT_EQ(r.code, CNewXmlArch::kErrParsing);
            EXPECT_NE(r.errors.find(L"An element has more than 1000 attributes."), std::wstring::npos);
            EXPECT_TRUE(r.events.empty());
        }
    }
}

TEST_F(ArchiveParse, SkippedTextOutsideAsciiIsPassedOverIntact)
{
    tags.onStart[L"Child"] = [this](CRecordingTags&) {
        const CNewParamCell* cell = m_archive->GetParams(L"Child");
        if (cell && cell->Find(L"A") && cell->Find(L"A")[0] == L'1')
            m_archive->SkipElement(L"Child");
    };
    // Every alignment of the characters against the parser's slices.
    for (int pad = 0; pad < 6; ++pad) {
        std::string text = "<Root><Child A='1'" + std::string(static_cast<size_t>(pad), ' ') + ">";
        for (int i = 0; i < 2000; ++i)
            text += "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 ";
        text += "</Child><Root>\xD0\x96\xD0\x96</Root><Child A='2'>\xC3\xA9</Child></Root>";
        tags.events.clear();
        ParseResult r = Parse(text);
        EXPECT_EQ(r.code, 0) << pad << filestest::ToAnsi(r.errors);
        EXPECT_EQ(r.events, Lines({L"start Root", L"start Child", L"start Child", L"end Child A=2 [\x00E9]",
                                   L"end Root"}));
    }
}
