#include "export/ppt/SvMemoryStream.h"

#include <cstring>
#include <new>

SvMemoryStream::SvMemoryStream(uint32_t initialSize, uint32_t growth) : m_growth(growth)
{
    if (initialSize && !AllocateBuffer(initialSize))
        m_error = kErrorMemory;
}

bool SvMemoryStream::AllocateBuffer(uint32_t size)
{
    if (size <= m_bufferSize)
        return true;
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size]);
    if (!buffer)
        return false;
    if (m_end)
        std::memcpy(buffer.get(), m_buffer.get(), m_end);
    std::memset(buffer.get() + m_end, 0, size - m_end);
    m_buffer = std::move(buffer);
    m_bufferSize = size;
    return true;
}

uint32_t SvMemoryStream::Read(void* bytes, uint32_t count)
{
    const uint32_t available = m_position < m_end ? m_end - m_position : 0;
    if (count > available)
        count = available;
    if (count) {
        std::memcpy(bytes, m_buffer.get() + m_position, count);
        m_position += count;
    }
    return count;
}

uint32_t SvMemoryStream::Write(const void* bytes, uint32_t count)
{
    if (m_error || count == 0)
        return 0;
    const uint64_t need = static_cast<uint64_t>(m_position) + count;
    if (need > m_bufferSize) {
        if (m_growth == 0) {
            count = m_bufferSize - m_position;
            m_error = kErrorWrite;
        } else {
            const uint64_t missing = need - m_bufferSize;
            uint64_t grow = m_bufferSize > m_growth ? m_bufferSize : m_growth;
            if (missing >= m_growth)
                grow += missing;
            const uint64_t size = m_bufferSize + grow;
            if (size > 0xFFFFFFFFull || !AllocateBuffer(static_cast<uint32_t>(size))) {
                m_error = kErrorMemory;
                return 0;
            }
        }
    }
    if (count) {
        std::memcpy(m_buffer.get() + m_position, bytes, count);
        m_position += count;
        if (m_position > m_end)
            m_end = m_position;
    }
    return count;
}

void SvMemoryStream::WriteU32(uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    Write(bytes, 4);
}

uint32_t SvMemoryStream::Seek(uint32_t position)
{
    if (position == kEnd) {
        m_position = m_end;
        return m_position;
    }
    if (position > m_end) {
        if (m_growth == 0) {
            m_position = m_end;
            return m_position;
        }
        if (position >= m_bufferSize) {
            const uint64_t size = static_cast<uint64_t>(position) + m_growth + 1;
            if (size > 0xFFFFFFFFull || !AllocateBuffer(static_cast<uint32_t>(size))) {
                m_error = kErrorMemory;
                return m_position;
            }
        }
        // The bytes between the old and the new end are zero (the buffer is
        // cleared when made and when data are cut off).
        m_end = position;
    }
    m_position = position;
    return m_position;
}

bool SvMemoryStream::SetSize(uint32_t size)
{
    if (size > m_bufferSize && !AllocateBuffer(size)) {
        m_error = kErrorMemory;
        return false;
    }
    if (size < m_end)
        std::memset(m_buffer.get() + size, 0, m_end - size);
    m_end = size;
    if (m_position > m_end)
        m_position = m_end;
    return true;
}
