#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Windows BMP pictures, read and written: the editor's image export and the converter's
// .bmp pictures use these two functions.

namespace tessaly::formats {

// A BMP with a BITMAPINFOHEADER or a later one: 1, 4 or 8 bits a pixel with a palette,
// plain or RLE-compressed, or 24 and 32 bits (with colour masks that keep 8 bits each of
// red, green and blue; an alpha mask makes pixels of alpha 0 TransparentPixel). Every
// field that places or sizes something is checked against the real length first. False
// with a message that starts "BMP: " and names the byte at fault.
bool decodeBmp(std::span<const std::uint8_t> bytes, Surface& picture, std::string& error);

// An uncompressed 24-bit BMP of the surface: 14-byte file header, 40-byte information
// header, rows bottom-up, each padded to four bytes.
std::vector<std::uint8_t> encodeBmp(const Surface& image);

} // namespace tessaly::formats
