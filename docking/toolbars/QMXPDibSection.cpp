#include "docking/toolbars/QMXPDibSection.h"

CQMXPDibSection::~CQMXPDibSection() {
    HBITMAP hBitmap = Detach();
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
}

BOOL CQMXPDibSection::Create(int cx, int cy) {
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(nullptr);
    if (m_hDC == nullptr)
        return FALSE;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (m_hBitmap == nullptr) {
        ::DeleteDC(m_hDC);
        m_hDC = nullptr;
        return FALSE;
    }
    m_pBits = static_cast<uint32_t*>(pBits);
    m_cx = cx;
    m_cy = cy;
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    return TRUE;
}

HBITMAP CQMXPDibSection::Detach() {
    HBITMAP hBitmap = m_hBitmap;
    if (m_hDC != nullptr) {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteDC(m_hDC);
    }
    m_hDC = nullptr;
    m_hBitmap = nullptr;
    m_hOldBitmap = nullptr;
    m_pBits = nullptr;
    m_cx = m_cy = 0;
    return hBitmap;
}
