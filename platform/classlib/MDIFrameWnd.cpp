#include "platform/classlib/MDIFrameWnd.h"

#include "platform/classlib/CmdUI.h"
#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/Document.h"
#include "platform/classlib/MDIChildWnd.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/WinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
    ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext*) {
    CMenu* pWindowMenu = nullptr;
    HMENU hWindowMenu = GetWindowMenuPopup(m_hMenuDefault);
    if (hWindowMenu != nullptr)
        pWindowMenu = CMenu::FromHandle(hWindowMenu);
    return CreateClient(lpcs, pWindowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTW, CMenu* pWindowMenu) {
    CLIENTCREATESTRUCT ccs;
    ccs.hWindowMenu = CMenu::SafeHmenuOf(pWindowMenu);
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    // The child frames get the styles they ask for (maximised, without a border ...).
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL |
                    MDIS_ALLCHILDSTYLES;
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
    if (hMenuBar == nullptr || !::IsMenu(hMenuBar))
        return nullptr;
    // The popup whose items include a window command, searched from the right.
    for (int iItem = ::GetMenuItemCount(hMenuBar) - 1; iItem >= 0; --iItem) {
        HMENU hPopup = ::GetSubMenu(hMenuBar, iItem);
        if (hPopup == nullptr)
            continue;
        for (int iSub = ::GetMenuItemCount(hPopup) - 1; iSub >= 0; --iSub) {
            UINT nID = ::GetMenuItemID(hPopup, iSub);
            if (nID >= AFX_IDM_WINDOW_FIRST && nID <= AFX_IDM_WINDOW_LAST)
                return hPopup;
        }
    }
    return nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
    if (pbMaximized != nullptr)
        *pbMaximized = FALSE;
    if (m_hWndMDIClient == nullptr)
        return nullptr;
    BOOL bMaximized = FALSE;
    HWND hWnd = reinterpret_cast<HWND>(
        ::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)));
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
        return nullptr;
    if (pbMaximized != nullptr)
        *pbMaximized = bMaximized;
    return static_cast<CMDIChildWnd*>(pWnd);
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWndActivate)), 0);
}

void CMDIFrameWnd::MDINext() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0); }

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWnd)), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
    ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWnd)), 0);
}

void CMDIFrameWnd::MDICascade() { ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }

void CMDIFrameWnd::MDITile(int nType) { ::SendMessageW(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0); }

void CMDIFrameWnd::MDIIconArrange() { ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

HMENU CMDIFrameWnd::MDISetMenu(HMENU hFrameMenu, HMENU hWindowMenu) {
    HMENU hOld = reinterpret_cast<HMENU>(::SendMessageW(m_hWndMDIClient, WM_MDISETMENU,
                                                        reinterpret_cast<WPARAM>(hFrameMenu),
                                                        reinterpret_cast<LPARAM>(hWindowMenu)));
    ::DrawMenuBar(m_hWnd);
    return hOld;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive == nullptr)
        return this;
    return pActive;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = MDIGetActive(&bMaximized);
    // A maximised child's caption is shown by the system beside the frame's.
    if (bAddToTitle && pActive != nullptr && !bMaximized && pActive->GetActiveDocument() != nullptr) {
        CString strChild;
        pActive->GetWindowText(strChild);
        UpdateFrameTitleForDocument(strChild);
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != nullptr) {
        pActive->OnUpdateFrameMenu(TRUE, pActive, hMenuAlt);
        return;
    }
    HMENU hMenu = hMenuAlt != nullptr ? hMenuAlt : m_hMenuDefault;
    if (hMenu != nullptr && ::GetMenu(m_hWnd) != hMenu)
        MDISetMenu(hMenu, GetWindowMenuPopup(hMenu));
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The active document frame (its view and document) comes first.
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive != nullptr && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWndMDIClient != nullptr &&
        MDIGetActive() != nullptr && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnWindowNew() {
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive == nullptr)
        return;
    CDocument* pDocument = pActive->GetActiveDocument();
    CDocTemplate* pTemplate = pDocument != nullptr ? pDocument->GetDocTemplate() : nullptr;
    if (pTemplate == nullptr)
        return;
    CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDocument, pActive);
    if (pFrame == nullptr) {
        AfxMessageBoxText(AFX_IDP_COMMAND_FAILURE, L"Command failed.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    pTemplate->InitialUpdateFrame(pFrame, pDocument);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
    switch (nID) {
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        break;
    case ID_WINDOW_CASCADE:
        MDICascade();
        break;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        break;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        break;
    default:
        return FALSE;
    }
    return TRUE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }
