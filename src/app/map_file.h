#pragma once

#include <string>

namespace tessaly {

struct App;

// Reads a headerless file of codes into the map proper, row by row, at its current
// size; refuses a file longer than the map ("to big map:") or one that cannot be read
// ("unable to open:"), both under "Open File". Redraws the map.
void loadMapFile(App& app, const std::string& path);

} // namespace tessaly
