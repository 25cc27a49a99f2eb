// PDFFile: the information dictionary, catalog, outlines, page tree and pages.
#include "export/pdf/PDFFile.h"

#include <algorithm>

namespace {

const wchar_t kProducer[] = L"OstraTallier (for Win32), PDF export library";
const char kCreationDate[] = "(D:20030404185459)";

// Points to a whole number of points for the media box.
uint32_t MediaBoxLength(float points)
{
    const double rounded = static_cast<double>(points) + 0.5;
    if (!(rounded > 0))
        return 0;
    return rounded >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(rounded);
}

}  // namespace

void PDFFile::WriteHexString(const wchar_t* text)
{
    m_output->Write("<FEFF").WriteHexText(text).Write(">");
}

void PDFFile::WriteInfo(const wchar_t* title, const wchar_t* subject, const wchar_t* author,
                        const wchar_t* creator, const wchar_t* keywords)
{
    BeginObject(GetObjectNumber(kInfoEntry));
    m_output->WriteLine("<<");
    const struct {
        const char* key;
        const wchar_t* value;
    } entries[] = {{"/Title ", title}, {"/Subject ", subject}, {"/Author ", author},
                   {"/Creator ", creator}, {"/Producer ", kProducer}, {"/Keywords ", keywords}};
    for (const auto& entry : entries) {
        m_output->Write(entry.key);
        WriteHexString(entry.value);
        m_output->WriteLineEnd();
    }
    m_output->Write("/CreationDate ").WriteLine(kCreationDate);
    m_output->WriteLine(">>");
    EndObject();
}

void PDFFile::WriteCatalog()
{
    BeginObject(GetObjectNumber(kCatalogEntry));
    m_output->WriteLine("<<").WriteLine("/Type /Catalog").Write("/Outlines ");
    WriteReference(GetObjectNumber(kOutlinesEntry));
    m_output->WriteLineEnd().Write("/Pages ");
    WriteReference(GetObjectNumber(kPagesEntry));
    m_output->WriteLineEnd().WriteLine(">>");
    EndObject();
}

void PDFFile::WriteOutlines(const std::vector<PDFPageRecord>& pages)
{
    const uint32_t n = m_pageCount;
    const uint32_t root = GetObjectNumber(kOutlinesEntry);
    BeginObject(root);
    m_output->WriteLine("<<").WriteLine("/Type /Outlines");
    m_output->Write("/Count ").WriteUInt(n).WriteLineEnd();
    m_output->Write("/First ");
    WriteReference(root + 1);
    m_output->WriteLineEnd().Write("/Last ");
    WriteReference(root + n);
    m_output->WriteLineEnd().WriteLine(">>");
    EndObject();

    const uint32_t firstPage = GetObjectNumber(kPagesEntry) + 1;
    for (uint32_t i = 0; i < n; ++i) {
        BeginObject(root + 1 + i);
        m_output->WriteLine("<<").Write("/Title <FEFF");
        if (i < pages.size())
            m_output->WriteHexText(pages[i].name, static_cast<size_t>(pages[i].name.GetLength()));
        m_output->WriteLine(">").Write("/Parent ");
        WriteReference(root);
        m_output->WriteLineEnd().Write("/Dest [").WriteUInt(firstPage + i).Write(" 0");
        m_output->WriteLine(" R /XYZ null null null]");
        if (i > 0) {
            m_output->Write("/Prev ");
            WriteReference(root + i);
            m_output->WriteLineEnd();
        }
        if (i + 1 < n) {
            m_output->Write("/Next ");
            WriteReference(root + 2 + i);
            m_output->WriteLineEnd();
        }
        m_output->WriteLine(">>");
        EndObject();
    }
}

void PDFFile::WritePages(const std::vector<PDFPageRecord>& pages, const std::vector<PDFImageRecord>& images,
                         const std::vector<PDFFontRecord>& fonts)
{
    const uint32_t n = m_pageCount;
    const uint32_t tree = GetObjectNumber(kPagesEntry);
    BeginObject(tree);
    m_output->WriteLine("<<").WriteLine("/Type /Pages");
    m_output->Write("/Count ").WriteUInt(n).WriteLineEnd();
    m_output->Write("/Kids [");
    for (uint32_t i = 0; i < n; ++i) {
        if (i > 0)
            m_output->Write(" ");
        WriteReference(tree + 1 + i);
    }
    m_output->WriteLine("]").WriteLine(">>");
    EndObject();

    const uint32_t firstFont = GetObjectNumber(kFirstFontEntry);
    const uint32_t firstImage = GetObjectNumber(kFirstImageEntry);
    const uint32_t firstContent = GetObjectNumber(kFirstContentEntry);
    static const PDFPageRecord kNoPage;
    for (uint32_t i = 0; i < n; ++i) {
        const PDFPageRecord& page = i < pages.size() ? pages[i] : kNoPage;
        BeginObject(tree + 1 + i);
        m_output->WriteLine("<<").WriteLine("/Type /Page").Write("/Parent ");
        WriteReference(tree);
        m_output->WriteLineEnd().Write("/MediaBox [").WriteInt(0).Write(" ").WriteInt(0).Write(" ");
        m_output->WriteUInt(MediaBoxLength(page.width)).Write(" ").WriteUInt(MediaBoxLength(page.height));
        m_output->WriteLine("]").WriteLine("/Resources").WriteLine("<<");
        m_output->WriteLine("/ProcSet [/PDF /Text /ImageC]");
        if (!page.images.empty()) {
            m_output->WriteLine("/XObject").WriteLine("<<");
            // A picture shown twice is listed twice on the page, but a
            // dictionary may name a key only once.
            std::vector<uint32_t> listed;
            bool first = true;
            for (uint32_t index : page.images) {
                if (index >= images.size() || std::find(listed.begin(), listed.end(), index) != listed.end())
                    continue;
                listed.push_back(index);
                if (!first)
                    m_output->Write(" ");
                first = false;
                m_output->Write("/I").WriteUInt(images[index].key).Write(" ");
                m_output->WriteUInt(firstImage + 2 * index).Write(" ").Write("0").WriteLine(" R");
            }
            m_output->WriteLine(">>");
        }
        m_output->WriteLine("/ColorSpace").WriteLine("<<").WriteLine("/RCS [/DeviceRGB]").WriteLine(">>");
        if (!page.fonts.empty()) {
            m_output->Write("/Font ").WriteLine("<<");
            for (uint32_t index : page.fonts) {
                if (index >= fonts.size() || fonts[index].codes.empty())
                    continue;
                m_output->Write("/F").WriteInt(static_cast<int32_t>(fonts[index].key)).Write(" ");
                m_output->WriteUInt(firstFont + kObjectsPerFont * index).Write(" ").Write("0").WriteLine(" R");
            }
            m_output->WriteLine(">>");
        }
        m_output->WriteLine(">>");
        m_output->Write("/Contents ");
        WriteReference(firstContent + 2 * i);
        m_output->WriteLineEnd().WriteLine(">>");
        EndObject();
    }
}
