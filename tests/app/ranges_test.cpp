#include "app/app_fixture.h"

namespace tessaly {
namespace {

struct Ranges : AppTest {
    bool redraw = false;
    // Copies begin..end onto `current` in a numbered set.
    void copy(int begin, int end, int current) {
        numberGlyphs();
        range(false, begin, end);
        select(current);
        t.platform.messages.clear();
        scribble(GadgetGlyphEditor);
        command(CmdCopyRange);
        redraw = redrawn(GadgetGlyphEditor);
    }
    void expectGlyphs(int (*expected)(int)) {
        for (int n = 0; n < 256; ++n) ASSERT_EQ(fill(n), expected(n)) << n;
    }
};

TEST_F(Ranges, TheSetCommandsMoveTheSlidersAndLabelsNameTheCharacterFrom32On) {
    select(32);
    command(CmdSetRangeBegin);
    select(255);
    command(CmdSetRangeEnd);
    EXPECT_EQ(t.platform.controls.at(GadgetRangeBeginSlider).value, 32);
    EXPECT_EQ(t.platform.controls.at(GadgetRangeEndSlider).value, 255);
    EXPECT_EQ(text(GadgetRangeBeginLabel), "BeginRange:32: ");
    EXPECT_EQ(text(GadgetRangeEndLabel), "End range:255:\u00FF");
}

TEST_F(Ranges, CopyRefusesWhenTheCurrentCharacterLiesInTheRange) {
    for (auto [begin, end, current] :
         {std::tuple{0, 0, 0}, {65, 67, 65}, {67, 65, 66}, {65, 67, 67}}) {
        copy(begin, end, current);
        EXPECT_EQ(t.platform.messages, (Messages{{"Tessaly", "Range Error!"}}));
        EXPECT_FALSE(redraw);
        expectGlyphs([](int n) { return n; });
    }
}

TEST_F(Ranges, CopyPutsTheRangeFromTheCurrentCharacterOnUpTo255) {
    copy(0, 0, 7);
    expectGlyphs([](int n) { return n == 7 ? 0 : n; });
    for (auto [begin, end] : {std::pair{65, 67}, {67, 65}}) {
        copy(begin, end, 100);
        expectGlyphs([](int n) { return n >= 100 && n <= 102 ? n - 35 : n; });
    }
    // The copy stops after 255; overlapping sources are read before they are overwritten.
    copy(10, 20, 250);
    expectGlyphs([](int n) { return n >= 250 ? n - 240 : n; });
    copy(20, 10, 5);
    expectGlyphs([](int n) { return n >= 5 && n <= 15 ? n + 5 : n; });
    EXPECT_TRUE(t.platform.messages.empty());
    EXPECT_EQ(text(GadgetDataField), "10,10,10,10,10,10,10,10"); // shown at once
}

} // namespace
} // namespace tessaly
