#pragma once

namespace tessaly {

struct App;

// Asks for a file and loads it as a character set or as a map, by the filter the user
// left selected, never by the extension.
void openCommand(App& app);

} // namespace tessaly
