#pragma once

namespace tessaly {

struct App;

// What a save writes: 96, 128 or 256 glyphs (768, 1024 or 2048 bytes) from the current
// character on, or the map proper.
enum class SaveTarget { Glyphs96 = 768, Glyphs128 = 1024, Glyphs256 = 2048, Map = -1 };

// Saves the target to a file the user chooses.
void saveCharsetOrMap(App& app, SaveTarget target);

} // namespace tessaly
