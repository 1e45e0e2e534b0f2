#pragma once

#include "platform/surface.h"

#include <array>
#include <span>

// The colours of machines whose palettes are fixed: --ink and --paper are taken to the
// nearest colour the machine can show.

namespace tessaly::formats {

// The TMS9918's 16 colours (the MSX1's video chip) as openMSX shows them on its C-BIOS
// MSX1 (a TMS9929A: from the data book's voltages, without openMSX's display gamma).
// Colour 0 is transparent (the backdrop shows through): listed as black, never chosen.
extern const std::array<Colour, 16> Tms9918Palette;

// The index of the colour of `palette` nearest to `colour` (by squared distance in RGB);
// of equally near ones, the first.
int nearestColour(Colour colour, std::span<const Colour> palette);

} // namespace tessaly::formats
