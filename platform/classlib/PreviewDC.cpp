#include "platform/classlib/PreviewDC.h"

IMPLEMENT_DYNAMIC(CPreviewDC, CDC)

CPreviewDC::CPreviewDC() : m_nSavedAttrib(0), m_shownSize(0, 0) {}

CPreviewDC::~CPreviewDC() {
    HENHMETAFILE hemf = EndPage();
    if (hemf != nullptr)
        ::DeleteEnhMetaFile(hemf);
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
}

void CPreviewDC::SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }

CSize CPreviewDC::GetPaperSize() const {
    if (m_hAttribDC == nullptr)
        return CSize(0, 0);
    int cx = ::GetDeviceCaps(m_hAttribDC, PHYSICALWIDTH);
    int cy = ::GetDeviceCaps(m_hAttribDC, PHYSICALHEIGHT);
    // Not every driver knows the paper; the printable area stands in for it.
    if (cx <= 0 || cy <= 0) {
        cx = ::GetDeviceCaps(m_hAttribDC, HORZRES);
        cy = ::GetDeviceCaps(m_hAttribDC, VERTRES);
    }
    return CSize(cx, cy);
}

CRect CPreviewDC::GetPrintableRect() const {
    if (m_hAttribDC == nullptr)
        return CRect(0, 0, 0, 0);
    int x = ::GetDeviceCaps(m_hAttribDC, PHYSICALOFFSETX);
    int y = ::GetDeviceCaps(m_hAttribDC, PHYSICALOFFSETY);
    CSize paper = GetPaperSize();
    int cx = ::GetDeviceCaps(m_hAttribDC, HORZRES);
    int cy = ::GetDeviceCaps(m_hAttribDC, VERTRES);
    if (x < 0 || y < 0 || x + cx > paper.cx || y + cy > paper.cy)
        x = y = 0;
    return CRect(x, y, x + cx, y + cy);
}

BOOL CPreviewDC::BeginPage() {
    if (m_hAttribDC == nullptr || m_nSavedAttrib != 0)
        return FALSE;
    // The metafile's frame is the printable area in 0.01 mm.
    CRect printable = GetPrintableRect();
    int dpiX = ::GetDeviceCaps(m_hAttribDC, LOGPIXELSX);
    int dpiY = ::GetDeviceCaps(m_hAttribDC, LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0)
        return FALSE;
    RECT frame = {0, 0, ::MulDiv(printable.Width(), 2540, dpiX), ::MulDiv(printable.Height(), 2540, dpiY)};
    HDC hdcMeta = ::CreateEnhMetaFileW(m_hAttribDC, nullptr, &frame, nullptr);
    if (hdcMeta == nullptr)
        return FALSE;
    m_nSavedAttrib = ::SaveDC(m_hAttribDC);
    if (m_nSavedAttrib == 0) {
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(hdcMeta));
        return FALSE;
    }
    m_hDC = hdcMeta;
    return TRUE;
}

HENHMETAFILE CPreviewDC::EndPage() {
    if (m_nSavedAttrib == 0)
        return nullptr;
    HENHMETAFILE hemf = ::CloseEnhMetaFile(m_hDC);
    m_hDC = nullptr;
    ::RestoreDC(m_hAttribDC, m_nSavedAttrib);
    m_nSavedAttrib = 0;
    return hemf;
}
