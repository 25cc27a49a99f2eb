#pragma once
// CGStream: the interface of the writer's side buffers: a byte stream with a
// position and a sticky error code.
#include <cstdint>

class CGStream {
public:
    // Seek position that stands for the end of the data.
    static constexpr uint32_t kEnd = 0xFFFFFFFFu;
    // Error codes.
    static constexpr uint32_t kErrorWrite = 2321;   // no room and no growth allowed
    static constexpr uint32_t kErrorMemory = 3088;  // the buffer could not grow

    virtual ~CGStream() = default;

    // Bytes moved.
    virtual uint32_t Read(void* bytes, uint32_t count) = 0;
    virtual uint32_t Write(const void* bytes, uint32_t count) = 0;
    // The position reached.
    virtual uint32_t Seek(uint32_t position) = 0;
    virtual void Flush() = 0;
    virtual bool SetSize(uint32_t size) = 0;
    virtual void ResetError() { m_error = 0; }

    uint32_t Tell() const { return m_position; }
    uint32_t GetError() const { return m_error; }

protected:
    // Makes room for size bytes, keeping the contents; false on failure.
    virtual bool AllocateBuffer(uint32_t size) = 0;

    uint32_t m_position = 0;
    uint32_t m_error = 0;
};
