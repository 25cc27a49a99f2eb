// The report's pages and "Generate Report": the composed page list, the
// export file dialog and the dispatch to the PDF, HTML and PowerPoint writers.
#include "document/TalDocument.h"

#include "export/ComposeExportPages.h"
#include "export/html/TalHTMLExp.h"
#include "export/pdf/PDFWriter.h"
#include "export/ppt/PPTWriter.h"
#include "framework/KWOutputRecord.h"
#include "appwindows/KWExportFileDialog.h"
#include "framework/KWFileFilter.h"
#include "appwindows/KWProgressWnd.h"
#include "framework/QMFormatInfo.h"
#include "document/TalDocumentApp.h"
#include "model/TalPrefs.h"
#include "platform/classlib/FrameWnd.h"
#include "platform/classlib/View.h"
#include "platform/classlib/WinApp.h"

namespace {

// Repaints the main window's active view at once, so that the area under
// the closed dialogs is drawn before a long write.
void RedrawActiveView()
{
    CWinApp* app = AfxGetApp();
    CWnd* mainWnd = app ? app->m_pMainWnd : nullptr;
    if (!mainWnd || !mainWnd->m_hWnd || !mainWnd->IsFrameWnd())
        return;
    CFrameWnd* frame = static_cast<CFrameWnd*>(mainWnd)->GetActiveFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    if (view && view->m_hWnd)
        ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace

void CTalDocument::OnGenerateReport(UINT id)
{
    switch (id) {
    case ID_TAL_GENERATE_PDF:
        GenerateReport(kKWFormatPdf, kKWFormatPdf);
        break;
    case ID_TAL_GENERATE_HTML:
        GenerateReport(kKWFormatHtml, kKWFormatHtml);
        break;
    case ID_TAL_GENERATE_PPT:
        GenerateReport(kKWFormatPowerPoint, kKWFormatPowerPoint);
        break;
    default:
        break;
    }
}

void CTalDocument::GenerateReport(uint32_t category, uint32_t defaultFormat)
{
    EndEdits(false);
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!app)
        return;
    CKWExportFileDialog dialog(app->GetFormatList(), category, GetTitle(), nullptr, defaultFormat, nullptr);
    if (dialog.DoModal() != IDOK || !ConfirmExportOptions())
        return;
    // Pictures whose files are bad or gone (however often they were named
    // before) are named before the report is written without them; their
    // bytes tell, as a decode of every picture would cost more than the report.
    ReportPlaceholders();
    RedrawActiveView();
    const CString path = dialog.GetPathName();
    const CQMFormatInfo* chosen = dialog.GetChosenFormat();
    const uint32_t format = chosen ? chosen->GetFormatId() : 0;
    switch (format) {
    case kKWFormatHtml:
        WriteHtml(path);
        break;
    case kKWFormatPowerPoint:
        WritePowerPoint(path);
        break;
    case kKWFormatPdf:
        WritePdf(path);
        break;
    default:
        return;
    }
    app->GetPrefs().SetDefExportFormat(static_cast<int32_t>(format));
}

bool CTalDocument::ConfirmExportOptions()
{
    CTalDocumentApp* app = GetTalDocumentApp();
    if (!app || !app->GetPrefs().GetShowExportDialog())
        return true;
    bool optionsChanged = false, grayscaleChanged = false;
    if (!app->RunExportOptionsDialog(GetProperties(), optionsChanged, grayscaleChanged))
        return false;
    if (optionsChanged)
        SetModifiedFlag(TRUE);
    if (grayscaleChanged)
        OnDefaultGrayscaleChanged();
    return true;
}

bool CTalDocument::WritePdf(const wchar_t* fileName)
{
    // The writer takes the name in UTF-16: a name outside the ANSI code
    // page reaches the disk as it was chosen.
    CKWProgressWnd progress;
    progress.SetRange(1, 100);
    progress.SetStep(1);
    progress.Show();
    PDFWriter writer;
    const bool written = writer.Export(*this, fileName, &progress);
    progress.Hide();
    if (written)
        EndGeneration(fileName);
    else
        ReportOutputFailure(writer.GetOutputRecord());
    return written;
}

bool CTalDocument::WriteHtml(const wchar_t* fileName)
{
    CTalHTMLExp exporter;
    // The exporter sets the window's range and message.
    CKWProgressWnd progress;
    progress.SetStep(1);
    progress.Show();
    const bool written = exporter.WriteExport(*this, fileName, &progress);
    progress.Hide();
    if (!written) {
        ReportOutputFailure(exporter.GetOutputRecord());
        return false;
    }
    // A partly written export is not shown as if it were the report.
    EndGeneration(fileName);
    return true;
}

bool CTalDocument::WritePowerPoint(const wchar_t* fileName)
{
    if (!ComposePages(false))
        return false;
    PPTWriter writer;
    CKWProgressWnd progress;
    progress.SetStep(1);
    progress.Show();
    writer.SetProgress(&progress);
    const bool written = writer.Export(GetProperties(), m_pages, fileName);
    progress.Hide();
    if (written)
        EndGeneration(fileName);
    else
        ReportOutputFailure(writer.GetOutputRecord());
    return written;
}

void CTalDocument::ReportPlaceholders()
{
    m_generationTold.clear();
    ReportPictureProblems(CollectPictureIds(), false, &m_generationTold);
}

void CTalDocument::EndGeneration(const wchar_t* fileName)
{
    // A picture whose file changed after the check (cut short while the
    // report was written) went in as what could be read of it, the
    // placeholder when nothing could: the warning names it before the report
    // is shown, so that no such report passes for a whole one.
    ReportPictureProblems(CollectPictureIds(), false, &m_generationTold);
    OpenWrittenFile(fileName);
}

void CTalDocument::ReportOutputFailure(const CKWOutputRecord& output)
{
    // A generation that stopped before writing (no page) has said why already.
    if (output.HasFailed())
        ShowMessage(output.FailureMessage());
}

bool CTalDocument::ComposePages(bool printing)
{
    ClearPages();
    if (::ComposeExportPages(GetProperties(), m_pages, printing, m_currentSection.Get(), &m_currentStartPage))
        return true;
    ShowMessage(L"There is no page for report generating!");
    return false;
}

TalPageExport* CTalDocument::GetPage(size_t number) const
{
    if (number == 0 || number > m_pages.size())
        return nullptr;
    return m_pages[number - 1];
}

void CTalDocument::ClearPages()
{
    DeletePages(m_pages);
    TalPageList().swap(m_pages);
    m_currentStartPage = 0;
}
