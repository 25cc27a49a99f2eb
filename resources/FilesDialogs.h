// Resource ids of the report files' dialogs.
#pragma once

// The error dialog shown after a load or save that met problems.
#define IDD_XML_ERRORS 249
#define IDC_XML_ERROR_LIST 1174
#define IDC_XML_ERROR_HEADING 1175
