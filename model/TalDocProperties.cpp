#include "model/TalDocProperties.h"

#include <utility>
#include <vector>

#include "framework/KWMeasure.h"
#include "model/TalCommandHistory.h"
#include "model/TalPaperSizes.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTextNote.h"
#include "model/TalWatermark.h"

namespace {

// Report documents' file-format flag.
const uint32_t kReportDocumentFlag = 2048;
// Measurement-unit table index of millimetres, the unit of a bare number.
const int kMillimetreUnit = 8;

}  // namespace

CTalDocProperties::CTalDocProperties() : m_history(new CTalCommandHistory)
{
    m_heading = new CTalSection(nullptr, kHeadingName);
    m_heading->SetCommandHistory(m_history.get());
    m_heading->SetFontTable(&m_fontTable);
    const auto& pageTemplates = g_TemplateManager.GetPageTemplates();
    if (!pageTemplates.empty()) {
        m_heading->SetOwnTemplate(1);
        m_heading->SetTemplateName(pageTemplates.front()->GetName());
    }
    const auto& titleTemplates = g_TemplateManager.GetTitlePageTemplates();
    if (!titleTemplates.empty())
        m_titleTemplateName = titleTemplates.front()->GetName();
}

CTalDocProperties::~CTalDocProperties()
{
    if (m_heading) {
        m_heading->Detach();
        m_heading.Release();
    }
    DeleteWatermarks();
    m_textFormats.clear();
    // Commands still holding removed sections free them here, before the
    // font table goes.
    m_history.reset();
}

void CTalDocProperties::Assign(CTalDocProperties& other)
{
    if (&other == this)
        return;
    m_title = other.m_title;
    m_subject = other.m_subject;
    m_author = other.m_author;
    m_company = other.m_company;
    m_description = other.m_description;
    m_imageSaveType = other.m_imageSaveType;

    m_paperKind = other.m_paperKind;
    m_paperRow = other.m_paperRow;
    m_customWidth = other.m_customWidth;
    m_customHeight = other.m_customHeight;
    m_portrait = other.m_portrait;
    m_printWidth = other.m_printWidth;
    m_printHeight = other.m_printHeight;
    m_printOrientation = other.m_printOrientation;

    m_insertLogo = other.m_insertLogo;
    m_insertDate = other.m_insertDate;
    m_insertWatermarks = other.m_insertWatermarks;
    m_logoPictureId = other.m_logoPictureId;
    m_titleTemplateName = other.m_titleTemplateName;
    m_exportType = other.m_exportType;
    m_insertTitlePage = other.m_insertTitlePage;
    m_insertContents = other.m_insertContents;
    m_numberSections = other.m_numberSections;
    m_grayscale = other.m_grayscale;
    m_useDescription = other.m_useDescription;
    m_useTextStyles = other.m_useTextStyles;

    // The other tree's content moves behind whatever this heading holds.
    CTalSection* source = other.m_heading.Get();
    const CTalSectionList children = source->GetSubSections();
    const CTalPictureList pictures = source->GetPictures();
    source->ClearLists();
    for (const auto& child : children)
        m_heading->InsertSubSection(child.Get(), m_heading->GetSubSection(m_heading->GetSubSectionCount() - 1).Get());
    for (const auto& picture : pictures)
        m_heading->InsertPicture(m_heading->GetPictureCount(), picture.Get());

    // The watermarks held before would otherwise be lost without being freed.
    DeleteWatermarks();
    m_watermarks.swap(other.m_watermarks);

    m_textFormats.clear();
    for (const auto& entry : other.m_textFormats)
        m_textFormats[entry.first].reset(new CTalTextFormat(*entry.second));

    m_heading->GetTextNote()->Copy(*source->GetTextNote());
    m_heading->SetOwnTemplate(source->GetOwnTemplate());
    m_heading->SetTemplateName(source->GetTemplateName());
    m_heading->SetName(source->GetName());

    // The moved text notes keep their font indices.
    m_fontTable = other.m_fontTable;
}

bool CTalDocProperties::GetPageSizeText(bool swapForOrientation, CString& width, CString& height) const
{
    CString w;
    CString h;
    switch (m_paperKind) {
    case kPaperTable:
        // The row comes from files: one outside the table names no size.
        if (!IsValidPaperRow(m_paperRow))
            return false;
        w = GetPaperWidthText(m_paperRow);
        h = GetPaperHeightText(m_paperRow);
        break;
    case kPaperPrint:
        FormatMeasure(w, m_printWidth, kMillimetreUnit, true);
        FormatMeasure(h, m_printHeight, kMillimetreUnit, true);
        break;
    case kPaperCustom:
        w = m_customWidth;
        h = m_customHeight;
        break;
    default:
        return false;
    }
    if (swapForOrientation && m_portrait == 0)
        std::swap(w, h);
    width = w;
    height = h;
    return true;
}

void CTalDocProperties::GetPageSize(double& width, double& height, bool applyOrientation) const
{
    width = 0;
    height = 0;
    switch (m_paperKind) {
    case kPaperTable:
        if (IsValidPaperRow(m_paperRow)) {
            width = ParseMeasure(GetPaperWidthText(m_paperRow), kMillimetreUnit);
            height = ParseMeasure(GetPaperHeightText(m_paperRow), kMillimetreUnit);
        }
        break;
    case kPaperPrint:
        width = m_printWidth;
        height = m_printHeight;
        break;
    case kPaperCustom:
        width = ParseMeasure(m_customWidth, kMillimetreUnit);
        height = ParseMeasure(m_customHeight, kMillimetreUnit);
        break;
    default:
        break;
    }
    if (applyOrientation && m_portrait == 0)
        std::swap(width, height);
}

CTalTemplate* CTalDocProperties::GetTitlePageTemplate() const
{
    return g_TemplateManager.FindTitlePageTemplate(m_titleTemplateName);
}

CString CTalDocProperties::GetSectionHeading(const CTalSection* section) const
{
    if (!section)
        return CString();
    if (!m_numberSections || !section->PeekParent())
        return section->GetName();
    // Positions counted from 1 among siblings, from the section up to the
    // child of the top section, then joined outermost first.
    std::vector<int> numbers;
    for (const CTalSection* s = section; s->PeekParent(); s = s->PeekParent())
        numbers.push_back(s->PeekParent()->IndexOfSubSection(s) + 1);
    CString heading;
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) {
        if (!heading.IsEmpty())
            heading += L'.';
        heading.AppendFormat(L"%d", *it);
    }
    heading += L' ';
    heading += section->GetName();
    return heading;
}

CTalTextFormat* CTalDocProperties::GetTextFormat(int32_t id, bool create)
{
    auto found = m_textFormats.find(id);
    if (found != m_textFormats.end())
        return found->second.get();
    if (!create)
        return nullptr;
    CTalTextFormat* format = new CTalTextFormat;
    m_textFormats[id].reset(format);
    return format;
}

void CTalDocProperties::SetTextFormat(int32_t id, CTalTextFormat* format)
{
    if (!format) {
        m_textFormats.erase(id);
        return;
    }
    std::unique_ptr<CTalTextFormat>& slot = m_textFormats[id];
    if (slot.get() != format)
        slot.reset(format);
}

std::vector<int32_t> CTalDocProperties::GetStoredTextFormatIds() const
{
    std::vector<int32_t> ids;
    for (int32_t id = kTalFormatTitle; m_textFormats.count(id) != 0; ++id)
        ids.push_back(id);
    return ids;
}

void CTalDocProperties::AddWatermark(CTalWatermark* watermark)
{
    if (watermark)
        m_watermarks.push_back(watermark);
}

void CTalDocProperties::DeleteWatermarks()
{
    std::vector<CTalWatermark*> watermarks;
    watermarks.swap(m_watermarks);
    for (CTalWatermark* watermark : watermarks)
        delete watermark;
}

uint32_t GetConst2048(const wchar_t* path) { return kReportDocumentFlag; }
