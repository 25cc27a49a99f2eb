#pragma once
// Resources of the controls tests.

// The buttons' dialog: flat buttons in each state, a check box and a
// default button, then an edit box after them in the tab order.
#define IDD_TEST_BUTTONS 7010
#define IDC_TEST_NORMAL 7011
#define IDC_TEST_HOT 7012
#define IDC_TEST_PRESSED 7013
#define IDC_TEST_DISABLED 7014
#define IDC_TEST_CHECK 7015
#define IDC_TEST_DEFAULT 7016
#define IDC_TEST_EDIT 7017

#define IDI_TEST_TOOL 7030
#define IDB_TEST_WIDE 7031   // 78 x 26
#define IDB_TEST_SQUARE 7032 // 64 x 64
