#include "docking/frames/QMXPUserTool.h"

#include "platform/classlib/WinThread.h"
#include "platform/classlib/Wnd.h"

#include <shellapi.h>

IMPLEMENT_DYNCREATE(CQMXPUserTool, CObject)

CQMXPUserTool::CQMXPUserTool() : m_uiCmdId(0) {}

CQMXPUserTool::~CQMXPUserTool() = default;

BOOL CQMXPUserTool::Invoke() {
    if (m_strCommand.IsEmpty())
        return FALSE;
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndOwner = pMainWnd != nullptr ? ::GetAncestor(pMainWnd->GetSafeHwnd(), GA_ROOT) : nullptr;
    const HINSTANCE hResult = ::ShellExecuteW(hWndOwner, nullptr, m_strCommand, m_strArguments,
                                              m_strInitialDirectory, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(hResult) > 32;
}
