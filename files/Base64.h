#pragma once
// CBase64: Base64 (RFC 4648) as the XML files carry image data: one run
// without line breaks when written; when read, every character outside the
// alphabet is skipped and the first '=' ends the data (the image pre-pass
// reads the digits alone and stops at anything else). Both directions work
// on whole groups through tables: three bytes become four characters by two
// lookups of character pairs, four characters become three bytes by four
// lookups whose results are combined, so that a character outside the
// alphabet is seen by one test per group.
#include "files/MIMECode.h"

#include <cstdint>

class CBase64 : public CMIMECode {
public:
    // The 64 digits followed by the padding character.
    static const char kAlphabet[66];
    static const char kPadding = '=';

    // No terminating zero is written; the destination must hold
    // EncodedLength(length) characters.
    int32_t Encode(const uint8_t* source, char* destination, int32_t length) override;
    // The destination must hold DecodedCapacity(length) bytes.
    int32_t Decode(const char* source, uint8_t* destination, int32_t length) override;

    static int64_t EncodedLength(int64_t byteCount) { return (byteCount + 2) / 3 * 4; }
    static int64_t DecodedCapacity(int64_t textLength) { return textLength / 4 * 3 + 2; }
    static int64_t PieceCapacity(int64_t pieceLength) { return (pieceLength + 3) / 4 * 3; }
    // True for the 64 digits.
    static bool IsDigit(char c);

    // Decodes text that arrives in pieces (the image pre-pass reads it from
    // the file window by window) with the same result as one Decode call.
    class CDecoder {
    public:
        // Bytes written for this piece; the destination must hold
        // PieceCapacity(length) bytes (digits carried over from the last
        // piece complete groups in this one). Characters outside the
        // alphabet are passed over; the first '=' ends the data.
        int32_t Feed(const char* text, int32_t length, uint8_t* destination);
        // As Feed, but only over the digits at the start of the text: the
        // first character that is no digit is not used, and consumed tells
        // how many were (the whole length when all are digits). Digits after
        // the padding are used and give nothing.
        int32_t FeedDigits(const char* text, int32_t length, uint8_t* destination, int32_t& consumed);
        // The padding character was met: the rest of the text is not data.
        void Pad() { m_done = true; }
        // The bytes of a last short group of two or three digits.
        int32_t Finish(uint8_t* destination);
        // True once '=' was met: the rest of the text is not data.
        bool IsDone() const { return m_done; }

    private:
        uint32_t m_bits = 0;
        int m_digits = 0;
        bool m_done = false;
    };
};
