#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// PNG through libpng: the only file that includes it.

namespace tessaly::formats {

// True when the bytes start with the PNG signature.
bool looksLikePng(std::span<const std::uint8_t> bytes);

// Any colour type and bit depth to 24-bit colour: palettes and grey are expanded, 16-bit
// samples scaled to 8 bits; a pixel of alpha 0 (by an alpha channel or a tRNS chunk)
// becomes TransparentPixel, any other keeps the colour it stores. Gamma and colour-profile chunks
// are not applied: the stored values are the colours. False with a message naming what is wrong and
// near which byte.
bool decodePng(std::span<const std::uint8_t> bytes, Surface& picture, std::string& error);

// An 8-bit RGB, non-interlaced PNG; empty for an empty picture.
std::vector<std::uint8_t> encodePng(const Surface& picture);

} // namespace tessaly::formats
