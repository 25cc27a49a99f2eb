#pragma once
// COleDataSource: an OLE data object of the program's own: formats offered
// at once (cached media) or rendered when asked for (delayed rendering
// through the OnRender... operations), handed to a drag (DoDragDrop) or to
// the clipboard. The object is reference counted; made with new, it deletes
// itself when the last reference goes (the creator's with InternalRelease).
#include "platform/classlib/CmdTarget.h"
#include "platform/classlib/OleDataObject.h"

#include <ole2.h>

#include <vector>

class CFile;
class COleDropSource;

class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    // Releases the cached media.
    ~COleDataSource() override;

    // The data is owned by the source from now on. lpFormatEtc: the format's
    // aspect, index and medium (content aspect, index -1 and the medium of
    // the data when null). An entry of the same format and aspect is replaced.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // Offers the format; OnRenderData makes it when it is asked for.
    void DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    void DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // Forgets every format.
    void Empty();
    // The formats on offer, in the order they were offered.
    int GetFormatCount() const { return static_cast<int>(m_cache.size()); }
    const FORMATETC& GetFormat(int nIndex) const { return m_cache[static_cast<size_t>(nIndex)].formatEtc; }

    // Runs the OLE drag loop with this data (pDropSource: the default source
    // when null) once the mouse leaves lpRectStartDrag (screen coordinates)
    // or the drag delay passes; the effect the target chose, DROPEFFECT_NONE
    // when the drag was cancelled or never started.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);
    // Puts the data on the clipboard (which holds a reference).
    BOOL SetClipboard();

    // The object's IDataObject, with a reference added when bAddRef.
    LPDATAOBJECT GetDataObject(BOOL bAddRef);
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalAddRef() { return InternalAddRef(); }
    DWORD ExternalRelease() { return InternalRelease(); }

    // Delayed rendering. The default gives TYMED_HGLOBAL through
    // OnRenderGlobalData, then through OnRenderFileData (into a shared
    // file), and TYMED_ISTREAM through OnRenderFileData.
    virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);
    // *phGlobal may hold a block to fill (GetDataHere); else make one.
    virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
    virtual BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile);
    // Data given to the object (IDataObject::SetData); FALSE refuses it.
    virtual BOOL OnSetData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium, BOOL bRelease);

protected:
    // The last reference went: deletes the object.
    virtual void OnFinalRelease();

    struct CacheEntry {
        FORMATETC formatEtc;
        STGMEDIUM stgMedium;  // tymed 0 for a delayed format
    };
    // The entry that answers the request, or null.
    CacheEntry* Lookup(const FORMATETC* lpFormatEtc);
    void AddEntry(const FORMATETC& formatEtc, const STGMEDIUM& stgMedium);

    std::vector<CacheEntry> m_cache;
    LONG m_dwRef;

private:
    struct XDataObject : public IDataObject {
        COleDataSource* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(GetData)(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
        STDMETHOD(GetDataHere)(FORMATETC* pformatetc, STGMEDIUM* pmedium) override;
        STDMETHOD(QueryGetData)(FORMATETC* pformatetc) override;
        STDMETHOD(GetCanonicalFormatEtc)(FORMATETC* pformatectIn, FORMATETC* pformatetcOut) override;
        STDMETHOD(SetData)(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) override;
        STDMETHOD(EnumFormatEtc)(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override;
        STDMETHOD(DAdvise)(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink, DWORD* pdwConnection) override;
        STDMETHOD(DUnadvise)(DWORD dwConnection) override;
        STDMETHOD(EnumDAdvise)(IEnumSTATDATA** ppenumAdvise) override;
    } m_xDataObject;
};

// A copy of a storage medium that the caller owns (ReleaseStgMedium);
// FALSE when the medium cannot be copied.
BOOL AfxCopyStgMedium(CLIPFORMAT cfFormat, LPSTGMEDIUM lpDest, const STGMEDIUM* lpSource);
