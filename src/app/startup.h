#pragma once

namespace tessaly {

struct App;
class Platform;

// Start-up: first values, the main window with its controls, the command-line load,
// the first drawing, the menus, the map storage and the hidden map window. Returns
// false when the main window cannot be opened; the program then ends at once.
bool startUp(App& app);

// The whole run: start-up, the event loop and shutdown. Returns the exit code, which is
// 0 on every road.
int runTessaly(Platform& platform);

} // namespace tessaly
