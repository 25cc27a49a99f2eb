#pragma once
// The docking library's globals: the values of its data section, the
// registry names, the registered messages and the library-wide objects,
// all made before the program's entry (QMXPLibraryGlobals.cpp, in the
// order they are built).
#include "platform/classlib/List.h"
#include "platform/classlib/Map.h"

#include <windows.h>

class CCmdUsageCount;
class CFrameWnd;
class CWnd;
class CQMXPCommandManager;

// Docking mode used where a bar has none of its own (outline).
extern int qmxDefaultDockingMode;
// Pixels around dock bars, bars and frame edges within which a point counts as near.
extern int qmxDockSensitivity;
// Popup menus destroy the menu handles they were given when they close.
extern BOOL qmxAutoDestroyMenus;
// Set while the dock manager restores a saved layout.
extern BOOL qmxRestoringDockState;
// When set, the window that gets the bars' context-menu message
// ("QMXTOOLBAR_POPUPMENU") instead of their frames.
extern HWND qmxPopupOwnerWnd;
// When set, the frame that owns tool-bar buttons and popup menus in place
// of their own top-level frame.
extern CFrameWnd* qmxTopLevelFrameOverride;
// The popup owner window while it is a window, else none.
CWnd* QMXPGetPopupOwner();

extern const int qmxDragThresholdX;
extern const int qmxDragThresholdY;

extern const wchar_t qmxRegControlBarSection[];
extern const wchar_t qmxRegBaseBarSection[];
extern const wchar_t qmxRegControlBarsKey[];
extern const wchar_t qmxRegWindowPlacement[];
extern const wchar_t qmxRegMainWindowRect[];
extern const wchar_t qmxRegFlags[];
extern const wchar_t qmxRegShowCmd[];
extern const wchar_t qmxRegControlBarVersion[];
extern const wchar_t qmxRegVersionMajor[];
extern const wchar_t qmxRegVersionMinor[];
extern const wchar_t qmxRegToolBarSection[];
extern const wchar_t qmxRegUserToolsSection[];
extern const wchar_t qmxRegUserToolsKey[];
extern const wchar_t qmxFontTahoma[];
extern const wchar_t qmxFontMSSansSerif[];
extern const wchar_t qmxFontArial[];
extern const wchar_t qmxFontMarlett[];
extern const UINT QMXTOOLBAR__GETDOCUMENTCOLORS;
extern const UINT QMXPMSG_CHECKEMPTYMINIFRAME;
// Posted by a frame to itself once it is active: its owned windows go back above it.
extern const UINT QMXPMSG_KEEPOWNEDABOVE;
// The floating bars by control id, and every floating frame, of the process.
extern CMap<UINT, UINT, HWND, HWND> qmxFloatingBarsByID;
extern CList<HWND, HWND> qmxFloatingFrames;
extern const wchar_t qmxRegMenuBarSection[];
extern const wchar_t qmxRegMenuBarToolBarsSection[];
extern CQMXPCommandManager qmxCommandManager;
extern const wchar_t qmxRegCommandManagerSection[];
extern CCmdUsageCount qmxCmdUsageCount;
extern const wchar_t qmxRegDockManagerSection[];
extern const wchar_t qmxRegOutlookBarSection[];
extern const wchar_t qmxRegOutlookCustomPages[];
extern const UINT QMXM_ON_HSCROLL;
extern const UINT QMXM_ON_RENAME_TAB;
extern const UINT QMXM_ONCHANGE_ACTIVE_TAB;
extern const UINT QMXM_ON_MOVE_TAB;
extern const UINT QMXM_ON_CHANGING_ACTIVE_TAB;
extern const wchar_t qmxRegWrapperSection[];
extern const wchar_t qmxRegTearOffSection[];
extern const wchar_t qmxRegContextMenuManager[];
extern const wchar_t qmxRegMouseSection[];
extern const wchar_t qmxRegMouseManager[];
extern const wchar_t qmxRegKeyboardManager[];
extern const wchar_t qmxRegRebarFormat[];
extern const wchar_t qmxRegRebarInfo[];
extern const wchar_t qmxRegRebarIds[];
