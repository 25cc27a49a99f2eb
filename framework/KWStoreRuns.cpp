// The folders of the picture store (CKWRasterLib): every running copy of the
// program keeps its files in a folder of its own inside the shared folder
// "ImagesCache", so that no copy deletes a file another still shows, and the
// folder of a copy that ended without clearing it goes at a later start.
#include "framework/KWRasterLib.h"

#include "framework/KWFileHelpers.h"
#include "framework/KWFolderScanner.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Held open without sharing by the copy that runs in the folder: while it
// runs nobody else may delete it; when it ends, however, the system closes
// it and it deletes itself.
const wchar_t kRunLockName[] = L"run.lock";
constexpr int kRunFolderAttempts = 64;
// The program's own clipboard formats, whose records it puts whole, carry
// this in their names: no other program is asked to render its data.
const wchar_t kOwnFormatMark[] = L"Tallier";
const wchar_t kSharedFolderName[] = L"ImagesCache";

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

std::wstring Lower(std::wstring text)
{
    if (!text.empty())
        ::CharLowerBuffW(&text[0], DWORD(text.size()));
    return text;
}

// The path as the system spells the file: full, with long names, on the
// drive it lies on (under Wine the Z: form of a path in a drive's folder is
// that drive's), in the disk's letter case. A file that does not exist takes
// its folder's spelling and keeps its name.
std::wstring SystemSpelling(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH * 2];
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH * 2)
        return path;
    const std::wstring full(buffer, length);
    HANDLE file = ::CreateFileW(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const DWORD final = ::GetFinalPathNameByHandleW(file, buffer, MAX_PATH * 2, FILE_NAME_NORMALIZED);
        ::CloseHandle(file);
        if (final > 0 && final < MAX_PATH * 2) {
            std::wstring spelled(buffer, final);
            if (spelled.compare(0, 8, L"\\\\?\\UNC\\") == 0)
                return L"\\" + spelled.substr(7);
            return spelled.compare(0, 4, L"\\\\?\\") == 0 ? spelled.substr(4) : spelled;
        }
    }
    const size_t slash = full.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == full.size() || slash < 3)
        return full;
    return SystemSpelling(full.substr(0, slash)) + full.substr(slash);
}

// Which of the files the clipboard's data names: a record of pictures copied
// in a copy that has ended still names that copy's store files, which stay
// while it does. The records are under the program's own formats and carry
// paths as UTF-16 text, at either byte alignment. Every file counts as named
// while the clipboard cannot be read: it is asked again at a later start.
std::vector<bool> NamedOnClipboard(const std::vector<std::wstring>& files)
{
    std::vector<bool> named(files.size(), false);
    if (files.empty())
        return named;
    if (!::OpenClipboard(nullptr)) {
        named.assign(files.size(), true);
        return named;
    }
    std::vector<std::wstring> wanted;
    for (const std::wstring& file : files)
        wanted.push_back(Lower(file));
    for (UINT format = ::EnumClipboardFormats(0); format; format = ::EnumClipboardFormats(format)) {
        wchar_t name[64] = {};
        if (!::GetClipboardFormatNameW(format, name, 64) || !std::wcsstr(name, kOwnFormatMark))
            continue;
        HANDLE data = ::GetClipboardData(format);
        const SIZE_T size = data ? ::GlobalSize(data) : 0;
        const char* bytes = size >= sizeof(wchar_t) ? static_cast<const char*>(::GlobalLock(data)) : nullptr;
        if (!bytes)
            continue;
        for (size_t offset = 0; offset < sizeof(wchar_t); ++offset) {
            std::wstring text((size - offset) / sizeof(wchar_t), L'\0');
            std::memcpy(&text[0], bytes + offset, text.size() * sizeof(wchar_t));
            text = Lower(text);
            for (size_t i = 0; i < files.size(); ++i)
                named[i] = named[i] || text.find(wanted[i]) != std::wstring::npos;
        }
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return named;
}

// Deletes the files of the folder that the clipboard does not name; true
// when none is left.
bool DeleteUnnamedFiles(const std::wstring& folder)
{
    const std::vector<std::wstring> files = FilesIn(folder);
    const std::vector<bool> named = NamedOnClipboard(files);
    bool emptied = true;
    for (size_t i = 0; i < files.size(); ++i) {
        if (named[i])
            emptied = false;
        else
            ::DeleteFileW(files[i].c_str());
    }
    return emptied;
}

}  // namespace

void CKWRasterLib::MakeStoreFolder()
{
    // The local application data first; where that cannot be made or
    // written, the user's temporary folder.
    for (const CString& place : {GetAppDataFolder(), GetTempFolder()}) {
        if (place.IsEmpty())
            continue;
        const std::wstring root = std::wstring(place) + kSharedFolderName + L'\\';
        const std::wstring spelling = Lower(SystemSpelling(root.substr(0, root.size() - 1))) + L'\\';
        if (std::find(m_sharedFolderSpellings.begin(), m_sharedFolderSpellings.end(), spelling) !=
            m_sharedFolderSpellings.end())
            continue;
        m_sharedFolders.push_back(root);
        m_sharedFolderSpellings.push_back(spelling);
    }
    RemoveEndedRuns();
    // The failure told is the first place's: the one the store belongs in.
    CString failedFolder;
    DWORD error = 0;
    for (const std::wstring& root : m_sharedFolders) {
        if (MakeRunFolder(CString(root.c_str())))
            return;
        if (failedFolder.IsEmpty()) {
            failedFolder = m_storeFailedFolder;
            error = m_storeError;
        }
    }
    m_storeFailedFolder = failedFolder;
    m_storeError = error;
}

CString CKWRasterLib::ReplaceStoreFolder(const CString& folder)
{
    const CString previous = m_storeFolder;
    m_storeFolder = folder;
    return previous;
}

bool CKWRasterLib::MakeRunFolder(const CString& root)
{
    const CString shared = root.Left(root.GetLength() - 1);
    DWORD error = ::CreateDirectoryW(shared, nullptr) ? 0 : ::GetLastError();
    if (!KWIsFolder(shared)) {
        // A file of that name stands where the shared folder should be.
        m_storeFailedFolder = shared;
        m_storeError = error ? error : ERROR_ALREADY_EXISTS;
        return false;
    }
    const DWORD process = ::GetCurrentProcessId();
    for (int attempt = 0; attempt < kRunFolderAttempts; ++attempt) {
        wchar_t name[64];
        std::swprintf(name, 64, L"%ls%lu_%d", kRunFolderPrefix, static_cast<unsigned long>(process), attempt);
        const std::wstring folder = std::wstring(root) + name;
        m_storeFailedFolder = folder.c_str();
        // A folder of a copy that had the same process number, or one that
        // cannot be written.
        if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
            m_storeError = ::GetLastError();
            continue;
        }
        // Another copy starting at this moment may have taken the folder for
        // an ended one before the lock was there: then the next name serves.
        HANDLE lock = ::CreateFileW((folder + L"\\" + kRunLockName).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (lock == INVALID_HANDLE_VALUE) {
            m_storeError = ::GetLastError();
            ::RemoveDirectoryW(folder.c_str());
            continue;
        }
        m_runLock = lock;
        m_storeRoot = root;
        m_storeFolder = CString(folder.c_str()) + L'\\';
        m_storeFailedFolder.Empty();
        m_storeError = 0;
        return true;
    }
    return false;
}

bool CKWRasterLib::RemakeRunFolder()
{
    const std::wstring folder(m_storeFolder);
    if (folder.empty() || m_storeRoot.IsEmpty())
        return false;
    ::CreateDirectoryW(m_storeRoot.Left(m_storeRoot.GetLength() - 1), nullptr);
    ::CreateDirectoryW(folder.substr(0, folder.size() - 1).c_str(), nullptr);
    if (!KWIsFolder(CString(folder.substr(0, folder.size() - 1).c_str())))
        return false;
    // Where the lock went with the folder, a new one keeps other copies from
    // taking the folder for an ended run's. Two threads may come at once;
    // the second finds the lock made.
    std::lock_guard<std::mutex> lock(m_storeLock);
    BY_HANDLE_FILE_INFORMATION held = {};
    if (m_runLock != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(m_runLock, &held) && held.nNumberOfLinks > 0)
        return true;
    HANDLE made = ::CreateFileW((folder + kRunLockName).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (made != INVALID_HANDLE_VALUE) {
        if (m_runLock != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_runLock);
        m_runLock = made;
    }
    return true;
}

size_t CKWRasterLib::RemoveEndedRuns()
{
    std::vector<std::wstring> folders;
    for (const std::wstring& root : m_sharedFolders) {
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((root + kRunFolderPrefix + L"*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
            if (IsDirectory(found))
                folders.push_back(root + found.cFileName + L"\\");
        }
        if (search != INVALID_HANDLE_VALUE)
            ::FindClose(search);
    }
    size_t removed = 0;
    for (const std::wstring& folder : folders) {
        if (folder == std::wstring(m_storeFolder) || !RunHasEnded(folder))
            continue;
        if (DeleteUnnamedFiles(folder) && ::RemoveDirectoryW(folder.substr(0, folder.size() - 1).c_str()))
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
    // What the clipboard still names stays for a paste in another copy, as a
    // program renders its clipboard at its end.
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        m_pendingDeletes.clear();
    }
    const std::wstring folder(m_storeFolder);
    DeleteUnnamedFiles(folder);
    if (m_runLock != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_runLock);
    m_runLock = INVALID_HANDLE_VALUE;
    ::RemoveDirectoryW(folder.substr(0, folder.size() - 1).c_str());
}

bool CKWRasterLib::IsOtherStoreFile(const wchar_t* path) const
{
    if (!path || !*path || IsStoreFile(path))
        return false;
    // Every file a store makes carries a name of the store's form: no other
    // file is looked at on the disk.
    const wchar_t* name = path + std::wcslen(path);
    while (name != path && name[-1] != L'\\' && name[-1] != L'/')
        --name;
    if (!IsStoreFileName(name))
        return false;
    const std::wstring spelled = Lower(SystemSpelling(path));
    for (const std::wstring& root : m_sharedFolderSpellings) {
        if (spelled.size() <= root.size() || spelled.compare(0, root.size(), root) != 0)
            continue;
        // Directly in the shared folder, or directly in a run's folder inside it.
        const std::wstring rest = spelled.substr(root.size());
        const size_t separator = rest.find(L'\\');
        if (separator == std::wstring::npos)
            return true;
        if (separator > 0 && rest.find(L'\\', separator + 1) == std::wstring::npos &&
            rest.compare(0, std::wcslen(kRunFolderPrefix), kRunFolderPrefix) == 0)
            return true;
    }
    return false;
}
