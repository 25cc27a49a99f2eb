#pragma once
// CQMXPDockingCBWrapper: a docking pane whose only content is another
// window (a plain child window, or a bar that cannot be a tab itself), kept
// at the size of its client area, so that the window docks and is tabbed
// like a pane. It keeps its caption in the registry ("BarName").
#include "docking/bars/QMXPDockingControlBar.h"

class CQMXPDockingCBWrapper : public CQMXPDockingControlBar {
    DECLARE_SERIAL(CQMXPDockingCBWrapper)
public:
    CQMXPDockingCBWrapper();
    ~CQMXPDockingCBWrapper() override;

    // The wrapper's key is "QMXPDockingCBWrapper-<id>" (the index in hexadecimal after it).
    BOOL LoadState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;
    BOOL SaveState(LPCWSTR lpszProfileName = nullptr, UINT uiID = static_cast<UINT>(-1), int nIndex = -1) override;

    // Takes the window in and its docking sides (a plain window: all four).
    virtual BOOL SetWrappedWnd(CWnd* pWnd);
    virtual CWnd* GetWrappedWnd() const { return m_pWrappedWnd; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);

    CString StateKey(LPCWSTR lpszProfileName, UINT uiID, int nIndex) const;

    CRect m_rectInitial;
    DWORD m_dwEnabledAlignmentWrapped;
    CWnd* m_pWrappedWnd;

    DECLARE_MESSAGE_MAP()
};
