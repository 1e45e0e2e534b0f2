#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"
#include "platform/surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// XBin (.xb), the text-mode art format of the ANSI art scene (PabloDraw, Moebius,
// ansilove): an 11-byte header ("XBIN", 0x1A, width and height in cells, the font's rows,
// flags), then a palette of 16 colours of 6-bit channels, a font of 256 (or 512) glyphs
// and each cell's character and attribute, row by row, all but the header optional and the
// cells optionally run-length packed.

namespace tessaly::formats {

// The largest map read from an XBin, as --map takes.
constexpr int XBinMapLimit = 1024;

// A channel of 0..255 as XBin's 0..63: the nearest of the values viewers show,
// v6 * 4 + v6 / 16.
std::uint8_t sixBitChannel(int channel);

// The map with `font` as the file's font of 8 rows, its colour 0 the paper and colour 15
// the ink (each channel to 6 bits by sixBitChannel), the others the standard 16 text-mode
// colours; every cell in ink on paper, packed row by row. The map is at most 65535 cells
// wide and high (as --map allows).
std::vector<std::uint8_t> writeXBin(const CodeMap& map, const Charset& font, Colour ink,
                                    Colour paper);

// What an XBin holds for a set and a map: its font (any of 1 to 32 rows a glyph, or none:
// viewers then use their own) and (asked for by `map`) its cells' characters. False with
// a one-line message when the file is malformed or cut short; a map is also refused past
// XBinMapLimit or of no cells. Of a font of 512 glyphs, the first 256 are kept. Bytes
// after the cells (a SAUCE record) are left alone. The colours are not read.
struct XBinContent {
    int fontRows = 0;                    // 0: the file has no font
    bool font512 = false;                // the font held 512 glyphs
    std::vector<std::uint8_t> glyphRows; // 256 glyphs of fontRows bytes each
    Charset font;                        // a font of 8 rows, as a set
    int width = 0, height = 0;           // in cells, from the header
    CodeMap map;                         // when asked for
};
bool readXBin(std::span<const std::uint8_t> bytes, bool map, XBinContent& out, std::string& error);

} // namespace tessaly::formats
