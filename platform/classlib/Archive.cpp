#include "platform/classlib/Archive.h"

#include "platform/classlib/File.h"

#include <cstring>

namespace {
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
// Class names longer than this are no class records of ours.
constexpr WORD kMaxClassName = 64;
// Strings are read in pieces, so a damaged length ends at the end of the data.
constexpr ULONGLONG kStringChunk = 0x10000;
// The archives loading on this thread, made by the first and deleted with
// the last. A plain pointer: every object's destructor looks here, and a
// thread-local object with a destructor of its own is destroyed at the
// thread's end after the runtime has freed its storage.
thread_local std::vector<CArchive*>* t_loading = nullptr;
}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pDocument(nullptr), m_pFile(pFile), m_nMode(nMode), m_nBufCur(0), m_nBufMax(0),
      m_nObjectSchema(static_cast<UINT>(-1)), m_nMapCount(1) {
    if (nBufSize < 128)
        nBufSize = 128;
    m_buffer.resize(static_cast<size_t>(nBufSize));
    if (pFile != nullptr)
        m_strFileName = pFile->GetFilePath();
    m_loadArray.push_back(LoadEntry{nullptr, nullptr, 0});
    if (IsLoading()) {
        if (t_loading == nullptr)
            t_loading = new std::vector<CArchive*>;
        t_loading->push_back(this);
    }
}

CArchive::~CArchive() {
    if (t_loading != nullptr) {
        for (auto it = t_loading->begin(); it != t_loading->end(); ++it) {
            if (*it == this) {
                t_loading->erase(it);
                break;
            }
        }
        if (t_loading->empty()) {
            delete t_loading;
            t_loading = nullptr;
        }
    }
    if (m_pFile == nullptr)
        return;
    if (m_nMode & bNoFlushOnDelete) {
        Abort();
        return;
    }
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
        m_pFile = nullptr;
    } catch (...) {
        m_pFile = nullptr;
    }
}

void CArchive::CheckLoading() const {
    if (m_pFile == nullptr)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly, m_strFileName);
}

void CArchive::CheckStoring() const {
    if (m_pFile == nullptr)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (IsLoading())
        AfxThrowArchiveException(CArchiveException::readOnly, m_strFileName);
}

void CArchive::Flush() {
    if (m_pFile == nullptr)
        return;
    if (IsLoading()) {
        if (m_nBufMax > m_nBufCur)
            m_pFile->Seek(-static_cast<LONGLONG>(m_nBufMax - m_nBufCur), CFile::current);
        m_nBufCur = m_nBufMax = 0;
    } else {
        if (m_nBufCur > 0)
            m_pFile->Write(m_buffer.data(), m_nBufCur);
        m_nBufCur = 0;
    }
}

void CArchive::Close() {
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() {
    m_pFile = nullptr;
    m_nBufCur = m_nBufMax = 0;
}

void CArchive::FillBuffer() {
    m_nBufCur = 0;
    m_nBufMax = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    CheckLoading();
    BYTE* pOut = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nMax) {
        if (m_nBufCur == m_nBufMax) {
            UINT nLeft = nMax - nDone;
            if (nLeft >= m_buffer.size()) {
                // Large reads go straight to the file.
                UINT nRead = m_pFile->Read(pOut + nDone, nLeft);
                nDone += nRead;
                if (nRead == 0)
                    break;
                continue;
            }
            FillBuffer();
            if (m_nBufMax == 0)
                break;
        }
        UINT nTake = m_nBufMax - m_nBufCur;
        if (nTake > nMax - nDone)
            nTake = nMax - nDone;
        std::memcpy(pOut + nDone, m_buffer.data() + m_nBufCur, nTake);
        m_nBufCur += nTake;
        nDone += nTake;
    }
    return nDone;
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount) {
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_strFileName);
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    CheckStoring();
    const BYTE* pIn = static_cast<const BYTE*>(lpBuf);
    UINT nSize = static_cast<UINT>(m_buffer.size());
    while (nMax > 0) {
        if (m_nBufCur == 0 && nMax >= nSize) {
            m_pFile->Write(pIn, nMax);
            return;
        }
        UINT nTake = nSize - m_nBufCur;
        if (nTake > nMax)
            nTake = nMax;
        std::memcpy(m_buffer.data() + m_nBufCur, pIn, nTake);
        m_nBufCur += nTake;
        pIn += nTake;
        nMax -= nTake;
        if (m_nBufCur == nSize) {
            m_pFile->Write(m_buffer.data(), m_nBufCur);
            m_nBufCur = 0;
        }
    }
}

CArchive& CArchive::operator>>(bool& b) {
    BYTE by = 0;
    ReadValue(by);
    b = by != 0;
    return *this;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << static_cast<DWORD>(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

CArchive& CArchive::operator<<(const CString& str) {
    // The Unicode marker, then the length in characters.
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE);
    DWORD nLength = static_cast<DWORD>(str.GetLength());
    if (nLength < 0xFF) {
        *this << static_cast<BYTE>(nLength);
    } else if (nLength < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << nLength;
    }
    Write(str.GetString(), nLength * static_cast<UINT>(sizeof(wchar_t)));
    return *this;
}

CArchive& CArchive::operator>>(CString& str) {
    bool bUnicode = false;
    ULONGLONG nLength = 0;
    for (;;) {
        BYTE by = 0;
        *this >> by;
        if (by < 0xFF) {
            nLength = by;
            break;
        }
        WORD w = 0;
        *this >> w;
        if (w == 0xFFFE) {
            if (bUnicode)
                AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
            bUnicode = true;
            continue;
        }
        if (w < 0xFFFF) {
            nLength = w;
            break;
        }
        DWORD dw = 0;
        *this >> dw;
        if (dw < 0xFFFFFFFF) {
            nLength = dw;
            break;
        }
        ULONGLONG qw = 0;
        *this >> qw;
        nLength = qw;
        break;
    }
    if (nLength > 0x7FFFFFFF)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    CString result;
    if (bUnicode) {
        std::vector<wchar_t> chunk;
        while (nLength > 0) {
            UINT nPart = static_cast<UINT>(nLength < kStringChunk ? nLength : kStringChunk);
            chunk.resize(nPart);
            ReadExactly(chunk.data(), nPart * static_cast<UINT>(sizeof(wchar_t)));
            result.Append(chunk.data(), static_cast<int>(nPart));
            nLength -= nPart;
        }
    } else {
        std::vector<char> bytes;
        while (nLength > 0) {
            UINT nPart = static_cast<UINT>(nLength < kStringChunk ? nLength : kStringChunk);
            size_t nOld = bytes.size();
            bytes.resize(nOld + nPart);
            ReadExactly(bytes.data() + nOld, nPart);
            nLength -= nPart;
        }
        if (!bytes.empty()) {
            int nWide = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
            std::vector<wchar_t> wide(static_cast<size_t>(nWide) + 1, L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), nWide);
            result = CString(wide.data(), nWide);
        }
    }
    str = result;
    return *this;
}

void CArchive::WriteTag(DWORD nIndex, bool bClass) {
    if (nIndex < kBigObjectTag) {
        *this << static_cast<WORD>(bClass ? (kClassTag | nIndex) : nIndex);
    } else {
        *this << kBigObjectTag;
        *this << static_cast<DWORD>(bClass ? (kBigClassTag | nIndex) : nIndex);
    }
}

DWORD CArchive::ReadTag(bool* pNewClass) {
    WORD wTag = 0;
    *this >> wTag;
    *pNewClass = wTag == kNewClassTag;
    if (wTag == kBigObjectTag) {
        DWORD dwTag = 0;
        *this >> dwTag;
        return dwTag;
    }
    return (static_cast<DWORD>(wTag & kClassTag) << 16) | (wTag & 0x7FFF);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    CheckStoring();
    if (pClassRef == nullptr || pClassRef->m_wSchema == 0xFFFF)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, true);
        return;
    }
    size_t nNameLength = std::strlen(pClassRef->m_lpszClassName);
    if (nNameLength >= kMaxClassName)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    *this << kNewClassTag;
    *this << static_cast<WORD>(pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    *this << static_cast<WORD>(nNameLength);
    Write(pClassRef->m_lpszClassName, static_cast<UINT>(nNameLength));
    if (m_nMapCount >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    m_storeMap[pClassRef] = m_nMapCount++;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    CheckLoading();
    bool bNewClass = false;
    DWORD dwTag = ReadTag(&bNewClass);
    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (bNewClass) {
        WORD wSchema = 0;
        WORD wLength = 0;
        *this >> wSchema >> wLength;
        if (wLength >= kMaxClassName)
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        char szName[kMaxClassName] = {0};
        ReadExactly(szName, wLength);
        pClassRef = CRuntimeClass::FromName(szName);
        if (pClassRef == nullptr)
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        UINT nOwnSchema = pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA;
        if (nOwnSchema != wSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            AfxThrowArchiveException(CArchiveException::badSchema, m_strFileName);
        nSchema = wSchema;
        if (m_loadArray.size() >= kMaxMapCount)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        m_loadArray.push_back(LoadEntry{pClassRef, nullptr, nSchema});
    } else if (dwTag & kBigClassTag) {
        DWORD nIndex = dwTag & ~kBigClassTag;
        if (nIndex == 0 || nIndex >= m_loadArray.size() || m_loadArray[nIndex].pClass == nullptr)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        pClassRef = m_loadArray[nIndex].pClass;
        nSchema = m_loadArray[nIndex].nSchema;
    } else {
        // An object reference, which only ReadObject accepts.
        if (pObTag == nullptr)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        *pObTag = dwTag;
        return nullptr;
    }
    if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    if (pSchema != nullptr)
        *pSchema = nSchema;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef);
}

UINT CArchive::GetObjectSchema() {
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nResult;
}

void CArchive::MapObject(const CObject* pOb) {
    if (IsStoring()) {
        if (pOb != nullptr && m_storeMap.find(pOb) == m_storeMap.end()) {
            if (m_nMapCount >= kMaxMapCount)
                AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
            m_storeMap[pOb] = m_nMapCount++;
        }
    } else {
        m_loadArray.push_back(LoadEntry{nullptr, const_cast<CObject*>(pOb), 0});
    }
}

void CArchive::WriteObject(const CObject* pOb) {
    CheckStoring();
    if (pOb == nullptr) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, false);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_nMapCount >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
    UINT nSchema = 0;
    DWORD dwObTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &dwObTag);
    if (pClassRef == nullptr) {
        if (dwObTag >= m_loadArray.size() || m_loadArray[dwObTag].pClass != nullptr)
            AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
        CObject* pOb = m_loadArray[dwObTag].pObject;
        if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
        return pOb;
    }
    // Objects inside objects (a list of lists) recurse: a file cannot be allowed
    // to nest them until the stack runs out.
    if (m_nObjectDepth >= kMaxObjectDepth)
        AfxThrowArchiveException(CArchiveException::genericException, m_strFileName);
    if (m_loadArray.size() >= kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_strFileName);
    CObject* pOb = pClassRef->CreateObject();
    if (pOb == nullptr)
        AfxThrowArchiveException(CArchiveException::badClass, m_strFileName);
    const size_t nIndex = m_loadArray.size();
    UINT nOldSchema = m_nObjectSchema;
    try {
        m_loadArray.push_back(LoadEntry{nullptr, pOb, 0});
        m_madeIndex[pOb] = nIndex;
        m_nObjectSchema = nSchema;
        ++m_nObjectDepth;
        pOb->Serialize(*this);
    } catch (...) {
        // The object that could not be read is nobody's, and so is what was
        // made while it was read: all of it goes, and later references to it
        // find nothing.
        --m_nObjectDepth;
        m_nObjectSchema = nOldSchema;
        if (nIndex < m_loadArray.size()) {
            DeleteMadeSince(nIndex);
        } else {
            m_madeIndex.erase(pOb);
            delete pOb;
        }
        throw;
    }
    --m_nObjectDepth;
    m_nObjectSchema = nOldSchema;
    return pOb;
}

void CArchive::DeleteMadeSince(size_t nIndex) {
    // The first made first: an owner's destructor deletes what it owns, and
    // each object deleted that way is struck from the list before it is met.
    for (size_t i = nIndex; i < m_loadArray.size(); ++i) {
        CObject* pOb = m_loadArray[i].pObject;
        if (pOb == nullptr || m_loadArray[i].pClass != nullptr)
            continue;
        delete pOb;
    }
}

void CArchive::OnObjectDeleted(const CObject* pOb) {
    if (t_loading == nullptr)
        return;
    for (CArchive* pArchive : *t_loading) {
        auto it = pArchive->m_madeIndex.find(pOb);
        if (it == pArchive->m_madeIndex.end())
            continue;
        pArchive->m_loadArray[it->second].pObject = nullptr;
        pArchive->m_madeIndex.erase(it);
    }
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
    ar.WriteObject(pOb);
    return ar;
}
