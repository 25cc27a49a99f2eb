#pragma once
// The elements whose text is a picture's Base64 data, and what the image
// pre-pass made of each. The pre-pass and the parser count the start tags of
// each such element alike, so that the parser's handler of the n-th one finds
// the pre-pass's result for it by that number: either the pre-pass read the
// whole text (the picture is stored and the parser passes over the text) or
// it left the element to the parser, which reads the text itself.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum XmlPictureKind : int32_t {
    kXmlImage,
    kXmlTitlePreview,
    kXmlTitleBackground,
    kXmlLeafPreview,
    kXmlLeafBackground,
    kXmlPictureKinds
};

// The element's name, as the files write it.
const char* XmlPictureElement(XmlPictureKind kind);
// The kind of the element of that name; false for any other name.
bool FindXmlPictureKind(const char* name, size_t length, XmlPictureKind& kind);
bool FindXmlPictureKind(const wchar_t* name, XmlPictureKind& kind);

// The format the text of a picture element is read under, from what its
// FileFormat claims (known: the claim was read whole; false when it is
// missing, too long or not plain text): a claim that is a picture format,
// else none, which leaves the type to the bytes. Every picture, a report's
// own or a template's, is read by its bytes whatever it claims: writers have
// put paths and long names there, and the bytes are the picture.
std::string XmlPictureReadFormat(bool known, const std::string& claim);

struct XmlPrepassPicture {
    // The pre-pass read the element's whole text exactly as the XML text it
    // stands for (Base64 digits, blanks and CDATA sections).
    bool taken = false;
    // What the text gave in the picture store; 0 when nothing usable.
    int32_t pictureId = 0;
    // The text gave bytes that the picture store could not keep (no folder
    // for pictures, a full disk), and the system's error met (0: the write
    // fell short naming none).
    bool unkept = false;
    uint32_t storeError = 0;
    // Where the text the pre-pass read lies in the file read, from its first
    // digit to its end tag (-1: it read none), so that a picture it could not
    // keep can be taken from there.
    int64_t textStart = -1;
    int64_t textEnd = -1;
    // The digest of that text, when the pass was asked for it.
    bool digested = false;
    std::array<uint8_t, 32> textDigest{};
};

struct XmlPrepassPictures {
    // By kind, in the order of the elements' start tags in the file.
    std::vector<XmlPrepassPicture> byKind[kXmlPictureKinds];

    // The element of that kind whose start tag is the ordinal-th (from 1);
    // null when the pre-pass did not see it.
    const XmlPrepassPicture* Find(XmlPictureKind kind, int32_t ordinal) const
    {
        const std::vector<XmlPrepassPicture>& list = byKind[kind];
        if (ordinal < 1 || static_cast<size_t>(ordinal) > list.size())
            return nullptr;
        return &list[static_cast<size_t>(ordinal - 1)];
    }
};
