// What a generation leaves: its files are written under temporary names
// beside their targets and put in place together, all or none; a failed one
// leaves every earlier file byte for byte and none of its own, and tells the
// user the file and the reason in words.
#include "framework/KWOutputRecord.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/framework/KWTestFiles.h"

namespace {

bool Present(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The set's files: their names in the folder, and the earlier bytes of those
// that stood there before ("" for none).
struct SetFile {
    const wchar_t* name;
    const char* earlier;
};

}  // namespace

// Until the commit every target holds its earlier bytes (or is absent); after
// it each holds its new bytes, and nothing else is left: no temporary file,
// no earlier file set aside. A file the set does not name is untouched.
TEST(KWOutputRecord, StagedFilesTakeTheirPlacesOnlyWhenTheSetIsCommitted)
{
    const std::vector<std::vector<SetFile>> sets = {
        {{L"report.pdf", "%PDF earlier"}},
        {{L"report.pdf", ""}},
        {{L"report.html", "frameset"}, {L"data\\report.html", "page"}, {L"data\\report2.html", ""},
         {L"data\\report_image1.jpg", "jpeg"}},
    };
    for (const auto& set : sets) {
        SCOPED_TRACE(Narrow(set.front().name) + " and " + std::to_string(set.size() - 1) + " more");
        CKWTestTempFolder scratch;
        scratch.MakeFolder(L"data");
        const std::wstring other = scratch.Write(L"data\\stray.txt", "user's");
        CKWOutputRecord output;
        for (const SetFile& file : set) {
            const std::wstring target = scratch.Path() + file.name;
            if (*file.earlier)
                ASSERT_TRUE(WriteFileBytes(target, file.earlier));
            const std::wstring temporary = output.Stage(target.c_str()).GetString();
            // Beside its target, made empty, under a name of its own.
            ASSERT_EQ(target.substr(0, target.rfind(L'\\')), temporary.substr(0, temporary.rfind(L'\\')));
            EXPECT_TRUE(Present(temporary));
            EXPECT_EQ("", ReadFileBytes(temporary));
            ASSERT_TRUE(WriteFileBytes(temporary, "new " + Narrow(file.name)));
        }
        for (const SetFile& file : set)
            EXPECT_EQ(file.earlier, ReadFileBytes(scratch.Path() + file.name)) << Narrow(file.name);

        ASSERT_TRUE(output.Commit());
        EXPECT_EQ(0u, output.GetStagedCount());
        for (const SetFile& file : set)
            EXPECT_EQ("new " + Narrow(file.name), ReadFileBytes(scratch.Path() + file.name));
        std::set<std::wstring> expected = {L"data"};
        std::set<std::wstring> inData = {L"stray.txt"};
        for (const SetFile& file : set) {
            const std::wstring name = file.name;
            (name.find(L'\\') == std::wstring::npos ? expected : inData).insert(name.substr(name.find(L'\\') + 1));
        }
        EXPECT_EQ(std::vector<std::wstring>(expected.begin(), expected.end()), FolderNames(scratch.Path()));
        EXPECT_EQ(std::vector<std::wstring>(inData.begin(), inData.end()), FolderNames(scratch.Path() + L"data\\"));
        EXPECT_EQ("user's", ReadFileBytes(other));
    }
}

// A target that cannot be replaced fails the whole set: every earlier file
// keeps its bytes, no new file takes a place, and the discard then leaves no
// temporary file. The failure names the target that stood in the way.
TEST(KWOutputRecord, ATargetThatCannotBeReplacedLeavesEveryEarlierFile)
{
    enum Blocker { kReadOnly, kOpenElsewhere, kFolderOfTheName };
    const struct {
        Blocker blocker;
        size_t files;  // in the set; the last one is blocked
        const wchar_t* reason;
    } cases[] = {
        {kReadOnly, 1, L"read-only"},
        {kReadOnly, 3, L"read-only"},
        {kOpenElsewhere, 1, L"open in another program"},
        {kOpenElsewhere, 3, L"open in another program"},
        {kFolderOfTheName, 1, L"A folder of this name stands where the file goes."},
        {kFolderOfTheName, 3, L"A folder of this name stands where the file goes."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.blocker) + " in a set of " + std::to_string(c.files));
        CKWTestTempFolder scratch;
        CKWOutputRecord output;
        std::vector<std::wstring> targets;
        for (size_t i = 0; i < c.files; ++i) {
            const std::wstring target = scratch.Path() + L"part" + std::to_wstring(i) + L".html";
            targets.push_back(target);
            if (i + 1 < c.files || c.blocker != kFolderOfTheName)
                ASSERT_TRUE(WriteFileBytes(target, "earlier " + std::to_string(i)));
            const CString temporary = output.Stage(target.c_str());
            ASSERT_FALSE(temporary.IsEmpty());
            ASSERT_TRUE(WriteFileBytes(temporary.GetString(), "new " + std::to_string(i)));
        }
        const std::wstring& blocked = targets.back();
        HANDLE held = INVALID_HANDLE_VALUE;
        switch (c.blocker) {
        case kReadOnly:
            ASSERT_TRUE(::SetFileAttributesW(blocked.c_str(), FILE_ATTRIBUTE_READONLY));
            break;
        case kOpenElsewhere:
            held = ::CreateFileW(blocked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            break;
        case kFolderOfTheName:
            ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));
            break;
        }
        const bool committed = output.Commit();
        if (held != INVALID_HANDLE_VALUE)
            ::CloseHandle(held);
        ::SetFileAttributesW(blocked.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_FALSE(committed);
        ASSERT_TRUE(output.HasFailed());
        EXPECT_EQ(blocked, std::wstring(output.GetFailedPath().GetString()));
        const CString message = output.FailureMessage();
        EXPECT_NE(-1, message.Find(blocked.c_str())) << Narrow(message.GetString());
        EXPECT_NE(-1, message.Find(c.reason)) << Narrow(message.GetString());
        output.Discard();
        for (size_t i = 0; i < c.files; ++i) {
            if (i + 1 < c.files || c.blocker != kFolderOfTheName)
                EXPECT_EQ("earlier " + std::to_string(i), ReadFileBytes(targets[i])) << i;
        }
        std::vector<std::wstring> expected;
        for (const std::wstring& target : targets)
            expected.push_back(target.substr(scratch.Path().size()));
        EXPECT_EQ(expected, FolderNames(scratch.Path())) << "no temporary file stays";
    }
}

// The discard takes away the staged files and the folders the generation
// made, but a folder that holds another program's file stays with it; an
// earlier file of a staged name is untouched. An unfinished generation's
// record discards when it goes.
TEST(KWOutputRecord, DiscardTakesAwayWhatItStagedAndNothingElse)
{
    CKWTestTempFolder scratch;
    const std::wstring made = scratch.MakeFolder(L"made");
    const std::wstring shared = scratch.MakeFolder(L"shared");
    scratch.Write(L"report.html", "earlier frameset");
    scratch.Write(L"shared\\notes.txt", "mine");
    {
        CKWOutputRecord unfinished;
        unfinished.AddFolder(made.c_str());
        unfinished.AddFolder(shared.c_str());
        for (const wchar_t* target : {L"report.html", L"made\\page.html", L"shared\\picture.jpg"})
            WriteFileBytes(unfinished.Stage((scratch.Path() + target).c_str()).GetString(), "part");
        CKWOutputRecord output;
        output.AddFolder(made.c_str());
        WriteFileBytes(output.Stage((scratch.Path() + L"late.pdf").c_str()).GetString(), "part");
        output.Discard();
        EXPECT_EQ(0u, output.GetStagedCount());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"report.html", L"shared"}), FolderNames(scratch.Path()));
    EXPECT_EQ("earlier frameset", ReadFileBytes(scratch.Path() + L"report.html"));
    EXPECT_EQ((std::vector<std::wstring>{L"notes.txt"}), FolderNames(shared + L"\\"));
}

// A staged file its writer left empty (a picture that gave no file) is put in
// place of nothing: the earlier file of its name stays, no empty one comes.
TEST(KWOutputRecord, AStagedFileLeftEmptyReplacesNothing)
{
    CKWTestTempFolder scratch;
    CKWOutputRecord output;
    const std::wstring earlier = scratch.Write(L"picture.png", "earlier picture");
    const CString empty = output.Stage(earlier.c_str());
    const CString written = output.Stage((scratch.Path() + L"page.html").c_str());
    ASSERT_TRUE(WriteFileBytes(written.GetString(), "page"));
    output.UnstageIfEmpty(written);
    output.UnstageIfEmpty(empty);
    EXPECT_FALSE(Present(empty.GetString()));
    EXPECT_EQ(1u, output.GetStagedCount());
    ASSERT_TRUE(output.Commit());
    EXPECT_EQ("earlier picture", ReadFileBytes(earlier));
    EXPECT_EQ("page", ReadFileBytes(scratch.Path() + L"page.html"));
    EXPECT_EQ((std::vector<std::wstring>{L"page.html", L"picture.png"}), FolderNames(scratch.Path()));
}

TEST(KWOutputRecord, TheFirstFailureIsToldWithTheFileAndItsReason)
{
    const wchar_t path[] = L"C:\\Reports\\Survey\\report.pdf";
    const struct {
        DWORD error;
        const wchar_t* reason;
    } cases[] = {
        {ERROR_PATH_NOT_FOUND, L"The folder \"C:\\Reports\\Survey\" does not exist."},
        {ERROR_DIRECTORY, L"The folder \"C:\\Reports\\Survey\" does not exist."},
        {ERROR_ACCESS_DENIED, L"The folder \"C:\\Reports\\Survey\" does not exist."},
        {0, L"The folder \"C:\\Reports\\Survey\" does not exist."},
        {ERROR_DISK_FULL, L"The disk is full."},
        {ERROR_HANDLE_DISK_FULL, L"The disk is full."},
        {ERROR_SHARING_VIOLATION, L"The file is open in another program."},
        {ERROR_NOT_ENOUGH_MEMORY, L"There is not enough memory."},
    };
    for (const auto& c : cases) {
        CKWOutputRecord output;
        EXPECT_TRUE(output.FailureMessage().IsEmpty());
        output.Fail(path, c.error);
        output.Fail(L"C:\\elsewhere.pdf", ERROR_DISK_FULL);
        ASSERT_TRUE(output.HasFailed());
        EXPECT_EQ(std::wstring(L"Cannot write the file \"") + path + L"\".\n" + c.reason +
                      L"\nThe report was not generated.",
                  std::wstring(output.FailureMessage().GetString()))
            << c.error;
    }
    CKWOutputRecord own;
    own.Fail(path, 0, L"A presentation holds at most 10 slides.");
    EXPECT_NE(-1, own.FailureMessage().Find(L"A presentation holds at most 10 slides."));
    own.Clear();
    EXPECT_FALSE(own.HasFailed());
}

// A storage names the system error it met, or a write fault that names none,
// where the system's error of that moment says why.
TEST(KWOutputRecord, StorageResultsStandForTheirSystemErrors)
{
    const struct {
        HRESULT result;
        DWORD lastError;
        DWORD expected;
    } cases[] = {
        {STG_E_PATHNOTFOUND, 0, ERROR_PATH_NOT_FOUND},
        {STG_E_ACCESSDENIED, ERROR_DISK_FULL, ERROR_ACCESS_DENIED},
        {STG_E_MEDIUMFULL, 0, ERROR_DISK_FULL},
        {HRESULT_FROM_WIN32(ERROR_DISK_FULL), 0, ERROR_DISK_FULL},
        {STG_E_WRITEFAULT, ERROR_DISK_FULL, ERROR_DISK_FULL},
        {STG_E_WRITEFAULT, 0, ERROR_WRITE_FAULT},
        {STG_E_READFAULT, ERROR_HANDLE_DISK_FULL, ERROR_HANDLE_DISK_FULL},
        {E_FAIL, ERROR_DISK_FULL, ERROR_DISK_FULL},
        {E_FAIL, 0, 0},
        {S_OK, ERROR_DISK_FULL, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CKWOutputRecord::ErrorFromResult(c.result, c.lastError))
            << std::hex << c.result << " " << c.lastError;
}
