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

// The .prg file (its load address first). The map's top-left 40x25 cells are shown; the
// cells outside a smaller map hold code 32 in the paper colour, so that they show blank
// whatever the set's code 32 is. `ink` and `paper` are indexes into C64Palette (machine_colours.h).
std::vector<std::uint8_t> writeC64Program(const Charset& set, const CodeMap& map, int ink,
                                          int paper);

} // namespace tessaly::formats
