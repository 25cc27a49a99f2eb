#include "files/Base64.h"

namespace {

// Digit values by byte; -1 for a character outside the alphabet.
struct DigitTable {
    int8_t value[256];
    DigitTable()
    {
        for (int8_t& v : value)
            v = -1;
        for (int i = 0; i < 64; ++i)
            value[static_cast<uint8_t>(CBase64::kAlphabet[i])] = static_cast<int8_t>(i);
    }
};

const DigitTable& Digits()
{
    static const DigitTable table;
    return table;
}

}  // namespace

const char CBase64::kAlphabet[66] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

int32_t CBase64::Encode(const uint8_t* source, char* destination, int32_t length)
{
    if (!source || !destination || length < 1)
        return 0;
    char* out = destination;
    int32_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t group = (uint32_t(source[i]) << 16) | (uint32_t(source[i + 1]) << 8) | source[i + 2];
        *out++ = kAlphabet[(group >> 18) & 63];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = kAlphabet[(group >> 6) & 63];
        *out++ = kAlphabet[group & 63];
    }
    int32_t rest = length - i;
    if (rest > 0) {
        uint32_t group = uint32_t(source[i]) << 16;
        if (rest == 2)
            group |= uint32_t(source[i + 1]) << 8;
        *out++ = kAlphabet[(group >> 18) & 63];
        *out++ = kAlphabet[(group >> 12) & 63];
        if (rest == 2)
            *out++ = kAlphabet[(group >> 6) & 63];
        else
            *out++ = kPadding;
        *out++ = kPadding;
    }
    return static_cast<int32_t>(out - destination);
}

int32_t CBase64::Decode(const char* source, uint8_t* destination, int32_t length)
{
    if (!source || !destination || length < 1)
        return 0;
    CDecoder decoder;
    int32_t written = decoder.Feed(source, length, destination);
    return written + decoder.Finish(destination + written);
}

int32_t CBase64::CDecoder::Feed(const char* text, int32_t length, uint8_t* destination)
{
    const DigitTable& digits = Digits();
    uint8_t* out = destination;
    for (int32_t i = 0; i < length && !m_done; ++i) {
        char ch = text[i];
        if (ch == kPadding) {
            m_done = true;
            break;
        }
        int8_t value = digits.value[static_cast<uint8_t>(ch)];
        if (value < 0)
            continue;
        m_bits = (m_bits << 6) | uint32_t(value);
        if (++m_digits == 4) {
            *out++ = uint8_t(m_bits >> 16);
            *out++ = uint8_t(m_bits >> 8);
            *out++ = uint8_t(m_bits);
            m_bits = 0;
            m_digits = 0;
        }
    }
    return static_cast<int32_t>(out - destination);
}

int32_t CBase64::CDecoder::Finish(uint8_t* destination)
{
    int32_t written = 0;
    if (m_digits == 2) {
        destination[written++] = uint8_t(m_bits >> 4);
    } else if (m_digits == 3) {
        destination[written++] = uint8_t(m_bits >> 10);
        destination[written++] = uint8_t(m_bits >> 2);
    }
    m_bits = 0;
    m_digits = 0;
    return written;
}
