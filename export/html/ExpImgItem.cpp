#include "export/html/ExpImgItem.h"

CExpImgItem::CExpImgItem(int32_t width, int32_t height, uint16_t format, uint8_t kind, const CString& fileName)
    : m_kind(kind), m_format(format), m_width(width), m_height(height), m_fileName(fileName)
{
}

CExpImgItem::~CExpImgItem() {}

bool CExpImgItem::IsSameKind(const CExpImgItem& other) const
{
    return m_kind == other.m_kind && m_format == other.m_format;
}
