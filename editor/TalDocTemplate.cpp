#include "editor/TalDocTemplate.h"

#include "platform/classlib/Document.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTalAppDocTemplate, CMultiDocTemplate)

CTalAppDocTemplate::CTalAppDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CTalAppDocTemplate::~CTalAppDocTemplate() = default;

CDocTemplate::Confidence CTalAppDocTemplate::MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    for (POSITION position = GetFirstDocPosition(); position;) {
        CDocument* document = GetNextDoc(position);
        if (document && lpszPathName && ::lstrcmpiW(document->GetPathName(), lpszPathName) == 0) {
            rpDocMatch = document;
            return yesAlreadyOpen;
        }
    }
    return m_pDocClass && std::strcmp(m_pDocClass->m_lpszClassName, "CTalDocument") == 0 ? yesAttemptNative
                                                                                            : noAttempt;
}

void CTalAppDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CMultiDocTemplate::SetDefaultTitle(pDocument);
}
