// KWStream: the buffered binary stream.
//
// A small C-style module: a stream object with a table of four back-end
// functions, an 8,192-byte buffer between the caller and the back end, and two
// back ends (a disk file opened with an fopen-like mode string, a growable block
// of memory). Every operation takes the stream as its first argument.
//
// A stream has no lock; one thread uses it at a time.
#pragma once

#include <cstdint>

// Mode bits parsed from a mode string.
enum : uint32_t {
    KWSTREAM_MODE_READ = 1,
    KWSTREAM_MODE_WRITE = 2,
    KWSTREAM_MODE_APPEND = 4,
    KWSTREAM_MODE_BINARY = 8,
    KWSTREAM_MODE_CREATE = 16,  // create and truncate
    KWSTREAM_MODE_MEMORY = KWSTREAM_MODE_READ | KWSTREAM_MODE_WRITE | KWSTREAM_MODE_BINARY,  // 11
};

// State bits.
enum : uint32_t {
    KWSTREAM_STATE_SETUP = 2,       // the stream is set up
    KWSTREAM_STATE_OWNBUF = 8,      // the buffer was allocated by the stream
    KWSTREAM_STATE_READAHEAD = 16,  // the buffer holds read-ahead data
    KWSTREAM_STATE_WRITING = 32,    // the buffer holds bytes not yet written
};

// Error bits.
enum : uint32_t {
    KWSTREAM_ERR_EOF = 1,  // end of data met by a read
    KWSTREAM_ERR_IO = 2,   // a back-end read or write failed
};

enum { KWSTREAM_BUFFER_SIZE = 8192 };

// Seek origins.
enum { KWSTREAM_SEEK_SET = 0, KWSTREAM_SEEK_CUR = 1, KWSTREAM_SEEK_END = 2 };

// The back-end table. Only these four functions are ever called.
struct KWStreamBackend {
    int32_t (*read)(void* handle, void* buffer, int32_t n);         // count, or < 0 on failure
    int32_t (*write)(void* handle, const void* buffer, int32_t n);  // count written
    // Positions are 64-bit: a file reaches past 2 GB and 4 GB.
    int64_t (*seek)(void* handle, int64_t offset, int origin);      // new position, or < 0
    void (*close)(void* handle);
};

// The memory back end's descriptor (the back-end handle of a memory stream).
struct KWMemoryDescriptor {
    uint8_t* data;
    uint32_t capacity;
    uint32_t length;    // bytes of valid data
    uint32_t position;
    uint32_t growable;  // 1: the block doubles when a write runs past the capacity
    uint32_t owned;     // 1: the block is freed (free) when the stream closes
};

// The stream object; fields in their documented order.
struct KWStream {
    uint32_t mode;
    uint32_t state;
    uint32_t error;
    uint8_t* bufferAlloc;  // heap block of the buffer (null with the one-byte fallback)
    uint8_t* bufferBase;   // first data byte of the buffer
    int32_t bufferSize;    // 8192, or 1 for the fallback buffer
    uint8_t* cursor;       // next byte to take from or put into the buffer
    int32_t count;         // reading: read-ahead bytes left; writing: free bytes left
    const KWStreamBackend* backend;
    void* handle;          // file: heap cell with the descriptor; memory: KWMemoryDescriptor
    uint8_t fallback;      // the one-byte buffer used when the 8,192 bytes cannot be had
};

// Opens a file; the name is 8-bit text in the ANSI code page. Null on failure.
KWStream* KWStreamOpenFile(const char* fileName, const char* mode);
// The same by a UTF-16 name, so that names outside the ANSI code page open too.
KWStream* KWStreamOpenWideFile(const wchar_t* fileName, const char* mode);
// Opens a stream over memory: data may be null (a block is allocated and owned);
// size > 0 gives a fixed block of that size holding existing data, size <= 0 a
// growing block that starts at 1,024 bytes. Null when no block can be had.
KWStream* KWStreamOpenMemory(void* data, int32_t size);
// Opens a stream over a back end of the caller's (used by the opens above and
// by tests that count back-end calls). The handle is closed through the
// table's close when the stream closes.
KWStream* KWStreamOpenBackend(const KWStreamBackend* backend, void* handle, uint32_t mode);

// Parses an fopen-like mode string into mode bits.
uint32_t KWStreamParseMode(const char* mode);

int32_t KWStreamRead(KWStream* s, void* dst, int32_t n);
int32_t KWStreamWrite(KWStream* s, const void* src, int32_t n);
// Reads and writes of a buffer or more go to the back end in one call, after
// what the buffer holds; otherwise as KWStreamRead and KWStreamWrite.
int32_t KWStreamReadBlock(KWStream* s, void* dst, int32_t n);
int32_t KWStreamWriteBlock(KWStream* s, const void* src, int32_t n);
int KWStreamFillBuffer(KWStream* s, int take);
int KWStreamFlushWrite(KWStream* s, int byte);
// Positions and lengths are byte counts of 64 bits, so that a file past
// 2 GB and 4 GB is read and written whole; -1 reports failure.
int64_t KWStreamSeek(KWStream* s, int64_t offset, int origin);
int64_t KWStreamGetPos(KWStream* s);
int64_t KWStreamLength(KWStream* s);
int KWStreamFlush(KWStream* s);
int KWStreamClose(KWStream* s);
// The data pointer of a memory stream (null for other streams).
void* KWStreamGetBackendData(KWStream* s);
// The data pointer of a memory stream, which the caller then owns (free it with
// free): the stream neither grows nor frees it any more. Pending output is
// written into the block first.
void* KWStreamDetachMemory(KWStream* s);
