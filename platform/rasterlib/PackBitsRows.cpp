#include "platform/rasterlib/PackBitsRows.h"

#include "platform/rasterlib/TiffStriles.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace rasterlib {

namespace {

constexpr size_t kWindow = size_t(64) << 10;
// libtiff copies a strip whose bits it turns into a buffer of whole kilobytes.
constexpr uint64_t kCopyStep = 1024;

}  // namespace

PackBitsRows::PackBitsRows(tiff* tif, uint64_t mostAtOnce) : m_tiff(tif), m_mostAtOnce(mostAtOnce)
{
    uint16_t fillOrder = FILLORDER_MSB2LSB, bits = 8;
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    m_reversed = fillOrder == FILLORDER_LSB2MSB;
    m_swab = bits == 16 && TIFFIsByteSwapped(tif);
    m_window.reserve(kWindow);
}

bool PackBitsRows::StartStrip(uint32_t strip)
{
    // A run or literal left in hand went past the last strip's end.
    m_window.clear();
    m_at = 0;
    m_unread = m_run = 0;
    uint64_t count = 0;
    if (strip >= TIFFNumberOfStrips(m_tiff) || !StrileBytes(m_tiff, strip, m_offset, count) ||
        (m_reversed && (count + kCopyStep - 1) / kCopyStep * kCopyStep > m_mostAtOnce))
        return false;
    m_unread = count;
    return true;
}

bool PackBitsRows::Fill()
{
    const size_t count = size_t(std::min<uint64_t>(m_unread, kWindow));
    const thandle_t handle = TIFFClientdata(m_tiff);
    m_window.resize(count);
    m_at = 0;
    if (count == 0 || TIFFGetSeekProc(m_tiff)(handle, m_offset, SEEK_SET) != m_offset ||
        TIFFGetReadProc(m_tiff)(handle, m_window.data(), tmsize_t(count)) != tmsize_t(count))
        return false;
    if (m_reversed)
        TIFFReverseBits(m_window.data(), tmsize_t(count));
    m_offset += count;
    m_unread -= count;
    return true;
}

bool PackBitsRows::NextByte(uint8_t& byte)
{
    if (m_at == m_window.size() && !Fill())
        return false;
    byte = m_window[m_at++];
    return true;
}

bool PackBitsRows::ReadRow(uint8_t* row, size_t count)
{
    for (size_t done = 0; done < count;) {
        if (m_run == 0) {
            uint8_t header = 0;
            if (!NextByte(header))
                return false;
            if (header == 0x80)  // no operation
                continue;
            // 0x81 to 0xFF: the next byte 2 to 128 times; 0 to 0x7F: 1 to 128 bytes as they are.
            m_repeat = header > 0x80;
            m_run = m_repeat ? 257u - header : header + 1u;
            if (m_repeat && !NextByte(m_value))
                return false;
        }
        size_t take = std::min(m_run, count - done);
        m_run -= take;
        if (m_repeat) {
            std::memset(row + done, m_value, take);
            done += take;
        }
        while (!m_repeat && take > 0) {
            if (m_at == m_window.size() && !Fill())
                return false;
            const size_t piece = std::min(take, m_window.size() - m_at);
            std::memcpy(row + done, &m_window[m_at], piece);
            m_at += piece;
            done += piece;
            take -= piece;
        }
    }
    if (m_swab)
        TIFFSwabArrayOfShort(reinterpret_cast<uint16_t*>(row), tmsize_t(count / 2));
    return true;
}

}  // namespace rasterlib
