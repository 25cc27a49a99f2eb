// The fixture of the generation tests: a test application with a new
// document from test templates, a folder for the written files, and the
// copying of written reports where the test command's readers check them.
#pragma once

#include "tests/support/KeepForReaders.h"
#include "TalDocumentTestSupport.h"

#include "model/TalCommander.h"
#include "model/TalDocProperties.h"
#include "model/TalPageTemplate.h"
#include "model/TalSection.h"
#include "model/TalTemplateManager.h"
#include "model/TalTitlePageTemplate.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace taldoc {

class TalDocumentExport : public ReportDocumentTest {
protected:
    void SetUp() override
    {
        InstallTemplates();
        folder = MakeTestFolder(L"export");
        ReportDocumentTest::SetUp();
        app->prefs.SetShowExportDialog(false);
    }
    void TearDown() override
    {
        ReportDocumentTest::TearDown();
        RemoveFolder(folder);
        g_TemplateManager.Clear();
    }

    // A title-page template and a page template with heading and text cells,
    // which a new document takes as its own.
    static void InstallTemplates()
    {
        g_TemplateManager.Clear();
        CTalTemplate* title = new CTalTitlePageTemplate;
        title->SetName(L"TestTitle");
        title->SetTitle(L"TestTitle");
        title->AddCell(CTalTemplate::kCellTitle, CKWDoubleRect(0.1, 0.1, 0.9, 0.2));
        g_TemplateManager.AddTitlePageTemplate(title);
        CTalTemplate* page = new CTalPageTemplate;
        page->SetName(L"TestPage");
        page->SetTitle(L"TestPage");
        page->AddCell(CTalTemplate::kCellHeading, CKWDoubleRect(0.1, 0.05, 0.9, 0.1));
        page->AddCell(CTalTemplate::kCellText, CKWDoubleRect(0.1, 0.15, 0.9, 0.9));
        g_TemplateManager.AddPageTemplate(page);
    }
    // Sections then make no page (they have no page template), nor does the title page.
    void RemoveTemplates()
    {
        g_TemplateManager.Clear();
        NoTitleNoContents();
    }

    void NoTitleNoContents()
    {
        Properties().m_insertTitlePage = 0;
        Properties().m_insertContents = 0;
    }
    // A title page, a contents page and two sections with text.
    void FillReport()
    {
        TypeNote(*document, heading.Get(), L"Introduction of the report");
        CKWRefPtr<CTalSection> a =
            document->GetCommander().AddChildSection(heading.Get(), L"Findings", nullptr, true, false, true, true);
        TypeNote(*document, a.Get(), L"What was found\nand where");
        Properties().m_title = L"Generated report";
    }
    std::wstring Message(size_t index) const
    {
        return index < app->messages.size() ? app->messages[index] : std::wstring();
    }
    // Runs the command with the dialog answered; true when it was shown.
    bool Generate(UINT command, const std::wstring& name)
    {
        AnswerFileDialog(name);
        document->OnCmdMsg(command, CN_COMMAND, nullptr, nullptr);
        return DialogWasAnswered();
    }

    std::wstring folder;
};

}  // namespace taldoc
