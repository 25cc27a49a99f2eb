#include "platform/classlib/OleDropTarget.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Wnd.h"

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

DROPEFFECT AfxFilterDropEffect(DROPEFFECT dropEffect, DROPEFFECT dwEffects) {
    if ((dropEffect & dwEffects) != 0)
        return dropEffect;
    switch (dropEffect) {
    case DROPEFFECT_COPY:
        if (dwEffects & DROPEFFECT_MOVE)
            return DROPEFFECT_MOVE;
        if (dwEffects & DROPEFFECT_LINK)
            return DROPEFFECT_LINK;
        break;
    case DROPEFFECT_MOVE:
        if (dwEffects & DROPEFFECT_COPY)
            return DROPEFFECT_COPY;
        if (dwEffects & DROPEFFECT_LINK)
            return DROPEFFECT_LINK;
        break;
    default:
        break;
    }
    return DROPEFFECT_NONE;
}

COleDropTarget::COleDropTarget() : m_hWnd(nullptr), m_dwRef(1) { m_xDropTarget.m_pThis = this; }

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget)))
        return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (m_hWnd == nullptr)
        return;
    ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    m_dataObject.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) {
    return static_cast<DROPEFFECT>(-1);
}

void COleDropTarget::OnDragLeave(CWnd*) {}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

CWnd* COleDropTarget::TargetWindow(POINTL pt, CPoint& rPoint) const {
    CWnd* pWnd = m_hWnd != nullptr && ::IsWindow(m_hWnd) ? CWnd::FromHandle(m_hWnd) : nullptr;
    rPoint = CPoint(pt.x, pt.y);
    if (pWnd != nullptr)
        pWnd->ScreenToClient(&rPoint);
    return pWnd;
}

// IDropTarget. No C++ exception leaves these.

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_pThis->m_dwRef));
}

STDMETHODIMP_(ULONG) COleDropTarget::XDropTarget::Release() {
    // The object belongs to its window's object, not to OLE.
    return static_cast<ULONG>(::InterlockedDecrement(&m_pThis->m_dwRef));
}

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                    DWORD* pdwEffect) {
    return m_pThis->TrackDrag(true, pDataObj, grfKeyState, pt, pdwEffect);
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
    return m_pThis->TrackDrag(false, nullptr, grfKeyState, pt, pdwEffect);
}

HRESULT COleDropTarget::TrackDrag(bool bEnter, IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                  DWORD* pdwEffect) {
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    try {
        CPoint point;
        CWnd* pWnd = TargetWindow(pt, point);
        if (pWnd == nullptr)
            return E_UNEXPECTED;
        if (bEnter) {
            if (pDataObj != nullptr)
                pDataObj->AddRef();
            m_dataObject.Attach(pDataObj, TRUE);
        }
        DROPEFFECT dropEffect = OnDragScroll(pWnd, grfKeyState, point);
        if (dropEffect & DROPEFFECT_SCROLL) {
            *pdwEffect = dropEffect;
            return S_OK;
        }
        dropEffect = bEnter ? OnDragEnter(pWnd, &m_dataObject, grfKeyState, point)
                            : OnDragOver(pWnd, &m_dataObject, grfKeyState, point);
        *pdwEffect = AfxFilterDropEffect(dropEffect, dwAllowed);
        return S_OK;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return E_UNEXPECTED;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave() {
    try {
        CPoint point;
        CWnd* pWnd = m_pThis->TargetWindow(POINTL{0, 0}, point);
        if (pWnd != nullptr)
            m_pThis->OnDragLeave(pWnd);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    m_pThis->m_dataObject.Release();
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                               DWORD* pdwEffect) {
    if (pdwEffect == nullptr)
        return E_INVALIDARG;
    DWORD dwAllowed = *pdwEffect;
    *pdwEffect = DROPEFFECT_NONE;
    HRESULT hr = S_OK;
    try {
        CPoint point;
        CWnd* pWnd = m_pThis->TargetWindow(pt, point);
        if (pWnd == nullptr) {
            hr = E_UNEXPECTED;
        } else {
            if (pDataObj != nullptr) {
                pDataObj->AddRef();
                m_pThis->m_dataObject.Attach(pDataObj, TRUE);
            }
            COleDataObject* pData = &m_pThis->m_dataObject;
            DROPEFFECT dropDefault =
                AfxFilterDropEffect(m_pThis->OnDragOver(pWnd, pData, grfKeyState, point), dwAllowed);
            DROPEFFECT dropEffect = m_pThis->OnDropEx(pWnd, pData, dropDefault, dwAllowed, point);
            if (dropEffect == static_cast<DROPEFFECT>(-1)) {
                if (dropDefault != DROPEFFECT_NONE) {
                    dropEffect = m_pThis->OnDrop(pWnd, pData, dropDefault, point) ? dropDefault : DROPEFFECT_NONE;
                } else {
                    // Refused: the target cleans up as after a leave.
                    m_pThis->OnDragLeave(pWnd);
                    dropEffect = DROPEFFECT_NONE;
                }
            }
            *pdwEffect = dropEffect;
        }
    } catch (CException* e) {
        e->Delete();
        hr = E_UNEXPECTED;
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    m_pThis->m_dataObject.Release();
    return hr;
}
