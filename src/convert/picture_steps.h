#pragma once

#include "charset/charset.h"
#include "formats/pictures/picture.h"
#include "formats/raw/map_codes.h"

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The picture steps of tessaly-convert (.png and .bmp), on the functions of
// formats/picture.h. Each gives false with a message when the picture cannot be read or
// made; notes for standard error go into `notes`.

namespace tessaly::convert {

// How a picture is read: its paper when named, the part of it that counts, and the
// glyphs a row of a set picture.
struct PictureInput {
    std::optional<Colour> paper;
    std::optional<formats::PictureCrop> crop;
    int columns = 16;
};

// "#rrggbb", as --ink and --paper take it.
std::string colourText(Colour c);

// A glyph grid picture to glyphs from code `at`; `held` tells the codes they went to.
bool readPictureSet(std::span<const std::uint8_t> bytes, const PictureInput& how, int at,
                    Charset& set, std::bitset<GlyphCount>& held, std::vector<std::string>& notes,
                    std::string& error);

// The glyphs first .. first+count-1 as a grid picture of `columns` a row.
bool writePictureSet(const Charset& set, int first, int count, formats::PictureType type, int scale,
                     int columns, Colour ink, Colour paper, std::vector<std::uint8_t>& out,
                     std::string& error);

// A map drawn with `font` as the map window draws it.
bool writeMapPicture(const formats::CodeMap& map, const Charset& font, formats::PictureType type,
                     int scale, Colour ink, Colour paper, bool grid, std::vector<std::uint8_t>& out,
                     std::string& error);

// A screen picture cut into a map and a set: its distinct glyphs from code `at`, or, with
// `font`, the codes it holds (`held`; and with `add` new glyphs after its last one). With
// `font`, a scale or paper not given is the one where every cell matches a glyph (with
// `add`, failing that, the one that adds fewest); without, the scale is the largest at
// which every cell reads, and the paper the most common colour.
bool cutPicture(std::span<const std::uint8_t> bytes, std::optional<int> scale,
                const PictureInput& how, int at, const Charset* font,
                const std::bitset<GlyphCount>& held, bool add, formats::CutScreen& cut,
                std::vector<std::string>& notes, std::string& error);

} // namespace tessaly::convert
