#include "framework/KWBrush.h"

CKWBrush::CKWBrush()
    : m_color1(),
      m_color2(CKWColor::FromRgb(0xFF, 0xFF, 0xFF)),
      m_style(StyleSolid),
      m_hatch(0),
      m_x1(0.0),
      m_y1(0.0),
      m_x2(0.0),
      m_y2(0.0)
{
}

CKWBrush::CKWBrush(const CKWColor& color)
    : CKWBrush()
{
    m_color1 = color;
}

CKWBrush::~CKWBrush() = default;
