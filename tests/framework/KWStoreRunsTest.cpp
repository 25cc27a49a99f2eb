// Two copies of the program share the picture store's folder: each keeps its
// files in a folder of its own, a file of the other's is copied before it is
// used, neither's end or release takes the other's files, and a start removes
// the folders of copies that ended without clearing them, never a running one's.
#include "framework/KWRasterLib.h"

#include "KWFakeRasterLibrary.h"
#include "KWRasterTestImages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace rastertest;

namespace {

std::vector<uint8_t> Bytes(const char* text)
{
    return std::vector<uint8_t>(text, text + std::char_traits<char>::length(text));
}

uint32_t AddFile(CKWRasterLib& lib, const char* text)
{
    const std::vector<uint8_t> bytes = Bytes(text);
    return lib.AddImageFromMemory(bytes.data(), uint32_t(bytes.size()), "jpg");
}

std::wstring PathOf(CKWRasterLib& lib, uint32_t id)
{
    return lib.GetImagePath(id).GetString();
}

std::wstring WithoutSlash(const CString& folder)
{
    std::wstring path = folder.GetString();
    return path.substr(0, path.size() - 1);
}

// The path by the host's root (Wine's Z: drive) rather than by its drive.
std::wstring HostForm(const std::wstring& path)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    std::wstring host = name ? L"Z:" : L"";
    for (const char* c = name; c && *c; ++c)
        host += *c == '/' ? L'\\' : wchar_t(static_cast<unsigned char>(*c));
    ::HeapFree(::GetProcessHeap(), 0, name);
    return host;
}

class StoreRuns : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeraster::Reset();
        a.reset(new CKWRasterLib(kMissingLibrary));
        b.reset(new CKWRasterLib(kMissingLibrary));
        ASSERT_FALSE(a->GetStoreFolder().IsEmpty());
        ASSERT_FALSE(b->GetStoreFolder().IsEmpty());
    }

    std::unique_ptr<CKWRasterLib> a;
    std::unique_ptr<CKWRasterLib> b;
};

}  // namespace

TEST_F(StoreRuns, EachCopyHasAFolderOfItsOwnInTheSharedOne)
{
    EXPECT_EQ(a->GetStoreRoot(), b->GetStoreRoot());
    EXPECT_NE(a->GetStoreFolder(), b->GetStoreFolder());
    const std::wstring root = a->GetStoreRoot().GetString();
    for (CKWRasterLib* lib : {a.get(), b.get()}) {
        const std::wstring folder = lib->GetStoreFolder().GetString();
        EXPECT_EQ(root, folder.substr(0, root.size()));
        EXPECT_EQ(std::wstring(CKWRasterLib::kRunFolderPrefix), folder.substr(root.size(), 4));
    }
    const std::wstring inB = PathOf(*b, AddFile(*b, "b's"));
    // Where a path lies decides whose it is, however it is spelled.
    auto upper = [](std::wstring path) { return std::wstring(::CharUpperW(&path[0])); };
    struct Case {
        std::wstring path;
        bool own;
        bool other;
    };
    const Case cases[] = {
        {PathOf(*a, AddFile(*a, "a's")), true, false},
        {inB, false, true},
        {upper(inB), false, true},
        {upper(HostForm(root)) + inB.substr(root.size()), false, true},
        {root + L"12_00_00129.jpg", false, true},  // an older program's, in the shared folder
        {root + L"run_x\\sub\\deeper.jpg", false, false},
        {root + L"run_x\\", false, false},
        {L"C:\\photos\\holiday.jpg", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.own, a->IsStoreFile(c.path.c_str())) << std::string(c.path.begin(), c.path.end());
        EXPECT_EQ(c.other, a->IsOtherStoreFile(c.path.c_str())) << std::string(c.path.begin(), c.path.end());
    }
}

TEST_F(StoreRuns, AnotherCopysFileIsCopiedBeforeUseAndNeitherCopysEndTakesTheOthersFile)
{
    const uint32_t original = AddFile(*b, "pasted from b");
    const std::wstring inB = PathOf(*b, original);
    // The clipboard's record names b's file: a takes a copy of its own.
    const uint32_t pasted = a->GetPictureId(inB.c_str());
    const std::wstring inA = PathOf(*a, pasted);
    EXPECT_TRUE(a->IsStoreFile(inA.c_str()));
    EXPECT_EQ(Bytes("pasted from b"), FileData(inA));
    EXPECT_EQ(pasted, a->GetPictureId(inB.c_str())) << "the same file pasted twice is one picture";
    a->HoldPicture(pasted);

    // b lets go of its file and ends: a's copy stays.
    b->HoldPicture(original);
    b->ReleasePicture(original);
    EXPECT_FALSE(FileExists(inB));
    b.reset();
    EXPECT_EQ(Bytes("pasted from b"), FileData(inA));

    // And the other way: a file that a holds of a's own goes with a's release,
    // one of a copy still running never.
    std::unique_ptr<CKWRasterLib> c(new CKWRasterLib(kMissingLibrary));
    const std::wstring inC = PathOf(*c, AddFile(*c, "c's"));
    const uint32_t fromC = a->GetPictureId(inC.c_str());
    a->HoldPicture(fromC);
    a->ReleasePicture(fromC);
    a->ReleasePicture(pasted);
    EXPECT_FALSE(FileExists(inA));
    EXPECT_EQ(Bytes("c's"), FileData(inC));
    EXPECT_NE(fromC, a->GetPictureId(inC.c_str())) << "once a's copy went, the file is copied anew";

    // a's end deletes its own folder whole and nothing of c's.
    const std::wstring folderA = WithoutSlash(a->GetStoreFolder());
    a.reset();
    EXPECT_FALSE(FileExists(folderA));
    EXPECT_EQ(Bytes("c's"), FileData(inC));
}

TEST_F(StoreRuns, AStartRemovesTheFoldersOfCopiesThatEndedAndNoRunningCopys)
{
    const std::wstring root = a->GetStoreRoot().GetString();
    // A copy killed with its files: its lock went with it.
    const std::wstring killed = root + L"run_killed_test\\";
    ASSERT_TRUE(::CreateDirectoryW(killed.substr(0, killed.size() - 1).c_str(), nullptr));
    for (const wchar_t* name : {L"10_00_00129.jpg", L"10_00_00130.png"})
        TempFolder::WriteAt(killed + name, "left", 4);
    // A copy that runs, holding its lock open, without a file yet.
    const std::wstring running = root + L"run_running_test\\";
    ASSERT_TRUE(::CreateDirectoryW(running.substr(0, running.size() - 1).c_str(), nullptr));
    const std::wstring kept = TempFolder::WriteAt(running + L"10_00_00129.jpg", "kept", 4);
    HANDLE lock = ::CreateFileW((running + L"run.lock").c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    const std::wstring inA = PathOf(*a, AddFile(*a, "a's"));
    const std::wstring inB = PathOf(*b, AddFile(*b, "b's"));

    // Each start removes ended copies' folders; the second start finds none.
    std::unique_ptr<CKWRasterLib> started(new CKWRasterLib(kMissingLibrary));
    EXPECT_FALSE(FileExists(killed));
    EXPECT_EQ(0u, started->RemoveEndedRuns());
    EXPECT_EQ(Bytes("kept"), FileData(kept));
    EXPECT_EQ(Bytes("a's"), FileData(inA));
    EXPECT_EQ(Bytes("b's"), FileData(inB));

    // Once the running copy ends without clearing its folder, the next start takes it.
    ::CloseHandle(lock);
    EXPECT_EQ(1u, started->RemoveEndedRuns());
    EXPECT_FALSE(FileExists(running));
    EXPECT_EQ(Bytes("a's"), FileData(inA));
}
