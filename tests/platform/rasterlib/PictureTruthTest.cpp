// What the library calls sound, and what it says it wrote, reads whole: over a
// seeded table of mutated pictures of every kind an export passes on (JPEG
// recorded in each orientation 2 to 8, progressive and of unusual sampling,
// PNG of each colour type, interlaced and 16-bit, GIF of two frames, TIFF), a
// picture the check passes is read whole by the library's full read and by an
// independent decoder (libjpeg-turbo without a warning, the system's WIC), and
// an upright JPEG the library writes decodes whole at the upright size.
// OT_FUZZ_CASES (cases of each seed) and OT_FUZZ_SEED change the run.
#include "RasterTestSupport.h"

#include "tests/support/DamagedPictures.h"
#include "tests/support/TestPictureFiles.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <random>

using namespace rastertest;

namespace {

int FromEnvironment(const char* name, int fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

std::vector<uint8_t> AsBytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Recorded(const std::vector<uint8_t>& jpeg, int orientation)
{
    return AsBytes(testpictures::WithSegment(std::string(jpeg.begin(), jpeg.end()),
                                             testpictures::ExifSegment(uint16_t(orientation), orientation % 2 == 0)));
}

// Bytes flipped or set to edge values, runs cut, repeated or removed, the
// file cut short; a few bytes changed inside the coded data most of the time.
std::vector<uint8_t> Mutate(std::vector<uint8_t> bytes, std::mt19937& random)
{
    static const uint8_t kEdges[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xC0, 0xD9, 0xDA};
    const int steps = 1 + int(random() % 3);
    for (int i = 0; i < steps && !bytes.empty(); ++i) {
        // Most changes in the second half, where the coded data lie.
        const size_t at = random() % 4 ? bytes.size() / 2 + random() % (bytes.size() - bytes.size() / 2)
                                       : random() % bytes.size();
        switch (random() % 6) {
        case 0:
        case 1:
            bytes[at] ^= uint8_t(1u << (random() % 8));
            break;
        case 2:
            bytes[at] = kEdges[random() % 8];
            break;
        case 3:
            bytes.erase(bytes.begin() + std::ptrdiff_t(at),
                        bytes.begin() + std::ptrdiff_t(std::min(bytes.size(), at + 1 + random() % 16)));
            break;
        case 4:
            bytes.insert(bytes.begin() + std::ptrdiff_t(at), uint8_t(random()));
            break;
        default:
            bytes.resize(at);
            break;
        }
    }
    return bytes;
}

std::wstring Wide(const std::string& path)
{
    return std::wstring(path.begin(), path.end());
}

uint32_t Field(const std::vector<uint8_t>& record, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, &record[at], 4);
    return value;
}

// The library's full read of the file: its record, checked for its size.
bool ReadsWhole(const std::string& path, int32_t width, int32_t height)
{
    const std::vector<uint8_t> record = ReadFile(path);
    return record.size() >= 12 && int32_t(Field(record, 0)) == width && int32_t(Field(record, 4)) == height &&
           record.size() == 12 + size_t(width) * size_t(height) * 4;
}

enum class Kind { Jpeg, Other };

struct Seed {
    const char* name;
    std::vector<uint8_t> bytes;
    Kind kind;
};

Picture Photo(uint32_t width, uint32_t height)
{
    Picture picture(width, height);
    uint32_t state = width * 31 + height;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const int grain = int(state >> 27) - 16;
            auto clamp = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            picture.Set(x, y, Pixel{clamp(int(x * 4) + grain), clamp(int((x + y) * 2) - grain),
                                    clamp(int(y * 5) + grain), uint8_t(255 - (x * y) % 200)});
        }
    return picture;
}

std::vector<Seed> Seeds()
{
    const Picture photo = Photo(48, 32);
    std::vector<Seed> seeds;
    const JpegLayout layouts[] = {
        {2, 2, false, 0, false, true, true, false},
        {2, 1, false, 2, false, true, true, false},
        {1, 1, true, 0, false, true, true, false},
        {2, 2, false, 0, false, true, true, true},
    };
    for (int orientation = 2; orientation <= 8; ++orientation) {
        const JpegLayout& layout = layouts[size_t(orientation) % 4];
        seeds.push_back({"turned JPEG", Recorded(EncodeLaidOutJpeg(photo, 80, layout), orientation), Kind::Jpeg});
    }
    seeds.push_back({"progressive JPEG", Recorded(EncodeJpeg(photo, 80, true), 6), Kind::Jpeg});
    seeds.push_back({"PNG", EncodeWithWic(photo, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR), Kind::Other});
    seeds.push_back(
        {"PNG with alpha", EncodeWithWic(photo, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA), Kind::Other});
    seeds.push_back({"palette PNG", AsBytes(testpictures::PalettePng(40, 30, 30)), Kind::Other});
    std::string wide16;
    for (uint32_t i = 0; i < 20 * 16; ++i)
        wide16 += std::string{char(i), char(i * 3), char(i * 7), char(i >> 2), char(i * 5), char(200)};
    seeds.push_back({"16-bit PNG", AsBytes(testpictures::PngFile(20, 16, 16, false, wide16)), Kind::Other});
    seeds.push_back({"GIF", EncodeWithWic(photo, GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed), Kind::Other});
    std::string twoFrames = testpictures::GreyGif(24, 20);
    const std::string first = twoFrames.substr(0, twoFrames.size() - 1);
    twoFrames = first + first.substr(first.find('\x2C')) + ";";
    seeds.push_back({"GIF of two frames", AsBytes(twoFrames), Kind::Other});
    seeds.push_back({"TIFF", EncodeWithWic(Photo(12, 10), GUID_ContainerFormatTiff, GUID_WICPixelFormat24bppBGR),
                     Kind::Other});
    seeds.push_back({"LZW TIFF", AsBytes(testpictures::TiffFile(8, 6, std::string(8 * 6 * 3, '\x50'), 1, true)),
                     Kind::Other});
    return seeds;
}

}  // namespace

TEST(RasterPictureTruth, WhatTheCheckCallsSoundReadsWhole)
{
    const std::vector<Seed> seeds = Seeds();
    for (const Seed& seed : seeds)
        ASSERT_FALSE(ReadMemory(seed.bytes, "").empty()) << seed.name << " reads";
    const int cases = FromEnvironment("OT_FUZZ_CASES", 200) * int(seeds.size());
    const unsigned seedValue = unsigned(FromEnvironment("OT_FUZZ_SEED", 20250301));
    std::mt19937 random(seedValue);
    const auto& lib = Lib();
    const std::string path = TempPath("truth");
    int sound = 0, damaged = 0;
    for (int n = 0; n < cases; ++n) {
        const Seed& seed = seeds[size_t(n) % seeds.size()];
        const std::vector<uint8_t> bytes = n < int(seeds.size()) ? seed.bytes : Mutate(seed.bytes, random);
        const std::string where = std::string(seed.name) + ", case " + std::to_string(n) + " of seed " +
                                  std::to_string(seedValue);
        WriteBytes(path, bytes);
        const int32_t walked = lib.checkW(Wide(path).c_str(), 0);
        const int32_t decoded = lib.checkW(Wide(path).c_str(), kCheckByDecoding);
        EXPECT_EQ(walked, decoded) << where;
        if (walked != rasterlib::kPictureSound) {
            ++damaged;
            continue;
        }
        ++sound;
        RasterImageInfo info = {};
        info.size = sizeof info;
        ASSERT_EQ(1, lib.infoW(Wide(path).c_str(), &info)) << where;
        EXPECT_TRUE(ReadsWhole(path, info.width, info.height)) << "the library's full read, " << where;
        if (seed.kind == Kind::Jpeg) {
            EXPECT_TRUE(DecodesWholeWithTurbo(bytes)) << "libjpeg-turbo, " << where;
        } else {
            Picture picture;
            EXPECT_TRUE(DecodeWithWic(bytes, picture)) << "WIC, " << where;
        }
    }
    std::printf("[ info ] %d mutated pictures: %d sound, %d not\n", cases, sound, damaged);
    EXPECT_GT(sound, int(seeds.size()));
    EXPECT_GT(damaged, cases / 4);
}

TEST(RasterPictureTruth, AnUprightJpegWrittenReadsWholeAtTheUprightSize)
{
    // Every layout the block mover takes, and streams it leaves to libjpeg-turbo
    // (fill bytes, progressive), in each orientation, then mutated.
    const Picture photo = Photo(64, 48);
    std::vector<std::vector<uint8_t>> seeds;
    const JpegLayout layouts[] = {
        {2, 2, false, 0, false, true, true, false},
        {2, 1, false, 3, false, true, true, false},
        {2, 2, true, 0, false, true, true, false},
    };
    for (int orientation = 2; orientation <= 8; ++orientation) {
        const std::vector<uint8_t> jpeg = EncodeLaidOutJpeg(photo, 85, layouts[size_t(orientation) % 3]);
        seeds.push_back(Recorded(jpeg, orientation));
        seeds.push_back(Recorded(WithFillBytes(jpeg), orientation));
    }
    seeds.push_back(Recorded(EncodeJpeg(photo, 85, true), 8));
    const int cases = FromEnvironment("OT_FUZZ_CASES", 200) * int(seeds.size()) / 2;
    const unsigned seedValue = unsigned(FromEnvironment("OT_FUZZ_SEED", 20250301));
    std::mt19937 random(seedValue);
    const auto& lib = Lib();
    const std::string source = TempPath("truth-turn.jpg"), target = TempPath("truth-turn-upright.jpg");
    AllocationWatch watch;
    ASSERT_TRUE(watch.IsInstalled());
    int written = 0;
    for (int n = 0; n < cases; ++n) {
        const std::vector<uint8_t>& seed = seeds[size_t(n) % seeds.size()];
        const std::vector<uint8_t> bytes = n < int(seeds.size()) ? seed : Mutate(seed, random);
        const std::string where = "case " + std::to_string(n) + " of seed " + std::to_string(seedValue);
        WriteBytes(source, bytes);
        ::DeleteFileA(target.c_str());
        RasterImageInfo info = {};
        info.size = sizeof info;
        if (lib.infoW(Wide(source).c_str(), &info) != 1 || info.orientation < 2)
            continue;
        AllocationWatch::Reset();
        const bool turned = lib.writeUpright(Wide(source).c_str(), Wide(target).c_str()) == 1;
        EXPECT_LE(AllocationWatch::Largest(), size_t(64) << 20) << where;
        if (!turned) {
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(target.c_str())) << "nothing left, " << where;
            continue;
        }
        ++written;
        const std::vector<uint8_t> upright = ReadBytes(target);
        int width = 0, height = 0;
        EXPECT_TRUE(DecodesWholeWithTurbo(upright, &width, &height)) << where;
        EXPECT_EQ(info.width, width) << where;
        EXPECT_EQ(info.height, height) << where;
        EXPECT_TRUE(ReadsWhole(target, info.width, info.height)) << where;
    }
    std::printf("[ info ] %d turned streams, %d written upright\n", cases, written);
    EXPECT_GE(written, int(seeds.size()) - 1);
}

TEST(RasterPictureTruth, ATurnNoTableCodesIsNotWritten)
{
    const auto& lib = Lib();
    const std::string source = TempPath("eleven.jpg"), target = TempPath("eleven-upright.jpg");
    for (int orientation = 2; orientation <= 8; ++orientation) {
        for (bool fill : {false, true}) {
            SCOPED_TRACE("orientation " + std::to_string(orientation) + (fill ? ", fill bytes" : ""));
            const std::vector<uint8_t> bytes = AsBytes(testpictures::TurnedElevenBitJpeg(uint16_t(orientation), fill));
            ASSERT_TRUE(DecodesWholeWithTurbo(bytes)) << "the stream itself decodes";
            WriteBytes(source, bytes);
            EXPECT_EQ(rasterlib::kPictureSound, lib.checkW(Wide(source).c_str(), 0));
            // libjpeg-turbo's turn answers success with bytes that do not decode.
            const std::vector<uint8_t> turbo = TurnWithTurbo(bytes, orientation);
            ASSERT_FALSE(turbo.empty());
            EXPECT_FALSE(DecodesWholeWithTurbo(turbo));
            ::DeleteFileA(target.c_str());
            EXPECT_EQ(0, lib.writeUpright(Wide(source).c_str(), Wide(target).c_str()));
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(target.c_str()));
        }
    }
}

TEST(RasterPictureTruth, MixedChromaSamplingIsSound)
{
    // Cb 1 x 1 and Cr 2 x 2 beside a 2 x 2 luma: libjpeg-turbo decodes it.
    const std::vector<uint8_t> jpeg = EncodeLaidOutJpeg(Photo(64, 48), 85, {2, 2, false, 0, false, true, true, true});
    ASSERT_TRUE(DecodesWholeWithTurbo(jpeg));
    const std::string path = TempPath("mixed.jpg");
    WriteBytes(path, jpeg);
    EXPECT_EQ(rasterlib::kPictureSound, Lib().checkW(Wide(path).c_str(), 0));
    EXPECT_EQ(rasterlib::kPictureSound, Lib().checkW(Wide(path).c_str(), kCheckByDecoding));
    EXPECT_TRUE(ReadsWhole(path, 64, 48));
}

TEST(RasterPictureTruth, ReservedMarkersAndBadPngDataAreDamaged)
{
    const std::vector<uint8_t> jpeg = EncodeLaidOutJpeg(Photo(32, 32), 85, {2, 2, false, 0, false, true, true, false});
    std::string png = testpictures::PngFile(4, 2, 8, false, std::string(4 * 2 * 3, '\x40'));
    const size_t idat = testpictures::PngChunkData(png, "IDAT");
    const uint32_t idatLength = uint32_t(uint8_t(png[idat - 6])) << 8 | uint8_t(png[idat - 5]);
    // The zlib stream's Adler-32 changed, its chunk's CRC made right again.
    auto recrc = [](std::string& file, size_t data, uint32_t length) {
        const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(file.data() + data - 4), length + 4));
        for (int i = 0; i < 4; ++i)
            file[data + length + size_t(i)] = char(crc >> (24 - 8 * i));
    };
    std::string badAdler = png;
    badAdler[idat + idatLength - 1] ^= 0x01;
    recrc(badAdler, idat, idatLength);
    std::string raw = std::string(1, '\x07') + std::string(12, '\x40') + std::string(1, '\0') + std::string(12, '\x40');
    std::string badFilter = testpictures::PngFile(4, 2, 8, false, std::string(24, '\x40'));
    {
        const std::string packed = testpictures::Deflated(raw);
        const size_t at = testpictures::PngChunkData(badFilter, "IDAT");
        const uint32_t old = uint32_t(uint8_t(badFilter[at - 6])) << 8 | uint8_t(badFilter[at - 5]);
        std::string rebuilt = badFilter.substr(0, at - 8);
        testpictures::PngChunk(rebuilt, "IDAT", packed);
        badFilter = rebuilt + badFilter.substr(at + old + 4);
    }
    // A scan that starts off sequential order (a warning) and names a table
    // the stream lacks (an error after it): nothing decodes.
    std::vector<uint8_t> stopped = jpeg;
    for (size_t i = 0; i + 12 < stopped.size(); ++i) {
        if (stopped[i] == 0xFF && stopped[i + 1] == 0xDA) {
            stopped[i + 6] = 0x22;
            stopped[i + 7 + 2 * (stopped[i + 4] - 1)] = 0x01;
            break;
        }
    }
    std::vector<uint8_t> reserved = jpeg;
    const std::string segment("\xFF\x42\x00\x04\x00\x00", 6);
    reserved.insert(reserved.begin() + 2, segment.begin(), segment.end());
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"PNG whose Adler-32 is wrong", AsBytes(badAdler)},
        {"PNG with a filter byte of 7", AsBytes(badFilter)},
        {"JPEG with a reserved marker", reserved},
        {"JPEG warned of, then stopped by an error", stopped},
    };
    const std::string path = TempPath("damaged-bytes");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, c.bytes);
        EXPECT_EQ(rasterlib::kPictureDamaged, Lib().checkW(Wide(path).c_str(), 0));
        EXPECT_EQ(rasterlib::kPictureDamaged, Lib().checkW(Wide(path).c_str(), kCheckByDecoding));
        EXPECT_TRUE(ReadFile(path).empty());
        EXPECT_TRUE(ReadFileReduced(path, 4, 4).empty());
    }
}
