#include "export/html/TalHTMLExp.h"

#include <windows.h>

#include "export/html/ExpImgItem.h"
#include "export/html/ExportHTMLData.h"
#include "export/html/HtmlEscape.h"
#include "export/html/HtmlFileWriter.h"
#include "export/TalExportDocIFace.h"
#include "framework/KWFileHelpers.h"
#include "framework/KWPathUtils.h"
#include "framework/KWProgressInterface.h"
#include "framework/KWSystemInfo.h"
#include "model/TalSection.h"
#include "model/TalDocProperties.h"
#include "platform/classlib/StringResource.h"
#include "resources/Strings.h"

namespace {

const wchar_t* const kDataSuffix = L"_data";
const wchar_t* const kContentsSuffix = L"_c";
// White: red, green and blue in bits 8-15, 16-23 and 24-31.
const uint32_t kWhitePacked = 0xFFFFFF00u;

const wchar_t* const kHeadTemplate =
    L"<HTML>\n\t<HEAD>\n\t\t<TITLE>%ls</TITLE>\n"
    L"\t\t<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    L"\t\t<META name=\"GENERATOR\" content=\"%ls\">\n"
    L"\t\t<META name=\"Keywords\" content=\"%ls\">\n\t</HEAD>\n";

// Restores the document's contents flag however the composition ends.
class ContentsFlagOff {
public:
    explicit ContentsFlagOff(uint8_t& flag) : m_flag(flag), m_saved(flag) { m_flag = 0; }
    ~ContentsFlagOff() { m_flag = m_saved; }
    ContentsFlagOff(const ContentsFlagOff&) = delete;
    ContentsFlagOff& operator=(const ContentsFlagOff&) = delete;

private:
    uint8_t& m_flag;
    uint8_t m_saved;
};

// An anchor to a neighbour page around its navigation image.
CString NavigationLink(const CString& file, const CString& image, const wchar_t* alt)
{
    CString line;
    line.Format(L"\t\t\t\t<A href=\"%ls\"><IMG src=\"%ls\" alt=\"%ls\" border=\"0\"></A>\n",
                EscapeHtmlAttribute(EncodeFileReference(file)).GetString(),
                EscapeHtmlAttribute(image).GetString(), alt);
    return line;
}

}  // namespace

bool MakePageFileName(const CString& name, const CString& extension, CString& out, int page, int pageCount)
{
    out.Empty();
    if (page < 1 || page > pageCount)
        return false;
    if (page == 1)
        out = name + L"." + extension;
    else
        out.Format(L"%ls%d.%ls", name.GetString(), page, extension.GetString());
    return true;
}

CTalHTMLExp::CTalHTMLExp()
    : m_backColor(CKWColor::KindRgb, kWhitePacked),
      m_backImage(L"back.png"),
      m_nextImage(L"next.png"),
      m_blankImage(L"blank.gif")
{
}

CTalHTMLExp::~CTalHTMLExp()
{
    ClearImages();
}

void CTalHTMLExp::ClearImages()
{
    for (auto& entry : m_images)
        delete entry.second;
    m_images.clear();
    m_samePictures = CExportSamePictures();
}

CString CTalHTMLExp::StageFile(const wchar_t* target)
{
    if (m_writeFailed)
        return CString();
    const CString temporary = m_output.Stage(target);
    if (temporary.IsEmpty())
        m_writeFailed = true;
    return temporary;
}

void CTalHTMLExp::NoteWrite(bool ok, const wchar_t* path)
{
    if (ok)
        return;
    m_output.Fail(path, ::GetLastError());
    m_writeFailed = true;
}

bool CTalHTMLExp::WriteDocumentFile(const wchar_t* target, const CString& text)
{
    const CString temporary = StageFile(target);
    if (temporary.IsEmpty())
        return false;
    const bool ok = WriteHtmlDocument(temporary, text);
    NoteWrite(ok, target);
    return ok;
}

bool CTalHTMLExp::PutFilesInPlace()
{
    if (m_writeFailed || !m_output.Commit()) {
        m_writeFailed = true;
        return false;
    }
    return true;
}

bool CTalHTMLExp::FailExport()
{
    m_fontTable = nullptr;
    m_writeFailed = true;
    m_output.Discard();
    return false;
}

void CTalHTMLExp::Step(CKWProgressInterface* progress)
{
    if (progress)
        progress->StepIt();
}

int CTalHTMLExp::CountProgressSteps(int pageCount, bool withContents)
{
    return 2 * pageCount + 4 + (withContents ? 1 : 0);
}

void CTalHTMLExp::SetPageGeometry(double widthTenths, double heightTenths, double dpiX, double dpiY)
{
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_pixelsPerTenthX = dpiX * (1.0 / 254.0);
    m_pixelsPerTenthY = dpiY * (1.0 / 254.0);
    m_pageWidth = widthTenths * m_pixelsPerTenthX;
    m_pageHeight = heightTenths * m_pixelsPerTenthY;
}

void CTalHTMLExp::SetOutput(const CString& folder, const CString& name, const CString& extension)
{
    m_folder = folder;
    m_name = name;
    m_extension = extension;
}

bool CTalHTMLExp::Export(CTalExportDocIFace& document, const wchar_t* fileName, CKWProgressInterface* progress)
{
    if (!WriteExport(document, fileName, progress))
        return false;
    // A partly written export is not shown as if it were the report.
    OpenWithShell(fileName);
    return true;
}

bool CTalHTMLExp::WriteExport(CTalExportDocIFace& document, const wchar_t* fileName,
                              CKWProgressInterface* progress)
{
    CTalDocProperties& properties = document.GetExportProperties();
    const bool withContents = properties.m_insertContents != 0;
    {
        // The export shows its own contents document instead of contents pages.
        ContentsFlagOff flag(properties.m_insertContents);
        document.ComposeExportPages(false);
    }
    const TalPageList& pages = document.GetExportPages();
    if (pages.empty())
        return false;
    if (progress) {
        CString message;
        AfxLoadStringResource(IDS_GENERATING_REPORT, message);
        progress->SetRange(0, CountProgressSteps(static_cast<int>(pages.size()), withContents));
        progress->SetMessage(message);
    }

    ClearImages();
    m_imageCounter = 1;
    m_writeFailed = false;
    m_output.Clear();

    HDC screen = ::GetDC(nullptr);
    const double dpiX = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96.0;
    const double dpiY = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96.0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    double width = 0.0;
    double height = 0.0;
    properties.GetPageSize(width, height, true);
    SetPageGeometry(width, height, dpiX, dpiY);
    m_fontTable = &properties.GetFontTable();

    CString directory;
    CString name;
    CString extension;
    if (!fileName || !SplitPath(fileName, &directory, &name, &extension)) {
        m_fontTable = nullptr;
        return false;
    }
    m_name = name;
    m_extension = extension;

    const CString dataName = name + kDataSuffix;
    const CString firstPageRef = dataName + L"/" + name + L"." + extension;
    CString contentsRef;
    if (withContents)
        contentsRef = dataName + L"/" + name + kContentsSuffix + L"." + extension;
    if (!WriteFrameset(fileName, contentsRef, firstPageRef, progress))
        return FailExport();

    m_folder = directory + dataName;
    const CString contentsPath = m_folder + L"\\" + name + kContentsSuffix + L"." + extension;
    // A folder there already is kept (with what an earlier export left in it).
    if (::CreateDirectoryW(m_folder, nullptr)) {
        m_output.AddFolder(m_folder);
    } else if (!KWIsFolder(m_folder)) {
        m_output.FailTarget(m_folder, ::GetLastError());
        m_writeFailed = true;
        return FailExport();
    }
    m_folder += L"\\";

    AssignPageFiles(pages, progress);
    if (!WriteNavigationImages(progress) || (withContents && !WriteContentsPage(document, contentsPath, progress)))
        return FailExport();
    WritePages(pages, progress);
    // The pages, pictures and frameset take the places of the earlier ones
    // together, once every one of them is complete.
    if (!PutFilesInPlace())
        return FailExport();
    m_fontTable = nullptr;
    return true;
}

bool CTalHTMLExp::WriteFrameset(const wchar_t* fileName, const CString& contentsRef, const CString& firstPageRef,
                                CKWProgressInterface* progress)
{
    const bool withContents = !contentsRef.IsEmpty();
    const CString title = EscapeHtmlAttribute(m_name);
    CString text;
    text.Format(kHeadTemplate, title.GetString(), kGenerator, title.GetString());
    CString contentsFrame;
    if (withContents)
        contentsFrame.Format(L"\t\t<frame src=\"%ls\" name=\"Content\" scrolling=\"Auto\" title=\"Content\" "
                             L"frameborder=\"0\">\n",
                             EscapeHtmlAttribute(EncodeFileReference(contentsRef)).GetString());
    text.AppendFormat(L"\t<frameset %lsbordercolor=\"#808080\" border=\"%d\">\n%ls"
                      L"\t\t<frame src=\"%ls\" name=\"Report\" scrolling=\"Auto\" title=\"Report\" "
                      L"frameborder=\"1\">\n\t</frameset>\n</HTML>",
                      withContents ? L"cols=\"20%,*\" " : L"", withContents ? 2 : 0, contentsFrame.GetString(),
                      EscapeHtmlAttribute(EncodeFileReference(firstPageRef)).GetString());
    const bool ok = WriteDocumentFile(fileName, text);
    Step(progress);
    return ok;
}

bool CTalHTMLExp::WriteNavigationImages(CKWProgressInterface* progress)
{
    const struct {
        const CString& name;
        int id;
    } images[] = {{m_backImage, kBackImageId}, {m_nextImage, kNextImageId}, {m_blankImage, kBlankImageId}};
    for (const auto& image : images) {
        // A resource the program lacks writes no file, not an empty one.
        if (HasResourceToWrite(image.id)) {
            const CString path = m_folder + image.name;
            const CString temporary = StageFile(path);
            if (temporary.IsEmpty())
                return false;
            const bool ok = WriteResourceToFile(temporary, image.id);
            NoteWrite(ok, path);
            if (!ok)
                return false;
        }
        Step(progress);
    }
    return true;
}

void CTalHTMLExp::MakePageNames(const CString& folder, const CString& name, const CString& extension,
                                CString& pagePath, CString& pageName, CString& previousFile, CString& nextFile,
                                int page, int pageCount)
{
    if (page == 1)
        pageName = name;
    else
        pageName.Format(L"%ls%d", name.GetString(), page);
    pagePath = folder + pageName + L"." + extension;
    MakePageFileName(name, extension, previousFile, page - 1, pageCount);
    MakePageFileName(name, extension, nextFile, page + 1, pageCount);
}

bool CTalHTMLExp::AssignPageFiles(const TalPageList& pages, CKWProgressInterface* progress)
{
    const int count = static_cast<int>(pages.size());
    for (int i = 0; i < count; ++i) {
        CString pagePath, pageName, previousFile, nextFile;
        MakePageNames(m_folder, m_name, m_extension, pagePath, pageName, previousFile, nextFile, i + 1, count);
        if (pages[i])
            pages[i]->SetCache(new ExportHTMLData(pagePath, pageName, previousFile, nextFile));
        Step(progress);
    }
    return true;
}

bool CTalHTMLExp::WritePages(const TalPageList& pages, CKWProgressInterface* progress)
{
    for (TalPageExport* page : pages) {
        // After a failure nothing more is written: the export is taken away.
        if (m_writeFailed)
            return false;
        WritePage(page);
        Step(progress);
    }
    return !m_writeFailed;
}

bool CTalHTMLExp::WritePage(TalPageExport* page)
{
    ExportHTMLData* data = page ? dynamic_cast<ExportHTMLData*>(page->GetCache()) : nullptr;
    if (!data)
        return false;
    // The page's pictures are written while its document is built.
    const CString text = BuildPageDocument(page);
    if (m_writeFailed)
        return false;
    return WriteDocumentFile(data->m_pagePath, text);
}

CString CTalHTMLExp::BuildPageDocument(TalPageExport* page)
{
    const ExportHTMLData* data = dynamic_cast<const ExportHTMLData*>(page->GetCache());
    const CString title = EscapeHtmlAttribute(page->GetName());
    CString text;
    text.Format(kHeadTemplate, title.GetString(), kGenerator, title.GetString());
    text.AppendFormat(L"\t<BODY bgcolor=\"#%02x%02x%02x\" leftmargin=0 topmargin=0>\n", m_backColor.GetByte(1),
                      m_backColor.GetByte(2), m_backColor.GetByte(3));
    text += L"\t\t<TABLE border=\"0\" align=center>\n";

    CString navigation;
    if (data && !data->m_previousFile.IsEmpty())
        navigation += NavigationLink(data->m_previousFile, m_backImage, L"[Back]");
    if (data && !data->m_nextFile.IsEmpty())
        navigation += NavigationLink(data->m_nextFile, m_nextImage, L"[Next]");
    if (!navigation.IsEmpty())
        text += L"\t\t\t<TR><TD valign=top><CENTER>\n" + navigation + L"\t\t\t</CENTER><HR></TD></TR>\n";

    text.AppendFormat(L"\t\t\t<TR><TD WIDTH=%d HEIGHT=%d valign=top>\n", static_cast<int>(m_pageWidth),
                      static_cast<int>(m_pageHeight));
    int layer = 1;
    for (TalObjExport* object : page->GetObjects()) {
        if (!object || !object->GetData())
            continue;
        CString layerText;
        switch (object->GetKind()) {
        case kExportText:
            layerText = TextBlockLayer(*object, layer);
            break;
        case kExportCommonImage:
            layerText = PictureLayer(*object, layer);
            break;
        case kExportImage:
            layerText = BackgroundLayer(*object, layer);
            break;
        case kExportSimpleText:
            layerText = TextLayer(*object, layer);
            break;
        case kExportWatermarkText:
            layerText = WatermarkTextLayer(*object, layer);
            break;
        case kExportWmImage:
            layerText = WatermarkPictureLayer(*object, layer);
            break;
        default:
            break;
        }
        if (!layerText.IsEmpty()) {
            text += layerText;
            ++layer;
        }
    }
    text += L"\t\t\t</TD></TR>\n";
    if (!navigation.IsEmpty())
        text += L"\t\t\t<TR><TD valign=bottom><HR><CENTER>\n" + navigation + L"\t\t\t</CENTER></TD></TR>\n";
    text += L"\t\t</TABLE>\n";
    text += L"\t</BODY>\n</HTML>";
    return text;
}

CString CTalHTMLExp::LayerStart(int layer) const
{
    CString text;
    text.Format(L"\t\t\t<div id=\"Layer%d\" style=\"position:absolute; visibility:inherit; width:%dpx; "
                L"height:%dpx\">\n",
                layer, static_cast<int>(m_pageWidth), static_cast<int>(m_pageHeight));
    return text;
}

CString CTalHTMLExp::LayerEnd()
{
    return CString(L"\t\t\t</div>\n");
}

RECT CTalHTMLExp::PageRect(const CKWDoubleRect& rect) const
{
    RECT out;
    out.left = static_cast<LONG>(rect.left * m_pageWidth);
    out.top = static_cast<LONG>(rect.top * m_pageHeight);
    out.right = static_cast<LONG>(rect.right * m_pageWidth);
    out.bottom = static_cast<LONG>(rect.bottom * m_pageHeight);
    return out;
}

CString CTalHTMLExp::PositionInLayer(const RECT& rect, const CString& content, const CString& attributes) const
{
    const CString cellAttributes = attributes.IsEmpty() ? CString() : attributes + L" ";
    const wchar_t* spacer = m_blankImage.GetString();
    const int left = rect.left;
    const int top = rect.top;
    CString text;
    // The content is appended rather than formatted: a text block may be long.
    if (left == 0 && top == 0) {
        text.Format(L"\t\t\t\t<TABLE border=\"0\">\n\t\t\t\t<TR><TD %lswidth = %dpx height = %dpx>",
                    cellAttributes.GetString(), static_cast<int>(rect.right), static_cast<int>(rect.bottom));
    } else if (left == 0) {
        text.Format(L"\t\t\t\t<TABLE border=\"0\">\n"
                    L"\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: %dpx\" alt=\"\" src=%ls></TD></TR>\n"
                    L"\t\t\t\t<TR><TD %lswidth = %dpx height = %dpx>",
                    top, spacer, cellAttributes.GetString(), static_cast<int>(rect.right),
                    static_cast<int>(rect.bottom - top));
    } else if (top == 0) {
        text.Format(L"\t\t\t\t<TABLE border=\"0\">\n"
                    L"\t\t\t\t<TR><TD><IMG style=\"WIDTH: %dpx; HEIGHT: 1px\" alt=\"\" src=%ls></TD>\n"
                    L"\t\t\t\t<TD %lswidth = %dpx height = %dpx>",
                    left, spacer, cellAttributes.GetString(), static_cast<int>(rect.right - left),
                    static_cast<int>(rect.bottom));
    } else {
        text.Format(L"\t\t\t\t<TABLE border=\"0\">\n"
                    L"\t\t\t\t<TR><TD><IMG style=\"WIDTH: 1px; HEIGHT: 1px\" alt=\"\" src=%ls></TD>\n"
                    L"\t\t\t\t<TD><IMG style=\"WIDTH: 1px; HEIGHT: %dpx\" alt=\"\" src=%ls></TD></TR>\n"
                    L"\t\t\t\t<TR><TD><IMG style=\"WIDTH: %dpx; HEIGHT: 1px\" alt=\"\" src=%ls></TD>\n"
                    L"\t\t\t\t<TD %lswidth = %dpx height = %dpx>",
                    spacer, top, spacer, left, spacer, cellAttributes.GetString(),
                    static_cast<int>(rect.right - left), static_cast<int>(rect.bottom - top));
    }
    text += content;
    text += L"</TD></TR></TABLE>\n";
    return text;
}
