// Where an encoder hands its bytes as it makes them: a file, a block of
// memory. False stops the encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace rasterlib {

using ByteSink = std::function<bool(const uint8_t* bytes, size_t count)>;

}  // namespace rasterlib
