// The image pre-pass's walk over the markup: start tags with their quoted
// values, comments, processing instructions, CDATA sections and the document
// type with its internal subset, read as the parser reads them, so that the
// pass counts the very start tags the parser counts.
#include "files/XmlPreprocessFile.h"

#include "files/XmlValueForms.h"

#include <algorithm>
#include <cstring>

const char CXmlPreprocessFile::kCDataStart[10] = "<![CDATA[";
const char CXmlPreprocessFile::kCDataEnd[4] = "]]>";

namespace {

// What ends a name in a tag.
bool EndsName(int c)
{
    return c < 0 || IsXmlBlank(c) || c == '=' || c == '/' || c == '>' || c == '<' || c == '\'' || c == '"';
}

}  // namespace

bool CXmlPreprocessFile::StartTag::Find(const char* attribute, int32_t maxLength, std::string& value) const
{
    for (const Attribute& candidate : attributes) {
        if (candidate.name != attribute)
            continue;
        if (!candidate.whole || candidate.value.size() > static_cast<size_t>(maxLength) ||
            candidate.value.find('&') != std::string::npos)
            return false;
        value = candidate.value;
        return true;
    }
    return false;
}

int CXmlPreprocessFile::Peek()
{
    if (m_position == m_end && !Ensure(1))
        return -1;
    return static_cast<uint8_t>(m_window[m_position]);
}

bool CXmlPreprocessFile::StandsAt(const char* text)
{
    const int32_t length = static_cast<int32_t>(std::strlen(text));
    Ensure(length);
    return m_end - m_position >= length &&
           std::memcmp(m_window.get() + m_position, text, static_cast<size_t>(length)) == 0;
}

void CXmlPreprocessFile::Skip(int32_t bytes, CKWProgressInterface* progress)
{
    if (m_textDigest)
        m_textDigest->Add(m_window.get() + m_position, static_cast<size_t>(bytes));
    m_position += bytes;
    Consumed(bytes, progress);
}

int64_t CXmlPreprocessFile::SkipPast(const char* text, CKWProgressInterface* progress, std::string* kept)
{
    const int32_t length = static_cast<int32_t>(std::strlen(text));
    int64_t passed = 0;
    for (;;) {
        Ensure(length);
        const char* from = m_window.get() + m_position;
        const char* end = m_window.get() + m_end;
        const char* found = std::search(from, end, text, text + length);
        // Not found, the text may be cut by the window's end: its start stays.
        const int32_t over = found != end ? static_cast<int32_t>(found - from)
                                          : m_end - m_position - std::min(m_end - m_position, length - 1);
        if (kept && kept->size() < static_cast<size_t>(kMaxKept))
            kept->append(from, std::min<size_t>(static_cast<size_t>(over), kMaxKept - kept->size()));
        passed += over;
        if (found != end) {
            Skip(over + length, progress);
            return passed;
        }
        Skip(over, progress);
        if (!Ensure(m_end - m_position + 1)) {
            Skip(m_end - m_position, progress);
            return -1;
        }
    }
}

void CXmlPreprocessFile::SkipBlanks(CKWProgressInterface* progress)
{
    while (IsXmlBlank(Peek()))
        Skip(1, progress);
}

void CXmlPreprocessFile::ReadName(std::string& name, CKWProgressInterface* progress)
{
    name.clear();
    for (int c = Peek(); !EndsName(c); c = Peek()) {
        if (name.size() < static_cast<size_t>(kMaxKept))
            name += static_cast<char>(c);
        Skip(1, progress);
    }
}

bool CXmlPreprocessFile::ReadStartTag(StartTag& tag, CKWProgressInterface* progress)
{
    Skip(1, progress);  // the '<'
    ReadName(tag.name, progress);
    if (tag.name.empty())
        return false;
    for (;;) {
        SkipBlanks(progress);
        const int c = Peek();
        if (c == '>') {
            Skip(1, progress);
            return true;
        }
        if (c == '/') {
            Skip(1, progress);
            if (Peek() != '>')
                return false;
            Skip(1, progress);
            tag.empty = true;
            return true;
        }
        StartTag::Attribute attribute;
        ReadName(attribute.name, progress);
        if (attribute.name.empty())
            return false;  // the end of the file, a '<', a quote or '=' where a name belongs
        SkipBlanks(progress);
        if (Peek() != '=')
            return false;
        Skip(1, progress);
        SkipBlanks(progress);
        const int quote = Peek();
        if (quote != '\'' && quote != '"')
            return false;
        Skip(1, progress);
        // A quoted value is the tag's, whatever it holds ('>' and '<' too).
        const char end[2] = {static_cast<char>(quote), 0};
        const int64_t length = SkipPast(end, progress, &attribute.value);
        if (length < 0)
            return false;
        attribute.whole = length <= kMaxKept;
        if (tag.attributes.size() < kMaxAttributesKept)
            tag.attributes.push_back(std::move(attribute));
    }
}

bool CXmlPreprocessFile::SkipMarkup(CKWProgressInterface* progress, bool inSubset)
{
    static const struct {
        const char* start;
        const char* end;
    } kMarkup[] = {{"<!--", "-->"}, {"<?", "?>"}, {kCDataStart, kCDataEnd}};
    for (const auto& markup : kMarkup) {
        if (StandsAt(markup.start)) {
            Skip(static_cast<int32_t>(std::strlen(markup.start)), progress);
            SkipPast(markup.end, progress);
            return true;
        }
    }
    if (!StandsAt("<!"))
        return false;
    Skip(2, progress);
    // A declaration within the subset has no subset of its own.
    SkipDeclaration(progress, !inSubset);
    return true;
}

void CXmlPreprocessFile::SkipDeclaration(CKWProgressInterface* progress, bool withSubset)
{
    for (;;) {
        const int c = Peek();
        // No declaration holds a '<' outside its literals and its subset: the
        // pass reads on from there.
        if (c < 0 || c == '<')
            return;
        Skip(1, progress);
        if (c == '>')
            return;
        if (c == '\'' || c == '"') {
            const char end[2] = {static_cast<char>(c), 0};
            SkipPast(end, progress);
        } else if (c == '[' && withSubset) {
            SkipInternalSubset(progress);
        }
    }
}

void CXmlPreprocessFile::SkipInternalSubset(CKWProgressInterface* progress)
{
    for (;;) {
        const int c = Peek();
        if (c < 0)
            return;
        if (c == ']') {
            Skip(1, progress);
            return;
        }
        // Comments, instructions and declarations are passed over whole,
        // whatever else stands there (blanks, parameter-entity references)
        // byte by byte.
        if (c != '<' || !SkipMarkup(progress, true))
            Skip(1, progress);
    }
}
