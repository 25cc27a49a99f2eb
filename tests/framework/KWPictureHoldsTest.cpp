// The holds of the picture store: a file of the store's own folder goes with
// its last holder, files elsewhere never; the names of new files.
#include "framework/KWPictureHold.h"
#include "framework/KWRasterLib.h"

#include "KWFakeRasterLibrary.h"
#include "KWRasterTestImages.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace rastertest;

namespace {

class PictureHolds : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeraster::Reset();
        lib.reset(new CKWRasterLib(kMissingLibrary));
        ASSERT_FALSE(lib->GetStoreFolder().IsEmpty());
    }

    uint32_t AddStoreFile()
    {
        const uint8_t bytes[] = {0xFF, 0xD8, 0xFF, 0xE0, 7};
        return lib->AddImageFromMemory(bytes, sizeof bytes, "jpg");
    }
    std::wstring PathOf(uint32_t id) { return lib->GetImagePath(id).GetString(); }

    std::unique_ptr<CKWRasterLib> lib;
};

}  // namespace

TEST_F(PictureHolds, AStoreFileGoesWithItsLastHolderAFileElsewhereNever)
{
    TempFolder outside;
    const std::wstring userPath = outside.Write(L"photo.jpg", "x", 1);
    const uint32_t user = lib->GetPictureId(userPath.c_str());
    const uint32_t stored = AddStoreFile();
    const std::wstring storedPath = PathOf(stored);
    ASSERT_TRUE(FileExists(storedPath));

    // Each step: the id, hold (+1) or release (-1), then the count and whether its file is there.
    struct Step {
        uint32_t id;
        int change;
        uint32_t count;
        bool exists;
    };
    const Step steps[] = {
        {stored, +1, 1, true}, {stored, +1, 2, true}, {user, +1, 1, true},  {stored, -1, 1, true},
        {user, -1, 0, true},   {user, -1, 0, true},   {stored, -1, 0, false}, {stored, -1, 0, false},
    };
    for (const Step& step : steps) {
        if (step.change > 0)
            lib->HoldPicture(step.id);
        else
            lib->ReleasePicture(step.id);
        const std::wstring& path = step.id == stored ? storedPath : userPath;
        EXPECT_EQ(step.count, lib->GetHoldCount(step.id)) << (&step - steps);
        EXPECT_EQ(step.exists, FileExists(path)) << (&step - steps);
    }
    // The released store file is forgotten: its id names nothing, its path is new to the store.
    EXPECT_TRUE(lib->GetImagePath(stored).IsEmpty());
    EXPECT_NE(stored, lib->GetPictureId(storedPath.c_str()));
    // A picture outside the store keeps its id for good.
    EXPECT_EQ(CString(userPath.c_str()), lib->GetImagePath(user));
    EXPECT_EQ(user, lib->GetPictureId(userPath.c_str()));
    EXPECT_EQ(0u, lib->GetPendingDeleteCount());
}

TEST_F(PictureHolds, AFileNobodyHeldStaysUntilTheEnd)
{
    const uint32_t stored = AddStoreFile();
    const std::wstring path = PathOf(stored);
    lib->ReleasePicture(stored);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(CString(path.c_str()), lib->GetImagePath(stored));
    lib.reset();
    EXPECT_FALSE(FileExists(path));
}

TEST_F(PictureHolds, AReleasedPictureLeavesTheCaches)
{
    fakeraster::Install(lib->GetFunctions());
    const uint32_t stored = AddStoreFile();
    const uint32_t other = AddStoreFile();
    lib->HoldPicture(stored);
    lib->HoldPicture(other);
    ASSERT_TRUE(lib->GetThumbnail(stored));
    ASSERT_TRUE(lib->GetThumbnail(other));
    ASSERT_TRUE(lib->GetPreviewImage(stored));
    SIZE size = {};
    ASSERT_TRUE(lib->GetImageSize(stored, size));
    lib->ReleasePicture(stored);
    EXPECT_EQ(std::vector<uint32_t>{other}, lib->GetThumbnailCache().GetIds());
    EXPECT_TRUE(lib->GetPreviewCache().GetIds().empty());
    EXPECT_FALSE(lib->GetImageSize(stored, size));
}

TEST_F(PictureHolds, AFileStillOpenGoesWhenTheProgramIsIdle)
{
    const uint32_t stored = AddStoreFile();
    const std::wstring path = PathOf(stored);
    // A reader that does not share deletion, as a thread reading the picture.
    HANDLE reader = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    lib->HoldPicture(stored);
    lib->ReleasePicture(stored);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(1u, lib->GetPendingDeleteCount());
    lib->DeleteReleasedFiles();
    EXPECT_EQ(1u, lib->GetPendingDeleteCount());
    ::CloseHandle(reader);
    lib->DeleteReleasedFiles();
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(0u, lib->GetPendingDeleteCount());
}

TEST_F(PictureHolds, ADiscardedFileGoesNowOrWithItsLastHolder)
{
    const uint32_t free = AddStoreFile();
    const uint32_t held = AddStoreFile();
    const std::wstring freePath = PathOf(free), heldPath = PathOf(held);
    lib->HoldPicture(held);
    lib->GetPictureState(free, false);
    lib->DiscardStoreFile(free);
    lib->DiscardStoreFile(held);
    EXPECT_FALSE(FileExists(freePath));
    EXPECT_FALSE(lib->ForgetIfChanged(free)) << "the stamp of its check goes with the file";
    EXPECT_TRUE(FileExists(heldPath));
    lib->ReleasePicture(held);
    EXPECT_FALSE(FileExists(heldPath));

    // A move out of the store leaves a held original to its holders.
    TempFolder target;
    const uint32_t shown = AddStoreFile();
    const std::wstring shownPath = PathOf(shown);
    lib->HoldPicture(shown);
    const CString moved = lib->RelocateImageFile(shown, target.Path().c_str());
    EXPECT_TRUE(FileExists(moved.GetString()));
    EXPECT_TRUE(FileExists(shownPath));
    lib->ReleasePicture(shown);
    EXPECT_FALSE(FileExists(shownPath));
    EXPECT_TRUE(FileExists(moved.GetString()));
}

TEST_F(PictureHolds, AnOriginFindsItsFileOnlyWhileItIsHeld)
{
    const uint32_t stored = AddStoreFile();
    const std::wstring path = PathOf(stored);
    const std::wstring origin = L"c:\\reports\\a.otd|1234";
    std::wstring found;
    lib->SetPictureOrigin(stored, origin);
    EXPECT_EQ(0u, lib->FindHeldByOrigin(origin, found));  // nobody holds it
    lib->HoldPicture(stored);
    EXPECT_EQ(stored, lib->FindHeldByOrigin(origin, found));
    EXPECT_EQ(path, found);
    EXPECT_EQ(0u, lib->FindHeldByOrigin(L"c:\\reports\\a.otd|1235", found));
    // A later file of the same origin leaves it to the held one, and takes
    // it once that one went.
    const uint32_t newer = AddStoreFile();
    lib->HoldPicture(newer);
    lib->SetPictureOrigin(newer, origin);
    EXPECT_EQ(stored, lib->FindHeldByOrigin(origin, found));
    lib->ReleasePicture(stored);
    EXPECT_EQ(0u, lib->FindHeldByOrigin(origin, found));
    lib->SetPictureOrigin(newer, origin);
    EXPECT_EQ(newer, lib->FindHeldByOrigin(origin, found));
    lib->ReleasePicture(newer);
    EXPECT_EQ(0u, lib->FindHeldByOrigin(origin, found));
}

TEST_F(PictureHolds, NewNamesPassOverLeftoversAndFilesThatAppearLater)
{
    const std::wstring folder = lib->GetStoreFolder().GetString();
    const std::string prefix = lib->GetNamePrefix();
    const std::wstring widePrefix(prefix.begin(), prefix.end());
    // Left by an earlier run started at the same time of day: listed once, never overwritten.
    const std::wstring leftover = TempFolder::WriteAt(folder + widePrefix + L"130.JPG", "old", 3);
    const uint32_t first = AddStoreFile();
    const uint32_t second = AddStoreFile();
    EXPECT_EQ(folder + widePrefix + L"129.jpg", PathOf(first));
    const std::wstring secondName = PathOf(second).substr(folder.size());
    EXPECT_EQ(widePrefix + L"130", secondName.substr(0, prefix.size() + 3));
    EXPECT_EQ(prefix.size() + 3 + 8 + 4, secondName.size()) << "a random suffix of eight hex digits";
    // Made by another program after the listing: the file is made under the next name.
    const std::wstring foreign = TempFolder::WriteAt(folder + widePrefix + L"131.jpg", "other", 5);
    const uint32_t third = AddStoreFile();
    EXPECT_EQ(folder + widePrefix + L"132.jpg", PathOf(third));
    EXPECT_EQ(std::vector<uint8_t>({'o', 't', 'h', 'e', 'r'}), FileData(foreign));
    EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), FileData(leftover));
    ::DeleteFileW(leftover.c_str());
    ::DeleteFileW(foreign.c_str());
}

TEST(PictureHold, CopiesHoldMovesPassTheHoldOnAndAssignmentHoldsTheNewFirst)
{
    const uint8_t bytes[] = {0xFF, 0xD8, 0xFF, 0xE0, 9};
    const int32_t a = int32_t(g_rasterLib.AddImageFromMemory(bytes, sizeof bytes, "jpg"));
    const int32_t b = int32_t(g_rasterLib.AddImageFromMemory(bytes, sizeof bytes, "jpg"));
    ASSERT_NE(0, a);
    ASSERT_NE(0, b);
    const std::wstring pathA = g_rasterLib.GetImagePath(uint32_t(a)).GetString();
    auto count = [](int32_t id) { return g_rasterLib.GetHoldCount(uint32_t(id)); };
    {
        CKWPictureHold first(a);
        EXPECT_EQ(1u, count(a));
        CKWPictureHold copy(first);
        EXPECT_EQ(2u, count(a));
        CKWPictureHold moved(std::move(copy));
        EXPECT_EQ(2u, count(a));
        EXPECT_EQ(0, copy.Get());
        moved = moved;  // the same id again: never without a holder in between
        EXPECT_EQ(2u, count(a));
        EXPECT_TRUE(FileExists(pathA));
        moved = b;
        EXPECT_EQ(1u, count(a));
        EXPECT_EQ(1u, count(b));
        EXPECT_EQ(b, int32_t(moved));
        std::vector<CKWPictureHold> holds;
        holds.emplace_back(a);
        holds.emplace_back(a);
        holds.resize(20);  // moved while the vector grows
        EXPECT_EQ(3u, count(a));
        first = 0;
        EXPECT_EQ(2u, count(a));
    }
    EXPECT_EQ(0u, count(a));
    EXPECT_EQ(0u, count(b));
    EXPECT_FALSE(FileExists(pathA));
}
