// Resource ids of the framework's dialogs.
#pragma once

// The progress window.
#define IDD_KW_PROGRESS 901
#define IDC_KW_PROGRESS_TEXT 9002
#define IDC_KW_PROGRESS_BAR 9003

// The preview pane added to the image-import file dialog.
#define IDD_KW_IMPORT_PREVIEW 900
#define IDC_KW_PREVIEW 9000
#define IDC_KW_PREVIEW_CHECK 9001

// The About box, its background picture and its items.
#define IDD_KW_ABOUT 248
#define IDB_KW_ABOUT_BACKGROUND 136
#define IDC_KW_ABOUT_CREDITS 394
#define IDC_KW_ABOUT_LINK1 395
#define IDC_KW_ABOUT_LINK2 396
#define IDC_KW_ABOUT_VERSION 397

// The print preview's bar: a placeholder button the preview's tool bar covers.
#define IDD_KW_PREVIEW_BAR 16658
#define IDC_KW_PREVIEW_PLACEHOLDER 58116
