#pragma once
// CTalAppDocTemplate: the document template of the report documents and of
// the report templates: both open as a report in a report window. A path
// that is open already (in any letter case) matches its open document.
#include "platform/classlib/DocTemplate.h"

class CTalAppDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CTalAppDocTemplate)
public:
    CTalAppDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CTalAppDocTemplate() override;

    Confidence MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch) override;
    void SetDefaultTitle(CDocument* pDocument) override;
};
