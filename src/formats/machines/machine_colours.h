#pragma once

#include "platform/surface.h"

#include <span>

// The colours of machines whose palettes are fixed: --ink and --paper are taken to the
// nearest colour the machine can show.

namespace tessaly::formats {

// The index of the colour of `palette` nearest to `colour` (by squared distance in RGB);
// of equally near ones, the first.
int nearestColour(Colour colour, std::span<const Colour> palette);

} // namespace tessaly::formats
