// The folders of the picture store (CKWRasterLib): every running copy of the
// program keeps its files in a folder of its own inside the shared folder
// "ImagesCache", so that no copy deletes a file another still shows, and the
// folder of a copy that ended without clearing it goes at a later start.
#include "framework/KWRasterLib.h"

#include "framework/KWFolderScanner.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

// Held open without sharing by the copy that runs in the folder: while it
// runs nobody else may delete it; when it ends, however, the system closes
// it and it deletes itself.
const wchar_t kRunLockName[] = L"run.lock";
constexpr int kRunFolderAttempts = 64;

bool IsDirectory(const WIN32_FIND_DATAW& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The files directly inside the folder (with its final backslash), without the lock.
std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (!IsDirectory(found) && std::wcscmp(found.cFileName, kRunLockName) != 0)
            files.push_back(folder + found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return files;
}

// True when no running copy holds the folder's lock: the lock is gone, or
// could be deleted.
bool RunHasEnded(const std::wstring& folder)
{
    const std::wstring lock = folder + kRunLockName;
    if (::DeleteFileW(lock.c_str()))
        return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

void CKWRasterLib::MakeStoreFolder()
{
    CString root = GetAppDataFolder();
    if (root.IsEmpty())
        return;  // no folder to keep pictures in: saves and adds answer 0
    root += L"ImagesCache";
    ::CreateDirectoryW(root, nullptr);
    root += L'\\';
    m_storeRoot = root;
    RemoveEndedRuns();
    const DWORD process = ::GetCurrentProcessId();
    for (int attempt = 0; attempt < kRunFolderAttempts; ++attempt) {
        wchar_t name[64];
        std::swprintf(name, 64, L"%ls%lu_%d", kRunFolderPrefix, static_cast<unsigned long>(process), attempt);
        const std::wstring folder = std::wstring(root) + name;
        if (!::CreateDirectoryW(folder.c_str(), nullptr))
            continue;  // a folder of a copy that had the same process number
        // Another copy starting at this moment may have taken the folder for
        // an ended one before the lock was there: then the next name serves.
        HANDLE lock = ::CreateFileW((folder + L"\\" + kRunLockName).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (lock == INVALID_HANDLE_VALUE) {
            ::RemoveDirectoryW(folder.c_str());
            continue;
        }
        m_runLock = lock;
        m_storeFolder = CString(folder.c_str()) + L'\\';
        return;
    }
}

size_t CKWRasterLib::RemoveEndedRuns()
{
    if (m_storeRoot.IsEmpty())
        return 0;
    const std::wstring root(m_storeRoot);
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((root + kRunFolderPrefix + L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (IsDirectory(found))
            folders.push_back(root + found.cFileName + L"\\");
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    size_t removed = 0;
    for (const std::wstring& folder : folders) {
        if (folder == std::wstring(m_storeFolder) || !RunHasEnded(folder))
            continue;
        for (const std::wstring& file : FilesIn(folder))
            ::DeleteFileW(file.c_str());
        if (::RemoveDirectoryW(folder.substr(0, folder.size() - 1).c_str()))
            ++removed;
    }
    return removed;
}

void CKWRasterLib::EndRun()
{
    if (m_storeFolder.IsEmpty())
        return;
    // Everything in the folder is this copy's: the files it made, also those
    // no picture names any more and those a reader kept from being deleted.
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        m_pendingDeletes.clear();
    }
    const std::wstring folder(m_storeFolder);
    for (const std::wstring& file : FilesIn(folder))
        ::DeleteFileW(file.c_str());
    if (m_runLock != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_runLock);
    m_runLock = INVALID_HANDLE_VALUE;
    ::RemoveDirectoryW(folder.substr(0, folder.size() - 1).c_str());
}

bool CKWRasterLib::IsOtherStoreFile(const wchar_t* path) const
{
    const size_t root = size_t(m_storeRoot.GetLength());
    const size_t length = path ? std::wcslen(path) : 0;
    if (root == 0 || length <= root || std::wcsncmp(path, m_storeRoot, root) != 0 || IsStoreFile(path))
        return false;
    // Directly in the shared folder, or directly in a run's folder inside it.
    const wchar_t* rest = path + root;
    const wchar_t* separator = std::wcspbrk(rest, L"\\/");
    if (!separator)
        return true;
    return separator != rest && std::wcspbrk(separator + 1, L"\\/") == nullptr && separator[1] != 0 &&
           std::wcsncmp(rest, kRunFolderPrefix, std::wcslen(kRunFolderPrefix)) == 0 &&
           std::wcsstr(rest, L"..") == nullptr;
}
