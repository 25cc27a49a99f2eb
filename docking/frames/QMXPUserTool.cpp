#include "docking/frames/QMXPUserTool.h"

#include "docking/toolbars/QMXPGlobalData.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolBarImages.h"
#include "platform/classlib/Archive.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/WinApp.h"
#include "platform/classlib/WinThread.h"
#include "platform/classlib/Wnd.h"

#include <algorithm>
#include <cwchar>
#include <shellapi.h>

IMPLEMENT_SERIAL(CQMXPUserTool, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

constexpr UINT kIdiTool = 16931;

// The main window's top-level window: it owns what a tool opens.
HWND ToolOwner() {
    CWnd* pMainWnd = AfxGetMainWnd();
    return pMainWnd != nullptr ? ::GetAncestor(pMainWnd->GetSafeHwnd(), GA_ROOT) : nullptr;
}

}  // namespace

CQMXPUserTool::CQMXPUserTool() : m_uiCmdId(0), m_hIcon(nullptr) {}

CQMXPUserTool::~CQMXPUserTool() { DestroyToolIcon(); }

void CQMXPUserTool::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_strLabel << m_strCommand << m_strArguments << m_strInitialDirectory;
        ar << static_cast<DWORD>(m_uiCmdId);
        return;
    }
    CString strCommand;
    DWORD dwCmdId = 0;
    ar >> m_strLabel >> strCommand >> m_strArguments >> m_strInitialDirectory;
    ar >> dwCmdId;
    m_uiCmdId = dwCmdId;
    SetCommand(strCommand);
}

BOOL CQMXPUserTool::Invoke() {
    if (m_strCommand.IsEmpty())
        return FALSE;
    const HINSTANCE hResult =
        ::ShellExecuteW(ToolOwner(), nullptr, m_strCommand, m_strArguments, m_strInitialDirectory, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(hResult) > 32;
}

void CQMXPUserTool::SetCommand(const CString& strCmd) {
    if (strCmd == m_strCommand && m_hIcon != nullptr)
        return;
    m_strCommand = strCmd;
    DestroyToolIcon();
    m_hIcon = LoadCommandIcon();
}

HICON CQMXPUserTool::LoadCommandIcon() const {
    if (m_strCommand.IsEmpty())
        return LoadDefaultIcon();
    CString strPath = m_strCommand;
    if (::wcspbrk(m_strCommand, L"\\/:") == nullptr) {
        wchar_t szFound[MAX_PATH] = {};
        const DWORD dwLength = ::SearchPathW(nullptr, m_strCommand, nullptr, MAX_PATH, szFound, nullptr);
        if (dwLength == 0 || dwLength >= MAX_PATH)
            return LoadDefaultIcon();
        strPath = szFound;
    }
    SHFILEINFOW info = {};
    if (::SHGetFileInfoW(strPath, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | SHGFI_SHELLICONSIZE) == 0 ||
        info.hIcon == nullptr)
        return LoadDefaultIcon();
    return info.hIcon;
}

HICON CQMXPUserTool::LoadDefaultIcon() const {
    if (globalData.hiconTool == nullptr) {
        const CSize sizeIcon = CQMXPToolBar::GetMenuImageSize();
        globalData.hiconTool = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kIdiTool),
                                                               IMAGE_ICON, sizeIcon.cx, sizeIcon.cy, LR_SHARED));
    }
    return globalData.hiconTool;
}

void CQMXPUserTool::DestroyToolIcon() {
    if (m_hIcon != nullptr && m_hIcon != globalData.hiconTool)
        ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
}

void CQMXPUserTool::DrawToolIcon(CDC* pDC, const CRect& rectImage) {
    if (m_hIcon == nullptr)
        m_hIcon = LoadCommandIcon();
    if (m_hIcon == nullptr)
        return;
    const CSize sizeMenuImage = CQMXPToolBar::GetMenuImageSize();
    const int x = rectImage.left + std::max(0, (rectImage.Width() - static_cast<int>(sizeMenuImage.cx)) / 2);
    const int y = rectImage.top + std::max(0, (rectImage.Height() - static_cast<int>(sizeMenuImage.cy)) / 2);
    ::DrawIconEx(pDC->GetSafeHdc(), x, y, m_hIcon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL CQMXPUserTool::CopyIconToClipboard() {
    const CSize sizeImage = CQMXPToolBar::GetMenuImageSize();
    return QMXCopyDrawingToClipboard(ToolOwner(), sizeImage, [this, sizeImage](CDC* pDC) {
        DrawToolIcon(pDC, CRect(CPoint(0, 0), sizeImage));
        return TRUE;
    });
}
