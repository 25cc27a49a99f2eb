// The archive's output operations: start tags, typed attributes, values and
// elements in the XML value forms.
#include "files/NewXmlArch.h"

#include <cstring>

const char* CNewXmlArch::GetIndent()
{
    if (!m_pendingIndent)
        return "";
    m_pendingIndent = false;
    return GetDepthIndent();
}

const char* CNewXmlArch::GetDepthIndent()
{
    return m_indentation.Get(m_depth);
}

void CNewXmlArch::WriteOut(const std::string& text)
{
    if (m_stream && !text.empty())
        m_stream->Write(text.data(), static_cast<int32_t>(text.size()));
}

void CNewXmlArch::WriteOut(const char* text)
{
    if (m_stream && text && *text)
        m_stream->Write(text, static_cast<int32_t>(std::strlen(text)));
}

void CNewXmlArch::StartTag(const wchar_t* name)
{
    WriteOut(GetIndent());
    WriteOut("<");
    WriteOut(XmlPlainForm(name));
    ++m_depth;
}

void CNewXmlArch::WriteAttrText(const wchar_t* name, const std::string& value)
{
    if (!name || !*name)
        return;
    WriteOut(" ");
    WriteOut(XmlPlainForm(name));
    WriteOut("='");
    WriteOut(value);
    WriteOut("'");
}

void CNewXmlArch::WriteAttr(const wchar_t* name, const void* data, int32_t length)
{
    if (!data)
        return;
    WriteAttrText(name, XmlBinaryForm(data, length));
}

void CNewXmlArch::CloseStartTag()
{
    WriteOut(">");
}

void CNewXmlArch::WriteValue(const void* data, int32_t length)
{
    WriteOut(GetIndent());
    WriteOut(XmlBinaryForm(data, length));
}

void CNewXmlArch::EndEmptyElement()
{
    if (m_depth > 0)
        --m_depth;
    WriteOut("/>");
    LineFeed();
}

void CNewXmlArch::EndTag(const wchar_t* name)
{
    if (m_depth > 0)
        --m_depth;
    WriteOut(GetIndent());
    WriteOut("</");
    WriteOut(XmlPlainForm(name));
    WriteOut(">");
    LineFeed();
}

void CNewXmlArch::WriteElementText(const wchar_t* name, const std::string& value)
{
    if (!name || !*name)
        return;
    StartTag(name);
    CloseStartTag();
    WriteOut(GetIndent());
    WriteOut(value);
    EndTag(name);
}

void CNewXmlArch::WriteElement(const wchar_t* name, const void* data, int32_t length)
{
    if (!data)
        return;
    WriteElementText(name, XmlBinaryForm(data, length));
}

void CNewXmlArch::LineFeed()
{
    WriteOut("\n");
    m_pendingIndent = true;
}
