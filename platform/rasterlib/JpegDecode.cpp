#include "platform/rasterlib/JpegDecode.h"

// libjpeg's header wants the C runtime's FILE declared before it.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>
#include <turbojpeg.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

namespace rasterlib {

namespace {

// Rows a band holds when the picture is turned on the way.
constexpr uint32_t kBandRows = 16;
// TurboJPEG's limit of a progressive image's scans (TJFLAG_LIMITSCANS).
constexpr int kMostScans = 500;

uint8_t MulDiv255(uint32_t a, uint32_t b)
{
    const uint32_t t = a * b + 128;
    return uint8_t((t + (t >> 8)) >> 8);
}

// CMYK as decoded, in place, to B, G, R, A.
void CmykToBgra(const PixelTarget& dst, bool inverted)
{
    for (uint32_t y = 0; y < dst.height; ++y) {
        uint8_t* p = dst.Row(y);
        for (uint32_t x = 0; x < dst.width; ++x, p += 4) {
            uint32_t c = p[0], m = p[1], ye = p[2], k = p[3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            // Now each value is the share of white left by its ink.
            p[0] = MulDiv255(ye, k);
            p[1] = MulDiv255(m, k);
            p[2] = MulDiv255(c, k);
            p[3] = 255;
        }
    }
}

// libjpeg's errors and warnings as TurboJPEG takes them: an error ends the pass,
// a warning too when asked; the first warning is kept.
struct PassErrors {
    jpeg_error_mgr manager;  // first: libjpeg holds a pointer to it
    std::jmp_buf jump;
    bool stopOnWarning = false;
    bool warned = false;
    bool failed = false;  // an error, not a warning, ended the pass
    bool tooManyScans = false;
    int firstWarning = 0;
};

PassErrors& ErrorsOf(j_common_ptr cinfo)
{
    return *reinterpret_cast<PassErrors*>(cinfo->err);
}

void ExitOnError(j_common_ptr cinfo)
{
    ErrorsOf(cinfo).failed = true;
    std::longjmp(ErrorsOf(cinfo).jump, 1);
}

void NoteMessage(j_common_ptr cinfo, int level)
{
    PassErrors& errors = ErrorsOf(cinfo);
    if (level >= 0)
        return;  // a trace
    if (!errors.warned)
        errors.firstWarning = errors.manager.msg_code;
    errors.warned = true;
    if (errors.stopOnWarning)
        std::longjmp(errors.jump, 1);
}

void PrintNothing(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMostScans) {
        ErrorsOf(cinfo).tooManyScans = true;
        std::longjmp(ErrorsOf(cinfo).jump, 1);
    }
}

// Where a pass's rows go: into the target itself, or a band at a time into a
// buffer and from there turned into the target.
struct RowPlan {
    PixelTarget dst;
    uint8_t orientation = kOrientationUpright;
    uint32_t width = 0;   // of the image as stored, at the scale decoded
    uint32_t height = 0;
    bool cmyk = false;
    bool inverted = false;
    std::vector<uint8_t> band;
    std::vector<JSAMPROW> rows;
    uint32_t bandFirst = 0;  // the band being decoded
    uint32_t bandRows = 0;

    bool Turned() const { return orientation != kOrientationUpright; }
    PixelTarget Band() { return PixelTarget{band.data(), width, bandRows, width * 4}; }

    // The band's rows, cleared, with their pointers.
    void StartBand(uint32_t first)
    {
        bandFirst = first;
        bandRows = height - first < kBandRows ? height - first : kBandRows;
        std::memset(band.data(), 0, size_t(width) * 4 * bandRows);
        for (uint32_t i = 0; i < bandRows; ++i)
            rows[i] = band.data() + size_t(i) * width * 4;
    }
    // The band as far as it was decoded (rows not reached stay clear), turned
    // into the target.
    void EndBand()
    {
        const PixelTarget rowsDone = Band();
        if (cmyk)
            CmykToBgra(rowsDone, inverted);
        OrientRows(rowsDone.View(), bandFirst, height, orientation, dst);
    }
};

struct PassSetup {
    const uint8_t* data = nullptr;
    size_t count = 0;
    unsigned scaleDenominator = 1;
    unsigned scaleNumerator = 1;
    bool reduced = false;
};

// One pass of libjpeg over the data; false when it ended early (errors tell why).
// The pass's own state lives in the plan and the errors, outside this function,
// as a jump back from libjpeg leaves its locals undefined.
bool RunPass(jpeg_decompress_struct* cinfo, PassErrors* errors, const PassSetup* setup, RowPlan* plan)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_mem_src(cinfo, setup->data, static_cast<unsigned long>(setup->count));
    jpeg_read_header(cinfo, TRUE);
    cinfo->out_color_space = plan->cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    if (setup->reduced)
        cinfo->do_fancy_upsampling = FALSE;
    cinfo->scale_num = setup->scaleNumerator;
    cinfo->scale_denom = setup->scaleDenominator;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != plan->width || cinfo->output_height != plan->height)
        ExitOnError(reinterpret_cast<j_common_ptr>(cinfo));
    if (!plan->Turned()) {
        for (uint32_t y = 0; y < plan->height; ++y)
            plan->rows[y] = plan->dst.Row(y);
        while (cinfo->output_scanline < cinfo->output_height)
            jpeg_read_scanlines(cinfo, &plan->rows[cinfo->output_scanline],
                                cinfo->output_height - cinfo->output_scanline);
    } else {
        while (cinfo->output_scanline < cinfo->output_height) {
            plan->StartBand(cinfo->output_scanline);
            while (cinfo->output_scanline < plan->bandFirst + plan->bandRows)
                jpeg_read_scanlines(cinfo, &plan->rows[cinfo->output_scanline - plan->bandFirst],
                                    plan->bandFirst + plan->bandRows - cinfo->output_scanline);
            plan->EndBand();
            plan->bandRows = 0;
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

enum class PassEnd { Whole, Failed, Warned };

PassEnd Pass(const PassSetup& setup, RowPlan& plan, bool stopOnWarning, int& firstWarning)
{
    jpeg_decompress_struct cinfo;
    PassErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ExitOnError;
    errors.manager.emit_message = NoteMessage;
    errors.manager.output_message = PrintNothing;
    errors.stopOnWarning = stopOnWarning;
    jpeg_progress_mgr progress = {};
    progress.progress_monitor = LimitScans;
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    plan.bandRows = 0;
    const bool whole = RunPass(&cinfo, &errors, &setup, &plan);
    // A band cut short by an error goes out as far as it came, as rows decoded
    // straight into the target would.
    if (!whole && plan.bandRows > 0)
        plan.EndBand();
    jpeg_destroy_decompress(&cinfo);
    firstWarning = errors.firstWarning;
    if (whole && !errors.warned)
        return PassEnd::Whole;
    // An error ends the decoding even after a warning (TurboJPEG names such a
    // pass a warning, but answers failure): nothing of the picture came.
    if (errors.warned && !errors.tooManyScans && !errors.failed)
        return PassEnd::Warned;
    return PassEnd::Failed;
}

}  // namespace

namespace {

bool ReadHeaderPass(jpeg_decompress_struct* cinfo, PassErrors* errors, const uint8_t* data, size_t count)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(count));
    jpeg_read_header(cinfo, TRUE);
    return true;
}

// The stored size and colour space, as libjpeg reads them from the header.
bool ReadStoredHeader(const uint8_t* data, size_t count, int& width, int& height, J_COLOR_SPACE& space)
{
    jpeg_decompress_struct cinfo;
    PassErrors errors;
    cinfo.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = ExitOnError;
    errors.manager.emit_message = NoteMessage;
    errors.manager.output_message = PrintNothing;
    jpeg_create_decompress(&cinfo);
    const bool read = ReadHeaderPass(&cinfo, &errors, data, count);
    width = int(cinfo.image_width);
    height = int(cinfo.image_height);
    space = cinfo.jpeg_color_space;
    jpeg_destroy_decompress(&cinfo);
    return read;
}

bool Decode(const uint8_t* data, size_t count, const JpegInfo& info, const PixelTarget& dst, bool reduced,
            uint8_t orientation, bool strict)
{
    if (!data || count == 0 || count > 0x7FFFFFFF)
        return false;
    // libjpeg's own reading of the header: TurboJPEG's refuses samplings it
    // has no name for (Cb 1 x 1 beside Cr 2 x 2), which libjpeg decodes.
    int width = 0, height = 0;
    J_COLOR_SPACE space = JCS_UNKNOWN;
    if (!ReadStoredHeader(data, count, width, height, space) || uint32_t(width) != info.width ||
        uint32_t(height) != info.height)
        return false;
    const bool swap = SwapsSides(orientation);
    const uint32_t storedWidth = swap ? dst.height : dst.width;
    const uint32_t storedHeight = swap ? dst.width : dst.height;
    // The first of TurboJPEG's scales, largest first, that fits the target.
    PassSetup setup;
    setup.data = data;
    setup.count = count;
    setup.reduced = reduced;
    int factors = 0;
    const tjscalingfactor* scales = tjGetScalingFactors(&factors);
    int chosen = 0;
    while (chosen < factors && (uint32_t(TJSCALED(width, scales[chosen])) > storedWidth ||
                                uint32_t(TJSCALED(height, scales[chosen])) > storedHeight))
        ++chosen;
    if (!scales || chosen == factors || uint32_t(TJSCALED(width, scales[chosen])) != storedWidth ||
        uint32_t(TJSCALED(height, scales[chosen])) != storedHeight)
        return false;
    setup.scaleNumerator = unsigned(scales[chosen].num);
    setup.scaleDenominator = unsigned(scales[chosen].denom);

    RowPlan plan;
    plan.dst = dst;
    plan.orientation = orientation;
    plan.width = storedWidth;
    plan.height = storedHeight;
    plan.cmyk = space == JCS_CMYK || space == JCS_YCCK;
    plan.inverted = info.adobe || space == JCS_YCCK;
    try {
        if (plan.Turned()) {
            plan.band.resize(size_t(storedWidth) * 4 * kBandRows);
            plan.rows.resize(kBandRows);
        } else {
            plan.rows.resize(storedHeight);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    int firstWarning = 0;
    switch (Pass(setup, plan, true, firstWarning)) {
    case PassEnd::Whole:
        break;
    case PassEnd::Failed:
        return false;
    case PassEnd::Warned:
        if (strict)
            return false;
        // Data that ends before the image does leaves part of it blank: a failure.
        // A damaged stretch of scan data in a whole stream is decoded as well as it goes.
        if (firstWarning == JWRN_JPEG_EOF || firstWarning == JWRN_HIT_MARKER)
            return false;
        if (Pass(setup, plan, false, firstWarning) == PassEnd::Failed)
            return false;
        break;
    }
    if (plan.cmyk && !plan.Turned())
        CmykToBgra(dst, plan.inverted);
    return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t count, const JpegInfo& info, const PixelTarget& dst, bool reduced,
                uint8_t orientation)
{
    return Decode(data, count, info, dst, reduced, orientation, false);
}

bool DecodesWithoutWarning(const uint8_t* data, size_t count, const JpegInfo& info)
{
    uint32_t width = 0, height = 0;
    ChooseJpegScale(info.width, info.height, 1, 1, width, height);
    RasterImage small;
    return small.Allocate(width, height) && Decode(data, count, info, small.Target(), true, kOrientationUpright, true);
}

}  // namespace rasterlib
