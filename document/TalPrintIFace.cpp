#include "document/TalPrintIFace.h"

#include "document/TalDocument.h"
#include "document/TalDocumentApp.h"
#include "model/TalDocProperties.h"
#include "platform/classlib/DC.h"
#include "platform/classlib/PrintInfo.h"

#include <algorithm>

namespace {

// The print dialog keeps page numbers in 16 bits.
const size_t kMaxPrintPage = 0xFFFF;

}  // namespace

CTalPrintIFace::CTalPrintIFace(CTalDocument* document) : m_document(document) {}

CTalPrintIFace::~CTalPrintIFace() = default;

int CTalPrintIFace::GetPreviewStartPage()
{
    return m_startPage;
}

void CTalPrintIFace::OnPreparePrinting(CPrintInfo* info)
{
    if (!m_document)
        return;
    // The report's orientation governs the paper it is composed, previewed
    // and printed on, also after it was opened in a later run of the program
    // (whose printer defaults start in the printer's own orientation).
    if (CTalDocumentApp* app = GetTalDocumentApp())
        app->SetPrinterOrientation(m_document->GetProperties().GetPortrait());
    m_document->ComposePages(true);
    if (info && info->m_pPD) {
        info->SetMinPage(1);
        // More pages than the dialog can number are cut to the last number it has.
        info->SetMaxPage(static_cast<UINT>(std::min(m_document->GetPageCount(), kMaxPrintPage)));
    }
    m_startPage = m_document->GetCurrentStartPage();
}

void CTalPrintIFace::OnBeginPrinting(CDC* dc, CPrintInfo* info, CPrintDialog* printDialog)
{
    if (dc) {
        m_pixelsPerInchX = dc->GetDeviceCaps(LOGPIXELSX);
        m_pixelsPerInchY = dc->GetDeviceCaps(LOGPIXELSY);
        m_printableWidth = dc->GetDeviceCaps(HORZRES);
        m_printableHeight = dc->GetDeviceCaps(VERTRES);
        m_printableWidthPixels = static_cast<int32_t>(m_printableWidth);
        m_printableHeightPixels = static_cast<int32_t>(m_printableHeight);
    }
    if (info)
        info->m_nCurPage = 3;
    // A printed report names its placeholders as a generated one does.
    if (m_document && info && !info->m_bPreview)
        m_document->ReportPlaceholders();
}

bool CTalPrintIFace::PreparePage(CDC* dc, CPrintInfo* info)
{
    if (info && info->m_bPreview) {
        m_scaleX = 1.0;
        m_scaleY = 1.0;
        return true;
    }
    const int32_t perInchX = dc ? dc->GetDeviceCaps(LOGPIXELSX) : m_pixelsPerInchX;
    const int32_t perInchY = dc ? dc->GetDeviceCaps(LOGPIXELSY) : m_pixelsPerInchY;
    // A device that gives no resolution keeps the scale it had.
    if (perInchX > 0)
        m_scaleX = 100.0 / perInchX;
    if (perInchY > 0)
        m_scaleY = 100.0 / perInchY;
    return true;
}

CRect CTalPrintIFace::GetSizeRect() const
{
    return CRect(0, 0, m_printableWidthPixels, m_printableHeightPixels);
}
