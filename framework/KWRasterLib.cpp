#include "framework/KWRasterLib.h"

#include "framework/KWCodePage.h"
#include "framework/KWActiveFrame.h"
#include "framework/KWFolderScanner.h"
#include "platform/classlib/FrameWnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The library's configuration files, resources of type "Magick" in its module.
const wchar_t* const kConfigurationFiles[] = {
    L"coder.mgk",  L"colors.mgk", L"configure.mgk", L"delegates.mgk", L"english.mgk",
    L"locale.mgk", L"log.mgk",    L"magic.mgk",     L"type.mgk",      L"type-ghostscript.mgk",
};

// The placeholder bitmap among the program's resources.
const wchar_t* const kPlaceholderType = L"QUARTZ";
constexpr WORD kPlaceholderId = 222;

// Both caches start with 64 entries; the thumbnails then get 1024 until the
// application sets both from its preference.
constexpr uint32_t kInitialCapacity = 64;
constexpr uint32_t kThumbnailCapacity = 1024;
// A 32-bit process cannot hold more than 2 GB of images.
constexpr uint64_t kMaxCacheKilobytes = 2u * 1024 * 1024;

template <class Fn>
Fn TakeExport(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Two-call protocol for the functions that produce a raster image record:
// the first call gives the size, the second fills a block of that size. The
// block is kept only when the second call gives the same size and the block
// holds the whole record its header describes.
template <class Call>
KWRasterImage* CallForRecord(Call call)
{
    int32_t size = call(nullptr, 0);
    if (size < int32_t(sizeof(KWRasterImage)))
        return nullptr;
    void* block = std::malloc(size_t(size));
    if (!block)
        return nullptr;
    if (call(block, size) != size || !KWIsRasterBlockValid(block, uint64_t(size))) {
        std::free(block);
        return nullptr;
    }
    return static_cast<KWRasterImage*>(block);
}

// The wait cursor on the active frame while an image is read; a thread
// without a main window (the picture-loading thread) shows none.
class WaitCursor {
public:
    WaitCursor() : m_frame(KWGetActiveFrame())
    {
        if (m_frame)
            m_frame->BeginWaitCursor();
    }
    ~WaitCursor()
    {
        // The count belongs to the thread, not to the frame object.
        if (m_frame)
            AfxDoWaitCursor(-1);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    CFrameWnd* m_frame;
};

}  // namespace

CKWRasterLib::CKWRasterLib(const wchar_t* libraryName, HMODULE resourceModule)
    : m_resourceModule(resourceModule ? resourceModule : ::GetModuleHandleW(nullptr)),
      m_thumbnails(*this, kInitialCapacity, 0, 0), m_previews(*this, kInitialCapacity, 0, 0)
{
    m_library = libraryName ? ::LoadLibraryW(libraryName) : nullptr;
    if (m_library)
        LoadFunctions();

    m_thumbnails.SetCapacity(kThumbnailCapacity);
    m_thumbnails.SetTargetSize(kThumbnailSide, kThumbnailSide);
    m_previews.SetTargetSize(kPreviewSide, kPreviewSide);

    // The store is made even without the library: pictures handed over as
    // bytes are still kept as files.
    MakeStoreFolder();
    std::srand(unsigned(std::time(nullptr)));
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char prefix[16];
    std::snprintf(prefix, sizeof(prefix), "%02u_%02u_%02u", unsigned(now.wHour), unsigned(now.wMinute),
                  unsigned(now.wSecond));
    m_namePrefix = prefix;
}

CKWRasterLib::~CKWRasterLib()
{
    EndRun();
    if (m_library) {
        // Without a data folder nothing was written, and relative names would
        // hit the current folder.
        if (!m_dataFolder.IsEmpty()) {
            for (const wchar_t* name : kConfigurationFiles)
                ::DeleteFileW(m_dataFolder + name);
        }
        ::FreeLibrary(m_library);
        m_library = nullptr;
    }
    m_functions = KWRasterFunctions();
    KWFreeRasterImage(m_placeholder);
    m_placeholder = nullptr;
}

void CKWRasterLib::LoadFunctions()
{
    KWRasterFunctions& f = m_functions;
    f.ReadRasterImage = TakeExport<KWReadRasterImageFn>(m_library, "ReadRasterImage");
    f.ReadLQRasterImage = TakeExport<KWReadLQRasterImageFn>(m_library, "ReadLQRasterImage");
    f.TestRasterFormat = TakeExport<KWTestRasterFormatFn>(m_library, "TestRasterFormat");
    f.WriteRasterImageToMemory = TakeExport<KWWriteRasterImageToMemoryFn>(m_library, "WriteRasterImageToMemory");
    f.SaveRasterImage = TakeExport<KWSaveRasterImageFn>(m_library, "SaveRasterImage");
    f.RotateRasterImage = TakeExport<KWRotateRasterImageFn>(m_library, "RotateRasterImage");
    f.ResizeRasterImage = TakeExport<KWResizeRasterImageFn>(m_library, "ResizeRasterImage");
    f.ReadRasterImageFromMemory =
        TakeExport<KWReadRasterImageFromMemoryFn>(m_library, "ReadRasterImageFromMemory");
    f.ReadRasterImageTypeFromMemory =
        TakeExport<KWReadRasterImageTypeFromMemoryFn>(m_library, "ReadRasterImageTypeFromMemory");
    f.ReadRasterImageWH = TakeExport<KWReadRasterImageWHFn>(m_library, "ReadRasterImageWH");
    f.ReadRasterImageW = TakeExport<KWReadRasterImageWFn>(m_library, "ReadRasterImageW");
    f.ReadLQRasterImageW = TakeExport<KWReadLQRasterImageWFn>(m_library, "ReadLQRasterImageW");
    f.ReadRasterImageInfoW = TakeExport<KWReadRasterImageInfoWFn>(m_library, "ReadRasterImageInfoW");
    f.CheckRasterImageW = TakeExport<KWCheckRasterImageWFn>(m_library, "CheckRasterImageW");
    f.SaveRasterImageW = TakeExport<KWSaveRasterImageWFn>(m_library, "SaveRasterImageW");
    f.WriteUprightJpegW = TakeExport<KWWriteUprightJpegWFn>(m_library, "WriteUprightJpegW");
    f.WriteUnturnedJpegW = TakeExport<KWWriteUnturnedJpegWFn>(m_library, "WriteUnturnedJpegW");
    f.EncodeTurnedJpegW = TakeExport<KWEncodeTurnedJpegWFn>(m_library, "EncodeTurnedJpegW");
}

void CKWRasterLib::StartRasterLibrary(const wchar_t* dataFolder)
{
    m_dataFolder = dataFolder ? dataFolder : L"";
    if (m_dataFolder.IsEmpty())
        return;
    if (!m_library)
        return;
    for (const wchar_t* name : kConfigurationFiles)
        WriteConfigurationFile(name);
    auto initialize = TakeExport<KWQuartzInitializeMagickFn>(m_library, "Quartz_InitializeMagick");
    if (initialize)
        initialize(AnsiPathOf(m_dataFolder + L"configure.mgk").c_str());
}

void CKWRasterLib::WriteConfigurationFile(const wchar_t* name)
{
    HRSRC found = ::FindResourceW(m_library, name, L"Magick");
    HGLOBAL loaded = found ? ::LoadResource(m_library, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return;
    DWORD size = ::SizeofResource(m_library, found);
    HANDLE file = ::CreateFileW(m_dataFolder + name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(file, bytes, size, &written, nullptr);
    ::CloseHandle(file);
}

KWRasterImage* CKWRasterLib::RasterReadFile(const wchar_t* path, uint32_t targetWidth, uint32_t targetHeight)
{
    WaitCursor wait;
    if (!path || !*path)
        return RasterCopyPlaceholder();
    const KWRasterFunctions& f = m_functions;
    // Without the library's UTF-16 reads, the path goes by a form the code page holds.
    const bool wide = targetWidth || targetHeight ? f.ReadLQRasterImageW != nullptr : f.ReadRasterImageW != nullptr;
    const std::string ansi = wide ? std::string() : AnsiPathOf(path);
    KWRasterImage* image = nullptr;
    if (targetWidth || targetHeight) {
        if (wide || (f.ReadLQRasterImage && !ansi.empty())) {
            image = CallForRecord([&](void* buffer, int32_t size) {
                // Fresh targets for each call: the library may write to them.
                uint32_t width = targetWidth;
                uint32_t height = targetHeight;
                return wide ? f.ReadLQRasterImageW(path, buffer, size, &width, &height, 0, 0, 0)
                            : f.ReadLQRasterImage(ansi.c_str(), buffer, size, &width, &height, 0, 0, 0);
            });
        }
    } else if (wide || (f.ReadRasterImage && !ansi.empty())) {
        image = CallForRecord([&](void* buffer, int32_t size) {
            return wide ? f.ReadRasterImageW(path, buffer, size) : f.ReadRasterImage(ansi.c_str(), buffer, size);
        });
    }
    return image ? image : RasterCopyPlaceholder();
}

KWRasterImage* CKWRasterLib::RasterReadFromMemory(const void* bytes, uint32_t count, const char* formatHint,
                                                  uint32_t targetWidth, uint32_t targetHeight)
{
    if (!bytes || count == 0)
        return nullptr;
    if (targetWidth || targetHeight)
        return nullptr;  // memory is read at full size only
    KWReadRasterImageFromMemoryFn read = m_functions.ReadRasterImageFromMemory;
    if (!read)
        return nullptr;
    return CallForRecord(
        [&](void* buffer, int32_t size) { return read(bytes, count, buffer, size, formatHint); });
}

KWRasterImage* CKWRasterLib::RasterRotate(const KWRasterImage* image, double angle)
{
    KWRotateRasterImageFn rotate = m_functions.RotateRasterImage;
    if (!image || !rotate || !std::isfinite(angle) || std::fabs(angle) >= 2147483647.0)
        return nullptr;
    int32_t degrees = int32_t(angle);
    // The library takes no stride: rows must lie width x 4 bytes apart.
    KWRasterImagePtr packed;
    if (uint64_t(image->width) * 4 != image->stride) {
        packed.reset(KWAllocRasterImage(image->width, image->height, image->width * 4));
        if (!packed || uint64_t(image->width) * 4 > image->stride)
            return nullptr;
        for (uint32_t y = 0; y < image->height; ++y)
            std::memcpy(packed->Pixels() + size_t(y) * packed->stride,
                        image->Pixels() + size_t(y) * image->stride, packed->stride);
        image = packed.get();
    }
    return CallForRecord([&](void* buffer, int32_t size) {
        return rotate(image->Pixels(), image->width, image->height, buffer, size, 0, degrees);
    });
}

KWRasterImage* CKWRasterLib::RasterResize(const KWRasterImage* image, uint32_t newWidth, uint32_t newHeight)
{
    KWResizeRasterImageFn resize = m_functions.ResizeRasterImage;
    if (!image || !resize)
        return nullptr;
    return CallForRecord([&](void* buffer, int32_t size) {
        return resize(image->Pixels(), image->width, image->height, image->stride, buffer, newWidth,
                      newHeight, size, KW_RESIZE_RASTER_MODE);
    });
}

KWRasterImage* CKWRasterLib::RasterToGray(const KWRasterImage* image)
{
    if (!image)
        return nullptr;
    KWRasterImage* gray = KWAllocRasterImage(image->width, image->height, image->stride);
    if (!gray)
        return nullptr;
    uint32_t pixelsPerRow = image->stride / 4;
    for (uint32_t y = 0; y < image->height; ++y) {
        const uint8_t* source = image->Pixels() + size_t(y) * image->stride;
        uint8_t* target = gray->Pixels() + size_t(y) * image->stride;
        for (uint32_t x = 0; x < pixelsPerRow; ++x, source += 4, target += 4) {
            uint8_t v = uint8_t((unsigned(source[0]) + source[1] + source[2]) / 3);
            target[0] = v;
            target[1] = v;
            target[2] = v;
            target[3] = source[3];
        }
        // Bytes of a row that make no whole pixel are kept as they are.
        for (uint32_t rest = pixelsPerRow * 4; rest < image->stride; ++rest)
            *target++ = *source++;
    }
    return gray;
}

uint8_t CKWRasterLib::RasterReadTypeFromMemory(const void* bytes, uint32_t count, const char* formatName)
{
    uint8_t type = 0;
    if (m_functions.ReadRasterImageTypeFromMemory)
        m_functions.ReadRasterImageTypeFromMemory(bytes, count, formatName, &type);
    return type;
}

KWRasterImage* CKWRasterLib::RasterCopyPlaceholder()
{
    std::lock_guard<std::mutex> lock(m_placeholderLock);
    if (!m_placeholderTried) {
        m_placeholderTried = true;
        m_placeholder = DecodePlaceholder();
    }
    return KWCopyRasterImage(m_placeholder);
}

KWRasterImage* CKWRasterLib::DecodePlaceholder()
{
    HRSRC found = ::FindResourceW(m_resourceModule, MAKEINTRESOURCEW(kPlaceholderId), kPlaceholderType);
    HGLOBAL loaded = found ? ::LoadResource(m_resourceModule, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    DWORD size = ::SizeofResource(m_resourceModule, found);
    if (KWRasterImage* image = RasterReadFromMemory(bytes, size, "bmp", 0, 0))
        return image;
    // The placeholder is a plain bitmap, so it is shown even without the library.
    return KWDecodeBitmapFile(bytes, size);
}

KWSharedRasterImage CKWRasterLib::GetThumbnail(uint32_t id)
{
    if (KWSharedRasterImage image = m_thumbnails.Find(id))
        return image;
    return m_thumbnails.Load(GetImagePath(id), id);
}

KWSharedRasterImage CKWRasterLib::GetPreviewImage(uint32_t id)
{
    if (KWSharedRasterImage image = m_previews.Find(id))
        return image;
    return m_previews.Load(GetImagePath(id), id);
}

bool CKWRasterLib::FindThumbnail(uint32_t id)
{
    return id == 0 || m_thumbnails.Find(id) != nullptr;
}

void CKWRasterLib::SetCacheMemory(int64_t kilobytes)
{
    // In 64 bits and clamped, so that no preference value can wrap to a tiny cache.
    uint64_t kb = kilobytes < 0 ? 0 : std::min<uint64_t>(uint64_t(kilobytes), kMaxCacheKilobytes);
    m_thumbnails.SetCapacity(uint32_t(kb * 819 / 65536 + 1));
    m_previews.SetCapacity(uint32_t(kb * 205 / 4194304 + 1));
}
