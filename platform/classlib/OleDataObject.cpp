#include "platform/classlib/OleDataObject.h"

#include "platform/classlib/MemFile.h"

#include <cstring>

namespace {
FORMATETC MakeFormatEtc(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (lpFormatEtc != nullptr) {
        FORMATETC formatEtc = *lpFormatEtc;
        formatEtc.cfFormat = cfFormat;
        return formatEtc;
    }
    FORMATETC formatEtc = {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_ALL};
    return formatEtc;
}

// The stream's contents from its start in a block of the caller's own.
HGLOBAL StreamToGlobal(IStream* pStream) {
    STATSTG stat;
    LARGE_INTEGER liZero = {};
    if (FAILED(pStream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart >= 0x7FFFFFFF ||
        FAILED(pStream->Seek(liZero, STREAM_SEEK_SET, nullptr)))
        return nullptr;
    ULONG nSize = static_cast<ULONG>(stat.cbSize.QuadPart);
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, nSize != 0 ? nSize : 1);
    if (hGlobal == nullptr)
        return nullptr;
    void* p = ::GlobalLock(hGlobal);
    ULONG nRead = 0;
    BOOL bOk = p != nullptr && SUCCEEDED(pStream->Read(p, nSize, &nRead)) && nRead == nSize;
    if (p != nullptr)
        ::GlobalUnlock(hGlobal);
    if (!bOk) {
        ::GlobalFree(hGlobal);
        return nullptr;
    }
    return hGlobal;
}

// A shared file that frees its block with itself.
class COwnedSharedFile : public CSharedFile {
public:
    explicit COwnedSharedFile(HGLOBAL hGlobal) : m_hOwned(hGlobal) { SetHandle(hGlobal, FALSE); }
    ~COwnedSharedFile() override {
        Close();
        ::GlobalFree(m_hOwned);
    }

private:
    HGLOBAL m_hOwned;
};
}  // namespace

COleDataObject::COleDataObject() : m_lpDataObject(nullptr), m_lpEnumerator(nullptr), m_bAutoRelease(TRUE) {}

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    if (m_lpEnumerator != nullptr) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    return lpDataObject;
}

void COleDataObject::Release() {
    if (m_lpEnumerator != nullptr) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject != nullptr && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard() {
    LPDATAOBJECT lpDataObject = nullptr;
    if (FAILED(::OleGetClipboard(&lpDataObject)) || lpDataObject == nullptr)
        return FALSE;
    Attach(lpDataObject, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef) {
    if (bAddRef && m_lpDataObject != nullptr)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (m_lpDataObject == nullptr)
        return FALSE;
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc);
    return m_lpDataObject->QueryGetData(&formatEtc) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    ZeroMemory(lpStgMedium, sizeof(*lpStgMedium));
    if (m_lpDataObject == nullptr)
        return FALSE;
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc);
    if (FAILED(m_lpDataObject->GetData(&formatEtc, lpStgMedium))) {
        ZeroMemory(lpStgMedium, sizeof(*lpStgMedium));
        return FALSE;
    }
    return TRUE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc);
    formatEtc.tymed = TYMED_HGLOBAL;
    STGMEDIUM stgMedium;
    if (!GetData(cfFormat, &stgMedium, &formatEtc))
        return nullptr;
    if (stgMedium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&stgMedium);
        return nullptr;
    }
    if (stgMedium.pUnkForRelease == nullptr)
        return stgMedium.hGlobal;
    // The block belongs to the source: the caller gets a copy.
    SIZE_T nSize = ::GlobalSize(stgMedium.hGlobal);
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, nSize != 0 ? nSize : 1);
    if (hCopy != nullptr) {
        void* pSource = ::GlobalLock(stgMedium.hGlobal);
        void* pDest = ::GlobalLock(hCopy);
        if (pSource != nullptr && pDest != nullptr)
            std::memcpy(pDest, pSource, nSize);
        if (pSource != nullptr)
            ::GlobalUnlock(stgMedium.hGlobal);
        if (pDest != nullptr)
            ::GlobalUnlock(hCopy);
        if (pSource == nullptr || pDest == nullptr) {
            ::GlobalFree(hCopy);
            hCopy = nullptr;
        }
    }
    ::ReleaseStgMedium(&stgMedium);
    return hCopy;
}

CFile* COleDataObject::GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc);
    HGLOBAL hGlobal = nullptr;
    if (formatEtc.tymed & TYMED_HGLOBAL)
        hGlobal = GetGlobalData(cfFormat, &formatEtc);
    if (hGlobal == nullptr && (formatEtc.tymed & TYMED_ISTREAM)) {
        FORMATETC streamEtc = formatEtc;
        streamEtc.tymed = TYMED_ISTREAM;
        STGMEDIUM stgMedium;
        if (GetData(cfFormat, &stgMedium, &streamEtc)) {
            if (stgMedium.tymed == TYMED_ISTREAM && stgMedium.pstm != nullptr)
                hGlobal = StreamToGlobal(stgMedium.pstm);
            ::ReleaseStgMedium(&stgMedium);
        }
    }
    if (hGlobal == nullptr)
        return nullptr;
    return new COwnedSharedFile(hGlobal);
}

void COleDataObject::BeginEnumFormats() {
    if (m_lpEnumerator != nullptr) {
        m_lpEnumerator->Release();
        m_lpEnumerator = nullptr;
    }
    if (m_lpDataObject != nullptr)
        m_lpDataObject->EnumFormatEtc(DATADIR_GET, &m_lpEnumerator);
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc) {
    if (m_lpEnumerator == nullptr)
        return FALSE;
    ULONG nFetched = 0;
    if (m_lpEnumerator->Next(1, lpFormatEtc, &nFetched) != S_OK || nFetched != 1)
        return FALSE;
    // The enumerator's target device belongs to the caller, who has no use for it.
    if (lpFormatEtc->ptd != nullptr) {
        ::CoTaskMemFree(lpFormatEtc->ptd);
        lpFormatEtc->ptd = nullptr;
    }
    return TRUE;
}
