// The program reads pictures on its user-interface thread (a single-threaded COM
// apartment) and on a picture-loading thread at the same time.
#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <thread>

using namespace rastertest;

TEST(RasterConcurrency, ThreadsReadAtTheSameTime)
{
    const Picture picture = Gradient(320, 240);
    const std::string jpg = TempPath("shared.jpg");
    const std::string png = TempPath("shared.png");
    WriteBytes(jpg, EncodeJpeg(picture, 92));
    WriteBytes(png, EncodeWithWic(picture, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR));
    const std::vector<uint8_t> jpgThumb = ReadFileReduced(jpg, 128, 128);
    const std::vector<uint8_t> pngThumb = ReadFileReduced(png, 128, 128);
    ASSERT_FALSE(jpgThumb.empty());
    ASSERT_FALSE(pngThumb.empty());

    std::atomic<int> wrong{0};
    auto reader = [&](DWORD apartment) {
        const bool com = apartment != DWORD(-1) && SUCCEEDED(::CoInitializeEx(nullptr, apartment));
        for (int i = 0; i < 12; ++i) {
            if (ReadFileReduced(jpg, 128, 128) != jpgThumb)
                ++wrong;
            if (ReadFileReduced(png, 128, 128) != pngThumb)
                ++wrong;
            const std::vector<uint8_t> encoded = WriteMemory(Picture(8, 8, Pixel{1, 2, 3, 255}).Record(), "png");
            if (encoded.empty())
                ++wrong;
        }
        if (com)
            ::CoUninitialize();
    };
    std::thread single(reader, DWORD(COINIT_APARTMENTTHREADED));
    std::thread multi(reader, DWORD(COINIT_MULTITHREADED));
    std::thread bare(reader, DWORD(-1));
    single.join();
    multi.join();
    bare.join();
    EXPECT_EQ(0, wrong.load());
}
