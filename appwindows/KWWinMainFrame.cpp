#include "appwindows/KWWinMainFrame.h"

#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "docking/toolbars/QMXPPopupMenu.h"
#include "appwindows/KWAbstractApp.h"
#include "appwindows/KWBusyCursor.h"
#include "appwindows/KWPrintPreviewView.h"
#include "platform/classlib/Menu.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/WinApp.h"

#include <windowsx.h>

IMPLEMENT_DYNAMIC(CKWWinMainFrame, CQMXPMDIFrameWnd)

const UINT g_msgQMXResetToolBar = ::RegisterWindowMessageW(L"QMXTOOLBAR_RESETTOOLBAR");
const UINT g_msgQMXPopupMenu = ::RegisterWindowMessageW(L"QMXTOOLBAR_POPUPMENU");

namespace {
// Overlapped with caption, system menu, thick frame, minimise and maximise
// boxes, maximised, the document's title in the caption.
constexpr DWORD kMainFrameStyle = 0x01CF8000;
// The control ids of the tool bars the user makes on the Toolbars page: ten.
constexpr UINT kFirstUserToolBarId = AFX_IDW_CONTROLBAR_FIRST + 0x40;
constexpr UINT kLastUserToolBarId = kFirstUserToolBarId + 9;
}  // namespace

BEGIN_MESSAGE_MAP(CKWWinMainFrame, CQMXPMDIFrameWnd)
    ON_REGISTERED_MESSAGE(g_msgQMXResetToolBar, OnResetToolBar)
    ON_REGISTERED_MESSAGE(g_msgQMXPopupMenu, OnPopupMenu)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CKWWinMainFrame::CKWWinMainFrame() = default;

BOOL CKWWinMainFrame::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (HCURSOR busy = CKWBusyCursor::Current()) {
        if (nHitTest == HTCLIENT) {
            ::SetCursor(busy);
            return TRUE;
        }
    }
    return CQMXPMDIFrameWnd::OnSetCursor(pWnd, nHitTest, message);
}

CKWWinMainFrame::~CKWWinMainFrame()
{
    if (m_ownsMenuBar)
        delete m_menuBar;
}

BOOL CKWWinMainFrame::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!CQMXPMDIFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = kMainFrameStyle;
    // The user's own tool bars keep their buttons beside the other bars, below the workspace.
    CQMXPFrameImpl& impl = GetFrameImpl();
    impl.m_uiUserToolbarFirst = kFirstUserToolBarId;
    impl.m_uiUserToolbarLast = kLastUserToolBarId;
    if (CQMXPWorkspace* workspace = QMXPGetWorkspace())
        impl.m_strControlBarRegEntry = workspace->GetRegSectionPath(L"");
    // The library restored the stored placement and its show command: the
    // window opens maximised only when that (or the start) asks for it.
    CWinApp* app = AfxGetApp();
    if (app && app->m_nCmdShow != SW_SHOWMAXIMIZED && app->m_nCmdShow != SW_MAXIMIZE)
        cs.style &= ~WS_MAXIMIZE;
    return TRUE;
}

CView* CKWWinMainFrame::GetPrintPreviewView()
{
    // The preview holds the frame's view pane from the moment it is made,
    // before it becomes the active view: its job is prepared in between,
    // which may take a message loop (the printer dialog).
    CFrameWnd* frame = m_hWnd ? GetActiveFrame() : nullptr;
    HWND pane = frame ? ::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST) : nullptr;
    CWnd* view = pane ? CWnd::FromHandlePermanent(pane) : nullptr;
    return view && view->IsKindOf(RUNTIME_CLASS(CKWPrintPreviewView)) ? static_cast<CView*>(view) : nullptr;
}

LRESULT CKWWinMainFrame::OnResetToolBar(WPARAM wParam, LPARAM)
{
    if (auto* app = dynamic_cast<CKWAbstractApp*>(AfxGetApp()))
        app->ResetToolBar(static_cast<UINT>(wParam));
    return 0;
}

LRESULT CKWWinMainFrame::OnPopupMenu(WPARAM wParam, LPARAM lParam)
{
    OnToolbarContextMenu(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
}

void CKWWinMainFrame::OnToolbarContextMenu(UINT menuId, CPoint point)
{
    if (GetPrintPreviewView())
        return;
    CMenu menu;
    if (!menu.LoadMenu(menuId))
        return;
    HMENU popup = ::GetSubMenu(menu.m_hMenu, 0);
    if (!popup)
        return;
    // The popup window outlives this function and destroys the menu it is
    // given when it closes: the sub-menu leaves the loaded menu first.
    ::RemoveMenu(menu.m_hMenu, 0, MF_BYPOSITION);
    // A popup that cannot be made has deleted itself and left the menu here.
    auto* popupMenu = new CQMXPPopupMenu;
    if (!popupMenu->Create(this, point.x, point.y, popup))
        ::DestroyMenu(popup);
}
