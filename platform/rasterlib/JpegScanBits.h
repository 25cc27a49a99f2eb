// The entropy-coded data of a JPEG scan with their stuffed bytes taken out, a
// stretch at a time, read by bit position up to the marker that ends each
// restart interval. Behind the data lie zero bytes enough for an MCU, so that a
// reader need check for running past the data only once an MCU.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rasterlib {

class JpegScanBits {
public:
    // More than the bits an MCU of up to six blocks can take.
    static constexpr size_t kMcuBytes = 2048;

    // The data from the first byte after the scan header to the end of the file.
    // False when memory is short.
    bool Start(const uint8_t* data, const uint8_t* end);

    // At least kMcuBytes ahead of the position, unless the interval's data end before.
    void Reserve()
    {
        if (!m_ended && m_length - (m_position >> 3) < kMcuBytes)
            Fill();
    }

    const uint8_t* Bytes() const { return m_buffer.data(); }
    uint32_t Position() const { return m_position; }
    void SetPosition(uint32_t position) { m_position = position; }
    // True once the reading went past the interval's data.
    bool Overrun() const { return m_position > m_length * 8; }

    // Passes over what is left of the interval to the marker that ends it, and
    // answers it (0: the file ended first).
    uint8_t SkipToMarker();
    // True when the interval's data end with the position's byte, as a decoder
    // that warns of bytes left over before a marker asks; the marker is then
    // Marker().
    bool EndsAtPosition();
    uint8_t Marker() const { return m_marker; }
    // True once fill bytes (FF FF) stood in the data read so far: libjpeg-turbo's
    // fast decoding reads such data in a way of its own.
    bool SawFillBytes() const { return m_sawFill; }
    // Goes on after a restart marker.
    void Restart();

private:
    void Fill();

    std::vector<uint8_t> m_buffer;
    const uint8_t* m_in = nullptr;
    const uint8_t* m_end = nullptr;
    size_t m_length = 0;  // bytes of data in the buffer
    uint32_t m_position = 0;
    bool m_ended = false;
    bool m_sawFill = false;
    uint8_t m_marker = 0;
};

}  // namespace rasterlib
