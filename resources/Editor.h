// Resource ids of the program's own windows: its menus, accelerators and
// icons, the document types, the panes of a report window and the string
// texts the application shows.
#pragma once

// The main window's menu, accelerators and icon; the two document types'
// (their document strings, menus, accelerators and icons).
#define IDR_TAL_MAINFRAME 128
#define IDR_TAL_REPORT 131
#define IDR_TAL_TEMPLATE 140

// The panes of a report window: their dialog templates (also their ids),
// the section tree and its splitters.
#define IDD_TAL_IMAGE_PANEL 176
#define IDD_TAL_TEMPLATES 189
#define IDD_TAL_TEXT 197
#define IDC_TAL_SECTION_TREE 1126
#define IDC_TAL_SPLIT_TREE_TEXT 1128
#define IDC_TAL_SPLIT_TEXT_IMAGES 1129
#define IDC_TAL_SPLIT_TREE_TEMPLATES 1130
// The section image panel: its buttons (their tooltips are strings of the
// same ids), the title edit, the thumbnail list, the preview picture, the
// context menus of the list and the preview, the default and background
// pictures and the texts of the picture properties.
#define IDC_TAL_IMG_ADD 1117
#define IDC_TAL_IMG_REMOVE 1118
#define IDC_TAL_IMG_PREVIEW_MODE 1119
#define IDC_TAL_IMG_GENERATE 1120
#define IDC_TAL_IMG_LIST 1122
#define IDC_TAL_IMG_ROTATE_RIGHT 1132
#define IDC_TAL_IMG_GRAYSCALE 1133
#define IDC_TAL_IMG_PREVIEW_PICTURE 1134
#define IDC_TAL_IMG_THUMBNAILS_MODE 1137
#define IDC_TAL_IMG_ROTATE_LEFT 1138
#define IDC_TAL_IMG_DESCRIPTION 1139
#define IDC_TAL_IMG_SHOW 1140
#define IDC_TAL_IMG_NEW_PAGE 1141
#define IDC_TAL_IMG_TITLE 1144
#define IDC_TAL_IMG_PREVIOUS 1165
#define IDC_TAL_IMG_NEXT 1167
#define IDC_TAL_IMG_FIRST 1168
#define IDC_TAL_IMG_LAST 1169
#define IDR_TAL_THUMBNAILS_MENU 1147
#define IDR_TAL_PREVIEW_MENU 1148
#define IDB_TAL_DEFAULT_PICTURE 250
#define IDB_TAL_PANEL_BACKGROUND 2529
#define IDB_TAL_NO_PICTURE 100
#define IDS_TAL_WIDTH 32785
#define IDS_TAL_HEIGHT 32786
// The section tree's context menu.
#define IDR_TAL_TREE_MENU 1145
// The image gallery's context menus: its thumbnails and its folders.
#define IDR_TAL_GALLERY_VIEW_MENU 195
#define IDR_TAL_GALLERY_LIST_MENU 196

// Texts of the application's messages.
#define IDS_TAL_APP_CAPTION 124
#define IDS_TAL_EMPTY_FOLDERS 244
#define IDS_TAL_MORE_COLOR 32899
#define IDS_TAL_OPEN_IMAGE 32904
#define IDS_TAL_REGISTRY_REMOVED 61707
#define IDS_TAL_REGISTRY_NOT_REMOVED 61708
