#include "app/redraw.h"

#include <algorithm>
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
    const CharsetImageSource& picture = app.charsetImageSource;
    OverviewShown& shown = app.overviewShown;
    const auto showCell = [&](int code) {
        const int x = 16 * (code % 16);
        const int y = 16 * (code / 16);
        canvas.drawImage(app.charsetImage.copyRegion(x, y, 16, 16), x, y);
    };
    if (shown.picture.rendered && shown.picture.ink == picture.ink &&
        shown.picture.paper == picture.paper) {
        for (int code = 0; code < GlyphCount; ++code)
            if (!sameGlyph(shown.picture.set, picture.set, code)) showCell(code);
        showCell(16 * shown.row + shown.column);
    } else {
        canvas.drawImage(app.charsetImage, 0, 0);
    }
    renderCursorMarker(canvas, app.state.cursorColumn, app.state.cursorRow);
    shown = {picture, app.state.cursorColumn, app.state.cursorRow};
}

// Brings the overview picture up to date with the set and the colours.
void renderCharsetPicture(App& app) {
    CharsetImageSource& from = app.charsetImageSource;
    const Colour ink = app.state.inkColour;
    const Colour paper = app.state.paperColour;
    if (from.rendered && from.ink == ink && from.paper == paper)
        renderCharsetImageChanges(app.charsetImage, app.charset, from.set, ink, paper);
    else
        renderCharsetImage(app.charsetImage, app.charset, ink, paper);
    from = {true, app.charset, ink, paper};
}

} // namespace

void drawCharsetView(App& app) {
    if (app.pending.collecting) {
        app.pending.overview = true;
        app.pending.hover = false;
        return;
    }
    Platform& p = app.platform;
    renderCharsetPicture(app);
    Surface* canvas = p.beginCanvasDrawing(GadgetCharsetView);
    if (!canvas) {
        p.messageBox("tessaly", "draw cursor error!");
        return;
    }
    showOverview(app, *canvas);
    p.endCanvasDrawing(GadgetCharsetView);
}

bool drawGlyphEditor(App& app) {
    if (app.pending.collecting) {
        app.pending.glyphEditor = true;
        return false; // whether it can be drawn is known only then
    }
    Platform& p = app.platform;
    Surface* canvas = p.beginCanvasDrawing(GadgetGlyphEditor);
    if (!canvas) {
        p.messageBox("tessaly", "draw character error!");
        return false;
    }
    const ConstGlyph g = glyph(std::as_const(app.charset), app.state.currentChar);
    const Colour ink = app.state.inkColour;
    const Colour paper = app.state.paperColour;
    GlyphEditorShown& shown = app.glyphEditorShown;
    if (shown.drawn && shown.ink == ink && shown.paper == paper)
        renderGlyphEditorChanges(*canvas, g, shown.glyph, ink, paper);
    else
        renderGlyphEditor(*canvas, g, ink, paper);
    shown.drawn = true;
    std::copy(g.begin(), g.end(), shown.glyph.begin());
    shown.ink = ink;
    shown.paper = paper;
    p.endCanvasDrawing(GadgetGlyphEditor);
    // After the canvas, so that the text, written a frame late, follows its repaint.
    showFieldText(app, GadgetDataField, glyphDataText(g));
    return true;
}

void drawGlyphEditorAndMap(App& app) {
    if (app.pending.collecting) {
        app.pending.glyphEditor = app.pending.mapAfterEditor = true;
        app.pending.outline.reset();
        return;
    }
    if (drawGlyphEditor(app)) drawMap(app);
}

void refresh(App& app) {
    drawCharsetView(app);
    drawGlyphEditorAndMap(app);
}

void drawCharsetHover(App& app, int mouseX, int mouseY) {
    if (app.pending.collecting) {
        app.pending.hover = true;
        app.pending.hoverX = mouseX;
        app.pending.hoverY = mouseY;
        return;
    }
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
    app.overviewShown.picture.rendered = false;
    p.endCanvasDrawing(GadgetCharsetView);
}

void drawMap(App& app, std::optional<Outline> outline) {
    if (app.pending.collecting) {
        app.pending.map = true;
        app.pending.outline = outline;
        return;
    }
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

void showFieldText(App& app, int field, const std::string& text) {
    LateTexts& late = app.lateTexts;
    if (!late.deferring) {
        late.texts.erase(field); // a later text than the one waiting
        app.platform.setControlText(field, text);
        return;
    }
    if (late.texts.empty()) app.platform.wakeAfterFrame();
    late.texts[field] = text;
}

void writeLateTexts(App& app) {
    for (const auto& [field, text] : std::exchange(app.lateTexts.texts, {}))
        app.platform.setControlText(field, text);
}

void drawPending(App& app) {
    PendingDraws todo = std::exchange(app.pending, PendingDraws{});
    const bool collecting = todo.collecting;
    if (todo.overview && todo.hover) // the new picture, shown with the feedback
        renderCharsetPicture(app);
    else if (todo.overview)
        drawCharsetView(app);
    if (todo.hover) drawCharsetHover(app, todo.hoverX, todo.hoverY);
    const bool editorDrawn = todo.glyphEditor && drawGlyphEditor(app);
    if (todo.map || (todo.mapAfterEditor && editorDrawn)) drawMap(app, todo.outline);
    app.pending.collecting = collecting;
}

} // namespace tessaly
