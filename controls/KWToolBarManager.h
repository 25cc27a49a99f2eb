#pragma once
// CKWToolBarManager: the main window's tool bars. The application registers
// a description of each bar before the main window exists; the main frame
// has the manager make and dock them all, and hands it its menu bar too.
// The manager owns every bar of its list. It also compares the version of
// the tool-bar layout stored in the registry with the program's, so that a
// layout of an incompatible version is recognised.
#include <windows.h>

#include <cstdint>
#include <vector>

class CFrameWnd;
class CKWRegKeyStack;
class CQMXPToolBar;

struct KWToolBarInfo {
    UINT resourceId;  // the tool-bar resource (type 241) to load
    UINT controlId;   // the bar window's id
    UINT titleId;     // the string that becomes the bar's window text
    bool firstFlag;   // kept for the application; the manager does not read it
    bool secondFlag;  // handed to the loading of the bar
};

class CKWToolBarManager {
public:
    // The registry value beside the workspace's layout, and the version the
    // program writes and compares.
    static const wchar_t kSettingsVersionValue[];
    static constexpr uint32_t kSettingsVersion = 0;

    CKWToolBarManager() = default;
    // Deletes every bar.
    virtual ~CKWToolBarManager();
    CKWToolBarManager(const CKWToolBarManager&) = delete;
    CKWToolBarManager& operator=(const CKWToolBarManager&) = delete;

    virtual void DestroyAll();
    // The first bar whose window has the id; null when none has.
    virtual CQMXPToolBar* FindToolBar(UINT controlId) const;
    // Null for an index out of range.
    virtual CQMXPToolBar* GetToolBar(int index) const;
    virtual void AddToolBarInfo(UINT resourceId, UINT controlId, UINT titleId, bool firstFlag, bool secondFlag);
    // Makes one bar per description, creates it in the frame, loads its
    // buttons, titles it and docks it; true.
    virtual bool CreateToolBars(CFrameWnd* frame);
    virtual void ClearToolBarInfo() { m_infos.clear(); }
    // Writes "ToolBars Settings Version" (the program's version) under the
    // workspace's base key; nothing when the key cannot be opened.
    virtual void SaveVersion();
    // Reads "ToolBars Settings Version" under the workspace's base key
    // through the application's key stack: sameMajor when its high 16 bits
    // are the program's, sameMinor (when asked for) when its low 16 bits
    // are; both false when the key or the value cannot be read.
    virtual void CheckVersion(bool& sameMajor, bool* sameMinor);
    virtual const std::vector<KWToolBarInfo>& GetToolBarInfo() const { return m_infos; }
    // Shows the bar when hidden and hides it when visible, through the main
    // frame; nothing for an unknown id or a main window of another kind.
    virtual void ToggleToolBar(UINT controlId);
    // Shows every bar remembered as visible, then forgets.
    virtual void RestoreToolBars();
    // Remembers which bars are visible and hides them all.
    virtual void HideToolBars();
    // Shows or hides each bar as remembered, when one bit per bar is remembered.
    virtual void ApplyToolBarVisibility();
    // The frame's show operation for a control bar, without delay or activation.
    virtual void ShowToolBar(CQMXPToolBar* bar, CFrameWnd* frame, bool show);
    // The buttons and images of the description's tool-bar resource through
    // the docking library (the second flag locks the bar); false when the
    // resource is missing.
    virtual bool LoadToolBar(const KWToolBarInfo& info, CQMXPToolBar* bar, HKEY settingsKey, bool& flag);
    // The key a derived manager restores the bars' states from; none here.
    virtual HKEY OpenSettingsKey() { return nullptr; }

    // Takes a bar made elsewhere (the main frame's menu bar) into the list.
    void AddToolBar(CQMXPToolBar* bar);
    int GetCount() const { return static_cast<int>(m_toolBars.size()); }
    // The application's registry key stack (not owned).
    void SetKeyStack(CKWRegKeyStack* keyStack) { m_keyStack = keyStack; }

private:
    std::vector<CQMXPToolBar*> m_toolBars;
    // Opens the workspace's base key through the key stack; false when it cannot.
    bool PushWorkspaceKey(bool create);

    std::vector<KWToolBarInfo> m_infos;
    std::vector<bool> m_visibility;
    CKWRegKeyStack* m_keyStack = nullptr;
};
