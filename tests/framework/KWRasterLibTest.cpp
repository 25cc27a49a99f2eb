// The binding without its library, and with a fake library that answers
// what the tests ask of it.
#include "framework/KWRasterLib.h"

#include "KWFakeRasterLibrary.h"
#include "KWRasterTestImages.h"
#include "tests/platform/classlib/TestSupport.h"

#include "platform/classlib/FrameWnd.h"

#include <gtest/gtest.h>

using namespace rastertest;

namespace {

class RasterLibWithoutLibrary : public ::testing::Test {
protected:
    CKWRasterLib lib{kMissingLibrary};
};

// A binding whose function table holds the fake library.
class RasterLibWithFake : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeraster::Reset();
        // Decoded before the fake is in place, so the placeholder is the real one.
        KWFreeRasterImage(lib.RasterCopyPlaceholder());
        fakeraster::Install(lib.GetFunctions());
    }

    bool IsPlaceholder(const KWRasterImage* image)
    {
        KWRasterImagePtr placeholder = ResourcePlaceholder();
        return SameImage(placeholder.get(), image);
    }

    CKWRasterLib lib{kMissingLibrary};
};

}  // namespace

TEST_F(RasterLibWithoutLibrary, EveryReadGivesThePlaceholder)
{
    KWRasterImagePtr expected = ResourcePlaceholder();
    ASSERT_NE(nullptr, expected);
    EXPECT_EQ(64u, expected->width);
    EXPECT_EQ(64u, expected->height);

    TempFolder folder;
    std::wstring image = folder.Write(L"a.bmp", MakeBitmapFile(4, 4));
    const wchar_t* paths[] = {L"", image.c_str(), L"c:\\no\\such\\file.jpg"};
    for (const wchar_t* path : paths) {
        KWRasterImagePtr full(lib.RasterReadFile(path, 0, 0));
        KWRasterImagePtr reduced(lib.RasterReadFile(path, 128, 128));
        EXPECT_TRUE(SameImage(expected.get(), full.get())) << AnsiOf(path);
        EXPECT_TRUE(SameImage(expected.get(), reduced.get())) << AnsiOf(path);
    }
    uint32_t id = lib.GetPictureId(CString(image.c_str()));
    KWRasterImagePtr loaded(lib.LoadImage(id));
    EXPECT_TRUE(SameImage(expected.get(), loaded.get()));
    EXPECT_TRUE(SameImage(expected.get(), lib.GetThumbnail(id).get()));
    EXPECT_TRUE(SameImage(expected.get(), lib.GetPreviewImage(id).get()));
}

TEST_F(RasterLibWithoutLibrary, PlaceholderCopiesAreFresh)
{
    KWRasterImagePtr first(lib.RasterCopyPlaceholder());
    KWRasterImagePtr second(lib.RasterCopyPlaceholder());
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first.get(), second.get());
    first->Pixels()[0] ^= 0xFF;  // a caller's change does not reach the next copy
    KWRasterImagePtr third(lib.RasterCopyPlaceholder());
    EXPECT_TRUE(SameImage(second.get(), third.get()));
}

TEST_F(RasterLibWithoutLibrary, OtherWrappersAnswerNothing)
{
    KWRasterImagePtr image = MakeImage(4, 3);
    uint8_t bytes[16] = {1};
    EXPECT_EQ(nullptr, lib.RasterReadFromMemory(bytes, sizeof(bytes), "bmp", 0, 0));
    EXPECT_EQ(nullptr, lib.RasterRotate(image.get(), 90));
    EXPECT_EQ(nullptr, lib.RasterResize(image.get(), 2, 2));
    EXPECT_EQ(0, lib.RasterReadTypeFromMemory(bytes, sizeof(bytes), "jpg"));
    EXPECT_EQ(0u, lib.SaveImage(image.get(), 1, 90));
    SIZE size = {5, 5};
    EXPECT_FALSE(lib.GetImageSize(lib.GetPictureId(L"c:\\x.jpg"), size));
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(0, size.cy);
}

TEST_F(RasterLibWithoutLibrary, StartWritesNothingWithoutTheLibrary)
{
    TempFolder folder;
    lib.StartRasterLibrary(folder.Path().c_str());
    EXPECT_FALSE(FileExists(folder.Path() + L"configure.mgk"));
    EXPECT_EQ(CString(folder.Path().c_str()), lib.GetDataFolder());
}

TEST(RasterLibPlaceholder, WithoutTheResourceReadsGiveNull)
{
    // A module without the program's resources.
    CKWRasterLib lib(kMissingLibrary, ::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(nullptr, lib.RasterCopyPlaceholder());
    EXPECT_EQ(nullptr, lib.RasterReadFile(L"", 0, 0));
    EXPECT_EQ(nullptr, lib.RasterReadFile(L"c:\\no\\such\\file.jpg", 0, 0));
    EXPECT_EQ(nullptr, lib.LoadImage(lib.GetPictureId(L"c:\\no\\such\\file.jpg")));
    // A cache keeps nothing when nothing could be read.
    EXPECT_EQ(nullptr, lib.GetThumbnail(lib.GetPictureId(L"c:\\other.jpg")));
    EXPECT_EQ(0u, lib.GetThumbnailCache().GetCount());
}

TEST_F(RasterLibWithFake, AReadShowsTheWaitCursorOnTheActiveFrameOnly)
{
    // Without an application there is no active frame.
    KWFreeRasterImage(lib.RasterReadFile(L"c:\\a.jpg", 0, 0));
    EXPECT_EQ(0, fakeraster::Get().waitCursorInRead);

    classlib_test::CTestApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, L"Reading"));
    app.m_pMainWnd = frame;
    KWFreeRasterImage(lib.RasterReadFile(L"c:\\a.jpg", 0, 0));
    EXPECT_EQ(1, fakeraster::Get().waitCursorInRead);
    EXPECT_EQ(0, AfxGetThreadState()->m_nWaitCursorCount);
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
}

TEST_F(RasterLibWithFake, FullAndReducedReadsUseTheirExports)
{
    KWRasterImagePtr full(lib.RasterReadFile(L"c:\\a.jpg", 0, 0));
    ASSERT_NE(nullptr, full);
    EXPECT_EQ(3u, full->width);
    EXPECT_EQ(2u, full->height);
    EXPECT_EQ(0u, fakeraster::Get().lqTargetWidth);
    EXPECT_EQ(2, fakeraster::Get().reads);  // size, then fill

    KWRasterImagePtr reduced(lib.RasterReadFile(L"c:\\a.jpg", 128, 0));
    ASSERT_NE(nullptr, reduced);
    EXPECT_FALSE(IsPlaceholder(reduced.get()));
    // Both calls get the caller's targets, whatever the first one wrote.
    EXPECT_EQ(128u, fakeraster::Get().lqTargetWidth);
    EXPECT_EQ(0u, fakeraster::Get().lqTargetHeight);
}

TEST_F(RasterLibWithFake, ReadsThatDisagreeGiveThePlaceholder)
{
    struct Case {
        int32_t fillDelta;
        uint32_t claimedHeight;
        uint32_t claimedStride;
        const char* what;
    } cases[] = {
        {-1, 0, 0, "fill call answers a smaller size"},
        {+1, 0, 0, "fill call answers a larger size"},
        {0, 4, 0, "header claims more rows than the block holds"},
        {0, 0x10000, 0x10000, "header whose size wraps in 32 bits"},
        {0, 0, 4, "rows narrower than the pixels"},
    };
    for (const Case& c : cases) {
        fakeraster::Reset();
        fakeraster::Get().fillDelta = c.fillDelta;
        fakeraster::Get().claimedHeight = c.claimedHeight;
        fakeraster::Get().claimedStride = c.claimedStride;
        KWRasterImagePtr full(lib.RasterReadFile(L"c:\\a.jpg", 0, 0));
        KWRasterImagePtr reduced(lib.RasterReadFile(L"c:\\a.jpg", 64, 64));
        EXPECT_TRUE(IsPlaceholder(full.get())) << c.what;
        EXPECT_TRUE(IsPlaceholder(reduced.get())) << c.what;
        uint8_t bytes[4] = {1, 2, 3, 4};
        EXPECT_EQ(nullptr, lib.RasterReadFromMemory(bytes, 4, "bmp", 0, 0)) << c.what;
        KWRasterImagePtr image = MakeImage(3, 2);
        EXPECT_EQ(nullptr, lib.RasterRotate(image.get(), 90)) << c.what;
        EXPECT_EQ(nullptr, lib.RasterResize(image.get(), 2, 2)) << c.what;
    }
}

TEST_F(RasterLibWithFake, ReadingFromMemory)
{
    uint8_t bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(nullptr, lib.RasterReadFromMemory(nullptr, 0, "bmp", 0, 0));
    EXPECT_EQ(nullptr, lib.RasterReadFromMemory(bytes, 4, "bmp", 10, 0));  // only at full size
    EXPECT_EQ(nullptr, lib.RasterReadFromMemory(bytes, 4, "bmp", 0, 10));
    KWRasterImagePtr image(lib.RasterReadFromMemory(bytes, 4, "dib", 0, 0));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3u, image->width);
    EXPECT_EQ("dib", fakeraster::Get().lastFormat);
    EXPECT_EQ(7, lib.RasterReadTypeFromMemory(bytes, 4, "jpg"));
}

TEST_F(RasterLibWithFake, RotateAndResizePassTheirArguments)
{
    KWRasterImagePtr image = MakeImage(3, 2);
    KWRasterImagePtr turned(lib.RasterRotate(image.get(), 90.9));
    ASSERT_NE(nullptr, turned);
    EXPECT_EQ(90, fakeraster::Get().lastAngle);  // truncated
    EXPECT_EQ(2u, turned->width);
    EXPECT_EQ(3u, turned->height);
    EXPECT_EQ(nullptr, lib.RasterRotate(image.get(), 1e300));
    EXPECT_EQ(nullptr, lib.RasterRotate(nullptr, 90));

    // A source with padded rows is rotated from a packed copy.
    KWRasterImagePtr padded = MakeImage(3, 2, 20);
    KWRasterImagePtr turnedPadded(lib.RasterRotate(padded.get(), -90.5));
    ASSERT_NE(nullptr, turnedPadded);
    EXPECT_EQ(-90, fakeraster::Get().lastAngle);

    KWRasterImagePtr resized(lib.RasterResize(image.get(), 7, 5));
    ASSERT_NE(nullptr, resized);
    EXPECT_EQ(7u, resized->width);
    EXPECT_EQ(5u, resized->height);
    EXPECT_EQ(KW_RESIZE_RASTER_MODE, fakeraster::Get().lastMode);
}
