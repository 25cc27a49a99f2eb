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
