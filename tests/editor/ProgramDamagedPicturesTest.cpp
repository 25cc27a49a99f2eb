// Damaged pictures added to a report in the real program, as a user adds
// them with "Add Image": one warning names each file, and the HTML folder,
// the presentation's pictures and the PDF hold no byte of a damaged file;
// every picture written decodes whole with the system's own decoder.
#include "ProgramRun.h"
#include "UserInput.h"
#include "framework/KWPictureProblem.h"
#include "files/TalXmlSerializer.h"
#include "model/TalBaseDocument.h"
#include "model/TalPageTemplate.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"

#include "tests/files/DocumentTestSupport.h"
#include "tests/framework/KWTestFiles.h"
#include "tests/support/DamagedPictures.h"
#include "tests/support/TestJpegs.h"
#include "tests/support/KeepForReaders.h"
#include "tests/support/PrintedPdf.h"
#include "tests/support/WindowScreenshot.h"

#include <gtest/gtest.h>

#include <wincodec.h>

#include <turbojpeg.h>

#include <algorithm>

using edtest::CProgramRun;

namespace {

constexpr UINT kAddImage = 1151;
constexpr UINT kGeneratePdf = 32837;
constexpr UINT kGenerateHtml = 32838;
constexpr UINT kGeneratePpt = 32839;

// Decodes every pixel with the imaging component, not with the program's
// library; false for anything it cannot read whole.
bool DecodesWhole(const std::string& bytes, UINT& width, UINT& height)
{
    IWICImagingFactory* factory = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&factory))))
        return false;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converted = nullptr;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                                     DWORD(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
              SUCCEEDED(factory->CreateFormatConverter(&converted)) &&
              SUCCEEDED(converted->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                              0.0, WICBitmapPaletteTypeCustom));
    if (ok) {
        std::vector<BYTE> pixels(size_t(width) * height * 4);
        ok = SUCCEEDED(converted->CopyPixels(nullptr, width * 4, UINT(pixels.size()), pixels.data()));
    }
    for (IUnknown* held : std::initializer_list<IUnknown*>{converted, frame, decoder, stream, factory}) {
        if (held)
            held->Release();
    }
    return ok;
}

bool IsPictureName(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
    return extension == L"jpg" || extension == L"jpeg" || extension == L"png" || extension == L"gif" ||
           extension == L"bmp";
}

// Generates the report by the command into path, answering its file dialog
// and the picture warning before the writing, whose text goes to warning.
bool Generate(CProgramRun& program, UINT command, const std::wstring& path, const std::wstring& done,
              std::wstring& warning)
{
    program.PostCommand(command);
    HWND dialog = program.WaitForDialog();
    if (!dialog)
        return false;
    CProgramRun::AnswerFileDialog(dialog, path);
    HWND box = nullptr;
    if (!edtest::WaitFor([&] {
            box = program.FindDialog();
            warning = box && box != dialog ? CProgramRun::DialogText(box) : std::wstring();
            return warning.find(kKWPictureProblemsHeading) != std::wstring::npos;
        }))
        return false;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    const bool written = edtest::WaitFor([&] {
        return ::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES && !program.FindDialog();
    });
    if (HWND left = program.FindDialog())
        ADD_FAILURE() << "a window is left: " << testing::PrintToString(CProgramRun::Text(left)) << " "
                      << testing::PrintToString(CProgramRun::DialogText(left));
    return written;
}

}  // namespace

TEST(ProgramDamagedPictures, OneWarningNamesEachFileAndNoOutputHoldsItsBytes)
{
    using namespace testpictures;
    CKWTestTempFolder folder(L"edd");
    const std::string photo = EncodeJpeg(PhotoPixels(120, 80, 3), 120, 80);
    const std::string other = EncodeJpeg(PhotoPixels(90, 60, 9), 90, 60);
    const std::string png = GradientPng(40, 30);
    const std::string gif = GreyGif(30, 20);
    std::string changed = png;
    changed[PngChunkData(png, "IDAT") + 5] ^= 0x24;
    std::string flipped = gif;
    flipped[gif.size() - 1] ^= 0x5A;  // the trailer
    // A JPEG-coded TIFF whose coded data libjpeg finds corrupt.
    std::string scan = EncodeJpeg(PhotoPixels(96, 64, 7), 96, 64);
    for (size_t at = scan.find("\xFF\xDA") + 200; at < scan.size() - 200; at += 7)
        scan[at] = char(scan[at] ^ 0x5A);
    const struct {
        const wchar_t* name;
        std::string bytes;
        const wchar_t* problem;  // empty for the sound picture
    } files[] = {
        {L"sound.jpg", photo, L""},
        {L"truncated.jpg", other.substr(0, other.size() / 2), L" is damaged."},
        {L"bad crc.png", changed, L" is damaged."},
        {L"flipped.gif", flipped, L" is damaged."},
        {L"corrupt jpeg data.tif", StripTiff(96, 64, 3, 7, 6, scan, uint32_t(scan.size())), L" is damaged."},
        {L"empty.jpg", "", L" is empty."},
        {L"notes.jpg", "Meeting notes, not a picture.\r\n", L" is not a picture."},
        {L"large scan.tif", BigTiff(40, 30, std::string(40 * 30 * 3, '\x60')),
         L" is of a kind this program does not read."},
        {L"gone.jpg", EncodeJpeg(PhotoPixels(60, 40, 5), 60, 40), L""},
    };
    std::wstring list;
    for (const auto& file : files) {
        ASSERT_TRUE(WriteFileBytes(folder.Path() + file.name, file.bytes));
        list += L"\"" + std::wstring(file.name) + L"\" ";
    }

    // A report whose heading's page shows pictures, its page template beside the program.
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring data(self);
    data = data.substr(0, data.find_last_of(L'\\') + 1) + L"DATA\\";
    ::CreateDirectoryW(data.c_str(), nullptr);
    // Only this one goes again: the folder holds the templates the build ships.
    struct CRemoveData {
        std::wstring folder;
        ~CRemoveData() { ::DeleteFileW((folder + L"Pictures.otl").c_str()); }
    } removeData{data};
    WriteFileBytes(data + L"Pictures.otl", "<?xml version='1.0' encoding='utf-8' ?>\n<LeafTemplate>\n<LeafRectArray "
                                           "Type='3'><LeafRectArrayItem Left='0.1' Right='0.9' Top='0.1' "
                                           "Bottom='0.9'></LeafRectArrayItem></LeafRectArray>\n</LeafTemplate>\n");
    const std::wstring report = folder.Path() + L"Damaged.otd";
    {
        auto* page = new CTalPageTemplate;
        page->SetName(L"Pictures.otl");
        page->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.1, 0.9, 0.9));
        g_TemplateManager.AddPageTemplate(page);
        CTalBaseDocument model;
        CKWRefPtr<CTalSection> heading = model.GetProperties().GetHeadingSection();
        heading->SetOwnTemplate(1);
        heading->SetTemplateName(L"Pictures.otl");
        CTalXmlSerializer serializer;
        serializer.SetTemplateFolder(data.c_str());
        ASSERT_TRUE(serializer.SaveDocument(&model, report.c_str(), nullptr));
    }
    edtest::SetStartPrefs(3, L"", false);
    // "Add Image" opens at the folder of the pictures.
    edtest::SetPrefText(L"AddPicturePath", folder.Path());
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    program.PostCommand(kAddImage);
    HWND chooser = program.WaitForDialog();
    ASSERT_NE(nullptr, chooser);
    CProgramRun::AnswerFileDialog(chooser, list);

    // One warning, naming each damaged file once.
    HWND warning = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        warning = program.FindDialog();
        return warning && warning != chooser && ::IsWindow(warning);
    }));
    const std::wstring text = CProgramRun::DialogText(warning);
    for (const auto& file : files) {
        const std::wstring line = folder.Path() + file.name + file.problem;
        const size_t at = text.find(std::wstring(file.name));
        if (!*file.problem) {
            EXPECT_EQ(std::wstring::npos, at) << "the sound picture is not named";
            continue;
        }
        EXPECT_NE(std::wstring::npos, text.find(line)) << "no line for " << std::string(line.begin(), line.end());
        EXPECT_EQ(at, text.rfind(std::wstring(file.name))) << "named once";
    }
    ::PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    // gone.jpg goes: the save, which would lose it, is refused and says so.
    ASSERT_TRUE(edtest::WaitFor([&] { return ::DeleteFileW((folder.Path() + L"gone.jpg").c_str()) != FALSE; }));
    const std::string reportBefore = ReadFileBytes(report);
    program.PostCommand(57603);
    HWND saveErrors = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        saveErrors = program.FindDialog();
        return saveErrors && CProgramRun::DialogText(saveErrors).find(L"saving") != std::wstring::npos;
    }));
    ::PostMessageW(saveErrors, WM_COMMAND, IDOK, 0);
    HWND notSaved = program.WaitForDialogSaying(L"Cannot save the document!");
    ASSERT_NE(nullptr, notSaved);
    ::PostMessageW(notSaved, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    EXPECT_EQ(ReadFileBytes(report), reportBefore) << "the report's file as it was";

    // Every output names the damaged and the missing pictures by the user's
    // files, each time, and holds no damaged file's bytes.
    const std::wstring html = folder.Path() + L"out\\report.html";
    const std::wstring ppt = folder.Path() + L"out\\report.ppt";
    const std::wstring pdf = folder.Path() + L"out\\report.pdf";
    ASSERT_TRUE(::CreateDirectoryW((folder.Path() + L"out").c_str(), nullptr));
    std::wstring told[4];
    ASSERT_TRUE(Generate(program, kGeneratePdf, pdf, pdf, told[0]));
    ASSERT_TRUE(edtest::WaitFor([&] { return ReadFileBytes(pdf).find("%%EOF") != std::string::npos; }));
    ASSERT_TRUE(Generate(program, kGenerateHtml, html, html, told[1]));
    ASSERT_TRUE(Generate(program, kGeneratePpt, ppt, folder.Path() + L"out\\report_Images", told[2]));
    ASSERT_TRUE(edtest::WaitFor([&] { return ReadFileBytes(ppt).size() > 512; }));
    // Printed, the report names them too, before its pages go.
    const std::set<std::wstring> printedBefore = pdftest::PrintedFiles();
    ASSERT_TRUE(edtest::PrintByKeys(program));
    HWND printing = program.WaitForDialogSaying(kKWPictureProblemsHeading);
    ASSERT_NE(nullptr, printing);
    test_support::WriteWindowScreenshot(printing, L"editor_damaged_pictures_print_warning");
    told[3] = CProgramRun::DialogText(printing);
    ::PostMessageW(printing, WM_COMMAND, IDOK, 0);
    std::wstring printed;
    EXPECT_FALSE(pdftest::WaitForPrinted(L"Damaged", printedBefore, printed).empty());
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));
    for (const std::wstring& text : told) {
        EXPECT_NE(std::wstring::npos, text.find(L"Cannot open file " + folder.Path() + L"gone.jpg"));
        for (const auto& file : files) {
            if (*file.problem && file.bytes.size() > 0)
                EXPECT_NE(std::wstring::npos, text.find(folder.Path() + file.name + file.problem));
        }
        EXPECT_EQ(std::wstring::npos, text.find(L"ImagesCache")) << "no store copy is named";
    }

    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    size_t pictures = 0;
    for (const std::wstring& written : {folder.Path() + L"out\\report_data\\", folder.Path() + L"out\\report_Images\\"}) {
        for (const std::wstring& name : doctest::FilesIn(written)) {
            if (!IsPictureName(name))
                continue;
            const std::string bytes = ReadFileBytes(written + name);
            UINT width = 0, height = 0;
            EXPECT_TRUE(DecodesWhole(bytes, width, height)) << std::string(name.begin(), name.end());
            for (const auto& file : files) {
                if (*file.problem && !file.bytes.empty())
                    EXPECT_NE(bytes, file.bytes) << std::string(name.begin(), name.end());
            }
            ++pictures;
        }
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    // Six pictures in each of the two folders (and the HTML's navigation images).
    EXPECT_GE(pictures, 12u);
    const std::string document = ReadFileBytes(pdf);
    for (const auto& file : files) {
        if (*file.problem && file.bytes.size() > 64)
            // Its last bytes: coded data of its own, where the start holds tables any JPEG may share.
            EXPECT_EQ(std::string::npos, document.find(file.bytes.substr(file.bytes.size() - 48)))
                << std::string(file.name, file.name + wcslen(file.name));
    }
    EXPECT_NE(std::string::npos, document.find(photo)) << "the sound photograph goes in as it is";
    KeepForReaders("OT_PDF_CHECK_DIR", pdf, L"editor_damaged_pictures.pdf");
    KeepForReaders("OT_PPT_CHECK_DIR", ppt, L"editor_damaged_pictures.ppt");
    EXPECT_FALSE(program.FindDialog()) << "no second warning";
    EXPECT_TRUE(program.CloseWithoutSaving());
}

namespace {

// The pixels the imaging component decodes, B, G, R, A; empty when it cannot.
std::vector<BYTE> DecodedPixels(const std::string& bytes, UINT& width, UINT& height)
{
    std::vector<BYTE> pixels;
    IWICImagingFactory* factory = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&factory))))
        return pixels;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converted = nullptr;
    bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                                     DWORD(bytes.size()))) &&
              SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
              SUCCEEDED(factory->CreateFormatConverter(&converted)) &&
              SUCCEEDED(converted->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                              0.0, WICBitmapPaletteTypeCustom));
    if (ok) {
        pixels.resize(size_t(width) * height * 4);
        if (FAILED(converted->CopyPixels(nullptr, width * 4, UINT(pixels.size()), pixels.data())))
            pixels.clear();
    }
    for (IUnknown* held : std::initializer_list<IUnknown*>{converted, frame, decoder, stream, factory}) {
        if (held)
            held->Release();
    }
    return pixels;
}

bool DecodesWithoutWarning(const std::string& bytes)
{
    tjhandle tj = tjInitDecompress();
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    bool ok = tjDecompressHeader3(tj, data, static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                                  &colourspace) == 0;
    if (ok) {
        std::vector<unsigned char> pixels(size_t(width) * height * 4);
        ok = tjDecompress2(tj, data, static_cast<unsigned long>(bytes.size()), pixels.data(), width, width * 4, height,
                           TJPF_BGRX, TJFLAG_STOPONWARNING) == 0;
    }
    tjDestroy(tj);
    return ok;
}

// The placeholder picture as the program's resources hold it.
std::string PlaceholderBytes()
{
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(222), L"QUARTZ");
    if (!found)
        return std::string();
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(self, found)));
    return std::string(bytes, ::SizeofResource(self, found));
}

}  // namespace

TEST(ProgramDamagedPictures, TurnedPhotographsTheBlockMoverRefusesAndAnUndecodablePngComeOutReadable)
{
    using namespace testpictures;
    CKWTestTempFolder folder(L"edt");
    // Photographs recorded sideways whose coded data hold a coefficient the
    // standard tables cannot code: libjpeg-turbo's turn answers success with
    // bytes that do not decode. A PNG whose CRCs are right but whose first row
    // has a filter of 7. Sound photographs, one of them recorded sideways.
    std::string png = GradientPng(40, 30);
    {
        std::string raw;
        for (uint32_t y = 0; y < 30; ++y)
            raw += std::string(1, y == 0 ? '\x07' : '\0') + std::string(40 * 3, char(y * 8));
        const size_t at = PngChunkData(png, "IDAT");
        const uint32_t length = uint32_t(uint8_t(png[at - 6])) << 8 | uint8_t(png[at - 5]);
        std::string rebuilt = png.substr(0, at - 8);
        PngChunk(rebuilt, "IDAT", Deflated(raw));
        png = rebuilt + png.substr(at + length + 4);
    }
    const std::string photo = EncodeJpeg(PhotoPixels(128, 96, 5), 128, 96);
    const std::string sideways = photo.substr(0, 2) + ExifSegment(6, false) + photo.substr(2);
    const struct {
        const wchar_t* name;
        std::string bytes;
        bool undecodable;
    } files[] = {
        {L"eleven six.jpg", TurnedElevenBitJpeg(6, false), false},
        {L"eleven eight fill.jpg", TurnedElevenBitJpeg(8, true), false},
        {L"eleven three.jpg", TurnedElevenBitJpeg(3, false), false},
        {L"filter seven.png", png, true},
        {L"sound.jpg", photo, false},
        {L"sound sideways.jpg", sideways, false},
    };
    std::wstring list;
    for (const auto& file : files) {
        ASSERT_TRUE(WriteFileBytes(folder.Path() + file.name, file.bytes));
        list += L"\"" + std::wstring(file.name) + L"\" ";
    }
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring data(self);
    data = data.substr(0, data.find_last_of(L'\\') + 1) + L"DATA\\";
    ::CreateDirectoryW(data.c_str(), nullptr);
    struct CRemoveData {
        std::wstring folder;
        ~CRemoveData() { ::DeleteFileW((folder + L"Pictures.otl").c_str()); }
    } removeData{data};
    WriteFileBytes(data + L"Pictures.otl", "<?xml version='1.0' encoding='utf-8' ?>\n<LeafTemplate>\n<LeafRectArray "
                                           "Type='3'><LeafRectArrayItem Left='0.1' Right='0.9' Top='0.1' "
                                           "Bottom='0.9'></LeafRectArrayItem></LeafRectArray>\n</LeafTemplate>\n");
    const std::wstring report = folder.Path() + L"Turned.otd";
    {
        auto* page = new CTalPageTemplate;
        page->SetName(L"Pictures.otl");
        page->AddCell(CTalTemplate::kCellPictures, CKWDoubleRect(0.1, 0.1, 0.9, 0.9));
        g_TemplateManager.AddPageTemplate(page);
        CTalBaseDocument model;
        CKWRefPtr<CTalSection> heading = model.GetProperties().GetHeadingSection();
        heading->SetOwnTemplate(1);
        heading->SetTemplateName(L"Pictures.otl");
        CTalXmlSerializer serializer;
        serializer.SetTemplateFolder(data.c_str());
        ASSERT_TRUE(serializer.SaveDocument(&model, report.c_str(), nullptr));
    }
    edtest::SetStartPrefs(3, L"", false);
    edtest::SetPrefText(L"AddPicturePath", folder.Path());
    CProgramRun program;
    ASSERT_TRUE(program.Start(L"\"" + report + L"\""));
    ASSERT_TRUE(edtest::WaitFor([&] { return program.ReportFrames().size() == 1; }));
    program.PostCommand(kAddImage);
    HWND chooser = program.WaitForDialog();
    ASSERT_NE(nullptr, chooser);
    CProgramRun::AnswerFileDialog(chooser, list);

    // One warning, naming the undecodable picture and no other.
    HWND warning = nullptr;
    ASSERT_TRUE(edtest::WaitFor([&] {
        warning = program.FindDialog();
        return warning && warning != chooser && ::IsWindow(warning);
    }));
    const std::wstring text = CProgramRun::DialogText(warning);
    for (const auto& file : files) {
        const size_t at = text.find(std::wstring(file.name));
        if (file.undecodable)
            EXPECT_NE(std::wstring::npos, text.find(folder.Path() + file.name + L" is damaged."));
        else
            EXPECT_EQ(std::wstring::npos, at) << "a readable picture is not named";
    }
    ::PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(edtest::WaitFor([&] { return !program.FindDialog(); }));

    const std::wstring html = folder.Path() + L"out\\report.html";
    const std::wstring ppt = folder.Path() + L"out\\report.ppt";
    ASSERT_TRUE(::CreateDirectoryW((folder.Path() + L"out").c_str(), nullptr));
    std::wstring told[2];
    ASSERT_TRUE(Generate(program, kGenerateHtml, html, html, told[0]));
    ASSERT_TRUE(Generate(program, kGeneratePpt, ppt, folder.Path() + L"out\\report_Images", told[1]));
    ASSERT_TRUE(edtest::WaitFor([&] { return ReadFileBytes(ppt).size() > 512; }));
    for (const std::wstring& named : told)
        EXPECT_NE(std::wstring::npos, named.find(folder.Path() + L"filter seven.png is damaged."));

    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UINT placeholderWidth = 0, placeholderHeight = 0;
    const std::vector<BYTE> placeholder = DecodedPixels(PlaceholderBytes(), placeholderWidth, placeholderHeight);
    ASSERT_FALSE(placeholder.empty());
    size_t pictures = 0, placeholders = 0;
    for (const std::wstring& written : {folder.Path() + L"out\\report_data\\", folder.Path() + L"out\\report_Images\\"}) {
        for (const std::wstring& name : doctest::FilesIn(written)) {
            if (!IsPictureName(name))
                continue;
            const std::string where(name.begin(), name.end());
            const std::string bytes = ReadFileBytes(written + name);
            UINT width = 0, height = 0;
            const std::vector<BYTE> pixels = DecodedPixels(bytes, width, height);
            EXPECT_FALSE(pixels.empty()) << where;
            // The system's decoder carries on past damaged coded data: a JPEG
            // must also decode with libjpeg-turbo stopping at any warning.
            if (bytes.size() > 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8)
                EXPECT_TRUE(DecodesWithoutWarning(bytes)) << where;
            // The HTML folder names its pictures by number, the presentation's
            // by their files: the placeholder is known by its pixels.
            const bool isPlaceholder = width == placeholderWidth && height == placeholderHeight && pixels == placeholder;
            placeholders += isPlaceholder ? 1 : 0;
            if (name.find(L"filter seven") != std::wstring::npos)
                EXPECT_TRUE(isPlaceholder) << "the placeholder's pixels, " << where;
            if (name.find(L"eleven") != std::wstring::npos)
                EXPECT_EQ(16u, width) << where;
            // The presentation links a photograph recorded sideways as it
            // lies (its shape turns it): the stored size, recording no turn.
            if (name.find(L"sound sideways") != std::wstring::npos && written.find(L"Images") != std::wstring::npos) {
                EXPECT_EQ(128u, width) << where;
                EXPECT_EQ(96u, height) << where;
                EXPECT_TRUE(bytes == photo.substr(0, 2) + ExifSegment(1, false) + photo.substr(2)) << where;
            }
            ++pictures;
        }
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    EXPECT_GE(pictures, 12u);
    EXPECT_EQ(2u, placeholders) << "the undecodable picture in each folder";
    KeepForReaders("OT_PPT_CHECK_DIR", ppt, L"editor_turned_pictures.ppt");
    EXPECT_FALSE(program.FindDialog()) << "no second warning";
    EXPECT_TRUE(program.CloseWithoutSaving());
}
