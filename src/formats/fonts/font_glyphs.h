#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A font as its reader finds it, before its glyphs are laid out in the 256 codes of a
// set. The readers of fonts with a cell of their own (PSF, BDF, the FreeType formats)
// give one; the converter then fits each glyph into the 8x8 cell and places it by its
// code, by its place in the file or, through Unicode, in a machine's order.

namespace tessaly::formats {

struct FontGlyph {
    // The glyph in the font's cell: `height` rows, top row first; pixel column x (0 =
    // leftmost) is the bit 0x80 >> x.
    std::vector<std::uint8_t> rows;
    int code = -1;                 // the font's own code 0..255, -1 for none
    std::vector<char32_t> unicode; // the characters the glyph shows, when the font says
    bool inkCut = false;           // the reader cut ink that fell outside the font's cell
};

struct FontGlyphs {
    std::string format;            // the format's name, as --info prints it ("PSF 2", "BDF", ...)
    int width = 8;                 // columns of the cell, 1..8
    int height = 8;                // rows of the cell
    int descent = 0;               // rows of the cell below the baseline
    bool hasCodes = false;         // the glyphs are placed by `code`, not by their place
    bool hasUnicode = false;       // some glyph has a `unicode`
    std::vector<FontGlyph> glyphs; // in the font's order
    int droppedGlyphs = 0;         // glyphs the reader left out (no code 0..255), for a note
    int wideGlyphs = 0;            // glyphs left out for being wider than 8 pixels, for a note
    // What else the reader says about the file, for standard error.
    std::vector<std::string> notes;
    // The characters those wide glyphs showed.
    std::vector<char32_t> wideCharacters;
    // FreeType fonts: the heights of their bitmap strikes, each once, and whether they
    // have outlines for any size.
    std::vector<int> strikes;
    bool scalable = false;
    // Why a conversion would refuse the font, "" if not: read to be described (--info), or
    // a file's own font read with its map, which may hold none.
    std::string refusal;
};

} // namespace tessaly::formats
