#pragma once
// The whole report composed into pages in the document's order: the title
// page (when asked), the contents page(s) (when asked), then the pages of
// every section depth first from the heading section. The document clears its
// page list, calls this and shows its "no page" message when it returns false.
#include "export/TalPageExport.h"

class CTalDocProperties;
class CTalSection;

// Appends to pages. currentSection (may be null) is the section whose first
// page number (1-based) goes to currentStartPage; 0 when no page was composed
// at all. True when pages holds at least one page afterwards.
bool ComposeExportPages(CTalDocProperties& properties, TalPageList& pages, bool printing,
                        CTalSection* currentSection, int* currentStartPage);
