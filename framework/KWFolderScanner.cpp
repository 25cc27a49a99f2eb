#include "framework/KWFolderScanner.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>

namespace {

// CSIDL_LOCAL_APPDATA with CSIDL_FLAG_CREATE.
constexpr int kLocalAppDataCreate = 0x801C;

bool IsDotsEntry(const wchar_t* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

CString WithBackslash(CString folder)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    return folder;
}

}  // namespace

CKWFolderScanner::CKWFolderScanner() : m_handle(-1), m_entry() {}

CKWFolderScanner::~CKWFolderScanner()
{
    Close();
}

void CKWFolderScanner::Close()
{
    if (m_handle != -1)
        ::_findclose(m_handle);
    m_handle = -1;
}

void CKWFolderScanner::Start(const wchar_t* folder)
{
    // A scanner may be restarted; the old search must not leak.
    Close();
    m_folder = folder ? folder : L"";
    if (!m_folder.IsEmpty() && m_folder[m_folder.GetLength() - 1] != L'\\')
        m_folder += L'\\';
}

bool CKWFolderScanner::FindNext()
{
    bool found;
    if (m_handle == -1) {
        CString pattern = m_folder + L"*.*";
        m_handle = ::_wfindfirst(pattern, &m_entry);
        if (m_handle == -1)
            return false;
        found = true;
    } else {
        found = ::_wfindnext(m_handle, &m_entry) == 0;
    }
    for (; found; found = ::_wfindnext(m_handle, &m_entry) == 0) {
        if ((m_entry.attrib & _A_SUBDIR) && !IsDotsEntry(m_entry.name))
            return true;
    }
    return false;
}

namespace {

void WalkLevel(const CString& folder, int depth,
               const std::function<void(const CString& path, const CString& name, int depth)>& visit)
{
    if (depth > kMaxScanDepth)
        return;
    CKWFolderScanner scanner;
    scanner.Start(folder);
    while (scanner.FindNext()) {
        const CString name = scanner.GetFilePath();
        const CString path = scanner.GetFolder() + name;
        // A junction or symbolic link may lead back up the tree.
        const DWORD attributes = ::GetFileAttributesW(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        visit(path + L"\\", name, depth);
        WalkLevel(path, depth + 1, visit);
    }
}

}  // namespace

void KWWalkSubfolders(const wchar_t* folder,
                      const std::function<void(const CString& path, const CString& name, int depth)>& visit)
{
    if (folder && *folder)
        WalkLevel(folder, 1, visit);
}

CString GetAppDataFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, kLocalAppDataCreate, nullptr, 0, path)))
        return WithBackslash(path);
    return GetTempFolder();
}

CString GetTempFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TEMP", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? WithBackslash(path) : CString();
}
