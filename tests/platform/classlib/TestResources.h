#pragma once
// Resource ids of the class library's test templates (ClassLibTests.rc).

#define IDD_TEST_DIALOG 200
#define IDD_TEST_PAGE1 201
#define IDD_TEST_PAGE2 202
#define IDD_TEST_PAGE3 203
#define IDD_TEST_PANE 204

#define IDC_TEST_EDIT 1001
#define IDC_TEST_COMBO 1002
#define IDC_TEST_OTHER 1003
#define IDC_TEST_LIST 1004
#define IDC_TEST_MULTILINE 1005

#define IDS_TEST_COMPANY 300
#define IDS_TEST_PAGE_CAPTION 301
