#pragma once

#include "charset/charset.h"
#include "formats/map_codes.h"
#include "formats/picture.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The picture steps of tessaly-convert (.png and .bmp), on the functions of
// formats/picture.h. Each gives false with a message when the picture cannot be read or
// made.

namespace tessaly::convert {

// A glyph grid picture to glyphs from code `first`. Without `paper` the most common
// colour is paper, and `note` says which it was.
bool readPictureSet(std::span<const std::uint8_t> bytes, std::optional<Colour> paper, int first,
                    Charset& set, std::string& note, std::string& error);

// The glyphs first .. first+count-1 as a grid picture.
bool writePictureSet(const Charset& set, int first, int count, formats::PictureType type, int scale,
                     Colour ink, Colour paper, std::vector<std::uint8_t>& out, std::string& error);

// A map drawn with `font` as the map window draws it.
bool writeMapPicture(const formats::CodeMap& map, const Charset& font, formats::PictureType type,
                     int scale, Colour ink, Colour paper, bool grid, std::vector<std::uint8_t>& out,
                     std::string& error);

// A screen picture cut into a set (from code `first`) and a map.
bool cutPicture(std::span<const std::uint8_t> bytes, int scale, std::optional<Colour> paper,
                int first, formats::CutScreen& cut, std::string& note, std::string& error);

} // namespace tessaly::convert
