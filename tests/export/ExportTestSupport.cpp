#include "tests/export/ExportTestSupport.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <iterator>

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
#include "text/KWCharFormat.h"
#include "text/KWParaFormat.h"

namespace {

int g_templateCounter = 0;

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(path + L"\\");
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

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

CExportTestFolder::CExportTestFolder()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    wchar_t name[64];
    std::swprintf(name, 64, L"ot_export_%lu_%d\\", ::GetCurrentProcessId(), ++counter);
    m_path = std::wstring(temp) + name;
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

CExportTestFolder::~CExportTestFolder()
{
    RemoveTree(m_path);
}

std::wstring CExportTestFolder::MakeFolder(const std::wstring& relative) const
{
    std::wstring path = m_path;
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

std::wstring CExportTestFolder::Touch(const std::wstring& relative) const
{
    const std::wstring path = m_path + relative;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    return path;
}

bool WriteTestBmp(const std::wstring& path, int width, int height)
{
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(height);
    std::string bytes;
    bytes += "BM";
    PutLe(bytes, 54 + pixelBytes, 4);
    PutLe(bytes, 0, 4);
    PutLe(bytes, 54, 4);
    PutLe(bytes, 40, 4);
    PutLe(bytes, static_cast<uint32_t>(width), 4);
    PutLe(bytes, static_cast<uint32_t>(height), 4);
    PutLe(bytes, 1, 2);
    PutLe(bytes, 24, 2);
    PutLe(bytes, 0, 4);
    PutLe(bytes, pixelBytes, 4);
    PutLe(bytes, 2835, 4);
    PutLe(bytes, 2835, 4);
    PutLe(bytes, 0, 4);
    PutLe(bytes, 0, 4);
    for (int y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < stride; ++x)
            bytes.push_back(static_cast<char>((x * 7 + static_cast<uint32_t>(y) * 13) & 0xFF));
    }
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
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
    uint32_t count = 0;
    for (wchar_t ch : s) {
        ++count;
        if (ch == L'\n') {
            CKWParaFormat* para = new CKWParaFormat;
            para->m_count = count;
            note.AppendPara(para);
            count = 0;
        }
    }
    CKWParaFormat* last = new CKWParaFormat;
    last->m_count = count;
    note.AppendPara(last);
    note.OnTextChanged();
    note.OnParasChanged();
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
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return;
    }
    const std::string golden = ReadTestFile(path);
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
