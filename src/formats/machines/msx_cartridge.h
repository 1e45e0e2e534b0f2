#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"
#include "platform/surface.h"

#include <cstdint>
#include <vector>

// An MSX cartridge ROM of 16 KB that shows a screen: page 1 ("AB", INIT at $4010) holds
// Z80 code that puts the TMS9918 in Graphic 1 (BASIC's SCREEN 1) at the standard addresses,
// copies the set, the names and the colours into VRAM, waits for a key and returns from
// INIT, so that a machine with BASIC goes on to it. It reaches the VDP only through the
// BIOS entry points of the MSX standard (DISSCR, WRTVDP, LDIRVM, WRTVRM, ENASCR), and the
// keyboard through KILBUF and CHGET; it writes no port itself.

namespace tessaly::formats {

constexpr int MsxColumns = 32, MsxRows = 24;

// Where the set lies in the ROM: a raw reader that leaves out this many glyphs reads it back.
constexpr int MsxSetSkip = 32;

// The TMS9918 colour (1-15: 0 is transparent) nearest to `colour` in Tms9918Palette.
int msxColour(Colour colour);

// The cartridge: the set as the 256 patterns, the map's top-left 32 x 24 cells as the
// names (past a smaller map, code 32), every code in `ink` on `paper` (TMS9918 colours,
// as msxColour gives them), the backdrop paper.
std::vector<std::uint8_t> writeMsxCartridge(const Charset& set, const CodeMap& map, int ink,
                                            int paper);

} // namespace tessaly::formats
