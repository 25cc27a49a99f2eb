#include "model/TalTextFormat.h"

bool operator==(const CTalTextFormat& a, const CTalTextFormat& b)
{
    return a.m_style == b.m_style && a.m_charSet == b.m_charSet && a.m_size == b.m_size && a.m_font == b.m_font &&
           a.m_color == b.m_color && a.m_position == b.m_position && a.m_count == b.m_count &&
           a.m_spacing == b.m_spacing && a.m_hyperlink == b.m_hyperlink && a.m_align == b.m_align;
}
