#include "app/startup.h"

#include "app/app.h"
#include "app/event_loop.h"
#include "app/menus.h"
#include "io/charset_file.h"
#include "platform/ids.h"
#include "render/redraw.h"

#include <memory>

namespace tessaly {

namespace {

constexpr int MainClientWidth = 640;
constexpr int MainClientHeight = 480;
constexpr int MapBaseWidth = 512;
constexpr int MapBaseHeight = 384;
constexpr int MapWindowMargin = 10;
constexpr int MapWindowOffset = 40; // from the main window's outer top-left
constexpr int MapCanvasWidth = 1280;
constexpr int MapCanvasHeight = 800;

void createRangeControls(Platform& p) {
    p.createCanvas(WindowMain, GadgetCharsetView, {0, 0, 260, 260}, true, true);
    p.createLabel(WindowMain, GadgetRangeBeginLabel, {20, 260, 255, 20}, "Begin range:0", true);
    p.createTrackBar(WindowMain, GadgetRangeBeginSlider, {20, 280, 255, 30}, 0, 255, true);
    p.createLabel(WindowMain, GadgetRangeEndLabel, {20, 310, 255, 20}, "End range:0", true);
    p.createTrackBar(WindowMain, GadgetRangeEndSlider, {20, 330, 255, 30}, 0, 255, true);
    p.createCheckBox(WindowMain, GadgetRangeEnable, {0, 310, 20, 20}, "");
    p.setToolTip(GadgetRangeEnable, "Enable range");
}

void createEditorControls(Platform& p) {
    p.createButton(WindowMain, GadgetShiftLeft, {262, 128, 32, 20}, "<");
    p.setToolTip(GadgetShiftLeft, "shift left");
    p.createButton(WindowMain, GadgetShiftUp, {294, 128, 32, 20}, "^");
    p.setToolTip(GadgetShiftUp, "shift up");
    p.createButton(WindowMain, GadgetShiftDown, {326, 128, 32, 20}, "v");
    p.setToolTip(GadgetShiftDown, "shift down");
    p.createButton(WindowMain, GadgetShiftRight, {358, 128, 32, 20}, ">");
    p.setToolTip(GadgetShiftRight, "shift right");
    p.createTextField(WindowMain, GadgetDataField, {262, 148, 128, 40}, true, true);
    p.setToolTip(GadgetDataField, "Data for char");
    p.createCanvas(WindowMain, GadgetGlyphEditor, {262, 0, 128, 128}, false, false);
}

void fillInitialMap(ScreenMap& map) {
    for (int x = 0; x < MapColumns; ++x)
        for (int y = 0; y < MapRows; ++y) map.at(x, y) = 32 + x;
}

void openMapWindow(App& app) {
    Platform& p = app.platform;
    const int width = MapBaseWidth + MapWindowMargin;
    const int height = MapBaseHeight + MapWindowMargin;
    const int left = p.windowOuterLeft(WindowMain) + MapWindowOffset;
    const int top = p.windowOuterTop(WindowMain) + MapWindowOffset;
    WindowStyle style;
    style.hidden = true;
    if (!p.openWindow(WindowMap, left, top, width, height, "Character map", style)) {
        app.state.mapWindowAvailable = false;
        p.messageBox("Tessaly", "Character Map not available");
        return;
    }
    p.createScrollArea(WindowMap, GadgetMapScrollArea, {0, 0, width, height}, width, height, 16);
    p.createCanvas(WindowMap, GadgetMapCanvas, {0, 0, MapCanvasWidth, MapCanvasHeight}, false,
                   false);
    p.acceptFileDrops(GadgetMapCanvas);
    app.state.mapWindowAvailable = true;
}

} // namespace

bool startUp(App& app) {
    Platform& p = app.platform;
    EditorState& s = app.state;

    s = EditorState{};
    s.currentChar = 0;
    app.charset = Charset{};
    s.dragging = false;
    s.cursorColumn = s.cursorRow = 0;
    s.titleBase = "tessaly v2 0.9c";
    s.mapWidth = s.mapHeight = 1;
    app.screenMap = ScreenMap{};
    s.paperColour = rgb(0, 0, 0);
    s.inkColour = rgb(255, 255, 255);
    app.bitReverse = BitReverseTable{};
    s.lastPath = p.currentDirectory();
    // Dialogs open in lastPath, which is always a folder with its separator at the end.
    if (!s.lastPath.empty() && s.lastPath.back() != '/' && s.lastPath.back() != '\\')
        s.lastPath += '/';
    s.selectedMapX = s.selectedMapY = -1;
    s.mapGrid = true;

    WindowStyle mainStyle;
    mainStyle.centred = true;
    if (!p.openWindow(WindowMain, 0, 0, MainClientWidth, MainClientHeight, s.titleBase, mainStyle))
        return false;

    createRangeControls(p);
    app.charset.bytes.fill(0);
    const std::vector<std::string> args = p.commandLineArguments();
    if (args.size() == 1) LoadCharsetFile(app, args[0]);

    app.charsetImage = Surface(256, 256, rgb(0, 0, 0));
    drawCharsetView(app);
    createEditorControls(p);
    drawGlyphEditor(app);

    BuildMenus(app);
    p.acceptFileDrops(GadgetCharsetView);
    fillBitReverseTable(app.bitReverse);

    s.mapWidth = 40;
    s.mapHeight = 24;
    fillInitialMap(app.screenMap);
    openMapWindow(app);

    p.setFocus(GadgetCharsetView);
    return true;
}

int runTessaly(Platform& platform) {
    // The run's state is large (the map alone is 16 KiB): keep it off the stack.
    auto app = std::make_unique<App>(platform);
    if (startUp(*app)) runEventLoop(*app);
    // Shutdown: the platform closes the windows, menus and drawing resources when it is
    // destroyed; nothing is saved and nothing is asked.
    return 0;
}

} // namespace tessaly
