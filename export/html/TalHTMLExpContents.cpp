// The contents document of the HTML export: a nested list of the title page
// and the sections, each linked to its first page in the frame "Report".
#include "export/html/ExportHTMLData.h"
#include "export/html/HtmlEscape.h"
#include "export/html/HtmlFileWriter.h"
#include "export/TalExportDocIFace.h"
#include "export/html/TalHTMLExp.h"
#include "framework/KWPathUtils.h"
#include "framework/KWProgressInterface.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"

namespace {

// Every entry sits at this list level (tabs before the item).
const int kContentsLevel = 3;

CString Tabs(int level)
{
    return level > 0 ? CString(L'\t', level) : CString();
}

}  // namespace

CString CTalHTMLExp::FindPageFile(TalPageList::const_iterator& iterator, const TalPageList& pages, int32_t kind,
                                  const CTalSection* section) const
{
    for (auto it = iterator; it != pages.end(); ++it) {
        const TalPageExport* page = *it;
        if (!page || page->GetKind() != kind || page->GetSection() != section)
            continue;
        iterator = it + 1;
        const ExportHTMLData* data = dynamic_cast<const ExportHTMLData*>(page->GetCache());
        return data ? GetPathFileName(data->m_pagePath, true) : CString();
    }
    return CString();
}

CString CTalHTMLExp::FormatContentsEntry(const CString& text, const CString& file, int level,
                                         const CTalTextFormat* format) const
{
    CString entry = Tabs(level) + L"<LI>";
    if (!file.IsEmpty())
        entry += L"<A HREF=\"" + EscapeHtmlAttribute(EncodeFileReference(file)) + L"\" TARGET=\"Report\">";
    entry += FormattedText(text, format);
    if (!file.IsEmpty())
        entry += L"</A>";
    entry += L"<BR></LI>\n";
    return entry;
}

CString CTalHTMLExp::FormatSectionEntries(const CTalSection* section, const TalPageList& pages,
                                          TalPageList::const_iterator& iterator, int level,
                                          const CTalTextFormat* format) const
{
    if (!section)
        return CString();
    const CString file = FindPageFile(iterator, pages, kSectionPage, section);
    CString entries = FormatContentsEntry(section->GetName(), file, level, format);
    const CTalSectionList& children = section->GetSubSections();
    if (!children.empty()) {
        entries += Tabs(level) + L"<UL>\n";
        for (const auto& child : children)
            entries += FormatSectionEntries(child.Get(), pages, iterator, level + 1, format);
        entries += Tabs(level) + L"</UL>\n";
    }
    return entries;
}

bool CTalHTMLExp::WriteContentsPage(CTalExportDocIFace& document, const CString& contentsPath,
                                    CKWProgressInterface* progress)
{
    CTalDocProperties& properties = document.GetExportProperties();
    const TalPageList& pages = document.GetExportPages();
    const CTalTextFormat* format = properties.GetTextFormat(kTalFormatContent, false);

    const CString title = EscapeHtmlAttribute(m_name + L" Content");
    const CString keywords = EscapeHtmlAttribute(m_name);
    CString text;
    text.Format(L"<HTML>\n\t<HEAD>\n\t\t<TITLE>%ls</TITLE>\n"
                L"\t\t<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
                L"\t\t<META name=\"GENERATOR\" content=\"%ls\">\n"
                L"\t\t<META name=\"Keywords\" content=\"%ls\">\n\t</HEAD>\n"
                L"\t<BODY leftmargin=0 topmargin=0>\n\t\t<UL><NOBR>\n",
                title.GetString(), kGenerator, keywords.GetString());

    TalPageList::const_iterator iterator = pages.begin();
    const CString titleFile = FindPageFile(iterator, pages, kTitlePage, nullptr);
    if (!titleFile.IsEmpty())
        text += FormatContentsEntry(CString(L"Title-page"), titleFile, kContentsLevel, format);
    const CString contentsFile = FindPageFile(iterator, pages, kContentsPage, nullptr);
    if (!contentsFile.IsEmpty())
        text += FormatContentsEntry(CString(L"Content"), contentsFile, kContentsLevel, format);
    CKWRefPtr<CTalSection> heading = properties.GetHeadingSection();
    text += FormatSectionEntries(heading.Get(), pages, iterator, kContentsLevel, format);

    text += L"\t\t</NOBR></UL>\n\t</BODY>\n</HTML>";
    const bool ok = WriteDocumentFile(contentsPath, text);
    Step(progress);
    return ok;
}
