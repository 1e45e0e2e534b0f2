#pragma once

#include <string>

namespace tessaly {

struct App;

// Copies a raw glyph file into the store from the current character's glyph on, cut at
// the end of the store. Reports "No file" / "Read error" with the path; a path of only
// spaces does nothing. Does not redraw.
void loadCharsetFile(App& app, const std::string& path);

} // namespace tessaly
