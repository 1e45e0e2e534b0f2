#pragma once

#include "app/event_loop.h"
#include "app/charset_view.h"
#include "app/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <algorithm>

// A started program with short ways to script it, for the charset, map, render and io tests.

namespace tessaly {

using Messages = std::vector<FakePlatform::Message>;
constexpr Colour Black = rgb(0, 0, 0), White = rgb(255, 255, 255), Red = rgb(255, 0, 0);

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
    void event(int control, EventType type, int x, int y, int buttons = 0, Key key = Key::None) {
        t.platform.pushControl(control, type, x, y, buttons, key);
        runEventLoop(*t.app);
    }
    void select(int code) {
        moveCursor(*t.app, code % 16 - t.state().cursorColumn, code / 16 - t.state().cursorRow);
    }
    void numberGlyphs() { // glyph n filled with the byte n
        for (int n = 0; n < 256; ++n) std::fill_n(glyph(t.app->charset, n).begin(), 8, n);
    }
    int fill(int code) { return glyph(t.app->charset, code)[3]; }
    void range(bool on, int begin, int end) {
        t.platform.controls.at(GadgetRangeEnable).checked = on;
        t.platform.controls.at(GadgetRangeBeginSlider).position = begin;
        t.platform.controls.at(GadgetRangeEndSlider).position = end;
    }
    std::int32_t& cell(int x, int y) { return t.app->screenMap.at(x, y); }
    int draws(int canvas) { return t.platform.canvasDrawCount[canvas]; }
    std::string text(int control) { return t.platform.controls.at(control).text; }
};

} // namespace tessaly
