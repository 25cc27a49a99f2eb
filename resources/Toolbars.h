#pragma once
// Ids of the program's three tool bars: their resources (buttons and
// images), their windows and their names in the string table.

#define IDR_TAL_MAIN_TOOLBAR 128
#define IDR_TAL_EDIT_TREE_TOOLBAR 129
#define IDR_TAL_FORMAT_TEXT_TOOLBAR 130

#define ID_TAL_MAIN_TOOLBAR_BAR 59952
#define ID_TAL_EDIT_TREE_TOOLBAR_BAR 59953
#define ID_TAL_FORMAT_TEXT_TOOLBAR_BAR 59954

#define IDS_TAL_MAIN_TOOLBAR 2522
#define IDS_TAL_EDIT_TREE_TOOLBAR 2523
#define IDS_TAL_FORMAT_TEXT_TOOLBAR 2524

// The type marks of the font-name boxes: device, TrueType, other (16 x 15 each).
#define IDB_KW_FONT_MARKS 225
