#include "controls/KWToolBarManager.h"

#include "docking/bars/QMXPDockManager.h"
#include "docking/frames/QMXPMDIFrameWnd.h"
#include "docking/frames/QMXPWorkspace.h"
#include "docking/toolbars/QMXPToolBar.h"
#include "docking/toolbars/QMXPToolbarButton.h"
#include "framework/KWRegKeyStack.h"
#include "platform/classlib/StringResource.h"
#include "platform/classlib/WinApp.h"

namespace {

// Child, visible, gripper, top, bottom border, tool tips, fly-by prompts, dynamic size.
constexpr DWORD kToolBarStyle = 0x50402834;
constexpr DWORD kDockAnySide = 0xF000;

}  // namespace

const wchar_t CKWToolBarManager::kSettingsVersionValue[] = L"ToolBars Settings Version";

CKWToolBarManager::~CKWToolBarManager()
{
    DestroyAll();
}

void CKWToolBarManager::DestroyAll()
{
    for (CQMXPToolBar* bar : m_toolBars)
        delete bar;
    m_toolBars.clear();
}

CQMXPToolBar* CKWToolBarManager::FindToolBar(UINT controlId) const
{
    for (CQMXPToolBar* bar : m_toolBars) {
        if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == controlId)
            return bar;
    }
    return nullptr;
}

CQMXPToolBar* CKWToolBarManager::GetToolBar(int index) const
{
    return index >= 0 && index < GetCount() ? m_toolBars[static_cast<size_t>(index)] : nullptr;
}

void CKWToolBarManager::AddToolBarInfo(UINT resourceId, UINT controlId, UINT titleId, bool firstFlag,
                                       bool secondFlag)
{
    m_infos.push_back({resourceId, controlId, titleId, firstFlag, secondFlag});
}

void CKWToolBarManager::AddToolBar(CQMXPToolBar* bar)
{
    if (bar)
        m_toolBars.push_back(bar);
}

bool CKWToolBarManager::CreateToolBars(CFrameWnd* frame)
{
    auto* dockSite = dynamic_cast<CQMXPMDIFrameWnd*>(frame);
    if (dockSite)
        dockSite->EnableDocking(kDockAnySide);
    HKEY settingsKey = OpenSettingsKey();
    const size_t first = m_toolBars.size();
    // Each bar docked lays the frame out: once, after the last, is enough.
    CQMXPLayoutHold hold(frame);
    for (size_t i = 0; i < m_infos.size(); ++i)
        m_toolBars.push_back(new CQMXPToolBar);
    for (size_t i = 0; i < m_infos.size(); ++i) {
        const KWToolBarInfo& info = m_infos[i];
        CQMXPToolBar* bar = m_toolBars[first + i];
        if (!bar->Create(frame, kToolBarStyle, info.controlId))
            continue;
        bool flag = info.secondFlag;
        LoadToolBar(info, bar, settingsKey, flag);
        CString title;
        if (AfxLoadStringResource(info.titleId, title))
            bar->SetWindowText(title);
        bar->EnableDocking(kDockAnySide);
        if (dockSite)
            dockSite->DockControlBar(bar);
    }
    if (settingsKey)
        ::RegCloseKey(settingsKey);
    return true;
}

bool CKWToolBarManager::LoadToolBar(const KWToolBarInfo& info, CQMXPToolBar* bar, HKEY, bool&)
{
    return bar && bar->LoadToolBar(info.resourceId, 0, 0, info.secondFlag, 0, 0, 0);
}

bool CKWToolBarManager::PushWorkspaceKey(bool create)
{
    CQMXPWorkspace* workspace = QMXPGetWorkspace();
    if (!workspace || !m_keyStack)
        return false;
    CString path = workspace->GetRegSectionPath(L"");
    if (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
        path = path.Left(path.GetLength() - 1);
    return m_keyStack->Push(create ? 1 : 0, path);
}

void CKWToolBarManager::SaveVersion()
{
    if (!PushWorkspaceKey(true))
        return;
    const uint32_t version = kSettingsVersion;
    m_keyStack->SetValue(kSettingsVersionValue, REG_DWORD, &version, sizeof(version));
    m_keyStack->Pop();
}

void CKWToolBarManager::CheckVersion(bool& sameMajor, bool* sameMinor)
{
    sameMajor = false;
    if (sameMinor)
        *sameMinor = false;
    if (!PushWorkspaceKey(false))
        return;
    DWORD type = 0;
    uint32_t stored = 0;
    DWORD size = sizeof(stored);
    if (m_keyStack->QueryValue(kSettingsVersionValue, &type, &stored, &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(stored)) {
        sameMajor = ((stored ^ kSettingsVersion) & 0xFFFF0000u) == 0;
        if (sameMinor)
            *sameMinor = ((stored ^ kSettingsVersion) & 0xFFFFu) == 0;
    }
    m_keyStack->Pop();
}

namespace {

CFrameWnd* MainFrame()
{
    CWnd* main = AfxGetMainWnd();
    return dynamic_cast<CQMXPMDIFrameWnd*>(main);
}

bool IsBarVisible(CQMXPToolBar* bar)
{
    return bar->m_hWnd && bar->IsVisible() == 1;
}

}  // namespace

void CKWToolBarManager::ShowToolBar(CQMXPToolBar* bar, CFrameWnd* frame, bool show)
{
    if (auto* dockSite = dynamic_cast<CQMXPMDIFrameWnd*>(frame))
        dockSite->ShowControlBar(bar, show, FALSE, FALSE);
}

void CKWToolBarManager::ToggleToolBar(UINT controlId)
{
    CQMXPToolBar* bar = FindToolBar(controlId);
    CFrameWnd* frame = MainFrame();
    if (bar && frame)
        ShowToolBar(bar, frame, !IsBarVisible(bar));
}

void CKWToolBarManager::HideToolBars()
{
    m_visibility.assign(m_toolBars.size(), false);
    for (size_t i = 0; i < m_toolBars.size(); ++i) {
        m_visibility[i] = IsBarVisible(m_toolBars[i]);
        ShowToolBar(m_toolBars[i], MainFrame(), false);
    }
}

void CKWToolBarManager::RestoreToolBars()
{
    for (size_t i = 0; i < m_visibility.size() && i < m_toolBars.size(); ++i) {
        if (m_visibility[i])
            ShowToolBar(m_toolBars[i], MainFrame(), true);
    }
    m_visibility.clear();
}

void CKWToolBarManager::ApplyToolBarVisibility()
{
    if (m_visibility.size() != m_toolBars.size())
        return;
    for (size_t i = 0; i < m_toolBars.size(); ++i)
        ShowToolBar(m_toolBars[i], MainFrame(), m_visibility[i]);
}
