// Ids of the program's string table.
#pragma once

#define IDS_CANT_OPEN_FILE 123

#define IDS_MAKER_NAME 931
#define IDS_PRODUCT_NAME 932
#define IDS_PRODUCT_FOLDER 933
#define IDS_REGISTRY_KEY 934
#define IDS_HELP_NAME 936
#define IDS_CANT_SAVE_FILE 937

// Captions of the document's sheets.
#define IDS_DOCUMENT_PROPERTIES 101
#define IDS_TEXT_PROPERTIES 103
