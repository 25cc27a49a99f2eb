#include "model/TalWatermark.h"

CTalWatermark::~CTalWatermark() = default;

CKWDoubleRect CTalWatermark::GetImageRect(double pageWidth, double pageHeight) const
{
    const double width = GetWidthInInches();
    const double height = GetHeightInInches();
    // Codes outside the grid stand where the default (top centre) does.
    const int32_t place = m_place >= 0 && m_place <= kPlaceBottomRight ? m_place : kPlaceTopCentre;
    const int column = place % 3;
    const int row = place / 3;
    const double left = column == 0 ? 0.0 : column == 1 ? (pageWidth - width) * 0.5 : pageWidth - width;
    const double top = row == 0 ? 0.0 : row == 1 ? (pageHeight - height) * 0.5 : pageHeight - height;
    return CKWDoubleRect(left, top, left + width, top + height);
}

int32_t CTalWatermark::GetPageNumber(int32_t pageIndex, bool titlePageFirst) const
{
    const int32_t pagesBefore = titlePageFirst ? pageIndex - 1 : pageIndex;
    return m_firstNumber + pagesBefore;
}

CString CTalWatermark::FormatPageNumber(int32_t pageIndex, bool titlePageFirst) const
{
    CString text;
    text.Format(L"%d", GetPageNumber(pageIndex, titlePageFirst));
    return text;
}

bool operator==(const CTalWatermark& a, const CTalWatermark& b)
{
    return a.m_kind == b.m_kind && a.m_sendToFront == b.m_sendToFront && a.m_name == b.m_name &&
           a.m_place == b.m_place && a.m_textFormat == b.m_textFormat && a.m_text == b.m_text &&
           a.m_firstNumber == b.m_firstNumber && a.m_pictureId == b.m_pictureId && a.m_constrain == b.m_constrain &&
           a.m_unit == b.m_unit && a.m_width == b.m_width && a.m_height == b.m_height &&
           a.m_spareRect.left == b.m_spareRect.left && a.m_spareRect.top == b.m_spareRect.top &&
           a.m_spareRect.right == b.m_spareRect.right && a.m_spareRect.bottom == b.m_spareRect.bottom;
}
