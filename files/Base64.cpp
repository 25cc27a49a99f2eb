#include "files/Base64.h"

namespace {

// Digit values by byte: 0..63, kSkip for a character outside the alphabet,
// kEnd for the padding character.
const int8_t kSkip = -1;
const int8_t kEnd = -2;

struct DigitTable {
    int8_t value[256];
    DigitTable()
    {
        for (int8_t& v : value)
            v = kSkip;
        for (int i = 0; i < 64; ++i)
            value[static_cast<uint8_t>(CBase64::kAlphabet[i])] = static_cast<int8_t>(i);
        value[static_cast<uint8_t>(CBase64::kPadding)] = kEnd;
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
    if (m_done || !text || length <= 0)
        return 0;
    const int8_t* digits = Digits().value;
    const uint8_t* in = reinterpret_cast<const uint8_t*>(text);
    const uint8_t* const end = in + length;
    uint8_t* out = destination;
    // The state lives in locals while the text is walked.
    uint32_t bits = m_bits;
    int count = m_digits;
    for (;;) {
        if (count == 0) {
            // Four digits at a time while the text is unbroken Base64.
            while (end - in >= 4) {
                const int32_t a = digits[in[0]], b = digits[in[1]], c = digits[in[2]], d = digits[in[3]];
                if ((a | b | c | d) < 0)
                    break;
                const uint32_t group = (uint32_t(a) << 18) | (uint32_t(b) << 12) | (uint32_t(c) << 6) | uint32_t(d);
                out[0] = uint8_t(group >> 16);
                out[1] = uint8_t(group >> 8);
                out[2] = uint8_t(group);
                out += 3;
                in += 4;
            }
        }
        if (in == end)
            break;
        const int8_t value = digits[*in++];
        if (value == kEnd) {
            m_done = true;
            break;
        }
        if (value < 0)
            continue;
        bits = (bits << 6) | uint32_t(value);
        if (++count == 4) {
            out[0] = uint8_t(bits >> 16);
            out[1] = uint8_t(bits >> 8);
            out[2] = uint8_t(bits);
            out += 3;
            bits = 0;
            count = 0;
        }
    }
    m_bits = bits;
    m_digits = count;
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
