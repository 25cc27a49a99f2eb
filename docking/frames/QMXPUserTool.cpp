#include "docking/frames/QMXPUserTool.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinApp.h"
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

void CQMXPUserTool::DrawToolIcon(CDC* pDC, const CRect& rectImage) {
    constexpr UINT kIdiTool = 16931;
    if (globalData.hiconTool == nullptr)
        globalData.hiconTool = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIdiTool),
                                                               IMAGE_ICON, 16, 16, LR_SHARED));
    if (globalData.hiconTool == nullptr)
        return;
    const CPoint ptIcon(rectImage.left + (rectImage.Width() - 16) / 2, rectImage.top + (rectImage.Height() - 16) / 2);
    ::DrawIconEx(pDC->GetSafeHdc(), ptIcon.x, ptIcon.y, globalData.hiconTool, 16, 16, 0, nullptr, DI_NORMAL);
}
