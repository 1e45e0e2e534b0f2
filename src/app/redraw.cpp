#include "app/redraw.h"

#include <utility>

#include "app/app.h"
#include "app/ids.h"
#include "render/charset_render.h"
#include "render/map_render.h"

namespace tessaly {

namespace {

int cellOrigin(int mouse) { return 16 * (mouse / 16); } // division truncates toward zero

// Shows the overview picture with the cursor marker on a canvas being drawn.
void showOverview(App& app, Surface& canvas) {
    canvas.drawImage(app.charsetImage, 0, 0);
    renderCursorMarker(canvas, app.state.cursorColumn, app.state.cursorRow);
}

} // namespace

void drawCharsetView(App& app) {
    Platform& p = app.platform;
    renderCharsetImage(app.charsetImage, app.charset, app.state.inkColour, app.state.paperColour);
    Surface* canvas = p.beginCanvasDrawing(GadgetCharsetView);
    if (!canvas) {
        p.messageBox("tessaly", "draw cursor error!");
        return;
    }
    showOverview(app, *canvas);
    p.endCanvasDrawing(GadgetCharsetView);
}

bool drawGlyphEditorOnly(App& app) {
    Platform& p = app.platform;
    Surface* canvas = p.beginCanvasDrawing(GadgetGlyphEditor);
    if (!canvas) {
        p.messageBox("tessaly", "draw character error!");
        return false;
    }
    const ConstGlyph g = glyph(std::as_const(app.charset), app.state.currentChar);
    renderGlyphEditor(*canvas, g, app.state.inkColour, app.state.paperColour);
    p.setControlText(GadgetDataField, glyphDataText(g));
    p.endCanvasDrawing(GadgetGlyphEditor);
    return true;
}

void drawGlyphEditor(App& app) {
    if (drawGlyphEditorOnly(app)) DrawMap(app);
}

void refresh(App& app) {
    drawCharsetView(app);
    drawGlyphEditor(app);
}

void drawCharsetHover(App& app, int mouseX, int mouseY) {
    Platform& p = app.platform;
    const EditorState& s = app.state;
    Surface dragImage;
    if (s.dragging)
        dragImage = app.charsetImage.copyRegion(16 * (s.dragSource % 16), 16 * (s.dragSource / 16),
                                                16, 16);
    Surface* canvas = p.beginCanvasDrawing(GadgetCharsetView);
    if (!canvas) return;
    showOverview(app, *canvas);
    if (s.dragging) {
        canvas->drawImage(dragImage, mouseX, mouseY);
        canvas->outlineRect(cellOrigin(mouseX), cellOrigin(mouseY), 16, 16, DragTargetColour);
    } else {
        canvas->outlineRect(cellOrigin(mouseX), cellOrigin(mouseY), 16, 16, HoverColour);
    }
    p.endCanvasDrawing(GadgetCharsetView);
}

void DrawMap(App& app, std::optional<Outline> outline) {
    const EditorState& s = app.state;
    if (!s.mapWindowCreated || !s.mapWindowShown) return;
    Platform& p = app.platform;
    Surface* canvas = p.beginCanvasDrawing(GadgetMapCanvas);
    if (!canvas) {
        p.messageBox("tessaly", "draw char map error!");
        return;
    }
    renderMap(*canvas, app.screenMap, app.charset,
              MapView{s.mapWidth, s.mapHeight, s.inkColour, s.paperColour, s.mapGrid});
    if (outline) canvas->outlineRect(outline->x, outline->y, 16, 16, outline->colour);
    p.endCanvasDrawing(GadgetMapCanvas);
}

} // namespace tessaly
