#include "controls/KWScrolledBitmapControl.h"

#include "framework/KWBrush.h"
#include "framework/KWColor.h"
#include "framework/KWGraphics.h"

#include <algorithm>

int KWScrolledBitmapTop(int offset, int viewHeight, int pictureHeight)
{
    if (offset >= -pictureHeight)
        return offset;
    // 64-bit: a box left open for days passes very large offsets.
    const int64_t period = int64_t(viewHeight) + pictureHeight;
    if (period <= 0)
        return offset;
    return static_cast<int>(viewHeight - (-int64_t(offset) - pictureHeight) % period);
}

void CKWScrolledBitmapControlImp::Draw(IKWGraphics* graphics)
{
    const int y = KWScrolledBitmapTop(m_offset, m_view.cy, m_image.cy);
    if (m_picture && m_picture->IsValid())
        graphics->DrawImage(0, y, m_picture.get(), nullptr);
    const int width = std::min<int>(m_image.cx, m_view.cx);
    bool any = false;
    auto strip = [&](int left, int top, int right, int bottom) {
        if (right <= left || bottom <= top)
            return;
        if (!any)
            graphics->BeginPath();
        any = true;
        graphics->AddRectangle(left, top, right - left, bottom - top);
    };
    if (m_image.cx < m_view.cx)
        strip(m_image.cx, 0, m_view.cx, m_view.cy);
    if (y > 0)
        strip(0, 0, width, std::min<int>(y, m_view.cy));
    if (y + m_image.cy >= 0 && y + m_image.cy < m_view.cy)
        strip(0, y + m_image.cy, width, m_view.cy);
    if (any)
        graphics->FillPath(CKWBrush(CKWColor::FromColorRef(m_background)));
}

void CKWScrolledBitmapControlImp::SetImageResource(UINT resourceId)
{
    m_picture = std::make_unique<CKWGdipBitmap>();
    m_picture->LoadFromResource(resourceId);
}

void CKWScrolledBitmapControlImp::SetOffset(int offset)
{
    m_previousOffset = m_offset;
    m_offset = offset;
    Redraw(true);
}

void CKWScrolledBitmapControlImp::Redraw(bool now)
{
    if (now)
        Refresh();
}

CSize CKWScrolledBitmapControlImp::GetClientSize()
{
    CRect rect;
    GetClientRect(rect);
    return rect.Size();
}

CSize CKWScrolledBitmapControlImp::GetImageSize()
{
    return m_picture ? CSize(m_picture->GetWidth(), m_picture->GetHeight()) : CSize(0, 0);
}

void CKWScrolledBitmapControlImp::UpdateSizes()
{
    m_view = GetClientSize();
    m_image = GetImageSize();
}

CKWScrolledBitmapControl::~CKWScrolledBitmapControl()
{
    delete m_imp;
}

bool CKWScrolledBitmapControl::Create(UINT controlId, CWnd* parent)
{
    delete m_imp;
    m_imp = new CKWScrolledBitmapControlImpWin;
    return parent && m_imp->SubclassDlgItem(controlId, parent);
}

void CKWScrolledBitmapControl::ReleaseWindow()
{
    if (m_imp)
        m_imp->ReleaseWindow();
}

void CKWScrolledBitmapControl::UpdateSizes()
{
    if (m_imp)
        m_imp->UpdateSizes();
}

void CKWScrolledBitmapControl::ClearImage()
{
    if (m_imp)
        m_imp->ClearImage();
}

void CKWScrolledBitmapControl::GetClientSize(CSize& size)
{
    size = m_imp ? m_imp->GetClientSize() : CSize(0, 0);
}

void CKWScrolledBitmapControl::GetImageSize(CSize& size)
{
    size = m_imp ? m_imp->GetImageSize() : CSize(0, 0);
}

void CKWScrolledBitmapControl::SetImageResource(UINT resourceId)
{
    if (m_imp)
        m_imp->SetImageResource(resourceId);
}

void CKWScrolledBitmapControl::SetOffset(int offset)
{
    if (m_imp)
        m_imp->SetOffset(offset);
}

void CKWScrolledBitmapControl::SetImpParam(COLORREF colour)
{
    if (m_imp)
        m_imp->SetBackground(colour);
}

void CKWScrolledBitmapControl::Refresh()
{
    if (!m_imp)
        return;
    m_imp->UpdateSizes();
    m_imp->Refresh();
}

void CKWScrolledBitmapControl::DestroyWindow()
{
    if (m_imp)
        m_imp->DestroyStatic();
    delete m_imp;
    m_imp = nullptr;
}

int CKWScrolledBitmapControl::GetOffset() const
{
    return m_imp ? m_imp->GetOffset() : 0;
}
