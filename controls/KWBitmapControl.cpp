#include "controls/KWBitmapControl.h"

#include "controls/KWControlsFactory.h"

CKWBitmapControlImpWin::CKWBitmapControlImpWin(HWND hWnd) : CKWCtrlImpWin(hWnd)
{
    if (!hWnd)
        return;
    ::SetWindowLongW(hWnd, GWL_STYLE, ::GetWindowLongW(hWnd, GWL_STYLE) | kBoundStyle);
    ::SetClassLongPtrW(hWnd, GCL_STYLE, ::GetClassLongPtrW(hWnd, GCL_STYLE) | CS_HREDRAW | CS_VREDRAW);
    m_wnd.SubclassDlgItem(static_cast<UINT>(::GetDlgCtrlID(hWnd)), CWnd::FromHandle(::GetParent(hWnd)));
}

CKWBitmapControlImpWin::~CKWBitmapControlImpWin()
{
    if (m_wnd.m_hWnd)
        m_wnd.UnsubclassWindow();
}

void CKWBitmapControlImpWin::EnableDragDrop(bool enable)
{
    if (enable)
        m_wnd.RegisterDropTarget(&m_wnd);
    else
        m_wnd.RevokeDropTarget();
}

void CKWBitmapControlImpWin::SetStaticBitmap(UINT resourceId)
{
    HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId));
    if (GetHwnd())
        ::SendMessageW(GetHwnd(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void CKWBitmapControl::CreateImp(HWND hWnd)
{
    DestroyImp();
    m_imp = KWGetControlsFactory()->CreateBitmapImp(hWnd);
}
