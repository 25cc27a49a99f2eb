#pragma once
// CKWTextFileStream: the text form of the file stream. Numbers are written as
// decimal text (no separator is added) and read back as white-space separated
// tokens; one character can be put back for the line reader.
#include "framework/KWFileStream.h"

#include <string>

class CKWTextFileStream : public CKWFileStream {
public:
    // Longest tokens, the terminator counted: a token that fills the buffer fails.
    static constexpr int kIntTokenSize = 20;
    static constexpr int kDoubleTokenSize = 40;

    bool Close() override;
    int64_t Seek(int64_t offset, int origin) override;
    // The put-back character first, if any.
    int GetChar() override;
    // A decimal token. A token that is missing, too long or not wholly a
    // number fails and leaves the position at the token's start.
    bool ReadInt(int32_t& value) override;
    bool ReadDouble(double& value) override;
    // "%d".
    bool WriteInt(int32_t value) override;
    // "%f" without trailing zeros, and without the point when nothing follows it.
    bool WriteDouble(double value) override;
    void PutBack(int ch) override;
    // The put-back character first, then the rest from the stream; the count stored.
    virtual int32_t ReadWithPutBack(void* buffer, int32_t n);

    // The text WriteDouble writes.
    static std::string FormatDouble(double value);

private:
    // Collects the next token into buffer; false (position restored) when
    // there is none or it fills the buffer.
    bool ReadToken(char* buffer, int size);
    void RestoreTokenStart();

    int m_putBack = -1;  // -1 when none
};
