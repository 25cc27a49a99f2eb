#pragma once
// One tab of a tab window (CQMXPTabInfo): its label, image, colours, the
// window it shows and whether it is visible and may be dragged out; and one
// tab read from a stored layout until the tab window applies it
// (CQMXPRestoredTabInfo).
#include "platform/classlib/Object.h"
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

#include <windows.h>

class CWnd;

class CQMXPTabInfo : public CObject {
    DECLARE_DYNAMIC(CQMXPTabInfo)
public:
    CQMXPTabInfo(const CString& strText, UINT uiIcon, CWnd* pWnd, int iTabID, BOOL bDetachable);
    // Destroys the tab's own icon.
    ~CQMXPTabInfo() override;
    CQMXPTabInfo(const CQMXPTabInfo&) = delete;
    CQMXPTabInfo& operator=(const CQMXPTabInfo&) = delete;

    // Keeps a copy of the icon (none for NULL) in place of the old one.
    void SetIcon(HICON hIcon);

    CString m_strText;
    UINT m_uiIcon;
    HICON m_hIcon;
    CRect m_rect;
    BOOL m_bVisible;
    CWnd* m_pWnd;
    BOOL m_bIsListView;
    int m_nFullWidth;
    int m_iTabID;
    COLORREF m_clrText;
    COLORREF m_clrBack;
    BOOL m_bIsDetachable;
};

struct CQMXPRestoredTabInfo {
    CString m_strText;
    BOOL m_bVisible = TRUE;
    UINT m_nControlBarID = 0;
    BOOL m_bDetachable = TRUE;
    COLORREF m_clrText = static_cast<COLORREF>(-1);
    COLORREF m_clrBack = static_cast<COLORREF>(-1);
};
