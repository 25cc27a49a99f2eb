// PDFWriter: the export routine and the layout pass.
#include "export/pdf/PDFWriter.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <new>

#include "export/TalExportDocIFace.h"
#include "export/pdf/PDFFontName.h"
#include "framework/KWCodePage.h"
#include "framework/KWGraphics.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWRasterLib.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTextNote.h"
#include "platform/classlib/StringResource.h"
#include "resources/Strings.h"

namespace {

const wchar_t kDefaultFace[] = L"Arial";
const double kLayoutShare = 0.1;  // of the progress range, the rest goes to writing


}  // namespace

bool PDFWriter::Export(CTalExportDocIFace& document, const wchar_t* fileName, CKWProgressInterface* progress)
{
    if (!document.ComposeExportPages(false))
        return false;
    return ExportPages(document.GetExportPages(), document.GetExportProperties(), fileName, progress);
}

bool PDFWriter::ExportPages(const TalPageList& pages, const CTalDocProperties& properties, const wchar_t* fileName,
                            CKWProgressInterface* progress)
{
    m_output.Clear();
    if (pages.empty() || !fileName || !*fileName)
        return false;
    // The export runs inside a command handler: memory running out ends it
    // with a failure, not with an exception through the window procedure.
    try {
        return WriteReport(pages, properties, fileName, progress);
    } catch (const std::bad_alloc&) {
        m_file = nullptr;
        m_graphics = nullptr;
        m_output.Fail(fileName, ERROR_NOT_ENOUGH_MEMORY);
        m_output.Discard();
        return false;
    }
}

bool PDFWriter::WriteReport(const TalPageList& pages, const CTalDocProperties& properties, const wchar_t* fileName,
                          CKWProgressInterface* progress)
{
    m_pageList = &pages;
    m_properties = &properties;
    // Written beside the target under a name of its own: an earlier report of
    // the name stays whole until this one is complete.
    const CString temporary = m_output.Stage(fileName);
    if (temporary.IsEmpty())
        return false;
    std::unique_ptr<PDFFile> file(new PDFFile(temporary));
    if (!file->IsOpen()) {
        m_output.Fail(fileName, file->GetSystemError());
        m_output.Discard();
        return false;
    }
    m_file = file.get();

    if (progress) {
        CString message;
        AfxLoadStringResource(IDS_GENERATING_REPORT, message);
        progress->SetMessage(message);
        progress->SetStageShare(kLayoutShare);
        progress->BeginStage(static_cast<int>(pages.size()));
    }
    LayoutPages(progress);
    if (progress) {
        progress->Update();
        progress->SetStageShare(1.0 - kLayoutShare);
        progress->BeginStage(static_cast<int>(m_images.size() + m_pages.size() + m_fonts.size()));
    }

    bool ok = file->AssignObjectNumbers(static_cast<uint32_t>(m_pages.size()), static_cast<uint32_t>(m_images.size()),
                                        static_cast<uint32_t>(m_fonts.size()));
    if (ok) {
        file->WriteHeader();
        file->WriteInfo(properties.m_title, properties.m_subject, properties.m_author, properties.m_company,
                        properties.m_description);
        file->WriteCatalog();
        file->WriteOutlines(m_pages);
        file->WritePages(m_pages, m_images, m_fonts);
        ok = WritePageContents(progress) && !file->HasFailed();
    }
    if (ok) {
        file->WriteFonts(m_fonts, progress);
        file->WriteImages(m_images, g_rasterLib, progress);
        file->WriteXref();
        file->WriteTrailer();
    }
    ok = file->Finish() && ok;
    const DWORD error = file->GetSystemError();
    m_file = nullptr;
    file.reset();
    if (progress)
        progress->Update();
    if (ok)
        ok = m_output.Commit();
    else
        m_output.Fail(fileName, error);
    if (!ok)
        m_output.Discard();
    return ok;
}

std::wstring PDFWriter::FaceName(uint32_t fontIndex) const
{
    std::wstring face = m_properties ? m_properties->GetFontTable().GetString(fontIndex) : std::wstring();
    return face.empty() ? std::wstring(kDefaultFace) : face;
}

void PDFWriter::LayoutPages(CKWProgressInterface* progress)
{
    if (!m_pageList)
        return;
    double width = 0, height = 0;
    if (m_properties)
        m_properties->GetPageSize(width, height, true);
    for (const TalPageExport* exportPage : *m_pageList) {
        PDFPageRecord page;
        if (exportPage)
            page.name = exportPage->GetName();
        page.width = static_cast<float>(width * m_pointsPerTenthMm);
        page.height = static_cast<float>(height * m_pointsPerTenthMm);
        m_pageHeight = height * m_pointsPerTenthMm;
        const std::vector<TalObjExport*> none;
        for (const TalObjExport* object : exportPage ? exportPage->GetObjects() : none) {
            const ExportObjectData* data = object ? object->GetData() : nullptr;
            if (!data)
                continue;
            CString face;
            double size = 0;
            int style = 0, alignment = 0;
            switch (data->GetKind()) {
            case kExportText: {
                const CTalTextNote* note = static_cast<const ExportTextData*>(data)->GetNote();
                if (note)
                    LayoutNote(*note, page);
                break;
            }
            case kExportCommonImage:
            case kExportImage:
            case kExportWmImage: {
                const ExportImageData* image = static_cast<const ExportImageData*>(data);
                AddImage(m_samePictures.Written(image->GetImageKey()), image->GetRotation(), image->GetGrayscale(),
                         page);
                if (data->GetKind() == kExportCommonImage) {
                    data->GetFont(face, size, style, alignment, m_properties);
                    const CString description = image->GetString();
                    PDFFontRecord* font = RegisterFont(face.IsEmpty() ? kDefaultFace : face, uint8_t(style), page);
                    AddCodes(static_cast<uint32_t>(font - m_fonts.data()), description,
                             static_cast<size_t>(description.GetLength()));
                }
                break;
            }
            case kExportSimpleText:
            case kExportWatermarkText: {
                data->GetFont(face, size, style, alignment, m_properties);
                const CString text = data->GetKind() == kExportSimpleText
                                         ? static_cast<const ExportSimpleTextData*>(data)->GetText()
                                         : static_cast<const ExportWatermarkTextData*>(data)->GetText();
                PDFFontRecord* font = RegisterFont(face.IsEmpty() ? kDefaultFace : face, uint8_t(style), page);
                AddCodes(static_cast<uint32_t>(font - m_fonts.data()), text, static_cast<size_t>(text.GetLength()));
                break;
            }
            default:
                break;
            }
        }
        m_pages.push_back(std::move(page));
        if (progress)
            progress->Advance();
    }
}

void PDFWriter::LayoutNote(const CKWTextData& note, PDFPageRecord& page)
{
    // Every block of a note lists all the note's fonts; the note is walked once.
    auto known = m_noteFonts.find(&note);
    if (known == m_noteFonts.end()) {
        std::vector<uint32_t> fonts;
        const CString& text = note.GetText();
        const int length = text.GetLength();
        int runIndex = 0, runEnd = 0;
        for (int pos = 0; pos < length;) {
            const CKWCharFormat& run = note.LocateRun(pos, &runIndex, &runEnd);
            const int end = runEnd > pos && runEnd <= length ? runEnd : (runEnd > length ? length : pos + 1);
            PDFFontRecord* font = RegisterFont(FaceName(run.m_fontIndex).c_str(), run.m_style, page);
            const uint32_t index = static_cast<uint32_t>(font - m_fonts.data());
            AddCodes(index, static_cast<const wchar_t*>(text) + pos, static_cast<size_t>(end - pos));
            if (std::find(fonts.begin(), fonts.end(), index) == fonts.end())
                fonts.push_back(index);
            pos = end;
        }
        known = m_noteFonts.emplace(&note, std::move(fonts)).first;
    }
    for (uint32_t index : known->second) {
        if (std::find(page.fonts.begin(), page.fonts.end(), index) == page.fonts.end())
            page.fonts.push_back(index);
    }
}

void PDFWriter::AddImage(uint32_t imageKey, int32_t rotation, bool grayscale, PDFPageRecord& page)
{
    const uint32_t key = PDFImageRecordKey(imageKey, rotation, grayscale);
    auto found = m_imageIndex.find(key);
    if (found != m_imageIndex.end()) {
        page.images.push_back(found->second);
        return;
    }
    const uint32_t index = static_cast<uint32_t>(m_images.size());
    page.images.push_back(index);
    PDFImageRecord record;
    record.key = key;
    record.rotation = rotation;
    record.grayscale = grayscale ? 1 : 0;
    // Checked here, before any page is drawn, because a picture that goes in
    // as it is may need its placement turned.
    if (PDFNormalizeRotation(rotation) == 0 && !grayscale)
        PDFFile::CheckPassThrough(g_rasterLib, imageKey, record);
    m_images.push_back(record);
    m_imageIndex.emplace(key, index);
}

PDFFontRecord* PDFWriter::RegisterFont(const wchar_t* face, uint8_t style, PDFPageRecord& page)
{
    style &= 3;
    const std::wstring name = face ? face : L"";
    uint32_t index;
    auto found = m_fontIndex.find(std::make_pair(name, style));
    if (found != m_fontIndex.end()) {
        index = found->second;
    } else {
        // Keys are a hash of the face: a key that another face or style holds
        // already moves on to the next free one.
        uint32_t key = PDFFontKey(name.c_str(), style);
        while (m_fontKeys.count(key))
            ++key;
        index = static_cast<uint32_t>(m_fonts.size());
        PDFFontRecord record;
        record.key = key;
        record.name = name.c_str();
        record.ansiName = WideToAnsi(name.c_str());
        record.style = style;
        m_fonts.push_back(std::move(record));
        m_fontCodes.emplace_back(65536, false);
        m_fontIndex.emplace(std::make_pair(name, style), index);
        m_fontKeys.emplace(key, index);
    }
    if (std::find(page.fonts.begin(), page.fonts.end(), index) == page.fonts.end())
        page.fonts.push_back(index);
    return &m_fonts[index];
}

const PDFFontRecord* PDFWriter::FindFont(const wchar_t* face, uint8_t style) const
{
    auto found = m_fontIndex.find(std::make_pair(std::wstring(face ? face : L""), uint8_t(style & 3)));
    return found == m_fontIndex.end() ? nullptr : &m_fonts[found->second];
}

void PDFWriter::AddCodes(uint32_t fontIndex, const wchar_t* text, size_t length)
{
    std::vector<bool>& present = m_fontCodes[fontIndex];
    PDFFontRecord& font = m_fonts[fontIndex];
    for (size_t i = 0; i < length; ++i) {
        const uint16_t code = static_cast<uint16_t>(text[i]);
        if (!present[code]) {
            present[code] = true;
            font.codes.push_back(code);
        }
    }
}
