#pragma once
// CQMXPGlobalUtils: docking geometry shared by the bars: which dock manager
// belongs to a window, which side of a bar a point is near, the turning of
// rectangles and the reparenting of bars. One instance, qmxGlobalUtils.
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

class CObList;
class CQMXPBaseControlBar;
class CQMXPDockManager;
class CWnd;

class CQMXPGlobalUtils {
public:
    CQMXPGlobalUtils();
    virtual ~CQMXPGlobalUtils();
    CQMXPGlobalUtils(const CQMXPGlobalUtils&) = delete;
    CQMXPGlobalUtils& operator=(const CQMXPGlobalUtils&) = delete;

    // The dock manager of a library frame; none for other windows. A dialog
    // or property sheet sets the dialog flag.
    CQMXPDockManager* GetDockManager(CWnd* pWnd);
    // The side of the bar (or of lpRectBounds without bar) whose strip of
    // nSensitivity pixels holds the point, tried top, left, bottom, right;
    // bOuterEdge takes the strips outside the bar only.
    BOOL CheckAlignment(CPoint point, CQMXPBaseControlBar* pBar, int nSensitivity, BOOL bOuterEdge,
                        DWORD& dwAlignment, DWORD dwEnabledDockBars = 0xF000,
                        LPCRECT lpRectBounds = nullptr) const;
    // Turns the edges (l, t, r, b) by 90 to (b, l, t, r), by -90 to
    // (t, r, b, l), by 180 to (l, b, r, t).
    void FlipRect(CRect& rect, int nAngle) const;
    // Moves each bar of the list to the new parent at the same place on
    // the screen (only the visible ones with bCheckVisibility).
    void SetNewParent(CObList& lstControlBars, CWnd* pNewParent, BOOL bCheckVisibility = TRUE);

    // Set (never cleared) once a bar lives in a dialog: the bars' frame
    // forwarders then answer at once.
    BOOL m_bDialogApp;
};

extern CQMXPGlobalUtils qmxGlobalUtils;

// The window class "<prefix>:%x:%x:%x:%x" of module instance, class style
// CS_DBLCLKS, arrow cursor and the button-face background, registered on
// first use; a failed registration throws the resource exception.
CString QMXPRegisterBarClass(LPCWSTR lpszPrefix);
// The registry key of a bar's state: the section's path, the class name, a
// hyphen and the id in decimal, then the index in hexadecimal unless it is -1.
CString QMXPBarStateKey(LPCWSTR lpszSection, LPCWSTR lpszClassName, LPCWSTR lpszProfileName, UINT uiID,
                        int nIndex);

// Placed around every load of a library resource; the library's resources
// are the program's, so it switches nothing.
class CQMXPLocalResource {
public:
    CQMXPLocalResource() = default;
    virtual ~CQMXPLocalResource() = default;
    CQMXPLocalResource(const CQMXPLocalResource&) = delete;
    CQMXPLocalResource& operator=(const CQMXPLocalResource&) = delete;
};
