#pragma once
// A stretch of an XML file, from start to end (not included), that holds
// Base64 digits and nothing else: the image pre-pass finds them while it
// decodes, and the parser passes over them without reading them again.
#include <cstdint>
#include <vector>

struct XmlDigitRun {
    int64_t start = 0;
    int64_t end = 0;
};

using XmlDigitRuns = std::vector<XmlDigitRun>;
