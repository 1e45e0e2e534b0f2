#include "app/startup.h"

#include "app/app.h"
#include "app/charset_file.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/map_canvas.h"
#include "app/menus.h"
#include "app/redraw.h"

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

ControlSpec control(ControlKind kind, int id, const char* name, Rect r, const char* text = "") {
    ControlSpec c;
    c.kind = kind;
    c.window = WindowMain;
    c.id = id;
    c.name = name;
    c.rect = r;
    c.text = text;
    return c;
}

ControlSpec slider(int id, const char* name, Rect r) {
    ControlSpec c = control(ControlKind::Slider, id, name, r);
    c.max = 255;
    c.ticks = true;
    c.step = c.max / 16; // a page, and the space between ticks
    return c;
}

ControlSpec label(int id, const char* name, Rect r, const char* text) {
    ControlSpec c = control(ControlKind::Label, id, name, r, text);
    c.centred = true;
    return c;
}

// A canvas, and what its input means: a bordered one's drawing area lies 2 pixels in.
void createCanvas(App& app, ControlSpec c) {
    const int border = c.border ? 2 : 0;
    if (app.platform.createControl(c))
        app.input.addCanvas(c.id, c.rect.w - 2 * border, c.rect.h - 2 * border, border);
}

void createRangeControls(App& app) {
    Platform& p = app.platform;
    ControlSpec overview = control(ControlKind::Canvas, GadgetCharsetView, "overview",
                                   {0, 0, 260, 260}, "Character set");
    overview.border = overview.keyboard = true;
    createCanvas(app, overview);
    p.createControl(label(GadgetRangeBeginLabel, "range-begin-label", {20, 260, 255, 20},
                          "Begin range:0"));
    p.createControl(slider(GadgetRangeBeginSlider, "range-begin", {20, 280, 255, 30}));
    p.createControl(label(GadgetRangeEndLabel, "range-end-label", {20, 310, 255, 20},
                          "End range:0"));
    p.createControl(slider(GadgetRangeEndSlider, "range-end", {20, 330, 255, 30}));
    p.createControl(control(ControlKind::CheckBox, GadgetRangeEnable, "range-enable",
                            {0, 310, 20, 20}));
    p.setToolTip(GadgetRangeEnable, "Enable range");
}

void createEditorControls(App& app) {
    Platform& p = app.platform;
    const struct {
        int id;
        const char* name;
        int x;
        const char* caption;
        const char* tip;
    } shifts[] = {{GadgetShiftLeft, "shift-left", 262, "<", "shift left"},
                  {GadgetShiftUp, "shift-up", 294, "^", "shift up"},
                  {GadgetShiftDown, "shift-down", 326, "v", "shift down"},
                  {GadgetShiftRight, "shift-right", 358, ">", "shift right"}};
    for (const auto& shift : shifts) {
        p.createControl(
            control(ControlKind::Button, shift.id, shift.name, {shift.x, 128, 32, 20}, shift.caption));
        p.setToolTip(shift.id, shift.tip);
    }
    ControlSpec data = control(ControlKind::TextField, GadgetDataField, "data-field",
                               {262, 148, 128, 40});
    data.multiLine = data.rightAligned = true;
    p.createControl(data);
    p.setToolTip(GadgetDataField, "Data for char");
    createCanvas(app, control(ControlKind::Canvas, GadgetGlyphEditor, "glyph-editor",
                              {262, 0, 128, 128}, "Character editor"));
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
    if (!p.openWindow({WindowMap, "map", left, top, width, height, "Character map", false, true})) {
        app.state.mapWindowCreated = false;
        p.messageBox("Tessaly", "Character Map not available");
        return;
    }
    ControlSpec scroll = control(ControlKind::ScrollArea, GadgetMapScrollArea, "map-scroll",
                                 {0, 0, width, height});
    scroll.window = WindowMap;
    scroll.innerWidth = width;
    scroll.innerHeight = height;
    scroll.step = MapScrollStep;
    p.createControl(scroll);
    ControlSpec canvas = control(ControlKind::Canvas, GadgetMapCanvas, "map",
                                 {0, 0, MapCanvasWidth, MapCanvasHeight}, "Character map");
    canvas.window = WindowMap;
    createCanvas(app, canvas);
    p.acceptFileDrops(GadgetMapCanvas);
    app.state.mapWindowCreated = true;
}

} // namespace

bool startUp(App& app) {
    Platform& p = app.platform;
    EditorState& s = app.state;

    s = EditorState{};
    app.charset = Charset{};
    s.titleBase = "tessaly v2 0.9c";
    s.mapWidth = s.mapHeight = 1;
    app.screenMap = ScreenMap{};
    s.paperColour = rgb(0, 0, 0);
    s.inkColour = rgb(255, 255, 255);
    s.lastPath = p.currentDirectory();
    // Dialogs open in lastPath, which is always a folder with its separator at the end.
    if (!s.lastPath.empty() && s.lastPath.back() != '/' && s.lastPath.back() != '\\')
        s.lastPath += '/';
    s.selectedMapX = s.selectedMapY = -1;
    s.mapGrid = true;

    if (!p.openWindow({WindowMain, "main", 0, 0, MainClientWidth, MainClientHeight, s.titleBase,
                       true, false}))
        return false;

    createRangeControls(app);
    const std::vector<std::string> args = p.commandLineArguments();
    if (args.size() == 1) loadCharsetFile(app, args[0]);

    app.charsetImage = Surface(256, 256, rgb(0, 0, 0));
    drawCharsetView(app);
    createEditorControls(app);
    drawGlyphEditorAndMap(app);

    buildMenus(app);
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
