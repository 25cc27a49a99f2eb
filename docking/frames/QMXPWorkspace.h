#pragma once
// CQMXPWorkspace: saves and restores the window layout of the docking
// library below one registry base key; a base of the application object.
// There is one per process (QMXPGetWorkspace). Stand-in: it keeps the base
// key and calls the load hooks; the docking library fills in what is saved.
#include "platform/classlib/String.h"

#include <windows.h>

class CQMXPWorkspace {
public:
    explicit CQMXPWorkspace(BOOL bResourceSmartUpdate = FALSE);
    virtual ~CQMXPWorkspace();
    CQMXPWorkspace(const CQMXPWorkspace&) = delete;
    CQMXPWorkspace& operator=(const CQMXPWorkspace&) = delete;

    // "SOFTWARE\<registry key>\<profile>\<base>\" and, for a section,
    // "<section>\" after it.
    CString GetRegSectionPath(LPCWSTR lpszSectionName = L"");
    void SetRegistryBase(LPCWSTR lpszSectionName);

    // Loads the saved layout (PreLoadState first, PostLoadState last); a
    // base name given replaces the stored one.
    virtual BOOL LoadState(LPCWSTR lpszSectionName = nullptr);

    // Tool bars merge changes of their resources into their stored state
    // (and keep their reset buttons as "OriginalItems").
    BOOL IsResourceSmartUpdate() const { return m_bResourceSmartUpdate; }
    // The version of the stored layout; -1 until one was read.
    int GetDataVersionMajor() const { return m_iSavedVersionMajor; }
    int GetDataVersionMinor() const { return m_iSavedVersionMinor; }

protected:
    // Called before anything is loaded; the application may reset its settings here.
    virtual void PreLoadState();
    virtual void PostLoadState();

    CString m_strRegSection;
    BOOL m_bResourceSmartUpdate;
    int m_iSavedVersionMajor = -1;
    int m_iSavedVersionMinor = -1;
};

// The workspace of the process; null when there is none.
CQMXPWorkspace* QMXPGetWorkspace();
