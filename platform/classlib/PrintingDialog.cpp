#include "platform/classlib/PrintingDialog.h"

#include "platform/classlib/WinApp.h"

#include <cstring>
#include <vector>

namespace {

// Set by Cancel, cleared when a job starts; the print loop runs on the UI thread only.
BOOL g_bUserAbort = FALSE;
HWND g_hWndPrinting = nullptr;

constexpr int kIdDocName = 1000;
constexpr int kIdPrinter = 1001;
constexpr int kIdPage = 1002;

// An in-memory dialog template: the class library has no resources of its own.
class CTemplateBuilder {
public:
    void Header(DWORD dwStyle, int cx, int cy, LPCWSTR lpszTitle, WORD nItems) {
        DLGTEMPLATE dt = {};
        dt.style = dwStyle;
        dt.cdit = nItems;
        dt.cx = static_cast<short>(cx);
        dt.cy = static_cast<short>(cy);
        Append(&dt, sizeof(dt));
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        String(lpszTitle);
        Word(8);  // DS_SETFONT: the point size, then the face
        String(L"MS Shell Dlg");
    }
    void Item(DWORD dwStyle, int x, int y, int cx, int cy, WORD nID, WORD wClassAtom, LPCWSTR lpszText) {
        Align();
        DLGITEMTEMPLATE it = {};
        it.style = dwStyle | WS_CHILD | WS_VISIBLE;
        it.x = static_cast<short>(x);
        it.y = static_cast<short>(y);
        it.cx = static_cast<short>(cx);
        it.cy = static_cast<short>(cy);
        it.id = nID;
        Append(&it, sizeof(it));
        Word(0xFFFF);
        Word(wClassAtom);
        String(lpszText);
        Word(0);  // no creation data
    }
    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_data.data()); }

private:
    void Append(const void* p, size_t n) {
        const auto* b = static_cast<const BYTE*>(p);
        m_data.insert(m_data.end(), b, b + n);
    }
    void Word(WORD w) { Append(&w, sizeof(w)); }
    void String(LPCWSTR s) { Append(s, (::wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align() {
        while (m_data.size() % 4 != 0)
            m_data.push_back(0);
    }
    std::vector<BYTE> m_data;
};

}  // namespace

CPrintingDialog::CPrintingDialog(CWnd* pView) : m_pView(pView), m_hWndTop(nullptr) {}

CPrintingDialog::~CPrintingDialog() { Finish(); }

void CPrintingDialog::Start(LPCWSTR lpszDocName, LPCWSTR lpszPrinter, LPCWSTR lpszPort) {
    g_bUserAbort = FALSE;
    CWnd* pTop = m_pView != nullptr ? m_pView->GetTopLevelParent() : nullptr;
    const bool bVisible = pTop != nullptr && pTop->IsWindowVisible();
    CTemplateBuilder builder;
    builder.Header(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU |
                       (bVisible ? WS_VISIBLE : 0),
                   160, 74, L"Printing", 4);
    builder.Item(SS_CENTER, 8, 8, 144, 10, kIdDocName, 0x0082, L"");
    builder.Item(SS_CENTER, 8, 20, 144, 10, kIdPrinter, 0x0082, L"");
    builder.Item(SS_CENTER, 8, 32, 144, 10, kIdPage, 0x0082, L"");
    builder.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 55, 52, 50, 14, IDCANCEL, 0x0080, L"Cancel");
    if (!CreateIndirect(builder.Get(), pTop))
        return;
    g_hWndPrinting = m_hWnd;
    SetDlgItemText(kIdDocName, lpszDocName);
    CString strPrinter(lpszPrinter);
    if (lpszPort != nullptr && *lpszPort != L'\0')
        strPrinter.AppendFormat(L" on %ls", lpszPort);
    SetDlgItemText(kIdPrinter, strPrinter);
    // The frame takes no input while its document prints.
    if (pTop != nullptr && pTop->IsWindowEnabled()) {
        m_hWndTop = pTop->m_hWnd;
        ::EnableWindow(m_hWndTop, FALSE);
    }
}

void CPrintingDialog::SetPage(UINT nPage) {
    if (m_hWnd == nullptr)
        return;
    CString strPage;
    strPage.Format(L"Page %u", nPage);
    SetDlgItemText(kIdPage, strPage);
}

void CPrintingDialog::Finish() {
    if (m_hWndTop != nullptr) {
        ::EnableWindow(m_hWndTop, TRUE);
        m_hWndTop = nullptr;
    }
    if (m_hWnd != nullptr)
        DestroyWindow();
    g_hWndPrinting = nullptr;
}

BOOL CPrintingDialog::UserAborted() { return g_bUserAbort; }

void CPrintingDialog::OnCancel() {
    g_bUserAbort = TRUE;
    if (g_hWndPrinting != nullptr)
        ::EnableWindow(g_hWndPrinting, FALSE);  // one Cancel is enough
}

BOOL CALLBACK AfxAbortProc(HDC, int) {
    MSG msg;
    while (!g_bUserAbort && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT)
            break;  // left in the queue for the main loop
        if (!AfxPumpMessage())
            return FALSE;
    }
    return !g_bUserAbort;
}
