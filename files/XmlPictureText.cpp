#include "files/XmlPictureText.h"

#include "files/XmlPreprocessFile.h"

void CXmlPictureText::Begin(const CTagItem* element, const CString& format, bool named)
{
    m_reading = true;
    m_element = element;
    // The claim is known as the pre-pass knows it: a few ASCII characters.
    std::string claim;
    bool known = named && format.GetLength() <= CXmlPreprocessFile::kMaxFormatLength;
    for (int i = 0; known && i < format.GetLength(); ++i) {
        known = format[i] < 0x80;
        claim += static_cast<char>(format[i]);
    }
    m_format = XmlPictureReadFormat(known, claim);
    m_decoder = CBase64::CDecoder();
    m_bytes.clear();
}

void CXmlPictureText::Feed(const char* text, int32_t length)
{
    if (!m_reading || !text || length <= 0)
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
    const size_t used = m_bytes.size();
    m_bytes.resize(used + 3);
    m_bytes.resize(used + static_cast<size_t>(m_decoder.Finish(m_bytes.data() + used)));
    std::vector<uint8_t> bytes;
    bytes.swap(m_bytes);
    return CXmlPreprocessFile::StorePicture(bytes.data(), bytes.size(), m_format);
}
