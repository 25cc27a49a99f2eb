#include "platform/classlib/GdiObject.h"

#include "platform/classlib/DC.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/HandleMap.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {
CObject* NewTempGdiObject(void* handle) {
    CGdiObject* p = new CGdiObject;
    p->m_hObject = handle;
    return p;
}

void DeleteTempGdiObject(CObject* pObject) {
    CGdiObject* p = static_cast<CGdiObject*>(pObject);
    p->m_hObject = nullptr;
    delete p;
}
}  // namespace

CHandleMap* afxMapHGDIOBJ() {
    static CHandleMap* pMap = new CHandleMap(afxHandleGdiObject, NewTempGdiObject, DeleteTempGdiObject);
    return pMap;
}

CGdiObject::~CGdiObject() { DeleteObject(); }

HGDIOBJ CGdiObject::GetSafeHandle() const {
    const CGdiObject* p = this;
    __asm__("" : "+r"(p));  // `this` may be null; keep the test
    return p != nullptr ? p->m_hObject : nullptr;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return static_cast<CGdiObject*>(afxMapHGDIOBJ()->FromHandle(hObject));
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (hObject == nullptr)
        return FALSE;
    m_hObject = hObject;
    afxMapHGDIOBJ()->SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    // Stock objects may be attached to several wrappers; only our own entry goes.
    if (hObject != nullptr && afxMapHGDIOBJ()->LookupPermanent(hObject) == this)
        afxMapHGDIOBJ()->RemoveHandle(hObject);
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(Detach());
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
    if (!CreateHatchBrush(nIndex, crColor))
        AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap))
        AfxThrowResourceException();
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return Attach(::CreatePatternBrush(static_cast<HBITMAP>(CGdiObject::SafeHandleOf(pBitmap))));
}

BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(CDC::SafeHdcOf(pDC), nWidth, nHeight));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC) { return Attach(::CreateHalftonePalette(CDC::SafeHdcOf(pDC))); }
