// Loading a report document: the image pre-pass, the parse through the
// document table, then the templates the document carried and the report of
// the problems met.
#include "files/TalXmlSerializer.h"

#include "files/NewXmlArch.h"
#include "files/TalLoadReport.h"
#include "files/TalTags.h"
#include "files/TalTemplateTags.h"
#include "files/XmlPreprocessFile.h"
#include "files/XmlUtf8Copy.h"
#include "framework/KWProgressInterface.h"
#include "model/TalBaseDocument.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTitlePageTemplate.h"

namespace {

const wchar_t kLoadErrorsHeading[] = L"Some errors have occured during loading the document:";
const wchar_t kCannotOpenFile[] = L"Cannot open file %ls";
const wchar_t kTemplateProblem[] = L"%ls: %ls";
// The text formats every loaded document has.
const int32_t kLastTextFormat = 10;

// The page template the manager holds under the name (the file system
// ignores case); null when none.
CTalTemplate* FindPageTemplateNamed(const CString& name)
{
    for (CTalTemplate* tmpl : g_TemplateManager.GetPageTemplates()) {
        if (tmpl && tmpl->GetName().CompareNoCase(name) == 0)
            return tmpl;
    }
    return nullptr;
}

// A carried template read into the manager: as a new one, or into the one
// of its name that lacks pictures the picture store could not keep.
void AddPageTemplate(CTalTemplate* known, std::unique_ptr<CTalTemplate> read)
{
    if (known) {
        known->TakeContent(*read);
        g_TemplateManager.TitleChanged(known);
    } else
        g_TemplateManager.AddPageTemplate(read.release());
}

}  // namespace

bool CTalXmlSerializer::LoadDocument(const wchar_t* path, CTalBaseDocument* document, CTalTags* tags, int32_t,
                                     CKWProgressInterface* progress)
{
    m_load = CTalDocumentLoad();
    m_load.path = path ? path : L"";
    // The pre-pass reads raw bytes for its markers: a UTF-16 file is read
    // through a UTF-8 copy, by the parser as well.
    const CXmlUtf8Copy utf8(path);
    if (utf8.HasFailed()) {
        ShowMessage(CXmlUtf8Copy::kFailedMessage);
        return false;
    }
    XmlDigitRuns digitRuns;
    {
        CXmlPreprocessFile prepass(utf8.GetReadPath());
        // An empty file holds no document: all of it was lost.
        if (!prepass.IsOpen() || prepass.GetLength() == 0) {
            ShowMessage(CTalLoadReport::kIncompatibleFormat);
            return false;
        }
        if (progress)
            progress->SetStageShare(0.8);
        CXmlPreprocessFile::Images found;
        prepass.SetRecordedFile(path);
        prepass.Scan(found, progress);
        m_load.prepass = std::move(found.pictures);
        digitRuns.swap(found.digitRuns);
        m_load.passHolds = std::move(found.holds);
    }
    // Counted whether or not the parser uses them: a save refuses to lose
    // any. A template's picture is the template's: one that lacks it is
    // refused where a report names it, and one whose own file holds it
    // whole is written from there.
    for (const XmlPrepassPicture& picture : m_load.prepass.byKind[kXmlImage]) {
        if (picture.unkept)
            m_load.NoteUnkept(picture.storeError);
    }
    if (progress) {
        progress->SetStageShare(0.2);
        progress->SetMessage(L"Loading...");
    }
    CNewXmlArch archive(utf8.GetReadPath(), CNewXmlArch::kModeRead, false);
    if (!archive.IsLoading() || !archive.IsOpen() || !document || !tags || tags->GetBucketCount() == 0)
        return false;
    m_document = document;
    tags->SetTarget(this);
    archive.SetTagTable(tags);
    archive.SetDigitRuns(digitRuns);
    archive.SetUtf8Copy(utf8.IsCopy());
    archive.Parse(progress);
    // A file cut short keeps what was read of it.
    tags->FinishDocument();
    tags->SetTarget(nullptr);
    document->SetUnkeptPictures(m_load.unkept, m_load.unkeptError);

    ReloadTemplates();
    CTalDocProperties& props = document->GetProperties();
    props.m_imageSaveType = m_load.storageMode;
    // A template that lacks pictures the picture store could not keep is
    // written nowhere: the report's file holds it whole.
    if (m_load.titleToWrite && !m_load.titleToWrite->HasUnkeptPictures())
        SaveTitleTemplate(m_load.titleToWrite);
    WriteCarriedTemplates();

    const int32_t error = archive.GetError();
    if (error == CNewXmlArch::kErrNone) {
        for (int32_t id = 0; id <= kLastTextFormat; ++id)
            props.GetTextFormat(id, true);
    }
    ReportLoadProblems(error, archive.GetErrors(), archive.GetWarnings(), archive.GetUnrecordedCount());
    // The model holds what it uses; the pictures nothing names go.
    m_load.passHolds.clear();
    return error == CNewXmlArch::kErrNone;
}

void CTalXmlSerializer::ReloadTemplates()
{
    if (!m_load.titleToReload && m_load.templatesToReload.empty())
        return;
    CTalTemplateTags templateTags;
    const bool ready = templateTags.RegisterTags();
    if (ready && m_load.titleToReload) {
        ReloadTemplate(m_load.titleToReload, true, templateTags);
        g_TemplateManager.TitleChanged(m_load.titleToReload);
    }
    bool added = false;
    for (std::unique_ptr<CTalTemplate>& carried : m_load.templatesToReload) {
        CTalTemplate* known = carried ? FindPageTemplateNamed(carried->GetName()) : nullptr;
        if (!carried || (known && !known->HasUnkeptPictures()))
            continue;
        // Read into a template of its own: the document's cells must not add
        // to the file's.
        std::unique_ptr<CTalTemplate> fresh = std::make_unique<CTalPageTemplate>();
        fresh->SetName(carried->GetName());
        fresh->SetTitle(carried->GetTitle());
        const bool reloaded = ready && ReloadTemplate(fresh.get(), false, templateTags);
        AddPageTemplate(known, std::move(reloaded ? fresh : carried));
        added = true;
    }
    m_load.templatesToReload.clear();
    m_load.titleToReload = nullptr;
    if (added)
        RefreshAllTemplateWindows();
}

bool CTalXmlSerializer::ReloadTemplate(CTalTemplate* tmpl, bool title, CTalTemplateTags& tags)
{
    const CString path = GetTemplatePath(tmpl->GetName(), title);
    std::vector<CString> problems;
    const bool read = LoadTemplate(path, &tags, tmpl, &problems);
    // The user learns which template file the lines are about.
    const CString file = path.Mid(path.ReverseFind(L'\\') + 1);
    for (const CString& problem : problems) {
        CString line;
        line.Format(kTemplateProblem, file.GetString(), problem.GetString());
        m_load.templateProblems.push_back(line);
    }
    return read;
}

void CTalXmlSerializer::WriteCarriedTemplates()
{
    bool added = false;
    for (std::unique_ptr<CTalTemplate>& carried : m_load.templatesToWrite) {
        // A name met before (the file system ignores case) is written once.
        CTalTemplate* known = carried ? FindPageTemplateNamed(carried->GetName()) : nullptr;
        if (!carried || (known && !known->HasUnkeptPictures()))
            continue;
        if (!carried->HasUnkeptPictures())
            SaveLeafTemplate(carried.get());
        AddPageTemplate(known, std::move(carried));
        added = true;
    }
    m_load.templatesToWrite.clear();
    m_load.titleToWrite = nullptr;
    if (added)
        RefreshAllTemplateWindows();
}

void CTalXmlSerializer::ReportLoadProblems(int32_t error, const CString& errors, const CString& warnings,
                                           int32_t unrecorded)
{
    // Skipped elements are content the user does not get: say so.
    if (error == CNewXmlArch::kErrNone && m_load.unopenedFiles.empty() && m_load.templateProblems.empty() &&
        warnings.IsEmpty())
        return;
    CTalLoadReport report;
    for (const CString& file : m_load.unopenedFiles) {
        CString line;
        line.Format(kCannotOpenFile, file.GetString());
        report.Add(line);
    }
    for (const CString& line : m_load.templateProblems)
        report.Add(line);
    if (error == CNewXmlArch::kErrNone) {
        report.AddMessage(warnings);
    } else if (error == CNewXmlArch::kErrUnknown) {
        // What the parser found is said as well: a file cut short is told
        // apart from one damaged inside.
        report.AddMessage(CString(CTalLoadReport::kIncompatibleFormat) + L"\n" + errors + warnings);
    } else {
        report.AddMessage(errors + warnings);
    }
    report.AddUnshown(unrecorded);
    ShowErrors(kLoadErrorsHeading, report.TakeLines());
}
