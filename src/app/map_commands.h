#pragma once

namespace tessaly {

struct App;

enum class MapOperation { InsertChar, DeleteChar, InsertRow, DeleteRow, InsertColumn, DeleteColumn };

// Sets the visible map size, sizes the scroll area to it, redraws the map and shows the
// map window.
void setMapSize(App& app, int width, int height);
// Fills the map proper with the current character.
void fillMap(App& app);
void toggleMapGrid(App& app);
// Runs one popup operation at the selected cell, redraws, and clears the selection.
// Without a selected cell nothing happens.
void mapCellCommand(App& app, MapOperation op);

} // namespace tessaly
