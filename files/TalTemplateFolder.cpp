#include "files/TalTemplateFolder.h"

#include "files/TalLoadReport.h"
#include "files/TalTemplateTags.h"
#include "files/TalXmlSerializer.h"
#include "model/TalPageTemplate.h"
#include "model/TalTemplateManager.h"
#include "model/TalTitlePageTemplate.h"

#include <windows.h>

#include <memory>

namespace {

const wchar_t kTemplateLeftOut[] = L"The template is left out.";

}  // namespace

std::vector<CString> TalLoadTemplateFolder(const CString& folder)
{
    std::vector<CString> problems;
    CTalTemplateTags tags;
    if (!tags.RegisterTags())
        return problems;
    CTalXmlSerializer serializer;
    CTalLoadReport report;
    for (const bool title : {true, false}) {
        WIN32_FIND_DATAW entry;
        HANDLE find = ::FindFirstFileW(folder + (title ? L"*.ott" : L"*.otl"), &entry);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            CString name = entry.cFileName;
            const int dot = name.ReverseFind(L'.');
            if (dot > 0)
                name = name.Left(dot);
            std::unique_ptr<CTalTemplate> tmpl;
            if (title)
                tmpl = std::make_unique<CTalTitlePageTemplate>();
            else
                tmpl = std::make_unique<CTalPageTemplate>();
            tmpl->SetName(name);
            std::vector<CString> lines;
            const bool loaded = serializer.LoadTemplate(folder + entry.cFileName, &tags, tmpl.get(), &lines);
            if (!loaded)
                lines.insert(lines.begin(), CString(kTemplateLeftOut));
            for (const CString& line : lines) {
                CString led;
                led.Format(L"%ls: %ls", entry.cFileName, line.GetString());
                report.Add(led);
            }
            if (!loaded)
                continue;
            if (title)
                g_TemplateManager.AddTitlePageTemplate(tmpl.release());
            else
                g_TemplateManager.AddPageTemplate(tmpl.release());
        } while (::FindNextFileW(find, &entry));
        ::FindClose(find);
    }
    return report.TakeLines();
}
