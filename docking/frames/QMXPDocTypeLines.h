#pragma once
// The application's document types as the customisation pages list them:
// lines of a combo box, and the icon a chosen type shows.
#include <windows.h>

class CComboBox;
class CMultiDocTemplate;

// A line per multi-document template of the application that pfnTake
// accepts, one per resource id: the type's file-new name, with the template
// as item data.
void QMXPAddDocTypeLines(CComboBox& wndList, BOOL (*pfnTake)(const CMultiDocTemplate& docTemplate));
// The icon resource with the template's id, else the standard application icon.
HICON QMXPDocTypeIcon(const CMultiDocTemplate& docTemplate);
