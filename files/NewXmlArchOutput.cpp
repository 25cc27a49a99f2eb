// The archive's output operations: start tags, typed attributes, values and
// elements in the XML value forms.
#include "files/NewXmlArch.h"

#include <cstring>

namespace {

// A single byte, escaped: an apostrophe or a stray byte taken raw would make
// the file unreadable.
std::string CharacterForm(char value)
{
    return XmlEscapeUtf8(&value, 1);
}

}  // namespace

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

void CNewXmlArch::WriteAttr(const wchar_t* name, const CString& value)
{
    WriteAttrText(name, XmlTextForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, const wchar_t* value)
{
    WriteAttrText(name, XmlTextForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, const char* value)
{
    WriteAttrText(name, XmlNarrowTextForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, double value)
{
    WriteAttrText(name, XmlRealForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, float value)
{
    WriteAttrText(name, XmlRealForm(static_cast<double>(value)));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, int32_t value)
{
    WriteAttrText(name, XmlIntegerForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, int16_t value)
{
    WriteAttrText(name, XmlIntegerForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, long value)
{
    WriteAttrText(name, XmlIntegerForm(static_cast<int32_t>(value)));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, char value)
{
    WriteAttrText(name, CharacterForm(value));
}

void CNewXmlArch::WriteAttr(const wchar_t* name, bool value)
{
    WriteAttrText(name, XmlBoolForm(value));
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

void CNewXmlArch::WriteValue(const CString& value)
{
    WriteOut(GetIndent());
    WriteOut(XmlTextForm(value));
}

void CNewXmlArch::WriteValue(const wchar_t* value)
{
    WriteOut(GetIndent());
    WriteOut(XmlTextForm(value));
}

void CNewXmlArch::WriteValue(const char* value)
{
    WriteOut(GetIndent());
    WriteOut(XmlNarrowTextForm(value));
}

void CNewXmlArch::WriteValue(double value)
{
    WriteOut(GetIndent());
    WriteOut(XmlRealForm(value));
}

void CNewXmlArch::WriteValue(float value)
{
    WriteOut(GetIndent());
    WriteOut(XmlRealForm(static_cast<double>(value)));
}

void CNewXmlArch::WriteValue(int32_t value)
{
    WriteOut(GetIndent());
    WriteOut(XmlIntegerForm(value));
}

void CNewXmlArch::WriteValue(int16_t value)
{
    WriteOut(GetIndent());
    WriteOut(XmlIntegerForm(value));
}

void CNewXmlArch::WriteValue(long value)
{
    WriteOut(GetIndent());
    WriteOut(XmlIntegerForm(static_cast<int32_t>(value)));
}

void CNewXmlArch::WriteValue(char value)
{
    WriteOut(GetIndent());
    WriteOut(CharacterForm(value));
}

void CNewXmlArch::WriteValue(bool value)
{
    WriteOut(GetIndent());
    WriteOut(XmlBoolForm(value));
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

void CNewXmlArch::WriteElement(const wchar_t* name, const CString& value)
{
    WriteElementText(name, XmlTextForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, const wchar_t* value)
{
    WriteElementText(name, XmlTextForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, const char* value)
{
    WriteElementText(name, XmlNarrowTextForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, double value)
{
    WriteElementText(name, XmlRealForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, float value)
{
    WriteElementText(name, XmlRealForm(static_cast<double>(value)));
}

void CNewXmlArch::WriteElement(const wchar_t* name, int32_t value)
{
    WriteElementText(name, XmlIntegerForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, int16_t value)
{
    WriteElementText(name, XmlIntegerForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, long value)
{
    WriteElementText(name, XmlIntegerForm(static_cast<int32_t>(value)));
}

void CNewXmlArch::WriteElement(const wchar_t* name, char value)
{
    WriteElementText(name, CharacterForm(value));
}

void CNewXmlArch::WriteElement(const wchar_t* name, bool value)
{
    WriteElementText(name, XmlBoolForm(value));
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
