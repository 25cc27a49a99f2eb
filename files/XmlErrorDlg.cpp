#include "files/XmlErrorDlg.h"

#include "platform/classlib/MessageMap.h"
#include "resources/FilesDialogs.h"

#include <algorithm>

namespace {

// Words wrap; a word wider than the row (a path) breaks where it must.
constexpr UINT kWrap = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
// Room between a row's edge and its text.
constexpr int kMargin = 2;
// The tallest row a list box keeps.
constexpr int kMaxRowHeight = 255;

}  // namespace

BEGIN_MESSAGE_MAP(CXmlErrorDlg, CKWDialog)
    ON_WM_MEASUREITEM()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

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
    }
    return result;
}

CString CXmlErrorDlg::LineAt(UINT index) const
{
    // The list holds the lines in their order.
    return index < m_lines.size() ? m_lines[index] : CString();
}

CRect CXmlErrorDlg::TextRect(const RECT& row) const
{
    CRect rect(row);
    rect.DeflateRect(kMargin, 0);
    return rect;
}

void CXmlErrorDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT item)
{
    HWND list = ::GetDlgItem(m_hWnd, nIDCtl);
    if (nIDCtl != IDC_XML_ERROR_LIST || !list || item->CtlType != ODT_LISTBOX) {
        CKWDialog::OnMeasureItem(nIDCtl, item);
        return;
    }
    // The width the rows get once the vertical scroll bar shows.
    RECT client = {};
    ::GetClientRect(list, &client);
    client.right = std::max<LONG>(client.left + 1, client.right - ::GetSystemMetrics(SM_CXVSCROLL));
    CRect text = TextRect(client);
    const CString line = LineAt(item->itemID);
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    if (!line.IsEmpty())
        ::DrawTextW(dc, line, line.GetLength(), &text, kWrap | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    const int height = line.IsEmpty() ? metrics.tmHeight : text.Height();
    item->itemHeight = static_cast<UINT>(std::min(std::max<int>(height, metrics.tmHeight), kMaxRowHeight));
}

void CXmlErrorDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT item)
{
    if (nIDCtl != IDC_XML_ERROR_LIST || item->CtlType != ODT_LISTBOX) {
        CKWDialog::OnDrawItem(nIDCtl, item);
        return;
    }
    if (item->itemID == static_cast<UINT>(-1))
        return;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    ::FillRect(item->hDC, &item->rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const CString line = LineAt(item->itemID);
    if (!line.IsEmpty()) {
        const int mode = ::SetBkMode(item->hDC, TRANSPARENT);
        const COLORREF color = ::SetTextColor(item->hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        CRect text = TextRect(item->rcItem);
        ::DrawTextW(item->hDC, line, line.GetLength(), &text, kWrap);
        ::SetTextColor(item->hDC, color);
        ::SetBkMode(item->hDC, mode);
    }
    if (item->itemState & ODS_FOCUS)
        ::DrawFocusRect(item->hDC, &item->rcItem);
}
