#pragma once
// CKWViewTool: holds a view's scroll origin, the offset at which the view
// draws its content.
#include "platform/classlib/Rect.h"

class CKWViewTool {
public:
    CKWViewTool() = default;
    virtual ~CKWViewTool();
    virtual void SetOrigin(const CPoint& origin);
    virtual CPoint GetOrigin();

private:
    CPoint m_origin;
};
