#pragma once
// Resource ids of the docking tests (DockingTests.rc).

#define IDR_DOCKTEST_MAIN 19001
#define IDR_DOCKTEST_DOC 19002

#define ID_DOCKTEST_INDICATOR_A 19101
#define ID_DOCKTEST_INDICATOR_B 19102
#define ID_DOCKTEST_NO_STRING 19103
#define ID_DOCKTEST_HANDLED 19110
#define ID_DOCKTEST_UNHANDLED 19111
#define ID_DOCKTEST_COMBO 19112
#define ID_DOCKTEST_SAVE 19120
#define ID_DOCKTEST_NO_TIP 19121
#define ID_DOCKTEST_CHECK 19122

#define IDR_DOCKTEST_ACCEL 19003
// A tool-bar resource that claims more items than it holds.
#define IDR_DOCKTEST_SHORT_TOOLBAR 19004

#define IDB_DOCKTEST_STRIP24 19201

// Commands of the menus' tests (a range the menu test frame handles).
#define ID_MENUTEST_FIRST 30001
#define ID_MENUTEST_LAST 30099
#define ID_MENUTEST_CUSTOMIZE 30099

// The class library's preview bar template.
#define IDD_DOCKTEST_PREVIEW_BAR 30722
