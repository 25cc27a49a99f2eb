// PDFFile: construction, object numbering and framing, cross-reference
// section and trailer.
#include "export/pdf/PDFFile.h"

PDFFile::PDFFile(const wchar_t* fileName) : m_output(new PDFOutput(fileName))
{
}

PDFFile::PDFFile(KWStream* stream) : m_output(new PDFOutput(stream))
{
}

PDFFile::~PDFFile()
{
    if (m_output)
        m_output->Close();
}

bool PDFFile::AssignObjectNumbers(uint32_t pageCount, uint32_t imageCount, uint32_t fontCount)
{
    m_numbers.clear();
    m_pageCount = 0;
    if (pageCount < 1)
        return false;
    const uint64_t n = pageCount;
    const uint64_t firstFont = 4 * n + 5;
    const uint64_t firstImage = firstFont + uint64_t(kObjectsPerFont) * fontCount;
    const uint64_t size = firstImage + 2 * uint64_t(imageCount);
    if (size - 1 > kMaxObjectNumber) {
        SetFailed();
        return false;
    }
    const uint64_t numbers[kEntryCount] = {1, 2, 3, n + 4, 2 * n + 5, firstFont, firstImage, size};
    m_pageCount = pageCount;
    m_numbers.resize(kEntryCount);
    for (int i = 0; i < kEntryCount; ++i)
        m_numbers[i].number = static_cast<uint32_t>(numbers[i]);
    m_xref.reserve(static_cast<size_t>(size - 1));
    return true;
}

uint32_t PDFFile::GetObjectNumber(int entry) const
{
    return entry >= 0 && static_cast<size_t>(entry) < m_numbers.size() ? m_numbers[entry].number : 0;
}

void PDFFile::BeginObject(uint32_t number, uint16_t generation)
{
    // Entry m - 1 of the table belongs to object m: the objects must come in order.
    if (number != m_xref.size() + 1 || m_output->InStream())
        SetFailed();
    PDFXrefEntry entry;
    entry.offset = m_output->GetFilePos();
    entry.generation = 0;
    entry.inUse = 1;
    m_xref.push_back(entry);
    m_output->WriteUInt(number).Write(" ").WriteUShort(generation).WriteLine(" obj");
}

void PDFFile::EndObject()
{
    m_output->WriteLine("endobj");
}

void PDFFile::AddFreeEntries(int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        m_xref.push_back(PDFXrefEntry());
}

void PDFFile::WriteReference(uint32_t number)
{
    m_output->WriteUInt(number).Write(" 0 R");
}

void PDFFile::EndStreamObject(uint32_t number, uint64_t byteCount)
{
    m_output->WriteLine("endstream");
    EndObject();
    BeginObject(number + 1);
    m_output->WriteUInt64(byteCount).WriteLineEnd();
    EndObject();
}

void PDFFile::BeginPageContent(uint32_t pageIndex)
{
    const uint32_t number = GetObjectNumber(kFirstContentEntry) + 2 * pageIndex;
    m_filter = kPDFFilterFlate;
    BeginObject(number);
    m_output->WriteLine("<<");
    WriteFilter();
    m_output->Write("/Length ");
    WriteReference(number + 1);
    m_output->WriteLineEnd().WriteLine(">>").WriteLine("stream");
    m_output->BeginStream();
}

void PDFFile::EndPageContent(uint32_t pageIndex)
{
    const uint32_t number = GetObjectNumber(kFirstContentEntry) + 2 * pageIndex;
    const uint64_t count = m_output->EndStream(kPDFFilterFlate);
    EndStreamObject(number, count);
}

void PDFFile::WriteXref()
{
    const uint32_t size = GetObjectNumber(kSizeEntry);
    // A table that does not cover every number would point readers at wrong objects.
    if (size == 0 || m_xref.size() != size - 1)
        SetFailed();
    m_xrefOffset = m_output->GetFilePos();
    m_output->WriteLine("xref");
    m_output->Write("0 ").WriteUInt(size).WriteLineEnd();
    m_output->WriteXrefEntry(0, 65535, false).WriteLineEnd();
    for (const PDFXrefEntry& entry : m_xref)
        m_output->WriteXrefEntry(entry.offset, entry.generation, entry.inUse != 0).WriteLineEnd();
}

void PDFFile::WriteTrailer()
{
    m_output->WriteLine("trailer").WriteLine("<<");
    m_output->Write("/Size ").WriteUInt(GetObjectNumber(kSizeEntry)).WriteLineEnd();
    m_output->Write("/Root ");
    WriteReference(GetObjectNumber(kCatalogEntry));
    m_output->WriteLineEnd().Write("/Info ");
    WriteReference(GetObjectNumber(kInfoEntry));
    m_output->WriteLineEnd().WriteLine(">>").WriteLine("startxref");
    m_output->WriteUInt64(m_xrefOffset).WriteLineEnd().WriteLine("%%EOF");
}

bool PDFFile::Finish()
{
    return m_output && m_output->Close();
}
