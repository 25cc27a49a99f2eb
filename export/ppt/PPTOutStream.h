#pragma once
// PPTOutStream: the writer's view of one structured-storage stream. Values go
// out little-endian. The first failing call (an error result, or fewer bytes
// moved than asked) is kept, so the writer can check the whole stream once at
// the end instead of after every record.
#include <objidl.h>

#include <cstdint>

class PPTOutStream {
public:
    // Seek position that stands for the end of the stream.
    static constexpr uint32_t kEnd = 0xFFFFFFFFu;

    PPTOutStream() = default;
    ~PPTOutStream();
    PPTOutStream(const PPTOutStream&) = delete;
    PPTOutStream& operator=(const PPTOutStream&) = delete;

    // Takes over one reference of the stream (releasing the previous one) and
    // clears the error state.
    void Attach(IStream* stream);
    // Releases the stream; the error state stays readable.
    void Release();
    IStream* Get() const { return m_stream; }
    bool IsOpen() const { return m_stream != nullptr; }

    PPTOutStream& WriteU8(uint8_t value);
    PPTOutStream& WriteU16(uint16_t value);
    PPTOutStream& WriteU32(uint32_t value);
    PPTOutStream& WriteBytes(const void* bytes, uint32_t count);
    // count zero bytes.
    PPTOutStream& WriteZeros(uint32_t count);

    // False (and the error kept) when fewer bytes could be read.
    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    bool ReadBytes(void* bytes, uint32_t count);

    // The current position; -1 when the stream cannot tell.
    int64_t Tell();
    // From the beginning; kEnd goes to the end of the stream.
    PPTOutStream& Seek(uint32_t position);
    PPTOutStream& SeekRelative(int32_t delta);
    // The stream's size (the position is kept); -1 on failure.
    int64_t GetSize();

    // The result of the last call.
    HRESULT GetLastResult() const { return m_lastResult; }
    // The first failure since Attach (S_OK when none).
    HRESULT GetError() const { return m_error; }
    bool Failed() const { return FAILED(m_error); }
    // The system's error at the first failure (a storage's write fault does
    // not say that the disk is full; this does); 0 when it named none.
    DWORD GetSystemError() const { return m_systemError; }

private:
    void Note(HRESULT result, DWORD systemError = 0);

    IStream* m_stream = nullptr;
    HRESULT m_lastResult = S_OK;
    HRESULT m_error = S_OK;
    DWORD m_systemError = 0;
};
