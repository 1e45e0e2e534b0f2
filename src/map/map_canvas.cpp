#include "map/map_canvas.h"

#include "app/app.h"
#include "platform/ids.h"
#include "render/redraw.h"

#include <cstdio>

namespace tessaly {

namespace {

constexpr Colour HighlightColour = rgb(255, 0, 0);

// The spare column and row count as valid: both upper bounds are inclusive.
bool validCell(const EditorState& s, int cx, int cy) {
    return cx >= 0 && cx <= s.mapWidth && cy >= 0 && cy <= s.mapHeight;
}

} // namespace

std::string mapCellTitle(int x, int y, int code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(code));
    std::string title = "Character map (";
    title += std::to_string(x);
    title += ',';
    title += std::to_string(y);
    title += "):";
    title += std::to_string(code);
    title += '[';
    title += hex;
    title += ']';
    return title;
}

void handleMapCanvasEvent(App& app, const Event& e) {
    Platform& p = app.platform;
    EditorState& s = app.state;
    const int cx = e.mouseX / 16; // truncates toward zero
    const int cy = e.mouseY / 16;

    // A click is only reported over the canvas; anything else would choose a cell the
    // canvas does not have.
    const bool overCanvas = e.mouseX >= 0 && e.mouseY >= 0 && cx < MapCanvasColumns &&
                            cy < MapCanvasRows;
    if (e.type == EventType::RightClick && overCanvas && p.menuExists(MenuMapPopup)) {
        s.selectedMapX = cx;
        s.selectedMapY = cy;
        p.showPopupMenu(MenuMapPopup, WindowMap);
    }
    if (e.type == EventType::MouseMove && validCell(s, cx, cy)) {
        DrawMap(app);
        if (Surface* canvas = p.beginCanvasDrawing(GadgetMapCanvas)) {
            canvas->outlineRect(16 * cx, 16 * cy, 16, 16, HighlightColour);
            p.endCanvasDrawing(GadgetMapCanvas);
        }
        p.setWindowTitle(WindowMap, mapCellTitle(cx, cy, app.screenMap.at(cx, cy)));
    }
    const bool paint = e.type == EventType::LeftButtonDown ||
                       (e.type == EventType::MouseMove && (e.buttons & ButtonLeft));
    if (paint && validCell(s, cx, cy)) {
        app.screenMap.at(cx, cy) = s.currentChar;
        DrawMap(app);
    }
}

} // namespace tessaly
