#include "appwindows/KWProgressWnd.h"

#include "resources/FrameworkDialogs.h"

#include <commctrl.h>

CKWProgressWnd::CKWProgressWnd(CWnd* pParentWnd) : CKWDialog(IDD_KW_PROGRESS, pParentWnd)
{
    // The bar's window class must exist before the template is made.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    Create(IDD_KW_PROGRESS, pParentWnd);
}

CKWProgressWnd::~CKWProgressWnd()
{
    m_bar.DestroyImp();
    m_barWindow = nullptr;
    m_label = nullptr;
    if (m_hWnd)
        DestroyWindow();
}

BOOL CKWProgressWnd::OnInitDialog()
{
    BOOL result = CKWDialog::OnInitDialog();
    m_label = GetItemWindow(IDC_KW_PROGRESS_TEXT);
    m_barWindow = GetItemWindow(IDC_KW_PROGRESS_BAR);
    m_bar.CreateImp(m_barWindow);
    m_bar.SetPos(0);
    m_bar.SetRange(0, 1000);
    m_bar.SetStep(1);
    // No control takes the keys: a focus given now would activate the
    // window before it is shown, and one shown inactive must not take them.
    (void)result;
    return FALSE;
}

void CKWProgressWnd::SetRange(int low, int high)
{
    m_bar.SetRange(low, high);
}

void CKWProgressWnd::SetStep(int step)
{
    m_bar.SetStep(step);
}

void CKWProgressWnd::SetMessage(const wchar_t* text)
{
    if (!m_label)
        return;
    ::SetWindowTextW(m_label, text ? text : L"");
    ::InvalidateRect(m_label, nullptr, TRUE);
    ::UpdateWindow(m_label);
}

bool CKWProgressWnd::Show()
{
    if (!m_hWnd)
        return false;
    BOOL wasVisible = ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    ::UpdateWindow(m_hWnd);
    return wasVisible != FALSE;
}

bool CKWProgressWnd::ShowInactive()
{
    if (!m_hWnd)
        return false;
    BOOL wasVisible = ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    return wasVisible != FALSE;
}

bool CKWProgressWnd::Hide()
{
    if (!m_hWnd)
        return false;
    return ::ShowWindow(m_hWnd, SW_HIDE) != FALSE;
}

void CKWProgressWnd::StepIt()
{
    m_bar.StepIt();
}

int CKWProgressWnd::GetPos()
{
    return m_bar.GetPos();
}

void CKWProgressWnd::SetPos(int position)
{
    // The bar always takes the position, but draws it at most every
    // kDrawInterval and when it reaches its end: a bar drawn at each move
    // costs milliseconds on some systems, and nobody sees more moves than that.
    const DWORD now = ::GetTickCount();
    const bool draw = now - m_drawnAt >= kDrawInterval || position >= m_bar.GetUpper() || !m_barWindow;
    if (draw) {
        m_bar.SetPos(position);
        m_drawnAt = now;
        return;
    }
    ::SendMessageW(m_barWindow, WM_SETREDRAW, FALSE, 0);
    m_bar.SetPos(position);
    ::SendMessageW(m_barWindow, WM_SETREDRAW, TRUE, 0);
    // Drawn with the next drawn move, or when the window next paints.
    ::InvalidateRect(m_barWindow, nullptr, FALSE);
}

int CKWProgressWnd::GetUpper()
{
    return m_bar.GetUpper();
}
