#include "export/ComposeSectionPages.h"

#include "export/ComposePageSize.h"
#include "export/TalTextExportManager.h"
#include "model/TalDocProperties.h"
#include "model/TalPicture.h"
#include "model/TalSection.h"
#include "model/TalTemplate.h"
#include "model/TalTextNote.h"

#include <memory>

namespace {

const CKWDoubleRect kWholePage(0, 0, 1, 1);

// What every page of one section shares.
struct SectionLook {
    CTalSection* section;
    CTalDocProperties* properties;
    const std::vector<CTalWatermark*>* watermarks;
    const CTalTemplate* pageTemplate;
    const CTalCellList* headingCells;
    CString heading;
    const CTalTextFormat* headingFormat;
    const CTalTextFormat* descriptionFormat;
    bool watermarksOn;
};

std::unique_ptr<TalPageExport> BeginPage(const SectionLook& look, const TalPageList& pages, int& pageOffset)
{
    std::unique_ptr<TalPageExport> page(new TalPageExport(kSectionPage, look.section->GetName(), look.section));
    AddBackgroundImage(page.get(), static_cast<uint32_t>(look.pageTemplate->GetBackgroundPictureId()));
    pageOffset = CountNumberedPages(pages);
    if (look.watermarksOn)
        AddWatermarks(page.get(), *look.watermarks, false, pageOffset);
    return page;
}

void EndPage(const SectionLook& look, std::unique_ptr<TalPageExport> page, TalPageList& pages, int pageOffset)
{
    if (look.watermarksOn)
        AddWatermarks(page.get(), *look.watermarks, true, pageOffset);
    pages.push_back(page.get());
    page.release();
}

void AddPicture(const SectionLook& look, TalPageExport& page, const CTalPicture& picture,
                const CKWDoubleRect& rect)
{
    std::unique_ptr<TalObjExport> object(
        new TalObjExport(static_cast<uint32_t>(picture.GetPictureId()), rect, picture.GetAngle(),
                         picture.IsGrayscale(look.properties->m_grayscale != 0)));
    if (picture.IsUseDescription(look.properties->m_useDescription != 0)) {
        ExportImageData* data = object->GetImageRecord();
        data->SetString(picture.GetTitle());
        data->SetFormat(look.descriptionFormat);
    }
    page.AddObject(object.release());
}

void AddTextBlocks(TalPageExport& page, CTalTextNote* note, const CTalTextPage& blocks)
{
    for (const CTalTextBlock& block : blocks)
        page.AddObject(new TalObjExport(note, block.start, block.end, block.rect, block.lines));
}

void AddHeadings(const SectionLook& look, TalPageExport& page)
{
    if (!look.headingCells)
        return;
    for (const CKWDoubleRect& cell : *look.headingCells)
        page.AddObject(new TalObjExport(look.heading, cell, look.headingFormat));
}

}  // namespace

CString MakeSectionHeading(const CString& name, const std::vector<int>& outline, bool numbering)
{
    if (!numbering || outline.empty())
        return name;
    CString heading;
    for (size_t i = 0; i < outline.size(); ++i) {
        if (i > 0)
            heading += L'.';
        heading.AppendFormat(L"%d", outline[i]);
    }
    heading += L' ';
    heading += name;
    return heading;
}

void ComposeSectionPages(CKWRefPtr<CTalSection> section, TalPageList& pages,
                         const std::vector<CTalWatermark*>& watermarks, CTalDocProperties* properties,
                         std::vector<int> outline, CKWRefPtr<CTalSection> marked, int* firstPage,
                         bool printerSize)
{
    if (!section || !properties)
        return;
    if (marked && firstPage && marked == section)
        *firstPage = static_cast<int>(pages.size()) + 1;

    const CTalTemplate* pageTemplate = section->GetPageTemplate();
    if (!pageTemplate)
        return;
    const CTalCellList* pictureCells = pageTemplate->GetCells(CTalTemplate::kCellPictures);
    CTalTextNote* note = section->GetTextNote();
    note->UpdateLayout();

    double pageWidth = 0, pageHeight = 0;
    GetComposePageSize(*properties, printerSize, pageWidth, pageHeight);

    const CTalPictureList& pictures = section->GetPictures();
    int shown = 0;
    for (const CKWRefPtr<CTalPicture>& picture : pictures) {
        if (picture && picture->GetShown())
            ++shown;
    }
    // An empty picture-cell list counts as a missing one: one cell, no division by zero.
    const int cellCount = pictureCells && !pictureCells->empty() ? static_cast<int>(pictureCells->size()) : 1;
    const int picturePages = (shown + cellCount - 1) / cellCount;

    CTalTextPages textPages;
    CTalTextExportManager(note, pageTemplate, picturePages, pageWidth, pageHeight).Split(textPages);

    const bool styles = properties->m_useTextStyles != 0;
    SectionLook look;
    look.section = section.Get();
    look.properties = properties;
    look.watermarks = &watermarks;
    look.pageTemplate = pageTemplate;
    look.headingCells = pageTemplate->GetCells(CTalTemplate::kCellHeading);
    look.heading = MakeSectionHeading(section->GetName(), outline, properties->m_numberSections != 0);
    look.headingFormat = styles ? properties->GetTextFormat(kTalFormatSection, false) : nullptr;
    look.descriptionFormat = styles ? properties->GetTextFormat(kTalFormatImageName, false) : nullptr;
    look.watermarksOn = properties->m_insertWatermarks != 0;

    size_t nextPicture = 0;
    size_t nextTextPage = 0;
    for (int p = 0; p < picturePages; ++p) {
        int offset = 0;
        std::unique_ptr<TalPageExport> page = BeginPage(look, pages, offset);
        if (pictureCells) {
            for (const CKWDoubleRect& cell : *pictureCells) {
                while (nextPicture < pictures.size() &&
                       !(pictures[nextPicture] && pictures[nextPicture]->GetShown()))
                    ++nextPicture;
                if (nextPicture >= pictures.size())
                    break;
                AddPicture(look, *page, *pictures[nextPicture], cell);
                ++nextPicture;
            }
        }
        if (nextTextPage < textPages.size())
            AddTextBlocks(*page, note, textPages[nextTextPage++]);
        AddHeadings(look, *page);
        EndPage(look, std::move(page), pages, offset);
    }

    while (nextTextPage < textPages.size()) {
        int offset = 0;
        std::unique_ptr<TalPageExport> page = BeginPage(look, pages, offset);
        AddTextBlocks(*page, note, textPages[nextTextPage++]);
        AddHeadings(look, *page);
        EndPage(look, std::move(page), pages, offset);
    }

    for (const CKWRefPtr<CTalPicture>& picture : pictures) {
        if (!picture || !picture->GetNewPage())
            continue;
        int offset = 0;
        std::unique_ptr<TalPageExport> page = BeginPage(look, pages, offset);
        AddPicture(look, *page, *picture, kWholePage);
        EndPage(look, std::move(page), pages, offset);
    }

    outline.push_back(1);
    for (const CKWRefPtr<CTalSection>& child : section->GetSubSections()) {
        ComposeSectionPages(child, pages, watermarks, properties, outline, marked, firstPage, printerSize);
        ++outline.back();
    }
}
