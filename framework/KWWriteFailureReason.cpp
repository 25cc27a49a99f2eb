#include "framework/KWWriteFailureReason.h"

#include "framework/KWFileHelpers.h"
#include "framework/KWPathUtils.h"

namespace {

// Below this many free bytes a disk on which a write fell short is full.
constexpr ULONGLONG kFullDiskSlack = 1024 * 1024;

CString Formatted(const wchar_t* format, const wchar_t* name)
{
    CString text;
    text.Format(format, name);
    return text;
}

DWORD Attributes(const wchar_t* path)
{
    return path && *path ? ::GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The nearest folder of the path's ancestry that stands as a file; empty when
// none does.
CString FileInPlaceOfFolder(const CString& folder)
{
    for (CString part = folder; !part.IsEmpty(); part = GetPathDirectory(part)) {
        const DWORD attributes = Attributes(part);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return IsFolder(attributes) ? CString() : part;
    }
    return CString();
}

// Another program holds the file open without letting it be replaced.
bool HeldByAnotherProgram(const wchar_t* path)
{
    HANDLE file = ::CreateFileW(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

bool NearlyFull(const wchar_t* folder)
{
    ULARGE_INTEGER free = {};
    return ::GetDiskFreeSpaceExW(folder, &free, nullptr, nullptr) && free.QuadPart < kFullDiskSlack;
}

// The error of writing a new file into the folder; 0 when it can be written.
DWORD ProbeFolder(const wchar_t* folder)
{
    // A separator after it: "C:" alone would name the drive's current folder.
    const CString probe = KWCreateTemporaryFile(CString(folder) + L'\\');
    if (probe.IsEmpty())
        return ::GetLastError();
    ::DeleteFileW(probe);
    return 0;
}

// The volume's own word that it takes no writing; Wine gives none.
bool ReadOnlyVolume(const wchar_t* folder)
{
    HANDLE handle = ::CreateFileW(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD flags = 0;
    const BOOL known = ::GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0);
    ::CloseHandle(handle);
    return known && (flags & FILE_READ_ONLY_VOLUME);
}

}  // namespace

CString KWSystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    CString result;
    if (length > 0 && text) {
        result = text;
        result.TrimRight();
    }
    if (text)
        ::LocalFree(text);
    if (result.IsEmpty())
        result.Format(L"Windows error %lu.", static_cast<unsigned long>(error));
    return result;
}

CString KWWriteFailureReason(const wchar_t* path, DWORD error, KWWriteStep step)
{
    switch (error) {
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return L"There is not enough memory.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return L"The disk is full.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return L"The file is open in another program.";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return L"The name is not a valid file name.";
    default:
        break;
    }
    const CString target = path ? path : L"";
    CString folder = GetPathDirectory(target);
    if (folder.IsEmpty())
        folder = L".";
    if (!IsFolder(Attributes(folder))) {
        const CString file = FileInPlaceOfFolder(folder);
        if (!file.IsEmpty())
            return Formatted(L"\"%ls\" is a file, not a folder: nothing can be written inside it.", file);
        return Formatted(L"The folder \"%ls\" does not exist.", folder);
    }
    // A temporary file or the memory that failed says nothing of the target.
    const DWORD attributes = step == KWWriteStep::Target ? Attributes(target) : INVALID_FILE_ATTRIBUTES;
    if (IsFolder(attributes))
        return L"A folder of this name stands where the file goes.";
    if (attributes != INVALID_FILE_ATTRIBUTES && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS))
        return L"A file of this name is in the way: the folder cannot be made.";
    if (attributes != INVALID_FILE_ATTRIBUTES && HeldByAnotherProgram(target))
        return L"The file is open in another program.";
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return L"The file is read-only.";
    // A write cut short names no error: a disk with no room left is full.
    if (error == 0 && NearlyFull(folder))
        return L"The disk is full.";
    const DWORD probe = ProbeFolder(folder);
    if (probe == ERROR_DISK_FULL || probe == ERROR_HANDLE_DISK_FULL)
        return L"The disk is full.";
    if (probe != 0 || error == ERROR_WRITE_PROTECT) {
        if (probe == ERROR_WRITE_PROTECT || error == ERROR_WRITE_PROTECT || ReadOnlyVolume(folder))
            return Formatted(L"The disk of the folder \"%ls\" is read-only.", folder);
        if (Attributes(folder) & FILE_ATTRIBUTE_READONLY)
            return Formatted(L"The folder \"%ls\" is read-only.", folder);
        // Wine answers a read-only disk as it answers a folder closed to
        // the user, and tells no volume flag.
        return Formatted(L"Nothing can be written in the folder \"%ls\": its disk is read-only or it is closed "
                         L"to you.",
                         folder);
    }
    if (error == 0)
        return L"It could not be written in full.";
    return KWSystemErrorText(error);
}

CString KWReadFailureReason(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return L"it no longer exists.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return L"it is open in another program.";
    default:
        return KWSystemErrorText(error);
    }
}
