#include "platform/classlib/PrintInfo.h"

#include "platform/classlib/PrintDialog.h"
#include "platform/classlib/StringResource.h"

#include <algorithm>

namespace {
// The preview's page number line: one page, then a range of pages.
constexpr UINT AFX_IDS_PREVIEWPAGEDESC = 0xF043;
}  // namespace

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)),
      m_bDirect(FALSE),
      m_bPreview(FALSE),
      m_bContinuePrinting(TRUE),
      m_nCurPage(1),
      m_nNumPreviewPages(0),
      m_lpUserData(nullptr) {
    SetMinPage(1);
    SetMaxPage(0xFFFF);  // unknown until the view says
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
    if (!AfxLoadStringResource(AFX_IDS_PREVIEWPAGEDESC, m_strPageDesc))
        m_strPageDesc = L"Page %u\nPages %u-%u\n";
}

CPrintInfo::~CPrintInfo() { delete m_pPD; }

void CPrintInfo::SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(std::min(nMinPage, 0xFFFFu)); }

// PRINTDLG keeps pages in 16 bits: larger numbers stop at 0xFFFF instead of wrapping.
void CPrintInfo::SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(std::min(nMaxPage, 0xFFFFu)); }

UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }

UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }

UINT CPrintInfo::GetFromPage() const { return m_pPD->m_pd.nFromPage; }

UINT CPrintInfo::GetToPage() const { return m_pPD->m_pd.nToPage; }
