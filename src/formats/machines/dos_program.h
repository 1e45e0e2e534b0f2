#pragma once

#include "charset/charset.h"
#include "formats/raw/map_codes.h"
#include "platform/surface.h"

#include <cstdint>
#include <vector>

// A DOS program (.com) that shows a screen map on a VGA: it switches to 80x50 text mode
// with 8-pixel cells (640x400), loads the set as the text font for all 256 codes, writes
// the map in the ink and paper colours, waits for a key and restores the mode it found
// with its rows: the BIOS font of the height found (8, 14 or 16 lines, so 80x50, 80x43 or
// 80x28 come back), cleared; a font of the user's own comes back as the BIOS's.

namespace tessaly::formats {

constexpr int DosColumns = 80;
constexpr int DosRows = 50;

// A VGA DAC level (6 bits) for an 8-bit channel: v * 63 / 255 rounded, as level 63 is the
// DAC's full output. (DOSBox's default S3 shows level l as (l << 2) | (l >> 4), so 0, 85,
// 170 and 255 come back as they went in; its plain VGA, machine=vgaonly, as l << 2.)
int dacLevel(int channel);

// The program: the map's top-left 80x50 cells; a smaller map sits at the top left with
// the rest of the screen paper.
std::vector<std::uint8_t> writeDosProgram(const Charset& set, const CodeMap& map, Colour ink,
                                          Colour paper);

} // namespace tessaly::formats
