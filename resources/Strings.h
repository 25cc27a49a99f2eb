// Ids of the program's string table.
#pragma once

#define IDS_CANT_OPEN_FILE 123
// The web addresses of the product and of its maker.
#define IDS_PRODUCT_WEB 127
#define IDS_MAKER_WEB 129

#define IDS_VERSION_PREFIX 930

#define IDS_MAKER_NAME 931
#define IDS_PRODUCT_NAME 932
#define IDS_PRODUCT_FOLDER 933
#define IDS_REGISTRY_KEY 934
#define IDS_HELP_NAME 936
#define IDS_CANT_SAVE_FILE 937

// The progress window's message while a report is generated.
#define IDS_GENERATING_REPORT 32886

// Captions of the document's sheets.
#define IDS_DOCUMENT_PROPERTIES 101
#define IDS_TEXT_PROPERTIES 103

// The print preview's button texts and its failure.
#define IDS_PREVIEW_ONE_PAGE 61505
#define IDS_PREVIEW_TWO_PAGE 61506
#define IDS_COMMAND_FAILED 61705
// At start, when no folder for the picture store can be made or written.
#define IDS_NO_PICTURE_FOLDER 945
