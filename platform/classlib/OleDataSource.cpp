#include "platform/classlib/OleDataSource.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/MemFile.h"
#include "platform/classlib/OleDropSource.h"
#include "platform/classlib/Wnd.h"

#include <shlobj.h>

#include <cstring>

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

namespace {
FORMATETC MakeFormatEtc(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc, DWORD tymedDefault) {
    FORMATETC formatEtc;
    if (lpFormatEtc != nullptr) {
        formatEtc = *lpFormatEtc;
        formatEtc.cfFormat = cfFormat;
        formatEtc.ptd = nullptr;  // target devices are not kept
    } else {
        formatEtc.cfFormat = cfFormat;
        formatEtc.ptd = nullptr;
        formatEtc.dwAspect = DVASPECT_CONTENT;
        formatEtc.lindex = -1;
        formatEtc.tymed = tymedDefault;
    }
    return formatEtc;
}

HGLOBAL CopyGlobal(HGLOBAL hSource) {
    SIZE_T nSize = ::GlobalSize(hSource);
    HGLOBAL hDest = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, nSize != 0 ? nSize : 1);
    if (hDest == nullptr)
        return nullptr;
    void* pSource = ::GlobalLock(hSource);
    void* pDest = ::GlobalLock(hDest);
    if (pSource == nullptr || pDest == nullptr) {
        if (pSource != nullptr)
            ::GlobalUnlock(hSource);
        if (pDest != nullptr)
            ::GlobalUnlock(hDest);
        ::GlobalFree(hDest);
        return nullptr;
    }
    std::memcpy(pDest, pSource, nSize);
    ::GlobalUnlock(hSource);
    ::GlobalUnlock(hDest);
    return hDest;
}
}  // namespace

BOOL AfxCopyStgMedium(CLIPFORMAT cfFormat, LPSTGMEDIUM lpDest, const STGMEDIUM* lpSource) {
    ZeroMemory(lpDest, sizeof(*lpDest));
    switch (lpSource->tymed) {
    case TYMED_HGLOBAL:
        lpDest->hGlobal = CopyGlobal(lpSource->hGlobal);
        if (lpDest->hGlobal == nullptr)
            return FALSE;
        break;
    case TYMED_ENHMF:
    case TYMED_MFPICT:
    case TYMED_GDI:
        lpDest->hGlobal = static_cast<HGLOBAL>(::OleDuplicateData(lpSource->hGlobal, cfFormat, 0));
        if (lpDest->hGlobal == nullptr)
            return FALSE;
        break;
    case TYMED_ISTREAM:
    case TYMED_ISTORAGE:
        // The receiver releases its own reference.
        lpDest->pstm = lpSource->pstm;
        if (lpDest->pstm != nullptr)
            lpDest->pstm->AddRef();
        break;
    default:
        return FALSE;
    }
    lpDest->tymed = lpSource->tymed;
    lpDest->pUnkForRelease = nullptr;
    return TRUE;
}

COleDataSource::COleDataSource() : m_dwRef(1) { m_xDataObject.m_pThis = this; }

COleDataSource::~COleDataSource() { Empty(); }

void COleDataSource::Empty() {
    for (CacheEntry& entry : m_cache) {
        if (entry.stgMedium.tymed != TYMED_NULL)
            ::ReleaseStgMedium(&entry.stgMedium);
    }
    m_cache.clear();
}

void COleDataSource::AddEntry(const FORMATETC& formatEtc, const STGMEDIUM& stgMedium) {
    for (CacheEntry& entry : m_cache) {
        if (entry.formatEtc.cfFormat == formatEtc.cfFormat && entry.formatEtc.dwAspect == formatEtc.dwAspect &&
            entry.formatEtc.lindex == formatEtc.lindex) {
            if (entry.stgMedium.tymed != TYMED_NULL)
                ::ReleaseStgMedium(&entry.stgMedium);
            entry.formatEtc = formatEtc;
            entry.stgMedium = stgMedium;
            return;
        }
    }
    m_cache.push_back(CacheEntry{formatEtc, stgMedium});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc) {
    STGMEDIUM stgMedium;
    ZeroMemory(&stgMedium, sizeof(stgMedium));
    stgMedium.tymed = TYMED_HGLOBAL;
    stgMedium.hGlobal = hGlobal;
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    formatEtc.tymed = TYMED_HGLOBAL;
    AddEntry(formatEtc, stgMedium);
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc, lpStgMedium->tymed);
    formatEtc.tymed = lpStgMedium->tymed;
    AddEntry(formatEtc, *lpStgMedium);
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    STGMEDIUM stgMedium;
    ZeroMemory(&stgMedium, sizeof(stgMedium));
    AddEntry(MakeFormatEtc(cfFormat, lpFormatEtc, TYMED_HGLOBAL), stgMedium);
}

void COleDataSource::DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    STGMEDIUM stgMedium;
    ZeroMemory(&stgMedium, sizeof(stgMedium));
    FORMATETC formatEtc = MakeFormatEtc(cfFormat, lpFormatEtc, TYMED_ISTREAM | TYMED_HGLOBAL);
    formatEtc.tymed |= TYMED_ISTREAM | TYMED_HGLOBAL;
    AddEntry(formatEtc, stgMedium);
}

COleDataSource::CacheEntry* COleDataSource::Lookup(const FORMATETC* lpFormatEtc) {
    for (CacheEntry& entry : m_cache) {
        if (entry.formatEtc.cfFormat != lpFormatEtc->cfFormat || (entry.formatEtc.tymed & lpFormatEtc->tymed) == 0)
            continue;
        if (entry.formatEtc.dwAspect != lpFormatEtc->dwAspect)
            continue;
        if (entry.formatEtc.lindex != -1 && lpFormatEtc->lindex != -1 && entry.formatEtc.lindex != lpFormatEtc->lindex)
            continue;
        return &entry;
    }
    return nullptr;
}

LPDATAOBJECT COleDataSource::GetDataObject(BOOL bAddRef) {
    if (bAddRef)
        InternalAddRef();
    return &m_xDataObject;
}

DWORD COleDataSource::InternalAddRef() { return static_cast<DWORD>(::InterlockedIncrement(&m_dwRef)); }

DWORD COleDataSource::InternalRelease() {
    LONG nRef = ::InterlockedDecrement(&m_dwRef);
    if (nRef == 0)
        OnFinalRelease();
    return static_cast<DWORD>(nRef);
}

void COleDataSource::OnFinalRelease() { delete this; }

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource) {
    COleDropSource dropSourceDefault;
    if (pDropSource == nullptr)
        pDropSource = &dropSourceDefault;
    POINT ptCursor;
    ::GetCursorPos(&ptCursor);
    if (lpRectStartDrag != nullptr) {
        pDropSource->m_rectStartDrag = *lpRectStartDrag;
    } else {
        int nDist = static_cast<int>(COleDropSource::nDragMinDist);
        pDropSource->m_rectStartDrag.SetRect(ptCursor.x - nDist, ptCursor.y - nDist, ptCursor.x + nDist + 1,
                                             ptCursor.y + nDist + 1);
    }
    CWnd* pWnd = CWnd::GetFocus();
    if (pWnd == nullptr)
        pWnd = CWnd::GetActiveWindow();
    if (pWnd == nullptr || !pDropSource->OnBeginDrag(pWnd))
        return DROPEFFECT_NONE;
    // The data object must live through the loop even when the target lets go of it.
    InternalAddRef();
    DWORD dwResultEffect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(&m_xDataObject, pDropSource->GetDropSource(), dwEffects, &dwResultEffect);
    InternalRelease();
    if (hr != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return dwResultEffect;
}

BOOL COleDataSource::SetClipboard() { return SUCCEEDED(::OleSetClipboard(&m_xDataObject)); }

BOOL COleDataSource::OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium) {
    if (lpFormatEtc->tymed & TYMED_HGLOBAL) {
        HGLOBAL hGlobal = nullptr;
        if (OnRenderGlobalData(lpFormatEtc, &hGlobal) && hGlobal != nullptr) {
            lpStgMedium->tymed = TYMED_HGLOBAL;
            lpStgMedium->hGlobal = hGlobal;
            lpStgMedium->pUnkForRelease = nullptr;
            return TRUE;
        }
    }
    if (lpFormatEtc->tymed & (TYMED_HGLOBAL | TYMED_ISTREAM)) {
        CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE);
        if (!OnRenderFileData(lpFormatEtc, &file))
            return FALSE;
        HGLOBAL hGlobal = file.Detach();
        if (hGlobal == nullptr)
            return FALSE;
        if (lpFormatEtc->tymed & TYMED_HGLOBAL) {
            lpStgMedium->tymed = TYMED_HGLOBAL;
            lpStgMedium->hGlobal = hGlobal;
            lpStgMedium->pUnkForRelease = nullptr;
            return TRUE;
        }
        IStream* pStream = nullptr;
        if (FAILED(::CreateStreamOnHGlobal(hGlobal, TRUE, &pStream))) {
            ::GlobalFree(hGlobal);
            return FALSE;
        }
        lpStgMedium->tymed = TYMED_ISTREAM;
        lpStgMedium->pstm = pStream;
        lpStgMedium->pUnkForRelease = nullptr;
        return TRUE;
    }
    return FALSE;
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC, HGLOBAL*) { return FALSE; }

BOOL COleDataSource::OnRenderFileData(LPFORMATETC, CFile*) { return FALSE; }

BOOL COleDataSource::OnSetData(LPFORMATETC, LPSTGMEDIUM, BOOL) { return FALSE; }

// IDataObject. No C++ exception leaves these.

STDMETHODIMP COleDataSource::XDataObject::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDataSource::XDataObject::AddRef() { return m_pThis->InternalAddRef(); }

STDMETHODIMP_(ULONG) COleDataSource::XDataObject::Release() { return m_pThis->InternalRelease(); }

STDMETHODIMP COleDataSource::XDataObject::GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) {
    if (pformatetcIn == nullptr || pmedium == nullptr)
        return E_INVALIDARG;
    ZeroMemory(pmedium, sizeof(*pmedium));
    try {
        CacheEntry* pEntry = m_pThis->Lookup(pformatetcIn);
        if (pEntry == nullptr)
            return DV_E_FORMATETC;
        if (pEntry->stgMedium.tymed != TYMED_NULL)
            return AfxCopyStgMedium(pformatetcIn->cfFormat, pmedium, &pEntry->stgMedium) ? S_OK : E_OUTOFMEMORY;
        FORMATETC formatEtc = *pformatetcIn;
        formatEtc.tymed &= pEntry->formatEtc.tymed;
        if (m_pThis->OnRenderData(&formatEtc, pmedium))
            return S_OK;
        ZeroMemory(pmedium, sizeof(*pmedium));
        return DV_E_FORMATETC;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return E_UNEXPECTED;
}

STDMETHODIMP COleDataSource::XDataObject::GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) {
    if (pformatetc == nullptr || pmedium == nullptr)
        return E_INVALIDARG;
    try {
        // Only a global block given by the caller is filled.
        if (pmedium->tymed != TYMED_HGLOBAL || pmedium->hGlobal == nullptr)
            return DATA_E_FORMATETC;
        CacheEntry* pEntry = m_pThis->Lookup(pformatetc);
        if (pEntry == nullptr)
            return DV_E_FORMATETC;
        if (pEntry->stgMedium.tymed == TYMED_HGLOBAL) {
            SIZE_T nSize = ::GlobalSize(pEntry->stgMedium.hGlobal);
            if (::GlobalSize(pmedium->hGlobal) < nSize)
                return STG_E_MEDIUMFULL;
            void* pSource = ::GlobalLock(pEntry->stgMedium.hGlobal);
            void* pDest = ::GlobalLock(pmedium->hGlobal);
            if (pSource != nullptr && pDest != nullptr)
                std::memcpy(pDest, pSource, nSize);
            if (pSource != nullptr)
                ::GlobalUnlock(pEntry->stgMedium.hGlobal);
            if (pDest != nullptr)
                ::GlobalUnlock(pmedium->hGlobal);
            return pSource != nullptr && pDest != nullptr ? S_OK : E_OUTOFMEMORY;
        }
        if (pEntry->stgMedium.tymed != TYMED_NULL)
            return DATA_E_FORMATETC;
        FORMATETC formatEtc = *pformatetc;
        formatEtc.tymed = TYMED_HGLOBAL;
        HGLOBAL hGlobal = pmedium->hGlobal;
        return m_pThis->OnRenderGlobalData(&formatEtc, &hGlobal) && hGlobal == pmedium->hGlobal ? S_OK
                                                                                                 : DATA_E_FORMATETC;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return E_UNEXPECTED;
}

STDMETHODIMP COleDataSource::XDataObject::QueryGetData(FORMATETC* pformatetc) {
    if (pformatetc == nullptr)
        return E_INVALIDARG;
    return m_pThis->Lookup(pformatetc) != nullptr ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pformatetcOut) {
    if (pformatetcOut != nullptr)
        pformatetcOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) {
    if (pformatetc == nullptr || pmedium == nullptr)
        return E_INVALIDARG;
    try {
        return m_pThis->OnSetData(pformatetc, pmedium, fRelease) ? S_OK : E_NOTIMPL;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return E_UNEXPECTED;
}

STDMETHODIMP COleDataSource::XDataObject::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) {
    if (ppenumFormatEtc == nullptr)
        return E_INVALIDARG;
    *ppenumFormatEtc = nullptr;
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    try {
        std::vector<FORMATETC> formats;
        for (const CacheEntry& entry : m_pThis->m_cache)
            formats.push_back(entry.formatEtc);
        return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.empty() ? nullptr : formats.data(),
                                       ppenumFormatEtc);
    } catch (...) {
    }
    return E_OUTOFMEMORY;
}

STDMETHODIMP COleDataSource::XDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::XDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

STDMETHODIMP COleDataSource::XDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }
