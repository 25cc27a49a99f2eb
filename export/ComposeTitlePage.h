#pragma once
// The title page: the cells of the document's title-page template filled with
// the document's descriptive texts, its logo and today's date.
#include "export/TalPageExport.h"

class CTalDocProperties;

// Appends the title page; nothing when the document names no title-page
// template that the template manager knows. The printer flag is not used.
void ComposeTitlePage(CTalDocProperties* properties, TalPageList& pages, bool printerSize);

// Today's date in the user's long date format (at most 200 characters).
CString FormatTitlePageDate();
