// Resource ids of the framework's dialog tests.
#pragma once

#define IDD_KW_TEST_DIALOG 30100
#define IDD_KW_TEST_PAGE 30101
#define IDC_KW_TEST_OTHER 30110
#define IDC_KW_TEST_EDIT 30111
