#include "framework/KWSha256.h"

#include <algorithm>
#include <limits>

CKWSha256::CKWSha256()
{
    m_failed = !::CryptAcquireContextW(&m_provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) ||
               !::CryptCreateHash(m_provider, CALG_SHA_256, 0, 0, &m_hash);
}

CKWSha256::~CKWSha256()
{
    if (m_hash)
        ::CryptDestroyHash(m_hash);
    if (m_provider)
        ::CryptReleaseContext(m_provider, 0);
}

void CKWSha256::Add(const void* bytes, size_t count)
{
    const auto* from = static_cast<const BYTE*>(bytes);
    while (!m_failed && count > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(count, std::numeric_limits<DWORD>::max()));
        m_failed = !::CryptHashData(m_hash, from, piece, 0);
        from += piece;
        count -= piece;
    }
}

bool CKWSha256::Finish(Digest& digest)
{
    DWORD size = static_cast<DWORD>(digest.size());
    m_failed = m_failed || !::CryptGetHashParam(m_hash, HP_HASHVAL, digest.data(), &size, 0) || size != digest.size();
    return !m_failed;
}
