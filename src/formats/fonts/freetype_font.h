#pragma once

#include "formats/fonts/font_glyphs.h"

#include <cstdint>
#include <span>
#include <string>

// TrueType and OpenType (bitmap strikes, or outlines rendered monochrome), OTB, PCF and
// Windows .fon fonts, read through FreeType. The only file that uses FreeType.

namespace tessaly::formats {

// Reads the font in `bytes` (a .pcf.gz is gunzipped by the caller) at `pixelSize` rows:
// the bitmap strike of that height, or else the outlines rendered in black and white.
// A `pixelSize` of 0 reads a bitmap font of one size at its size, any other at 8.
// The cell is the face's ascent plus descent high and as wide as the widest advance or
// ink, up to 8; each glyph sits in it by the baseline, and ink outside it is cut (the
// glyph's `inkCut` says so). Glyphs reachable through a Unicode character map carry their
// characters and, below 256, that code; through an 8-bit map only, its byte. False with a
// one-line message for bytes FreeType does not read, a size the font does not have, or
// glyphs wider than 8 pixels that draw ASCII. `describe` (for --info) reads what it can
// instead: the strike nearest the size, the glyphs that fit, and in `refusal` why a
// conversion would fail.
bool readFreeTypeFont(std::span<const std::uint8_t> bytes, int pixelSize, FontGlyphs& font,
                      std::string& error, bool describe = false);

} // namespace tessaly::formats
