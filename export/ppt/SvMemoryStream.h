#pragma once
// SvMemoryStream: a growable byte buffer with the CGStream interface. Once an
// error is set, writes do nothing until it is reset.
#include "export/ppt/CGStream.h"

#include <cstdint>
#include <memory>

class SvMemoryStream : public CGStream {
public:
    SvMemoryStream(uint32_t initialSize, uint32_t growth);
    SvMemoryStream(const SvMemoryStream&) = delete;
    SvMemoryStream& operator=(const SvMemoryStream&) = delete;

    uint32_t Read(void* bytes, uint32_t count) override;
    uint32_t Write(const void* bytes, uint32_t count) override;
    uint32_t Seek(uint32_t position) override;
    void Flush() override {}
    // Cuts or extends (with zeros) the data to size bytes.
    bool SetSize(uint32_t size) override;

    void WriteU32(uint32_t value);

    const uint8_t* GetData() const { return m_buffer.get(); }
    // The end of the data.
    uint32_t GetSize() const { return m_end; }
    uint32_t GetBufferSize() const { return m_bufferSize; }

protected:
    bool AllocateBuffer(uint32_t size) override;

private:
    std::unique_ptr<uint8_t[]> m_buffer;
    uint32_t m_bufferSize = 0;
    uint32_t m_growth;
    uint32_t m_end = 0;
};
