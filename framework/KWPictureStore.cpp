// The picture store of CKWRasterLib: picture ids for image files, the files of
// pictures that exist only in memory, and the copies made when documents are
// saved and loaded.
#include "framework/KWRasterLib.h"

#include "framework/RasterExportRequest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kNameAttempts = 8196;
constexpr int kJpegFormat = 1;
constexpr size_t kMaxExtensionLength = 16;

bool IsRegularFile(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The text after the last '.' of the last path component; empty when there is none.
std::string ExtensionOf(const std::string& path)
{
    size_t dot = path.rfind('.');
    size_t slash = path.find_last_of("\\/:");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
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

}  // namespace

bool CKWRasterLib::IsStoreFile(const std::string& path) const
{
    if (m_storeFolder.empty() || path.size() <= m_storeFolder.size())
        return false;
    if (path.compare(0, m_storeFolder.size(), m_storeFolder) != 0)
        return false;
    // The store keeps its files directly in its folder; "..\" or a sub-folder
    // after the prefix leads elsewhere.
    return path.find_first_of("\\/", m_storeFolder.size()) == std::string::npos;
}

uint32_t CKWRasterLib::RegisterNewPath(const std::string& path)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    uint32_t id = m_nextPictureId++;
    m_idsByPath[path] = id;
    m_pathsById[id] = path;
    return id;
}

uint32_t CKWRasterLib::GetPictureId(const wchar_t* path)
{
    std::string key = ToAnsi(path);
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_idsByPath.find(key);
    if (found != m_idsByPath.end() && found->second != 0)
        return found->second;
    uint32_t id = m_nextPictureId++;
    m_idsByPath[key] = id;
    m_pathsById[id] = key;
    return id;
}

std::string CKWRasterLib::GetImagePathA(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    auto found = m_pathsById.find(id);
    return found == m_pathsById.end() ? std::string() : found->second;
}

CString CKWRasterLib::GetImagePath(uint32_t id)
{
    return CString(GetImagePathA(id).c_str());
}

CString CKWRasterLib::GetImageFileName(uint32_t id)
{
    CString path = GetImagePath(id);
    int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Mid(slash + 1);
}

void CKWRasterLib::RegisterImagePath(uint32_t id, const wchar_t* path)
{
    std::string key = ToAnsi(path);
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_idsByPath[key] = id;
    m_pathsById[id] = key;
}

bool CKWRasterLib::GetImageSize(uint32_t id, SIZE& size)
{
    if (id == 0) {
        size.cx = 1;
        size.cy = 1;
        return true;
    }
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        auto found = m_sizes.find(id);
        if (found != m_sizes.end() && (found->second.cx != 0 || found->second.cy != 0)) {
            size = found->second;
            return true;
        }
    }
    uint32_t width = 0;
    uint32_t height = 0;
    if (m_functions.ReadRasterImageWH)
        m_functions.ReadRasterImageWH(GetImagePathA(id).c_str(), &width, &height);
    size.cx = LONG(width);
    size.cy = LONG(height);
    std::lock_guard<std::mutex> lock(m_storeLock);
    m_sizes[id] = size;
    return true;
}

KWRasterImage* CKWRasterLib::LoadImage(uint32_t id)
{
    return RasterReadFile(GetImagePathA(id).c_str(), 0, 0);
}

void CKWRasterLib::GenerateStoreFileName(std::string& name, const char* extension)
{
    std::string base;
    {
        std::lock_guard<std::mutex> lock(m_storeLock);
        base = m_namePrefix + std::to_string(++m_nameCounter);
    }
    std::string tail = std::string(".") + (extension ? extension : "jpg");
    std::string suffix;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (!IsRegularFile(m_storeFolder + base + suffix + tail))
            break;
        char random[16];
        std::snprintf(random, sizeof(random), "%04X%04X", unsigned(std::rand()), unsigned(std::rand()));
        suffix = random;
    }
    name = base + suffix;
}

uint32_t CKWRasterLib::SaveImage(const KWRasterImage* image, int format, int quality)
{
    KWSaveRasterImageFn save = m_functions.SaveRasterImage;
    if (!image || !save || m_storeFolder.empty())
        return 0;
    const char* extension = format == kJpegFormat ? "jpg" : "bmp";
    std::string name;
    // The name is checked against the extension actually written, so that no
    // other picture's file is overwritten.
    GenerateStoreFileName(name, extension);
    std::string path = m_storeFolder + name + "." + extension;
    if (!save(path.c_str(), image->width, image->height, image->stride, KW_SAVE_RASTER_MODE, quality,
              extension, image->Pixels()))
        return 0;
    return RegisterNewPath(path);
}

uint32_t CKWRasterLib::AddImageFromMemory(const void* bytes, uint32_t count, const char* extension)
{
    if (!bytes || count < 1 || m_storeFolder.empty())
        return 0;
    const char* ext = extension ? extension : "jpg";
    if (!IsSafeExtension(ext))
        return 0;
    std::string name;
    GenerateStoreFileName(name, ext);
    std::string path = m_storeFolder + name + "." + ext;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    bool written = std::fwrite(bytes, 1, count, file) == count;
    written = std::fclose(file) == 0 && written;
    if (!written) {
        // A short file would read as a broken picture; better none at all.
        std::remove(path.c_str());
        return 0;
    }
    return RegisterNewPath(path);
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
    std::string path = GetImagePathA(id);
    CString oldPath(path.c_str());
    if (!IsStoreFile(path) || !targetFolder || !*targetFolder)
        return oldPath;
    CString target = CString(targetFolder) + GetImageFileName(id);
    // The store's file goes only once the copy exists: otherwise the picture is lost.
    if (!::CopyFileW(oldPath, target, FALSE))
        return oldPath;
    ::DeleteFileA(path.c_str());
    GetPictureId(target);
    return target;
}

CString CKWRasterLib::CopyImageFileIntoStore(uint32_t id)
{
    std::string path = GetImagePathA(id);
    if (IsStoreFile(path))
        return CString(path.c_str());
    if (m_storeFolder.empty() || path.empty())
        return CString();
    std::string fileName = ToAnsi(GetImageFileName(id));
    std::string extension = ExtensionOf(fileName);
    if (extension.empty())
        extension = "bmp";
    std::string name;
    GenerateStoreFileName(name, extension.c_str());
    std::string target = m_storeFolder + name + "." + extension;
    if (!::CopyFileA(path.c_str(), target.c_str(), FALSE))
        return CString();
    return CString(target.c_str());
}

bool CKWRasterLib::EncodeImageForExport(uint32_t id, RasterExportRequest& request)
{
    request.ReleaseBytes();
    std::string path = GetImagePathA(id);
    KWRasterImagePtr image(RasterReadFile(path.c_str(), request.maxWidth, request.maxHeight));
    if (!image)
        return false;
    if (request.gray) {
        image.reset(RasterToGray(image.get()));
        if (!image)
            return false;
    }
    if (request.rotation != 0) {
        image.reset(RasterRotate(image.get(), request.rotation));
        if (!image)
            return false;
    }
    if (request.maxWidth && request.maxHeight &&
        (image->width > request.maxWidth || image->height > request.maxHeight)) {
        image.reset(RasterResize(image.get(), request.maxWidth, request.maxHeight));
        if (!image)
            return false;
    }
    request.maxWidth = image->width;
    request.maxHeight = image->height;

    std::string format = ToAnsi(request.format);
    if (format.empty())
        format = ExtensionOf(path);
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

void CKWRasterLib::DeleteStoreFiles()
{
    std::lock_guard<std::mutex> lock(m_storeLock);
    for (const auto& entry : m_idsByPath) {
        if (IsStoreFile(entry.first))
            ::DeleteFileA(entry.first.c_str());
    }
}
