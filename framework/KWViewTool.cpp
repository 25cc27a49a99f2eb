#include "framework/KWViewTool.h"

CKWViewTool::~CKWViewTool() = default;

void CKWViewTool::SetOrigin(const CPoint& origin) { m_origin = origin; }

CPoint CKWViewTool::GetOrigin() { return m_origin; }
