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
TiffInput::Memory& MemoryOf(thandle_t handle)
{
    return *static_cast<TiffInput::Memory*>(static_cast<void*>(handle));
}

thandle_t HandleOf(TiffInput::Memory& memory)
{
    return static_cast<thandle_t>(static_cast<void*>(&memory));
}

tmsize_t ReadBytes(thandle_t handle, void* out, tmsize_t count)
{
    TiffInput::Memory& memory = MemoryOf(handle);
    if (count < 0 || memory.at >= memory.size)
        return 0;
    const uint64_t taken = std::min<uint64_t>(uint64_t(count), memory.size - memory.at);
    std::memcpy(out, memory.bytes + memory.at, size_t(taken));
    // The part of the directory kept that the read covers.
    const std::vector<uint8_t>& kept = memory.directory->Kept();
    const uint64_t keptAt = memory.directory->At(), end = memory.at + taken;
    if (!kept.empty() && memory.at < keptAt + kept.size() && end > keptAt) {
        const uint64_t from = std::max(memory.at, keptAt), to = std::min(end, keptAt + kept.size());
        std::memcpy(static_cast<uint8_t*>(out) + (from - memory.at), kept.data() + (from - keptAt), size_t(to - from));
    }
    memory.at += taken;
    return tmsize_t(taken);
}

tmsize_t WriteNothing(thandle_t, void*, tmsize_t)
{
    return -1;
}

toff_t Seek(thandle_t handle, toff_t offset, int whence)
{
    TiffInput::Memory& memory = MemoryOf(handle);
    const uint64_t base = whence == SEEK_CUR ? memory.at : whence == SEEK_END ? memory.size : 0;
    memory.at = base + offset;
    return memory.at;
}

int Close(thandle_t)
{
    return 0;
}

toff_t Size(thandle_t handle)
{
    return MemoryOf(handle).size;
}

// The bytes are in memory already: libtiff reads a strip's coded bytes where
// they lie.
int Map(thandle_t handle, void** base, toff_t* size)
{
    *base = const_cast<uint8_t*>(MemoryOf(handle).bytes);
    *size = MemoryOf(handle).size;
    return 1;
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

TiffInput::TiffInput(const uint8_t* bytes, size_t count, bool* damaged)
    : m_memory{bytes, count, 0, &m_directory}, m_damaged(damaged)
{
    m_directory.Read(bytes, count);
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
    m_tiff = TIFFClientOpenExt("", kept ? "rm" : "r", HandleOf(m_memory), ReadBytes, WriteNothing, Seek, Close, Size,
                               Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    if (m_tiff && kept) {
        void* base = nullptr;
        toff_t size = 0;
        Map(HandleOf(m_memory), &base, &size);
        m_tiff->tif_base = static_cast<uint8_t*>(base);
        m_tiff->tif_size = tmsize_t(size);
        m_tiff->tif_flags |= TIFF_MAPPED;
    }
    return m_tiff;
}

}  // namespace rasterlib
