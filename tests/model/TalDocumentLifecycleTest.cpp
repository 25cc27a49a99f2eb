// The report document's lifecycle in a test application: a new document from
// the default template or the wizard, save and open through the report
// files, the failures of both, and the save-as variants with their file dialog.
#include "TalDocumentTestSupport.h"
#include "ModelLeakCheck.h"

#include "files/TalXmlSerializer.h"
#include "model/TalCommander.h"
#include "model/TalDocProperties.h"
#include "model/TalSection.h"
#include "resources/PrefsDialog.h"

#include <gtest/gtest.h>

using namespace taldoc;

namespace {

class TalDocumentLifecycle : public ModelLeakCheck {
protected:
    void SetUp() override
    {
        ModelLeakCheck::SetUp();
        folder = MakeTestFolder(L"life");
        app.reset(new CTalTestApp);
        app->StartUp();
        defaultTemplate = folder + L"Default.otn";
        WriteTemplate(defaultTemplate);
        app->prefs.SetDefaultFile(defaultTemplate.c_str());
    }
    void TearDown() override
    {
        StopAnswering();
        app.reset();
        RemoveFolder(folder);
        ModelLeakCheck::TearDown();
    }

    // A report template as the program writes one: an empty report whose
    // descriptive texts say that they came from the template.
    void WriteTemplate(const std::wstring& path)
    {
        CTalBaseDocument report;
        report.GetProperties().m_title = L"Template title";
        report.GetProperties().m_author = L"Template author";
        report.GetProperties().m_company = L"Template company";
        CTalXmlSerializer serializer;
        ASSERT_TRUE(serializer.SaveDocument(&report, path.c_str(), nullptr));
    }

    // Sections A (A1, A2 collapsed) and B with notes, made through the commander.
    void BuildReport(CTalDocument& document)
    {
        CTalCommander& commander = document.GetCommander();
        CKWRefPtr<CTalSection> heading = document.GetProperties().GetHeadingSection();
        CKWRefPtr<CTalSection> a = commander.AddChildSection(heading.Get(), L"A", nullptr, true, true, true, true);
        CKWRefPtr<CTalSection> b = commander.AddChildSection(heading.Get(), L"B", nullptr, true, true, true, true);
        commander.AddChildSection(a.Get(), L"A1", nullptr, true, false, true, true);
        CKWRefPtr<CTalSection> a2 = commander.AddChildSection(a.Get(), L"A2", nullptr, true, false, true, true);
        commander.RenameSection(b.Get(), L"B renamed");
        commander.SetSectionExpanded(a2.Get(), false);
        TypeNote(document, a.Get(), L"Notes of A\nsecond line");
        TypeNote(document, heading.Get(), L"Introduction");
        document.GetProperties().m_title = L"Saved report";
        document.SetModifiedFlag(TRUE);
    }

    std::string Describe(CTalDocument& document)
    {
        return DescribeReport(document.GetProperties().GetHeadingSection().Get());
    }

    std::unique_ptr<CTalTestApp> app;
    std::wstring folder;
    std::wstring defaultTemplate;
};

}  // namespace

TEST_F(TalDocumentLifecycle, ANewDocumentStartsFromTheDefaultTemplate)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    CTalDocProperties& properties = document->GetProperties();
    double width = 0, height = 0;
    properties.GetPageSize(width, height, true);
    EXPECT_EQ(2100.0, width);
    EXPECT_EQ(2970.0, height);
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    ASSERT_TRUE(heading);
    EXPECT_EQ(0, heading->GetSubSectionCount());
    EXPECT_STREQ(L"Template title", properties.m_title);
    EXPECT_STREQ(L"Test Owner", properties.m_author) << "the template's author is replaced";
    EXPECT_STREQ(L"Test Company", properties.m_company);
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(app->prefs.GetLastFile().IsEmpty()) << "the template is not remembered as the last file";
    EXPECT_NE(nullptr, document->GetPrintIFace());

    // The frame shows the heading section, which is current.
    CTestDocFrame* frame = nullptr;
    POSITION position = document->GetFirstViewPosition();
    auto* view = dynamic_cast<CTestReportView*>(document->GetNextView(position));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(1, view->initialized) << "the first view is bound once";
    frame = dynamic_cast<CTestDocFrame*>(view->GetParentFrame());
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ("Heading record+", frame->views.tree.Describe());
    EXPECT_EQ(heading, document->GetCurrentSection());
    EXPECT_TRUE(app->messages.empty());
}

TEST_F(TalDocumentLifecycle, AMissingDefaultTemplateAsksForAnotherAndCancelGivesNoDocument)
{
    app->prefs.SetDefaultFile((folder + L"Missing.otn").c_str());
    PressInDialogWith(IDC_PREF_BROWSE, IDCANCEL);
    EXPECT_EQ(nullptr, app->NewDocument());
    EXPECT_TRUE(DialogWasAnswered()) << "the preferences dialog was shown";
    EXPECT_EQ(std::vector<std::wstring>{L"Can't open default template. Choose correct file in Preferences dialog."},
              app->messages);
    EXPECT_EQ(0, app->GetOpenDocumentCount());
}

TEST_F(TalDocumentLifecycle, SavedThenOpenedGivesTheSameModel)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    BuildReport(*document);
    const std::string model = Describe(*document);
    const std::wstring path = folder + L"Report.otd";
    ASSERT_TRUE(document->OnSaveDocument(path.c_str()));
    EXPECT_FALSE(document->IsModified());
    EXPECT_STREQ(path.c_str(), document->GetHeldPath());
    EXPECT_TRUE(document->GetHeldFile().IsOpen());

    // Saved again over the file the document holds.
    TypeNote(*document, document->GetProperties().GetHeadingSection().Get(), L" and more");
    document->SetModifiedFlag(TRUE);
    const std::string changed = Describe(*document);
    ASSERT_TRUE(document->OnSaveDocument(path.c_str())) << "the held file does not block its own replacement";
    EXPECT_TRUE(app->messages.empty());
    document->OnCloseDocument();

    CTestTalDocument* opened = app->OpenDocument(path.c_str());
    ASSERT_NE(nullptr, opened);
    EXPECT_NE(model, changed);
    EXPECT_EQ(changed, Describe(*opened));
    EXPECT_STREQ(L"Saved report", opened->GetProperties().m_title);
    EXPECT_FALSE(opened->IsModified());
    EXPECT_STREQ(path.c_str(), app->prefs.GetLastFile());
    EXPECT_EQ(std::vector<std::wstring>{path}, app->recentFiles);
    EXPECT_STREQ(path.c_str(), opened->GetHeldPath());
}

TEST_F(TalDocumentLifecycle, ATemplateOpenedAsADocumentIsNotRemembered)
{
    const std::wstring path = folder + L"X.OTN";
    WriteTemplate(path);
    app->prefs.SetLastFile(L"previous.otd");
    CTestTalDocument* document = app->OpenDocument(path.c_str());
    ASSERT_NE(nullptr, document);
    EXPECT_STREQ(L"Template title", document->GetProperties().m_title);
    EXPECT_STREQ(L"previous.otd", app->prefs.GetLastFile());
    EXPECT_TRUE(app->recentFiles.empty());
    EXPECT_FALSE(document->IsModified());

    document->SetPathName((folder + L"Y.otd").c_str());
    EXPECT_EQ(std::vector<std::wstring>{folder + L"Y.otd"}, app->recentFiles) << "reports do enter the list";
}

TEST_F(TalDocumentLifecycle, AFailedLoadLeavesTheDocumentAsItWas)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    const std::wstring held = std::wstring(document->GetHeldPath());
    app->prefs.SetLastFile(L"previous.otd");
    EXPECT_FALSE(document->LoadFile(nullptr, true));
    EXPECT_FALSE(document->LoadFile(L"", true));
    AnswerMessageBox();
    EXPECT_FALSE(document->LoadFile((folder + L"missing.otd").c_str(), true));
    EXPECT_TRUE(DialogWasAnswered()) << "the report files tell of a file they cannot read";
    EXPECT_TRUE(document->IsModified());
    EXPECT_STREQ(held.c_str(), document->GetHeldPath());
    EXPECT_STREQ(L"previous.otd", app->prefs.GetLastFile());
    AnswerMessageBox();
    EXPECT_EQ(nullptr, app->OpenDocument((folder + L"missing.otd").c_str()));
}

TEST_F(TalDocumentLifecycle, AFailedSaveReportsItAndLeavesTheOldFile)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    BuildReport(*document);
    const std::wstring path = folder + L"Kept.otd";
    ASSERT_TRUE(document->OnSaveDocument(path.c_str()));
    const std::string before = ReadFileBytes(path);

    TypeNote(*document, document->GetProperties().GetHeadingSection().Get(), L" changed");
    document->SetModifiedFlag(TRUE);
    // A read-only file cannot be replaced.
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(document->OnSaveDocument(path.c_str()));
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // One message, the save's own: the failure is told, nothing more.
    const std::vector<std::wstring> refused = {L"Cannot save the document!"};
    EXPECT_EQ(refused, app->messages);
    EXPECT_EQ(before, ReadFileBytes(path)) << "the old file stays";
    EXPECT_TRUE(document->IsModified());
    EXPECT_STREQ(path.c_str(), document->GetHeldPath());

    app->messages.clear();
    const std::wstring nowhere = folder + L"no folder\\x.otd";
    EXPECT_FALSE(document->OnSaveDocument(nowhere.c_str()));
    EXPECT_EQ(refused, app->messages);
    EXPECT_STREQ(path.c_str(), document->GetHeldPath());
    app->messages.clear();
    EXPECT_FALSE(document->OnSaveDocument(L""));
    EXPECT_TRUE(app->messages.empty()) << "an empty path returns before anything is made";
}

TEST_F(TalDocumentLifecycle, SaveAsPromptsWithTheDocumentFilter)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    AnswerFileDialog(folder + L"Named");
    ASSERT_TRUE(document->DoSave(nullptr, TRUE));
    EXPECT_TRUE(DialogWasAnswered());
    const std::wstring path = folder + L"Named.otd";
    EXPECT_TRUE(FileExists(path));
    EXPECT_STREQ(path.c_str(), app->prefs.GetLastFile());
    EXPECT_EQ(0, document->GetPathName().CompareNoCase(path.c_str()));
    EXPECT_FALSE(document->IsModified());

    AnswerFileDialog(L"");
    EXPECT_FALSE(document->DoSave(nullptr, TRUE)) << "cancelled";
}

TEST_F(TalDocumentLifecycle, SavingAsTemplateKeepsTheReportsStateAndFile)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    BuildReport(*document);
    const std::wstring path = folder + L"Own.otd";
    ASSERT_TRUE(document->OnSaveDocument(path.c_str()));
    TypeNote(*document, document->GetProperties().GetHeadingSection().Get(), L"!");
    document->SetModifiedFlag(TRUE);

    const std::wstring templates = MakeTestFolder(L"templates");
    app->prefs.SetTemplatesFolder(templates.c_str());
    AnswerFileDialog(templates + L"Mine");
    ASSERT_TRUE(document->OnCmdMsg(ID_TAL_SAVE_AS_TEMPLATE, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(DialogWasAnswered());
    EXPECT_TRUE(FileExists(templates + L"Mine.otn"));
    EXPECT_TRUE(document->IsModified()) << "a template copy does not make the report saved";
    EXPECT_STREQ(path.c_str(), document->GetHeldPath()) << "the report keeps its own file";
    EXPECT_STREQ(templates.c_str(), app->prefs.GetTemplatesFolder());

    // The template holds the report as it is now.
    const std::string model = Describe(*document);
    CTestTalDocument* opened = app->OpenDocument((templates + L"Mine.otn").c_str());
    ASSERT_NE(nullptr, opened);
    EXPECT_EQ(model, Describe(*opened));
    RemoveFolder(templates);
}

TEST_F(TalDocumentLifecycle, SavingAsArchiveStoresThePicturesTypeOnlyInTheCopy)
{
    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    BuildReport(*document);
    const std::wstring path = folder + L"Own.otd";
    ASSERT_TRUE(document->OnSaveDocument(path.c_str()));
    document->SetModifiedFlag(TRUE);
    document->GetProperties().m_imageSaveType = 1;

    AnswerFileDialog(folder + L"Archive");
    ASSERT_TRUE(document->OnCmdMsg(ID_TAL_SAVE_AS_ARCHIVE, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(DialogWasAnswered());
    const std::string archive = ReadFileBytes(folder + L"Archive.otd");
    EXPECT_NE(std::string::npos, archive.find("SavePicType='2'")) << archive.substr(0, 400);
    EXPECT_EQ(1, document->GetProperties().m_imageSaveType);
    EXPECT_TRUE(document->IsModified());
    EXPECT_STREQ(path.c_str(), document->GetHeldPath());

    AnswerFileDialog(L"");
    document->OnSaveAsArchive();
    EXPECT_EQ(1, document->GetProperties().m_imageSaveType) << "also after a cancel";
}

TEST_F(TalDocumentLifecycle, ANewDocumentFromTheWizardTakesItsContent)
{
    CTalBaseDocument wizard;
    wizard.GetProperties().m_title = L"Wizard report";
    wizard.GetProperties().m_company = L"Wizard company";
    CKWRefPtr<CTalSection> heading = wizard.GetProperties().GetHeadingSection();
    CKWRefPtr<CTalSection> chapter(new CTalSection(heading.Get(), L"Chapter"));
    heading->AppendSubSection(chapter.Get());
    chapter.Release();
    heading.Release();
    app->wizardDocument = &wizard;
    app->wizardText = defaultTemplate.c_str();

    CTestTalDocument* document = app->NewDocument();
    ASSERT_NE(nullptr, document);
    EXPECT_STREQ(L"Wizard report", document->GetTitle());
    EXPECT_STREQ(L"Test Owner", document->GetProperties().m_author) << "an empty author gets the default";
    EXPECT_STREQ(L"Wizard company", document->GetProperties().m_company);
    EXPECT_TRUE(document->IsModified());
    EXPECT_STREQ(defaultTemplate.c_str(), document->GetHeldPath());
    EXPECT_EQ(1, document->GetProperties().GetHeadingSection()->GetSubSectionCount());
    EXPECT_EQ(&wizard, app->wizardDocument);
    document->OnCloseDocument();
    EXPECT_EQ(nullptr, app->wizardDocument) << "a closing document forgets the pending wizard document";
}
