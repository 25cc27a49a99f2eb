#pragma once
// CMIMECode: a text coding of binary data (the files carry images as Base64).
#include <cstdint>

class CMIMECode {
public:
    virtual ~CMIMECode() = default;
    // Characters written; 0, writing nothing, for a null buffer or a length below 1.
    virtual int32_t Encode(const uint8_t* source, char* destination, int32_t length) = 0;
    // Bytes written; 0 under the same conditions.
    virtual int32_t Decode(const char* source, uint8_t* destination, int32_t length) = 0;
};
