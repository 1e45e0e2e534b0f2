#pragma once

namespace tessaly {

struct App;

// Saves `byteCount` (768, 1024 or 2048) glyph bytes from the current character on, or
// the map proper for -1, to a file the user chooses.
void SaveCharsetOrMap(App& app, int byteCount);

} // namespace tessaly
