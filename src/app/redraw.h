#pragma once

#include "charset/charset.h"
#include "platform/surface.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

// The redraw procedures every handler ends with. While an event is handled they only note
// the view as to be drawn; each noted view is then drawn once, completely, when the event is
// done (drawPending).

namespace tessaly {

struct App;

// A 16 x 16 frame drawn over a view, its top left at (x, y).
struct Outline {
    int x = 0;
    int y = 0;
    Colour colour = 0;
};
constexpr Colour MapHighlightColour = rgb(255, 0, 0);

// While the loop handles an event, the redraw procedures below only note what is to be
// drawn, and drawPending draws it when the event is done: each view at most once per
// event, in the order overview, glyph editor, map, with what the last request asked for.
struct PendingDraws {
    bool collecting = false;
    bool overview = false;
    bool hover = false; // the overview with hover or drag feedback at (hoverX, hoverY)
    int hoverX = 0;
    int hoverY = 0;
    bool glyphEditor = false;
    bool mapAfterEditor = false; // the map, if the glyph editor could be drawn
    bool map = false;
    std::optional<Outline> outline;
};

// What the overview picture was last rendered from: it is rendered again only where the
// glyphs changed since, unless the colours changed too.
struct CharsetImageSource {
    bool rendered = false;
    Charset set;
    Colour ink = 0;
    Colour paper = 0;
};

// What the overview canvas shows while it shows the picture with the cursor marker and
// nothing over it: the picture's source and the marker's cell. Such a canvas is drawn again
// only in the cells whose glyph changed since and the marker's old cell, so that a change
// to one glyph costs one cell on the screen too.
struct OverviewShown {
    CharsetImageSource picture; // not rendered: the canvas shows something else
    int column = 0;
    int row = 0;
};

// What the glyph editor canvas shows: a glyph's rows in those colours, once drawn. Only the
// rows of cells whose byte changed since are drawn again.
struct GlyphEditorShown {
    bool drawn = false;
    std::array<std::uint8_t, GlyphBytes> glyph{};
    Colour ink = 0;
    Colour paper = 0;
};

// A text field's text takes longer to lay out than the canvases' changed pixels take to
// show, so once an event is handled it follows them a frame later: only the last text
// given meanwhile is written, when the platform wakes the loop after the frame.
struct LateTexts {
    bool deferring = false; // while the views of an event are drawn
    std::map<int, std::string> texts;
};

// Shows a text field's text, at once or a frame late.
void showFieldText(App& app, int field, const std::string& text);
// Writes the texts that waited for the frame.
void writeLateTexts(App& app);

// Rebuilds the overview picture and shows it with the cursor marker.
void drawCharsetView(App& app);
// Draws the current glyph enlarged and rewrites the data field; false when the canvas
// could not be drawn.
bool drawGlyphEditor(App& app);
// drawGlyphEditor, then, if it was drawn, the map.
void drawGlyphEditorAndMap(App& app);
// drawCharsetView, then drawGlyphEditorAndMap.
void refresh(App& app);
// Hover or drag feedback for a pointer at (mouseX, mouseY) over the overview.
void drawCharsetHover(App& app, int mouseX, int mouseY);
// Draws the map proper on the map canvas, with the outline if given; nothing while the
// map window is missing or has never been shown.
void drawMap(App& app, std::optional<Outline> outline = std::nullopt);

// Draws what was noted while collecting; also before the program shows a window or a
// popup, so that the user sees the change behind it.
void drawPending(App& app);

} // namespace tessaly
