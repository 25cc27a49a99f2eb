#pragma once
// CQMXPGlobalUtils: docking geometry shared by the bars: which dock manager
// belongs to a window, which side of a bar a point is near, the turning of
// rectangles and the reparenting of bars. One instance, qmxGlobalUtils.
#include "platform/classlib/Rect.h"
#include "platform/classlib/String.h"

class CObList;
class CQMXPBarContainerManager;
class CQMXPBaseControlBar;
class CQMXPDockingControlBar;
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
    // the screen (only the visible ones with bCheckVisibility); a slider
    // only changes its parent.
    void SetNewParent(CObList& lstControlBars, CWnd* pNewParent, BOOL bCheckVisibility = TRUE);
    // A floating frame (or bar) whose bar floats in frames of several panes.
    BOOL CanBeDockedToMultiMiniFrame(CWnd* pWnd) const;
    // The pane of the tree at the point and the side of it the point is
    // near; bTabArea or bCaption when the point is on a tab strip or a
    // caption where panes may be attached. A frame of fewer than two panes
    // gives its pane for its own caption.
    BOOL FindDockTarget(const CQMXPBarContainerManager& containerManager, CPoint point,
                        CQMXPDockingControlBar*& pTargetBar, DWORD& dwAlignment, BOOL& bTabArea,
                        BOOL& bCaption) const;
    // The outline a window dragged to the point would take beside a pane of
    // the tree (screen); empty when it would not dock there.
    void CalcExpectedDockedRect(const CQMXPBarContainerManager& containerManager, CWnd* pWndToDock, CPoint point,
                                CRect& rectResult, BOOL& bDrawTab, CQMXPDockingControlBar** ppTargetBar) const;

    // Set (never cleared) once a bar lives in a dialog: the bars' frame
    // forwarders then answer at once.
    BOOL m_bDialogApp;
};

extern CQMXPGlobalUtils qmxGlobalUtils;

// The cursor position on the screen.
CPoint QMXPGetCursorPos();

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
