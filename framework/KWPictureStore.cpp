// The picture store of CKWRasterLib: picture ids for image files, the files of
// pictures that exist only in memory, and the copies made when documents are
// saved and loaded.
#include "framework/KWRasterLib.h"

#include "framework/KWCodePage.h"
#include "framework/KWPathUtils.h"
#include "framework/RasterExportRequest.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <atomic>
#include <cwctype>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr int kNameAttempts = 8196;
constexpr int kJpegFormat = 1;
constexpr size_t kMaxExtensionLength = 16;

// The text after the last '.' of the last path component; empty when there is none.
std::wstring ExtensionOf(const std::wstring& path)
{
    size_t dot = path.rfind(L'.');
    size_t slash = path.find_last_of(L"\\/:");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash))
        return std::wstring();
    return path.substr(dot + 1);
}

// Extensions come from document files; one that names a folder or a device
// would put the file outside the store.
bool IsSafeExtension(const char* extension)
{
    for (const char* c = extension; *c; ++c) {
        if (static_cast<unsigned char>(*c) < 32 || std::strchr("\\/:*?\"<>|", *c))
            return false;
    }
    return std::strlen(extension) <= kMaxExtensionLength;
}

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// File names compare without regard to letter case on Windows.
std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

bool CKWRasterLib::IsStoreFile(const wchar_t* path) const
{
    const size_t folder = size_t(m_storeFolder.GetLength());
    const size_t length = path ? std::wcslen(path) : 0;
    if (folder == 0 || length <= folder || std::wcsncmp(path, m_storeFolder, folder) != 0)
        return false;
    // The store keeps its files directly in its folder; "..\" or a sub-folder
    // after the prefix leads elsewhere.
    return std::wcspbrk(path + folder, L"\\/") == nullptr;
}

uint32_t CKWRasterLib::RegisterNewPath(const std::wstring& path)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    uint32_t id = m_nextPictureId++;
    m_idsByPath[path] = id;
    m_pathsById[id] = path;
    return id;
}

uint32_t CKWRasterLib::GetPictureId(const wchar_t* path)
{
    const std::wstring key = path ? path : L"";
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_idsByPath.find(key);
        if (found != m_idsByPath.end() && found->second != 0)
            return found->second;
    }
    // Asked of the disk, outside the lock.
    if (!IsOtherStoreFile(key.c_str())) {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_idsByPath.find(key);
        if (found != m_idsByPath.end() && found->second != 0)
            return found->second;
        uint32_t id = m_nextPictureId++;
        m_idsByPath[key] = id;
        m_pathsById[id] = key;
        return id;
    }
    // Another copy's file (its clipboard's, or named by a report it saved)
    // goes when that copy lets go of it or ends: the picture is this copy's
    // own from the start. A file that cannot be copied keeps its place.
    const std::wstring copy = CopyIntoOwnStore(key);
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_idsByPath.find(key);
    if (found != m_idsByPath.end() && found->second != 0) {
        if (!copy.empty())
            ::DeleteFileW(copy.c_str());  // another thread took it first
        return found->second;
    }
    uint32_t id = m_nextPictureId++;
    m_idsByPath[key] = id;
    if (copy.empty()) {
        m_pathsById[id] = key;
        return id;
    }
    m_idsByPath[copy] = id;
    m_pathsById[id] = copy;
    m_adoptedPaths.emplace(id, key);
    return id;
}

std::wstring CKWRasterLib::CopyIntoOwnStore(const std::wstring& source)
{
    // The store's names are ASCII: an extension the code page cannot hold is not kept.
    std::string extension = WideToAnsi(ExtensionOf(source).c_str());
    if (extension.empty() || !IsSafeExtension(extension.c_str()) || extension.find('?') != std::string::npos)
        extension = "bmp";
    std::wstring target;
    HANDLE reserved = CreateStoreFile(extension.c_str(), target);
    if (reserved == INVALID_HANDLE_VALUE)
        return std::wstring();
    ::CloseHandle(reserved);
    // Over the empty file that took the name.
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE)) {
        ::DeleteFileW(target.c_str());
        return std::wstring();
    }
    return target;
}

CString CKWRasterLib::GetImagePath(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_pathsById.find(id);
    return found == m_pathsById.end() ? CString() : CString(found->second.c_str());
}

CString CKWRasterLib::GetImageFileName(uint32_t id)
{
    CString path = GetImagePath(id);
    int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Mid(slash + 1);
}

void CKWRasterLib::RegisterImagePath(uint32_t id, const wchar_t* path)
{
    const std::wstring key = path ? path : L"";
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_idsByPath[key] = id;
    m_pathsById[id] = key;
}

bool CKWRasterLib::ReadImageInfo(const wchar_t* path, ImageInfo& info)
{
    info = ImageInfo();
    if (!path || !*path)
        return false;
    if (KWReadRasterImageInfoWFn read = m_functions.ReadRasterImageInfoW) {
        KWRasterImageInfo header = {sizeof header, 0, 0, 1, {}};
        if (!read(path, &header) || header.width <= 0 || header.height <= 0)
            return false;
        info.size.cx = LONG(header.width);
        info.size.cy = LONG(header.height);
        info.orientation = header.orientation >= 1 && header.orientation <= 8 ? uint8_t(header.orientation) : 1;
        info.format.assign(header.format, strnlen(header.format, sizeof header.format));
        return true;
    }
    // A library without the UTF-16 read knows no orientation either.
    const std::string ansi = AnsiPathOf(path);
    uint32_t width = 0;
    uint32_t height = 0;
    if (!m_functions.ReadRasterImageWH || ansi.empty())
        return false;
    m_functions.ReadRasterImageWH(ansi.c_str(), &width, &height);
    info.size.cx = LONG(width);
    info.size.cy = LONG(height);
    return width > 0 && height > 0;
}

bool CKWRasterLib::GetImageInfo(uint32_t id, ImageInfo& info)
{
    if (id == 0) {
        info = ImageInfo();
        info.size.cx = info.size.cy = 1;
        return true;
    }
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_infos.find(id);
        if (found != m_infos.end()) {
            info = found->second;
            return true;
        }
    }
    // A file that cannot be read now is asked again next time: it may appear.
    if (!ReadImageInfo(GetImagePath(id), info))
        return false;
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_infos[id] = info;
    return true;
}

bool CKWRasterLib::GetImageSize(uint32_t id, SIZE& size)
{
    ImageInfo info;
    const bool known = GetImageInfo(id, info);
    size = info.size;
    return known;
}

KWPictureState CKWRasterLib::CheckPictureFile(const wchar_t* path, bool decode)
{
    if (!path || !*path)
        return KWPictureState::Missing;
    if (KWCheckRasterImageWFn check = m_functions.CheckRasterImageW) {
        const int32_t answer = check(path, decode ? KW_CHECK_BY_DECODING : 0);
        return answer >= 0 && answer <= int32_t(kKWLastPictureState) ? KWPictureState(answer)
                                                                       : KWPictureState::Damaged;
    }
    // A library without the check can only tell what its header reads.
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ImageInfo header;
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return KWPictureState::Missing;
    if (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0)
        return KWPictureState::Empty;
    return ReadImageInfo(path, header) ? KWPictureState::Sound : KWPictureState::NotPicture;
}

KWPictureState CKWRasterLib::GetPictureState(uint32_t id, bool decode)
{
    {
        // A decoded answer serves a request for the bytes only as well; a
        // library whose every check proves the picture reads answers both
        // kinds alike, and one answer serves them.
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_states.find(id);
        if (found != m_states.end())
            return found->second;
        found = m_walkedStates.find(id);
        if ((!decode || m_functions.CheckRasterImageW) && found != m_walkedStates.end())
            return found->second;
    }
    // The file's stamp from before the check: a change during it shows later.
    const CString path = GetImagePath(id);
    const FileStamp stamp = StampOf(path);
    const KWPictureState state = CheckPictureFile(path, decode);
    if (state != KWPictureState::Missing) {
        std::lock_guard<std::mutex> lock(m_storeLock);
        (decode ? m_states : m_walkedStates)[id] = state;
        m_checkedStamps[id] = stamp;
        m_missingFromStart.erase(id);
    }
    return state;
}

CKWRasterLib::FileStamp CKWRasterLib::StampOf(const wchar_t* path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path && *path && ::GetFileAttributesExW(path, GetFileExInfoStandard, &data)) {
        stamp.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        stamp.written = uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
        stamp.present = true;
    }
    return stamp;
}

void CKWRasterLib::NoteMissingFromStart(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_missingFromStart.insert(id);
}

bool CKWRasterLib::WasMissingFromStart(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    return m_missingFromStart.count(id) != 0;
}

bool CKWRasterLib::ForgetIfChanged(uint32_t id)
{
    FileStamp checked;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_checkedStamps.find(id);
        if (found == m_checkedStamps.end())
            return false;
        checked = found->second;
    }
    if (StampOf(GetImagePath(id)) == checked)
        return false;
    // A file cut short, rewritten or gone since its check is another file:
    // checked again when next asked, and its problem told anew.
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_checkedStamps.erase(id);
    m_states.erase(id);
    m_walkedStates.erase(id);
    m_infos.erase(id);
    m_shownSizes.erase(id);
    m_reported.erase(id);
    return true;
}

void CKWRasterLib::CheckPictures(const std::vector<uint32_t>& ids, bool decode)
{
    for (uint32_t id : ids)
        ForgetIfChanged(id);
    std::vector<uint32_t> unknown;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        std::set<uint32_t> seen;
        for (uint32_t id : ids) {
            if (id != 0 && seen.insert(id).second && m_states.find(id) == m_states.end() &&
                m_walkedStates.find(id) == m_walkedStates.end())
                unknown.push_back(id);
        }
    }
    // Each check reads its file once and walks it on one processor: the
    // files are shared out among as many threads as there are processors.
    const size_t threads = std::min<size_t>(unknown.size(), std::max(1u, std::thread::hardware_concurrency()));
    if (threads <= 1) {
        for (uint32_t id : unknown)
            GetPictureState(id, decode);
        return;
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < unknown.size(); i = next++)
            GetPictureState(unknown[i], decode);
    };
    std::vector<std::thread> workers;
    try {
        for (size_t t = 1; t < threads; ++t)
            workers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads: the calling one does the rest.
    }
    work();
    for (std::thread& worker : workers)
        worker.join();
}

SIZE CKWRasterLib::GetShownSize(uint32_t id)
{
    SIZE size = {0, 0};
    if (GetPictureState(id, false) == KWPictureState::Sound && GetImageSize(id, size))
        return size;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_shownSizes.find(id);
        if (found != m_shownSizes.end())
            return found->second;
    }
    // Decoded once: only a damaged picture comes here.
    KWRasterImagePtr image(LoadImage(id));
    size.cx = image && image->width ? LONG(image->width) : 1;
    size.cy = image && image->height ? LONG(image->height) : 1;
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_shownSizes[id] = size;
    return size;
}

bool CKWRasterLib::TakeReport(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    return m_reported.insert(id).second;
}

void CKWRasterLib::SetEmptySourceName(uint32_t id, const wchar_t* name)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    if (name && *name)
        m_emptySourceNames[id] = name;
    else
        m_emptySourceNames.erase(id);
}

CString CKWRasterLib::GetEmptySourceName(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_emptySourceNames.find(id);
    return found == m_emptySourceNames.end() ? CString() : CString(found->second.c_str());
}

void CKWRasterLib::SetPictureSource(uint32_t id, const wchar_t* file, bool embedded)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    if (id != 0 && file && *file)
        m_sources[id] = PictureSource{file, embedded};
}

CString CKWRasterLib::GetPictureSource(uint32_t id, bool* embedded)
{
    if (embedded)
        *embedded = false;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_sources.find(id);
        if (found != m_sources.end()) {
            if (embedded)
                *embedded = found->second.embedded;
            return CString(found->second.file.c_str());
        }
    }
    const CString path = GetImagePath(id);
    return IsStoreFile(path) || IsOtherStoreFile(path) ? CString() : path;
}

CString CKWRasterLib::GetRefusedName(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto source = m_sources.find(id);
    auto state = m_states.find(id);
    if (source == m_sources.end() || source->second.embedded || source->second.file.empty() ||
        m_pathsById.count(id) || m_unkeptErrors.count(id) || state == m_states.end() ||
        state->second != KWPictureState::Missing)
        return CString();
    return CString(source->second.file.c_str());
}

KWRasterImage* CKWRasterLib::LoadImage(uint32_t id)
{
    return RasterReadFile(GetImagePath(id), 0, 0);
}

void CKWRasterLib::ListLeftoverNames()
{
    // One listing of the folder for the whole run: the names this run gives
    // carry its prefix, so only files under that prefix can stand in the way.
    const std::wstring pattern = std::wstring(m_storeFolder) + Widen(m_namePrefix) + L"*";
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::lock_guard<std::mutex> lock(m_storeLock);
    do {
        m_takenNames.insert(LowerAscii(WideToAnsi(found.cFileName)));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

void CKWRasterLib::GenerateStoreFileName(std::string& name, const char* extension)
{
    if (!m_storeFolder.IsEmpty())
        std::call_once(m_leftoversListed, [this] { ListLeftoverNames(); });
    const std::string tail = LowerAscii(std::string(".") + (extension ? extension : "jpg"));
    std::lock_guard<std::mutex> lock(m_storeLock);
    const std::string base = m_namePrefix + std::to_string(++m_nameCounter);
    std::string suffix;
    for (int attempt = 0; attempt < kNameAttempts && m_takenNames.count(LowerAscii(base + suffix) + tail); ++attempt) {
        char random[16];
        std::snprintf(random, sizeof(random), "%04X%04X", unsigned(std::rand()), unsigned(std::rand()));
        suffix = random;
    }
    name = base + suffix;
}

HANDLE CKWRasterLib::CreateStoreFile(const char* extension, std::wstring& path)
{
    const char* ext = extension ? extension : "jpg";
    if (m_storeFolder.IsEmpty() || !IsSafeExtension(ext)) {
        // Without a folder, the error met when none could be made.
        ::SetLastError(m_storeFolder.IsEmpty() && m_storeError ? m_storeError
                       : m_storeFolder.IsEmpty()                ? ERROR_PATH_NOT_FOUND
                                                                : ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name;
        GenerateStoreFileName(name, ext);
        path = std::wstring(m_storeFolder) + Widen(name + "." + ext);
        // Made new, never opened over another file: whatever holds the name
        // (another program started in the same second) keeps its file.
        HANDLE file =
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND && RemakeRunFolder())
            continue;
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            path.clear();
            ::SetLastError(error);
            return INVALID_HANDLE_VALUE;
        }
        std::lock_guard<std::mutex> lock(m_storeLock);
        m_takenNames.insert(LowerAscii(name + "." + ext));
    }
    path.clear();
    ::SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

bool CKWRasterLib::IsStoreFileName(const wchar_t* name)
{
    if (!name)
        return false;
    // "hh_mm_ss", the start-up time of the run that made the name, then its
    // running number: "hh_mm_" and at least three digits.
    for (int i = 0; i < 6; ++i) {
        if (i % 3 == 2 ? name[i] != L'_' : !std::iswdigit(name[i]))
            return false;
    }
    const wchar_t* p = name + 6;
    for (int i = 0; i < 3; ++i, ++p) {
        if (!std::iswdigit(*p))
            return false;
    }
    // More of the number, perhaps eight hex digits, then one extension.
    while (std::iswxdigit(*p))
        ++p;
    return *p == L'.' && p[1] != 0 && std::wcschr(p + 1, L'.') == nullptr;
}

uint32_t CKWRasterLib::SaveImage(const KWRasterImage* image, int format, int quality)
{
    const KWRasterFunctions& f = m_functions;
    if (!image || (!f.SaveRasterImage && !f.SaveRasterImageW) || m_storeFolder.IsEmpty())
        return 0;
    const char* extension = format == kJpegFormat ? "jpg" : "bmp";
    // The name is taken by an empty file first, so that the library, which
    // writes over what it finds, writes over nobody else's file.
    std::wstring path;
    HANDLE reserved = CreateStoreFile(extension, path);
    if (reserved == INVALID_HANDLE_VALUE)
        return 0;
    ::CloseHandle(reserved);
    bool saved = false;
    if (f.SaveRasterImageW) {
        saved = f.SaveRasterImageW(path.c_str(), image->width, image->height, image->stride, KW_SAVE_RASTER_MODE,
                                   quality, extension, image->Pixels());
    } else {
        const std::string ansi = AnsiPathOf(path.c_str());
        saved = !ansi.empty() && f.SaveRasterImage(ansi.c_str(), image->width, image->height, image->stride,
                                                   KW_SAVE_RASTER_MODE, quality, extension, image->Pixels());
    }
    if (!saved) {
        ::DeleteFileW(path.c_str());
        return 0;
    }
    return RegisterNewPath(path);
}

uint32_t CKWRasterLib::AddImageFromMemory(const void* bytes, uint32_t count, const char* extension)
{
    if (!bytes || count < 1)
        return 0;
    std::wstring path;
    // The name is a new one: made new rather than truncated, the file is not
    // written out in full by the file system when it is closed.
    HANDLE file = CreateStoreFile(extension, path);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    bool whole = ::WriteFile(file, bytes, count, &written, nullptr) && written == count;
    DWORD error = whole ? 0 : ::GetLastError();
    if (!::CloseHandle(file) && whole) {
        whole = false;
        error = ::GetLastError();
    }
    if (!whole) {
        // A short file would read as a broken picture; better none at all.
        ::DeleteFileW(path.c_str());
        ::SetLastError(error);
        return 0;
    }
    return RegisterNewPath(path);
}

uint32_t CKWRasterLib::AddUnkeptPicture(DWORD error)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    const uint32_t id = m_nextPictureId++;
    m_unkeptErrors[id] = error;
    return id;
}

uint32_t CKWRasterLib::AddFilelessPicture(KWPictureState state)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    const uint32_t id = m_nextPictureId++;
    m_states[id] = state;
    m_walkedStates[id] = state;
    return id;
}

bool CKWRasterLib::GetUnkeptError(uint32_t id, DWORD& error)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_unkeptErrors.find(id);
    error = found == m_unkeptErrors.end() ? 0 : found->second;
    return found != m_unkeptErrors.end();
}

CString CKWRasterLib::CopyImageFileTo(uint32_t id, const wchar_t* targetFolder)
{
    CString target = CString(targetFolder ? targetFolder : L"") + GetImageFileName(id);
    if (!::CopyFileW(GetImagePath(id), target, FALSE))
        return CString();
    return target;
}

CString CKWRasterLib::RelocateImageFile(uint32_t id, const wchar_t* targetFolder)
{
    const CString oldPath = GetImagePath(id);
    if (!IsStoreFile(oldPath) || !targetFolder || !*targetFolder)
        return oldPath;
    CString target = CString(targetFolder) + GetImageFileName(id);
    // The store's file goes only once the copy exists: otherwise the picture
    // is lost. Whatever still holds it keeps it until it lets go.
    if (!::CopyFileW(oldPath, target, FALSE))
        return oldPath;
    DiscardStoreFile(id);
    GetPictureId(target);
    return target;
}

CString CKWRasterLib::CopyImageFileIntoStore(uint32_t id)
{
    const CString path = GetImagePath(id);
    if (IsStoreFile(path))
        return path;
    if (m_storeFolder.IsEmpty() || path.IsEmpty())
        return CString();
    const std::wstring target = CopyIntoOwnStore(std::wstring(path));
    return CString(target.c_str());
}

bool CKWRasterLib::WriteUprightJpeg(uint32_t id, const wchar_t* target)
{
    const CString path = GetImagePath(id);
    return m_functions.WriteUprightJpegW && !path.IsEmpty() && target && *target &&
           m_functions.WriteUprightJpegW(path, target) == 1;
}

bool CKWRasterLib::WriteUnturnedJpeg(uint32_t id, const wchar_t* target)
{
    const CString path = GetImagePath(id);
    return m_functions.WriteUnturnedJpegW && !path.IsEmpty() && target && *target &&
           m_functions.WriteUnturnedJpegW(path, target) == 1;
}

KWRasterImage* CKWRasterLib::PrepareImageForExport(uint32_t id, RasterExportRequest& request, std::string& format)
{
    const CString path = GetImagePath(id);
    KWRasterImagePtr image(RasterReadFile(path, request.maxWidth, request.maxHeight));
    if (!image)
        return nullptr;
    if (request.gray) {
        image.reset(RasterToGray(image.get()));
        if (!image)
            return nullptr;
    }
    if (request.rotation != 0) {
        image.reset(RasterRotate(image.get(), request.rotation));
        if (!image)
            return nullptr;
    }
    if (request.maxWidth && request.maxHeight &&
        (image->width > request.maxWidth || image->height > request.maxHeight)) {
        image.reset(RasterResize(image.get(), request.maxWidth, request.maxHeight));
        if (!image)
            return nullptr;
    }
    request.maxWidth = image->width;
    request.maxHeight = image->height;
    format = WideToAnsi(request.format);
    if (format.empty())
        format = WideToAnsi(ExtensionOf(std::wstring(path)).c_str());
    return image.release();
}

bool CKWRasterLib::EncodeTurnedJpegFile(uint32_t id, RasterExportRequest& request, const wchar_t* target)
{
    ImageInfo info;
    const CString path = GetImagePath(id);
    CString format = request.format.IsEmpty() ? CString(ExtensionOf(std::wstring(path)).c_str()) : request.format;
    // A grey picture is made by the program's own rule, from decoded pixels.
    if (!m_functions.EncodeTurnedJpegW || request.gray || request.maxWidth || request.maxHeight ||
        !IsJpegExtension(format) || !GetImageInfo(id, info) || info.format != "jpg")
        return false;
    if (m_functions.EncodeTurnedJpegW(path, target, request.rotation, 0) != 1)
        return false;
    const int32_t turn = (request.rotation % 360 + 360) % 360;
    const bool quarter = turn == 90 || turn == 270;
    request.maxWidth = uint32_t(quarter ? info.size.cy : info.size.cx);
    request.maxHeight = uint32_t(quarter ? info.size.cx : info.size.cy);
    request.format = format;
    return true;
}

bool CKWRasterLib::EncodeImageFileForExport(uint32_t id, RasterExportRequest& request, const wchar_t* target)
{
    request.ReleaseBytes();
    if (target && *target && EncodeTurnedJpegFile(id, request, target))
        return true;
    KWSaveRasterImageWFn save = m_functions.SaveRasterImageW;
    if (!save || !target || !*target)
        return false;
    std::string format;
    KWRasterImagePtr image(PrepareImageForExport(id, request, format));
    // Quality 0: the library's own, as its encoding into memory has.
    if (!image || !save(target, image->width, image->height, image->stride, KW_SAVE_RASTER_MODE, 0, format.c_str(),
                        image->Pixels()))
        return false;
    request.format = CString(format.c_str());
    return true;
}

bool CKWRasterLib::EncodeImageForExport(uint32_t id, RasterExportRequest& request)
{
    request.ReleaseBytes();
    std::string format;
    KWRasterImagePtr image(PrepareImageForExport(id, request, format));
    if (!image)
        return false;
    KWWriteRasterImageToMemoryFn write = m_functions.WriteRasterImageToMemory;
    if (!write)
        return false;
    int32_t size = write(image.get(), nullptr, 0, format.c_str());
    if (size < 1)
        return false;
    uint8_t* bytes = static_cast<uint8_t*>(std::malloc(size_t(size)));
    if (!bytes)
        return false;
    if (write(image.get(), bytes, size, format.c_str()) != size) {
        std::free(bytes);
        return false;
    }
    request.bytes = bytes;
    request.byteCount = uint32_t(size);
    request.format = CString(format.c_str());
    request.imageType = RasterReadTypeFromMemory(bytes, uint32_t(size), format.c_str());
    return true;
}
