#include "appwindows/KWMainFrame.h"

#include "controls/KWToolBarManager.h"
#include "docking/toolbars/QMXPMenuBar.h"
#include "appwindows/KWAbstractApp.h"
#include "platform/classlib/MessageMap.h"
#include "platform/classlib/PreviewView.h"
#include "platform/classlib/ShellDDE.h"
#include "platform/classlib/WinApp.h"

#include <dde.h>

IMPLEMENT_DYNAMIC(CKWMainFrame, CKWWinMainFrame)

namespace {

// Child, visible, gripper, top, bottom border, hidden in place.
constexpr DWORD kMenuBarStyle = 0x50402808;
constexpr UINT kMenuBarId = 0xE806;
// The bar sizes itself to its menu (CBRS_SIZE_DYNAMIC).
constexpr DWORD kSizeDynamic = 0x0004;
constexpr DWORD kDockAnySide = 0xF000;

void RunDDECommand(const CString& command)
{
    CWinApp* app = AfxGetApp();
    if (!app || command.IsEmpty())
        return;
    CString copy = command;
    app->OnDDECommand(copy.GetBuffer(copy.GetLength()));
    copy.ReleaseBuffer();
}

}  // namespace

BEGIN_MESSAGE_MAP(CKWMainFrame, CKWWinMainFrame)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_DDE_EXECUTE, OnDDEExecute)
END_MESSAGE_MAP()

CKWMainFrame::CKWMainFrame() = default;

CKWMainFrame::~CKWMainFrame() = default;

int CKWMainFrame::OnCreate(LPCREATESTRUCTW lpCreateStruct)
{
    if (CQMXPMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* app = dynamic_cast<CKWAbstractApp*>(AfxGetApp());
    // The menu bar comes first, so that it takes the top row above the tool
    // bars; once made it shows the frame's menu in place of the Windows menu.
    if (!m_menuBar) {
        m_menuBar = new CQMXPMenuBar;
        m_ownsMenuBar = true;
        if (m_menuBar->Create(this, kMenuBarStyle, kMenuBarId)) {
            m_menuBar->SetBarStyle(m_menuBar->GetBarStyle() | kSizeDynamic);
            m_menuBar->EnableDocking(kDockAnySide);
            EnableDocking(kDockAnySide);
            DockControlBar(m_menuBar);
        }
    }
    if (app) {
        app->OnMainFrameCreate(this);
        app->CreateStatusBar(this);
    }
    // The tool bar manager keeps the menu bar with its bars from now on.
    CKWToolBarManager* manager = app ? app->GetToolBarManager() : nullptr;
    if (manager && m_ownsMenuBar) {
        manager->AddToolBar(m_menuBar);
        m_ownsMenuBar = false;
    }
    EnableDocking(kDockAnySide);
    return 0;
}

BOOL CKWMainFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const BOOL handled = CKWWinMainFrame::OnCommand(wParam, lParam);
    if (::InSendMessage() && m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    return handled;
}

void CKWMainFrame::OnClose()
{
    if (CView* preview = GetPrintPreviewView()) {
        preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
        return;
    }
    CQMXPMDIFrameWnd::OnClose();
}

LRESULT CKWMainFrame::OnDDEExecute(WPARAM wParam, LPARAM lParam)
{
    // Read within the block's size, whether the text ends in it or not.
    const CString command = AfxGetDDECommand(lParam);
    const bool enabled = IsWindowEnabled() != FALSE;
    if (!enabled && m_queueDDE)
        m_queuedDDE.push_back(command);
    const CString immediate = command.Left(kMaxDDECommand);
    UINT_PTR low = 0;
    UINT_PTR high = 0;
    ::UnpackDDElParam(WM_DDE_EXECUTE, lParam, &low, &high);
    // Acknowledged in every case, also when the application does not know the command.
    ::PostMessageW(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                   ::ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, 0x8000, high));
    if (enabled)
        RunDDECommand(immediate);
    return 0;
}

void CKWMainFrame::ProcessPendingDDECommands()
{
    if (!IsWindowEnabled())
        return;
    // A command may open a dialog that sends more: work on a copy.
    const std::vector<CString> queued = std::move(m_queuedDDE);
    m_queuedDDE.clear();
    m_queueDDE = 0;
    for (const CString& command : queued)
        RunDDECommand(command);
}
