#include "framework/QMFormatInfo.h"

#include <cstring>
#include <cwchar>

namespace {

char* CopyText(const char* text)
{
    if (!text)
        return nullptr;
    size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

wchar_t* CopyText(const wchar_t* text)
{
    if (!text)
        return nullptr;
    size_t length = std::wcslen(text);
    wchar_t* copy = new wchar_t[length + 1];
    std::wmemcpy(copy, text, length + 1);
    return copy;
}

}  // namespace

CQMExtensionInfo::CQMExtensionInfo(uint32_t extensionId, const char* text, uint32_t fileType,
                                   uint8_t firstFlag, uint8_t secondFlag, CQMExtensionInfo* next)
    : m_text(CopyText(text)), m_fileType(fileType), m_firstFlag(firstFlag), m_secondFlag(secondFlag),
      m_extensionId(extensionId), m_previous(nullptr), m_next(next)
{
    if (m_next)
        m_next->m_previous = this;
}

CQMExtensionInfo::CQMExtensionInfo(const CQMExtensionInfo& other)
    : m_text(CopyText(other.m_text)), m_fileType(other.m_fileType), m_firstFlag(other.m_firstFlag),
      m_secondFlag(other.m_secondFlag), m_extensionId(other.m_extensionId), m_previous(nullptr),
      m_next(nullptr)
{
    if (other.m_next) {
        m_next = new CQMExtensionInfo(*other.m_next);
        m_next->m_previous = this;
    }
}

CQMExtensionInfo::~CQMExtensionInfo()
{
    delete[] m_text;
    if (m_previous)
        m_previous->m_next = m_next;
    if (m_next)
        m_next->m_previous = m_previous;
    // Deleting the rest unlinks it in turn, so the previous record ends the chain.
    delete m_next;
}

void CQMExtensionInfo::Append(const CQMExtensionInfo& source)
{
    CQMExtensionInfo* last = this;
    while (last->m_next)
        last = last->m_next;
    last->m_next = new CQMExtensionInfo(source);
    last->m_next->m_previous = last;
}

CQMFormatInfo::CQMFormatInfo(uint32_t formatId, uint8_t firstFlag, uint8_t secondFlag,
                             const wchar_t* name, CQMExtensionInfo* extensions, CQMFormatInfo* next)
    : m_name(CopyText(name)), m_formatId(formatId), m_extensions(extensions), m_firstFlag(firstFlag),
      m_secondFlag(secondFlag), m_previous(nullptr), m_next(next)
{
    if (m_next)
        m_next->m_previous = this;
}

CQMFormatInfo::CQMFormatInfo(const CQMFormatInfo& other)
    : m_name(CopyText(other.m_name)), m_formatId(other.m_formatId), m_extensions(nullptr),
      m_firstFlag(other.m_firstFlag), m_secondFlag(other.m_secondFlag), m_previous(nullptr),
      m_next(nullptr)
{
    if (other.m_extensions)
        m_extensions = new CQMExtensionInfo(*other.m_extensions);
    if (other.m_next) {
        m_next = new CQMFormatInfo(*other.m_next);
        m_next->m_previous = this;
    }
}

CQMFormatInfo::~CQMFormatInfo()
{
    delete[] m_name;
    delete m_extensions;
    if (m_previous)
        m_previous->m_next = m_next;
    if (m_next)
        m_next->m_previous = m_previous;
    delete m_next;
}

void CQMFormatInfo::Append(const CQMFormatInfo& source)
{
    CQMFormatInfo* last = this;
    while (last->m_next)
        last = last->m_next;
    last->m_next = new CQMFormatInfo(source);
    last->m_next->m_previous = last;
}
