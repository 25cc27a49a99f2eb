#include "platform/rasterlib/PictureCheck.h"

#include "platform/rasterlib/GifLayout.h"
#include "platform/rasterlib/IconEntry.h"
#include "platform/rasterlib/ImageHeader.h"
#include "platform/rasterlib/ImageSource.h"
#include "platform/rasterlib/JpegCodec.h"
#include "platform/rasterlib/JpegDecode.h"
#include "platform/rasterlib/JpegScanWalk.h"
#include "platform/rasterlib/PngImage.h"

#include <cstring>
#include <vector>

namespace rasterlib {

namespace {

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// The side of the read that proves a picture decodes.
constexpr uint32_t kCheckSide = 16;

// The segments to the end of the image, then the scan's data: walked block by
// block where the library reads the stream itself, else decoded by
// libjpeg-turbo at its smallest scale; a warning of either is damage.
PictureState CheckJpeg(ByteSource& source)
{
    const uint8_t* bytes = source.Whole();
    const size_t count = size_t(source.Size());
    if (!bytes || !IsCompleteJpeg(bytes, count))
        return PictureState::Damaged;
    switch (WalkBaselineScan(bytes, count)) {
    case ScanWalk::Whole:
        return PictureState::Sound;
    case ScanWalk::Damaged:
        return PictureState::Damaged;
    case ScanWalk::NotTaken:
        break;
    }
    JpegInfo info;
    return ReadJpegHeader(source, info) && DecodesWithoutWarning(bytes, count, info) ? PictureState::Sound
                                                                                      : PictureState::Damaged;
}

// libpng reads every row and every chunk to the end.
PictureState CheckPng(const uint8_t* bytes, size_t count)
{
    PngImage png;
    return bytes && png.Open(bytes, count) && png.ReadThrough() ? PictureState::Sound : PictureState::Damaged;
}

// Sub-blocks, each after its length byte, up to the empty one.
bool SkipSubBlocks(const uint8_t* bytes, size_t count, size_t& at)
{
    at = SubBlocksEnd(bytes, count, at);
    return at <= count;
}

size_t ColourTableBytes(uint8_t flags)
{
    return size_t(3) * TableColours(flags);
}

PictureState CheckGif(ByteSource& source)
{
    const uint8_t* bytes = source.Whole();
    const size_t count = size_t(source.Size());
    if (!bytes || count < 13)
        return PictureState::Damaged;
    size_t at = 13 + ColourTableBytes(bytes[10]);
    int images = 0;
    while (at < count) {
        const uint8_t kind = bytes[at++];
        if (kind == 0x3B)
            return images > 0 ? PictureState::Sound : PictureState::Damaged;
        if (kind == 0x21) {
            if (at >= count)
                break;
            ++at;  // the extension's label
        } else if (kind == 0x2C) {
            // Every frame inside the logical screen.
            if (count - at < 9 || !IsInsideScreen(bytes, at - 1))
                break;
            at += 9 + ColourTableBytes(bytes[at + 8]);
            // The LZW code size: 2 to 8 bits for real pictures, 1 for black and white.
            if (at >= count || bytes[at] < 1 || bytes[at] > 11)
                break;
            ++at;
            ++images;
        } else {
            break;
        }
        if (!SkipSubBlocks(bytes, count, at))
            break;
    }
    return PictureState::Damaged;
}

// A file whose reader takes it whole, and for which this process had no room,
// is too large for this program, not damaged: its bytes were never read.
PictureState HeldOrTooLarge(const ByteSource& source, PictureState state)
{
    return state == PictureState::Damaged && source.TooLargeToHold() ? PictureState::TooLarge : state;
}

PictureState CheckIcon(ByteSource& source)
{
    std::vector<uint8_t> entry;
    ImageFormat format = ImageFormat::Unknown;
    ImageHeader header;
    if (!ExtractIconEntry(source, entry, format, header))
        return PictureState::Damaged;
    return format == ImageFormat::Png ? CheckPng(entry.data(), entry.size()) : PictureState::Sound;
}

}  // namespace

PictureState CheckStructure(ByteSource& source, ImageFormat format);

PictureState CheckPicture(ImageSource& image, bool)
{
    ByteSource& source = image.Bytes();
    if (source.Size() == 0)
        return PictureState::Empty;
    uint8_t head[kSniffBytes] = {};
    const size_t sniffed = source.Size() < kSniffBytes ? size_t(source.Size()) : kSniffBytes;
    if (!source.ReadAt(0, head, sniffed))
        return PictureState::Missing;
    const ImageFormat format = SniffFormat(head, sniffed);
    if (format == ImageFormat::Unknown)
        return IsBigTiffHeader(head, sniffed) ? PictureState::UnreadKind : PictureState::NotPicture;
    // The header first: a size more than the file can hold is damage too.
    if (!image.ReadHeader())
        return PictureState::Damaged;
    // Nothing of a picture too large to decode is read beyond its header:
    // walking its data would take seconds and its decoder gigabytes.
    if (!image.IsWithinBounds())
        return PictureState::TooLarge;
    const PictureState walked = HeldOrTooLarge(source, CheckStructure(source, format));
    // The walk of a JPEG's data and libpng's reading are decodings; a file of
    // another format whose parts hold together may still not decode (tables or
    // coded data changed): a read at a small size decodes all of it, as the
    // thumbnails do, so that no picture the check passes is shown as the
    // placeholder or copied into an export unread.
    if (walked != PictureState::Sound || format == ImageFormat::Jpeg || format == ImageFormat::Png)
        return walked;
    if (image.ReadsThrough(kCheckSide))
        return PictureState::Sound;
    const PictureState failed = HeldOrTooLarge(source, PictureState::Damaged);
    // A TIFF no reader here reads is no damaged file: what it holds is of a
    // kind the library does not read.
    return failed == PictureState::Damaged && image.IsTiffOfUnreadKind() ? PictureState::UnreadKind : failed;
}

PictureState CheckStructure(ByteSource& source, ImageFormat format)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return CheckJpeg(source);
    case ImageFormat::Png:
        return CheckPng(source.Whole(), size_t(source.Size()));
    case ImageFormat::Gif:
        return CheckGif(source);
    case ImageFormat::Bmp:  // the header reader finds the rows inside the file
    case ImageFormat::Tiff:  // libtiff's reading of every row is the check
        return PictureState::Sound;
    case ImageFormat::Ico:
        return CheckIcon(source);
    default:
        return PictureState::NotPicture;
    }
}

PictureState CheckPictureFile(const wchar_t* path, bool decode)
{
    ImageSource image;
    return image.Bytes().OpenFile(path) ? CheckPicture(image, decode) : PictureState::Missing;
}

PictureState CheckPictureMemory(const uint8_t* bytes, size_t count, bool decode)
{
    ImageSource image;
    image.Bytes().UseMemory(bytes, count);
    return CheckPicture(image, decode);
}

}  // namespace rasterlib
