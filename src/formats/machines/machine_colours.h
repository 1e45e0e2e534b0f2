#pragma once

#include "platform/surface.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The colours of the machines whose palettes are fixed, and their names: --ink and --paper
// are taken to the nearest colour the machine can show.

namespace tessaly::formats {

// The VIC-II's 16 colours, as Pepto measured them on a PAL machine ("pepto-pal" in VICE).
extern const std::array<Colour, 16> C64Palette;
// Their names, as the C64's manual gives them.
extern const std::array<const char*, 16> C64ColourNames;

// The attribute byte of the Spectrum colours nearest to ink and paper: both normal or
// both BRIGHT (one bit serves the two), whichever is nearer in sum.
std::uint8_t zxAttribute(Colour ink, Colour paper);
// The names of an attribute's ink and paper: "bright cyan".
std::string zxInkName(std::uint8_t attribute);
std::string zxPaperName(std::uint8_t attribute);

// The TMS9918's 16 colours (the MSX1's video chip) as openMSX shows them on its C-BIOS
// MSX1 (a TMS9929A: from the data book's voltages, without openMSX's display gamma).
// Colour 0 is transparent (the backdrop shows through): listed as black, never chosen.
extern const std::array<Colour, 16> Tms9918Palette;

// The index of the colour of `palette` nearest to `colour` (by squared distance in RGB);
// of equally near ones, the first.
int nearestColour(Colour colour, std::span<const Colour> palette);

} // namespace tessaly::formats
