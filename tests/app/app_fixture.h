#pragma once

#include "app/charset_view.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <algorithm>

// A started program with short ways to script it, for the charset, map, render and io tests.

namespace tessaly {

using Messages = std::vector<FakePlatform::Message>;
constexpr Colour Black = rgb(0, 0, 0), White = rgb(255, 255, 255), Red = rgb(255, 0, 0);
constexpr Colour Scribble = rgb(1, 2, 3);

inline int countColour(const Surface& s, Colour c) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == c;
    return n;
}

// Expects colour c at each of the pixels x0, y0, x1, y1, ...
inline void expectPixels(const Surface& s, Colour c, std::initializer_list<int> xy) {
    for (auto p = xy.begin(); p + 1 < xy.end(); p += 2)
        EXPECT_EQ(s.pixel(p[0], p[1]), c) << "pixel " << p[0] << "," << p[1];
}

struct AppTest : ::testing::Test {
    TestApp t;
    // Most tests see the map window as after its first size command: drawn on each change.
    void SetUp() override {
        ASSERT_TRUE(t.start());
        t.state().mapWindowShown = true;
    }
    void command(int id) {
        t.platform.pushCommand(id);
        runEventLoop(*t.app);
    }
    // A canvas event as the core derives it from the platform's raw input.
    void event(int canvas, CanvasInput type, int x, int y, int buttons = 0, Key key = Key::None) {
        dispatchCanvasEvent(*t.app, canvas, CanvasEvent{type, x, y, buttons, key});
    }
    void select(int code) {
        moveCursor(*t.app, code % 16 - t.state().cursorColumn, code / 16 - t.state().cursorRow);
    }
    void numberGlyphs() { // glyph n filled with the byte n
        for (int n = 0; n < 256; ++n) std::fill_n(glyph(t.app->charset, n).begin(), 8, n);
    }
    int fill(int code) { return glyph(t.app->charset, code)[3]; }
    void range(bool on, int begin, int end) {
        t.state().rangeEnabled = on;
        t.state().rangeBegin = begin;
        t.state().rangeEnd = end;
    }
    std::int32_t& cell(int x, int y) { return t.app->screenMap.at(x, y); }
    // Paints the canvas a colour no view uses, so that a test can tell whether it was redrawn;
    // the program is told that its views are no longer shown there.
    void scribble(int canvas) {
        Surface& s = t.canvas(canvas);
        s.fillRect(0, 0, s.width(), s.height(), Scribble);
        t.app->overviewShown = {};
        t.app->glyphEditorShown = {};
    }
    bool redrawn(int canvas) { return t.canvas(canvas).pixel(0, 0) != Scribble; }
    std::string text(int control) { return t.platform.controls.at(control).text; }
};

} // namespace tessaly
