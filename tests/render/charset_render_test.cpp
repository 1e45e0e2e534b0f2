#include "app/event_loop.h"
#include "charset/charset_view.h"
#include "platform/ids.h"
#include "render/charset_render.h"
#include "render/redraw.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

constexpr Colour White = rgb(255, 255, 255), Black = rgb(0, 0, 0);
constexpr Colour Ink = rgb(200, 10, 20), Paper = rgb(5, 60, 90);

int countColour(const Surface& s, Colour c) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += s.pixel(x, y) == c;
    return n;
}

TEST(CharsetRender, OverviewDrawsEachSetBitAsA2x2BlockInItsCellOnPaper) {
    Charset set;
    set.bytes[65 * 8 + 3] = 0x81; // cell (1, 4) at (16, 64); row 3 at y 70
    set.bytes[255 * 8 + 7] = 0x01;
    Surface image(256, 256, White);
    renderCharsetImage(image, set, Ink, Paper);
    for (int d = 0; d < 4; ++d)
        for (auto [x, y] : {std::pair{16, 70}, {30, 70}, {254, 254}})
            EXPECT_EQ(image.pixel(x + d % 2, y + d / 2), Ink) << x << "," << y;
    EXPECT_EQ(countColour(image, Ink), 12);
    EXPECT_EQ(countColour(image, Paper), 256 * 256 - 12);
}

TEST(CharsetRender, CursorMarkerIsACheckerboardOnTheCanvasOnly) {
    TestApp t;
    ASSERT_TRUE(t.start());
    glyph(t.app->charset, 35)[0] = 0xFF; // some ink under the marker
    moveCursor(*t.app, 3, 2);
    const Surface& view = t.canvas(GadgetCharsetView);
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            EXPECT_EQ(view.pixel(48 + j, 32 + i),
                      (i + j) % 2 ? MarkerColour : t.app->charsetImage.pixel(48 + j, 32 + i));
    EXPECT_EQ(view.pixel(48, 32), White);
    EXPECT_EQ(countColour(view, MarkerColour), 128);
    EXPECT_EQ(countColour(t.app->charsetImage, MarkerColour), 0);
}

TEST(CharsetRender, GlyphEditorShowsInkCellsPaperGapsAndTheDottedGrid) {
    const std::uint8_t rows[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE};
    Surface canvas(130, 130, rgb(1, 2, 3));
    renderGlyphEditor(canvas, ConstGlyph(rows, 8), Ink, Paper);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            Colour expected = Ink;
            if (x % 16 == 0)
                expected = y % 2 ? Black : White; // crossings come out white
            else if (y % 16 == 0)
                expected = x % 2 ? Black : White;
            else if (x % 16 == 15 || y % 16 == 15 || (x > 112 && y > 112))
                expected = Paper;
            ASSERT_EQ(canvas.pixel(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(countColour(canvas, rgb(1, 2, 3)), 130 * 130 - 128 * 128); // nothing past 127
}

TEST(CharsetRender, HoverFrameIsGreenAndADragShowsTheGlyphAtThePointerInARedFrame) {
    TestApp t;
    ASSERT_TRUE(t.start());
    std::fill_n(glyph(t.app->charset, 1).begin(), 8, 0xFF);
    refresh(*t.app);
    const Surface& view = t.canvas(GadgetCharsetView);
    drawCharsetHover(*t.app, 40, 20); // frame on the cell at (32, 16)
    for (int p : {0, 8, 15})
        for (auto [x, y] : {std::pair{32 + p, 16}, {32 + p, 31}, {32, 16 + p}, {47, 16 + p}})
            EXPECT_EQ(view.pixel(x, y), HoverColour) << x << "," << y;
    EXPECT_EQ(countColour(view, HoverColour), 60);
    EXPECT_EQ(view.pixel(1, 0), MarkerColour);

    t.state().dragging = true;
    t.state().dragSource = 1;
    drawCharsetHover(*t.app, 37, 85); // glyph over 37..52 x 85..100, frame on (32, 80)
    EXPECT_EQ(countColour(view, HoverColour), 0);
    for (auto [x, y] : {std::pair{37, 85}, {52, 100}, {36, 86}, {53, 100}, {52, 101}})
        EXPECT_EQ(view.pixel(x, y), x >= 37 && x <= 52 && y <= 100 ? White : Black);
    EXPECT_EQ(view.pixel(47, 90), DragTargetColour); // the frame lies over the glyph
    EXPECT_EQ(countColour(view, DragTargetColour), 60);

    // Outside the canvas (the button is held) everything is clipped; -15..-1 are cell 0.
    drawCharsetHover(*t.app, -5, -7);
    EXPECT_EQ(view.pixel(10, 8), White);
    EXPECT_EQ(view.pixel(11, 5), Black);
    EXPECT_EQ(view.pixel(15, 8), DragTargetColour);
    for (auto [x, y] : {std::pair{-20, 40}, {40, -16}, {256, 100}, {300, 300}}) {
        drawCharsetHover(*t.app, x, y);
        EXPECT_EQ(countColour(view, DragTargetColour), 0) << x << "," << y;
        EXPECT_EQ(countColour(view, White), 256) << x << "," << y; // glyph 1 alone
    }
}

TEST(CharsetRender, EachDrawingFailureIsReportedAndTheRestStillHappens) {
    struct Case {
        int canvas; // -1: the overview picture fails
        const char* text;
    };
    for (const Case c : {Case{-1, "draw image char error!"},
                         {GadgetCharsetView, "draw cursor error!"},
                         {GadgetGlyphEditor, "draw character error!"},
                         {GadgetMapCanvas, "draw char map error!"}}) {
        SCOPED_TRACE(c.text);
        TestApp t;
        ASSERT_TRUE(t.start());
        if (c.canvas < 0)
            t.platform.failImageDrawing.insert(ImageCharset);
        else
            t.platform.failCanvasDrawing.insert(c.canvas);
        auto before = t.platform.canvasDrawCount;
        glyph(t.app->charset, 0)[0] = 0xFF;
        refresh(*t.app);
        ASSERT_EQ(t.platform.messages.size(), 1u);
        EXPECT_EQ(t.platform.messages[0], (FakePlatform::Message{"tessaly", c.text}));
        auto drawn = [&](int id) { return t.platform.canvasDrawCount[id] - before[id]; };
        const bool editor = c.canvas == GadgetGlyphEditor;
        EXPECT_EQ(drawn(GadgetCharsetView), c.canvas == GadgetCharsetView ? 0 : 1);
        EXPECT_EQ(drawn(GadgetGlyphEditor), editor ? 0 : 1);
        EXPECT_EQ(drawn(GadgetMapCanvas), editor || c.canvas == GadgetMapCanvas ? 0 : 1);
        EXPECT_EQ(t.platform.controls.at(GadgetDataField).text,
                  editor ? "0,0,0,0,0,0,0,0" : "255,0,0,0,0,0,0,0");
        // A failed picture leaves the old one, still shown with the marker.
        const Surface& view = t.canvas(GadgetCharsetView);
        EXPECT_EQ(view.pixel(2, 0), c.canvas < 0 || c.canvas == GadgetCharsetView ? Black : White);
        EXPECT_EQ(view.pixel(1, 0), MarkerColour);
        drawCharsetHover(*t.app, 10, 10); // the feedback never reports
        EXPECT_EQ(t.platform.messages.size(), 1u);
    }
}

TEST(CharsetRender, ColourCommandsStoreTheChoiceAndRedrawEveryView) {
    TestApp t;
    ASSERT_TRUE(t.start());
    t.platform.colourAnswers = {std::nullopt, rgb(10, 20, 30)};
    auto before = t.platform.canvasDrawCount;
    t.platform.pushCommand(CmdInkColour); // cancelled
    runEventLoop(*t.app);
    EXPECT_EQ(t.state().inkColour, White);
    EXPECT_EQ(t.platform.canvasDrawCount, before);

    t.platform.pushCommand(CmdPaperColour);
    runEventLoop(*t.app);
    EXPECT_EQ(t.platform.dialogs.size(), 2u);
    EXPECT_EQ(t.state().paperColour, rgb(10, 20, 30));
    EXPECT_EQ(t.state().inkColour, White);
    for (int id : {GadgetCharsetView, GadgetGlyphEditor, GadgetMapCanvas}) {
        EXPECT_EQ(t.canvas(id).pixel(5, 5), rgb(10, 20, 30)) << id;
        EXPECT_EQ(t.platform.canvasDrawCount[id], before[id] + (id == GadgetMapCanvas ? 2 : 1));
    }
}

} // namespace
} // namespace tessaly
