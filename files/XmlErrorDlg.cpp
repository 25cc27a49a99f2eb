#include "files/XmlErrorDlg.h"

#include "resources/FilesDialogs.h"

CXmlErrorDlg::CXmlErrorDlg(CWnd* parent) : CKWDialog(IDD_XML_ERRORS, parent) {}

BOOL CXmlErrorDlg::OnInitDialog()
{
    BOOL result = CKWDialog::OnInitDialog();
    m_list = GetItemWindow(IDC_XML_ERROR_LIST);
    m_label = GetItemWindow(IDC_XML_ERROR_HEADING);
    if (m_label)
        ::SetWindowTextW(m_label, m_heading);
    if (m_list) {
        for (const CString& line : m_lines)
            ::SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.GetString()));
        SetHorizontalExtent(m_list);
    }
    return result;
}

void CXmlErrorDlg::SetHorizontalExtent(HWND list)
{
    HDC dc = ::GetDC(list);
    if (!dc)
        return;
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const CString& line : m_lines) {
        SIZE size = {};
        if (::GetTextExtentPoint32W(dc, line, line.GetLength(), &size) && size.cx > widest)
            widest = size.cx;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    // A little room after the text, as the list box leaves before it.
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + ::GetSystemMetrics(SM_CXEDGE) * 2), 0);
}
