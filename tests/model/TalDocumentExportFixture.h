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


// A small 24-bit bitmap with a colour gradient, as a photograph stand-in.
inline bool WriteGradientBmp(const std::wstring& path, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string bytes(54 + static_cast<size_t>(stride) * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char* p = &bytes[54 + static_cast<size_t>(y) * stride + x * 3];
            p[0] = static_cast<char>(x * 255 / width);
            p[1] = static_cast<char>(y * 255 / height);
            p[2] = static_cast<char>(128);
        }
    }
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return ::CloseHandle(file) && ok;
}



}  // namespace taldoc
