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
// formats/picture.h. Until the picture codec is built in, each step answers NotBuilt and
// the program stops with a usage error saying so.

namespace tessaly::convert {

enum class StepResult { Done, BadInput, NotBuilt };

// A glyph grid picture to glyphs from code `first`. Without `paper` the most common
// colour is paper, and `note` says which it was.
StepResult readPictureSet(std::span<const std::uint8_t> bytes, std::optional<Colour> paper,
                          int first, Charset& set, std::string& note, std::string& error);

// The glyphs first .. first+count-1 as a grid picture.
StepResult writePictureSet(const Charset& set, int first, int count, formats::PictureType type,
                           int scale, Colour ink, Colour paper, std::vector<std::uint8_t>& out,
                           std::string& error);

// A map drawn with `font` as the map window draws it.
StepResult writeMapPicture(const formats::CodeMap& map, const Charset& font,
                           formats::PictureType type, int scale, Colour ink, Colour paper,
                           bool grid, std::vector<std::uint8_t>& out, std::string& error);

// A screen picture cut into a set (from code `first`) and a map.
StepResult cutPicture(std::span<const std::uint8_t> bytes, int scale, std::optional<Colour> paper,
                      int first, formats::CutScreen& cut, std::string& note, std::string& error);

} // namespace tessaly::convert
