#include "appwindows/KWDocManager.h"

#include "platform/classlib/DocTemplate.h"
#include "platform/classlib/WinApp.h"

#include <commdlg.h>

IMPLEMENT_DYNAMIC(CKWDocManager, CDocManager)

namespace {
// The title of the open dialog (AFX_IDS_OPENFILE).
constexpr UINT kOpenTitle = 0xF000;
// Several files, in the explorer style (the answer is the folder, then the names).
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
}  // namespace

CKWDocManager::CKWDocManager() = default;

CKWDocManager::~CKWDocManager() = default;

void CKWDocManager::OnFileNew()
{
    POSITION position = GetFirstDocTemplatePosition();
    if (position)
        GetNextDocTemplate(position)->OpenDocumentFile(nullptr, TRUE);
}

void CKWDocManager::OnFileOpen()
{
    CStringList names;
    if (!PromptFileNames(names))
        return;
    for (POSITION position = names.GetHeadPosition(); position;) {
        const CString name = names.GetNext(position);
        OpenDocumentFile(name);
    }
}

BOOL CKWDocManager::PromptFileNames(CStringList& names)
{
    CString answer;
    if (!DoPromptFileName(answer, kOpenTitle, kOpenFlags, TRUE, nullptr))
        return FALSE;
    SplitFileNames(answer, names);
    return TRUE;
}

void CKWDocManager::SplitFileNames(const CString& answer, CStringList& names)
{
    CString folder;
    int start = 0;
    bool first = true;
    while (start < answer.GetLength()) {
        int end = answer.Find(L'\0', start);
        if (end < 0)
            end = answer.GetLength();
        const CString part = answer.Mid(start, end - start);
        start = end + 1;
        if (part.IsEmpty())
            break;
        if (first) {
            folder = part;
            first = false;
            continue;
        }
        CString path = folder;
        if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\')
            path += L'\\';
        names.AddTail(path + part);
    }
    // One file comes back as a whole path.
    if (!first && names.IsEmpty())
        names.AddTail(folder);
}

CDocument* CKWDocManager::GetFirstDocument()
{
    m_templatePosition = GetFirstDocTemplatePosition();
    m_template = nullptr;
    m_documentPosition = nullptr;
    return GetNextDocument();
}

CDocument* CKWDocManager::GetNextDocument()
{
    for (;;) {
        if (m_template && m_documentPosition)
            return m_template->GetNextDoc(m_documentPosition);
        // A template without documents is passed over.
        if (!m_templatePosition) {
            m_template = nullptr;
            return nullptr;
        }
        m_template = GetNextDocTemplate(m_templatePosition);
        m_documentPosition = m_template ? m_template->GetFirstDocPosition() : nullptr;
    }
}
