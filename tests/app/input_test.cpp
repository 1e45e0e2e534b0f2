#include "app/input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaly {
namespace {

// Raw events written as "down L 10 20", "up R 259 3", "move 5 5", "leave", "key Up" on
// canvas 7 (256 x 256 inside a 2-pixel border, so clicks count up to 259), and what the
// handlers get from them, written the same way ("click L 10 20", "enter 5 5", ...).
Event raw(const std::string& text) {
    Event e;
    e.control = 7;
    char word[8] = {}, button = 0;
    int x = 0, y = 0;
    if (std::sscanf(text.c_str(), "%7s %c %d %d", word, &button, &x, &y) < 4)
        std::sscanf(text.c_str(), "%7s %d %d", word, &x, &y);
    const std::string w = word;
    e.kind = w == "down"    ? EventKind::PointerDown
             : w == "up"    ? EventKind::PointerUp
             : w == "move"  ? EventKind::PointerMove
             : w == "leave" ? EventKind::PointerLeave
                            : EventKind::KeyUp;
    e.button = button == 'L' ? Button::Left : button == 'R' ? Button::Right : button == 'M' ? Button::Middle : Button::None;
    e.x = x;
    e.y = y;
    return e;
}

std::string text(const CanvasEvent& e) {
    const char* names[] = {"down L", "up L", "click L", "down R", "up R", "click R",
                           "move",   "enter", "leave",  "keydown", "keyup"};
    return std::string(names[static_cast<int>(e.type)]) + " " + std::to_string(e.mouseX) + " " +
           std::to_string(e.mouseY);
}

TEST(CanvasInputs, ClicksAndEntersAreDerivedOnceForEveryPlatform) {
    const struct {
        std::vector<const char*> in;
        std::vector<const char*> out;
    } cases[] = {
        // A release over the area or its right and bottom border is a click...
        {{"down L 10 20", "up L 10 20"}, {"down L 10 20", "up L 10 20", "click L 10 20"}},
        {{"down R 1 1", "up R 259 259"}, {"down R 1 1", "up R 259 259", "click R 259 259"}},
        // ... one past it, or left of or above the area, is not.
        {{"down L 1 1", "up L 260 5"}, {"down L 1 1", "up L 260 5"}},
        {{"down L 1 1", "up L -1 5"}, {"down L 1 1", "up L -1 5"}},
        {{"down R 1 1", "up R 5 -3"}, {"down R 1 1", "up R 5 -3"}},
        // A release needs its own press on this canvas; the middle button means nothing.
        {{"up L 10 10"}, {"up L 10 10"}},
        {{"down R 1 1", "up L 10 10", "up R 2 2"}, {"down R 1 1", "up L 10 10", "up R 2 2", "click R 2 2"}},
        {{"down M 1 1", "up M 1 1"}, {}},
        // The first move, and the first after a leave, is an enter.
        {{"move 5 5", "move 6 5", "leave", "move 7 5"}, {"enter 5 5", "move 6 5", "leave 0 0", "enter 7 5"}},
        {{"key"}, {"keyup 0 0"}},
    };
    for (const auto& c : cases) {
        CanvasInputs inputs;
        inputs.addCanvas(7, 256, 256, 2);
        std::vector<std::string> got, want(c.out.begin(), c.out.end());
        for (const char* in : c.in)
            for (const CanvasEvent& e : inputs.derive(raw(in))) got.push_back(text(e));
        EXPECT_EQ(got, want) << c.in.front();
    }
    CanvasInputs none; // events of controls that are no canvas mean nothing here
    EXPECT_TRUE(none.derive(raw("down L 1 1")).empty());
}

} // namespace
} // namespace tessaly
