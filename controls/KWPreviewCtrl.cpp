#include "controls/KWPreviewCtrl.h"

void CKWPreviewCtrl::SetFile(const wchar_t* path, bool show)
{
    CString file = path ? path : L"";
    if (file == m_file && show == m_show)
        return;
    m_file = file;
    m_show = show;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
