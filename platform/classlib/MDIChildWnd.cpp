#include "platform/classlib/MDIChildWnd.h"

#include "platform/classlib/CreateContext.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/MDIFrameWnd.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr) {}

BOOL CMDIChildWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
    if (pParentWnd == nullptr) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd != nullptr && pMainWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            pParentWnd = static_cast<CMDIFrameWnd*>(pMainWnd);
    }
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    if (lpszWindowName != nullptr && m_strTitle.IsEmpty())
        m_strTitle = lpszWindowName;

    // MDI children are made by the MDI client, so the creation steps of CWnd are done here.
    CREATESTRUCTW cs = {};
    cs.style = static_cast<LONG>(dwStyle | WS_CHILD);
    cs.dwExStyle = WS_EX_MDICHILD;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT)
        cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hwndParent = pParentWnd->m_hWnd;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = pContext;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCTW mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = static_cast<DWORD>(cs.style);
    mcs.lParam = reinterpret_cast<LPARAM>(cs.lpCreateParams);
    HWND hWndAttached = nullptr;
    if (!AfxHookWindowCreate(this, &hWndAttached)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessageW(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    return AfxEndWindowCreate(this, hWndAttached, hWnd);
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    CString strFull;
    if (AfxLoadStringResource(nIDResource, strFull))
        m_strTitle = AfxExtractStringField(strFull, 0);
    // The template's menu and accelerators serve all its frames; they are
    // needed before the window exists, since a new child is activated at once.
    if (pContext != nullptr && pContext->m_pNewDocTemplate != nullptr &&
        pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
        auto* pTemplate = static_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate);
        m_hMenuShared = pTemplate->m_hMenuShared;
        m_hAccelTable = pTemplate->m_hAccelTable;
    }
    CMDIFrameWnd* pFrame = nullptr;
    if (pParentWnd != nullptr && pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        pFrame = static_cast<CMDIFrameWnd*>(pParentWnd);
    // An icon of the resource's id becomes the frame's.
    HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
    if (!Create(nullptr, m_strTitle, dwDefaultStyle, rectDefault, pFrame, pContext))
        return FALSE;
    if (hIcon != nullptr)
        SetIcon(hIcon, FALSE);
    return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    // The creation context travels in the MDI creation record.
    auto* pmcs = static_cast<MDICREATESTRUCTW*>(lpcs->lpCreateParams);
    auto* pContext = pmcs != nullptr ? reinterpret_cast<CCreateContext*>(pmcs->lParam) : nullptr;
    return OnCreateHelper(lpcs, pContext) ? 0 : -1;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
    // The parent is the MDI client; its parent the frame.
    HWND hWndClient = ::GetParent(m_hWnd);
    CWnd* pFrame = CWnd::FromHandlePermanent(::GetParent(hWndClient));
    if (pFrame == nullptr || !pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return nullptr;
    return static_cast<CMDIFrameWnd*>(pFrame);
}

void CMDIChildWnd::MDIDestroy() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIActivate() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore() {
    ::SendMessageW(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CMDIChildWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    // The frame's menu is updated by the activation of the next child; its
    // caption once the child is gone, which the activation does not see (the
    // last child going leaves the frame's own name alone). The child object
    // may be deleted with its window.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    const HWND hWndFrame = pFrame != nullptr ? pFrame->m_hWnd : nullptr;
    MDIDestroy();
    if (hWndFrame != nullptr && ::IsWindow(hWndFrame) && CWnd::FromHandlePermanent(hWndFrame) == pFrame)
        pFrame->OnUpdateFrameTitle(TRUE);
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    BOOL bMaximized = FALSE;
    if (pFrame != nullptr)
        pFrame->MDIGetActive(&bMaximized);
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = (bMaximized || (GetStyle() & WS_MAXIMIZE)) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    MDIActivate();
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (GetStyle() & FWS_ADDTOTITLE) {
        CDocument* pDocument = GetActiveDocument();
        CString strText = m_strTitle;
        if (bAddToTitle && pDocument != nullptr) {
            strText = pDocument->GetTitle();
            if (m_nWindow > 0)
                strText.AppendFormat(L":%d", m_nWindow);
        }
        CString strOld;
        GetWindowText(strOld);
        if (strOld != strText)
            SetWindowText(strText);
    }
    if (pFrame != nullptr)
        pFrame->OnUpdateFrameTitle(bAddToTitle);
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
    CFrameWnd::OnSize(nType, cx, cy);
    // The main window names the active document itself only while that
    // child is not maximised (the system shows a maximised child's name):
    // maximising or restoring it, also after another child was closed or
    // failed to open, changes the main window's caption.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if ((nType == SIZE_MAXIMIZED || nType == SIZE_RESTORED) && pFrame != nullptr && pFrame->MDIGetActive() == this)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd*, HMENU hMenuAlt) {
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame == nullptr)
        return;
    HMENU hMenu = hMenuAlt;
    if (bActivate) {
        if (hMenu == nullptr)
            hMenu = m_hMenuShared;
        if (hMenu == nullptr) {
            CDocument* pDocument = GetActiveDocument();
            if (pDocument != nullptr)
                hMenu = pDocument->GetDefaultMenu();
        }
    }
    if (hMenu == nullptr)
        hMenu = pFrame->m_hMenuDefault;
    if (hMenu != nullptr && ::GetMenu(pFrame->m_hWnd) != hMenu)
        pFrame->MDISetMenu(hMenu, pFrame->GetWindowMenuPopup(hMenu));
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
    CFrameWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
    CView* pView = GetActiveView();
    if (bActivate) {
        OnUpdateFrameMenu(TRUE, pActivateWnd, nullptr);
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    } else {
        if (pView != nullptr)
            pView->OnActivateFrame(WA_INACTIVE, this);
        // The last child going leaves the main window's own menu.
        if (pActivateWnd == nullptr)
            OnUpdateFrameMenu(FALSE, nullptr, nullptr);
    }
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (pFrame != nullptr)
        pFrame->OnUpdateFrameTitle(TRUE);
}
