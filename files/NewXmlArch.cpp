#include "files/NewXmlArch.h"

#include "files/NewSaxInterface.h"
#include "files/TagTable.h"
#include "files/XmlParserInterface.h"

#include "framework/KWCodePage.h"
#include "framework/KWProgressInterface.h"

#include <windows.h>

#include <new>
#include <string>

namespace {

// True when the parser stands in an element's character data with nothing
// pending but plain ASCII text (no markup, no reference begun), reading UTF-8
// without conversion: then everything up to the next '<' in the file is
// character data of the same element.
bool IsInPlainText(xmlParserCtxtPtr context)
{
    if (!context || context->instate != XML_PARSER_CONTENT || context->inputNr != 1)
        return false;
    xmlParserInputPtr input = context->input;
    if (!input || !input->buf || input->buf->encoder || !input->cur || !input->end)
        return false;
    // ASCII only: a character cut by the slice's end must not be cut off.
    for (const xmlChar* p = input->cur; p < input->end; ++p) {
        if (*p == '<' || *p == '&' || *p >= 0x80)
            return false;
    }
    return true;
}

}  // namespace

CNewXmlArch::CNewXmlArch(const wchar_t* path, int32_t mode, bool log) : m_mode(mode), m_logFlag(log)
{
    CXmlParserInterface::Acquire();
    if (path && *path)
        Open(path, mode, log);
}

CNewXmlArch::~CNewXmlArch()
{
    Close();
    CXmlParserInterface::Release();
}

bool CNewXmlArch::Open(const wchar_t* path, int32_t mode, bool log)
{
    if (m_stream)
        Close();
    m_path = path ? path : L"";
    m_mode = mode;
    m_logFlag = log;
    if (mode == kModeRead || mode == kModeWrite) {
        auto stream = std::make_unique<CXmlFile>();
        if (stream->Open(m_path, mode == kModeRead ? CXmlFile::kRead : CXmlFile::kWrite))
            m_stream = std::move(stream);
    }
    if (!IsOpen()) {
        SetError(kErrOpenFile);
        return false;
    }
    if (m_logFlag)
        OpenLog(L"");
    return true;
}

void CNewXmlArch::SetTagTable(CTagTable* table)
{
    if (m_mode != kModeRead)
        return;
    m_table = table;
    if (m_table)
        m_table->SetArchive(this);
}

int32_t CNewXmlArch::Parse(CKWProgressInterface* progress)
{
    m_error = kErrNone;
    // One parse at a time in the whole program: the callbacks reach one sink.
    if (m_mode != kModeRead || IsParsing() || CNewSaxInterface::GetCurrent())
        return SetError(kErrCommand);
    if (!IsOpen() && !Open(m_path, m_mode, m_logFlag))
        return m_error;  // the open recorded error 6
    if (!m_table || !m_table->GetTarget() || !m_table->GetArchive())
        return SetError(kErrInitialization);
    try {
        m_sax = std::make_unique<CNewSaxInterface>(this);
    } catch (const std::bad_alloc&) {
        return SetError(kErrMemory);
    }
    m_sax->SetTagTable(m_table);
    try {
        FeedParser(progress);
    } catch (const std::bad_alloc&) {
        SetError(kErrMemory);
    }
    if (progress)
        progress->Update();
    int32_t result = m_error;
    Close();
    return result;
}

void CNewXmlArch::FeedParser(CKWProgressInterface* progress)
{
    xmlSAXHandler* handler = m_sax->BuildHandler();
    if (progress)
        progress->BeginStage(m_stream->GetLength() / kSliceSize);

    char first[kFirstSliceSize];
    int32_t count = m_stream->Read(first, kFirstSliceSize);
    if (count <= 0)
        return;  // an empty file: nothing to read, no error
    CXmlParserInterface* parser = CXmlParserInterface::Get();
    std::string ansiPath = WideToAnsi(m_path);
    xmlParserCtxtPtr context = xmlCreatePushParserCtxt(handler, nullptr, first, count, ansiPath.c_str());
    if (!context) {
        // Nothing was read: not a success.
        SetError(kErrMemory);
        return;
    }
    parser->SetContext(context);
    m_sax->SetContext(context);
    // Entities are replaced; external ones are refused by the library's loader.
    xmlCtxtUseOptions(context, XML_PARSE_NOENT | XML_PARSE_NONET);

    char slice[kSliceSize];
    int32_t carried = 0;  // bytes of the next slice read already
    for (;;) {
        count = carried + m_stream->Read(slice + carried, kSliceSize - carried);
        carried = 0;
        if (count <= 0)
            break;
        if (xmlParseChunk(context, slice, count, 0) != 0)
            SetError(kErrParsing);
        if (m_error != kErrNone) {
            xmlStopParser(context);
            break;
        }
        if (progress)
            progress->Advance();
        if (m_sax->IsSkipping() && IsInPlainText(context)) {
            // The text of a skipped element (an image's Base64, megabytes
            // long) goes unread to the next markup: feeding it slice by
            // slice would only cost time.
            char ch = 0;
            int32_t passed = 0;
            while (m_stream->Read(&ch, 1) == 1) {
                if (ch == '<') {
                    slice[0] = ch;
                    carried = 1;
                    break;
                }
                if (progress && ++passed % kSliceSize == 0)
                    progress->Advance();
            }
        }
    }
    xmlParseChunk(context, nullptr, 0, 1);
}

void CNewXmlArch::StopParser()
{
    CXmlParserInterface* parser = CXmlParserInterface::Get();
    if (parser && parser->GetContext() && IsParsing())
        xmlStopParser(parser->GetContext());
}

void CNewXmlArch::Close()
{
    if (IsParsing()) {
        if (CXmlParserInterface* parser = CXmlParserInterface::Get())
            parser->FreeContext();
    }
    m_sax.reset();
    m_table = nullptr;
    if (m_stream) {
        m_stream->Close();
        m_stream.reset();
    }
    m_depth = 0;
    m_pendingIndent = false;
    CloseLog();
}

CString CNewXmlArch::GetPublicId() const
{
    return m_sax ? m_sax->GetPublicId() : CString();
}

CString CNewXmlArch::GetSystemId() const
{
    return m_sax ? m_sax->GetSystemId() : CString();
}

int32_t CNewXmlArch::GetLineNumber() const
{
    return m_sax ? m_sax->GetLineNumber() : -1;
}

int32_t CNewXmlArch::GetColumnNumber() const
{
    return m_sax ? m_sax->GetColumnNumber() : -1;
}

int32_t CNewXmlArch::GetDepth() const
{
    return m_sax ? m_sax->GetDepth() : m_depth;
}

CNewParamCell* CNewXmlArch::GetParams(const wchar_t* name) const
{
    return m_table ? m_table->GetParams(name) : nullptr;
}

bool CNewXmlArch::SkipElement(const CString& name)
{
    return m_sax ? m_sax->SkipElement(name) : false;
}
