#include "platform/rasterlib/JpegScanBits.h"

#include "platform/rasterlib/JpegMarkerScan.h"

#include <cstring>
#include <new>

namespace rasterlib {

namespace {

// The data taken out at a time; the position stays far below 2^32 bits.
constexpr size_t kStretch = 64 * 1024;
// Zeros behind the data: what an MCU can read past them, and a word.
constexpr size_t kPadding = JpegScanBits::kMcuBytes + 8;

}  // namespace

bool JpegScanBits::Start(const uint8_t* data, const uint8_t* end)
{
    try {
        m_buffer.resize(kStretch + kPadding);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_in = data;
    m_end = end;
    Restart();
    return true;
}

void JpegScanBits::Restart()
{
    m_length = 0;
    m_position = 0;
    m_ended = false;
    m_marker = 0;
    Fill();
}

void JpegScanBits::Fill()
{
    uint8_t* buffer = m_buffer.data();
    const size_t consumed = m_position >> 3;
    const size_t kept = m_length > consumed ? m_length - consumed : 0;
    std::memmove(buffer, buffer + consumed, kept);
    m_length = kept;
    m_position &= 7;
    while (m_length < kStretch && !m_ended) {
        const size_t left = size_t(m_end - m_in);
        if (left == 0) {
            m_ended = true;
            break;
        }
        const size_t span = left < kStretch - m_length ? left : kStretch - m_length;
        const size_t run = FindMarkerByte(m_in, 0, span);
        std::memcpy(buffer + m_length, m_in, run);
        m_length += run;
        m_in += run;
        if (run == span)
            continue;
        // An FF: fill bytes, then 0 for a data byte FF or a marker.
        const uint8_t* next = m_in + 1;
        while (next < m_end && *next == 0xFF)
            ++next;
        m_sawFill = m_sawFill || next != m_in + 1;
        if (next == m_end) {
            m_in = next;
            m_ended = true;
        } else if (*next == 0) {
            buffer[m_length++] = 0xFF;
            m_in = next + 1;
        } else {
            m_marker = *next;
            m_in = next + 1;
            m_ended = true;
        }
    }
    std::memset(buffer + m_length, 0, kPadding);
}

bool JpegScanBits::EndsAtPosition()
{
    // After one fill more than a stretch is left, or the interval has ended.
    if (!m_ended)
        Fill();
    return m_ended && (size_t(m_position) + 7) / 8 == m_length;
}

uint8_t JpegScanBits::SkipToMarker()
{
    while (!m_ended) {
        m_position = uint32_t(m_length * 8);
        Fill();
    }
    return m_marker;
}

}  // namespace rasterlib
