#include "RasterTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <turbojpeg.h>

namespace rastertest {

namespace {

template <class T>
void Take(HMODULE module, const char* name, T& slot)
{
    slot = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

RasterLib LoadLib()
{
    RasterLib lib;
    lib.module = ::LoadLibraryW(L"DAZiruraRuv.dll");
    if (!lib.module)
        return lib;
    Take(lib.module, "ReadRasterImage", lib.read);
    Take(lib.module, "ReadLQRasterImage", lib.readLQ);
    Take(lib.module, "ReadRasterImageFromMemory", lib.readMemory);
    Take(lib.module, "ReadRasterImageTypeFromMemory", lib.readType);
    Take(lib.module, "ReadRasterImageWH", lib.readSize);
    Take(lib.module, "WriteRasterImageToMemory", lib.write);
    Take(lib.module, "SaveRasterImage", lib.save);
    Take(lib.module, "TestRasterFormat", lib.test);
    Take(lib.module, "ResizeRasterImage", lib.resize);
    Take(lib.module, "RotateRasterImage", lib.rotate);
    Take(lib.module, "Quartz_InitializeMagick", lib.initialize);
    Take(lib.module, "CreateFormatList", lib.createFormats);
    Take(lib.module, "DisposeFormatList", lib.disposeFormats);
    Take(lib.module, "ReadRasterImageW", lib.readW);
    Take(lib.module, "ReadRasterImageInfoW", lib.infoW);
    Take(lib.module, "CheckRasterImageW", lib.checkW);
    Take(lib.module, "SaveRasterImageW", lib.saveW);
    Take(lib.module, "WriteUprightJpegW", lib.writeUpright);
    Take(lib.module, "WriteUnturnedJpegW", lib.writeUnturned);
    Take(lib.module, "EncodeTurnedJpegW", lib.encodeTurned);
    return lib;
}

template <class Call>
std::vector<uint8_t> TwoCalls(Call call)
{
    const int32_t size = call(nullptr, 0);
    if (size < 1)
        return {};
    std::vector<uint8_t> block(static_cast<size_t>(size));
    if (call(block.data(), size) != size)
        return {};
    return block;
}

class Com {
public:
    Com() { m_leave = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)); }
    ~Com()
    {
        if (m_leave)
            ::CoUninitialize();
    }

private:
    bool m_leave = false;
};

template <class T>
void Release(T*& p)
{
    if (p)
        p->Release();
    p = nullptr;
}

std::string TestFolder()
{
    static std::string folder;
    if (folder.empty()) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "ot_rasterlib_" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

// Removes the run's folder of files when the tests end.
class TempFolderCleanup : public ::testing::Environment {
public:
    void TearDown() override
    {
        const std::string folder = TestFolder();
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    ::DeleteFileA((folder + found.cFileName).c_str());
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(folder.c_str());
    }
};

::testing::Environment* const g_cleanup = ::testing::AddGlobalTestEnvironment(new TempFolderCleanup);

}  // namespace

bool RasterLib::IsComplete() const
{
    return module && read && readLQ && readMemory && readType && readSize && write && save && test && resize &&
           rotate && initialize && createFormats && disposeFormats && readW && infoW && saveW && checkW &&
           writeUpright && encodeTurned;
}

const RasterLib& Lib()
{
    static const RasterLib lib = LoadLib();
    return lib;
}

Picture::Picture(uint32_t width, uint32_t height, Pixel fill) : m_width(width), m_height(height)
{
    m_pixels.resize(size_t(width) * height * 4);
    for (size_t i = 0; i < m_pixels.size(); i += 4)
        std::memcpy(&m_pixels[i], &fill, 4);
}

Pixel Picture::At(uint32_t x, uint32_t y) const
{
    Pixel p;
    std::memcpy(&p, &m_pixels[(size_t(y) * m_width + x) * 4], 4);
    return p;
}

void Picture::Set(uint32_t x, uint32_t y, Pixel p)
{
    std::memcpy(&m_pixels[(size_t(y) * m_width + x) * 4], &p, 4);
}

std::vector<uint8_t> Picture::Record() const
{
    std::vector<uint8_t> record(12 + m_pixels.size());
    const uint32_t header[3] = {m_width, m_height, m_width * 4};
    std::memcpy(record.data(), header, 12);
    if (!m_pixels.empty())
        std::memcpy(record.data() + 12, m_pixels.data(), m_pixels.size());
    return record;
}

bool Picture::FromRecord(const std::vector<uint8_t>& record, Picture& picture)
{
    if (record.size() < 12)
        return false;
    uint32_t header[3];
    std::memcpy(header, record.data(), 12);
    if (header[2] != header[0] * 4 || record.size() != 12 + uint64_t(header[1]) * header[2])
        return false;
    picture = Picture(header[0], header[1]);
    std::memcpy(picture.Data(), record.data() + 12, record.size() - 12);
    return true;
}

Pixel GradientAt(double x, double y, uint32_t width, uint32_t height)
{
    const double u = width > 1 ? x / (width - 1) : 0;
    const double v = height > 1 ? y / (height - 1) : 0;
    auto clamp = [](double c) { return uint8_t(c < 0 ? 0 : c > 255 ? 255 : c + 0.5); };
    return Pixel{clamp(40 + 180 * u), clamp(30 + 200 * v), clamp(60 + 90 * (u + v)), 255};
}

Picture Gradient(uint32_t width, uint32_t height)
{
    Picture picture(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            picture.Set(x, y, GradientAt(x, y, width, height));
    return picture;
}

Picture Checker(uint32_t width, uint32_t height, uint32_t cell, Pixel first, Pixel second)
{
    Picture picture(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            picture.Set(x, y, ((x / cell) + (y / cell)) % 2 ? second : first);
    return picture;
}

int MaxDifference(Pixel a, Pixel b, bool withAlpha)
{
    int worst = std::abs(a.b - b.b);
    worst = std::max(worst, std::abs(a.g - b.g));
    worst = std::max(worst, std::abs(a.r - b.r));
    if (withAlpha)
        worst = std::max(worst, std::abs(a.a - b.a));
    return worst;
}

int MaxDifference(const Picture& a, const Picture& b, bool withAlpha)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return 256;
    int worst = 0;
    for (uint32_t y = 0; y < a.Height(); ++y)
        for (uint32_t x = 0; x < a.Width(); ++x)
            worst = std::max(worst, MaxDifference(a.At(x, y), b.At(x, y), withAlpha));
    return worst;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    return TwoCalls([&](void* buffer, int32_t size) { return Lib().read(path.c_str(), buffer, size); });
}

std::vector<uint8_t> ReadFileReduced(const std::string& path, int32_t width, int32_t height)
{
    return TwoCalls([&](void* buffer, int32_t size) {
        return Lib().readLQ(path.c_str(), buffer, size, &width, &height, 0, 0, 0);
    });
}

std::vector<uint8_t> ReadMemory(const std::vector<uint8_t>& bytes, const char* hint)
{
    return TwoCalls([&](void* buffer, int32_t size) {
        return Lib().readMemory(bytes.data(), int32_t(bytes.size()), buffer, size, hint);
    });
}

std::vector<uint8_t> WriteMemory(const std::vector<uint8_t>& record, const char* format)
{
    return TwoCalls([&](void* buffer, int32_t size) { return Lib().write(record.data(), buffer, size, format); });
}

std::vector<uint8_t> Resize(const Picture& picture, int32_t width, int32_t height, int32_t mode)
{
    return TwoCalls([&](void* buffer, int32_t size) {
        return Lib().resize(picture.Data(), int32_t(picture.Width()), int32_t(picture.Height()),
                            int32_t(picture.Width() * 4), buffer, width, height, size, mode);
    });
}

std::vector<uint8_t> Rotate(const Picture& picture, int32_t angle, uint32_t background)
{
    return TwoCalls([&](void* buffer, int32_t size) {
        return Lib().rotate(picture.Data(), int32_t(picture.Width()), int32_t(picture.Height()), buffer, size,
                            background, angle);
    });
}

void PutLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

std::string TempPath(const std::string& name)
{
    return TestFolder() + name;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return bytes;
}

namespace {

// The bytes write puts in a file of the test's folder.
std::vector<uint8_t> WrittenBy(const std::function<bool(const std::string&)>& write)
{
    const std::string path = TempPath("written by libtiff.tif");
    std::vector<uint8_t> bytes = write(path) ? ReadBytes(path) : std::vector<uint8_t>();
    ::DeleteFileA(path.c_str());
    return bytes;
}

}  // namespace

std::vector<uint8_t> WrittenByLibtiff(const std::vector<std::pair<uint32_t, uint32_t>>& fields,
                                      const std::function<bool(TIFF*)>& write)
{
    return WrittenBy([&](const std::string& path) { return testpictures::WriteWithLibtiff(path, fields, write); });
}

std::vector<uint8_t> LibtiffRgb(uint32_t width, uint32_t height, const testpictures::LibtiffLayout& layout,
                                const std::function<Pixel(uint32_t, uint32_t)>& colour)
{
    return WrittenBy([&](const std::string& path) {
        return testpictures::WriteLibtiffRgb(path, width, height, layout, [&](uint32_t x, uint32_t y) {
            const Pixel p = colour(x, y);
            return uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b;
        });
    });
}

std::vector<uint8_t> LibtiffYCbCr(uint32_t side, uint32_t rowsPerStrip)
{
    return WrittenBy([&](const std::string& path) { return testpictures::WriteLibtiffYCbCr(path, side, rowsPerStrip); });
}

std::vector<uint8_t> EncodeWithWic(const Picture& picture, const GUID& container, const GUID& pixelFormat)
{
    Com com;
    std::vector<uint8_t> out;
    IWICImagingFactory* factory = nullptr;
    IStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    IWICBitmap* bitmap = nullptr;
    IWICFormatConverter* converter = nullptr;
    IWICPalette* palette = nullptr;
    WICPixelFormatGUID format = pixelFormat;
    bool ok = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
              SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
              SUCCEEDED(frame->SetSize(picture.Width(), picture.Height())) &&
              SUCCEEDED(frame->SetPixelFormat(&format)) &&
              SUCCEEDED(factory->CreateBitmapFromMemory(
                  picture.Width(), picture.Height(), GUID_WICPixelFormat32bppBGRA, picture.Width() * 4,
                  picture.Width() * picture.Height() * 4, const_cast<BYTE*>(picture.Data()), &bitmap)) &&
              SUCCEEDED(factory->CreateFormatConverter(&converter));
    if (ok && IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed)) {
        ok = SUCCEEDED(factory->CreatePalette(&palette)) &&
             SUCCEEDED(palette->InitializeFromBitmap(bitmap, 256, FALSE)) && SUCCEEDED(frame->SetPalette(palette)) &&
             SUCCEEDED(converter->Initialize(bitmap, format, WICBitmapDitherTypeNone, palette, 0.0,
                                             WICBitmapPaletteTypeCustom));
    } else if (ok) {
        ok = SUCCEEDED(converter->Initialize(bitmap, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                             WICBitmapPaletteTypeCustom));
    }
    ok = ok && SUCCEEDED(frame->WriteSource(converter, nullptr)) && SUCCEEDED(frame->Commit()) &&
         SUCCEEDED(encoder->Commit());
    if (ok) {
        STATSTG stat = {};
        HGLOBAL global = nullptr;
        if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(::GetHGlobalFromStream(stream, &global))) {
            const uint8_t* bytes = static_cast<const uint8_t*>(::GlobalLock(global));
            out.assign(bytes, bytes + stat.cbSize.QuadPart);
            ::GlobalUnlock(global);
        }
    }
    Release(palette);
    Release(converter);
    Release(bitmap);
    Release(options);
    Release(frame);
    Release(encoder);
    Release(stream);
    Release(factory);
    return out;
}

bool DecodeWithWic(const std::vector<uint8_t>& bytes, Picture& picture)
{
    Com com;
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    UINT width = 0, height = 0;
    bool ok = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
              SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), DWORD(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
              SUCCEEDED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted));
    if (ok) {
        picture = Picture(width, height);
        ok = SUCCEEDED(converted->CopyPixels(nullptr, width * 4, width * height * 4, picture.Data()));
    }
    Release(converted);
    Release(frame);
    Release(decoder);
    Release(stream);
    Release(factory);
    return ok;
}

std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality, bool progressive)
{
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> out;
    if (tjCompress2(tj, picture.Data(), int(picture.Width()), int(picture.Width() * 4), int(picture.Height()),
                    TJPF_BGRX, &jpeg, &size, TJSAMP_444, quality, progressive ? TJFLAG_PROGRESSIVE : 0) == 0)
        out.assign(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(tj);
    return out;
}

std::vector<uint8_t> EncodeGreyJpeg(const std::vector<uint8_t>& grey, uint32_t width, uint32_t height, int quality,
                                    bool progressive)
{
    tjhandle tj = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> out;
    if (tjCompress2(tj, grey.data(), int(width), int(width), int(height), TJPF_GRAY, &jpeg, &size, TJSAMP_GRAY,
                    quality, progressive ? TJFLAG_PROGRESSIVE : 0) == 0)
        out.assign(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(tj);
    return out;
}

namespace {

// The compressor's bytes once it has ended, from the memory it wrote them to.
std::vector<uint8_t> Finished(jpeg_compress_struct& cinfo, unsigned char*& buffer, const unsigned long& size)
{
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeCmykJpeg(const std::vector<uint8_t>& inks, uint32_t width, uint32_t height,
                                    bool adobeInverted, bool ycck)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, ycck ? JCS_YCCK : JCS_CMYK);
    if (!adobeInverted)
        cinfo.write_Adobe_marker = FALSE;
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(width) * 4);
    for (uint32_t y = 0; y < height; ++y) {
        for (size_t i = 0; i < row.size(); ++i) {
            const uint8_t ink = inks[size_t(y) * width * 4 + i];
            row[i] = adobeInverted ? uint8_t(255 - ink) : ink;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    return Finished(cinfo, buffer, size);
}

std::vector<uint8_t> EncodeLaidOutJpeg(const Picture& picture, int quality, const JpegLayout& layout)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    // Coarse tables on purpose: the warning is not printed.
    jerr.emit_message = [](j_common_ptr, int) {};
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = picture.Width();
    cinfo.image_height = picture.Height();
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    if (layout.grey)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    cinfo.comp_info[0].h_samp_factor = layout.lumaH;
    cinfo.comp_info[0].v_samp_factor = layout.lumaV;
    if (layout.crAsLuma && !layout.grey) {
        cinfo.comp_info[2].h_samp_factor = layout.lumaH;
        cinfo.comp_info[2].v_samp_factor = layout.lumaV;
    }
    cinfo.restart_interval = JDIMENSION(layout.restartMcus);
    cinfo.write_Adobe_marker = layout.adobe ? TRUE : FALSE;
    cinfo.write_JFIF_header = layout.jfif ? TRUE : FALSE;
    cinfo.density_unit = 1;
    cinfo.X_density = 300;
    cinfo.Y_density = 72;
    jpeg_set_quality(&cinfo, quality, layout.baseline ? TRUE : FALSE);
    jpeg_start_compress(&cinfo, TRUE);
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        JSAMPROW rows[1] = {const_cast<JSAMPROW>(picture.Data() + size_t(y) * picture.Width() * 4)};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    return Finished(cinfo, buffer, size);
}

std::vector<uint8_t> TurnWithTurbo(const std::vector<uint8_t>& bytes, int orientation)
{
    static const int kOperations[9] = {-1, -1, TJXOP_HFLIP, TJXOP_ROT180, TJXOP_VFLIP,
                                       TJXOP_TRANSPOSE, TJXOP_ROT90, TJXOP_TRANSVERSE, TJXOP_ROT270};
    std::vector<uint8_t> out;
    if (orientation < 2 || orientation > 8 || bytes.empty())
        return out;
    tjhandle tj = tjInitTransform();
    tjtransform transform = {};
    transform.op = kOperations[orientation];
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    unsigned char* result = nullptr;
    unsigned long size = 0;
    if (tjTransform(tj, bytes.data(), static_cast<unsigned long>(bytes.size()), 1, &result, &size, &transform,
                    TJFLAG_STOPONWARNING) == 0)
        out.assign(result, result + size);
    tjFree(result);
    tjDestroy(tj);
    return out;
}

namespace {

struct StrictErrors {
    jpeg_error_mgr manager;  // first: libjpeg holds a pointer to it
    std::jmp_buf jump;
};

void JumpOut(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<StrictErrors*>(cinfo->err)->jump, 1);
}

// Any warning ends the decoding as an error does.
void JumpOnWarning(j_common_ptr cinfo, int level)
{
    if (level < 0)
        JumpOut(cinfo);
}

bool DecodeStrictly(jpeg_decompress_struct* cinfo, StrictErrors* errors, const std::vector<uint8_t>* bytes,
                    std::vector<uint8_t>* row)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_mem_src(cinfo, bytes->data(), static_cast<unsigned long>(bytes->size()));
    jpeg_read_header(cinfo, TRUE);
    if (uint64_t(cinfo->image_width) * cinfo->image_height > (uint64_t(1) << 26))
        return false;
    cinfo->out_color_space = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK
                                 ? JCS_CMYK
                                 : JCS_EXT_BGRX;
    jpeg_start_decompress(cinfo);
    row->resize(size_t(cinfo->output_width) * 4);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW rows[1] = {row->data()};
        jpeg_read_scanlines(cinfo, rows, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

bool DecodesWholeWithTurbo(const std::vector<uint8_t>& bytes, int* width, int* height)
{
    if (bytes.empty())
        return false;
    jpeg_decompress_struct cinfo;
    StrictErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JumpOut;
    errors.manager.emit_message = JumpOnWarning;
    jpeg_create_decompress(&cinfo);
    std::vector<uint8_t> row;
    const bool ok = DecodeStrictly(&cinfo, &errors, &bytes, &row);
    if (width)
        *width = int(cinfo.image_width);
    if (height)
        *height = int(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

std::vector<uint8_t> WithFillBytes(const std::vector<uint8_t>& jpeg)
{
    // The scan's data start after the SOS segment.
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA)
        at += 2 + ((size_t(jpeg[at + 2]) << 8) | jpeg[at + 3]);
    if (at + 4 > jpeg.size())
        return jpeg;
    at += 2 + ((size_t(jpeg[at + 2]) << 8) | jpeg[at + 3]);
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(at));
    for (; at < jpeg.size(); ++at) {
        if (jpeg[at] == 0xFF && at + 1 < jpeg.size() && (jpeg[at + 1] == 0 || (jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7)))
            out.push_back(0xFF);
        out.push_back(jpeg[at]);
    }
    return out;
}

bool DecodeJpegEighthWithTurbo(const std::vector<uint8_t>& bytes, Picture& picture)
{
    tjhandle tj = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    bool ok = tjDecompressHeader3(tj, bytes.data(), static_cast<unsigned long>(bytes.size()), &width, &height,
                                  &subsampling, &colourspace) == 0;
    if (ok) {
        picture = Picture(uint32_t(width + 7) / 8, uint32_t(height + 7) / 8);
        ok = tjDecompress2(tj, bytes.data(), static_cast<unsigned long>(bytes.size()), picture.Data(),
                           int(picture.Width()), int(picture.Width() * 4), int(picture.Height()), TJPF_BGRA,
                           TJFLAG_FASTUPSAMPLE | TJFLAG_LIMITSCANS) == 0 ||
             tjGetErrorCode(tj) == TJERR_WARNING;
    }
    tjDestroy(tj);
    return ok;
}

}  // namespace rastertest

namespace rastertest {

namespace {

std::atomic<size_t> g_largest{0};
std::atomic<uint64_t> g_total{0};
void* (*g_malloc)(size_t) = nullptr;
void* (*g_calloc)(size_t, size_t) = nullptr;
void* (*g_realloc)(void*, size_t) = nullptr;

void Note(size_t size)
{
    g_total += size;
    size_t seen = g_largest.load();
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}

void* WatchedMalloc(size_t size)
{
    Note(size);
    return g_malloc(size);
}

void* WatchedCalloc(size_t count, size_t size)
{
    Note(count * size);
    return g_calloc(count, size);
}

void* WatchedRealloc(void* block, size_t size)
{
    Note(size);
    return g_realloc(block, size);
}

// The import slots of the module for functions of a C runtime, by name.
std::vector<void**> ImportSlots(HMODULE module, const char* function)
{
    std::vector<void**> slots;
    auto* base = reinterpret_cast<uint8_t*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return slots;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "msvcrt.dll") != 0 || !d->OriginalFirstThunk)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                slots.push_back(reinterpret_cast<void**>(&addresses->u1.Function));
        }
    }
    return slots;
}

void Redirect(HMODULE module, const char* function, void* to)
{
    for (void** slot : ImportSlots(module, function)) {
        DWORD old = 0;
        ::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
        *slot = to;
        ::VirtualProtect(slot, sizeof(void*), old, &old);
    }
}

}  // namespace

AllocationWatch::AllocationWatch()
{
    HMODULE module = Lib().module;
    HMODULE runtime = ::GetModuleHandleA("msvcrt.dll");
    if (!module || !runtime || ImportSlots(module, "malloc").empty())
        return;
    g_malloc = reinterpret_cast<void* (*)(size_t)>(::GetProcAddress(runtime, "malloc"));
    g_calloc = reinterpret_cast<void* (*)(size_t, size_t)>(::GetProcAddress(runtime, "calloc"));
    g_realloc = reinterpret_cast<void* (*)(void*, size_t)>(::GetProcAddress(runtime, "realloc"));
    Redirect(module, "malloc", reinterpret_cast<void*>(WatchedMalloc));
    Redirect(module, "calloc", reinterpret_cast<void*>(WatchedCalloc));
    Redirect(module, "realloc", reinterpret_cast<void*>(WatchedRealloc));
    Reset();
    m_installed = true;
}

AllocationWatch::~AllocationWatch()
{
    if (!m_installed)
        return;
    Redirect(Lib().module, "malloc", reinterpret_cast<void*>(g_malloc));
    Redirect(Lib().module, "calloc", reinterpret_cast<void*>(g_calloc));
    Redirect(Lib().module, "realloc", reinterpret_cast<void*>(g_realloc));
}

size_t AllocationWatch::Largest()
{
    return g_largest.load();
}

uint64_t AllocationWatch::Total()
{
    return g_total.load();
}

void AllocationWatch::Reset()
{
    g_largest = 0;
    g_total = 0;
}

std::vector<uint8_t> ReadMemoryPrefilled(const std::vector<uint8_t>& bytes, const char* hint, uint8_t prefill)
{
    const auto& lib = Lib();
    const int32_t count = int32_t(bytes.size());
    const int32_t size = lib.readMemory(bytes.data(), count, nullptr, 0, hint);
    if (size < 1)
        return {};
    std::vector<uint8_t> block(size_t(size), prefill);
    if (lib.readMemory(bytes.data(), count, block.data(), size, hint) != size)
        return {};
    return block;
}

}  // namespace rastertest
