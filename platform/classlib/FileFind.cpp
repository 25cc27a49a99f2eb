#include "platform/classlib/FileFind.h"

#include <cwchar>

CFileFind::CFileFind() : m_find(INVALID_HANDLE_VALUE), m_hasNext(false), m_hasFound(false), m_next(), m_found() {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close() {
    if (m_find != INVALID_HANDLE_VALUE) ::FindClose(m_find);
    m_find = INVALID_HANDLE_VALUE;
    m_hasNext = m_hasFound = false;
}

BOOL CFileFind::FindFile(LPCWSTR pattern, DWORD) {
    Close();
    return ContinueWith(pattern);
}

BOOL CFileFind::ContinueWith(LPCWSTR pattern) {
    if (m_find != INVALID_HANDLE_VALUE) ::FindClose(m_find);
    m_find = INVALID_HANDLE_VALUE;
    m_hasNext = false;
    CString search(pattern && *pattern ? pattern : L"*.*");
    int cut = -1;
    for (int i = 0; i < search.GetLength(); ++i)
        if (search[i] == L'\\' || search[i] == L'/' || search[i] == L':') cut = i;
    m_root = search.Left(cut + 1);
    m_find = ::FindFirstFileW(search, &m_next);
    if (m_find == INVALID_HANDLE_VALUE) return FALSE;
    m_hasNext = true;
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_hasNext) return FALSE;
    m_found = m_next;
    m_foundRoot = m_root;
    m_hasFound = true;
    m_hasNext = ::FindNextFileW(m_find, &m_next) != FALSE;
    return m_hasNext ? TRUE : FALSE;
}

CString CFileFind::GetFileName() const { return m_hasFound ? CString(m_found.cFileName) : CString(); }

CString CFileFind::GetFilePath() const { return m_hasFound ? m_foundRoot + m_found.cFileName : CString(); }

ULONGLONG CFileFind::GetLength() const {
    return m_hasFound ? (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow : 0;
}

BOOL CFileFind::IsDots() const {
    if (!m_hasFound || !IsDirectory()) return FALSE;
    const wchar_t* n = m_found.cFileName;
    return (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))) ? TRUE : FALSE;
}

BOOL CFileFind::MatchesMask(DWORD mask) const {
    return m_hasFound && (m_found.dwFileAttributes & mask) != 0 ? TRUE : FALSE;
}
