#include "platform/classlib/OleDropSource.h"

#include "platform/classlib/Exception.h"
#include "platform/classlib/Wnd.h"

IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

UINT COleDropSource::nDragMinDist = DD_DEFDRAGMINDIST;
UINT COleDropSource::nDragDelay = DD_DEFDRAGDELAY;

COleDropSource::COleDropSource()
    : m_bDragStarted(FALSE), m_dwButtonCancel(0), m_dwButtonDrop(0), m_dwRef(1) {
    m_xDropSource.m_pThis = this;
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (bEscapePressed || (dwKeyState & m_dwButtonCancel) != 0) {
        m_bDragStarted = FALSE;
        return DRAGDROP_S_CANCEL;
    }
    // The button that carries the drag was released: drop.
    if ((dwKeyState & m_dwButtonDrop) == 0)
        return m_bDragStarted ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT) { return DRAGDROP_S_USEDEFAULTCURSORS; }

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd) {
    m_bDragStarted = FALSE;
    // The other button cancels the drag.
    m_dwButtonCancel = 0;
    m_dwButtonDrop = 0;
    if (::GetKeyState(VK_LBUTTON) < 0) {
        m_dwButtonDrop |= MK_LBUTTON;
        m_dwButtonCancel |= MK_RBUTTON;
    } else if (::GetKeyState(VK_RBUTTON) < 0) {
        m_dwButtonDrop |= MK_RBUTTON;
        m_dwButtonCancel |= MK_LBUTTON;
    }
    DWORD dwStart = ::GetTickCount();
    pWnd->SetCapture();
    while (!m_bDragStarted) {
        // Another window took the capture: no drag.
        if (::GetCapture() != pWnd->m_hWnd)
            break;
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
            ::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP || msg.message == WM_LBUTTONDOWN ||
                msg.message == WM_RBUTTONDOWN)
                break;
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                break;
            m_bDragStarted = !m_rectStartDrag.PtInRect(msg.pt);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_INPUT);
        }
        // Holding still long enough starts the drag as well.
        if (::GetTickCount() - dwStart > nDragDelay)
            m_bDragStarted = TRUE;
    }
    ::ReleaseCapture();
    return m_bDragStarted;
}

STDMETHODIMP COleDropSource::XDropSource::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
        *ppv = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDropSource::XDropSource::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_pThis->m_dwRef));
}

STDMETHODIMP_(ULONG) COleDropSource::XDropSource::Release() {
    return static_cast<ULONG>(::InterlockedDecrement(&m_pThis->m_dwRef));
}

STDMETHODIMP COleDropSource::XDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) {
    try {
        return m_pThis->QueryContinueDrag(fEscapePressed, grfKeyState);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return DRAGDROP_S_CANCEL;
}

STDMETHODIMP COleDropSource::XDropSource::GiveFeedback(DWORD dwEffect) {
    try {
        return m_pThis->GiveFeedback(dwEffect);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return DRAGDROP_S_USEDEFAULTCURSORS;
}
