#include "files/TalPictureRelocation.h"

#include "files/XmlPreprocessFile.h"
#include "framework/KWPathUtils.h"
#include "framework/KWRasterLib.h"
#include "framework/KWWriteFailureReason.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

bool IsFile(const wchar_t* path)
{
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const wchar_t* path)
{
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString Lowered(const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    return lower;
}

int64_t FileSize(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

CTalPictureRelocation::CTalPictureRelocation(int32_t mode, const CString& folder, bool copy, Copier copier)
    : m_mode(mode), m_folder(folder), m_copy(copy), m_copier(copier ? std::move(copier) : Copier(&CopyNewFile))
{
}

DWORD CTalPictureRelocation::CopyNewFile(const CString& source, const CString& target)
{
    HANDLE from = OpenToRead(source);
    if (from == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    HANDLE to = ::CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = to == INVALID_HANDLE_VALUE ? ::GetLastError() : 0;
    std::vector<char> buffer(error == 0 ? 1 << 20 : 0);
    while (error == 0) {
        DWORD read = 0, written = 0;
        if (!::ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            error = ::GetLastError();
        else if (read == 0)
            break;
        else if (!::WriteFile(to, buffer.data(), read, &written, nullptr))
            error = ::GetLastError();
        else if (written != read)
            error = ERROR_HANDLE_DISK_FULL;
    }
    // The copy keeps the picture's time of last change, as a copy by the
    // system does: it is when the photograph was taken or edited.
    FILETIME changed = {};
    if (error == 0 && ::GetFileTime(from, nullptr, nullptr, &changed))
        ::SetFileTime(to, nullptr, nullptr, &changed);
    if (to != INVALID_HANDLE_VALUE && !::CloseHandle(to) && error == 0)
        error = ::GetLastError();
    ::CloseHandle(from);
    return error;
}

void CTalPictureRelocation::Fail(const CString& path, DWORD error)
{
    if (!m_failed) {
        m_failedPath = path;
        m_failedReason = KWWriteFailureReason(path, error, KWWriteStep::Target);
    }
    m_failed = true;
}

CTalPictureRelocation::~CTalPictureRelocation() = default;

CString CTalPictureRelocation::GetPictureFolder(const wchar_t* documentPath)
{
    CString path = documentPath ? documentPath : L"";
    const int separator = FindLastPathSeparator(path, -1);
    const int dot = path.ReverseFind(L'.');
    // A dot in a folder name is no extension.
    if (dot > separator)
        path = path.Left(dot);
    return path + L" Images\\";
}

bool CTalPictureRelocation::IsStoreFile(const CString& path)
{
    return g_rasterLib.IsStoreFile(path);
}

bool CTalPictureRelocation::SameContent(const CString& a, const CString& b)
{
    const int64_t size = FileSize(a);
    if (size < 0 || size != FileSize(b))
        return false;
    HANDLE first = ::CreateFileW(a, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE second = ::CreateFileW(b, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    bool same = first != INVALID_HANDLE_VALUE && second != INVALID_HANDLE_VALUE;
    std::vector<char> bufferA(65536), bufferB(65536);
    for (int64_t left = size; same && left > 0;) {
        const DWORD piece = static_cast<DWORD>(left < 65536 ? left : 65536);
        DWORD readA = 0, readB = 0;
        same = ::ReadFile(first, bufferA.data(), piece, &readA, nullptr) &&
               ::ReadFile(second, bufferB.data(), piece, &readB, nullptr) && readA == piece && readB == piece &&
               std::memcmp(bufferA.data(), bufferB.data(), piece) == 0;
        left -= piece;
    }
    if (first != INVALID_HANDLE_VALUE)
        ::CloseHandle(first);
    if (second != INVALID_HANDLE_VALUE)
        ::CloseHandle(second);
    return same;
}

HANDLE CTalPictureRelocation::OpenToRead(const CString& path)
{
    return ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

DWORD CTalPictureRelocation::ReadError(const CString& path)
{
    HANDLE file = OpenToRead(path);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_FILE_NOT_FOUND;
    }
    ::CloseHandle(file);
    return 0;
}

bool CTalPictureRelocation::EnsureFolder()
{
    if (m_folder.IsEmpty())
        return false;
    CString folder = m_folder.Left(m_folder.GetLength() - 1);
    if (IsFolder(folder))
        return true;
    if (!::CreateDirectoryW(folder, nullptr)) {
        Fail(folder, ::GetLastError());
        return false;
    }
    m_folderCreated = true;
    return true;
}

int32_t CTalPictureRelocation::Place(uint32_t pictureId)
{
    auto known = m_keys.find(pictureId);
    if (known != m_keys.end())
        return known->second;
    Entry entry;
    entry.placedId = entry.sourceId = pictureId;
    entry.sourcePath = g_rasterLib.GetImagePath(pictureId);
    entry.finalPath = entry.sourcePath;
    entry.missing = entry.sourcePath.IsEmpty() || !IsFile(entry.sourcePath);
    entry.empty = !entry.missing && FileSize(entry.sourcePath) == 0;
    if (entry.sourcePath.IsEmpty() && pictureId != 0) {
        // What names it to the user is its link unless a report embedded it.
        bool embedded = false;
        const CString source = g_rasterLib.GetPictureSource(pictureId, &embedded);
        DWORD unkeptError = 0;
        if (!embedded && !g_rasterLib.GetUnkeptError(pictureId, unkeptError))
            entry.linkName = source;
    }
    if (!m_failed && !entry.sourcePath.IsEmpty() && NeedsBytes(entry))
        MakeReadable(entry);
    // After a failure the save is lost: nothing more is written.
    if (!entry.missing && !m_failed && entry.unreadError == 0) {
        if (m_mode == 0)
            PlaceInStore(entry);
        // The placeholder an earlier save put in an empty file's place.
        if (m_mode == 0 && !entry.empty)
            entry.emptyName = g_rasterLib.GetEmptySourceName(pictureId);
        else if (m_mode == 1 && IsStoreFile(entry.sourcePath))
            PlaceInFolder(entry, !m_copy);
        else if (m_mode == 2)
            PlaceInFolder(entry, false);
    }
    m_entries.push_back(entry);
    const int32_t key = static_cast<int32_t>(m_entries.size());
    m_keys[pictureId] = key;
    return key;
}

bool CTalPictureRelocation::NeedsBytes(const Entry& entry) const
{
    switch (m_mode) {
    case 0:
        return true;
    case 1:
        return IsStoreFile(entry.sourcePath);
    case 2:
        return !InFolder(entry.sourcePath);
    default:
        return false;
    }
}

bool CTalPictureRelocation::InFolder(const CString& path) const
{
    return Lowered(GetPathDirectory(path) + L"\\") == Lowered(m_folder);
}

void CTalPictureRelocation::MakeReadable(Entry& entry)
{
    const DWORD error = entry.missing ? DWORD(ERROR_FILE_NOT_FOUND) : ReadError(entry.sourcePath);
    if (error == 0)
        return;
    // A file missing when its report named it is the placeholder it showed
    // from the start: there are no bytes of it to lose.
    if (entry.missing && !IsStoreFile(entry.sourcePath) && g_rasterLib.WasMissingFromStart(entry.sourceId))
        return;
    CKWPictureHold hold;
    const uint32_t restored = CXmlPreprocessFile::RestorePicture(entry.sourceId, hold);
    if (restored == 0) {
        entry.unreadError = error;
        return;
    }
    m_restored.push_back(std::move(hold));
    entry.sourceId = restored;
    entry.sourcePath = entry.finalPath = g_rasterLib.GetImagePath(restored);
    entry.missing = false;
    entry.empty = FileSize(entry.sourcePath) == 0;
}

void CTalPictureRelocation::NoteUnread(int32_t key, DWORD error)
{
    if (key >= 1 && static_cast<size_t>(key) <= m_entries.size())
        m_entries[static_cast<size_t>(key - 1)].unreadError = error != 0 ? error : ERROR_READ_FAULT;
}

void CTalPictureRelocation::PlaceInStore(Entry& entry)
{
    // An empty file would embed nothing and come back as no picture at all:
    // the placeholder it shows goes in its place.
    if (entry.empty) {
        KWRasterImagePtr placeholder(g_rasterLib.RasterCopyPlaceholder());
        const uint32_t id = placeholder ? g_rasterLib.SaveImage(placeholder.get(), 0, 0) : 0;
        if (id != 0) {
            entry.finalPath = g_rasterLib.GetImagePath(id);
            entry.createdCopy = true;
            entry.emptyName = GetPathFileName(entry.sourcePath, true);
        }
        return;
    }
    if (IsStoreFile(entry.sourcePath))
        return;
    // Without a copy (no store folder) the picture is embedded from its own file.
    CString copy = g_rasterLib.CopyImageFileIntoStore(entry.sourceId);
    if (!copy.IsEmpty() && copy != entry.sourcePath) {
        entry.finalPath = copy;
        entry.createdCopy = true;
    }
}

CString CTalPictureRelocation::ChooseTarget(const CString& source, bool& reuse)
{
    reuse = false;
    const CString name = GetPathFileName(source, true);
    const int dot = name.ReverseFind(L'.');
    const CString title = dot > 0 ? name.Left(dot) : name;
    const CString extension = dot > 0 ? name.Mid(dot) : CString();
    for (int attempt = 1;; ++attempt) {
        CString target = m_folder + name;
        if (attempt > 1)
            target.Format(L"%ls%ls (%d)%ls", m_folder.GetString(), title.GetString(), attempt, extension.GetString());
        if (m_targets.count(Lowered(target)))
            continue;
        if (!IsFile(target))
            return target;
        // A file already there is one the old document may refer to: it is
        // used only when it is this very picture, and never overwritten.
        if (SameContent(source, target)) {
            reuse = true;
            return target;
        }
    }
}

void CTalPictureRelocation::PlaceInFolder(Entry& entry, bool move)
{
    // Already in the folder: nothing to do.
    if (InFolder(entry.sourcePath)) {
        m_targets.insert(Lowered(entry.sourcePath));
        return;
    }
    if (!EnsureFolder()) {
        Fail(m_folder, ERROR_PATH_NOT_FOUND);
        return;
    }
    bool reuse = false;
    CString target = ChooseTarget(entry.sourcePath, reuse);
    if (!reuse) {
        if (const DWORD error = m_copier(entry.sourcePath, target)) {
            // The target was free: what a failed copy left there (a part of
            // the file, or an empty one on a full disk) is this save's.
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                ::DeleteFileW(target);
            // The picture's own file gone or taken since its check is the
            // picture's failure, named as such, not the folder's.
            entry.unreadError = ReadError(entry.sourcePath);
            if (entry.unreadError == 0)
                Fail(target, error);
            return;
        }
        entry.createdCopy = true;
    }
    m_targets.insert(Lowered(target));
    entry.finalPath = target;
    entry.moveSource = move;
}

void CTalPictureRelocation::Commit()
{
    m_newIds.clear();
    for (Entry& entry : m_entries) {
        if (m_copy) {
            // Only the copy's file needed what the store made for it.
            if (entry.createdCopy && IsStoreFile(entry.finalPath))
                ::DeleteFileW(entry.finalPath);
            m_newIds.push_back(entry.sourceId);
            continue;
        }
        // A moved picture's store file goes once nothing holds it any more:
        // an undo step, the clipboard or another report may still show it.
        if (entry.moveSource)
            g_rasterLib.DiscardStoreFile(entry.sourceId);
        m_newIds.push_back(entry.finalPath == entry.sourcePath ? entry.sourceId
                                                                : g_rasterLib.GetPictureId(entry.finalPath));
        // The copy is still the user's picture to a warning that names it.
        bool embedded = false;
        const CString source = g_rasterLib.GetPictureSource(entry.sourceId, &embedded);
        if (m_newIds.back() != entry.sourceId && source != entry.finalPath)
            g_rasterLib.SetPictureSource(m_newIds.back(), source, embedded);
        if (!entry.emptyName.IsEmpty())
            g_rasterLib.SetEmptySourceName(m_newIds.back(), entry.emptyName);
    }
}

uint32_t CTalPictureRelocation::GetNewId(int32_t key) const
{
    if (key < 1 || static_cast<size_t>(key) > m_newIds.size())
        return 0;
    return m_newIds[static_cast<size_t>(key - 1)];
}

void CTalPictureRelocation::Rollback()
{
    for (Entry& entry : m_entries) {
        if (entry.createdCopy)
            ::DeleteFileW(entry.finalPath);
        entry.createdCopy = false;
        entry.moveSource = false;
        entry.finalPath = entry.sourcePath;
    }
    // The pictures taken anew go with their last hold.
    m_restored.clear();
    if (m_folderCreated)
        ::RemoveDirectoryW(m_folder.Left(m_folder.GetLength() - 1));
    m_folderCreated = false;
}
