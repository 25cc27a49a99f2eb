#pragma once
// ExportHTMLData: the file names the HTML export attaches to one composed
// page (in the page's cache slot, which then owns it).
#include "export/TalPageExport.h"
#include "platform/classlib/String.h"

class ExportHTMLData : public ExportCustomData {
public:
    ExportHTMLData(const CString& pagePath, const CString& pageName, const CString& previousFile,
                   const CString& nextFile)
        : m_pagePath(pagePath), m_pageName(pageName), m_previousFile(previousFile), m_nextFile(nextFile)
    {
    }

    CString m_pagePath;      // full path of the page's document
    CString m_pageName;      // file name without extension
    CString m_previousFile;  // file name of the previous page's document, empty for the first
    CString m_nextFile;      // file name of the next page's document, empty for the last
};
