// The buffered binary stream.
#include "framework/KWStream.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const uint32_t kMemoryInitialCapacity = 1024;
const int64_t kMaxPosition = INT32_MAX;

// ---- File back end: the C runtime's descriptor functions --------------------

int32_t FileRead(void* handle, void* buffer, int32_t n)
{
    return ::_read(*static_cast<int*>(handle), buffer, static_cast<unsigned>(n));
}

int32_t FileWrite(void* handle, const void* buffer, int32_t n)
{
    return ::_write(*static_cast<int*>(handle), buffer, static_cast<unsigned>(n));
}

int64_t FileSeek(void* handle, int64_t offset, int origin)
{
    const int whence = origin == KWSTREAM_SEEK_CUR ? SEEK_CUR : origin == KWSTREAM_SEEK_END ? SEEK_END : SEEK_SET;
    const int64_t position = ::_lseeki64(*static_cast<int*>(handle), offset, whence);
    return position < 0 ? -1 : position;
}

void FileClose(void* handle)
{
    int fd = *static_cast<int*>(handle);
    std::free(handle);
    ::_close(fd);
}

const KWStreamBackend kFileBackend = {FileRead, FileWrite, FileSeek, FileClose};

// The flags of the system's _open for mode bits of KWStreamParseMode; create
// truncates.
int SystemOpenFlags(uint32_t bits)
{
    const bool reads = (bits & KWSTREAM_MODE_READ) != 0;
    // Append alone still means writing (the writing operations accept the append bit).
    const bool writes = (bits & (KWSTREAM_MODE_WRITE | KWSTREAM_MODE_APPEND)) != 0;
    int flags = reads && writes ? _O_RDWR : writes ? _O_WRONLY : _O_RDONLY;
    if (bits & KWSTREAM_MODE_APPEND)
        flags |= _O_APPEND;
    if (bits & KWSTREAM_MODE_BINARY)
        flags |= _O_BINARY;
    if (bits & KWSTREAM_MODE_CREATE)
        flags |= _O_CREAT | _O_TRUNC;
    return flags;
}

// A stream over the descriptor of a file just opened (below 0: the open
// failed); null, the descriptor closed, when no stream can be had.
KWStream* OpenDescriptor(int fd, uint32_t bits)
{
    if (fd < 0)
        return nullptr;
    int* cell = static_cast<int*>(std::malloc(sizeof(int)));
    if (!cell) {
        ::_close(fd);
        return nullptr;
    }
    *cell = fd;
    KWStream* s = KWStreamOpenBackend(&kFileBackend, cell, bits);
    if (!s)
        FileClose(cell);
    return s;
}

// ---- Memory back end --------------------------------------------------------

int32_t MemoryRead(void* handle, void* buffer, int32_t n)
{
    KWMemoryDescriptor* md = static_cast<KWMemoryDescriptor*>(handle);
    if (n <= 0 || md->position >= md->length)
        return 0;
    uint32_t avail = md->length - md->position;
    uint32_t take = static_cast<uint32_t>(n) < avail ? static_cast<uint32_t>(n) : avail;
    std::memcpy(buffer, md->data + md->position, take);
    md->position += take;
    return static_cast<int32_t>(take);
}

int32_t MemoryWrite(void* handle, const void* buffer, int32_t n)
{
    KWMemoryDescriptor* md = static_cast<KWMemoryDescriptor*>(handle);
    if (n < 0)
        return -1;
    int64_t need = static_cast<int64_t>(md->position) + n;
    if (need > md->capacity && md->growable) {
        // Doubling keeps a long write sequence at a logarithmic number of reallocations.
        int64_t cap = md->capacity ? md->capacity : 1;
        while (cap < need)
            cap *= 2;
        if (cap > kMaxPosition)
            return -1;
        uint8_t* grown = static_cast<uint8_t*>(std::realloc(md->data, static_cast<size_t>(cap)));
        if (!grown)
            return -1;
        md->data = grown;
        md->capacity = static_cast<uint32_t>(cap);
    }
    if (md->position > md->length) {
        // A seek beyond the data leaves a gap that reads as zero bytes.
        uint32_t gapEnd = md->position < md->capacity ? md->position : md->capacity;
        if (gapEnd > md->length) {
            std::memset(md->data + md->length, 0, gapEnd - md->length);
            md->length = gapEnd;
        }
        if (md->position != md->length)
            return 0;  // the gap reaches past a block that cannot grow
    }
    if (md->position >= md->capacity)
        return 0;
    uint32_t room = md->capacity - md->position;
    uint32_t put = static_cast<uint32_t>(n) < room ? static_cast<uint32_t>(n) : room;
    if (put)
        std::memcpy(md->data + md->position, buffer, put);
    md->position += put;
    if (md->position > md->length)
        md->length = md->position;
    return static_cast<int32_t>(put);
}

int64_t MemorySeek(void* handle, int64_t offset, int origin)
{
    KWMemoryDescriptor* md = static_cast<KWMemoryDescriptor*>(handle);
    int64_t pos;
    switch (origin) {
    case KWSTREAM_SEEK_CUR: pos = md->position + offset; break;
    // Origin 2 counts a memory stream's offset back from the end (length minus
    // offset), so a positive offset from the end lands inside the block.
    case KWSTREAM_SEEK_END: pos = md->length - offset; break;
    default: pos = offset; break;
    }
    if (pos < 0 || pos > kMaxPosition)
        return -1;
    md->position = static_cast<uint32_t>(pos);
    return pos;
}

void MemoryClose(void* handle)
{
    KWMemoryDescriptor* md = static_cast<KWMemoryDescriptor*>(handle);
    if (md->owned)
        std::free(md->data);
    std::free(md);
}

const KWStreamBackend kMemoryBackend = {MemoryRead, MemoryWrite, MemorySeek, MemoryClose};

// Allocates a stream object with its buffer; the back end is attached later.
KWStream* NewStream(uint32_t mode)
{
    KWStream* s = static_cast<KWStream*>(std::calloc(1, sizeof(KWStream)));
    if (!s)
        return nullptr;
    s->mode = mode;
    s->bufferAlloc = static_cast<uint8_t*>(std::malloc(KWSTREAM_BUFFER_SIZE));
    if (s->bufferAlloc) {
        s->bufferBase = s->bufferAlloc;
        s->bufferSize = KWSTREAM_BUFFER_SIZE;
        s->state |= KWSTREAM_STATE_OWNBUF;
    } else {
        // Unbuffered but usable: a one-byte buffer inside the object.
        s->bufferBase = &s->fallback;
        s->bufferSize = 1;
    }
    s->cursor = s->bufferBase;
    s->count = 0;
    s->state |= KWSTREAM_STATE_SETUP;
    return s;
}

void FreeStream(KWStream* s)
{
    if (s->state & KWSTREAM_STATE_OWNBUF)
        std::free(s->bufferAlloc);
    std::free(s);
}

void EmptyBuffer(KWStream* s)
{
    s->state &= ~(KWSTREAM_STATE_READAHEAD | KWSTREAM_STATE_WRITING);
    s->count = 0;
    s->cursor = s->bufferBase;
}

bool CanRead(const KWStream* s) { return (s->mode & KWSTREAM_MODE_READ) != 0; }
bool CanWrite(const KWStream* s) { return (s->mode & (KWSTREAM_MODE_WRITE | KWSTREAM_MODE_APPEND)) != 0; }

KWMemoryDescriptor* MemoryOf(KWStream* s)
{
    if (!s || s->backend != &kMemoryBackend)
        return nullptr;
    return static_cast<KWMemoryDescriptor*>(s->handle);
}

}  // namespace

uint32_t KWStreamParseMode(const char* mode)
{
    uint32_t bits = 0;
    for (const char* p = mode; p && *p; ++p) {
        switch (*p) {
        case 'r': bits |= KWSTREAM_MODE_READ; break;
        case 'w': bits |= KWSTREAM_MODE_WRITE | KWSTREAM_MODE_CREATE; break;
        case '+': bits |= KWSTREAM_MODE_READ | KWSTREAM_MODE_WRITE; break;
        case 'a': bits |= KWSTREAM_MODE_APPEND; break;
        case 'b': bits |= KWSTREAM_MODE_BINARY; break;
        default: break;
        }
    }
    return bits;
}

KWStream* KWStreamOpenBackend(const KWStreamBackend* backend, void* handle, uint32_t mode)
{
    if (!backend)
        return nullptr;
    KWStream* s = NewStream(mode);
    if (!s)
        return nullptr;
    s->backend = backend;
    s->handle = handle;
    return s;
}

KWStream* KWStreamOpenFile(const char* fileName, const char* mode)
{
    if (!fileName)
        return nullptr;
    const uint32_t bits = KWStreamParseMode(mode);
    return OpenDescriptor(::_open(fileName, SystemOpenFlags(bits), _S_IREAD | _S_IWRITE), bits);
}

KWStream* KWStreamOpenWideFile(const wchar_t* fileName, const char* mode)
{
    if (!fileName)
        return nullptr;
    const uint32_t bits = KWStreamParseMode(mode);
    return OpenDescriptor(::_wopen(fileName, SystemOpenFlags(bits), _S_IREAD | _S_IWRITE), bits);
}

KWStream* KWStreamOpenMemory(void* data, int32_t size)
{
    KWStream* s = NewStream(KWSTREAM_MODE_MEMORY);
    if (!s)
        return nullptr;
    KWMemoryDescriptor* md = static_cast<KWMemoryDescriptor*>(std::calloc(1, sizeof(KWMemoryDescriptor)));
    if (!md) {
        FreeStream(s);
        return nullptr;
    }
    if (size > 0) {
        md->capacity = static_cast<uint32_t>(size);
        md->growable = 0;
    } else {
        md->capacity = kMemoryInitialCapacity;
        md->growable = 1;
        // A growing block is reallocated and freed by the stream, so a block of
        // the caller's cannot serve as one (its size is unknown): use our own.
        data = nullptr;
    }
    if (data) {
        md->data = static_cast<uint8_t*>(data);
        md->owned = 0;
        md->length = md->capacity;  // the stream reads existing data
    } else {
        md->data = static_cast<uint8_t*>(std::malloc(md->capacity));
        md->owned = 1;
        md->length = 0;
        if (!md->data) {
            std::free(md);
            FreeStream(s);
            return nullptr;
        }
    }
    md->position = 0;
    s->backend = &kMemoryBackend;
    s->handle = md;
    return s;
}

int KWStreamFillBuffer(KWStream* s, int take)
{
    s->state |= KWSTREAM_STATE_READAHEAD;
    s->cursor = s->bufferBase;
    int32_t got = s->backend->read(s->handle, s->bufferBase, s->bufferSize);
    if (got <= 0) {
        s->error |= got == 0 ? KWSTREAM_ERR_EOF : KWSTREAM_ERR_IO;
        s->count = 0;
        return -1;
    }
    s->count = got;
    if (!take)
        return *s->cursor;
    s->count--;
    return *s->cursor++;
}

int KWStreamFlushWrite(KWStream* s, int byte)
{
    int32_t pending = static_cast<int32_t>(s->cursor - s->bufferBase);
    if (pending > 0) {
        // One back-end call per full buffer.
        if (s->backend->write(s->handle, s->bufferBase, pending) != pending) {
            s->error |= KWSTREAM_ERR_IO;
            return -1;
        }
    }
    s->cursor = s->bufferBase;
    s->count = s->bufferSize;
    if (byte != -1) {
        *s->cursor++ = static_cast<uint8_t>(byte);
        s->count--;
        s->state |= KWSTREAM_STATE_WRITING;
    }
    return 0;
}

int32_t KWStreamRead(KWStream* s, void* dst, int32_t n)
{
    if (!s || !dst || n <= 0 || !CanRead(s))
        return 0;
    // Changing direction goes through a seek, which writes out pending output.
    if ((s->state & KWSTREAM_STATE_WRITING) && KWStreamSeek(s, 0, KWSTREAM_SEEK_CUR) < 0)
        return 0;
    uint8_t* out = static_cast<uint8_t*>(dst);
    int32_t done = 0;
    while (done < n && !s->error) {
        if (s->count > 0) {
            int32_t take = n - done < s->count ? n - done : s->count;
            std::memcpy(out + done, s->cursor, static_cast<size_t>(take));
            s->cursor += take;
            s->count -= take;
            done += take;
        } else {
            int c = KWStreamFillBuffer(s, 1);
            if (c < 0)
                break;
            out[done++] = static_cast<uint8_t>(c);
        }
    }
    return done;
}

int32_t KWStreamReadBlock(KWStream* s, void* dst, int32_t n)
{
    if (!s || !dst || n < s->bufferSize || !CanRead(s) || s->error)
        return KWStreamRead(s, dst, n);
    if ((s->state & KWSTREAM_STATE_WRITING) && KWStreamSeek(s, 0, KWSTREAM_SEEK_CUR) < 0)
        return 0;
    // What the buffer holds first; then whole blocks straight from the back
    // end, which spares a call and a copy per 8 KB of a large read.
    uint8_t* out = static_cast<uint8_t*>(dst);
    int32_t done = 0;
    if (s->count > 0) {
        done = n < s->count ? n : s->count;
        std::memcpy(out, s->cursor, static_cast<size_t>(done));
        s->cursor += done;
        s->count -= done;
    }
    while (n - done >= s->bufferSize && !s->error) {
        const int32_t got = s->backend->read(s->handle, out + done, n - done);
        if (got <= 0) {
            s->error |= got == 0 ? KWSTREAM_ERR_EOF : KWSTREAM_ERR_IO;
            return done;
        }
        done += got;
    }
    return done < n ? done + KWStreamRead(s, out + done, n - done) : done;
}

int32_t KWStreamWrite(KWStream* s, const void* src, int32_t n)
{
    if (!s || !src || n <= 0 || !CanWrite(s))
        return 0;
    if ((s->state & KWSTREAM_STATE_READAHEAD) && KWStreamSeek(s, 0, KWSTREAM_SEEK_CUR) < 0)
        return 0;
    const uint8_t* in = static_cast<const uint8_t*>(src);
    int32_t done = 0;
    while (done < n && !s->error) {
        s->state |= KWSTREAM_STATE_WRITING;
        if (s->count > 0) {
            int32_t put = n - done < s->count ? n - done : s->count;
            std::memcpy(s->cursor, in + done, static_cast<size_t>(put));
            s->cursor += put;
            s->count -= put;
            done += put;
        } else {
            // Buffer full (or the first write after opening or a seek): write it out.
            if (KWStreamFlushWrite(s, in[done]) < 0)
                break;
            done++;
        }
    }
    return done;
}

int32_t KWStreamWriteBlock(KWStream* s, const void* src, int32_t n)
{
    if (!s || !src || n < s->bufferSize || !CanWrite(s) || s->error)
        return KWStreamWrite(s, src, n);
    // A block of a buffer or more goes to the back end in one call, after
    // what the buffer holds: copying it through the buffer costs a call per
    // 8 KB.
    if ((s->state & KWSTREAM_STATE_READAHEAD) && KWStreamSeek(s, 0, KWSTREAM_SEEK_CUR) < 0)
        return 0;
    if (KWStreamFlushWrite(s, -1) < 0)
        return 0;
    s->state |= KWSTREAM_STATE_WRITING;
    const int32_t done = s->backend->write(s->handle, src, n);
    if (done != n)
        s->error |= KWSTREAM_ERR_IO;
    return done > 0 ? done : 0;
}

int KWStreamFlush(KWStream* s)
{
    if (!s)
        return -1;
    if (s->state & KWSTREAM_STATE_READAHEAD)
        return 0;
    if (s->error || !CanWrite(s))
        return -1;
    int32_t pending = static_cast<int32_t>(s->cursor - s->bufferBase);
    if (pending > 0 && s->backend->write(s->handle, s->bufferBase, pending) != pending) {
        s->error |= KWSTREAM_ERR_IO;
        return -1;
    }
    s->cursor = s->bufferBase;
    s->count = s->bufferSize;
    s->state |= KWSTREAM_STATE_WRITING;
    return 0;
}

int64_t KWStreamGetPos(KWStream* s)
{
    if (!s)
        return -1;
    int64_t pos = s->backend->seek(s->handle, 0, KWSTREAM_SEEK_CUR);
    if (pos < 0)
        return -1;
    if (s->state & KWSTREAM_STATE_READAHEAD)
        pos -= s->count;
    if (s->state & KWSTREAM_STATE_WRITING)
        pos += s->cursor - s->bufferBase;
    return pos;
}

int64_t KWStreamSeek(KWStream* s, int64_t offset, int origin)
{
    if (!s)
        return -1;
    s->error &= ~KWSTREAM_ERR_EOF;
    int64_t seen = -1;  // the position the caller sees, kept when the seek fails
    if (!(s->state & KWSTREAM_STATE_READAHEAD)) {
        if ((s->state & KWSTREAM_STATE_WRITING) && KWStreamFlush(s) != 0)
            return -1;
    } else {
        seen = KWStreamGetPos(s);
        // Count from the position the caller sees, not the back end's.
        if (origin == KWSTREAM_SEEK_CUR)
            offset -= s->count;
    }
    EmptyBuffer(s);
    int64_t pos = s->backend->seek(s->handle, offset, origin);
    if (pos < 0) {
        // The read-ahead is gone: put the back end where the caller stood.
        if (seen >= 0)
            s->backend->seek(s->handle, seen, KWSTREAM_SEEK_SET);
        return -1;
    }
    return pos;
}

int64_t KWStreamLength(KWStream* s)
{
    if (!s)
        return -1;
    int64_t saved = KWStreamGetPos(s);
    if (saved < 0)
        return -1;
    s->error &= ~KWSTREAM_ERR_EOF;
    if ((s->state & KWSTREAM_STATE_WRITING) && KWStreamFlush(s) != 0)
        return -1;
    EmptyBuffer(s);
    int64_t end = s->backend->seek(s->handle, 0, KWSTREAM_SEEK_END);
    if (end < 0)
        return -1;
    if (s->backend->seek(s->handle, saved, KWSTREAM_SEEK_SET) < 0)
        return -1;
    return end;
}

int KWStreamClose(KWStream* s)
{
    if (!s)
        return 0;
    KWStreamFlush(s);
    if (s->backend && s->backend->close)
        s->backend->close(s->handle);
    FreeStream(s);
    return 0;
}

void* KWStreamGetBackendData(KWStream* s)
{
    KWMemoryDescriptor* md = MemoryOf(s);
    return md ? md->data : nullptr;
}

void* KWStreamDetachMemory(KWStream* s)
{
    KWMemoryDescriptor* md = MemoryOf(s);
    if (!md)
        return nullptr;
    if (s->state & KWSTREAM_STATE_WRITING)
        KWStreamFlush(s);
    md->owned = 0;
    md->growable = 0;
    return md->data;
}
