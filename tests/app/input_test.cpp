#include "app/input.h"

#include "support/fake_platform.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include <string>
#include <vector>

namespace tessaly {
namespace {

// Raw events written as "down L 10 20", "up R 259 3", "move 5 5", "leave", "key Up" on
// canvas 7 (256 x 256 inside a 2-pixel border, so clicks count up to 259), a finger's as
// "finger 10 20", "fmove 12 20", "lift 12 20", "cancel 12 20" and "timer 1", and what the
// handlers get from them, written the same way ("click L 10 20", "enter 5 5", ...) with the
// buttons held when there are any ("move 6 5 b1").
Event raw(const std::string& text) {
    static const std::map<std::string, EventKind> kinds = {
        {"down", EventKind::PointerDown}, {"up", EventKind::PointerUp},
        {"move", EventKind::PointerMove}, {"leave", EventKind::PointerLeave},
        {"key", EventKind::KeyUp},        {"finger", EventKind::FingerDown},
        {"fmove", EventKind::FingerMove}, {"lift", EventKind::FingerUp},
        {"cancel", EventKind::FingerUp},  {"timer", EventKind::Timer}};
    std::istringstream in(text);
    std::string word;
    char button = 0;
    in >> word;
    Event e;
    e.control = 7;
    e.kind = kinds.at(word);
    if (word == "down" || word == "up") in >> button;
    e.button = button == 'L' ? Button::Left : button == 'R' ? Button::Right : button == 'M' ? Button::Middle : Button::None;
    in >> e.x >> e.y;
    e.value = word == "cancel" ? 1 : word == "timer" ? e.x : 0;
    return e;
}

std::string text(const CanvasEvent& e) {
    const char* names[] = {"down L", "up L", "click L", "down R", "up R", "click R",
                           "move",   "enter", "leave",  "keydown", "keyup"};
    return std::string(names[static_cast<int>(e.type)]) + " " + std::to_string(e.mouseX) + " " +
           std::to_string(e.mouseY) + (e.buttons ? " b" + std::to_string(e.buttons) : "");
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

TEST(FingerStrokes, AFingerPressesLeftWhenItMovesOrLiftsAndRightWhenItStaysStill) {
    const struct {
        std::vector<const char*> in;
        std::vector<const char*> out;
    } cases[] = {
        // A tap; a stroke trembling first, its moves kept for the left press.
        {{"finger 10 20", "lift 10 20"}, {"enter 10 20", "down L 10 20 b1", "up L 10 20", "click L 10 20"}},
        {{"finger 10 20", "fmove 12 22", "fmove 30 20", "lift 31 20"},
         {"enter 10 20", "down L 10 20 b1", "move 12 22 b1", "move 30 20 b1", "up L 31 20", "click L 31 20"}},
        // Still when its time is up: the right button, at the touch, without the trembling.
        {{"finger 10 20", "fmove 11 21", "timer 1", "fmove 12 21", "fmove 40 20", "lift 40 20"},
         {"enter 10 20", "down R 10 20 b2", "move 12 21 b2", "move 40 20 b2", "up R 40 20", "click R 40 20"}},
        // The timer of an earlier touch, and one after the finger moved, mean nothing.
        {{"finger 1 1", "lift 1 1", "finger 5 5", "timer 1", "fmove 50 5", "timer 2", "lift 50 5"},
         {"enter 1 1", "down L 1 1 b1", "up L 1 1", "click L 1 1", "move 5 5", "down L 5 5 b1",
          "move 50 5 b1", "up L 50 5", "click L 50 5"}},
        // Taken away before its button was chosen it presses nothing; later it lets go.
        {{"finger 10 20", "cancel 10 20", "timer 1"}, {"enter 10 20"}},
        {{"finger 1 1", "fmove 40 1", "cancel 40 1"},
         {"enter 1 1", "down L 1 1 b1", "move 40 1 b1", "up L 40 1", "click L 40 1"}},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        CanvasInputs inputs;
        inputs.addCanvas(7, 256, 256, 2);
        FingerStrokes fingers;
        std::vector<std::string> got, want(c.out.begin(), c.out.end());
        for (const char* in : c.in)
            for (const Event& pointer : fingers.pointerEvents(raw(in), platform))
                for (const CanvasEvent& e : inputs.derive(pointer)) got.push_back(text(e));
        EXPECT_EQ(got, want) << c.in.front();
        for (const auto& [number, ms] : platform.timers) EXPECT_EQ(ms, FingerStrokes::longPressMs);
    }
}

} // namespace
} // namespace tessaly
