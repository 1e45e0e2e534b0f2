#include "app/map_canvas.h"

#include "app/app.h"
#include "app/ids.h"
#include "app/menus.h"
#include "app/redraw.h"

#include <cstdio>

namespace tessaly {

namespace {

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

void handleMapCanvasEvent(App& app, const CanvasEvent& e) {
    Platform& p = app.platform;
    EditorState& s = app.state;
    const int cx = e.mouseX / 16; // truncates toward zero
    const int cy = e.mouseY / 16;

    // A click is only reported over the canvas; anything else would choose a cell the
    // canvas does not have.
    const bool overCanvas = e.mouseX >= 0 && e.mouseY >= 0 && cx < MapCanvasColumns &&
                            cy < MapCanvasRows;
    if (e.type == CanvasInput::RightClick && overCanvas && app.menus.count(MenuMapPopup)) {
        s.selectedMapX = cx;
        s.selectedMapY = cy;
        drawPending(app);
        showPopupMenu(app, MenuMapPopup, WindowMap);
    }
    if (!validCell(s, cx, cy)) return;
    const bool move = e.type == CanvasInput::MouseMove;
    const bool paint = e.type == CanvasInput::LeftButtonDown || (move && (e.buttons & ButtonLeft));
    // The title names the cell's code as it was before this move painted it.
    if (move) p.setWindowTitle(WindowMap, mapCellTitle(cx, cy, app.screenMap.at(cx, cy)));
    if (paint) app.screenMap.at(cx, cy) = s.currentChar;
    if (!paint && !move) return;
    // A hover outlines the cell; painting shows the map plain.
    if (move && !paint)
        drawMap(app, Outline{16 * cx, 16 * cy, MapHighlightColour});
    else
        drawMap(app);
}

void scrollMapWithWheel(App& app, const Event& wheel) {
    const auto [right, down] = app.wheel.steps(wheel);
    if (right != 0 || down != 0)
        app.platform.scrollBy(wheel.control, right * MapScrollStep, down * MapScrollStep);
}

} // namespace tessaly
