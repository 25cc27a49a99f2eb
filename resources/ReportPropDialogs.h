// Resource ids of the report properties sheet's five pages and of the
// watermark properties dialog, with their icons and texts.
#pragma once

// The pages, in the sheet's order, and the watermark dialog.
#define IDD_TAL_PROP_GENERAL 166
#define IDD_TAL_PROP_TITLE_PAGE 167
#define IDD_TAL_PROP_WATERMARKS 168
#define IDD_TAL_PROP_GENERATE 169
#define IDD_TAL_PROP_PAGE 170
#define IDD_TAL_WATERMARK 171

// The previews of the title-page, watermarks and watermark dialogs.
#define IDC_PROP_PREVIEW 1029

// "General".
#define IDC_GEN_TITLE 1043
#define IDC_GEN_SUBJECT 1044
#define IDC_GEN_AUTHOR 1012
#define IDC_GEN_COMPANY 1014
#define IDC_GEN_DESCRIPTION 1015
#define IDC_GEN_IMAGES_INSIDE 1045
#define IDC_GEN_IMAGE_LINKS 1046

// "Title page".
#define IDC_TP_INSERT_LOGO 1015
#define IDC_TP_BROWSE 1016
#define IDC_TP_INSERT_DATE 1017
#define IDC_TP_TEMPLATES 1006

// "Watermarks".
#define IDC_WMS_LIST 1048
#define IDC_WMS_ADD 1049
#define IDC_WMS_PROPERTIES 1050
#define IDC_WMS_REMOVE 1051
#define IDC_WMS_SHOW_ALL 1099

// "Generate Report".
#define IDC_GR_TITLE_PAGE 1050
#define IDC_GR_CONTENTS 1051
#define IDC_GR_NUMBERING 1052
#define IDC_GR_GRAYSCALE 1053
#define IDC_GR_DESCRIPTIONS 1136
#define IDC_GR_WATERMARKS 1098
#define IDC_GR_USE_STYLES 1054
#define IDC_GR_STYLES 1055
#define IDC_GR_FONT 1056
#define IDC_GR_SIZE 1057
#define IDC_GR_COLOR 1058
#define IDC_GR_BOLD 1101
#define IDC_GR_ITALIC 1100
#define IDC_GR_UNDERLINE 1102
#define IDC_GR_LEFT 1104
#define IDC_GR_CENTRE 1105
#define IDC_GR_RIGHT 1106

// "Page".
#define IDC_PG_PRINTER_SIZE 1059
#define IDC_PG_PREDEFINED 1060
#define IDC_PG_CUSTOM 1061
#define IDC_PG_SIZES 1062
#define IDC_PG_WIDTH 1063
#define IDC_PG_HEIGHT 1064
#define IDC_PG_PORTRAIT 1065
#define IDC_PG_LANDSCAPE 1066
#define IDC_PG_PRINT_SETUP 1166

// The watermark dialog.
#define IDC_WM_NAME 1069
#define IDC_WM_TYPE 1070
#define IDC_WM_PLACE_FIRST 1071
#define IDC_WM_PLACE_LAST 1079
#define IDC_WM_TEXT_LABEL 1081
#define IDC_WM_TEXT 1082
#define IDC_WM_FONT_LABEL 1089
#define IDC_WM_FONT 1056
#define IDC_WM_SIZE_LABEL 1090
#define IDC_WM_SIZE 1057
#define IDC_WM_COLOR_LABEL 1092
#define IDC_WM_COLOR 1058
#define IDC_WM_IMAGE_LABEL 1080
#define IDC_WM_IMAGE 1083
#define IDC_WM_BROWSE 1035
#define IDC_WM_WIDTH_LABEL 1094
#define IDC_WM_WIDTH 1063
#define IDC_WM_HEIGHT_LABEL 1095
#define IDC_WM_HEIGHT 1064
#define IDC_WM_UNIT_LABEL 1096
#define IDC_WM_UNIT 1059
#define IDC_WM_CONSTRAIN 1093
#define IDC_WM_NUMBER_LABEL 1085
#define IDC_WM_NUMBER 1086
#define IDC_WM_SEND_TO_FRONT 1170

// The nine place buttons' icons: with visual styles, and the plain set.
#define IDI_WM_PLACE_XP_FIRST 226
#define IDI_WM_PLACE_PLAIN_FIRST 269

// Texts.
#define IDS_WM_TYPE_TEXT 104
#define IDS_WM_TYPE_IMAGE 105
#define IDS_WM_TYPE_PAGE_NUMBER 106
#define IDS_WM_DELETE_QUESTION 107
#define IDS_WM_UNIT_INCH 108
#define IDS_WM_UNIT_MM 109
#define IDS_WM_UNIT_PIXEL 110
#define IDS_STYLE_TITLE 111
#define IDS_STYLE_SUBJECT 112
#define IDS_STYLE_AUTHOR 113
#define IDS_STYLE_COMPANY 114
#define IDS_STYLE_DESCRIPTION 115
#define IDS_STYLE_DATE 116
#define IDS_STYLE_IMAGE_NAME 117
#define IDS_STYLE_SECTION 118
#define IDS_WM_NAME_MISSING 121
#define IDS_INVALID_NUMBER 122
#define IDS_STYLE_CONTENT 137
