#include "framework/KWImageCache.h"
#include "framework/KWRasterLib.h"

#include "KWFakeRasterLibrary.h"
#include "KWRasterTestImages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace rastertest;

namespace {

using Ids = std::vector<uint32_t>;

// Caches over a binding without its library: every image read is a fresh
// copy of the placeholder, so entries can be told apart by their addresses.
class ImageCache : public ::testing::Test {
protected:
    CKWRasterLib lib{kMissingLibrary};
};

}  // namespace

TEST_F(ImageCache, AHitMovesOnePlaceTowardsTheFrontAReloadKeepsOneEntry)
{
    CKWImageCache cache(lib, 10, 0, 0);
    ASSERT_NE(nullptr, cache.Load(L"c", 3));
    cache.Load(L"b", 2);
    KWSharedRasterImage a = cache.Load(L"a", 1);
    EXPECT_EQ(a, cache.Load(L"a", 1));
    ASSERT_EQ((Ids{1, 2, 3}), cache.GetIds());

    KWSharedRasterImage c = cache.Find(3);
    EXPECT_EQ((Ids{1, 3, 2}), cache.GetIds());
    EXPECT_EQ(c, cache.Find(3));  // the image moves with its id
    EXPECT_EQ((Ids{3, 1, 2}), cache.GetIds());
    EXPECT_EQ(c, cache.Find(3));  // the front entry stays
    EXPECT_EQ((Ids{3, 1, 2}), cache.GetIds());
    EXPECT_EQ(nullptr, cache.Find(9));
    EXPECT_EQ((Ids{3, 1, 2}), cache.GetIds());
}

TEST_F(ImageCache, LoadingIntoAFullCacheEvictsTheLastButNotWhatWasHandedOut)
{
    CKWImageCache cache(lib, 2, 0, 0);
    cache.Load(L"b", 2);
    KWSharedRasterImage held = cache.Load(L"a", 1);
    KWRasterImagePtr expected(KWCopyRasterImage(held.get()));
    std::weak_ptr<const KWRasterImage> b = cache.Find(2);
    cache.Find(1);  // back to [A, B]
    ASSERT_EQ((Ids{1, 2}), cache.GetIds());
    ASSERT_FALSE(b.expired());

    cache.Load(L"n", 7);
    EXPECT_EQ((Ids{7, 1}), cache.GetIds());
    EXPECT_TRUE(b.expired()) << "nobody held it: B's image is freed";
    cache.Clear();
    EXPECT_EQ(0u, cache.GetCount());
    EXPECT_TRUE(SameImage(expected.get(), held.get())) << "an image handed out survives";
}

TEST_F(ImageCache, SetCapacityDropsFromTheBack)
{
    CKWImageCache cache(lib, 5, 0, 0);
    for (uint32_t id = 5; id >= 1; --id)
        cache.Load(L"x", id);
    ASSERT_EQ((Ids{1, 2, 3, 4, 5}), cache.GetIds());
    cache.SetCapacity(3);
    EXPECT_EQ((Ids{1, 2, 3}), cache.GetIds());
    cache.Load(L"x", 9);
    EXPECT_EQ((Ids{9, 1, 2}), cache.GetIds());

    // A cache of no entries keeps nothing but still answers the image.
    cache.SetCapacity(0);
    EXPECT_EQ(0u, cache.GetCount());
    EXPECT_NE(nullptr, cache.Load(L"x", 10));
    EXPECT_EQ(0u, cache.GetCount());
}

TEST_F(ImageCache, CacheMemoryGivesCapacities)
{
    struct Case {
        int64_t kilobytes;
        uint32_t thumbnails;
        uint32_t previews;
    } cases[] = {
        {0, 1, 1},
        {1024, 13, 1},
        {32768, 410, 2},
        {65536, 820, 4},
        {-5, 1, 1},                       // a broken preference is no cache at all, not a huge one
        {6000000, 26209, 103},            // kb x 819 wraps in 32 bits here; clamped to 2 GB
        {INT64_C(0x7FFFFFFFFFFFFFFF), 26209, 103},
    };
    for (const Case& c : cases) {
        lib.SetCacheMemory(c.kilobytes);
        EXPECT_EQ(c.thumbnails, lib.GetThumbnailCache().GetCapacity()) << c.kilobytes;
        EXPECT_EQ(c.previews, lib.GetPreviewCache().GetCapacity()) << c.kilobytes;
    }
}

TEST_F(ImageCache, FindThumbnail)
{
    uint32_t a = lib.GetPictureId(L"c:\\a.jpg");
    uint32_t b = lib.GetPictureId(L"c:\\b.jpg");
    EXPECT_TRUE(lib.FindThumbnail(0));
    EXPECT_EQ(0u, lib.GetThumbnailCache().GetCount());  // id 0 touches nothing
    EXPECT_FALSE(lib.FindThumbnail(a));
    lib.GetThumbnail(a);
    lib.GetThumbnail(b);
    ASSERT_EQ((Ids{b, a}), lib.GetThumbnailCache().GetIds());
    EXPECT_TRUE(lib.FindThumbnail(a));
    EXPECT_EQ((Ids{a, b}), lib.GetThumbnailCache().GetIds());
    // The preview cache is separate.
    EXPECT_EQ(0u, lib.GetPreviewCache().GetCount());
    lib.GetPreviewImage(a);
    EXPECT_EQ((Ids{a}), lib.GetPreviewCache().GetIds());
}

TEST_F(ImageCache, ImagesLargerThanTheTargetAreFitted)
{
    fakeraster::Reset();
    KWFreeRasterImage(lib.RasterCopyPlaceholder());  // decoded before the fake is in place
    fakeraster::Install(lib.GetFunctions());
    fakeraster::Get().width = 500;  // a reduced read that is still too large
    fakeraster::Get().height = 250;
    KWSharedRasterImage image = lib.GetThumbnail(lib.GetPictureId(L"c:\\wide.jpg"));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(128u, image->width);
    EXPECT_EQ(64u, image->height);

    fakeraster::Get().width = 10;
    fakeraster::Get().height = 3000;
    image = lib.GetPreviewImage(lib.GetPictureId(L"c:\\tall.jpg"));
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3u, image->width);
    EXPECT_EQ(1024u, image->height);

    // When it cannot be scaled, the placeholder takes its place.
    lib.GetFunctions().ResizeRasterImage = nullptr;
    image = lib.GetThumbnail(lib.GetPictureId(L"c:\\big.jpg"));
    KWRasterImagePtr placeholder = ResourcePlaceholder();
    EXPECT_TRUE(SameImage(placeholder.get(), image.get()));
}

TEST_F(ImageCache, TwoThreadsShareTheCaches)
{
    lib.SetCacheMemory(200);  // 3 thumbnails: constant eviction
    std::vector<uint32_t> ids;
    for (int i = 0; i < 12; ++i)
        ids.push_back(lib.GetPictureId((L"c:\\p" + std::to_wstring(i)).c_str()));
    KWRasterImagePtr placeholder = ResourcePlaceholder();
    std::atomic<int> bad{0};
    auto work = [&](int seed) {
        for (int n = 0; n < 400; ++n) {
            uint32_t id = ids[size_t((n * 7 + seed) % ids.size())];
            KWSharedRasterImage image = lib.GetThumbnail(id);
            lib.FindThumbnail(ids[size_t((n + seed) % ids.size())]);
            // The image stays readable while the other thread evicts it.
            if (!SameImage(placeholder.get(), image.get()))
                ++bad;
        }
    };
    std::thread other(work, 3);
    work(0);
    other.join();
    EXPECT_EQ(0, bad.load());
    EXPECT_LE(lib.GetThumbnailCache().GetCount(), lib.GetThumbnailCache().GetCapacity());
}
