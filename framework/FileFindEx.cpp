#include "framework/FileFindEx.h"

CFileFindEx::CFileFindEx(bool recursive) : m_recursive(recursive) {}

CFileFindEx::~CFileFindEx() = default;

BOOL CFileFindEx::FindFile(LPCWSTR pattern, DWORD flags) {
    m_scanners.clear();
    if (m_recursive) {
        CString p(pattern && *pattern ? pattern : L"*.*");
        int cut = p.ReverseFind(L'\\');
        m_rootFolder = p.Left(cut + 1);
        m_namePattern = p.Mid(cut + 1);
    }
    if (CFileFind::FindFile(pattern, flags)) return TRUE;
    if (!m_recursive) return FALSE;
    return SearchNextFolders();
}

BOOL CFileFindEx::SearchNextFolders() {
    CString folder;
    while (AdvanceFolder(folder)) {
        if (ContinueWith(folder + m_namePattern)) return TRUE;
    }
    return FALSE;
}

bool CFileFindEx::AdvanceFolder(CString& folder) {
    if (m_scanners.empty()) {
        auto root = std::make_unique<CKWFolderScanner>();
        root->Start(m_rootFolder);
        m_scanners.push_back(std::move(root));
    }
    while (!m_scanners.empty()) {
        CKWFolderScanner& top = *m_scanners.back();
        if (top.FindNext()) {
            folder = top.GetFolder() + top.GetFilePath() + L"\\";
            auto next = std::make_unique<CKWFolderScanner>();
            next->Start(folder);
            m_scanners.push_back(std::move(next));
            return true;
        }
        m_scanners.pop_back();
    }
    return false;
}

BOOL CFileFindEx::FindNextFile() {
    if (CFileFind::FindNextFile()) return TRUE;
    if (!m_recursive) return FALSE;
    // The entry stepped to is its folder's last: more follow when a later
    // folder holds a match, which the next call steps into.
    return SearchNextFolders();
}
