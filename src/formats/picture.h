#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Character sets and screens as pictures: the glyph grid of the overview (16 glyphs a
// row), a screen drawn from a map of codes, and a screen picture cut back into a set and
// a map. Plain functions on bytes and Surfaces; the PNG codec lives in png_codec.cpp.

namespace tessaly::formats {

enum class PictureType { Png, Bmp };

// The largest picture read or made, so that a hostile header cannot make us allocate
// gigabytes: 16384 pixels a side and 64 Mpixel in all.
constexpr int MaxPictureSide = 16384;
constexpr std::int64_t MaxPicturePixels = std::int64_t{64} << 20;

// Empty when a picture of width x height pixels can be made (both at least 1 and within
// the limits above), otherwise a sentence saying why not.
std::string pictureSizeProblem(std::int64_t width, std::int64_t height);

// Encodes a picture; the BMP is the editor's own 24-bit encoder, the PNG 8-bit RGB. Empty
// for an empty picture.
std::vector<std::uint8_t> encodePicture(const Surface& picture, PictureType type);

// Decodes a PNG (any colour type and depth libpng reads) or an uncompressed BMP (24 or
// 32 bits, either row order). Alpha is ignored: each pixel is the colour it stores. False
// with a message naming what is wrong, and where, otherwise; the picture is then untouched.
bool decodePicture(std::span<const std::uint8_t> bytes, Surface& picture, std::string& error);

// The glyphs first .. first+count-1 as a grid of 16 a row (rows = ceil(count / 16)),
// each pixel scale x scale; cells after the last glyph are paper. The count is cut at 255;
// an empty picture for a first code outside 0..255, a count or scale below 1, or a picture
// over the limits.
Surface glyphGridPicture(const Charset& set, int first, int count, int scale, Colour ink,
                         Colour paper);

// Reads a glyph grid back: finds the scale from the size (width 128*scale), takes `paper`
// as paper or, without it, the most common colour (on a tie the first met, row by row;
// returned in paperUsed); every other colour is ink. Glyphs go to codes first.. and are
// cut at 255, other codes keep their bytes; `count` is how many the picture held. False
// with a message for a size that is no grid, or a block of scale x scale pixels that mixes
// paper and ink; nothing changes then.
bool glyphsFromGridPicture(const Surface& picture, std::optional<Colour> paper, int first,
                           Charset& set, int& count, Colour& paperUsed, std::string& error);

// A screen as the map window draws it: `codes` row by row, width x height, each cell
// 8*scale pixels square, with the map window's grid when asked (scale 2 is the window).
// An empty picture for a size or scale below 1, fewer codes than cells, or a picture over
// the limits.
Surface screenPicture(std::span<const std::uint8_t> codes, int width, int height,
                      const Charset& set, int scale, Colour ink, Colour paper, bool grid);

// Cuts a screen picture (a multiple of 8*scale each way) into cells, keeps each distinct
// glyph once in order of first appearance from code `first`, and gives the map of codes.
// More than the codes left from `first` is an error naming how many distinct glyphs
// there are. The paper is `paper` or the most common colour, the ink the most common other
// colour (the paper's opposite in a picture of one colour); a block of scale x scale pixels
// must not mix paper and ink. screenPicture(codes, ..., scale, ink, paper, false) gives the
// picture back whenever the picture has two colours. On failure `out` is untouched.
struct CutScreen {
    Charset set;
    int glyphCount = 0;
    std::vector<std::uint8_t> codes;
    int width = 0;  // cells
    int height = 0; // cells
    Colour ink = 0;
    Colour paper = 0;
};
bool cutScreenPicture(const Surface& picture, int scale, std::optional<Colour> paper, int first,
                      CutScreen& out, std::string& error);

} // namespace tessaly::formats
