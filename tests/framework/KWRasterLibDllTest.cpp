// The binding over the real raster-image library, DAZiruraRuv.dll, which the
// build puts next to the test program.
#include "framework/KWPictureProblem.h"
#include "framework/KWRasterLib.h"
#include "framework/QMFormatInfo.h"
#include "framework/RasterExportRequest.h"

#include "KWRasterTestImages.h"
#include "tests/support/HugePictures.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace rastertest;

namespace {

// Same size and the same blue, green and red in every pixel; the fourth byte
// is the library's business.
bool SameColours(const KWRasterImage* a, const KWRasterImage* b)
{
    if (!a || !b || a->width != b->width || a->height != b->height)
        return false;
    for (uint32_t y = 0; y < a->height; ++y) {
        for (uint32_t x = 0; x < a->width; ++x) {
            if (std::memcmp(a->Pixels() + size_t(y) * a->stride + x * 4, b->Pixels() + size_t(y) * b->stride + x * 4, 3))
                return false;
        }
    }
    return true;
}

bool HasPattern(const KWRasterImage* image, uint32_t width, uint32_t height)
{
    KWRasterImagePtr expected = MakeImage(width, height);
    return SameColours(expected.get(), image);
}

class RasterLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        lib.reset(new CKWRasterLib());
        ASSERT_NE(nullptr, lib->GetLibraryModule()) << "DAZiruraRuv.dll is not next to the test program";
    }

    bool IsPlaceholder(const KWRasterImage* image)
    {
        KWRasterImagePtr placeholder(lib->RasterCopyPlaceholder());
        return SameImage(placeholder.get(), image);
    }

    uint32_t IdOf(const std::wstring& path) { return lib->GetPictureId(path.c_str()); }

    std::unique_ptr<CKWRasterLib> lib;
    TempFolder folder;
};

}  // namespace

TEST_F(RasterLibrary, PlaceholderIsTheProgramsBitmap)
{
    KWRasterImagePtr placeholder(lib->RasterCopyPlaceholder());
    KWRasterImagePtr resource = ResourcePlaceholder();
    EXPECT_TRUE(SameColours(resource.get(), placeholder.get()));
}

TEST_F(RasterLibrary, StartWritesTheConfigurationAndTheEndRemovesIt)
{
    TempFolder data;
    lib->StartRasterLibrary(data.Path().c_str());
    const wchar_t* names[] = {L"coder.mgk", L"colors.mgk", L"configure.mgk", L"delegates.mgk",
                              L"english.mgk", L"locale.mgk", L"log.mgk", L"magic.mgk",
                              L"type.mgk", L"type-ghostscript.mgk"};
    HMODULE module = lib->GetLibraryModule();
    for (const wchar_t* name : names) {
        HRSRC found = ::FindResourceW(module, name, L"Magick");
        ASSERT_NE(nullptr, found) << AnsiOf(name);
        const uint8_t* bytes = static_cast<const uint8_t*>(::LockResource(::LoadResource(module, found)));
        std::vector<uint8_t> expected(bytes, bytes + ::SizeofResource(module, found));
        EXPECT_EQ(expected, FileData(data.Path() + name)) << AnsiOf(name);
    }
    lib.reset();
    for (const wchar_t* name : names)
        EXPECT_FALSE(FileExists(data.Path() + name)) << AnsiOf(name);
}

TEST_F(RasterLibrary, ReadsFilesAtFullAndReducedSize)
{
    std::wstring path = folder.Write(L"pattern.bmp", MakeBitmapFile(300, 200));
    uint32_t id = IdOf(path);
    KWRasterImagePtr full(lib->LoadImage(id));
    ASSERT_NE(nullptr, full);
    EXPECT_TRUE(HasPattern(full.get(), 300, 200));

    SIZE size = {};
    lib->GetImageSize(id, size);
    EXPECT_EQ(300, size.cx);
    EXPECT_EQ(200, size.cy);

    KWRasterImagePtr reduced(lib->RasterReadFile(path.c_str(), 128, 128));
    ASSERT_NE(nullptr, reduced);
    EXPECT_FALSE(IsPlaceholder(reduced.get()));
    EXPECT_LE(reduced->width, 128u);
    EXPECT_LE(reduced->height, 128u);
    EXPECT_GT(reduced->width, reduced->height);

    KWSharedRasterImage thumbnail = lib->GetThumbnail(id);
    ASSERT_NE(nullptr, thumbnail);
    EXPECT_EQ(128u, std::max(thumbnail->width, thumbnail->height));
}

TEST_F(RasterLibrary, BrokenFilesReadAsThePlaceholder)
{
    std::vector<uint8_t> bitmap = MakeBitmapFile(40, 30);
    std::vector<uint8_t> headerOnly(bitmap.begin(), bitmap.begin() + 54);
    std::vector<uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    std::vector<uint8_t> jpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0};
    jpegStart.resize(600, 0x5A);
    std::vector<uint8_t> hugeClaim = bitmap;
    Put32(hugeClaim, 18, 100000);
    Put32(hugeClaim, 22, 100000);

    struct Case {
        const wchar_t* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {L"empty.jpg", {}},
        {L"garbage.jpg", garbage},
        {L"headeronly.bmp", headerOnly},
        {L"broken.jpg", jpegStart},
        {L"huge.bmp", hugeClaim},
    };
    for (const Case& c : cases) {
        std::wstring path = folder.Write(c.name, c.bytes);
        uint32_t id = IdOf(path);
        KWRasterImagePtr loaded(lib->LoadImage(id));
        EXPECT_TRUE(IsPlaceholder(loaded.get())) << AnsiOf(c.name);
        EXPECT_TRUE(IsPlaceholder(lib->GetThumbnail(id).get())) << AnsiOf(c.name);
        EXPECT_TRUE(IsPlaceholder(lib->GetPreviewImage(id).get())) << AnsiOf(c.name);
        RasterExportRequest request(L"jpg", 0, 0, 0, false);
        lib->EncodeImageForExport(id, request);  // must not crash; encodes the placeholder at most
    }
    EXPECT_TRUE(IsPlaceholder(KWRasterImagePtr(lib->LoadImage(IdOf(folder.Path() + L"missing.jpg"))).get()));
}

TEST_F(RasterLibrary, TruncatedFileGivesAnImageOrThePlaceholder)
{
    std::vector<uint8_t> bitmap = MakeBitmapFile(40, 30);
    bitmap.resize(54 + bitmap.size() / 2);
    uint32_t id = IdOf(folder.Write(L"half.bmp", bitmap));
    KWRasterImagePtr loaded(lib->LoadImage(id));
    ASSERT_NE(nullptr, loaded);
    EXPECT_TRUE(IsPlaceholder(loaded.get()) || (loaded->width == 40 && loaded->height == 30));
}

TEST_F(RasterLibrary, SaveAndAddRoundTrip)
{
    KWRasterImagePtr image = MakeImage(33, 17);
    uint32_t bmp = lib->SaveImage(image.get(), 0, 100);
    ASSERT_NE(0u, bmp);
    KWRasterImagePtr back(lib->LoadImage(bmp));
    EXPECT_TRUE(SameColours(image.get(), back.get()));

    uint32_t jpeg = lib->SaveImage(image.get(), 1, 90);
    ASSERT_NE(0u, jpeg);
    EXPECT_EQ(CString(L".jpg"), lib->GetImagePath(jpeg).Right(4));
    KWRasterImagePtr jpegBack(lib->LoadImage(jpeg));
    ASSERT_NE(nullptr, jpegBack);
    EXPECT_EQ(33u, jpegBack->width);
    EXPECT_EQ(17u, jpegBack->height);

    std::vector<uint8_t> file = MakeBitmapFile(9, 7);
    uint32_t added = lib->AddImageFromMemory(file.data(), uint32_t(file.size()), "bmp");
    ASSERT_NE(0u, added);
    KWRasterImagePtr addedBack(lib->LoadImage(added));
    EXPECT_TRUE(HasPattern(addedBack.get(), 9, 7));
    KWRasterImagePtr fromMemory(lib->RasterReadFromMemory(file.data(), uint32_t(file.size()), "bmp", 0, 0));
    EXPECT_TRUE(HasPattern(fromMemory.get(), 9, 7));
}

TEST_F(RasterLibrary, EncodeForExport)
{
    uint32_t id = IdOf(folder.Write(L"photo.bmp", MakeBitmapFile(64, 48)));
    RasterExportRequest asBitmap(L"", 0, 0, 0, false);
    ASSERT_TRUE(lib->EncodeImageForExport(id, asBitmap));
    EXPECT_EQ(CString(L"bmp"), asBitmap.format);
    KWRasterImagePtr decoded(lib->RasterReadFromMemory(asBitmap.bytes, asBitmap.byteCount, "bmp", 0, 0));
    EXPECT_TRUE(HasPattern(decoded.get(), 64, 48));
    EXPECT_EQ(64u, asBitmap.maxWidth);
    EXPECT_EQ(48u, asBitmap.maxHeight);

    RasterExportRequest small(L"jpg", 32, 32, 90, true);
    ASSERT_TRUE(lib->EncodeImageForExport(id, small));
    ASSERT_GT(small.byteCount, 2u);
    EXPECT_EQ(0xFF, small.bytes[0]);
    EXPECT_EQ(0xD8, small.bytes[1]);
    KWRasterImagePtr jpeg(lib->RasterReadFromMemory(small.bytes, small.byteCount, "jpg", 0, 0));
    ASSERT_NE(nullptr, jpeg);
    // Read at most 32 x 32 (32 x 24), turned (24 x 32): it already fits.
    EXPECT_EQ(24u, jpeg->width);
    EXPECT_EQ(32u, jpeg->height);
    EXPECT_EQ(24u, small.maxWidth);
    EXPECT_EQ(32u, small.maxHeight);
    EXPECT_EQ(lib->RasterReadTypeFromMemory(small.bytes, small.byteCount, "jpg"), small.imageType);
}

TEST_F(RasterLibrary, EncodingIntoAFileWritesTheBytesOfTheEncodingIntoMemory)
{
    const uint32_t id = IdOf(folder.Write(L"source.bmp", MakeBitmapFile(64, 48)));
    const struct {
        const wchar_t* format;
        uint32_t box;
        int32_t rotation;
        bool grey;
    } cases[] = {{L"jpg", 0, 0, false}, {L"png", 0, 0, false}, {L"jpg", 32, 90, true}, {L"", 0, 270, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format, c.format + std::wcslen(c.format)) + " " + std::to_string(c.rotation));
        RasterExportRequest inMemory(c.format, c.box, c.box, c.rotation, c.grey);
        RasterExportRequest inFile(c.format, c.box, c.box, c.rotation, c.grey);
        const std::wstring target = folder.Path() + L"encoded.out";
        ASSERT_TRUE(lib->EncodeImageForExport(id, inMemory));
        ASSERT_TRUE(lib->EncodeImageFileForExport(id, inFile, target.c_str()));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(inMemory.bytes), inMemory.byteCount),
                  ReadFileBytes(target));
        EXPECT_EQ(nullptr, inFile.bytes);
        EXPECT_EQ(inMemory.maxWidth, inFile.maxWidth);
        EXPECT_EQ(inMemory.maxHeight, inFile.maxHeight);
        EXPECT_EQ(inMemory.format, inFile.format);
    }
    // Nothing is written where the file cannot be made.
    RasterExportRequest nowhere(L"jpg", 0, 0, 0, false);
    EXPECT_FALSE(lib->EncodeImageFileForExport(id, nowhere, (folder.Path() + L"missing\\a.jpg").c_str()));
}

TEST_F(RasterLibrary, FormatListCopiesIntoTheProgram)
{
    auto create = reinterpret_cast<KWCreateFormatListFn>(
        reinterpret_cast<void*>(::GetProcAddress(lib->GetLibraryModule(), "CreateFormatList")));
    auto dispose = reinterpret_cast<KWDisposeFormatListFn>(
        reinterpret_cast<void*>(::GetProcAddress(lib->GetLibraryModule(), "DisposeFormatList")));
    ASSERT_NE(nullptr, create);
    ASSERT_NE(nullptr, dispose);
    CQMFormatInfo* list = create();
    ASSERT_NE(nullptr, list);
    std::unique_ptr<CQMFormatInfo> copy(new CQMFormatInfo(*list));
    dispose(list);

    bool jpg = false;
    int formats = 0;
    for (const CQMFormatInfo* format = copy.get(); format; format = format->GetNext()) {
        ++formats;
        EXPECT_NE(nullptr, format->GetName());
        for (const CQMExtensionInfo* ext = format->GetExtensions(); ext; ext = ext->GetNext())
            jpg = jpg || (ext->GetText() && std::string(ext->GetText()) == "jpg");
    }
    EXPECT_GT(formats, 1);
    EXPECT_TRUE(jpg);
}

TEST_F(RasterLibrary, CheckingManyPicturesOnThreadsGivesEachPictureItsOwnAnswer)
{
    // Sound, cut short, empty and foreign files and BigTIFFs, each several
    // times over, all checked at once: each answer is the one its file gets alone.
    const std::vector<uint8_t> bitmap = MakeBitmapFile(40, 30);
    const std::vector<uint8_t> cut(bitmap.begin(), bitmap.begin() + 80);
    const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    const std::string big = testpictures::BigTiff(8, 6, std::string(8 * 6 * 3, '\x40'));
    const std::vector<uint8_t> bigTiff(big.begin(), big.end());
    const std::vector<uint8_t>* kinds[] = {&bitmap, &cut, &text, nullptr, &bigTiff};
    std::vector<uint32_t> ids;
    std::vector<KWPictureState> alone;
    for (int i = 0; i < 24; ++i) {
        const std::vector<uint8_t>* bytes = kinds[i % 5];
        const std::wstring path = folder.Write((L"p" + std::to_wstring(i) + L".bmp").c_str(),
                                               bytes ? *bytes : std::vector<uint8_t>());
        ids.push_back(IdOf(path));
        alone.push_back(lib->CheckPictureFile(path.c_str(), false));
    }
    ids.push_back(ids.front());  // a picture used twice is checked once
    ids.push_back(0);
    lib->CheckPictures(ids, false);
    for (size_t i = 0; i < alone.size(); ++i)
        EXPECT_EQ(alone[i], lib->GetPictureState(ids[i], false)) << i;
    EXPECT_EQ(KWPictureState::Sound, alone[0]);
    EXPECT_EQ(KWPictureState::Damaged, alone[1]);
    EXPECT_EQ(KWPictureState::NotPicture, alone[2]);
    EXPECT_EQ(KWPictureState::Empty, alone[3]);
    EXPECT_EQ(KWPictureState::UnreadKind, alone[4]);
}

// A GIF of 16000 x 16000 pixels in about a hundred kilobytes: the check says
// it is too large from its header, its size is known, every read gives the
// placeholder, and the line that tells the user names the file and its size.
TEST_F(RasterLibrary, APictureOfTooManyPixelsIsMeasuredAndShownAsThePlaceholder)
{
    const std::string gif = testpictures::HugeOneColourGif(16000, 16000, 90, 90, 200);
    const std::wstring path = folder.Write(L"huge.gif", gif.data(), gif.size());
    const uint32_t id = IdOf(path);
    EXPECT_EQ(KWPictureState::TooLarge, lib->CheckPictureFile(path.c_str(), true));
    EXPECT_EQ(KWPictureState::TooLarge, lib->GetPictureState(id));
    SIZE size = {0, 0};
    ASSERT_TRUE(lib->GetImageSize(id, size));
    EXPECT_EQ(16000, size.cx);
    EXPECT_EQ(16000, size.cy);
    KWRasterImagePtr full(lib->LoadImage(id));
    EXPECT_TRUE(IsPlaceholder(full.get()));
    EXPECT_TRUE(IsPlaceholder(lib->GetThumbnail(id).get()));
    EXPECT_TRUE(IsPlaceholder(lib->GetPreviewImage(id).get()));
    const SIZE shown = lib->GetShownSize(id);
    EXPECT_EQ(LONG(full->width), shown.cx);
    EXPECT_EQ(std::wstring(L"The picture file ") + path + L" is too large to show: 16000 x 16000 pixels.",
              std::wstring(KWPictureProblemLine(KWPictureState::TooLarge, path.c_str(), size)));
}

// A file changed since its check (cut short, emptied, gone) is
// checked again when the pictures are checked, and its problem is told anew;
// an untouched file keeps its answer and is not told twice.
TEST_F(RasterLibrary, APictureWhoseFileChangedSinceItsCheckIsCheckedAgain)
{
    const std::vector<uint8_t> bitmap = MakeBitmapFile(40, 30);
    enum Change { kNone, kCut, kEmptied, kDeleted };
    const struct {
        const wchar_t* name;
        Change change;
        KWPictureState after;
    } cases[] = {
        {L"untouched.bmp", kNone, KWPictureState::Sound},
        {L"cut.bmp", kCut, KWPictureState::Damaged},
        {L"emptied.bmp", kEmptied, KWPictureState::Empty},
        {L"deleted.bmp", kDeleted, KWPictureState::Missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        const std::wstring path = folder.Write(c.name, bitmap);
        const uint32_t id = IdOf(path);
        EXPECT_FALSE(lib->ForgetIfChanged(id)) << "never checked: nothing to forget";
        lib->CheckPictures({id}, false);
        ASSERT_EQ(KWPictureState::Sound, lib->GetPictureState(id, false));
        EXPECT_TRUE(lib->TakeReport(id));
        switch (c.change) {
        case kNone:
            break;
        case kCut:
            TempFolder::WriteAt(path, bitmap.data(), 80);
            break;
        case kEmptied:
            TempFolder::WriteAt(path, bitmap.data(), 0);
            break;
        case kDeleted:
            ASSERT_TRUE(::DeleteFileW(path.c_str()));
            break;
        }
        // The cached answer stands until the pictures are checked again.
        EXPECT_EQ(KWPictureState::Sound, lib->GetPictureState(id, false));
        lib->CheckPictures({id, id}, false);
        EXPECT_EQ(c.after, lib->GetPictureState(id, false));
        EXPECT_EQ(c.change != kNone, lib->TakeReport(id)) << "told anew only when changed";
        EXPECT_FALSE(lib->ForgetIfChanged(id)) << "the new answer is of the file as it is";
    }
}
