// A seeded mutation run over small JPEG, PNG, GIF, BMP, TIFF and ICO files: every
// read and every check answers within bounds whatever the bytes are. The library
// never asks for more than 64 MB for an input under a megabyte (nor does the
// process grow by that much), no case takes 2 s, the size call and the fill call
// agree, the header's size is the size read, the pixels do not depend on what the
// memory held before, and a file the check calls sound reads (no picture is lost
// without a word); a TIFF's check, thumbnail and full read agree, as libtiff
// reads all three, and a bitmap's check and full read, which one rule of
// where its pixels start serves. OT_FUZZ_CASES (cases of each kind of file) and OT_FUZZ_SEED
// change the run.
#include "RasterTestSupport.h"

#include "tests/support/DamagedPictures.h"
#include "tests/support/ProcessorSeconds.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

#include <psapi.h>
#include <tiffio.h>
#include <zlib.h>

using namespace rastertest;

namespace {

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

// A small icon of one 8-bit entry and one 32-bit entry.
std::vector<uint8_t> SmallIcon()
{
    const uint32_t sizes[2] = {40 + 1024 + 16 * 16 + 64, 40 + 24 * 24 * 4 + 4 * 24};
    std::vector<uint8_t> icon(6 + 32 + sizes[0] + sizes[1], 0);
    auto put = [&icon](size_t at, uint32_t value, int bytes) { PutLe(icon, at, value, bytes); };
    put(2, 1, 2);
    put(4, 2, 2);
    uint32_t offset = 6 + 32;
    const uint32_t sides[2] = {16, 24}, bits[2] = {8, 32};
    for (int e = 0; e < 2; ++e) {
        icon[6 + e * 16] = icon[7 + e * 16] = uint8_t(sides[e]);
        put(6 + e * 16 + 4, 1, 2);
        put(6 + e * 16 + 6, bits[e], 2);
        put(6 + e * 16 + 8, sizes[e], 4);
        put(6 + e * 16 + 12, offset, 4);
        put(offset, 40, 4);
        put(offset + 4, sides[e], 4);
        put(offset + 8, sides[e] * 2, 4);
        put(offset + 12, 1, 2);
        put(offset + 14, bits[e], 2);
        for (uint32_t i = 40; i < sizes[e]; ++i)
            icon[offset + i] = uint8_t(i * 7 + e);
        offset += sizes[e];
    }
    return icon;
}

// Bytes flipped or set to edge values, 16- and 32-bit fields overwritten, runs cut,
// repeated or removed, the file cut short.
std::vector<uint8_t> Mutate(std::vector<uint8_t> bytes, std::mt19937& random)
{
    static const uint32_t kEdges[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0x10000, 16000};
    const int steps = 1 + int(random() % 4);
    for (int i = 0; i < steps && !bytes.empty(); ++i) {
        const size_t at = random() % bytes.size();
        switch (random() % 7) {
        case 0:
            bytes[at] ^= uint8_t(1u << (random() % 8));
            break;
        case 1:
            bytes[at] = uint8_t(kEdges[random() % 10]);
            break;
        case 2:
        case 3: {
            const uint32_t value = kEdges[random() % 10];
            const size_t width = random() % 2 ? 2 : 4;
            for (size_t k = 0; k < width && at + k < bytes.size(); ++k)
                bytes[at + k] = uint8_t(random() % 2 ? value >> (8 * k) : value >> (8 * (width - 1 - k)));
            break;
        }
        case 4:
            bytes.erase(bytes.begin() + std::ptrdiff_t(at),
                        bytes.begin() + std::ptrdiff_t(std::min(bytes.size(), at + random() % 64)));
            break;
        case 5: {
            const size_t length = std::min<size_t>(random() % 256, bytes.size() - at);
            const std::vector<uint8_t> run(bytes.begin() + std::ptrdiff_t(at),
                                           bytes.begin() + std::ptrdiff_t(at + length));
            bytes.insert(bytes.begin() + std::ptrdiff_t(at), run.begin(), run.end());
            break;
        }
        default:
            bytes.resize(at);
            break;
        }
    }
    return bytes;
}

std::vector<uint8_t> AsBytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A GIF of two frames, the second a copy of the first.
std::string TwoFrameGif()
{
    const std::string one = testpictures::GreyGif(24, 20);
    const std::string body = one.substr(0, one.size() - 1);
    return body + body.substr(body.find('\x2C')) + ";";
}

size_t PeakPrivateBytes(size_t* current = nullptr)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    if (current)
        *current = counters.PagefileUsage;
    return counters.PeakPagefileUsage;
}

uint32_t Word(const std::vector<uint8_t>& record, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, &record[at], 4);
    return value;
}

}  // namespace

TEST(RasterMutation, EveryReadStaysWithinBoundsAndAgreesWithItself)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const Picture picture = Gradient(48, 40);
    const std::vector<uint8_t> jpeg = EncodeJpeg(picture, 80);
    Picture alpha = Gradient(20, 20);
    for (uint32_t y = 0; y < 20; ++y)
        for (uint32_t x = 0; x < 20; ++x)
            alpha.Set(x, y, Pixel{uint8_t(x * 10), 90, uint8_t(y * 10), uint8_t(x * y)});
    const std::vector<std::vector<uint8_t>> seeds = {
        jpeg,
        EncodeJpeg(picture, 80, true),
        EncodeWithWic(picture, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR),
        EncodeWithWic(alpha, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA),
        EncodeWithWic(picture, GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed),
        EncodeWithWic(picture, GUID_ContainerFormatBmp, GUID_WICPixelFormat24bppBGR),
        EncodeWithWic(Gradient(12, 10), GUID_ContainerFormatTiff, GUID_WICPixelFormat24bppBGR),
        SmallIcon(),
        AsBytes(testpictures::PalettePng(40, 30, 30)),
        AsBytes(testpictures::GreyGif(24, 20)),
        AsBytes(testpictures::TiffFile(8, 6, std::string(8 * 6 * 3, '\x50'), 1, true)),
        AsBytes(testpictures::PngFile(12, 8, 16, true, std::string(12 * 8 * 8, '\x61'))),
        AsBytes(TwoFrameGif()),
        EncodeWithWic(alpha, GUID_ContainerFormatTiff, GUID_WICPixelFormat32bppBGRA),
        AsBytes(testpictures::StripTiff(48, 40, 3, 7, 6, std::string(jpeg.begin(), jpeg.end()), uint32_t(jpeg.size()))),
        AsBytes(testpictures::StripTiff(64, 4, 1, 32773, 1, std::string("\x81\x20\x81\x40", 4), 4)),
        AsBytes(testpictures::StripTiff(12, 10, 3, 1, 2, std::string(16 * 16 * 3, '\x40'), 16 * 16 * 3, 0, 16)),
        LibtiffRgb(24, 20, {true, 0, 8}, [&picture](uint32_t x, uint32_t y) { return picture.At(x, y); }),
        LibtiffRgb(40, 36, {true, 16}, [&picture](uint32_t x, uint32_t y) { return picture.At(x, y); }),
    };
    for (const auto& seed : seeds)
        ASSERT_FALSE(ReadMemory(seed, "").empty()) << "every seed reads";

    const int cases = FromEnvironment("OT_FUZZ_CASES", 200) * int(seeds.size());
    const unsigned seed = unsigned(FromEnvironment("OT_FUZZ_SEED", 20240612));
    std::mt19937 random(seed);
    const auto& lib = Lib();
    const std::string path = TempPath("mutated");
    const std::wstring widePath(path.begin(), path.end());
    int read = 0, sound = 0, tiffs = 0, tiffsRead = 0;
    size_t largest = 0;
    DWORD slowest = 0;
    size_t startUsage = 0;
    const size_t startPeak = PeakPrivateBytes(&startUsage);
    for (int n = 0; n < cases; ++n) {
        const std::vector<uint8_t> bytes = Mutate(seeds[size_t(n) % seeds.size()], random);
        const std::string where = "case " + std::to_string(n) + " of seed " + std::to_string(seed);
        WriteBytes(path, bytes);
        AllocationWatch::Reset();
        const DWORD start = ::GetTickCount();
        int32_t width = 0, height = 0;
        const bool measured = lib.readSize(path.c_str(), &width, &height) == 1;
        const std::vector<uint8_t> zero = ReadMemoryPrefilled(bytes, "", 0x00);
        if (!zero.empty()) {
            ++read;
            EXPECT_EQ(zero, ReadMemoryPrefilled(bytes, "", 0xAB)) << "pixels the decoder left out, " << where;
            ASSERT_TRUE(measured) << "read but not measured, " << where;
            EXPECT_EQ(uint32_t(width), Word(zero, 0)) << where;
            EXPECT_EQ(uint32_t(height), Word(zero, 4)) << where;
        }
        const int32_t state = lib.checkW(widePath.c_str(), kCheckByDecoding);
        const int32_t quick = lib.checkW(widePath.c_str(), 0);
        EXPECT_TRUE(quick == state || (quick == rasterlib::kPictureSound && state == rasterlib::kPictureDamaged))
            << where;
        ASSERT_GE(state, rasterlib::kPictureSound) << where;
        ASSERT_LE(state, rasterlib::kPictureUnreadKind) << where;
        if (state == rasterlib::kPictureSound) {
            ++sound;
            EXPECT_FALSE(zero.empty()) << "a sound file that does not read, " << where;
        }
        const std::vector<uint8_t> thumbnail = ReadFileReduced(path, 128, 128);
        if (bytes.size() > 2 && ((bytes[0] == 'I' && bytes[1] == 'I') || (bytes[0] == 'M' && bytes[1] == 'M'))) {
            ++tiffs;
            tiffsRead += !zero.empty();
            EXPECT_EQ(state == rasterlib::kPictureSound, !zero.empty()) << "TIFF check and full read, " << where;
            EXPECT_EQ(zero.empty(), thumbnail.empty()) << "TIFF full read and thumbnail, " << where;
        }
        if (bytes.size() > 2 && bytes[0] == 'B' && bytes[1] == 'M')
            EXPECT_EQ(state == rasterlib::kPictureSound, !zero.empty()) << "bitmap check and full read, " << where;
        if (!thumbnail.empty()) {
            EXPECT_LE(Word(thumbnail, 0), 128u) << where;
            EXPECT_LE(Word(thumbnail, 4), 128u) << where;
        }
        const DWORD elapsed = ::GetTickCount() - start;
        slowest = std::max(slowest, elapsed);
        largest = std::max(largest, AllocationWatch::Largest());
        ASSERT_LT(elapsed, 2000u) << where;
        ASSERT_LE(AllocationWatch::Largest(), size_t(64) << 20) << "from " << bytes.size() << " bytes, " << where;
    }
    // The system's decoders allocate outside the watched imports: the process
    // as a whole grows by no more either.
    const size_t peak = PeakPrivateBytes();
    EXPECT_LE(peak, std::max(startPeak, startUsage + (size_t(64) << 20)));
    std::printf("[ info ] %d mutated images, %d read, %d sound (TIFFs: %d, %d read), largest allocation %u KB, "
                "slowest %u ms, peak private memory %u MB above the start\n",
                cases, read, sound, tiffs, tiffsRead, unsigned(largest >> 10), unsigned(slowest),
                unsigned(peak > startUsage ? (peak - startUsage) >> 20 : 0));
    EXPECT_GT(read, 0);
}

// Grey PackBits strips written by libtiff (runs and literals across rows, a no-op and bytes past the
// first strip's end, a run past the second's, a literal said longer than the third), one mutated, every
// other file's bits reversed: the full read is libtiff's strip decoder's rows, or nothing where it refuses.
TEST(RasterMutation, PackBitsStripsReadAsLibtiffsStripDecoderReadsThem)
{
    const std::string ramp = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKL";
    const std::string seed[] = {
        '\x1D' + ramp.substr(0, 30) + "\xCF\x90\x80\x09" + ramp.substr(0, 10) + "\xFB\x33\x05\x01", "\x81\x60",
        '\x7F' + ramp};
    std::mt19937 random(unsigned(FromEnvironment("OT_FUZZ_SEED", 20240612)));
    const std::string path = TempPath("packbits.tif");
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    int answers[2] = {};
    for (int n = 0; n < FromEnvironment("OT_FUZZ_CASES", 200) * 2; ++n) {
        TIFF* tiff = TIFFOpen(path.c_str(), "w");
        for (const auto& field : {std::make_pair(TIFFTAG_IMAGEWIDTH, 24), {TIFFTAG_IMAGELENGTH, 10},
                                  {TIFFTAG_ROWSPERSTRIP, 4}, {TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS},
                                  {TIFFTAG_BITSPERSAMPLE, 8}, {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK},
                                  {TIFFTAG_FILLORDER, n % 2 ? FILLORDER_LSB2MSB : FILLORDER_MSB2LSB}})
            TIFFSetField(tiff, field.first, field.second);
        for (int i = 0; i < 3; ++i) {
            std::vector<uint8_t> strip = i == n % 3 ? Mutate(AsBytes(seed[i]), random) : AsBytes(seed[i]);
            if (n % 2)
                TIFFReverseBits(strip.data(), tmsize_t(strip.size()));
            TIFFWriteRawStrip(tiff, uint32_t(i), strip.data(), tmsize_t(strip.size()));
        }
        TIFFClose(tiff);
        tiff = TIFFOpen(path.c_str(), "r");
        ASSERT_NE(nullptr, tiff) << "case " << n;
        std::vector<uint8_t> rows(24 * 10), read;
        bool decoded = true;
        for (uint32_t i = 0; decoded && i < 3; ++i)
            decoded = TIFFReadEncodedStrip(tiff, i, &rows[i * 24 * 4], -1) != -1;
        TIFFClose(tiff);
        ++answers[decoded];
        const std::vector<uint8_t> record = ReadFile(path);
        for (size_t i = 12; i < record.size(); i += 4)
            read.push_back(record[i]);
        EXPECT_EQ(decoded ? rows : std::vector<uint8_t>(), read) << "case " << n;
    }
    EXPECT_GT(std::min(answers[0], answers[1]), 0);
}

TEST(RasterMutation, ReadsAtAnEighthGiveLibjpegTurbosPixelsWhateverTheBytes)
{
    // Streams read for what one eighth needs: whenever such a read answers, its
    // pixels are those libjpeg-turbo gives for the same bytes at that scale.
    const Picture picture = Gradient(256, 192);
    const std::vector<std::vector<uint8_t>> seeds = {
        EncodeLaidOutJpeg(picture, 85, {2, 2, false, 2, false}),
        EncodeLaidOutJpeg(picture, 85, {2, 1, false, 0, false}),
        EncodeLaidOutJpeg(picture, 85, {1, 1, true, 5, false}),
    };
    const int cases = FromEnvironment("OT_FUZZ_CASES", 200) * int(seeds.size());
    const unsigned seed = unsigned(FromEnvironment("OT_FUZZ_SEED", 20240612));
    std::mt19937 random(seed);
    const std::string path = TempPath("mutated-eighth.jpg");
    int compared = 0;
    for (int n = 0; n < cases; ++n) {
        const std::vector<uint8_t> bytes = Mutate(seeds[size_t(n) % seeds.size()], random);
        const std::string where = "case " + std::to_string(n) + " of seed " + std::to_string(seed);
        WriteBytes(path, bytes);
        Picture expected, read;
        const bool decoded = DecodeJpegEighthWithTurbo(bytes, expected);
        if (!decoded || expected.Width() < 4 || !Picture::FromRecord(ReadFileReduced(path, int32_t(expected.Width()),
                                                                                    int32_t(expected.Height())),
                                                                    read))
            continue;
        if (read.Width() != expected.Width() || read.Height() != expected.Height())
            continue;  // a size that is not a scale of the decoder's: resampled
        ++compared;
        ASSERT_EQ(0, std::memcmp(read.Data(), expected.Data(), size_t(read.Width()) * read.Height() * 4)) << where;
    }
    std::printf("[ info ] %d mutated streams read at an eighth and compared\n", compared);
    EXPECT_GT(compared, cases / 20);
}

TEST(RasterMutation, TurnsAreLibjpegTurbosWhateverTheBytes)
{
    // A JPEG recorded turned, damaged: the library's upright file is what
    // libjpeg-turbo's lossless turn makes of the same bytes, and there is none
    // where libjpeg-turbo's turn fails.
    const Picture picture = Gradient(64, 48);
    const std::vector<std::vector<uint8_t>> jpegs = {
        EncodeLaidOutJpeg(picture, 85, {2, 2, false, 2, false}),
        EncodeLaidOutJpeg(picture, 85, {2, 1, false, 0, false}),
        EncodeLaidOutJpeg(picture, 85, {1, 1, true, 3, false}),
        EncodeLaidOutJpeg(picture, 85, {2, 2, true, 0, false}),
        WithFillBytes(EncodeLaidOutJpeg(picture, 85, {2, 2, false, 0, false})),
    };
    std::vector<std::vector<uint8_t>> seeds;
    for (size_t i = 0; i < jpegs.size(); ++i) {
        const std::string bytes = testpictures::WithSegment(std::string(jpegs[i].begin(), jpegs[i].end()),
                                                            testpictures::ExifSegment(uint16_t(2 + i), false));
        seeds.emplace_back(bytes.begin(), bytes.end());
    }
    const int cases = FromEnvironment("OT_FUZZ_CASES", 200) * int(seeds.size());
    const unsigned seed = unsigned(FromEnvironment("OT_FUZZ_SEED", 20240612));
    std::mt19937 random(seed);
    const auto& lib = Lib();
    const std::string source = TempPath("mutated-turn.jpg"), target = TempPath("mutated-turn-upright.jpg");
    const std::wstring wideSource(source.begin(), source.end()), wideTarget(target.begin(), target.end());
    int turned = 0;
    for (int n = 0; n < cases; ++n) {
        const std::vector<uint8_t> bytes = Mutate(seeds[size_t(n) % seeds.size()], random);
        const std::string where = "case " + std::to_string(n) + " of seed " + std::to_string(seed);
        WriteBytes(source, bytes);
        ::DeleteFileA(target.c_str());
        RasterImageInfo info = {};
        info.size = sizeof info;
        if (lib.infoW(wideSource.c_str(), &info) != 1 || info.orientation < 2 || info.orientation > 8)
            continue;
        // libjpeg-turbo's turn answers success for some streams it writes
        // with codes no table has: those are not written.
        std::vector<uint8_t> expected = TurnWithTurbo(bytes, info.orientation);
        if (!DecodesWholeWithTurbo(expected))
            expected.clear();
        const bool written = lib.writeUpright(wideSource.c_str(), wideTarget.c_str()) == 1;
        ASSERT_EQ(!expected.empty(), written) << where;
        if (written) {
            ++turned;
            ASSERT_TRUE(ReadBytes(target) == expected) << where;
        }
    }
    std::printf("[ info ] %d mutated streams turned\n", turned);
    EXPECT_GT(turned, cases / 20);
}

namespace {

// A 64 x 48 PNG whose image data inflate to about 1.9 GB of zeros: the same
// flushed stretch of deflate data over and over, then the stream's end.
std::vector<uint8_t> InflatingPng()
{
    std::vector<uint8_t> zeros(1 << 20, 0);
    z_stream stream = {};
    deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> stretch(1 << 16);
    stream.next_in = zeros.data();
    stream.avail_in = uInt(zeros.size());
    stream.next_out = stretch.data();
    stream.avail_out = uInt(stretch.size());
    deflate(&stream, Z_FULL_FLUSH);
    stretch.resize(stretch.size() - stream.avail_out);
    deflateEnd(&stream);
    const uint32_t repeats = 1900;
    std::string data("\x78\xDA", 2);
    for (uint32_t i = 0; i < repeats; ++i)
        data.append(stretch.begin(), stretch.end());
    data += std::string("\x03\x00", 2);  // the last block, empty
    // The Adler-32 of so many zeros: a stays 1, b counts them.
    const uint64_t count = uint64_t(repeats) << 20;
    const uint32_t adler = uint32_t((count % 65521) << 16 | 1);
    testpictures::Put32(data, adler, true);
    std::string header;
    testpictures::Put32(header, 64, true);
    testpictures::Put32(header, 48, true);
    header += std::string("\x08\x02\x00\x00\x00", 5);
    std::string png("\x89PNG\r\n\x1A\n", 8);
    testpictures::PngChunk(png, "IHDR", header);
    testpictures::PngChunk(png, "IDAT", data);
    testpictures::PngChunk(png, "IEND", std::string());
    return AsBytes(png);
}

}  // namespace

TEST(RasterMutation, HostilePngAndGifAreRefusedWithinBounds)
{
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    const auto& lib = Lib();
    // Image data that inflate far past the rows the header asks: refused after
    // the rows, without inflating the rest (measured in the thread's own
    // processor time, which other work on the machine does not change).
    const std::vector<uint8_t> inflating = InflatingPng();
    const std::string path = TempPath("hostile.png");
    WriteBytes(path, inflating);
    const std::wstring wide(path.begin(), path.end());
    const double start = test_support::ThreadSeconds();
    EXPECT_EQ(rasterlib::kPictureDamaged, lib.checkW(wide.c_str(), 0));
    const double checked = test_support::ThreadSeconds();
    EXPECT_TRUE(ReadFile(path).empty());
    const double read = test_support::ThreadSeconds();
    EXPECT_LT(checked - start, 0.05) << "seconds of processor time";
    EXPECT_LT(read - checked, 0.05) << "seconds of processor time";
    std::printf("[ info ] a PNG inflating to 1.9 GB refused by the check in %.1f ms, by a read in %.1f ms "
                "of processor time\n",
                (checked - start) * 1000, (read - checked) * 1000);

    // A GIF whose second frame claims 65535 x 65535: its first frame reads,
    // the check calls it damaged, and no decoder asks for the claimed size.
    std::string gif = testpictures::GreyGif(24, 20);
    gif.pop_back();
    gif += std::string("\x2C\x00\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x08\x02\x01\x00\x00", 15) + ";";
    const std::string gifPath = TempPath("hostile.gif");
    WriteBytes(gifPath, AsBytes(gif));
    size_t before = 0;
    PeakPrivateBytes(&before);
    AllocationWatch::Reset();
    EXPECT_EQ(rasterlib::kPictureDamaged, lib.checkW(std::wstring(gifPath.begin(), gifPath.end()).c_str(), 0));
    const std::vector<uint8_t> first = ReadFile(gifPath);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(24u, Word(first, 0));
    EXPECT_LE(AllocationWatch::Largest(), size_t(64) << 20);
    size_t after = 0;
    PeakPrivateBytes(&after);
    EXPECT_LT(after, before + (size_t(64) << 20));

    // A palette PNG whose indices pass its palette and whose data stop short:
    // the same pixels whatever the memory held, or no read at all.
    std::string palette = testpictures::PalettePng(40, 30, 29);
    const size_t plte = testpictures::PngChunkData(palette, "PLTE");
    palette[plte - 5] = 6;  // three colours, two of them named
    std::string fixed = palette.substr(0, plte - 8);
    testpictures::PngChunk(fixed, "PLTE", palette.substr(plte, 6));
    fixed += palette.substr(plte + 12 + 4);
    const std::vector<uint8_t> bytes = AsBytes(fixed);
    EXPECT_EQ(ReadMemoryPrefilled(bytes, "", 0x00), ReadMemoryPrefilled(bytes, "", 0xAB));
    EXPECT_TRUE(ReadMemoryPrefilled(bytes, "", 0x00).empty());
}
