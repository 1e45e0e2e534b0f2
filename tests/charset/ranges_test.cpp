#include "app/event_loop.h"
#include "charset/charset_view.h"
#include "platform/ids.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

struct Ranges : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(t.start());
        numberGlyphs();
    }
    void numberGlyphs() { // glyph n filled with the byte n
        for (int n = 0; n < 256; ++n)
            std::fill_n(glyph(t.app->charset, n).begin(), 8, n);
    }
    void select(int code) {
        moveCursor(*t.app, code % 16 - t.state().cursorColumn, code / 16 - t.state().cursorRow);
    }
    void sliders(int begin, int end) {
        t.platform.controls[GadgetRangeBeginSlider].position = begin;
        t.platform.controls[GadgetRangeEndSlider].position = end;
    }
    void send(int command) {
        t.platform.pushCommand(command);
        runEventLoop(*t.app);
    }
    std::string label(int id) { return t.platform.controls.at(id).text; }
    int fill(int code) { return glyph(t.app->charset, code)[5]; }
    TestApp t;
};

TEST_F(Ranges, LabelsFollowTheSlidersAndTheSetCommands) {
    EXPECT_EQ(label(GadgetRangeBeginLabel), "Begin range:0");
    sliders(10, 32);
    t.platform.pushControl(GadgetRangeEndSlider, EventType::Changed);
    runEventLoop(*t.app);
    EXPECT_EQ(label(GadgetRangeBeginLabel), "BeginRange:10");
    EXPECT_EQ(label(GadgetRangeEndLabel), "End range:32: ");

    select(65);
    send(CmdSetRangeBegin);
    EXPECT_EQ(t.platform.controls.at(GadgetRangeBeginSlider).position, 65);
    EXPECT_EQ(label(GadgetRangeBeginLabel), "BeginRange:65:A");
    select(255);
    send(CmdSetRangeEnd);
    EXPECT_EQ(t.platform.controls.at(GadgetRangeEndSlider).position, 255);
    EXPECT_EQ(label(GadgetRangeEndLabel), "End range:255:\u00FF");
    EXPECT_EQ(label(GadgetRangeBeginLabel), "BeginRange:65:A");
}

TEST_F(Ranges, CopyRefusesWhenTheCurrentCharacterLiesInTheRange) {
    for (auto [begin, end, current] :
         {std::tuple{0, 0, 0}, {65, 67, 65}, {67, 65, 66}, {65, 67, 67}}) {
        sliders(begin, end);
        select(current);
        t.platform.messages.clear();
        const auto draws = t.platform.canvasDrawCount;
        const auto bytes = t.app->charset.bytes;
        send(CmdCopyRange);
        EXPECT_EQ(t.platform.messages,
                  (std::vector<FakePlatform::Message>{{"Tessaly", "Range Error!"}}));
        EXPECT_EQ(t.app->charset.bytes, bytes);
        EXPECT_EQ(t.platform.canvasDrawCount, draws);
    }
}

TEST_F(Ranges, CopyPutsTheRangeFromTheCurrentCharacterOnUpTo255) {
    select(7); // both sliders at 0: glyph 0 onto glyph 7
    send(CmdCopyRange);
    EXPECT_EQ(fill(7), 0);
    EXPECT_EQ(fill(8), 8);
    for (auto [begin, end] : {std::pair{65, 67}, {67, 65}}) {
        numberGlyphs();
        sliders(begin, end);
        select(100);
        send(CmdCopyRange);
        for (int n = 0; n < 256; ++n)
            EXPECT_EQ(fill(n), n >= 100 && n <= 102 ? n - 35 : n) << n;
    }
    EXPECT_TRUE(t.platform.messages.empty());

    // Past 255 the copy stops; overlapping sources are read before they are overwritten.
    numberGlyphs();
    sliders(10, 20);
    select(250);
    send(CmdCopyRange);
    for (int n = 249; n < 256; ++n)
        EXPECT_EQ(fill(n), n == 249 ? 249 : n - 240);

    numberGlyphs();
    sliders(20, 10);
    select(5);
    send(CmdCopyRange);
    for (int n = 0; n < 25; ++n)
        EXPECT_EQ(fill(n), n >= 5 && n <= 15 ? n + 5 : n) << n;
}

} // namespace
} // namespace tessaly
