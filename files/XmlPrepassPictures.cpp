#include "files/XmlPrepassPictures.h"

#include "files/XmlValueForms.h"

#include <cstring>

namespace {

const char* const kElements[kXmlPictureKinds] = {"Image", "TitlePreview", "TitleBgImage", "LeafPreview",
                                                 "LeafBgImage"};

}  // namespace

const char* XmlPictureElement(XmlPictureKind kind)
{
    return kind >= 0 && kind < kXmlPictureKinds ? kElements[kind] : "";
}

bool FindXmlPictureKind(const char* name, size_t length, XmlPictureKind& kind)
{
    for (int32_t k = 0; k < kXmlPictureKinds; ++k) {
        if (std::strlen(kElements[k]) == length && std::memcmp(kElements[k], name, length) == 0) {
            kind = static_cast<XmlPictureKind>(k);
            return true;
        }
    }
    return false;
}

bool FindXmlPictureKind(const wchar_t* name, XmlPictureKind& kind)
{
    // The names are ASCII: anything else is no picture element.
    char narrow[16] = {};
    size_t length = 0;
    for (; name && name[length]; ++length) {
        if (length + 1 >= sizeof narrow || name[length] > 0x7F)
            return false;
        narrow[length] = static_cast<char>(name[length]);
    }
    return FindXmlPictureKind(narrow, length, kind);
}

std::string XmlPictureReadFormat(bool known, const std::string& claim)
{
    return known && IsXmlImageFormat(claim.data(), claim.size()) ? claim : std::string();
}
