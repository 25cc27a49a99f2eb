#include "controls/KWToolBarManager.h"

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
// The tool-bar resource: version, button width, height, count, then the ids.
constexpr WORD kToolBarResourceType = 241;
constexpr size_t kToolBarHeaderWords = 4;

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
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(info.resourceId), MAKEINTRESOURCEW(kToolBarResourceType));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    const size_t size = found ? ::SizeofResource(module, found) / sizeof(WORD) : 0;
    if (!words || size < kToolBarHeaderWords || size < kToolBarHeaderWords + words[3])
        return false;
    for (size_t i = 0; i < words[3]; ++i) {
        const UINT id = words[kToolBarHeaderWords + i];
        CString text;
        if (id != 0 && AfxLoadStringResource(id, text)) {
            // The tip after the prompt names the button.
            const CString tip = AfxExtractStringField(text, 1);
            text = tip.IsEmpty() ? AfxExtractStringField(text, 0) : tip;
        }
        auto* button = new CQMXPToolbarButton(id, text, FALSE);
        if (id == 0)
            button->m_nStyle = TBBS_SEPARATOR;
        bar->InsertButton(button);
    }
    return true;
}

void CKWToolBarManager::CheckSettingsVersion(bool& sameMajor, bool* sameMinor)
{
    sameMajor = false;
    if (sameMinor)
        *sameMinor = false;
    CQMXPWorkspace* workspace = QMXPGetWorkspace();
    if (!workspace || !m_keyStack)
        return;
    CString path = workspace->GetRegSectionPath(L"");
    if (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
        path = path.Left(path.GetLength() - 1);
    if (!m_keyStack->Push(0, path))
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
