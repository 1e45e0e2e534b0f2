// Redraw costs of the views, each against the same-run std::fill floor over the pixels
// it writes.

#include "floor.h"

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/map_canvas.h"
#include "app/map_commands.h"
#include "app/redraw.h"
#include "app/startup.h"
#include "charset/builtin_charsets.h"
#include "render/charset_render.h"
#include "render/map_render.h"
#include "support/fake_platform.h"

#include <memory>

namespace tessaly {
namespace {

Charset busyCharset() {
    Charset set;
    writeBuiltinCharset(set, BuiltinCharset::Cga);
    return set;
}

void BM_CharsetImage(benchmark::State& state) {
    const Charset set = busyCharset();
    Surface image(256, 256);
    runAgainstFloor(state, 256 * 256, [&] {
        renderCharsetImage(image, set, rgb(255, 255, 255), rgb(0, 0, 0));
    });
}
BENCHMARK(BM_CharsetImage);

void BM_GlyphEditor(benchmark::State& state) {
    const Charset set = busyCharset();
    Surface canvas(128, 128);
    runAgainstFloor(state, 128 * 128, [&] {
        renderGlyphEditor(canvas, glyph(set, 'A'), rgb(255, 255, 255), rgb(0, 0, 0));
    });
}
BENCHMARK(BM_GlyphEditor);

// A started program on the fake platform, with the 80 x 50 map and a busy set.
struct Program {
    FakePlatform platform;
    std::unique_ptr<App> app = std::make_unique<App>(platform);
    explicit Program(bool grid) {
        startUp(*app);
        writeBuiltinCharset(app->charset, BuiltinCharset::Cga);
        for (int x = 0; x < MapColumns; ++x)
            for (int y = 0; y < MapRows; ++y) app->screenMap.at(x, y) = (x * 7 + y * 13) & 0xFF;
        app->state.mapGrid = grid;
        setMapSize(*app, 80, 50);
    }
};

void BM_DrawMap80x50(benchmark::State& state) {
    Program p(state.range(0) != 0);
    runAgainstFloor(state, 1280 * 800, [&] { drawMap(*p.app); });
}
BENCHMARK(BM_DrawMap80x50)->Arg(0)->Arg(1)->ArgName("grid");

void BM_MapHoverMove80x50(benchmark::State& state) {
    Program p(true);
    CanvasEvent move{CanvasInput::MouseMove};
    int i = 0;
    runAgainstFloor(state, 1280 * 800, [&] {
        move.mouseX = (i * 37) % 1280;
        move.mouseY = (i * 23) % 800;
        ++i;
        handleMapCanvasEvent(*p.app, move);
    });
}
BENCHMARK(BM_MapHoverMove80x50);

void BM_MapPaintCell80x50(benchmark::State& state) {
    Program p(true);
    CanvasEvent press{CanvasInput::LeftButtonDown};
    press.buttons = ButtonLeft;
    int i = 0;
    runAgainstFloor(state, 1280 * 800, [&] {
        press.mouseX = (i * 37) % 1280;
        press.mouseY = (i * 23) % 800;
        ++i;
        handleMapCanvasEvent(*p.app, press);
    });
}
BENCHMARK(BM_MapPaintCell80x50);

// A full refresh: overview, glyph editor, data field and the map, at the size given.
void BM_Refresh(benchmark::State& state) {
    Program p(true);
    const int width = static_cast<int>(state.range(0));
    const int height = width == 80 ? 50 : 24;
    setMapSize(*p.app, width, height);
    runAgainstFloor(state, 256 * 256 + 128 * 128 + 256 * width * height,
                    [&] { refresh(*p.app); });
}
BENCHMARK(BM_Refresh)->Arg(40)->Arg(80)->ArgName("mapWidth");

// One pixel set in the glyph editor: the press and the full refresh it causes, with the
// default 40 x 24 map.
void BM_GlyphEditorPress(benchmark::State& state) {
    Program p(true);
    setMapSize(*p.app, 40, 24);
    Event press;
    press.kind = EventKind::PointerDown;
    press.control = GadgetGlyphEditor;
    press.button = Button::Left;
    press.buttons = ButtonLeft;
    int i = 0;
    runAgainstFloor(state, 256 * 256 + 128 * 128 + 256 * 40 * 24, [&] {
        press.x = (i * 16) % 128;
        press.y = (i * 48) % 128;
        ++i;
        dispatchEvent(*p.app, press);
    });
}
BENCHMARK(BM_GlyphEditorPress);

// One hover move over the overview: the picture, the marker and the frame.
void BM_OverviewHover(benchmark::State& state) {
    Program p(true);
    Event move;
    move.kind = EventKind::PointerMove;
    move.control = GadgetCharsetView;
    int i = 0;
    runAgainstFloor(state, 256 * 256, [&] {
        move.x = (i * 37) % 256;
        move.y = (i * 23) % 256;
        ++i;
        dispatchEvent(*p.app, move);
    });
}
BENCHMARK(BM_OverviewHover);

} // namespace
} // namespace tessaly
