#pragma once

#include <cstdint>
#include <string>

// What every picture reader and writer holds to: the largest picture, and the pixel value
// of a transparent pixel.

namespace tessaly::formats {

// The largest picture read or made, so that a hostile header cannot make us allocate
// gigabytes: 16384 pixels a side and 16 Mpixel in all. A 24-bit BMP of that size (48 MiB)
// still fits the converter's input limit, so every picture written reads back.
constexpr int MaxPictureSide = 16384;
constexpr std::int64_t MaxPicturePixels = std::int64_t{16} << 20;

// The most colours a picture read may have (transparent pixels aside): a machine's
// palette holds no more, and a picture with more is no clean pixel picture but a lossy
// save or a smoothed scaling, whose noise would be read as glyphs.
constexpr int MaxPictureColours = 16;

// A decoded pixel whose alpha is 0: paper whatever colour it stored. Every other pixel
// is opaque (Surface::stored), so this value is no colour's.
constexpr std::uint32_t TransparentPixel = 0;

// Empty when a picture of width x height pixels can be made (both at least 1 and within
// the limits above), otherwise a sentence saying why not.
std::string pictureSizeProblem(std::int64_t width, std::int64_t height);

// "(x, y)": a pixel as the pictures' messages name it.
std::string pixelText(int x, int y);

} // namespace tessaly::formats
