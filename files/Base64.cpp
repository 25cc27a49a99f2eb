#include "files/Base64.h"

#include <cstring>

namespace {

// Per digit position, the bits a character gives the three bytes of its
// group, laid out as the bytes stand in memory (first byte lowest); a
// character outside the alphabet sets kInvalid instead.
const uint32_t kInvalid = 0x01000000;

struct DecodeTables {
    uint32_t position[4][256];
    int8_t value[256];  // 0..63, -1 outside the alphabet, -2 for the padding
    DecodeTables()
    {
        for (int c = 0; c < 256; ++c) {
            value[c] = -1;
            for (auto& table : position)
                table[c] = kInvalid;
        }
        value[static_cast<uint8_t>(CBase64::kPadding)] = -2;
        for (uint32_t v = 0; v < 64; ++v) {
            const uint8_t c = static_cast<uint8_t>(CBase64::kAlphabet[v]);
            value[c] = static_cast<int8_t>(v);
            position[0][c] = v << 2;
            position[1][c] = (v >> 4) | ((v & 15) << 12);
            position[2][c] = ((v >> 2) << 8) | ((v & 3) << 22);
            position[3][c] = v << 16;
        }
    }
};

const DecodeTables& Tables()
{
    static const DecodeTables tables;
    return tables;
}

// The two characters of each 12-bit value.
struct PairTable {
    char pair[4096][2];
    PairTable()
    {
        for (int v = 0; v < 4096; ++v) {
            pair[v][0] = CBase64::kAlphabet[v >> 6];
            pair[v][1] = CBase64::kAlphabet[v & 63];
        }
    }
};

const PairTable& Pairs()
{
    static const PairTable table;
    return table;
}

}  // namespace

const char CBase64::kAlphabet[66] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

bool CBase64::IsDigit(char c)
{
    return Tables().value[static_cast<uint8_t>(c)] >= 0;
}

int32_t CBase64::Encode(const uint8_t* source, char* destination, int32_t length)
{
    if (!source || !destination || length < 1)
        return 0;
    const char(*pairs)[2] = Pairs().pair;
    char* out = destination;
    int32_t i = 0;
    for (; i + 3 <= length; i += 3) {
        const uint32_t group = (uint32_t(source[i]) << 16) | (uint32_t(source[i + 1]) << 8) | source[i + 2];
        std::memcpy(out, pairs[group >> 12], 2);
        std::memcpy(out + 2, pairs[group & 0xFFF], 2);
        out += 4;
    }
    const int32_t rest = length - i;
    if (rest > 0) {
        uint32_t group = uint32_t(source[i]) << 16;
        if (rest == 2)
            group |= uint32_t(source[i + 1]) << 8;
        *out++ = kAlphabet[(group >> 18) & 63];
        *out++ = kAlphabet[(group >> 12) & 63];
        *out++ = rest == 2 ? kAlphabet[(group >> 6) & 63] : kPadding;
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
    // Nothing stops the text: a character outside the alphabet (a zero byte
    // too) is passed over.
    int32_t consumed = 0;
    int32_t written = 0;
    while (consumed < length) {
        int32_t used = 0;
        written += FeedDigits(text + consumed, length - consumed, destination + written, used);
        consumed += used;
        if (consumed < length) {
            if (text[consumed] == kPadding)
                Pad();
            ++consumed;
        }
    }
    return written;
}

int32_t CBase64::CDecoder::FeedDigits(const char* text, int32_t length, uint8_t* destination, int32_t& consumed)
{
    consumed = 0;
    if (!text || length <= 0)
        return 0;
    const DecodeTables& tables = Tables();
    const uint8_t* in = reinterpret_cast<const uint8_t*>(text);
    const uint8_t* const end = in + length;
    if (m_done) {
        // The rest is not data: the digits are only passed over.
        while (in != end && tables.value[*in] >= 0)
            ++in;
        consumed = static_cast<int32_t>(in - reinterpret_cast<const uint8_t*>(text));
        return 0;
    }
    const uint32_t* const d0 = tables.position[0];
    const uint32_t* const d1 = tables.position[1];
    const uint32_t* const d2 = tables.position[2];
    const uint32_t* const d3 = tables.position[3];
    uint8_t* out = destination;
    // The state lives in locals while the text is walked.
    uint32_t bits = m_bits;
    int count = m_digits;
    for (;;) {
        if (count == 0) {
            // Whole groups while the text is unbroken Base64, two at a time.
            while (end - in >= 8) {
                const uint32_t a = d0[in[0]] | d1[in[1]] | d2[in[2]] | d3[in[3]];
                const uint32_t b = d0[in[4]] | d1[in[5]] | d2[in[6]] | d3[in[7]];
                if ((a | b) & kInvalid)
                    break;
                std::memcpy(out, &a, 3);
                std::memcpy(out + 3, &b, 3);
                out += 6;
                in += 8;
            }
            if (end - in >= 4) {
                const uint32_t a = d0[in[0]] | d1[in[1]] | d2[in[2]] | d3[in[3]];
                if (!(a & kInvalid)) {
                    std::memcpy(out, &a, 3);
                    out += 3;
                    in += 4;
                    continue;
                }
            }
        }
        if (in == end)
            break;
        const int8_t value = tables.value[*in];
        if (value < 0)
            break;
        ++in;
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
    consumed = static_cast<int32_t>(in - reinterpret_cast<const uint8_t*>(text));
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
