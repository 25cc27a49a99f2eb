#pragma once
// CQMXPReBar: a library window over the system rebar control, so that the
// workspace finds a frame's rebars by kind and keeps their band layout.
#include "platform/classlib/Wnd.h"

class CQMXPReBar : public CWnd {
    DECLARE_DYNAMIC(CQMXPReBar)
public:
    CQMXPReBar();
    ~CQMXPReBar() override;

    // A rebar child of the parent with band borders and variable height.
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                UINT nID = 0xE804);
    // Appends a band that holds the window; its minimum size is the window's.
    BOOL AddBar(CWnd* pBar, LPCWSTR lpszText = nullptr, DWORD dwStyle = 0);
    UINT GetBandCount() const;
    // The band whose child window has the control id; -1 when none has.
    int FindBandByChildID(UINT nID) const;
};
