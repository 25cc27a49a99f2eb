#pragma once
// CArchive: the class library's binary stream over a CFile. Scalars are
// little-endian; strings carry a length prefix (a Unicode marker FF FE FF in
// front of it for UTF-16 text); counts are 16-bit with a 32-bit escape; an
// object is written once with its class (a class record on first use, then
// a back reference) and referred to by index after that.
//
// Encoding of the length prefixes: below 0xFF one byte; else FF and a
// 16-bit value below 0xFFFF; else FF FF FF and a 32-bit value. Object tags:
// 0 null; FFFF a new class record (16-bit schema, 16-bit name length, the
// name's ASCII bytes); 8000|n class n; n (below 7FFF) object n; 7FFF and a
// 32-bit value for large indexes (classes with the bit 0x80000000). Index 0
// is the null object; classes and objects share the numbering from 1.
#include "platform/classlib/Exception.h"
#include "platform/classlib/Object.h"
#include "platform/classlib/String.h"

#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

class CDocument;
class CFile;

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // A storing archive that was not closed is flushed (unless
    // bNoFlushOnDelete); errors at that point are dropped.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    // No more buffered bytes to read.
    BOOL IsBufferEmpty() const { return m_nBufCur == m_nBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Stores the buffer to the file, or puts a loading file back to the
    // position the archive has read up to.
    void Flush();
    void Close();
    // Detaches from the file without writing anything more.
    void Abort();

    // Raw bytes: Read gives what there is (fewer at the end).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Objects nest at most this deep (an object read while reading another);
    // deeper ones throw the generic archive exception.
    static const int kMaxObjectDepth = 256;

    // Objects by class. A read that fails deletes every object it made (the
    // object itself and those made while it was read) that is still alive,
    // the first made first, so that an owner takes its own along; a later
    // reference to a deleted object reads as none.
    void WriteObject(const CObject* pOb);
    // Every object going away is told to the archives loading on its thread,
    // which then no longer hand it out nor delete it.
    static void OnObjectDeleted(const CObject* pOb);
    // pClassRefRequested (or null for any): the object must be of that class.
    // An object whose load throws is deleted before the exception goes on.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    // The class of a class record or reference; throws badClass for anything
    // else, and when the class is not of pClassRefRequested.
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);
    // The schema of the object being loaded (once; then (UINT)-1).
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }
    // Counts an object as stored or loaded without writing it, so later
    // references to it are back references.
    void MapObject(const CObject* pOb);

    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(LONG l) { return WriteValue(l); }
    CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
    CArchive& operator<<(int i) { return WriteValue(static_cast<LONG>(i)); }
    CArchive& operator<<(UINT u) { return WriteValue(static_cast<DWORD>(u)); }
    CArchive& operator<<(short w) { return WriteValue(w); }
    CArchive& operator<<(char ch) { return WriteValue(ch); }
    CArchive& operator<<(signed char ch) { return WriteValue(ch); }
    CArchive& operator<<(wchar_t ch) { return WriteValue(ch); }
    CArchive& operator<<(bool b) { return WriteValue(static_cast<BYTE>(b ? 1 : 0)); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator<<(LONGLONG n) { return WriteValue(n); }
    CArchive& operator<<(ULONGLONG n) { return WriteValue(n); }
    CArchive& operator<<(const CString& str);
    // Text as a string record (without this a pointer would pass as a bool).
    CArchive& operator<<(const wchar_t* psz) { return *this << CString(psz); }

    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(LONG& l) { return ReadValue(l); }
    CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
    CArchive& operator>>(int& i) { return ReadAs<LONG>(i); }
    CArchive& operator>>(UINT& u) { return ReadAs<DWORD>(u); }
    CArchive& operator>>(short& w) { return ReadValue(w); }
    CArchive& operator>>(char& ch) { return ReadValue(ch); }
    CArchive& operator>>(signed char& ch) { return ReadValue(ch); }
    CArchive& operator>>(wchar_t& ch) { return ReadValue(ch); }
    CArchive& operator>>(bool& b);
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }
    CArchive& operator>>(LONGLONG& n) { return ReadValue(n); }
    CArchive& operator>>(ULONGLONG& n) { return ReadValue(n); }
    // Reads both the UTF-16 form and the ANSI form (converted with the ANSI code page).
    CArchive& operator>>(CString& str);

    // The document being loaded or stored, for objects that need it.
    CDocument* m_pDocument;
    CString m_strFileName;

private:
    template <class T>
    CArchive& WriteValue(T value) {
        Write(&value, sizeof(T));
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& value) {
        ReadExactly(&value, sizeof(T));
        return *this;
    }
    template <class TStored, class T>
    CArchive& ReadAs(T& value) {
        TStored stored;
        ReadExactly(&stored, sizeof(stored));
        value = static_cast<T>(stored);
        return *this;
    }
    // Throws endOfFile when the stream ends before nCount bytes.
    void ReadExactly(void* lpBuf, UINT nCount);
    void FillBuffer();
    void CheckLoading() const;
    void CheckStoring() const;
    // The 32-bit tag of an object or class index.
    void WriteTag(DWORD nIndex, bool bClass);
    DWORD ReadTag(bool* pNewClass);

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buffer;
    UINT m_nBufCur;
    UINT m_nBufMax;
    UINT m_nObjectSchema;
    // Store side: index of every class and object written.
    std::unordered_map<const void*, DWORD> m_storeMap;
    // Load side: by index, a class or an object.
    struct LoadEntry {
        CRuntimeClass* pClass;
        CObject* pObject;
        UINT nSchema;
    };
    std::vector<LoadEntry> m_loadArray;
    // The live objects this archive made, by their index.
    std::unordered_map<const CObject*, size_t> m_madeIndex;
    // Deletes the live objects made from that index on, the first made first.
    void DeleteMadeSince(size_t nIndex);
    DWORD m_nMapCount;
    int m_nObjectDepth = 0;
};

CArchive& operator<<(CArchive& ar, const CObject* pOb);

// Reads an object of T's class (or one derived from it) into a T pointer.
template <class T, std::enable_if_t<std::is_base_of_v<CObject, T>, int> = 0>
CArchive& operator>>(CArchive& ar, T*& pOb) {
    pOb = static_cast<T*>(ar.ReadObject(T::GetThisClass()));
    return ar;
}

namespace afx_detail {
template <class T, class = void>
struct HasArchiveOps : std::false_type {};
template <class T>
struct HasArchiveOps<T, std::void_t<decltype(std::declval<CArchive&>() << std::declval<const T&>()),
                                    decltype(std::declval<CArchive&>() >> std::declval<T&>())>>
    : std::true_type {};
}  // namespace afx_detail

// The elements of a collection: through the archive's own operators
// (numbers, strings, object pointers), else as raw bytes for plain records.
// Other types cannot be stored and throw the generic archive exception.
template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
    if constexpr (afx_detail::HasArchiveOps<TYPE>::value) {
        for (INT_PTR i = 0; i < nCount; ++i) {
            if (ar.IsStoring())
                ar << pElements[i];
            else
                ar >> pElements[i];
        }
    } else if constexpr (std::is_trivially_copyable_v<TYPE>) {
        for (INT_PTR i = 0; i < nCount; ++i) {
            if (ar.IsStoring()) {
                ar.Write(&pElements[i], sizeof(TYPE));
            } else if (ar.Read(&pElements[i], sizeof(TYPE)) != sizeof(TYPE)) {
                AfxThrowArchiveException(CArchiveException::endOfFile);
            }
        }
    } else {
        (void)pElements;
        if (nCount > 0)
            AfxThrowArchiveException(CArchiveException::genericException);
    }
}
