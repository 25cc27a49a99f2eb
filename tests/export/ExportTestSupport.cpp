#include "tests/export/ExportTestSupport.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "export/ComposeTitlePage.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "model/TalTitlePageTemplate.h"
#include "model/TalWatermark.h"
#include "framework/KWRasterLib.h"
#include "tests/support/TestJpegs.h"
#include "tests/text/TextTestSupport.h"
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

namespace {

int g_templateCounter = 0;

void PutLe(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

CTalTemplate* FillTemplate(CTalTemplate* tmpl, const std::vector<TestCell>& cells, int32_t background)
{
    CString name;
    name.Format(L"ExportTestTemplate%d", ++g_templateCounter);
    tmpl->SetName(name);
    tmpl->SetTitle(name);
    tmpl->SetBackgroundPictureId(background);
    for (const TestCell& cell : cells)
        tmpl->AddCell(cell.kind, cell.rect);
    return tmpl;
}

}  // namespace

std::wstring CExportTestFolder::MakeFolder(const std::wstring& relative) const
{
    std::wstring path = Path();
    size_t start = 0;
    while (start < relative.size()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        path += relative.substr(start, end - start) + L"\\";
        ::CreateDirectoryW(path.c_str(), nullptr);
        start = end + 1;
    }
    return path;
}

std::string TestBmp(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string bmp = "BM";
    for (uint32_t v : {uint32_t(54 + stride * height), 0u, 54u, 40u, uint32_t(width), uint32_t(height), 0x00180001u})
        PutLe(bmp, v, 4);  // ends with one plane of 24 bits
    bmp += std::string(24, '\0');
    for (int y = height; y-- > 0;) {
        std::string row(size_t(stride), '\0');
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = char(x + y);
            row[size_t(x) * 3 + 1] = char(y);
            row[size_t(x) * 3 + 2] = char(x);
        }
        bmp += row;
    }
    return bmp;
}

bool WriteTestBmp(const std::wstring& path, int width, int height)
{
    return WriteFileBytes(path, TestBmp(width, height));
}

void FillNote(CTalTextNote& note, const wchar_t* text)
{
    const std::wstring s(text);
    note.ClearRuns();
    note.ClearParas();
    note.AssignText(CString(text));
    CKWCharFormat* run = new CKWCharFormat;
    run->m_count = static_cast<uint32_t>(s.size());
    note.AppendRun(run);
    AppendParagraphs(note, s);
    note.OnTextChanged();
    note.OnParasChanged();
}

CTalTextFormat TestFormat(int16_t size, uint8_t style, uint8_t align, uint32_t font, uint32_t colour)
{
    CTalTextFormat format;
    format.m_size = size;
    format.m_style = style;
    format.m_align = align;
    format.m_font = font;
    format.m_color = colour;
    return format;
}

CKWCharFormat TestRun(uint32_t count, uint8_t style, int16_t size, const CKWColor& colour, uint32_t font)
{
    CKWCharFormat run;
    run.m_count = count;
    run.m_style = style;
    run.m_size = size;
    run.m_color = colour;
    run.m_fontIndex = font;
    return run;
}

void SetNote(CTalTextNote& note, const wchar_t* text, const std::vector<CKWCharFormat>& runs,
             const std::vector<TestParagraph>& paragraphs)
{
    note.ClearRuns();
    note.ClearParas();
    note.AssignText(CString(text));
    for (const CKWCharFormat& run : runs)
        note.AppendRun(new CKWCharFormat(run));
    for (const TestParagraph& paragraph : paragraphs) {
        CKWParaFormat* record = new CKWParaFormat;
        record->m_count = paragraph.count;
        record->m_align = paragraph.align;
        record->m_leftIndent = paragraph.leftIndent;
        note.AppendPara(record);
    }
}

std::wstring NumberedLines(int count)
{
    std::wstring text;
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            text += L'\n';
        text += L"Line " + std::to_wstring(i);
    }
    return text;
}

CTalTemplate* AddTestPageTemplate(const std::vector<TestCell>& cells, int32_t background)
{
    CTalTemplate* tmpl = FillTemplate(new CTalPageTemplate(), cells, background);
    g_TemplateManager.AddPageTemplate(tmpl);
    return tmpl;
}

CTalTemplate* AddTestTitleTemplate(const std::vector<TestCell>& cells, int32_t background)
{
    CTalTemplate* tmpl = FillTemplate(new CTalTitlePageTemplate(), cells, background);
    g_TemplateManager.AddTitlePageTemplate(tmpl);
    return tmpl;
}

CKWRefPtr<CTalSection> AddSection(CTalSection* parent, const wchar_t* name)
{
    CKWRefPtr<CTalSection> section(new CTalSection(parent, name));
    const int count = parent->GetSubSectionCount();
    CKWRefPtr<CTalSection> last = count > 0 ? parent->GetSubSection(count - 1) : CKWRefPtr<CTalSection>();
    parent->InsertSubSection(section.Get(), last.Get());
    return section;
}

CKWRefPtr<CTalPicture> AddPicture(CTalSection* section, int32_t id, bool shown, bool newPage, const wchar_t* title)
{
    CKWRefPtr<CTalPicture> picture(new CTalPicture(section));
    picture->SetPictureId(id);
    picture->SetShown(shown ? 1 : 0);
    picture->SetNewPage(newPage ? 1 : 0);
    picture->SetTitle(title);
    CTalPictureList list{picture};
    section->InsertPictures(list, nullptr);
    return picture;
}

void UseTemplate(CTalSection* section, const CTalTemplate* pageTemplate)
{
    section->SetOwnTemplate(1);
    section->SetTemplateName(pageTemplate->GetName());
}

std::vector<int32_t> ObjectKinds(const TalPageExport& page)
{
    std::vector<int32_t> kinds;
    for (const TalObjExport* object : page.GetObjects())
        kinds.push_back(object->GetKind());
    return kinds;
}

std::string FormatFixed(double value)
{
    if (!std::isfinite(value))
        return "nan";
    const bool negative = value < 0;
    const long long scaled = std::llround(std::fabs(value) * 1e6);
    std::string digits = std::to_string(scaled / 1000000);
    std::string fraction = std::to_string(scaled % 1000000);
    fraction.insert(0, 6 - fraction.size(), '0');
    return (negative && scaled != 0 ? "-" : "") + digits + "." + fraction;
}

std::string Narrow(const wchar_t* text)
{
    std::string out;
    for (const wchar_t* p = text; p && *p; ++p) {
        if (*p < 128) {
            out.push_back(static_cast<char>(*p));
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof(buffer), "\\u%04X", static_cast<unsigned>(*p));
            out += buffer;
        }
    }
    return out;
}

void ExpectGolden(const wchar_t* name, const std::string& bytes)
{
    const std::string base = OT_TEST_DATA_DIR;
    std::wstring path = (base.size() && base[0] == '/' ? L"Z:" : L"") + std::wstring(base.begin(), base.end());
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    path += std::wstring(L"\\export\\") + name;
    if (std::getenv("OT_REGENERATE_GOLDENS")) {
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return;
    }
    const std::string golden = ReadFileBytes(path);
    ASSERT_FALSE(golden.empty()) << "missing golden file " << Narrow(name);
    size_t at = 0;
    while (at < golden.size() && at < bytes.size() && golden[at] == bytes[at])
        ++at;
    EXPECT_TRUE(at == golden.size() && at == bytes.size())
        << Narrow(name) << ": first difference at byte " << at << " of " << golden.size() << " (written " << bytes.size()
        << ")";
}

ReportDump::ReportDump(CTalDocProperties& properties, const std::map<uint32_t, std::string>& images)
: m_properties(properties), m_images(images)
{
    for (int id = 1; id <= 9; ++id) {
        if (const CTalTextFormat* format = properties.GetTextFormat(id, false))
            m_formats[format] = "doc" + std::to_string(id);
    }
    const std::vector<CTalWatermark*>& marks = properties.GetWatermarks();
    for (size_t i = 0; i < marks.size(); ++i)
        m_formats[&marks[i]->m_textFormat] = "wm" + std::to_string(i);
    m_today = Narrow(FormatTitlePageDate());
}

std::string ReportDump::Dump(const TalPageList& pages)
{
    std::ostringstream out;
    for (size_t p = 0; p < pages.size(); ++p) {
        const TalPageExport& page = *pages[p];
        out << "page " << p << " kind " << page.GetKind() << " \"" << Narrow(page.GetName()) << "\" section "
            << (page.GetSection() ? "\"" + Narrow(page.GetSection()->GetName()) + "\"" : std::string("-"))
            << "\n";
        for (const TalObjExport* object : page.GetObjects())
            out << "  " << Object(*object) << "\n";
    }
    return out.str();
}

std::string ReportDump::Rect(const CKWDoubleRect& r)
{
    return "(" + FormatFixed(r.left) + " " + FormatFixed(r.top) + " " + FormatFixed(r.right) + " " +
           FormatFixed(r.bottom) + ")";
}
std::string ReportDump::Format(const CTalTextFormat* format)
{
    if (!format)
        return "none";
    auto found = m_formats.find(format);
    return found == m_formats.end() ? "unknown" : found->second;
}
std::string ReportDump::Image(uint32_t key)
{
    auto found = m_images.find(key);
    return found == m_images.end() ? "key" + std::to_string(key) : found->second;
}
std::string ReportDump::Text(const CString& text)
{
    const std::string narrow = Narrow(text);
    return "\"" + (narrow == m_today && !narrow.empty() ? std::string("<today>") : narrow) + "\"";
}
std::string ReportDump::Font(const ExportObjectData& data)
{
    CString name;
    double size = 0;
    int style = 0, alignment = 0;
    data.GetFont(name, size, style, alignment, &m_properties);
    return "font " + Narrow(name) + " " + FormatFixed(size) + " " + std::to_string(style) + " " +
           std::to_string(alignment);
}

std::string ReportDump::Object(const TalObjExport& object)
{
    const ExportObjectData& data = *object.GetData();
    std::ostringstream line;
    line << "kind " << data.GetKind() << " ";
    switch (data.GetKind()) {
    case kExportText: {
        const ExportTextData& text = static_cast<const ExportTextData&>(data);
        line << "block " << text.GetStart() << ".." << text.GetEnd() << " " << Rect(text.GetRect()) << " flags "
             << int(text.GetLines().m_flags) << " segments " << text.GetLines().GetCount();
        for (const CKWTextLine& seg : text.GetLines().m_lines)
            line << "\n    seg " << seg.m_start << ".." << seg.m_end << " x " << FormatFixed(seg.m_left) << ".."
                 << FormatFixed(seg.m_right) << " base " << FormatFixed(seg.m_baseline);
        break;
    }
    case kExportCommonImage: {
        const ExportImageData& image = static_cast<const ExportImageData&>(data);
        line << "picture " << Image(image.GetImageKey()) << " " << Rect(image.GetRect()) << " rot "
             << image.GetRotation() << " gray " << image.GetGrayscale() << " desc " << Text(image.GetString())
             << " fmt " << Format(image.GetFormat()) << " " << Font(data);
        break;
    }
    case kExportImage:
        line << "background " << Image(static_cast<const ExportImageData&>(data).GetImageKey()) << " "
             << Rect(data.GetRect());
        break;
    case kExportSimpleText: {
        const ExportSimpleTextData& text = static_cast<const ExportSimpleTextData&>(data);
        line << "text " << Text(text.GetText()) << " " << Rect(text.GetRect()) << " fmt "
             << Format(text.GetFormat()) << " " << Font(data);
        break;
    }
    case kExportWatermarkText: {
        const ExportWatermarkTextData& text = static_cast<const ExportWatermarkTextData&>(data);
        line << "mark " << Text(text.GetText()) << " place " << text.GetPlace() << " fmt "
             << Format(text.GetFormat()) << " " << Font(data);
        break;
    }
    case kExportWmImage: {
        const ExportImageData& image = static_cast<const ExportImageData&>(data);
        double w = 0, h = 0;
        image.GetSize(w, h);
        line << "mark picture " << Image(image.GetImageKey()) << " size " << FormatFixed(w) << " x "
             << FormatFixed(h) << " place " << image.GetPlace();
        break;
    }
    default:
        line << "?";
    }
    return line.str();
}

void BuildVariedReport(CTalDocProperties& doc, const std::wstring& folder, std::map<uint32_t, std::string>& images)
{
    auto Image = [&](const wchar_t* name, int width, int height) {
        const std::wstring path = folder + name;
        const std::string ascii = Narrow(name);
        const bool jpeg = ascii.find(".jpg") != std::string::npos;
        EXPECT_TRUE(jpeg ? WriteFileBytes(path, testpictures::EncodeJpeg(testpictures::PhotoPixels(width, height, 1), width, height))
                         : WriteTestBmp(path, width, height));
        const uint32_t id = g_rasterLib.GetPictureId(path.c_str());
        images[id] = ascii;
        return id;
    };
    const uint32_t logo = Image(L"logo.bmp", 64, 32);
    const uint32_t paper = Image(L"paper.bmp", 20, 28);
    const uint32_t stamp = Image(L"stamp.bmp", 40, 40);
    uint32_t photos[12];
    for (int i = 0; i < 12; ++i)
        photos[i] = Image((L"photo" + std::to_wstring(i) + (i ? L".bmp" : L".jpg")).c_str(), 30 + 10 * i, 60 - 3 * i);

    doc.m_title = L"Survey of the North Shore";
    doc.m_subject = L"Field report";
    doc.m_author = L"R. Tallier";
    doc.m_company = L"Kestrel Works";
    doc.m_description = L"Pictures and notes of the spring survey.";
    doc.m_logoPictureId = static_cast<int32_t>(logo);
    doc.m_insertLogo = 1;
    doc.m_insertDate = 1;
    doc.m_insertTitlePage = 1;
    doc.m_insertContents = 1;
    doc.m_insertWatermarks = 1;
    doc.m_numberSections = 1;
    doc.m_useDescription = 0;
    doc.m_grayscale = 1;
    doc.m_useTextStyles = 1;
    const uint32_t times = doc.GetFontTable().FindOrAdd(L"Times New Roman");
    for (int id = 1; id <= 9; ++id) {
        CTalTextFormat* format = doc.GetTextFormat(id, true);
        format->m_size = static_cast<int16_t>(8 + 2 * id);
        format->m_style = static_cast<uint8_t>(id % 8);
        format->m_align = static_cast<uint8_t>(id % 3);
        format->m_font = id % 2 ? times : 7;  // 7: beyond the table
    }

    auto mark = [&doc](int32_t kind, int32_t place, bool front) {
        CTalWatermark* added = new CTalWatermark;
        added->m_kind = kind;
        added->m_place = place;
        added->m_sendToFront = front ? 1 : 0;
        doc.AddWatermark(added);
        return added;
    };
    CTalWatermark* text = mark(CTalWatermark::kText, 4, false);
    text->m_text = L"CONFIDENTIAL";
    text->m_textFormat.m_size = 40;
    for (const bool millimetres : {true, false}) {
        CTalWatermark* picture = mark(CTalWatermark::kImage, millimetres ? 2 : 6, millimetres);
        picture->m_pictureId = static_cast<int32_t>(stamp);
        picture->m_unit = millimetres ? CTalWatermark::kUnitMillimetre : CTalWatermark::kUnitInch;
        picture->m_width = millimetres ? 50.8 : 1.5;
        picture->m_height = millimetres ? 25.4 : 0.75;
    }
    mark(CTalWatermark::kPageNumber, 7, true)->m_firstNumber = 3;

    const CTalTemplate* title = AddTestTitleTemplate({{CTalTemplate::kCellTitle, {0.1, 0.1, 0.9, 0.2}},
                                                      {CTalTemplate::kCellSubject, {0.1, 0.22, 0.9, 0.27}},
                                                      {CTalTemplate::kCellAuthor, {0.1, 0.6, 0.9, 0.64}},
                                                      {CTalTemplate::kCellCompany, {0.1, 0.65, 0.9, 0.69}},
                                                      {CTalTemplate::kCellDescription, {0.1, 0.7, 0.9, 0.8}},
                                                      {CTalTemplate::kCellLogo, {0.35, 0.3, 0.65, 0.5}},
                                                      {CTalTemplate::kCellDate, {0.1, 0.9, 0.9, 0.95}}},
                                                     static_cast<int32_t>(paper));
    doc.m_titleTemplateName = title->GetName();
    // Two pictures above a text cell.
    const CTalTemplate* twoUp = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.03, 0.9, 0.07}},
                                                     {CTalTemplate::kCellPictures, {0.1, 0.1, 0.48, 0.45}},
                                                     {CTalTemplate::kCellPictures, {0.52, 0.1, 0.9, 0.45}},
                                                     {CTalTemplate::kCellText, {0.1, 0.5, 0.9, 0.6}}},
                                                    static_cast<int32_t>(paper));
    // The heading in the middle, three pictures, two text cells.
    const CTalTemplate* middle = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.45, 0.9, 0.52}},
                                                      {CTalTemplate::kCellPictures, {0.1, 0.05, 0.3, 0.25}},
                                                      {CTalTemplate::kCellPictures, {0.4, 0.05, 0.6, 0.25}},
                                                      {CTalTemplate::kCellPictures, {0.7, 0.05, 0.9, 0.25}},
                                                      {CTalTemplate::kCellText, {0.1, 0.28, 0.48, 0.42}},
                                                      {CTalTemplate::kCellText, {0.52, 0.28, 0.9, 0.42}},
                                                      {CTalTemplate::kCellHeading, {0.1, 0.94, 0.9, 0.98}}});
    // Text only.
    const CTalTemplate* textOnly = AddTestPageTemplate({{CTalTemplate::kCellHeading, {0.1, 0.05, 0.9, 0.1}},
                                                        {CTalTemplate::kCellText, {0.1, 0.12, 0.9, 0.3}}});

    CKWRefPtr<CTalSection> heading = doc.GetHeadingSection();
    heading->SetName(L"Survey");
    UseTemplate(heading.Get(), twoUp);
    CKWRefPtr<CTalPicture> harbour = AddPicture(heading.Get(), photos[0], true, false, L"Harbour & \"pier\" a&lt;b");
    harbour->SetGrayscale(CTalPicture::kNo);
    harbour->SetUseDescription(CTalPicture::kYes);
    AddPicture(heading.Get(), photos[1], false, false, L"Hidden one");
    CKWRefPtr<CTalPicture> rotated = AddPicture(heading.Get(), photos[2], true, true, L"Lighthouse");
    rotated->SetAngle(270);
    rotated->SetGrayscale(CTalPicture::kNo);
    rotated->SetUseDescription(CTalPicture::kYes);
    FillNote(*heading->GetTextNote(), (L"Costs: a &lt; b & c\n" + NumberedLines(12)).c_str());

    CKWRefPtr<CTalSection> alpha = AddSection(heading.Get(), L"Alpha");
    UseTemplate(alpha.Get(), middle);
    for (int i = 3; i < 10; ++i) {
        CKWRefPtr<CTalPicture> picture =
            AddPicture(alpha.Get(), photos[i], i != 5, i == 8, (L"Alpha " + std::to_wstring(i)).c_str());
        picture->SetAngle(90 * (i % 4));
        picture->SetUseDescription(i % 2 ? CTalPicture::kYes : CTalPicture::kDocumentDefault);
        picture->SetGrayscale(i % 3 ? CTalPicture::kDocumentDefault : CTalPicture::kNo);
    }
    std::wstring paragraphs;
    for (int i = 0; i < 40; ++i)
        paragraphs += L"Paragraph " + std::to_wstring(i + 1) +
                      L": the survey walked the shore from the harbour to the point and noted each mark.\n";
    FillNote(*alpha->GetTextNote(), paragraphs.c_str());

    CKWRefPtr<CTalSection> beta = AddSection(heading.Get(), L"R&D <north>");
    CKWRefPtr<CTalSection> betaOne = AddSection(beta.Get(), L"Beta one");
    AddPicture(betaOne.Get(), photos[10]);
    CKWRefPtr<CTalSection> deep = AddSection(betaOne.Get(), L"Deep notes");
    UseTemplate(deep.Get(), textOnly);
    FillNote(*deep->GetTextNote(), NumberedLines(60).c_str());
    AddSection(deep.Get(), L"Deepest, empty");

    CKWRefPtr<CTalSection> gamma = AddSection(heading.Get(), L"Gamma");
    AddPicture(gamma.Get(), photos[11], false, true, L"Only on its own page");

    CKWRefPtr<CTalSection> delta = AddSection(heading.Get(), L"Delta");
    delta->SetOwnTemplate(1);
    delta->SetTemplateName(L"a template nobody has");
    AddPicture(delta.Get(), photos[0]);
    AddPicture(AddSection(delta.Get(), L"Delta child").Get(), photos[1]);
}
