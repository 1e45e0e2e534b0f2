#include "app/event_loop.h"
#include "app/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <functional>

namespace tessaly {
namespace {

// Runs the loop over what was scripted; the fake ends the wait when the script is used
// up, so `eventsLeft` tells whether the loop left early.
void run(TestApp& t) { runEventLoop(*t.app); }

TEST(EventLoop, QuitEndsTheLoopAndLaterEventsAreNotHandled) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.platform.pushCommand(CmdQuit);
    t.platform.pushCommand(CmdInvert);
    run(t);
    EXPECT_EQ(t.platform.eventsLeft(), 1);
    EXPECT_EQ(t.app->charset.bytes[0], 0);
}

TEST(EventLoop, ClosingTheMainWindowEndsTheLoopEvenWithTheMapShown) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.platform.pushCommand(CmdMapSize40x24);
    t.platform.pushClose(WindowMain);
    t.platform.pushCommand(CmdInvert);
    run(t);
    EXPECT_EQ(t.platform.eventsLeft(), 1);
}

// Escape as the platforms report it ("D" down, "U" up, "L" the keyboard lost, "C" a
// canvas's own Escape down, "i" an invert command): the loop ends at the first wake-up that
// finds it held or tapped since the last look, without handling that event.
TEST(EventLoop, EscapeHeldOrTappedEndsTheLoopWithoutHandlingTheEvent) {
    const struct {
        const char* script;
        int handled; // inverts run
        int left;    // events left unhandled
    } cases[] = {
        {"iDi", 1, 1},
        {"iDUi", 1, 2},  // a quick tap: its release queued behind the press
        {"iCi", 1, 1},   // a canvas with the keyboard reports it too
        {"UiLi", 2, 0},  // a release alone, or the keyboard lost, is no press
        {"iLDi", 1, 1},
        {"iUUi", 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        TestApp t;
        ASSERT_TRUE(t.start());
        for (const char* s = c.script; *s != '\0'; ++s) {
            if (*s == 'i') t.platform.pushCommand(CmdInvert);
            if (*s == 'L') t.platform.pushEvent(keyEvent(EventKind::KeyboardLost));
            if (*s == 'D' || *s == 'U' || *s == 'C')
                t.platform.pushKey(*s == 'C' ? GadgetCharsetView : -1,
                                   *s == 'U' ? EventKind::KeyUp : EventKind::KeyDown, Key::Escape);
        }
        run(t);
        EXPECT_EQ(t.platform.eventsLeft(), c.left);
        EXPECT_EQ(t.app->charset.bytes[0], c.handled % 2 ? 0xFF : 0);
    }
}

TEST(EscapeKey, APressCountsUntilLookedAtOnceAndTheLostKeyboardLetsItGo) {
    EscapeKey key;
    const auto note = [&key](EventKind kind) { key.note(keyEvent(kind, Key::Escape)); };
    note(EventKind::KeyDown);
    note(EventKind::KeyUp);
    EXPECT_TRUE(key.look());  // tapped since the last look
    EXPECT_FALSE(key.look()); // and now seen
    note(EventKind::KeyDown);
    EXPECT_TRUE(key.look());
    EXPECT_TRUE(key.look()); // still down
    note(EventKind::KeyboardLost);
    EXPECT_FALSE(key.look());
}

// The data field follows the canvases a frame later: one wake asked for, the last text
// written then.
TEST(EventLoop, TheDataFieldIsWrittenAfterTheFrameWithTheLastText) {
    TestApp t;
    ASSERT_TRUE(t.start());
    const auto text = [&t] { return t.platform.controls.at(GadgetDataField).text; };
    Event press; // the top left pixel set
    press.kind = EventKind::PointerDown;
    press.control = GadgetGlyphEditor;
    press.button = Button::Left;
    press.buttons = ButtonLeft;
    Event invert;
    invert.kind = EventKind::Command;
    invert.command = CmdInvert;
    ASSERT_TRUE(dispatchEvent(*t.app, press));
    ASSERT_TRUE(dispatchEvent(*t.app, invert));
    EXPECT_EQ(text(), "0,0,0,0,0,0,0,0");
    EXPECT_EQ(t.platform.eventsLeft(), 1);
    ASSERT_TRUE(dispatchEvent(*t.app, *t.platform.waitEvent()));
    EXPECT_EQ(text(), "127,255,255,255,255,255,255,255");
}

// The whole run, start-up included: it starts, takes events until one of the three roads
// ends it, leaves the rest untouched and exits with 0 without asking anything.
TEST(EventLoop, TheWholeRunStartsAndEndsOnEachRoadLeavingLaterEventsUnhandled) {
    for (int road = 0; road < 4; ++road) {
        SCOPED_TRACE(road);
        FakePlatform p;
        if (road == 0) p.pushCommand(CmdQuit);
        if (road == 1) p.pushClose(WindowMain);
        if (road == 2) p.pushKey(-1, EventKind::KeyDown, Key::Escape);
        // road 3: the platform itself shuts down, once the script is used up
        if (road < 3) p.pushCommand(CmdMapSize40x24); // never handled
        EXPECT_EQ(runTessaly(p), 0);
        EXPECT_TRUE(p.windows.at(WindowMain).visible); // start-up ran to the loop
        EXPECT_FALSE(p.windows.at(WindowMap).visible);
        EXPECT_EQ(p.eventsLeft(), road < 3 ? 1 : 0);
        EXPECT_TRUE(p.messages.empty());
        EXPECT_TRUE(p.dialogs.empty());
    }
}

TEST(EventLoop, ClosingTheMapWindowHidesItAndASizeCommandShowsItAgain) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.platform.pushCommand(CmdMapSize32x24);
    t.platform.pushClose(WindowMap);
    run(t);
    const auto& map = t.platform.windows.at(WindowMap);
    EXPECT_FALSE(map.visible);
    EXPECT_EQ(t.platform.eventsLeft(), 0); // the loop went on
    EXPECT_EQ(t.app->screenMap.at(0, 0), 32);

    t.platform.pushCommand(CmdMapSize40x24);
    run(t);
    EXPECT_TRUE(t.platform.windows.at(WindowMap).visible);
    EXPECT_EQ(t.platform.windows.at(WindowMap).showCount, 2);
    EXPECT_EQ(t.app->screenMap.at(0, 0), 32);
}

TEST(EventLoop, DropsAreRoutedByTheControlThatReceivedThem) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.platform.pushDrop(GadgetCharsetView, "/no/a.fnt\n/no/b.fnt");
    t.platform.pushDrop(GadgetMapCanvas, "/no/c.map");
    t.platform.pushDrop(GadgetGlyphEditor, "/no/d.fnt");
    t.platform.pushDrop(GadgetDataField, "/no/e.fnt");
    run(t);
    ASSERT_EQ(t.platform.messages.size(), 2u);
    EXPECT_EQ(t.platform.messages[0], (FakePlatform::Message{"No file", "/no/a.fnt\n/no/b.fnt"}));
    EXPECT_EQ(t.platform.messages[1], (FakePlatform::Message{"Open File", "unable to open:/no/c.map"}));
}

TEST(EventLoop, CanvasEventsReachTheirHandlers) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.platform.pushPointer(GadgetGlyphEditor, EventKind::PointerDown, 0, 0, Button::Left, ButtonLeft);
    t.platform.pushClick(GadgetCharsetView, 16, 0);
    t.platform.pushPointer(GadgetMapCanvas, EventKind::PointerDown, 0, 0, Button::Left, ButtonLeft);
    t.platform.pushChange(GadgetRangeBeginSlider, 300); // kept within the codes
    run(t);
    EXPECT_EQ(t.app->charset.bytes[0], 0x80);
    EXPECT_EQ(t.state().currentChar, 1);
    EXPECT_EQ(t.app->screenMap.at(0, 0), 1);
    EXPECT_EQ(t.platform.controls.at(GadgetRangeBeginLabel).text, "BeginRange:255:\u00FF");
}

TEST(EventLoop, ShiftButtonsRunTheirShifts) {
    struct Case {
        int button;
        std::uint8_t row0;
        std::uint8_t row7;
    };
    // Glyph 0 holds rows 0x80, 0, ..., 0, 0x01.
    for (const Case c : {Case{GadgetShiftLeft, 0x01, 0x02}, Case{GadgetShiftRight, 0x40, 0x80},
                         Case{GadgetShiftUp, 0x00, 0x80}, Case{GadgetShiftDown, 0x01, 0x00}}) {
        TestApp t;
        ASSERT_TRUE(t.start());
        t.app->charset.bytes[0] = 0x80;
        t.app->charset.bytes[7] = 0x01;
        t.platform.pushChange(c.button, 0);
        run(t);
        EXPECT_EQ(t.app->charset.bytes[0], c.row0) << c.button;
        EXPECT_EQ(t.app->charset.bytes[7], c.row7) << c.button;
    }
}

// For each command id, what running it shows on a freshly started program with the
// glyph 0 = 0x80, 0, ..., 0, 0x01, current character 0 and a map cell selected.
struct CommandCase {
    int command;
    std::function<void(TestApp&)> check;
};

std::uint8_t row(TestApp& t, int code, int r) { return t.app->charset.bytes[code * 8 + r]; }

const FakePlatform::DialogRequest& lastDialog(TestApp& t) {
    static const FakePlatform::DialogRequest none;
    return t.platform.dialogs.empty() ? none : t.platform.dialogs.back();
}

TEST(EventLoop, EveryCommandIdReachesItsHandler) {
    const std::vector<CommandCase> cases = {
        {CmdOpen, [](TestApp& t) { EXPECT_EQ(lastDialog(t).title, "Please choose file to load"); }},
        {CmdQuit, [](TestApp& t) { EXPECT_EQ(t.platform.eventsLeft(), 2); }},
        {CmdSaveCharset768, [](TestApp& t) { EXPECT_EQ(lastDialog(t).filters, "Font (*.fnt)|*.fnt"); }},
        {CmdSaveCharset1024, [](TestApp& t) { EXPECT_EQ(lastDialog(t).filters, "Font (*.fnt)|*.fnt"); }},
        {CmdSaveCharset2048, [](TestApp& t) { EXPECT_EQ(lastDialog(t).filters, "Font (*.fnt)|*.fnt"); }},
        {CmdSaveMap, [](TestApp& t) { EXPECT_EQ(lastDialog(t).filters, "Character map (*.map)|*.map"); }},
        {CmdSaveImage, [](TestApp& t) { EXPECT_EQ(lastDialog(t).filters, ".bmp|*.bmp"); }},
        {CmdInvert, [](TestApp& t) { EXPECT_EQ(row(t, 0, 0), 0x7F); }},
        {CmdMirrorLeftRight, [](TestApp& t) { EXPECT_EQ(row(t, 0, 0), 0x01); EXPECT_EQ(row(t, 0, 7), 0x80); }},
        {CmdMirrorUpDown, [](TestApp& t) { EXPECT_EQ(row(t, 0, 0), 0x01); EXPECT_EQ(row(t, 0, 7), 0x80); }},
        {CmdEraseAll, [](TestApp& t) { EXPECT_EQ(row(t, 200, 3), 0); EXPECT_EQ(row(t, 0, 0), 0); }},
        {CmdClearChar, [](TestApp& t) { EXPECT_EQ(row(t, 0, 0), 0); EXPECT_EQ(row(t, 200, 3), 0x55); }},
        {CmdShiftLeft, [](TestApp& t) { EXPECT_EQ(row(t, 0, 7), 0x02); }},
        {CmdShiftRight, [](TestApp& t) { EXPECT_EQ(row(t, 0, 0), 0x40); }},
        {CmdShiftUp, [](TestApp& t) { EXPECT_EQ(row(t, 0, 6), 0x01); }},
        {CmdShiftDown, [](TestApp& t) { EXPECT_EQ(row(t, 0, 1), 0x80); }},
        {CmdSetRangeBegin, [](TestApp& t) { EXPECT_EQ(t.platform.controls.at(GadgetRangeBeginLabel).text, "BeginRange:0"); }},
        {CmdSetRangeEnd, [](TestApp& t) { EXPECT_EQ(t.platform.controls.at(GadgetRangeEndLabel).text, "End range:0"); }},
        {CmdDragSwap, [](TestApp& t) { EXPECT_TRUE(t.platform.isMenuChecked(MenuMain, CmdDragSwap)); EXPECT_EQ(t.platform.messages.size(), 0u); }},
        {CmdDragCopy, [](TestApp& t) { EXPECT_TRUE(t.platform.isMenuChecked(MenuMain, CmdDragCopy)); EXPECT_FALSE(t.platform.isMenuChecked(MenuMain, CmdDragSwap)); }},
        {CmdCopyRange, [](TestApp& t) { ASSERT_EQ(t.platform.messages.size(), 1u); EXPECT_EQ(t.platform.messages[0].text, "Range Error!"); }},
        {CmdMapSize32x24, [](TestApp& t) { EXPECT_EQ(t.state().mapWidth, 32); EXPECT_EQ(t.state().mapHeight, 24); }},
        {CmdMapSize40x24, [](TestApp& t) { EXPECT_EQ(t.state().mapWidth, 40); EXPECT_EQ(t.state().mapHeight, 24); }},
        {CmdMapSize80x50, [](TestApp& t) { EXPECT_EQ(t.state().mapWidth, 80); EXPECT_EQ(t.state().mapHeight, 50); }},
        {CmdMapSize64x30, [](TestApp& t) { EXPECT_EQ(t.state().mapWidth, 64); EXPECT_EQ(t.state().mapHeight, 30); }},
        {CmdFillMap, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(39, 23), 0); }},
        {CmdGridOnMap, [](TestApp& t) { EXPECT_FALSE(t.state().mapGrid); }},
        {CmdCharsetCga, [](TestApp& t) { EXPECT_EQ(row(t, 219, 0), 0xFF); }},
        {CmdCharsetC64, [](TestApp& t) { EXPECT_EQ(t.state().paperColour, rgb(46, 44, 155)); }},
        {CmdCharsetAtari, [](TestApp& t) { EXPECT_EQ(t.state().paperColour, rgb(1, 78, 157)); }},
        {CmdCharsetPc866, [](TestApp& t) { EXPECT_EQ(row(t, 219, 0), 0xFF); EXPECT_EQ(row(t, 0, 0), 0); }},
        {CmdCharsetZxSpectrum, [](TestApp& t) { EXPECT_EQ(t.state().paperColour, rgb(203, 203, 203)); }},
        {CmdCharsetZx80, [](TestApp& t) { EXPECT_EQ(t.state().paperColour, rgb(255, 255, 255)); EXPECT_EQ(row(t, 64, 0), 0xFF); }},
        {CmdCharsetMicrosha, [](TestApp& t) { EXPECT_EQ(row(t, 128 + 32, 0), 0xFF); }},
        {CmdCharsetJupiterAce, [](TestApp& t) { EXPECT_EQ(row(t, 128 + 32, 0), 0xFF); EXPECT_EQ(row(t, 8, 0), 0); }},
        {CmdCharsetHex, [](TestApp& t) { EXPECT_EQ(row(t, 0x3A, 1), 0xE4); }},
        {CmdInkColour, [](TestApp& t) { EXPECT_EQ(t.state().inkColour, rgb(1, 2, 3)); EXPECT_EQ(t.state().paperColour, 0u); }},
        {CmdPaperColour, [](TestApp& t) { EXPECT_EQ(t.state().paperColour, rgb(1, 2, 3)); EXPECT_EQ(t.state().inkColour, rgb(255, 255, 255)); }},
        {CmdMapInsertChar, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(5, 3), 0); EXPECT_EQ(t.app->screenMap.at(6, 3), 37); }},
        {CmdMapDeleteChar, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(5, 3), 38); EXPECT_EQ(t.app->screenMap.at(39, 3), 0); }},
        {CmdMapInsertRow, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(0, 3), 0); EXPECT_EQ(t.app->screenMap.at(0, 4), 32); }},
        {CmdMapDeleteRow, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(0, 23), 0); EXPECT_EQ(t.app->screenMap.at(0, 3), 32); }},
        {CmdMapInsertColumn, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(5, 0), 0); EXPECT_EQ(t.app->screenMap.at(6, 0), 37); }},
        {CmdMapDeleteColumn, [](TestApp& t) { EXPECT_EQ(t.app->screenMap.at(5, 0), 38); EXPECT_EQ(t.app->screenMap.at(39, 0), 0); }},
    };
    ASSERT_EQ(cases.size(), std::size_t(CommandCount));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CommandCase& c = cases[i];
        ASSERT_EQ(c.command, int(i));
        SCOPED_TRACE("command " + std::to_string(c.command));
        TestApp t;
        ASSERT_TRUE(t.start());
        t.app->charset.bytes[0] = 0x80;
        t.app->charset.bytes[7] = 0x01;
        t.app->charset.bytes[200 * 8 + 3] = 0x55;
        t.state().selectedMapX = 5;
        t.state().selectedMapY = 3;
        t.platform.colourAnswers = {rgb(1, 2, 3)};
        t.platform.pushCommand(c.command);
        t.platform.pushCommand(CmdQuit);
        t.platform.pushCommand(CmdQuit);
        run(t);
        c.check(t);
    }
}

} // namespace
} // namespace tessaly

namespace tessaly {
namespace {

// Counts the drawings of each canvas.
struct CountingPlatform : FakePlatform {
    std::map<int, int> drawn;
    void endCanvasDrawing(int canvas) override { ++drawn[canvas]; }
};

TEST(EventLoop, EachViewIsDrawnAtMostOncePerEventAndShowsTheLastRequest) {
    CountingPlatform p;
    auto app = std::make_unique<App>(p);
    ASSERT_TRUE(startUp(*app));
    p.pushCommand(CmdMapSize40x24);
    runEventLoop(*app);
    app->charset.bytes[1 * 8] = 0xFF;
    p.colourAnswers = {rgb(0, 0, 255)};
    const std::string map = std::string(TESSALY_TEST_DATA) + "/letter_a.fnt"; // any bytes
    // A drag from glyph 1 to glyph 2 released over the canvas drops and selects in one
    // event; a colour change and a map drop redraw everything once.
    p.pushPointer(GadgetCharsetView, EventKind::PointerDown, 20, 5, Button::Left, ButtonLeft);
    p.pushPointer(GadgetCharsetView, EventKind::PointerMove, 40, 5, Button::None, ButtonLeft);
    p.pushPointer(GadgetCharsetView, EventKind::PointerUp, 40, 5, Button::Left, 0);
    p.pushCommand(CmdPaperColour);
    p.pushDrop(GadgetMapCanvas, map);
    for (int event = 0; event < 5; ++event) {
        p.drawn.clear();
        ASSERT_TRUE(dispatchEvent(*app, *p.waitEvent()));
        for (auto [canvas, count] : p.drawn) EXPECT_LE(count, 1) << "event " << event << " canvas " << canvas;
    }
    EXPECT_EQ(app->state.currentChar, 2);
    EXPECT_EQ(app->charset.bytes[2 * 8], 0xFF);
    EXPECT_EQ(p.canvases.at(GadgetCharsetView).pixel(32 + 1, 1), rgb(255, 255, 255)); // glyph 2
    EXPECT_EQ(p.canvases.at(GadgetMapCanvas).pixel(1, 1), rgb(0, 0, 255)); // the new paper
}

} // namespace
} // namespace tessaly
