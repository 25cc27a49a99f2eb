#pragma once
// CXmlPictureText: the Base64 text of one picture element that the parser
// reads because the image pre-pass left it (its text holds a reference, a
// comment or other markup, or its start tag was not one the pre-pass reads).
// The text arrives from the parser in pieces, with references resolved, and
// is decoded as it comes; at the element's end the bytes are stored in the
// picture store, as the pre-pass stores the pictures it reads.
#include "files/Base64.h"
#include "files/XmlPrepassPictures.h"
#include "platform/classlib/String.h"

#include <cstdint>
#include <string>
#include <vector>

class CTagItem;

class CXmlPictureText {
public:
    // Begins reading the element (named by its tag item), with the format
    // its FileFormat attribute claims (named: the attribute is there), as
    // XmlPictureReadFormat takes it: a claim it does not take leaves the
    // type to the bytes.
    void Begin(const CTagItem* element, const CString& format, bool named);
    bool IsReading(const CTagItem* element) const { return m_reading && element == m_element; }
    // A piece of the element's text, UTF-8 as the parser gives it.
    void Feed(const char* text, int32_t length);
    // Stores what the text gave: the picture id, 0 when nothing usable (told
    // unkept when the picture store could not keep the bytes).
    XmlPrepassPicture Finish();

private:
    bool m_reading = false;
    const CTagItem* m_element = nullptr;
    std::string m_format;
    CBase64::CDecoder m_decoder;
    std::vector<uint8_t> m_bytes;
};
