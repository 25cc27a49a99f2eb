#pragma once
// CQMXPWorkspace: saves and restores the whole window layout of the docking
// library below one registry base key: tool bars and their options, the
// command manager, rebars, user and torn-off bars, the frame's dock state,
// the input managers and the main window's placement. It deletes the
// library-wide managers it is told it owns. One per process
// (QMXPGetWorkspace); the application object derives from it.
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <windows.h>

class CQMXPFrameImpl;
class CWnd;

class CQMXPWorkspace {
public:
    explicit CQMXPWorkspace(BOOL bResourceSmartUpdate = FALSE);
    // Deletes the managers it owns and clears their global pointers.
    virtual ~CQMXPWorkspace();
    CQMXPWorkspace(const CQMXPWorkspace&) = delete;
    CQMXPWorkspace& operator=(const CQMXPWorkspace&) = delete;

    // "SOFTWARE\<registry key>\<profile>\<base>\" and, for a section,
    // "<section>\" after it.
    CString GetRegSectionPath(LPCWSTR lpszSectionName = L"");
    void SetRegistryBase(LPCWSTR lpszSectionName);

    // Loads the saved layout (PreLoadState first, PostLoadState last), the
    // frame's bars when a frame is given; a base name given replaces the
    // stored one. Always TRUE.
    virtual BOOL LoadState(LPCWSTR lpszSectionName = nullptr, CQMXPFrameImpl* pFrameImpl = nullptr);
    // Deletes the whole base key (a settings reset).
    virtual BOOL CleanState(LPCWSTR lpszSectionName = nullptr);
    // FALSE (nothing written) while saving is disabled.
    virtual BOOL SaveState(LPCWSTR lpszSectionName = nullptr, CQMXPFrameImpl* pFrameImpl = nullptr);
    // The main frame closes: everything is saved.
    virtual BOOL OnClosingMainFrame(CQMXPFrameImpl* pFrameImpl);
    // "WindowPlacement": the normal rectangle on the screen, the placement
    // flags and the show command. Loading is TRUE only when all three are read.
    virtual BOOL LoadWindowPlacement(CRect& rectNormalPosition, int& nFlags, int& nShowCmd);
    virtual BOOL StoreWindowPlacement(const CRect& rectNormalPosition, int nFlags, int nShowCmd);
    // Runs the command the mouse manager gives a double click in the kind
    // of view (a user tool, or WM_COMMAND to the view's frame or, without
    // a view, to the main window); FALSE, with a beep, when there is none.
    virtual BOOL OnViewDoubleClick(CWnd* pWnd, int iViewId);
    // The context menu of the resource at the screen point, through the
    // context-menu manager; FALSE without one.
    virtual BOOL ShowPopupMenu(UINT uiMenuResId, const CPoint& point, CWnd* pWnd);
    // The context menu of help for the window (or none) from the
    // application's help file; the data is the pairs of control and help ids.
    virtual void OnContextHelp(CWnd* pWnd, const DWORD* lpHelpIDs);

    // Tool bars merge changes of their resources into their stored state
    // (and keep their reset buttons as "OriginalItems").
    BOOL IsResourceSmartUpdate() const { return m_bResourceSmartUpdate; }
    // The version of the stored layout; -1 until one was read, 6.3 after a load.
    int GetDataVersionMajor() const { return m_iSavedVersionMajor; }
    int GetDataVersionMinor() const { return m_iSavedVersionMinor; }
    void EnableSaving(BOOL bEnable) { m_bSaveEnabled = bEnable; }
    BOOL IsSavingEnabled() const { return m_bSaveEnabled; }
    // Only the bars of the frame being loaded or saved, not of other frames.
    void SetFrameBarsOnly(BOOL bOnly) { m_bLoadSaveFrameBarsOnly = bOnly; }

    // The managers the destructor deletes.
    BOOL m_bKeyboardManagerAutocreated = FALSE;
    BOOL m_bContextMenuManagerAutocreated = FALSE;
    BOOL m_bMouseManagerAutocreated = FALSE;
    BOOL m_bUserToolsManagerAutocreated = FALSE;
    BOOL m_bTearOffManagerAutocreated = FALSE;
    BOOL m_bForceImageReset = FALSE;

protected:
    // Called before anything is loaded; the application may reset its settings here.
    virtual void PreLoadState();
    virtual void PostLoadState();
    virtual void PreSaveState();
    virtual void PostSaveState();
    // Each docked tool bar of the frame takes its stored state; TRUE when a
    // bar's resource buttons changed since it was saved.
    BOOL LoadToolBarStates(const CString& strPath, CQMXPFrameImpl* pFrameImpl);

    CString m_strRegSection;
    BOOL m_bResourceSmartUpdate;
    int m_iSavedVersionMajor = -1;
    int m_iSavedVersionMinor = -1;
    BOOL m_bLoadSaveFrameBarsOnly = FALSE;
    BOOL m_bSaveEnabled = TRUE;
};

// The workspace of the process; null when there is none.
CQMXPWorkspace* QMXPGetWorkspace();
