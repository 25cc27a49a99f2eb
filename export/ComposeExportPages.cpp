#include "export/ComposeExportPages.h"

#include "export/ComposeContentsPage.h"
#include "export/ComposeSectionPages.h"
#include "export/ComposeTitlePage.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"

bool ComposeExportPages(CTalDocProperties& properties, TalPageList& pages, bool printing,
                        CTalSection* currentSection, int* currentStartPage)
{
    if (properties.m_insertTitlePage)
        ComposeTitlePage(&properties, pages, printing);
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    if (heading) {
        if (properties.m_insertContents)
            ComposeContentsPage(&properties, heading, pages, printing);
        ComposeSectionPages(heading, pages, properties.GetWatermarks(), &properties, std::vector<int>(),
                            CKWRefPtr<CTalSection>(currentSection), currentStartPage, printing);
    }
    if (pages.empty()) {
        // The section composer numbers the current section before it knows
        // whether the section makes a page; with no page there is no start.
        if (currentStartPage)
            *currentStartPage = 0;
        return false;
    }
    return true;
}
