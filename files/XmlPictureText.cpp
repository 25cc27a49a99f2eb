#include "files/XmlPictureText.h"

#include "files/XmlPreprocessFile.h"
#include "files/XmlValueForms.h"

void CXmlPictureText::Begin(const CTagItem* element, const CString& format, bool named)
{
    m_reading = true;
    m_element = element;
    m_format.clear();
    // The same rule as the pre-pass's: letters and digits, a few of them.
    m_formatValid = format.GetLength() <= CXmlPreprocessFile::kMaxFormatLength;
    for (int i = 0; m_formatValid && i < format.GetLength(); ++i) {
        m_formatValid = format[i] < 0x80;
        m_format += static_cast<char>(format[i]);
    }
    m_formatValid = m_formatValid && named && (m_format.empty() || IsXmlImageFormat(m_format.data(), m_format.size()));
    m_decoder = CBase64::CDecoder();
    m_bytes.clear();
}

void CXmlPictureText::Feed(const char* text, int32_t length)
{
    if (!m_reading || !m_formatValid || !text || length <= 0)
        return;
    // Characters outside ASCII are no digits, in UTF-8 as in UTF-16.
    const size_t used = m_bytes.size();
    m_bytes.resize(used + static_cast<size_t>(CBase64::PieceCapacity(length)));
    const int32_t written = m_decoder.Feed(text, length, m_bytes.data() + used);
    m_bytes.resize(used + static_cast<size_t>(written));
}

XmlPrepassPicture CXmlPictureText::Finish()
{
    if (!m_reading)
        return XmlPrepassPicture();
    m_reading = false;
    m_element = nullptr;
    if (!m_formatValid)
        return XmlPrepassPicture();
    const size_t used = m_bytes.size();
    m_bytes.resize(used + 3);
    m_bytes.resize(used + static_cast<size_t>(m_decoder.Finish(m_bytes.data() + used)));
    std::vector<uint8_t> bytes;
    bytes.swap(m_bytes);
    return CXmlPreprocessFile::StorePicture(bytes.data(), bytes.size(), m_format);
}
