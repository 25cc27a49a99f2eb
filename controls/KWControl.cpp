#include "controls/KWControl.h"

#include "controls/KWControlsFactory.h"

CKWControl::~CKWControl()
{
    CKWControl::DestroyImp();
}

void CKWControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateCtrlImp(hWnd);
}

void CKWControl::DestroyImp()
{
    if (!m_imp)
        return;
    KWGetControlsFactory()->DestroyImp(m_imp);
    m_imp = nullptr;
}

bool CKWControl::Create(DWORD, DWORD, const RECT&, CWnd*, UINT)
{
    return false;
}

void CKWControl::SetDropHandler(CKWDragDropPane* handler)
{
    if (m_imp)
        m_imp->SetDropHandler(handler);
}

void CKWControl::GetClientRect(RECT* rect)
{
    if (m_imp)
        m_imp->GetClientRect(rect);
}

int CKWControl::GetScrollPos(bool vertical)
{
    return m_imp ? m_imp->GetScrollPos(vertical) : 0;
}

void CKWControl::SetScrollPos(bool vertical, int position)
{
    if (m_imp)
        m_imp->SetScrollPos(vertical, position);
}

int CKWControl::GetScrollInfo(bool vertical, int& minimum, int& maximum, int passed)
{
    minimum = 0;
    maximum = 0;
    return m_imp ? m_imp->GetScrollInfo(vertical, minimum, maximum, passed) : 0;
}

void CKWControl::Enable(bool enable)
{
    if (m_imp)
        m_imp->Enable(enable);
}

void CKWControl::Show(bool show)
{
    if (m_imp)
        m_imp->Show(show);
}

bool CKWControl::IsVisible()
{
    return m_imp && m_imp->IsVisible();
}

void CKWControl::Redraw(bool updateNow)
{
    if (m_imp)
        m_imp->Redraw(updateNow);
}

void CKWControl::Invalidate()
{
    if (m_imp)
        m_imp->Invalidate();
}

void CKWControl::InvalidateRect(const RECT& rect)
{
    if (m_imp)
        m_imp->InvalidateRect(rect);
}

void CKWControl::Update()
{
    if (m_imp)
        m_imp->Update();
}

void CKWControl::SetFocus()
{
    if (m_imp)
        m_imp->SetFocus();
}

void CKWControl::SetText(const CString& text)
{
    if (m_imp)
        m_imp->SetText(text);
}

void CKWControl::GetText(CString& text)
{
    if (m_imp)
        m_imp->GetText(text);
}

bool CKWControl::HasFocus()
{
    return m_imp && m_imp->HasFocus();
}

void CKWControl::SetFont(const CKWFontData& font)
{
    if (m_imp)
        m_imp->SetFont(font);
}

void CKWControl::SetContextMenu(UINT menuId)
{
    if (m_imp)
        m_imp->SetContextMenu(menuId);
}

void CKWControl::SetOwner(CKWFocusManager* owner, int value)
{
    if (m_imp)
        m_imp->SetOwner(owner, value);
}

void CKWControl::EnableDragDrop(bool enable)
{
    if (m_imp)
        m_imp->EnableDragDrop(enable);
}
