#include "files/NewXmlArch.h"

#include "files/NewSaxInterface.h"
#include "files/TagTable.h"
#include "files/XmlParserInterface.h"

#include "framework/KWCodePage.h"
#include "framework/KWProgressInterface.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// True when the parser stands in the state, reading the one file as UTF-8
// without conversion, with nothing pending but ASCII bytes other than the
// stops (a character cut by the piece's end must not be cut off).
bool IsPendingPlain(xmlParserCtxtPtr context, xmlParserInputState state, const char* stops)
{
    if (!context || context->instate != state || context->inputNr != 1)
        return false;
    xmlParserInputPtr input = context->input;
    if (!input || !input->buf || input->buf->encoder || !input->cur || !input->end)
        return false;
    for (const xmlChar* p = input->cur; p < input->end; ++p) {
        if (*p >= 0x80 || std::strchr(stops, *p))
            return false;
    }
    return true;
}

// True when the parser stands in an element's character data with nothing
// pending but plain text (no markup, no reference begun): then the plain
// text that follows in the file is character data of the same element.
bool IsInPlainText(xmlParserCtxtPtr context)
{
    return IsPendingPlain(context, XML_PARSER_CONTENT, "<&");
}

// The same in a CDATA section: nothing pending can end it (no ']'), so the
// plain text that follows in the file belongs to the same section.
bool IsInPlainCData(xmlParserCtxtPtr context)
{
    return IsPendingPlain(context, XML_PARSER_CDATA_SECTION, "]");
}

// In a CDATA section the push parser hands on one block of this many bytes
// per turn (its XML_PARSER_BIG_BUFFER_SIZE) and looks for the section's end
// through all it holds each time: a section is fed in blocks of this size,
// each followed by a turn, so that what it holds stays small and a section
// of any size is read in time linear in its size.
const int32_t kCDataBlock = 300;
const char kCDataStart[] = "<![CDATA[";

// The piece fed ends right after a CDATA section's start (which may reach a
// little beyond it), so that the section's text is fed block by block from
// its first byte.
int32_t PieceToCDataStart(const char* from, int32_t piece, int32_t available)
{
    const int32_t markLength = static_cast<int32_t>(sizeof kCDataStart - 1);
    const char* end = from + std::min(available, piece + markLength - 1);
    const char* found = std::search(from, end, kCDataStart, kCDataStart + markLength);
    return found == end ? piece : static_cast<int32_t>(found - from) + markLength;
}

// Where the parser stands in the whole of its input.
int64_t ParserOffset(xmlParserCtxtPtr context)
{
    xmlParserInputPtr input = context->input;
    return input && input->cur && input->base ? static_cast<int64_t>(input->consumed) + (input->cur - input->base)
                                              : -1;
}

// The bytes a skipped element's text may hold without the parser seeing
// them: Base64 digits, padding, blanks and TABs. Anything else (markup, a
// reference, a line end that the line count needs, a byte that is not valid
// text) goes to the parser, which reports what is wrong with it.
struct PlainTable {
    bool plain[256] = {};
    PlainTable()
    {
        for (int c = 'A'; c <= 'Z'; ++c)
            plain[c] = plain[c - 'A' + 'a'] = true;
        for (int c = '0'; c <= '9'; ++c)
            plain[c] = true;
        plain[static_cast<uint8_t>('+')] = plain[static_cast<uint8_t>('/')] = plain[static_cast<uint8_t>('=')] = true;
        plain[static_cast<uint8_t>(' ')] = plain[static_cast<uint8_t>('\t')] = true;
    }
};

// The first byte from begin on that is not plain text.
const char* SkipPlainText(const char* begin, const char* end)
{
    static const PlainTable table;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(begin);
    const uint8_t* stop = reinterpret_cast<const uint8_t*>(end);
    while (stop - p >= 4 && table.plain[p[0]] && table.plain[p[1]] && table.plain[p[2]] && table.plain[p[3]])
        p += 4;
    while (p < stop && table.plain[*p])
        ++p;
    return reinterpret_cast<const char*>(p);
}

// Counts the attributes of the start tags in the bytes the parser is given.
// The parser checks each attribute against all before it, so an element with
// a hundred thousand of them costs seconds before any handler could refuse
// it; the files of this system have a dozen at most. Markup that is no start
// tag (comments, declarations, end tags) is passed over to its '>'.
class CAttributeCounter {
public:
    // False once a start tag has more than the limit.
    bool Pass(const char* bytes, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i) {
            const char c = bytes[i];
            switch (m_state) {
            case kText:
                if (c == '<')
                    m_state = kOpen;
                break;
            case kOpen:
                m_state = c == '!' || c == '?' || c == '/' ? kMarkup : kTag;
                m_attributes = 0;
                break;
            case kTag:
                if (c == '\'' || c == '"') {
                    m_quote = c;
                    m_state = kQuoted;
                } else if (c == '=' && ++m_attributes > CNewXmlArch::kMaxAttributes) {
                    return false;
                } else if (c == '>') {
                    m_state = kText;
                }
                break;
            case kQuoted:
                if (c == m_quote)
                    m_state = kTag;
                break;
            case kMarkup:
                if (c == '>')
                    m_state = kText;
                break;
            }
        }
        return true;
    }
    // The parser stands in character data.
    void InText() { m_state = kText; }

private:
    enum State { kText, kOpen, kTag, kQuoted, kMarkup };
    State m_state = kText;
    char m_quote = 0;
    int32_t m_attributes = 0;
};

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
        if (stream->Open(m_path, mode == kModeRead ? CXmlFile::kRead | CXmlFile::kBinary : CXmlFile::kWrite))
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
    m_table->ResetStartCounts();
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
        progress->BeginStage(static_cast<int>(m_stream->GetLength() / kProgressBytes + 1));

    std::vector<char> buffer(kReadSize);
    int32_t end = m_stream->Read(buffer.data(), kReadSize);
    if (end <= 0)
        return;  // an empty file: nothing to read, no error
    const int32_t first = end < kFirstSliceSize ? end : kFirstSliceSize;
    CXmlParserInterface* parser = CXmlParserInterface::Get();
    std::string ansiPath = WideToAnsi(m_path);
    // The sink is the user data, so that the parser never looks entities up
    // in the declarations it keeps for itself.
    xmlParserCtxtPtr context = xmlCreatePushParserCtxt(handler, m_sax.get(), buffer.data(), first, ansiPath.c_str());
    if (!context) {
        // Nothing was read: not a success.
        SetError(kErrMemory);
        return;
    }
    parser->SetContext(context);
    m_sax->SetContext(context);
    // External entities are refused by the library's loader. A picture's
    // text is one node of up to the file's size: the library's limits on
    // single nodes are lifted, which is safe because no entity may be
    // declared (the sink refuses them), so nothing the parser holds can grow
    // beyond the file it reads.
    int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_HUGE;
    if (m_utf8Copy)
        options |= XML_PARSE_IGNORE_ENC;
    xmlCtxtUseOptions(context, options);

    CAttributeCounter attributes;
    attributes.Pass(buffer.data(), first);
    int32_t position = first;
    int64_t bufferStart = 0;  // the file offset of the buffer's first byte
    size_t run = 0;           // the first digit run that may lie ahead
    int64_t sinceProgress = 0;
    while (m_error == kErrNone) {
        if (position == end) {
            bufferStart += end;
            end = m_stream->Read(buffer.data(), kReadSize);
            position = 0;
            if (end <= 0)
                break;
        }
        const char* from = buffer.data() + position;
        if (m_sax->IsSkipping() && (IsInPlainText(context) || IsInPlainCData(context))) {
            attributes.InText();
            // The text of a skipped element (an image's Base64, megabytes
            // long) is passed over unread: feeding it would only cost time.
            // Where the pre-pass saw nothing but digits, the file is not
            // even read again.
            const int64_t at = bufferStart + position;
            while (run < m_digitRuns.size() && m_digitRuns[run].end <= at)
                ++run;
            if (run < m_digitRuns.size() && m_digitRuns[run].start <= at) {
                const int64_t target = m_digitRuns[run].end;
                sinceProgress += target - at;
                if (target < bufferStart + end) {
                    position = static_cast<int32_t>(target - bufferStart);
                } else if (m_stream->Seek(target) == target) {
                    bufferStart = target;
                    position = end = 0;
                } else {
                    SetError(kErrParsing);
                    break;
                }
                continue;
            }
            const char* next = SkipPlainText(from, buffer.data() + end);
            sinceProgress += next - from;
            position += static_cast<int32_t>(next - from);
            if (position == end)
                continue;
            from = next;
        }
        int32_t piece = end - position < kFeedSize ? end - position : kFeedSize;
        if (context->instate == XML_PARSER_CDATA_SECTION)
            piece = std::min(piece, kCDataBlock);
        else
            piece = PieceToCDataStart(from, piece, end - position);
        if (!attributes.Pass(from, piece)) {
            CString message;
            message.Format(L"An element has more than %d attributes.", kMaxAttributes);
            Error(message);
            SetError(kErrParsing);
            xmlStopParser(context);
            break;
        }
        // A stop asked for by a handler has its own code already.
        if (xmlParseChunk(context, from, piece, 0) != 0 && context->errNo != XML_ERR_USER_STOP)
            SetError(kErrParsing);
        // A section entered with more than a block pending is read on turn by
        // turn (a turn without new bytes) until it holds less than a block more.
        while (m_error == kErrNone && context->instate == XML_PARSER_CDATA_SECTION && context->input &&
               context->input->end - context->input->cur > kCDataBlock + 1) {
            const int64_t before = ParserOffset(context);
            if (xmlParseChunk(context, nullptr, 0, 0) != 0) {
                if (context->errNo != XML_ERR_USER_STOP)
                    SetError(kErrParsing);
                break;
            }
            if (ParserOffset(context) == before)
                break;
        }
        position += piece;
        sinceProgress += piece;
        for (; progress && sinceProgress >= kProgressBytes; sinceProgress -= kProgressBytes)
            progress->Advance();
    }
    // The end of the file is an event of its own: a file cut short is an error.
    if (xmlParseChunk(context, nullptr, 0, 1) != 0 && m_error == kErrNone)
        SetError(kErrParsing);
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
