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
