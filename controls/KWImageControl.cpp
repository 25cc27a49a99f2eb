#include "controls/KWImageControl.h"

#include "framework/KWGdipBitmap.h"
#include "framework/KWGraphics.h"

CKWImageControlImp::~CKWImageControlImp()
{
    delete m_image;
}

void CKWImageControlImp::Draw(IKWGraphics* graphics)
{
    if (m_callback) {
        m_callback(graphics, this, m_context);
        return;
    }
    if (m_image && m_image->IsValid())
        graphics->DrawImage(0, 0, m_image, nullptr);
}

void CKWImageControlImp::ClearImage()
{
    delete m_image;
    m_image = nullptr;
}

void CKWImageControlImp::SetImageResource(UINT resourceId)
{
    ClearImage();
    m_image = new CKWGdipBitmap;
    m_image->LoadFromResource(resourceId);
}

void CKWImageControlImp::SetDrawCallback(KWImageDrawCallback callback, void* context)
{
    m_callback = callback;
    m_context = context;
}

void CKWImageControlImp::GetImageSize(CSize& size)
{
    size = m_image ? CSize(m_image->GetWidth(), m_image->GetHeight()) : CSize(0, 0);
}

void CKWImageControlImp::GetClientSize(CSize& size)
{
    CRect client;
    GetClientRect(client);
    size = client.Size();
}

void CKWImageControlImp::UpdateImageSize()
{
    CSize size;
    GetImageSize(size);
    m_rect.left = size.cx;
    m_rect.top = size.cy;
}

CKWImageControl::CKWImageControl() : m_imp(new CKWImageControlImpWin) {}

CKWImageControl::~CKWImageControl()
{
    delete m_imp;
}

bool CKWImageControl::Attach(UINT controlId, CWnd* parent)
{
    return parent && m_imp->SubclassDlgItem(controlId, parent);
}

void CKWImageControl::DestroyWindow() { m_imp->DestroyWindow(); }

void CKWImageControl::UpdateImageSize() { m_imp->UpdateImageSize(); }

void CKWImageControl::ClearImage() { m_imp->ClearImage(); }

void CKWImageControl::SetImageResource(UINT resourceId) { m_imp->SetImageResource(resourceId); }

void CKWImageControl::SetDrawCallback(KWImageDrawCallback callback, void* context)
{
    m_imp->SetDrawCallback(callback, context);
}

void CKWImageControl::GetImageSize(CSize& size) { m_imp->GetImageSize(size); }

void CKWImageControl::GetClientSize(CSize& size) { m_imp->GetClientSize(size); }

void CKWImageControl::SetWindowRect(const CRect& rect)
{
    if (m_imp->m_hWnd)
        m_imp->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

void CKWImageControl::GetClientRect(CRect& rect) { m_imp->GetClientRect(rect); }

void CKWImageControl::Invalidate()
{
    if (m_imp->m_hWnd)
        m_imp->Invalidate(TRUE);
}
