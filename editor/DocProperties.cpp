#include "editor/DocProperties.h"

#include "editor/DocPropertiesPage1.h"
#include "editor/DocPropertiesPage2.h"
#include "editor/DocPropertiesPage3.h"
#include "editor/DocPropertiesPage4.h"
#include "editor/DocPropertiesPage5.h"
#include "document/TalDocument.h"

CDocProperties::CDocProperties(const wchar_t* caption, CWnd* parent, CTalDocument* document, UINT selectPage)
    : CKWPropertySheet(caption, parent, selectPage), m_document(document)
{
    double width = 0;
    double height = 0;
    if (document)
        document->GetProperties().GetPageSize(width, height, true);
    // Tenths of a millimetre.
    m_pageWidthMm = width * 0.1;
    m_pageHeightMm = height * 0.1;
    m_pages[0] = std::make_unique<CDocPropertiesPage1>();
    m_pages[1] = std::make_unique<CDocPropertiesPage2>();
    m_pages[2] = std::make_unique<CDocPropertiesPage3>();
    m_pages[3] = std::make_unique<CDocPropertiesPage4>();
    m_pages[4] = std::make_unique<CDocPropertiesPage5>();
    for (auto& page : m_pages) {
        page->m_sheet = this;
        AddPage(page.get());
    }
}

CDocProperties::~CDocProperties() = default;

CTalDocument* CTalPropertiesPage::Document() const
{
    CDocProperties* sheet = Sheet();
    return sheet ? sheet->GetDocument() : nullptr;
}

CTalDocProperties* CTalPropertiesPage::Properties() const
{
    CTalDocument* document = Document();
    return document ? &document->GetProperties() : nullptr;
}

void CTalPropertiesPage::MarkDocumentModified() const
{
    if (CTalDocument* document = Document())
        document->SetModifiedFlag(TRUE);
}
