#include "export/ComposeTitlePage.h"

#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "model/TalTemplate.h"

#include <windows.h>

#include <memory>

namespace {

const int kDateCapacity = 200;

void AddTextCells(TalPageExport& page, const CTalTemplate& pageTemplate, int32_t kind, const CString& text,
                  const CTalTextFormat* format)
{
    const CTalCellList* cells = pageTemplate.GetCells(kind);
    if (!cells)
        return;
    for (const CKWDoubleRect& cell : *cells)
        page.AddObject(new TalObjExport(text, cell, format));
}

}  // namespace

CString FormatTitlePageDate()
{
    wchar_t buffer[kDateCapacity] = {};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, buffer, kDateCapacity) <= 0)
        return CString();
    return CString(buffer);
}

void ComposeTitlePage(CTalDocProperties* properties, TalPageList& pages, bool)
{
    if (!properties)
        return;
    const CTalTemplate* pageTemplate = properties->GetTitlePageTemplate();
    if (!pageTemplate)
        return;

    std::unique_ptr<TalPageExport> page(new TalPageExport(kTitlePage, L"Title-page", nullptr));
    AddBackgroundImage(page.get(), static_cast<uint32_t>(pageTemplate->GetBackgroundPictureId()));

    const CTalCellList* logoCells = pageTemplate->GetCells(CTalTemplate::kCellLogo);
    if (logoCells && properties->m_logoPictureId != 0 && properties->m_insertLogo) {
        for (const CKWDoubleRect& cell : *logoCells)
            page->AddObject(new TalObjExport(static_cast<uint32_t>(properties->m_logoPictureId), cell, 0, false));
    }

    const bool styles = properties->m_useTextStyles != 0;
    auto format = [&](int32_t id) { return styles ? properties->GetTextFormat(id, false) : nullptr; };
    AddTextCells(*page, *pageTemplate, CTalTemplate::kCellTitle, properties->m_title, format(kTalFormatTitle));
    AddTextCells(*page, *pageTemplate, CTalTemplate::kCellSubject, properties->m_subject,
                 format(kTalFormatSubject));
    AddTextCells(*page, *pageTemplate, CTalTemplate::kCellAuthor, properties->m_author, format(kTalFormatAuthor));
    AddTextCells(*page, *pageTemplate, CTalTemplate::kCellCompany, properties->m_company,
                 format(kTalFormatCompany));
    AddTextCells(*page, *pageTemplate, CTalTemplate::kCellDescription, properties->m_description,
                 format(kTalFormatDescription));

    const CTalCellList* dateCells = pageTemplate->GetCells(CTalTemplate::kCellDate);
    if (dateCells && properties->m_insertDate) {
        for (const CKWDoubleRect& cell : *dateCells)
            page->AddObject(new TalObjExport(FormatTitlePageDate(), cell, format(kTalFormatDate)));
    }

    pages.push_back(page.get());
    page.release();
}
