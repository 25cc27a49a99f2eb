#include "files/NewSaxInterface.h"

#include "files/NewXmlArch.h"
#include "framework/KWCodePage.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

CNewSaxInterface* g_current = nullptr;

// Characters U+E000..U+E01F stand for the control characters U+0000..U+001F.
const wchar_t kControlBase = 0xE000;
const wchar_t kControlLast = 0xE01F;
// This one stands for a line break.
const wchar_t kLineBreakMark = 0x000E;
// Elements nest at most this deep, as the parser's own limit has them.
const size_t kMaxDepth = 256;

CString FromUtf8(const char* text, int length)
{
    CString result;
    if (text && length != 0)
        MultiByteToString(result, text, length, CP_UTF8);
    return result;
}

CString FormatMessage(const char* format, va_list args)
{
    // Grows until the whole message fits.
    std::vector<char> buffer(150);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int needed = std::vsnprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
        if (needed < 0)
            buffer.resize(buffer.size() + 100);
        else if (static_cast<size_t>(needed) >= buffer.size())
            buffer.resize(static_cast<size_t>(needed) + 1);
        else
            break;
        if (buffer.size() > (1u << 20))
            break;
    }
    buffer.back() = 0;
    return FromUtf8(buffer.data(), -1);
}

// No C++ exception may leave a libxml2 callback.
template <class Action>
void Guarded(Action action)
{
    CNewSaxInterface* sink = g_current;
    if (!sink)
        return;
    try {
        action(sink);
    } catch (const std::bad_alloc&) {
        sink->OnFailure(true);
    } catch (...) {
        sink->OnFailure(false);
    }
}

void SaxSetDocumentLocator(void*, xmlSAXLocatorPtr locator)
{
    Guarded([&](CNewSaxInterface* sink) { sink->OnSetDocumentLocator(locator); });
}

void SaxEndDocument(void*)
{
    Guarded([&](CNewSaxInterface* sink) { sink->OnEndDocument(); });
}

void SaxStartElement(void*, const xmlChar* name, const xmlChar** attributes)
{
    Guarded([&](CNewSaxInterface* sink) {
        sink->OnStartElement(reinterpret_cast<const char*>(name), reinterpret_cast<const char**>(attributes));
    });
}

void SaxEndElement(void*, const xmlChar* name)
{
    Guarded([&](CNewSaxInterface* sink) { sink->OnEndElement(reinterpret_cast<const char*>(name)); });
}

void SaxCharacters(void*, const xmlChar* text, int length)
{
    Guarded([&](CNewSaxInterface* sink) { sink->OnCharacters(reinterpret_cast<const char*>(text), length); });
}

// Files of this system declare no entities: a declaration is refused, so
// that no entity can grow a few bytes into gigabytes of text; a reference to
// it is then an undefined entity, which the parser reports.
void SaxEntityDecl(void*, const xmlChar* name, int, const xmlChar*, const xmlChar*, xmlChar*)
{
    Guarded([&](CNewSaxInterface* sink) {
        CString message;
        message.Format(L"The entity declaration \"%ls\" is refused.",
                       FromUtf8(name ? reinterpret_cast<const char*>(name) : "", -1).GetString());
        sink->OnWarning(message);
    });
}

xmlEntityPtr SaxGetEntity(void*, const xmlChar*)
{
    return nullptr;
}

void SaxWarning(void*, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Guarded([&](CNewSaxInterface* sink) { sink->OnWarning(FormatMessage(format, args)); });
    va_end(args);
}

void SaxError(void*, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Guarded([&](CNewSaxInterface* sink) { sink->OnError(FormatMessage(format, args)); });
    va_end(args);
}

}  // namespace

CNewSaxInterface::CNewSaxInterface(CNewXmlArch* archive) : m_archive(archive)
{
    std::memset(&m_handler, 0, sizeof m_handler);
}

CNewSaxInterface::~CNewSaxInterface()
{
    if (g_current == this)
        g_current = nullptr;
}

CNewSaxInterface* CNewSaxInterface::GetCurrent()
{
    return g_current;
}

void CNewSaxInterface::ReportRefusedEntity(const char* url)
{
    Guarded([&](CNewSaxInterface* sink) {
        CString message;
        message.Format(L"failed to load external entity \"%ls\"\n", FromUtf8(url ? url : "", -1).GetString());
        sink->OnWarning(message);
    });
}

xmlSAXHandler* CNewSaxInterface::BuildHandler()
{
    std::memset(&m_handler, 0, sizeof m_handler);
    // The first SAX version: elements come with plain names and attribute lists.
    m_handler.initialized = 1;
    m_handler.setDocumentLocator = SaxSetDocumentLocator;
    m_handler.entityDecl = SaxEntityDecl;
    m_handler.getEntity = SaxGetEntity;
    m_handler.getParameterEntity = SaxGetEntity;
    m_handler.endDocument = SaxEndDocument;
    m_handler.startElement = SaxStartElement;
    m_handler.endElement = SaxEndElement;
    m_handler.characters = SaxCharacters;
    m_handler.warning = SaxWarning;
    m_handler.error = SaxError;
    m_handler.fatalError = SaxError;
    g_current = this;
    return &m_handler;
}

int32_t CNewSaxInterface::GetLineNumber() const
{
    if (!m_locator || !m_context || !m_locator->getLineNumber)
        return -1;
    return m_locator->getLineNumber(m_context);
}

int32_t CNewSaxInterface::GetColumnNumber() const
{
    if (!m_locator || !m_context || !m_locator->getColumnNumber)
        return -1;
    return m_locator->getColumnNumber(m_context);
}

CString CNewSaxInterface::GetPublicId() const
{
    if (!m_locator || !m_context || !m_locator->getPublicId)
        return CString();
    return FromUtf8(reinterpret_cast<const char*>(m_locator->getPublicId(m_context)), -1);
}

CString CNewSaxInterface::GetSystemId() const
{
    if (!m_locator || !m_context || !m_locator->getSystemId)
        return CString();
    return FromUtf8(reinterpret_cast<const char*>(m_locator->getSystemId(m_context)), -1);
}

void CNewSaxInterface::OnEndDocument()
{
    m_skipIndex = -1;
    m_skipName.Empty();
}

void CNewSaxInterface::StartSkip(CTagItem* item, int32_t index)
{
    // A skip already in force stays unless the new one lies lower in the stack.
    if (m_skipIndex >= 0 && index >= m_skipIndex)
        return;
    m_skipName = CString(item->GetKey());
    m_skipIndex = index;
}

bool CNewSaxInterface::GetOpenElement(CString& name, int32_t& line) const
{
    if (m_open.empty())
        return false;
    name = m_open.back().name;
    line = m_open.back().line;
    return true;
}

void CNewSaxInterface::OnStartElement(const char* utf8Name, const char** attributes)
{
    if (!utf8Name)
        return;
    CString name = FromUtf8(utf8Name, -1);
    // The parser takes text nodes of any size and so nests without its own
    // limit: the files of this system nest a dozen levels, and a file that
    // nests without end is refused before it costs memory.
    if (m_open.size() >= kMaxDepth) {
        CString message;
        message.Format(L"The elements nest deeper than %d levels.", static_cast<int>(kMaxDepth));
        m_archive->Error(message);
        m_archive->SetError(CNewXmlArch::kErrParsing);
        m_archive->StopParser();
        return;
    }
    m_open.push_back({name, GetLineNumber()});
    if (!m_table)
        return;
    CTagItem* item = m_table->FindTag(name);
    if (!item) {
        // Unknown elements are passed over, their text goes to the parent.
        if (!IsSkipping())
            m_table->OnUnknownElement(name);
        return;
    }
    item->CountStart();
    CTagItem* parent = m_stack.empty() ? nullptr : m_stack.back();
    m_stack.push_back(item);
    if (IsSkipping())
        return;
    const int32_t index = GetDepth() - 1;
    if (!item->IsAllowedUnder(parent)) {
        CString message;
        message.Format(L"Misplaced tag %ls is ignored.", name.GetString());
        m_archive->Warning(message);
        StartSkip(item, index);
        return;
    }
    CNewParamCell read = CNewParamCell::FromParser(nullptr, attributes, 0, CNewParamCell::kAll);
    auto current = std::make_unique<CNewParamCell>(CNewParamCell::kAll);
    if (const CNewParamCell* defaults = item->GetDefaultCell())
        *current = *defaults;
    current->Merge(read);
    item->SetCurrentCell(current.release());
    if (CTagDelegateVoid* delegate = item->GetDelegate())
        delegate->CallStart(name);
}

void CNewSaxInterface::OnEndElement(const char* utf8Name)
{
    if (!m_open.empty())
        m_open.pop_back();
    if (!m_table || !utf8Name || m_stack.empty())
        return;
    CString name = FromUtf8(utf8Name, -1);
    CTagItem* item = m_table->FindTag(name);
    if (!item || item != m_stack.back())
        return;
    const int32_t index = GetDepth() - 1;
    const bool skipping = IsSkipping();
    if (skipping && index == m_skipIndex && m_skipName == CString(item->GetKey())) {
        m_skipIndex = -1;
        m_skipName.Empty();
    }
    m_stack.pop_back();
    if (!skipping) {
        if (CTagDelegateVoid* delegate = item->GetDelegate())
            delegate->CallEnd(name);
    }
}

void CNewSaxInterface::OnCharacters(const char* text, int length)
{
    if (IsSkipping() || !text || length <= 0 || m_stack.empty())
        return;
    if (m_table && m_table->TakeText(m_stack.back(), text, length))
        return;
    CNewParamCell* cell = m_stack.back()->GetCurrentCell();
    if (!cell)
        return;
    // libxml2 hands text over in pieces of a few hundred bytes.
    wchar_t local[4096];
    std::unique_ptr<wchar_t[]> heap;
    wchar_t* buffer = local;
    int capacity = static_cast<int>(sizeof local / sizeof local[0]);
    if (length >= capacity) {
        capacity = length + 1;
        heap.reset(new wchar_t[static_cast<size_t>(capacity)]);
        buffer = heap.get();
    }
    int count = ::MultiByteToWideChar(CP_UTF8, 0, text, length, buffer, capacity);
    if (count <= 0)
        return;
    for (int i = 0; i < count; ++i) {
        if (buffer[i] >= kControlBase && buffer[i] <= kControlLast)
            buffer[i] = static_cast<wchar_t>(buffer[i] - kControlBase);
        if (buffer[i] == kLineBreakMark)
            buffer[i] = L'\n';
    }
    cell->AppendText(buffer, count);
}

bool CNewSaxInterface::SkipElement(const CString& name)
{
    if (!m_table)
        return false;
    CTagItem* item = m_table->FindTag(name);
    if (!item)
        return false;
    for (int32_t index = GetDepth() - 1; index >= 0; --index) {
        if (m_stack[static_cast<size_t>(index)] == item) {
            item->DeleteCurrentCell();
            StartSkip(item, index);
            return true;
        }
    }
    return false;
}

// Also while an element is skipped: a fault in a picture's text may cost
// everything after it.
void CNewSaxInterface::OnWarning(const CString& message)
{
    m_archive->Warning(message);
}

void CNewSaxInterface::OnError(const CString& message)
{
    // A file that ends inside an element is said to in the words of the
    // parser's whole-file read; its push mode speaks of content after the end.
    if (m_context && m_context->errNo == XML_ERR_DOCUMENT_END && !m_open.empty()) {
        CString premature;
        premature.Format(L"Premature end of data in tag %ls line %d", m_open.back().name.GetString(),
                         m_open.back().line);
        m_archive->Error(premature);
        return;
    }
    m_archive->Error(message);
}

void CNewSaxInterface::OnFailure(bool outOfMemory)
{
    m_archive->SetError(outOfMemory ? CNewXmlArch::kErrMemory : CNewXmlArch::kErrUnknown);
    m_archive->StopParser();
}
