#include "export/TalPageExport.h"

#include "model/TalSection.h"
#include "model/TalWatermark.h"

#include <string>

TalPageExport::TalPageExport(int32_t kind, const wchar_t* name, CTalSection* section)
    : m_name(name ? name : L""), m_kind(kind), m_section(section)
{
    if (m_section)
        m_section->AddRef();
}

TalPageExport::~TalPageExport()
{
    for (TalObjExport* object : m_objects)
        delete object;
    delete m_cache;
    if (m_section)
        m_section->Release();
}

void TalPageExport::AddObject(TalObjExport* object)
{
    if (object)
        m_objects.push_back(object);
}

void TalPageExport::SetCache(ExportCustomData* cache)
{
    if (cache == m_cache)
        return;
    delete m_cache;
    m_cache = cache;
}

int CountNumberedPages(const TalPageList& pages)
{
    int count = 0;
    for (const TalPageExport* page : pages) {
        if (page && page->GetKind() != kTitlePage)
            ++count;
    }
    return count;
}

void AddBackgroundImage(TalPageExport* page, uint32_t imageKey)
{
    if (page && imageKey != 0)
        page->AddObject(new TalObjExport(imageKey));
}

void AddWatermarks(TalPageExport* page, const std::vector<CTalWatermark*>& watermarks, bool onTop,
                   int pageOffset)
{
    if (!page)
        return;
    for (const CTalWatermark* mark : watermarks) {
        if (!mark || (mark->m_sendToFront != 0) != onTop)
            continue;
        switch (mark->m_kind) {
        case CTalWatermark::kText:
            page->AddObject(new TalObjExport(mark->m_text, mark->m_place, &mark->m_textFormat));
            break;
        case CTalWatermark::kImage: {
            double width = mark->m_width;
            double height = mark->m_height;
            if (mark->m_unit == CTalWatermark::kUnitMillimetre) {
                width *= CTalWatermark::kInchesPerMillimetre;
                height *= CTalWatermark::kInchesPerMillimetre;
            }
            page->AddObject(new TalObjExport(static_cast<uint32_t>(mark->m_pictureId), width, height,
                                             mark->m_place));
            break;
        }
        case CTalWatermark::kPageNumber: {
            // In 64 bits: a first number read from a file may lie near the limit.
            const std::wstring text = std::to_wstring(static_cast<int64_t>(mark->m_firstNumber) + pageOffset);
            page->AddObject(new TalObjExport(CString(text.c_str()), mark->m_place, &mark->m_textFormat));
            break;
        }
        default:
            break;
        }
    }
}

void DeletePages(TalPageList& pages)
{
    for (TalPageExport* page : pages)
        delete page;
    pages.clear();
}
