// Icons: the directory is read by the library itself, the largest entry is chosen
// and its header checked against the data present before any decoder sees it; the
// system's decoder then gets that one entry, as an icon file of its own (a PNG entry
// as the PNG it is). Asking the decoder for every frame of a damaged icon lets it
// read and write outside its buffers.
#pragma once

#include "platform/rasterlib/ByteSource.h"
#include "platform/rasterlib/FormatTable.h"
#include "platform/rasterlib/ImageHeader.h"

#include <vector>

namespace rasterlib {

// The chosen entry's bytes, their format (Ico or Png) and size. False when the
// directory or the chosen entry is damaged or holds less than its header claims. A
// palette shorter than the bit count allows is completed with black, so that no
// pixel takes its colour from outside the data.
bool ExtractIconEntry(const ByteSource& source, std::vector<uint8_t>& entry, ImageFormat& entryFormat,
                      ImageHeader& header);

}  // namespace rasterlib
