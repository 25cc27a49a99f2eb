// The configuration that the program writes out of the library's "Magick" resources.
#pragma once

#include <string>

namespace rasterlib {

// Checks the text of "configure.mgk": a <configuremap> naming this library.
bool IsOwnConfiguration(const std::string& text);

// Reads and checks the file; false when it is missing, too large or not ours.
bool CheckConfigurationFile(const char* configurePath);

}  // namespace rasterlib
