#pragma once

#include "charset/charset.h"
#include "formats/pictures/picture_limits.h"
#include "platform/surface.h"

#include <bitset>
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

// Encodes a picture; the BMP is the editor's own 24-bit encoder, the PNG 8-bit RGB. Empty
// for an empty picture.
std::vector<std::uint8_t> encodePicture(const Surface& picture, PictureType type);

// Decodes a PNG (any colour type and depth libpng reads) or a BMP (1, 4 or 8 bits with a
// palette, plain or RLE, 24 or 32 bits, either row order). A pixel of alpha 0 becomes
// TransparentPixel; other alpha is ignored, each pixel keeping the colour it stores. False
// with a message naming what is wrong, and where, otherwise; the picture is then untouched.
bool decodePicture(std::span<const std::uint8_t> bytes, Surface& picture, std::string& error);

// The part of a picture that is read: a capture's screen inside its border.
struct PictureCrop {
    int x = 0, y = 0, width = 0, height = 0;
};

// Cuts `picture` down to the crop; false, with the picture untouched, when the crop does
// not lie inside it.
bool cropPicture(Surface& picture, const PictureCrop& crop, std::string& error);

// What reading a picture took as paper and ink. Pixels of alpha 0 are always paper.
struct PictureColours {
    Colour paper = 0;
    bool transparentPaper = false; // the transparent pixels, the most common, are the paper
    Colour ink = 0;                // the most common ink colour (the paper's opposite if none)
    int inkColours = 0;            // how many colours were read as ink
};

// The paper is `paper`, an error when no pixel has it, or else the most common colour
// (the transparent pixels counting as one; on a tie the first met, row by row); every
// other colour is ink. More than MaxPictureColours colours is an error.
bool pictureColours(const Surface& picture, std::optional<Colour> paper, PictureColours& out,
                    std::string& error);

// The glyphs first .. first+count-1 as a grid of `columns` a row (rows = ceil(count /
// columns)), each pixel scale x scale; cells after the last glyph are paper. The count is
// cut at code 255; an empty picture for a first code outside 0..255, a count, scale or
// column count below 1, or a picture over the limits.
Surface glyphGridPicture(const Charset& set, int first, int count, int scale, Colour ink,
                         Colour paper, int columns = 16);

// Reads a glyph grid of `columns` glyphs a row back: finds the scale from the width
// (8 * columns * scale), and the paper as pictureColours does. Glyphs go to codes at..
// and are cut at 255, other codes keep their bytes; `count` is how many the picture held.
// False with a message for a size that is no grid, a missing paper colour, or a block of
// scale x scale pixels that mixes paper and ink; nothing changes then.
bool glyphsFromGridPicture(const Surface& picture, std::optional<Colour> paper, int at, int columns,
                           Charset& set, int& count, PictureColours& colours, std::string& error);

// A screen as the map window draws it (drawMapCells): `codes` row by row, width x height,
// each cell 8*scale pixels square, with the map window's grid when asked (scale 2 is the
// window). An empty picture for a size or scale below 1, fewer codes than cells, or a
// picture over the limits.
Surface screenPicture(std::span<const std::uint8_t> codes, int width, int height,
                      const Charset& set, int scale, Colour ink, Colour paper, bool grid);

// A screen picture (a multiple of 8*scale each way) cut into cells: the map of codes and
// the set they are drawn with.
struct CutScreen {
    Charset set;
    int glyphCount = 0; // the glyphs made from the picture, at codes firstNew..
    int firstNew = 0;
    int setEnd = 0; // one past the last code of the set that holds a glyph
    std::vector<std::uint8_t> codes;
    int width = 0;  // cells
    int height = 0; // cells
    PictureColours colours;
};

// Keeps each distinct glyph once in order of first appearance from code `at`. More
// than the codes left from `at` is an error naming how many distinct glyphs there are.
// The paper is found as pictureColours does; a block of scale x scale pixels must not mix
// paper and ink. screenPicture(codes, ..., scale, ink, paper, false) gives the picture
// back whenever the picture has two colours. On failure `out` is untouched.
bool cutScreenPicture(const Surface& picture, int scale, std::optional<Colour> paper, int at,
                      CutScreen& out, std::string& error);

// Gives each cell the code of its glyph among the codes `font` holds (`held`; the others
// are no glyph of it, blank as they may be). Where glyphs are equal, a blank cell takes
// code 32 when that holds a blank (the space of most machines), any other cell the lowest
// code. A cell that matches no glyph is an error naming its column and row; with `add`
// its glyph is new instead: each new glyph once, in order of first appearance, at the
// codes after the font's last drawn glyph (and after the blank glyph blank cells take,
// when that comes later), an error when they run out. `out.set` is the font with the new
// glyphs.
bool matchScreenPicture(const Surface& picture, int scale, std::optional<Colour> paper,
                        const Charset& font, const std::bitset<GlyphCount>& held, bool add,
                        CutScreen& out, std::string& error);

} // namespace tessaly::formats
