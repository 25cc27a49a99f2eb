#include "platform/rasterlib/MagickConfig.h"

#include "platform/rasterlib/ByteSource.h"

#include <new>

namespace rasterlib {

namespace {

constexpr uint64_t kMaxConfigBytes = 64 * 1024;

// Value of attribute name inside the element text, or empty.
std::string Attribute(const std::string& element, const char* name)
{
    const std::string key = std::string(" ") + name + "=\"";
    const size_t at = element.find(key);
    if (at == std::string::npos)
        return std::string();
    const size_t start = at + key.size();
    const size_t end = element.find('"', start);
    return end == std::string::npos ? std::string() : element.substr(start, end - start);
}

}  // namespace

bool IsOwnConfiguration(const std::string& text)
{
    const size_t open = text.find("<configuremap>");
    const size_t close = text.find("</configuremap>");
    if (open == std::string::npos || close == std::string::npos || close < open)
        return false;
    size_t pos = open;
    while ((pos = text.find("<configure ", pos)) != std::string::npos && pos < close) {
        const size_t end = text.find("/>", pos);
        if (end == std::string::npos || end > close)
            return false;
        const std::string element = text.substr(pos, end - pos);
        if (Attribute(element, "name") == "NAME")
            return Attribute(element, "value") == "DAZiruraRuv";
        pos = end;
    }
    return false;
}

bool CheckConfigurationFile(const char* configurePath)
{
    ByteSource file;
    if (!file.OpenFile(configurePath) || file.Size() == 0 || file.Size() > kMaxConfigBytes)
        return false;
    try {
        std::string text(size_t(file.Size()), '\0');
        return file.ReadAt(0, &text[0], text.size()) && IsOwnConfiguration(text);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace rasterlib
