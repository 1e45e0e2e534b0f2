#pragma once

// The redraw procedures every handler ends with. Each redraws its view completely.

namespace tessaly {

struct App;

// Rebuilds the overview picture and shows it with the cursor marker.
void drawCharsetView(App& app);
// Draws the current glyph enlarged, rewrites the data field, then redraws the map.
void drawGlyphEditor(App& app);
// drawCharsetView, then drawGlyphEditor.
void refresh(App& app);
// Hover or drag feedback for a pointer at (mouseX, mouseY) over the overview.
void drawCharsetHover(App& app, int mouseX, int mouseY);
// Draws the map proper on the map canvas; nothing while the map window is missing.
void DrawMap(App& app);

} // namespace tessaly
