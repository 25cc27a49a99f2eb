#include "FilesTestSupport.h"
#include "RecordingTags.h"

#include "files/NewXmlArch.h"

#include <gtest/gtest.h>

#include <cwctype>

using filestest::TempDir;

TEST(ArchiveErrors, ACodeRecordsItsTextAndCodesOutsideTheListBecome13)
{
    const struct {
        int32_t given;
        int32_t code;
        const wchar_t* text;
    } cases[] = {
        {6, 6, L"Can't open file."},
        {42, 13, L"An unknown error occures."},
        {-1, 13, L"An unknown error occures."},
    };
    for (const auto& c : cases) {
        CNewXmlArch archive;
        EXPECT_EQ(archive.SetError(c.given), c.code);
        EXPECT_EQ(archive.GetError(), c.code);
        EXPECT_EQ(archive.GetErrors(), CString(L"Error: ") + c.text + L"\r\n") << c.given;
        EXPECT_EQ(archive.GetWarnings(), CString(L""));
    }
}

TEST(ArchiveErrors, ZeroClearsWarningsKeepTheCodeTextsGive13AndAStopGivesOne)
{
    CNewXmlArch archive;
    archive.SetError(6);
    EXPECT_EQ(archive.SetError(0), 0);
    EXPECT_EQ(archive.GetError(), 0);
    EXPECT_EQ(archive.GetErrors(), CString(L"Error: Can't open file.\r\n")) << "code zero records nothing";

    archive.SetError(6);
    archive.SetWarning(9);
    archive.SetWarning(0);
    archive.SetWarning(14);
    archive.Warning(L"free text");
    EXPECT_EQ(archive.GetError(), 6);
    EXPECT_EQ(archive.GetWarnings(), CString(L"Warning: Type mismatch.\r\nWarning: free text\r\n"));

    CNewXmlArch texts;
    EXPECT_EQ(texts.Error(nullptr), 0);
    EXPECT_EQ(texts.GetError(), 0);
    EXPECT_EQ(texts.Error(L"broken"), 13);
    EXPECT_EQ(texts.GetErrors(), CString(L"Error: broken\r\n"));

    CNewXmlArch stopped;
    stopped.Stop();
    EXPECT_EQ(stopped.GetError(), 1);
    EXPECT_EQ(stopped.GetErrors(), CString(L""));
    EXPECT_EQ(stopped.GetWarnings(), CString(L"Warning: The parser is terminated.\r\n"));
}

TEST(ArchiveLog, NamesCutOnlyTheFileNamesExtension)
{
    const struct {
        const wchar_t* name;
        const wchar_t* log;
    } cases[] = {
        {L"C:\\Reports\\week.otd", L"C:\\Reports\\week.xlog"},
        {L"C:\\Reports\\data.rev.otd", L"C:\\Reports\\data.rev.xlog"},
        {L"C:\\My.Reports\\week", L"C:\\My.Reports\\week.xlog"},
        {L"C:\\My.Reports\\.hidden", L"C:\\My.Reports\\.hidden.xlog"},
        {L"week.otd", L"week.xlog"},
        {L"plain", L"plain.xlog"},
        {L"a/b.c/d", L"a/b.c/d.xlog"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CNewXmlArch::MakeLogName(c.name), CString(c.log)) << filestest::ToAnsi(c.name);
}

TEST(ArchiveLog, AParseWithTheLogFlagWritesItsMessagesBesideTheFile)
{
    TempDir dir;
    std::wstring path = dir.File(L"doc.rev.xml");
    filestest::WriteBytes(path, "<Root>\n<Leaf/>\n<Child>\n</Root>\n");
    CRecordingTags tags({{"Root", CTagTable::kRootParent}, {"Child", "Root"}, {"Leaf", "Child"}});
    tags.RegisterTags();
    tags.SetTarget(&tags);
    CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, true);
    ASSERT_TRUE(archive.IsLogOpen());
    EXPECT_EQ(archive.GetLogPath(), CString(dir.File(L"doc.rev.xlog").c_str()));
    archive.SetTagTable(&tags);
    EXPECT_EQ(archive.Parse(), CNewXmlArch::kErrParsing);
    EXPECT_FALSE(archive.IsLogOpen()) << "the parse closes the log with the file";

    std::string log = filestest::ReadBytes(dir.File(L"doc.rev.xlog"));
    // Every message once, with LF alone before the text mode's CR.
    EXPECT_EQ(log.find("Warning [line 2]: Misplaced tag Leaf is ignored.\r\n"), 0u) << log;
    EXPECT_NE(log.find("\r\nError [Line 4]: "), std::string::npos) << log;
    EXPECT_NE(log.find("Parsing error occures.\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("\r\r"), std::string::npos);
}

TEST(ArchiveLog, ALogThatReceivedNothingIsDeleted)
{
    TempDir dir;
    std::wstring path = dir.File(L"clean.xml");
    filestest::WriteBytes(path, "<Root><Child/></Root>");
    CRecordingTags tags({{"Root", CTagTable::kRootParent}, {"Child", "Root"}});
    tags.RegisterTags();
    tags.SetTarget(&tags);
    {
        CNewXmlArch archive(path.c_str(), CNewXmlArch::kModeRead, true);
        EXPECT_TRUE(filestest::FileExists(dir.File(L"clean.xlog")));
        archive.SetTagTable(&tags);
        EXPECT_EQ(archive.Parse(), 0);
    }
    EXPECT_FALSE(filestest::FileExists(dir.File(L"clean.xlog")));
}

TEST(ArchiveLog, AnArchiveWithoutAFileNamesItsLogByTheTime)
{
    TempDir dir;
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(dir.Path().c_str());
    CNewXmlArch archive;
    ASSERT_TRUE(archive.OpenLog(L""));
    CString name = archive.GetLogPath();
    archive.Warning(L"kept");
    archive.CloseLog();
    ::SetCurrentDirectoryW(previous);

    // "%2d_%d_%d_h%d_m%d_s%d" and the extension.
    int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1;
    wchar_t extension[8] = {};
    ASSERT_EQ(std::swscanf(name, L"%2d_%d_%d_h%d_m%d_s%d.%4ls", &year, &month, &day, &hour, &minute, &second,
                           extension),
              7)
        << filestest::ToAnsi(name.GetString());
    EXPECT_STREQ(extension, L"xlog");
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    EXPECT_EQ(year, now.wYear % 100);
    EXPECT_GE(month, 1);
    EXPECT_LE(month, 12);
    EXPECT_EQ(filestest::ReadBytes(dir.File(name)), "Warning: kept\r\n");
}
