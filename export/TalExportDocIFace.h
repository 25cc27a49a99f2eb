#pragma once
// CTalExportDocIFace: what an export writer needs of the report document: its
// properties and its list of composed pages, composed on request. The
// document implements it; the writers never see the document's windows.
#include "export/TalPageExport.h"

class CTalDocProperties;

class CTalExportDocIFace {
public:
    virtual ~CTalExportDocIFace() {}

    virtual CTalDocProperties& GetExportProperties() = 0;
    // Replaces the page list (printing: the printer's page size); false, after
    // telling the user, when no page came out.
    virtual bool ComposeExportPages(bool printing) = 0;
    // Title page, contents pages, section pages, in that order.
    virtual const TalPageList& GetExportPages() const = 0;
};
