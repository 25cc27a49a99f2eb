// What a failed generation leaves (nothing it wrote) and what it tells the
// user (the file and the reason in words).
#include "framework/KWOutputRecord.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/framework/KWTestFiles.h"

namespace {

bool Present(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(KWOutputRecord, DiscardTakesAwayWhatItWroteAndNothingElse)
{
    CKWTestTempFolder scratch;
    CKWOutputRecord output;
    const std::wstring made = scratch.MakeFolder(L"made");
    const std::wstring shared = scratch.MakeFolder(L"shared");
    output.AddFolder(made.c_str());
    output.AddFolder(shared.c_str());
    output.AddFile(scratch.Write(L"report.html", "frameset").c_str());
    output.AddFile(scratch.Write(L"made\\page.html", "page").c_str());
    output.AddFile(scratch.Write(L"shared\\picture.jpg", "jpeg").c_str());
    // Another program's file in a folder the generation made keeps that folder.
    const std::wstring foreign = scratch.Write(L"shared\\notes.txt", "mine");
    const std::wstring untouched = scratch.Write(L"other.pdf", "old");

    output.Discard();
    EXPECT_FALSE(Present(scratch.Path() + L"report.html"));
    EXPECT_FALSE(Present(made));
    EXPECT_FALSE(Present(shared + L"\\picture.jpg"));
    EXPECT_EQ("mine", ReadFileBytes(foreign));
    EXPECT_EQ("old", ReadFileBytes(untouched));
    // Discarded once: a second discard touches nothing written since.
    const std::wstring later = scratch.Write(L"report.html", "again");
    output.Discard();
    EXPECT_EQ("again", ReadFileBytes(later));
}

TEST(KWOutputRecord, TheFirstFailureIsToldWithTheFileAndItsReason)
{
    const wchar_t path[] = L"C:\\Reports\\Survey\\report.pdf";
    const struct {
        DWORD error;
        const wchar_t* reason;
    } cases[] = {
        {ERROR_PATH_NOT_FOUND, L"The folder \"C:\\Reports\\Survey\" does not exist."},
        {ERROR_ACCESS_DENIED, L"The folder \"C:\\Reports\\Survey\" or the file is read-only: it cannot be written there."},
        {ERROR_WRITE_PROTECT, L"The folder \"C:\\Reports\\Survey\" or the file is read-only: it cannot be written there."},
        {ERROR_DISK_FULL, L"The disk is full."},
        {ERROR_HANDLE_DISK_FULL, L"The disk is full."},
        {ERROR_SHARING_VIOLATION, L"The file is open in another program."},
        {0, L"It could not be written in full."},
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

TEST(KWOutputRecord, StorageResultsStandForTheirSystemErrors)
{
    EXPECT_EQ(DWORD(ERROR_PATH_NOT_FOUND), CKWOutputRecord::ErrorFromResult(STG_E_PATHNOTFOUND));
    EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), CKWOutputRecord::ErrorFromResult(STG_E_ACCESSDENIED));
    EXPECT_EQ(DWORD(ERROR_DISK_FULL), CKWOutputRecord::ErrorFromResult(STG_E_MEDIUMFULL));
    EXPECT_EQ(DWORD(ERROR_DISK_FULL), CKWOutputRecord::ErrorFromResult(HRESULT_FROM_WIN32(ERROR_DISK_FULL)));
    EXPECT_EQ(0u, CKWOutputRecord::ErrorFromResult(E_FAIL));
    EXPECT_EQ(0u, CKWOutputRecord::ErrorFromResult(S_OK));
}
