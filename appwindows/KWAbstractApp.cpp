#include "appwindows/KWAbstractApp.h"

#include <algorithm>

void CKWAbstractApp::SetPageGeometry(const KWPrinterPage& page)
{
    // n pixels are n * (1 / pixels per inch) * 254 tenths of a millimetre, in that order.
    const double perPixelX = 1.0 / page.pixelsPerInchX;
    const double perPixelY = 1.0 / page.pixelsPerInchY;
    auto toTenthsX = [perPixelX](int pixels) { return pixels * perPixelX * 254; };
    auto toTenthsY = [perPixelY](int pixels) { return pixels * perPixelY * 254; };
    const int right = page.physicalWidth - page.offsetX - page.printableWidth;
    const int bottom = page.physicalHeight - page.offsetY - page.printableHeight;
    m_leftMargin = toTenthsX(page.offsetX);
    m_topMargin = toTenthsY(page.offsetY);
    m_rightMargin = toTenthsX(right);
    m_bottomMargin = toTenthsY(bottom);
    m_printableWidth = toTenthsX(page.physicalWidth - page.offsetX) - m_rightMargin;
    m_printableHeight = toTenthsY(page.physicalHeight - page.offsetY) - m_bottomMargin;
    m_paperWidth = static_cast<int32_t>(toTenthsX(page.physicalWidth));
    m_paperHeight = static_cast<int32_t>(toTenthsY(page.physicalHeight));
    m_largestMargin = static_cast<int32_t>(std::max({m_leftMargin, m_topMargin, m_rightMargin, m_bottomMargin}));
}

void CKWAbstractApp::ClearPageGeometry()
{
    m_leftMargin = m_topMargin = m_rightMargin = m_bottomMargin = 0;
    m_printableWidth = m_printableHeight = 0;
    m_paperWidth = m_paperHeight = m_largestMargin = 0;
}
