// Resource ids of the export properties dialog, shown before a report is generated.
#pragma once

#define IDD_TAL_EXPORT_PROPERTIES 172
#define IDC_EXP_TITLE_PAGE 1008
#define IDC_EXP_CONTENTS 1051
#define IDC_EXP_NUMBERING 1052
#define IDC_EXP_GRAYSCALE 1053
#define IDC_EXP_WATERMARKS 1098
#define IDC_EXP_SHOW_AGAIN 1099
#define IDC_EXP_DESCRIPTIONS 1136
