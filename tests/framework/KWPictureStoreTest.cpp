#include "framework/KWRasterLib.h"
#include "framework/RasterExportRequest.h"

#include "KWFakeRasterLibrary.h"
#include "KWRasterTestImages.h"

#include <gtest/gtest.h>

#include <memory>

using namespace rastertest;

namespace {

class PictureStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeraster::Reset();
        lib.reset(new CKWRasterLib(kMissingLibrary));
        ASSERT_FALSE(lib->GetStoreFolder().IsEmpty());
    }

    std::wstring StoreFolder() const { return lib->GetStoreFolder().GetString(); }
    std::wstring Prefix() const { return std::wstring(lib->GetNamePrefix().begin(), lib->GetNamePrefix().end()); }

    std::unique_ptr<CKWRasterLib> lib;
};

}  // namespace

TEST_F(PictureStore, IdsStartAt128AndFollowThePathUnknownIdsHaveNone)
{
    uint32_t first = lib->GetPictureId(L"c:\\pictures\\a.jpg");
    EXPECT_EQ(128u, first);
    EXPECT_EQ(first, lib->GetPictureId(L"c:\\pictures\\a.jpg"));
    // Paths are compared character by character: other letter case is another picture.
    uint32_t upper = lib->GetPictureId(L"C:\\Pictures\\A.JPG");
    EXPECT_EQ(129u, upper);
    EXPECT_EQ(130u, lib->GetPictureId(L"c:\\pictures\\b.jpg"));
    EXPECT_EQ(first, lib->GetPictureId(L"c:\\pictures\\a.jpg"));

    EXPECT_EQ(CString(L"c:\\pictures\\a.jpg"), lib->GetImagePath(first));
    EXPECT_EQ(CString(L"C:\\Pictures\\A.JPG"), lib->GetImagePath(upper));
    EXPECT_EQ(CString(L"A.JPG"), lib->GetImageFileName(upper));

    // Unknown ids read as empty paths.
    EXPECT_TRUE(lib->GetImagePath(4711).IsEmpty());
    EXPECT_TRUE(lib->GetImagePath(0).IsEmpty());
    EXPECT_TRUE(lib->GetImageFileName(4711).IsEmpty());
    EXPECT_TRUE(lib->GetImageFileName(lib->GetPictureId(L"nofolder.jpg")).IsEmpty());

    // A registered path enters both directions and does not move the counter.
    lib->RegisterImagePath(500, L"c:\\x\\y.png");
    EXPECT_EQ(CString(L"c:\\x\\y.png"), lib->GetImagePath(500));
    EXPECT_EQ(500u, lib->GetPictureId(L"c:\\x\\y.png"));
    EXPECT_EQ(132u, lib->GetPictureId(L"c:\\x\\z.png"));
}

TEST_F(PictureStore, ImageSizeIsReadOnce)
{
    SIZE size = {};
    EXPECT_TRUE(lib->GetImageSize(0, size));
    EXPECT_EQ(1, size.cx);
    EXPECT_EQ(1, size.cy);

    fakeraster::Install(lib->GetFunctions());
    // A file that cannot be read says so, and is asked again next time.
    fakeraster::Get().width = 0;
    uint32_t id = lib->GetPictureId(L"c:\\a.jpg");
    EXPECT_FALSE(lib->GetImageSize(id, size));
    EXPECT_EQ(0, size.cx);
    fakeraster::Get().width = 640;
    fakeraster::Get().height = 480;
    EXPECT_TRUE(lib->GetImageSize(id, size));
    EXPECT_EQ(640, size.cx);
    EXPECT_EQ(480, size.cy);
    fakeraster::Get().width = 1;
    EXPECT_TRUE(lib->GetImageSize(id, size));
    EXPECT_EQ(640, size.cx);
    EXPECT_EQ(2, fakeraster::Get().sizeReads);
}

// A library without the UTF-16 reads gets a path outside the code page by its
// short form, which names the same file.
TEST_F(PictureStore, PathsOutsideTheCodePageReachAnAnsiLibraryByTheirShortForm)
{
    TempFolder folder;
    const std::wstring sub = folder.Path() + L"\u56fe\u7247\\";
    ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
    const std::wstring photo = TempFolder::WriteAt(sub + L"\u7167\u7247 photo.jpg", "jpeg", 4);
    fakeraster::Install(lib->GetFunctions());
    const uint32_t id = lib->GetPictureId(photo.c_str());
    EXPECT_EQ(CString(photo.c_str()), lib->GetImagePath(id));
    KWRasterImagePtr image(lib->LoadImage(id));
    ASSERT_NE(nullptr, image);
    const std::string& passed = fakeraster::Get().lastPath;
    EXPECT_EQ(std::string::npos, passed.find('?')) << passed;
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(::GetFileAttributesExA(passed.c_str(), GetFileExInfoStandard, &data)) << passed;
    EXPECT_EQ(4u, data.nFileSizeLow);
    SIZE size = {};
    EXPECT_TRUE(lib->GetImageSize(id, size));
    ::DeleteFileW(photo.c_str());
    ::RemoveDirectoryW(sub.c_str());
}

TEST_F(PictureStore, GeneratedNames)
{
    // A name already taken in the store when it is first listed is passed over.
    TempFolder::WriteAt(StoreFolder() + Prefix() + L"131.png", "", 0);
    std::string first, second;
    lib->GenerateStoreFileName(first, "png");
    lib->GenerateStoreFileName(second, "png");
    EXPECT_EQ(lib->GetNamePrefix() + "129", first);
    EXPECT_EQ(lib->GetNamePrefix() + "130", second);
    // The prefix is the start-up time as hh_mm_ss.
    const std::string& prefix = lib->GetNamePrefix();
    ASSERT_EQ(8u, prefix.size());
    EXPECT_EQ('_', prefix[2]);
    EXPECT_EQ('_', prefix[5]);

    // It gets a random suffix of eight hex digits.
    std::string third;
    lib->GenerateStoreFileName(third, "png");
    ::DeleteFileW((StoreFolder() + Prefix() + L"131.png").c_str());
    ASSERT_EQ(lib->GetNamePrefix().size() + 3 + 8, third.size());
    EXPECT_EQ(lib->GetNamePrefix() + "131", third.substr(0, lib->GetNamePrefix().size() + 3));
    EXPECT_EQ(std::string::npos, third.find_first_not_of("0123456789ABCDEF_", lib->GetNamePrefix().size()));

    // Every name the store gives is told from the names pictures come with,
    // also one an earlier run gave.
    for (const std::string& made : {first, second, third}) {
        const std::wstring name = std::wstring(made.begin(), made.end()) + L".png";
        EXPECT_TRUE(CKWRasterLib::IsStoreFileName(name.c_str())) << made;
    }
    for (const wchar_t* name : {L"09_41_07129.jpg", L"23_59_593A0F1C2D4.jpeg"})
        EXPECT_TRUE(CKWRasterLib::IsStoreFileName(name)) << name;
    for (const wchar_t* name : {L"IMG_0001.jpg", L"12_30_45.jpg", L"12_30_4512", L"12_30_4512.tar.gz", L"2024_05_01129.jpg",
                                L"a1_30_45129.png", L"", L"12_30_45129."})
        EXPECT_FALSE(CKWRasterLib::IsStoreFileName(name)) << name;
}

TEST_F(PictureStore, BytesBecomeAFileOfTheStore)
{
    const uint8_t bytes[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 1, 2, 3};
    uint32_t id = lib->AddImageFromMemory(bytes, sizeof(bytes), "jpg");
    EXPECT_EQ(128u, id);
    std::wstring path = lib->GetImagePath(id).GetString();
    EXPECT_EQ(StoreFolder() + Prefix() + L"129.jpg", path);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + sizeof(bytes)), FileData(path));

    EXPECT_EQ(0u, lib->AddImageFromMemory(bytes, 0, "jpg"));
    EXPECT_EQ(0u, lib->AddImageFromMemory(nullptr, 5, "jpg"));
    // An extension that makes no valid file name: nothing is registered.
    EXPECT_EQ(0u, lib->AddImageFromMemory(bytes, sizeof(bytes), "j<>pg"));
    // An extension from a document that climbs out of the store.
    EXPECT_EQ(0u, lib->AddImageFromMemory(bytes, sizeof(bytes), "jpg\\..\\..\\kwraster_escape"));
    EXPECT_FALSE(FileExists(StoreFolder() + L"..\\kwraster_escape"));
    EXPECT_EQ(129u, lib->AddImageFromMemory(bytes, sizeof(bytes), "png"));
}

TEST_F(PictureStore, StoreFilesAreDeletedAtTheEndButNothingElse)
{
    TempFolder outside;
    std::wstring kept = outside.Write(L"kept.jpg", "x", 1);
    // A file next to the store folder, named through a path that starts with it.
    std::wstring storeFolder = StoreFolder();
    std::wstring sibling = TempFolder::WriteAt(storeFolder + L"..\\kwraster_sibling_test.jpg", "x", 1);

    const uint8_t bytes[] = {1, 2, 3};
    std::wstring added = lib->GetImagePath(lib->AddImageFromMemory(bytes, 3, "bin")).GetString();
    lib->GetPictureId(kept.c_str());
    lib->GetPictureId(sibling.c_str());
    lib->GetPictureId((L"\\\\?\\" + storeFolder + L"..\\kwraster_sibling_test.jpg").c_str());
    ASSERT_TRUE(FileExists(added));
    lib.reset();

    EXPECT_FALSE(FileExists(added));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_TRUE(FileExists(sibling));
    ::DeleteFileW(sibling.c_str());
}

TEST_F(PictureStore, RelocateMovesOnlyStoreFilesAndOnlyAfterACopy)
{
    TempFolder target;
    const uint8_t bytes[] = {9, 8, 7};
    uint32_t id = lib->AddImageFromMemory(bytes, 3, "dat");
    std::wstring stored = lib->GetImagePath(id).GetString();
    CString storedWide(stored.c_str());

    // No target: nothing is copied.
    EXPECT_EQ(storedWide, lib->RelocateImageFile(id, L""));
    EXPECT_EQ(storedWide, lib->RelocateImageFile(id, nullptr));
    EXPECT_TRUE(FileExists(stored));

    // A target that cannot take the copy: the picture stays where it is.
    EXPECT_EQ(storedWide, lib->RelocateImageFile(id, L"c:\\no\\such\\folder\\"));
    EXPECT_TRUE(FileExists(stored));
    // The store's own folder: the file would be copied onto itself.
    EXPECT_EQ(storedWide, lib->RelocateImageFile(id, StoreFolder().c_str()));
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 3), FileData(stored));

    // A file outside the store is never moved.
    std::wstring outsidePath = target.Write(L"outside.dat", "abc", 3);
    uint32_t outside = lib->GetPictureId(outsidePath.c_str());
    EXPECT_EQ(CString(outsidePath.c_str()), lib->RelocateImageFile(outside, target.Path().c_str()));

    const CString name = lib->GetImageFileName(id);
    CString moved = lib->RelocateImageFile(id, target.Path().c_str());
    EXPECT_EQ(CString(target.Path().c_str()) + name, moved);
    EXPECT_FALSE(FileExists(stored));
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 3), FileData(moved.GetString()));
    EXPECT_NE(0u, lib->GetPictureId(moved));
}

TEST_F(PictureStore, CopyToReportsFailure)
{
    TempFolder target;
    std::wstring source = target.Write(L"source.jpg", "jpeg", 4);
    uint32_t id = lib->GetPictureId(source.c_str());
    TempFolder other;
    CString copy = lib->CopyImageFileTo(id, other.Path().c_str());
    EXPECT_EQ(CString((other.Path() + L"source.jpg").c_str()), copy);
    EXPECT_EQ(4u, FileData(copy.GetString()).size());

    EXPECT_TRUE(lib->CopyImageFileTo(id, L"c:\\no\\such\\folder\\").IsEmpty());
    EXPECT_TRUE(lib->CopyImageFileTo(lib->GetPictureId(L"c:\\missing.jpg"), other.Path().c_str()).IsEmpty());
    EXPECT_TRUE(lib->CopyImageFileTo(4711, other.Path().c_str()).IsEmpty());
}

TEST_F(PictureStore, CopyIntoStore)
{
    TempFolder folder;
    std::wstring source = folder.Write(L"photo.jpeg", "jpeg!", 5);
    uint32_t id = lib->GetPictureId(source.c_str());
    CString copy = lib->CopyImageFileIntoStore(id);
    EXPECT_EQ(StoreFolder() + Prefix() + L"129.jpeg", std::wstring(copy.GetString()));
    EXPECT_EQ(5u, FileData(copy.GetString()).size());
    // A file already in the store stays where it is.
    uint32_t copyId = lib->GetPictureId(copy);
    EXPECT_EQ(copy, lib->CopyImageFileIntoStore(copyId));

    // Without an extension the copy is a .bmp.
    std::wstring bare = folder.Write(L"bare", "b", 1);
    CString bareCopy = lib->CopyImageFileIntoStore(lib->GetPictureId(bare.c_str()));
    EXPECT_EQ(CString(L"bmp"), bareCopy.Right(3));

    // A file that is not there: no path at all.
    EXPECT_TRUE(lib->CopyImageFileIntoStore(lib->GetPictureId(L"c:\\missing.png")).IsEmpty());
    EXPECT_TRUE(lib->CopyImageFileIntoStore(4711).IsEmpty());
    lib->GetPictureId(bareCopy);  // registered, so that it is deleted with the store
}

TEST_F(PictureStore, SaveWritesIntoTheStore)
{
    fakeraster::Install(lib->GetFunctions());
    KWRasterImagePtr image = MakeImage(4, 4);
    uint32_t jpeg = lib->SaveImage(image.get(), 1, 85);
    EXPECT_EQ(128u, jpeg);
    EXPECT_EQ("jpg", fakeraster::Get().lastFormat);
    EXPECT_EQ(85, fakeraster::Get().lastQuality);
    EXPECT_EQ(KW_SAVE_RASTER_MODE, fakeraster::Get().lastMode);
    // Another test program may share the store folder in the same second: then
    // the name takes a random suffix rather than overwriting its file.
    std::wstring path = lib->GetImagePath(jpeg).GetString();
    std::wstring stem = StoreFolder() + Prefix() + L"129";
    EXPECT_EQ(stem, path.substr(0, stem.size()));
    EXPECT_EQ(L".jpg", path.substr(path.size() - 4));
    EXPECT_TRUE(path.size() == stem.size() + 4 || path.size() == stem.size() + 12) << AnsiOf(path);

    uint32_t bmp = lib->SaveImage(image.get(), 0, 100);
    EXPECT_EQ("bmp", fakeraster::Get().lastFormat);
    EXPECT_EQ(CString(L".bmp"), lib->GetImagePath(bmp).Right(4));

    fakeraster::Get().saveResult = 0;
    EXPECT_EQ(0u, lib->SaveImage(image.get(), 1, 85));
    EXPECT_EQ(0u, lib->SaveImage(nullptr, 1, 85));
    fakeraster::Get().saveResult = 1;
    // The failed save took no id.
    EXPECT_EQ(130u, lib->SaveImage(image.get(), 1, 85));
}

TEST_F(PictureStore, EncodeForExport)
{
    fakeraster::Install(lib->GetFunctions());
    fakeraster::Get().width = 40;
    fakeraster::Get().height = 30;
    uint32_t id = lib->GetPictureId(L"c:\\my.pictures\\photo.jpeg");

    RasterExportRequest request(L"", 0, 0, 0, false);
    ASSERT_TRUE(lib->EncodeImageForExport(id, request));
    EXPECT_EQ(CString(L"jpeg"), request.format);  // the picture's own extension
    EXPECT_EQ("jpeg", fakeraster::Get().lastFormat);
    EXPECT_EQ(fakeraster::Get().encoded, std::string(reinterpret_cast<char*>(request.bytes), request.byteCount));
    EXPECT_EQ(40u, request.maxWidth);
    EXPECT_EQ(30u, request.maxHeight);
    EXPECT_EQ(7, request.imageType);

    // Rotated and reduced: the reduced read gets the maxima, the resize the same box.
    RasterExportRequest rotated(L"png", 20, 20, 90, true);
    fakeraster::Get().width = 30;
    fakeraster::Get().height = 10;
    ASSERT_TRUE(lib->EncodeImageForExport(id, rotated));
    EXPECT_EQ(20u, fakeraster::Get().lqTargetWidth);
    EXPECT_EQ(90, fakeraster::Get().lastAngle);
    EXPECT_EQ(20u, fakeraster::Get().lastResizeWidth);
    EXPECT_EQ(20u, rotated.maxWidth);
    EXPECT_EQ(20u, rotated.maxHeight);
    EXPECT_EQ(CString(L"png"), rotated.format);

    // A picture path without an extension in its file name.
    uint32_t bare = lib->GetPictureId(L"c:\\my.pictures\\photo");
    RasterExportRequest noFormat(L"", 0, 0, 0, false);
    lib->EncodeImageForExport(bare, noFormat);
    EXPECT_EQ("", fakeraster::Get().lastFormat);
}

TEST_F(PictureStore, EncodeReportsAShortWrite)
{
    fakeraster::Install(lib->GetFunctions());
    uint32_t id = lib->GetPictureId(L"c:\\photo.jpg");
    fakeraster::Get().writeDelta = -1;
    RasterExportRequest request(L"jpg", 0, 0, 0, false);
    EXPECT_FALSE(lib->EncodeImageForExport(id, request));
    EXPECT_EQ(nullptr, request.bytes);
    EXPECT_EQ(0u, request.byteCount);

    fakeraster::Get().writeDelta = 0;
    fakeraster::Get().encoded.clear();
    EXPECT_FALSE(lib->EncodeImageForExport(id, request));

    lib->GetFunctions().WriteRasterImageToMemory = nullptr;
    EXPECT_FALSE(lib->EncodeImageForExport(id, request));
}
