#include "platform/classlib/Dialog.h"

#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() : m_lpszTemplateName(nullptr), m_pParentWnd(nullptr), m_hWndTop(nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd), m_hWndTop(nullptr) {}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd), m_hWndTop(nullptr) {}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd == nullptr)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    return CreateDlg(lpszTemplateName, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
    if (pParentWnd == nullptr)
        pParentWnd = AfxGetMainWnd();
    m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, nullptr);
}

INT_PTR CDialog::DoModal() {
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATEW lpTemplate = AfxLoadDialogTemplate(m_lpszTemplateName, hInst);
    if (lpTemplate == nullptr)
        return -1;

    HWND hWndParent = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
    BOOL bEnableParent = FALSE;
    if (hWndParent != nullptr && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    // EndDialog may already come from OnInitDialog.
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndParent), hInst)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            RunModalLoop(dwFlags);
        }
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    EndModalState(hWndParent, bEnableParent, m_hWndTop);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog() {
    if (!ExecuteDlgInit(m_lpszTemplateName))
        return FALSE;
    if (!UpdateData(FALSE))
        return FALSE;
    return TRUE;  // the system gives the focus to the first control
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // A multi-line edit keeps Escape to itself; the dialog still cancels on it.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE) && ::IsChild(m_hWnd, pMsg->hwnd)) {
        wchar_t szClass[8];
        if (::GetClassNameW(pMsg->hwnd, szClass, 8) > 0 && ::lstrcmpiW(szClass, L"Edit") == 0) {
            HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (hItem == nullptr || ::IsWindowEnabled(hItem)) {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }
    return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Control notifications, ids of plain controls and system commands stay here.
    if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWnd* pOwner = GetParent();
    if (pOwner != nullptr && pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinThread* pThread = AfxGetThread();
    return pThread != nullptr && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
