#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"
#include "platform/surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A Commodore 64 program that shows a screen: a BASIC line "SYS 2061" at $0801, then
// machine code that copies the set to $2000 (VIC bank 0), points $D018 at it and at the
// screen at $0400, copies the codes to the screen and their colours to colour RAM, sets
// the border and background to the paper, and waits for a key, after which the KERNAL
// gives BASIC's screen back.

namespace tessaly::formats {

constexpr int C64Columns = 40, C64Rows = 25;

// The VIC-II's 16 colours, as Pepto measured them on a PAL machine ("pepto-pal" in VICE).
extern const std::array<Colour, 16> C64Palette;
// Their names, as the C64's manual gives them.
extern const std::array<const char*, 16> C64ColourNames;

// The .prg file (its load address first). The map's top-left 40x25 cells are shown; the
// cells outside a smaller map hold code 32 in the paper colour, so that they show blank
// whatever the set's code 32 is. `ink` and `paper` are indexes into C64Palette.
std::vector<std::uint8_t> writeC64Program(const Charset& set, const CodeMap& map, int ink,
                                          int paper);

} // namespace tessaly::formats
