#pragma once
// Resources of the controls tests.

// The buttons' dialog: flat buttons in each state, a check box and a
// default button, then an edit box after them in the tab order.
#define IDD_TEST_BUTTONS 7410
#define IDC_TEST_NORMAL 7411
#define IDC_TEST_HOT 7412
#define IDC_TEST_PRESSED 7413
#define IDC_TEST_DISABLED 7414
#define IDC_TEST_CHECK 7415
#define IDC_TEST_DEFAULT 7416
#define IDC_TEST_EDIT 7417

#define IDI_TEST_TOOL 7430
#define IDB_TEST_WIDE 7431   // 78 x 26
#define IDB_TEST_SQUARE 7432 // 64 x 64
#define IDB_TEST_BACKGROUND 7433 // 300 x 200
