#pragma once
// CKWSha256: the SHA-256 digest of bytes given piece by piece, made by the
// system's cryptographic provider. It tells whether a file still holds the
// very bytes read from it before, whatever its size and time say.
#include <windows.h>
#include <wincrypt.h>

#include <array>
#include <cstddef>
#include <cstdint>

class CKWSha256 {
public:
    using Digest = std::array<uint8_t, 32>;

    CKWSha256();
    ~CKWSha256();
    CKWSha256(const CKWSha256&) = delete;
    CKWSha256& operator=(const CKWSha256&) = delete;

    void Add(const void* bytes, size_t count);
    // The digest of every byte added; false when the system could not make it.
    bool Finish(Digest& digest);

private:
    HCRYPTPROV m_provider = 0;
    HCRYPTHASH m_hash = 0;
    bool m_failed = false;
};
