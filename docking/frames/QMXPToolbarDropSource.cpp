#include "docking/frames/QMXPToolbarDropSource.h"

#include "platform/classlib/WinApp.h"

namespace {

constexpr UINT kCursorRemove = 16133;
constexpr UINT kCursorMove = 16146;
constexpr UINT kCursorCopy = 16004;

HCURSOR LoadLibraryCursor(UINT uiID) {
    return static_cast<HCURSOR>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(uiID), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

// Our own cursor, the system's when ours is missing.
void ShowCursor(HCURSOR hcur, LPCWSTR lpszFallback) {
    ::SetCursor(hcur != nullptr ? hcur : ::LoadCursorW(nullptr, lpszFallback));
}

}  // namespace

IMPLEMENT_DYNAMIC(CQMXPToolbarDropSource, COleDropSource)

CQMXPToolbarDropSource g_QMXPToolbarDropSource;

CQMXPToolbarDropSource::CQMXPToolbarDropSource()
    : m_bDeleteOnDrop(TRUE),
      m_bEscapePressed(FALSE),
      m_bDragStarted(FALSE),
      m_hcurDelete(nullptr),
      m_hcurMove(nullptr),
      m_hcurCopy(nullptr) {}

CQMXPToolbarDropSource::~CQMXPToolbarDropSource() {
    for (HCURSOR hcur : {m_hcurDelete, m_hcurMove, m_hcurCopy})
        if (hcur != nullptr)
            ::DestroyCursor(hcur);
}

void CQMXPToolbarDropSource::LoadCursors() {
    if (m_hcurDelete == nullptr)
        m_hcurDelete = LoadLibraryCursor(kCursorRemove);
    if (m_hcurMove == nullptr)
        m_hcurMove = LoadLibraryCursor(kCursorMove);
    if (m_hcurCopy == nullptr)
        m_hcurCopy = LoadLibraryCursor(kCursorCopy);
}

BOOL CQMXPToolbarDropSource::OnBeginDrag(CWnd* pWnd) {
    LoadCursors();
    m_bDragStarted = TRUE;
    return COleDropSource::OnBeginDrag(pWnd);
}

SCODE CQMXPToolbarDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
    if (m_bDeleteOnDrop)
        ShowCursor(m_hcurDelete, IDC_NO);
    m_bEscapePressed = bEscapePressed;
    return COleDropSource::QueryContinueDrag(bEscapePressed, dwKeyState);
}

SCODE CQMXPToolbarDropSource::GiveFeedback(DROPEFFECT dropEffect) {
    switch (dropEffect) {
    case DROPEFFECT_COPY:
        ShowCursor(m_hcurCopy, IDC_ARROW);
        break;
    case DROPEFFECT_MOVE:
        ShowCursor(m_hcurMove, IDC_ARROW);
        break;
    default:
        ShowCursor(m_hcurDelete, IDC_NO);
        break;
    }
    return S_OK;
}
