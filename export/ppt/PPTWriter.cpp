#include "export/ppt/PPTWriter.h"

#include "framework/KWMemoryBudget.h"
#include "framework/KWWorkQueue.h"

#include <cstdarg>
#include <cstdio>

#include "export/ComposePageSize.h"
#include "export/ppt/PPTTextStyleSheets.h"
#include "export/ppt/PptEscherEx.h"
#include "framework/KWPathUtils.h"
#include "framework/KWProgressInterface.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"

namespace {

// {64818D10-4F9B-11CF-86EA-00AA00B929E8}: PowerPoint 97 presentations.
const CLSID kPowerPointClassId = {0x64818D10, 0x4F9B, 0x11CF, {0x86, 0xEA, 0x00, 0xAA, 0x00, 0xB9, 0x29, 0xE8}};

const DWORD kStorageMode = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;

}  // namespace

PPTWriter::PPTWriter() : m_styleSheets(new PPTTextStyleSheets(125))
{
    m_fonts.push_back(0);
}

PPTWriter::~PPTWriter()
{
    m_escher.reset();
    CloseStorage();
}

bool PPTWriter::Export(const TalPageList& pages, double pageWidth, double pageHeight,
                       const CKWIndexDecoder* fontTable, const CString& fileName)
{
    m_fileName = fileName;
    m_pages = &pages;
    m_pageWidth = pageWidth;
    m_pageHeight = pageHeight;
    m_fontTable = fontTable;
    m_output.Clear();
    if (pages.empty())
        return false;
    if (pages.size() > kMaxPages) {
        Report(L"Too many pages (%u) for a presentation: %ls\n", static_cast<unsigned>(pages.size()),
               static_cast<const wchar_t*>(m_fileName));
        CString reason;
        reason.Format(L"A presentation holds at most %u slides; the report has %u pages.",
                      static_cast<unsigned>(kMaxPages), static_cast<unsigned>(pages.size()));
        m_output.Fail(m_fileName, 0, reason);
        return false;
    }
    if (!Init() || !Run())
        return FailExport();
    return true;
}

bool PPTWriter::FailExport()
{
    FinishPictureWrites();
    m_escher.reset();
    CloseStorage();
    m_output.Discard();
    return false;
}

bool PPTWriter::Export(const CTalDocProperties& properties, const TalPageList& pages, const CString& fileName)
{
    double width = 0, height = 0;
    GetComposePageSize(properties, false, width, height);
    return Export(pages, width, height, &properties.GetFontTable(), fileName);
}

bool PPTWriter::Init()
{
    m_fonts.assign(1, 0);
    m_finished = false;
    m_pageCount = m_pages ? m_pages->size() : 0;
    m_drawingCount = static_cast<uint32_t>(m_pageCount + 1);
    m_linkedFiles.clear();
    m_samePictures = CExportSamePictures();
    m_takenNames.clear();
    m_linkFailed = false;
    m_pictureWriters.reset();
    m_pictureWrites.clear();
    if (!OpenStorage())
        return false;
    m_escher.reset(new PptEscherEx(m_documentStream, m_drawingCount));
    return true;
}

bool PPTWriter::OpenStorage()
{
    CloseStorage();
    // The presentation is made beside its place under a name of its own: an
    // earlier one of the name stays until this one is complete.
    const CString temporary = m_output.Stage(m_fileName);
    if (temporary.IsEmpty()) {
        Report(L"Error (%lu) opening docfile: %ls\n", m_output.GetError(), static_cast<const wchar_t*>(m_fileName));
        return false;
    }
    ::SetLastError(0);
    HRESULT hr = ::StgCreateDocfile(temporary, kStorageMode, 0, &m_storage);
    if (FAILED(hr)) {
        // A result that names no system error (some storages answer E_FAIL)
        // leaves the one of the file that could not be made.
        const DWORD error = CKWOutputRecord::ErrorFromResult(hr, ::GetLastError());
        m_storage = nullptr;
        Report(L"Error (%d) opening docfile: %ls\n", static_cast<int>(hr), static_cast<const wchar_t*>(m_fileName));
        m_output.Fail(m_fileName, error);
        return false;
    }
    m_storage->SetClass(kPowerPointClassId);

    struct StreamToOpen {
        const wchar_t* name;
        PPTOutStream* stream;
        const wchar_t* message;
    };
    const StreamToOpen streams[] = {
        {L"PowerPoint Document", &m_documentStream, L"Error (%d) opening PowerPoint Document Stream.\n"},
        {L"Current User", &m_currentUserStream, L"Error (%d) opening Current User Stream.\n"},
        {L"\x0005" L"DocumentSummaryInformation", &m_summaryStream,
         L"Error (%d) opening PowerPoint Document Summary Info.\n"},
    };
    for (const StreamToOpen& entry : streams) {
        IStream* stream = nullptr;
        ::SetLastError(0);
        hr = m_storage->CreateStream(entry.name, kStorageMode, 0, 0, &stream);
        if (FAILED(hr)) {
            const DWORD error = CKWOutputRecord::ErrorFromResult(hr, ::GetLastError());
            Report(entry.message, static_cast<int>(hr));
            m_output.Fail(m_fileName, error);
            return false;
        }
        entry.stream->Attach(stream);
    }
    return true;
}

bool PPTWriter::CloseStorage()
{
    if (m_storage) {
        m_documentStream.Release();
        m_currentUserStream.Release();
        m_summaryStream.Release();
        m_storage->Release();
        m_storage = nullptr;
    }
    return true;
}

bool PPTWriter::Run()
{
    if (!m_storage || !m_escher)
        return false;
    if (m_progress) {
        m_progress->SetRange(1, static_cast<int>(m_pageCount) + 2);
        m_progress->SetMessage(L"Generating report " + GetPathFileName(m_fileName, true));
    }
    if (!WriteCurrentUser() || !WriteDocument() || !WriteMainMaster())
        return false;
    if (m_progress)
        m_progress->StepIt();
    for (size_t i = 0; i < m_pageCount; ++i) {
        if (!WriteSlide(i))
            return false;
        if (m_progress)
            m_progress->StepIt();
    }
    if (!WriteEnvironment() || !WritePersistDirectory())
        return false;
    if (m_progress)
        m_progress->StepIt();
    if (!WriteSummaryInformation())
        return false;

    // Every write is checked once here; the storage is then committed and
    // closed, so the file is complete (and no longer locked) when the caller
    // opens it.
    FinishPictureWrites();
    if (m_linkFailed)
        return false;
    if (StreamsFailed()) {
        const PPTOutStream& failed = m_documentStream.Failed()      ? m_documentStream
                                     : m_currentUserStream.Failed() ? m_currentUserStream
                                                                    : m_summaryStream;
        Report(L"Error (%d) writing %ls\n", static_cast<int>(failed.GetError()),
               static_cast<const wchar_t*>(m_fileName));
        m_output.Fail(m_fileName, CKWOutputRecord::ErrorFromResult(failed.GetError(), failed.GetSystemError()));
        return false;
    }
    IStream* streams[] = {m_documentStream.Get(), m_currentUserStream.Get(), m_summaryStream.Get()};
    for (IStream* stream : streams) {
        ::SetLastError(0);
        const HRESULT committed = stream->Commit(STGC_DEFAULT);
        if (FAILED(committed)) {
            Report(L"Error (%d) writing %ls\n", static_cast<int>(committed), static_cast<const wchar_t*>(m_fileName));
            m_output.Fail(m_fileName, CKWOutputRecord::ErrorFromResult(committed, ::GetLastError()));
            return false;
        }
    }
    ::SetLastError(0);
    const HRESULT hr = m_storage->Commit(STGC_DEFAULT);
    const DWORD lastError = ::GetLastError();
    m_escher.reset();
    CloseStorage();
    if (FAILED(hr)) {
        Report(L"Error (%d) writing docfile: %ls\n", static_cast<int>(hr), static_cast<const wchar_t*>(m_fileName));
        m_output.Fail(m_fileName, CKWOutputRecord::ErrorFromResult(hr, lastError));
        return false;
    }
    // The presentation and its pictures take the places of the earlier ones together.
    if (!m_output.Commit()) {
        Report(L"Error (%lu) replacing %ls\n", m_output.GetError(), static_cast<const wchar_t*>(m_output.GetFailedPath()));
        return false;
    }
    m_finished = true;
    return true;
}

bool PPTWriter::StreamsFailed() const
{
    return m_documentStream.Failed() || m_currentUserStream.Failed() || m_summaryStream.Failed();
}

void PPTWriter::Report(const wchar_t* format, ...) const
{
    va_list args;
    va_start(args, format);
    std::vfwprintf(stderr, format, args);
    va_end(args);
}

int32_t PPTWriter::ToMasterUnits(double tenthsMm)
{
    return static_cast<int32_t>(tenthsMm * kMasterUnitsPerTenthMm);
}

uint16_t PPTWriter::GetSlideSizeType(double pageWidth, double pageHeight)
{
    const int32_t width = static_cast<int32_t>(pageWidth);
    const int32_t height = static_cast<int32_t>(pageHeight);
    if (width == 2540 && height == 1905)
        return 0;  // on-screen show
    if (width == 2032 && height == 254)
        return 5;  // banner
    if (pageWidth == 2857.5 && height == 1905)
        return 3;  // 35 mm slides
    if (pageWidth == 2751.666 && height == 1905)
        return 2;  // A4 paper
    return 6;      // custom
}
