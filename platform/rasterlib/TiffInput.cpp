#include "platform/rasterlib/TiffInput.h"

// The mapping of this build of libtiff, set once the directory is read
// (scripts/setup.sh installs the header beside it).
#include <tiffiop.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace rasterlib {

namespace {

// libtiff's private header makes the handle a type of its own.
TiffInput::Place& PlaceOf(thandle_t handle)
{
    return *static_cast<TiffInput::Place*>(static_cast<void*>(handle));
}

thandle_t HandleOf(TiffInput::Place& place)
{
    return static_cast<thandle_t>(static_cast<void*>(&place));
}

tmsize_t ReadBytes(thandle_t handle, void* out, tmsize_t count)
{
    TiffInput::Place& place = PlaceOf(handle);
    const uint64_t size = place.source->Size();
    if (count < 0 || place.at >= size)
        return 0;
    const uint64_t taken = std::min<uint64_t>(uint64_t(count), size - place.at);
    if (!place.source->ReadAt(place.at, out, size_t(taken)))
        return -1;
    // The part of the directory kept that the read covers.
    const std::vector<uint8_t>& kept = place.directory->Kept();
    const uint64_t keptAt = place.directory->At(), end = place.at + taken;
    if (!kept.empty() && place.at < keptAt + kept.size() && end > keptAt) {
        const uint64_t from = std::max(place.at, keptAt), to = std::min(end, keptAt + kept.size());
        std::memcpy(static_cast<uint8_t*>(out) + (from - place.at), kept.data() + (from - keptAt), size_t(to - from));
    }
    place.at += taken;
    return tmsize_t(taken);
}

tmsize_t WriteNothing(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t Seek(thandle_t handle, toff_t offset, int whence)
{
    TiffInput::Place& place = PlaceOf(handle);
    const uint64_t base = whence == SEEK_CUR ? place.at : whence == SEEK_END ? place.source->Size() : 0;
    place.at = base + offset;
    return place.at;
}

int Close(thandle_t)
{
    return 0;
}

toff_t Size(thandle_t handle)
{
    return PlaceOf(handle).source->Size();
}

// Bytes in memory already are read where they lie; others through reads
// (the input opens them unmapped, and libtiff asks for no map).
int Map(thandle_t handle, void** base, toff_t* size)
{
    const ByteSource& source = *PlaceOf(handle).source;
    *base = const_cast<uint8_t*>(source.InMemory());
    *size = source.Size();
    return *base != nullptr;
}

void Unmap(thandle_t, void*, toff_t) {}

// libtiff's JPEG codings pass libjpeg's warnings (corrupt data, data ending
// early, a bad code) and errors on under these names. An error is damage even
// where libtiff goes on: it takes a stream whose end libjpeg refuses (a marker
// it does not know in place of the end marker) as read.
bool IsLibjpeg(const char* module)
{
    return module && (std::strcmp(module, "JPEGLib") == 0 || std::strcmp(module, "LibJpeg") == 0);
}

// libtiff's other messages are kept quiet: the calls' answers end a read.
int Told(TIFF*, void* damaged, const char* module, const char*, va_list)
{
    if (IsLibjpeg(module))
        *static_cast<bool*>(damaged) = true;
    return 1;
}

}  // namespace

TiffInput::TiffInput(const ByteSource& source, bool* damaged)
    : m_source(source), m_mapped(source.InMemory() != nullptr), m_place{&source, 0, &m_directory},
      m_damaged(damaged)
{
    m_directory.Read(source);
}

std::unique_ptr<TiffInput> TiffInput::Twin() const
{
    return std::unique_ptr<TiffInput>(new TiffInput(m_source, m_damaged));
}

TiffInput::~TiffInput()
{
    if (m_tiff)
        TIFFClose(m_tiff);
}

tiff* TiffInput::Open()
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t(kTiffMostAtOnce));
    TIFFOpenOptionsSetErrorHandlerExtR(options, Told, m_damaged);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Told, m_damaged);
    // libtiff reads a directory of a mapped file where it lies: one with
    // fields left out is read through the reads, and the file mapped after.
    const bool kept = !m_directory.Kept().empty();
    m_tiff = TIFFClientOpenExt("", kept || !IsMapped() ? "rm" : "r", HandleOf(m_place), ReadBytes, WriteNothing, Seek,
                               Close, Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    if (m_tiff && kept && IsMapped()) {
        void* base = nullptr;
        toff_t size = 0;
        Map(HandleOf(m_place), &base, &size);
        m_tiff->tif_base = static_cast<uint8_t*>(base);
        m_tiff->tif_size = tmsize_t(size);
        m_tiff->tif_flags |= TIFF_MAPPED;
    }
    return m_tiff;
}

}  // namespace rasterlib
