#include "app/map_commands.h"

#include "app/app.h"
#include "app/ids.h"
#include "app/redraw.h"
#include "map/map_operations.h"

namespace tessaly {

void setMapSize(App& app, int width, int height) {
    app.state.mapWidth = width;
    app.state.mapHeight = height;
    if (app.state.mapWindowCreated) {
        app.platform.setScrollAreaInnerSize(GadgetMapScrollArea, width * 16, height * 16);
        app.state.mapWindowShown = true;
    }
    drawMap(app);
    drawPending(app);
    if (app.state.mapWindowCreated) app.platform.showWindow(WindowMap);
}

void fillMap(App& app) {
    for (int y = 0; y < app.state.mapHeight; ++y)
        for (int x = 0; x < app.state.mapWidth; ++x) app.screenMap.at(x, y) = app.state.currentChar;
    drawMap(app);
}

void toggleMapGrid(App& app) {
    app.state.mapGrid = !app.state.mapGrid;
    app.platform.setMenuChecked(MenuMain, CmdGridOnMap, app.state.mapGrid);
    drawMap(app);
}

void mapCellCommand(App& app, MapOperation op) {
    EditorState& s = app.state;
    const int sx = s.selectedMapX;
    const int sy = s.selectedMapY;
    if (sx < 0 || sy < 0) return;
    ScreenMap& map = app.screenMap;
    switch (op) {
    case MapOperation::InsertChar: mapInsertChar(map, sx, sy, s.mapWidth); break;
    case MapOperation::DeleteChar: mapDeleteChar(map, sx, sy, s.mapWidth); break;
    case MapOperation::InsertRow: mapInsertRow(map, sy, s.mapWidth, s.mapHeight); break;
    case MapOperation::DeleteRow: mapDeleteRow(map, sy, s.mapWidth, s.mapHeight); break;
    case MapOperation::InsertColumn: mapInsertColumn(map, sx, s.mapWidth, s.mapHeight); break;
    case MapOperation::DeleteColumn: mapDeleteColumn(map, sx, s.mapWidth, s.mapHeight); break;
    }
    drawMap(app);
    s.selectedMapX = -1;
    s.selectedMapY = -1;
}

} // namespace tessaly
