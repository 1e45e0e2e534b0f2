#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <vector>

namespace tessaly {

// An uncompressed 24-bit Windows BMP of the surface: 14-byte file header, 40-byte
// information header, rows bottom-up, each padded to four bytes.
std::vector<std::uint8_t> encodeBmp(const Surface& image);

} // namespace tessaly
