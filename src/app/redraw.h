#pragma once

#include "platform/surface.h"

#include <optional>

// The redraw procedures every handler ends with. Each redraws its view completely.

namespace tessaly {

struct App;

// A 16 x 16 frame drawn over a view, its top left at (x, y).
struct Outline {
    int x = 0;
    int y = 0;
    Colour colour = 0;
};
constexpr Colour MapHighlightColour = rgb(255, 0, 0);

// Rebuilds the overview picture and shows it with the cursor marker.
void drawCharsetView(App& app);
// Draws the current glyph enlarged and rewrites the data field; false when the canvas
// could not be drawn.
bool drawGlyphEditorOnly(App& app);
// drawGlyphEditorOnly, then, if it was drawn, the map.
void drawGlyphEditor(App& app);
// drawCharsetView, then drawGlyphEditor.
void refresh(App& app);
// Hover or drag feedback for a pointer at (mouseX, mouseY) over the overview.
void drawCharsetHover(App& app, int mouseX, int mouseY);
// Draws the map proper on the map canvas, with the outline if given; nothing while the
// map window is missing or has never been shown.
void DrawMap(App& app, std::optional<Outline> outline = std::nullopt);

} // namespace tessaly
