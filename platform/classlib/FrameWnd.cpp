#include "platform/classlib/FrameWnd.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/ControlBar.h"
#include "platform/classlib/CreateContext.h"
#include "platform/classlib/DockState.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/PrintPreviewState.h"
#include "platform/classlib/ShellDDE.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

#include <dde.h>
#include <shellapi.h>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

const wchar_t kFrameWndClass[] = L"OTClassLibFrame";

// One window class per frame icon: the icon is a class attribute, and a
// frame made from resource n shows icon n when there is one.
LPCWSTR FrameWndClass(UINT nIDIcon, CString& rClassName) {
    HINSTANCE hInst = AfxGetInstanceHandle();
    HICON hIcon = nullptr;
    if (nIDIcon != 0)
        hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDIcon));
    if (hIcon != nullptr)
        rClassName.Format(L"%ls:%u", kFrameWndClass, nIDIcon);
    else
        rClassName = kFrameWndClass;
    WNDCLASSW wc;
    if (!::GetClassInfoW(hInst, rClassName, &wc)) {
        wc = WNDCLASSW();
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = hInst;
        wc.hIcon = hIcon != nullptr ? hIcon : ::LoadIconW(nullptr, IDI_APPLICATION);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = rClassName;
        if (!::RegisterClassW(&wc))
            return nullptr;
    }
    return rClassName;
}

bool HasResource(UINT nID, LPCWSTR lpType) {
    return ::FindResourceW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nID), lpType) != nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_DDE_INITIATE, OnDDEInitiate)
    ON_MESSAGE(WM_DDE_EXECUTE, OnDDEExecute)
    ON_MESSAGE(WM_DDE_TERMINATE, OnDDETerminate)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE),
      m_nWindow(0),
      m_hMenuDefault(nullptr),
      m_hAccelTable(nullptr),
      m_nIDHelp(0),
      m_bHelpMode(FALSE),
      m_nIDTracking(0),
      m_nIDLastMessage(0),
      m_bInRecalcLayout(FALSE),
      m_lpfnCloseProc(nullptr),
      m_pViewActive(nullptr) {}

// Accelerator tables loaded from resources are freed with the module.
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr) {
        hMenu = ::LoadMenuW(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == nullptr) {
            PostNcDestroy();
            return FALSE;
        }
    }
    m_hMenuDefault = hMenu;
    if (lpszWindowName != nullptr && m_strTitle.IsEmpty())
        m_strTitle = lpszWindowName;
    int cx = rect.right - rect.left;
    int cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT)
        cx = cy = CW_USEDEFAULT;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, cx, cy,
                  CWnd::SafeHwndOf(pParentWnd), hMenu, pContext)) {
        // A window that failed in WM_CREATE has destroyed the menu with itself.
        if (hMenu != nullptr && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    CString strFull;
    if (AfxLoadStringResource(nIDResource, strFull))
        m_strTitle = AfxExtractStringField(strFull, 0);
    CString strClass;
    LPCWSTR lpszClass = FrameWndClass(nIDResource, strClass);
    if (lpszClass == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    // Top-level frames carry the resource's menu when there is one; a child frame has none.
    LPCWSTR lpszMenu = nullptr;
    if (!(dwDefaultStyle & WS_CHILD) && HasResource(nIDResource, RT_MENU))
        lpszMenu = MAKEINTRESOURCEW(nIDResource);
    // Read before Create: a failed creation deletes the object.
    HACCEL hAccel = nullptr;
    if (HasResource(nIDResource, RT_ACCELERATOR))
        hAccel = ::LoadAcceleratorsW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
    if (!Create(lpszClass, m_strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0, pContext))
        return FALSE;
    if (m_hAccelTable == nullptr)
        m_hAccelTable = hAccel;
    // Without a context no document will send the first update.
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCWSTR lpszResourceName) {
    if (m_hAccelTable != nullptr)
        return FALSE;  // only one table per frame
    m_hAccelTable = ::LoadAcceleratorsW(AfxGetResourceHandle(), lpszResourceName);
    return m_hAccelTable != nullptr;
}

HACCEL CFrameWnd::GetDefaultAccelerator() { return m_hAccelTable; }

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass == nullptr) {
        CString strClass;
        if (FrameWndClass(0, strClass) == nullptr)
            return FALSE;
        cs.lpszClass = kFrameWndClass;  // strClass dies here; the name is the constant
    }
    // The document's name goes first in captions.
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CFrameWnd::IsFrameWnd() const { return TRUE; }

int CFrameWnd::OnCreate(LPCREATESTRUCTW lpcs) {
    return OnCreateHelper(lpcs, static_cast<CCreateContext*>(lpcs->lpCreateParams)) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateHelper(LPCREATESTRUCTW lpcs, CCreateContext* pContext) {
    if (CWnd::OnCreate(lpcs) == -1)
        return FALSE;
    if (!OnCreateClient(lpcs, pContext))
        return FALSE;
    m_nIDTracking = m_nIDLastMessage = AFX_IDS_IDLEMESSAGE;
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* pContext) {
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    if (pObject == nullptr)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete pObject;
        return nullptr;
    }
    CWnd* pView = static_cast<CWnd*>(pObject);
    // A failed creation has deleted a view (PostNcDestroy); other windows are ours to delete.
    const bool bSelfDeleting = pView->IsKindOf(RUNTIME_CLASS(CView));
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID,
                       pContext)) {
        if (!bSelfDeleting)
            delete pView;
        return nullptr;
    }
    return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = GetActiveView();
    if (pView == nullptr) {
        CWnd* pPane = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
        if (pPane != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pPane);
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        // The main window shows itself as the program was started (once).
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc != nullptr)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        if (nCmdShow != SW_HIDE && (GetStyle() & WS_VISIBLE))
            BringWindowToTop();
    }
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_bInRecalcLayout || m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    // No view is active while the old one is told, so nothing routes to it half-way.
    m_pViewActive = nullptr;
    if (bNotify && pViewOld != nullptr)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew != nullptr)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* pView = GetActiveView();
    return pView != nullptr ? pView->GetDocument() : nullptr;
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && pDocument != nullptr)
        UpdateFrameTitleForDocument(pDocument->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCWSTR lpszDocName) {
    CString strDoc;
    if (lpszDocName != nullptr && *lpszDocName != L'\0') {
        strDoc = lpszDocName;
        if (m_nWindow > 0)
            strDoc.AppendFormat(L":%d", m_nWindow);
    }
    CString strText;
    if (strDoc.IsEmpty())
        strText = m_strTitle;
    else if (m_strTitle.IsEmpty())
        strText = strDoc;
    else if (GetStyle() & FWS_PREFIXTITLE)
        strText = strDoc + L" - " + m_strTitle;
    else
        strText = m_strTitle + L" - " + strDoc;
    // An unchanged caption is not set again: setting it repaints the frame.
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText)
        SetWindowText(strText);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    if (GetStyle() & WS_CHILD)
        return;
    HMENU hMenu = hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault;
    if (hMenu != nullptr && ::GetMenu(m_hWnd) != hMenu)
        ::SetMenu(m_hWnd, hMenu);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString strFull;
    if (AfxLoadStringResource(nID, strFull))
        rMessage = AfxExtractStringField(strFull, 0);
    else
        rMessage.Empty();
}

CWnd* CFrameWnd::GetMessageBar() {
    HWND hWnd = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    return hWnd != nullptr ? CWnd::FromHandle(hWnd) : nullptr;
}

void CFrameWnd::SetMessageText(LPCWSTR lpszText) {
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID, 0); }

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(nID)));
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CControlBar)))
        return nullptr;
    return static_cast<CControlBar*>(pWnd);
}

void CFrameWnd::GetDockState(CDockState& state) const { state.Clear(); }

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (pBar == nullptr || pBar->m_hWnd == nullptr)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    CFrameWnd* pFrame = pBar->GetDockingFrame();
    if (pFrame == nullptr)
        pFrame = this;
    // A delayed change is laid out with the next size change or layout request.
    if (!bDelay)
        pFrame->RecalcLayout();
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != nullptr && ::TranslateAcceleratorW(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active view first (it passes on to its document), then the frame, then the application.
    CView* pView = GetActiveView();
    if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::PostNcDestroy() { delete this; }

void CFrameWnd::OnDestroy() {
    // A frame showing a shared menu (a document template's) must not destroy
    // it with its window; its own default menu goes instead.
    if (!(GetStyle() & WS_CHILD) && m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose() {
    if (m_lpfnCloseProc != nullptr) {
        // Print preview: closing ends the preview only.
        m_lpfnCloseProc(this);
        return;
    }
    CDocument* pDocument = GetActiveDocument();
    if (pDocument != nullptr && !pDocument->CanCloseFrame(this))
        return;  // the user chose to keep the document open
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        // The main window closes every document; each may ask to be saved.
        if (pDocument == nullptr && !pApp->SaveAllModified())
            return;
        pApp->CloseAllDocuments(FALSE);
        if (pApp->m_pMainWnd == nullptr || !::IsWindow(m_hWnd))
            return;  // closing the documents closed the frame
        DestroyWindow();
        return;
    }
    if (pDocument != nullptr)
        pDocument->PreCloseFrame(this);
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
    // The view covers the client area; erasing under it would only flicker.
    if (m_pViewActive != nullptr)
        return TRUE;
    return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    CFrameWnd* pActiveFrame = GetActiveFrame();
    CView* pView = pActiveFrame != nullptr ? pActiveFrame->GetActiveView() : nullptr;
    if (pView == nullptr)
        return;
    if (nState != WA_INACTIVE && !bMinimized)
        pView->OnActivateView(TRUE, pView, pView);
    else
        pView->OnActivateFrame(WA_INACTIVE, this);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu)
        return;  // the system menu keeps its own states
    AfxUpdateMenuPopup(this, pPopupMenu, m_bAutoMenuEnable);
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo) {
    SetActiveWindow();
    CWinApp* pApp = AfxGetApp();
    UINT nFiles = ::DragQueryFileW(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles && pApp != nullptr; ++i) {
        UINT nLength = ::DragQueryFileW(hDropInfo, i, nullptr, 0);
        CString strName;
        ::DragQueryFileW(hDropInfo, i, strName.GetBufferSetLength(static_cast<int>(nLength)), nLength + 1);
        strName.ReleaseBuffer(static_cast<int>(nLength));
        pApp->OpenDocumentFile(strName);
    }
    ::DragFinish(hDropInfo);
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT nItemID = LOWORD(wParam);
    UINT nFlags = HIWORD(wParam);
    if (nFlags == 0xFFFF && lParam == 0)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
    else if (nFlags & (MF_SEPARATOR | MF_POPUP | MF_SYSMENU))
        m_nIDTracking = 0;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != m_nIDLastMessage)
        SendMessage(WM_SETMESSAGESTRING, m_nIDTracking, 0);
    return 0;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    // A frame inside another (an MDI child) shows its prompts in the top frame's bar.
    if (GetStyle() & WS_CHILD) {
        CFrameWnd* pTop = GetTopLevelFrame();
        if (pTop != nullptr && pTop != this)
            return pTop->SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
    }
    UINT nIDLast = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    m_nIDTracking = static_cast<UINT>(wParam);
    CWnd* pMessageBar = GetMessageBar();
    if (pMessageBar != nullptr) {
        CString strMessage;
        if (lParam != 0)
            strMessage = reinterpret_cast<LPCWSTR>(lParam);
        else if (wParam != 0)
            GetMessageString(static_cast<UINT>(wParam), strMessage);
        pMessageBar->SetWindowText(strMessage);
    }
    return nIDLast;
}

void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
    if (pState == nullptr)
        return;
    const bool bTopLevel = !(GetStyle() & WS_CHILD);
    if (bPreview) {
        // The bars step aside for the preview's own bar.
        pState->hiddenBars.clear();
        for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
            CWnd* pWnd = CWnd::FromHandlePermanent(hWndChild);
            if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CControlBar)) &&
                static_cast<UINT>(pWnd->GetDlgCtrlID()) != AFX_IDW_PREVIEW_BAR && (pWnd->GetStyle() & WS_VISIBLE)) {
                pState->hiddenBars.push_back(hWndChild);
                pWnd->ShowWindow(SW_HIDE);
            }
        }
        pState->hMenu = nullptr;
        if (bTopLevel) {
            pState->hMenu = ::GetMenu(m_hWnd);
            if (pState->hMenu != nullptr)
                ::SetMenu(m_hWnd, nullptr);
        }
        pState->hAccelTable = m_hAccelTable;
        m_hAccelTable = nullptr;
        m_lpfnCloseProc = pState->lpfnCloseProc;
        // The view pane keeps its window but gives its id to the preview.
        HWND hWndPane = ::GetDlgItem(m_hWnd, static_cast<int>(pState->nIDMainPane));
        if (hWndPane != nullptr) {
            ::ShowWindow(hWndPane, SW_HIDE);
            ::SetWindowLongPtrW(hWndPane, GWLP_ID, AFX_IDW_PANE_SAVE);
        }
    } else {
        m_lpfnCloseProc = nullptr;
        HWND hWndPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_SAVE);
        if (hWndPane != nullptr) {
            ::SetWindowLongPtrW(hWndPane, GWLP_ID, static_cast<LONG_PTR>(pState->nIDMainPane));
            ::ShowWindow(hWndPane, SW_SHOW);
        }
        for (HWND hWndBar : pState->hiddenBars) {
            if (::IsWindow(hWndBar))
                ::ShowWindow(hWndBar, SW_SHOWNOACTIVATE);
        }
        pState->hiddenBars.clear();
        if (bTopLevel && pState->hMenu != nullptr)
            ::SetMenu(m_hWnd, pState->hMenu);
        m_hAccelTable = pState->hAccelTable;
    }
    RecalcLayout();
}

LRESULT CFrameWnd::OnDDEInitiate(WPARAM wParam, LPARAM lParam) {
    return AfxDDEInitiate(this, reinterpret_cast<HWND>(wParam), lParam);
}

LRESULT CFrameWnd::OnDDEExecute(WPARAM wParam, LPARAM lParam) {
    return AfxDDEExecute(this, reinterpret_cast<HWND>(wParam), lParam);
}

LRESULT CFrameWnd::OnDDETerminate(WPARAM wParam, LPARAM lParam) {
    return AfxDDETerminate(this, reinterpret_cast<HWND>(wParam), lParam);
}
