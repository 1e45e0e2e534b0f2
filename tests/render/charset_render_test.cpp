#include "app/app_fixture.h"
#include "app/redraw.h"
#include "render/charset_render.h"

#include <functional>

namespace tessaly {
namespace {

constexpr Colour Ink = rgb(200, 10, 20), Paper = rgb(5, 60, 90);

TEST(CharsetRender, OverviewDrawsEachSetBitAsA2x2BlockInItsCellOnPaper) {
    Charset set;
    set.bytes[65 * 8 + 3] = 0x81; // cell (1, 4) at (16, 64); row 3 at y 70
    set.bytes[255 * 8 + 7] = 0x01;
    Surface image(256, 256, White);
    renderCharsetImage(image, set, Ink, Paper);
    expectPixels(image, Ink, {16, 70, 17, 71, 30, 70, 31, 71, 254, 254, 255, 255});
    EXPECT_EQ(countColour(image, Ink), 12);
    EXPECT_EQ(countColour(image, Paper), 256 * 256 - 12);
}

TEST(CharsetRender, OverviewChangesDrawnOverAnotherSetsPictureMatchTheFullPicture) {
    Charset shown, set;
    shown.bytes[65 * 8 + 3] = 0x81;
    set.bytes[0] = 0x80;           // a glyph set
    set.bytes[65 * 8 + 3] = 0x18;  // one changed
    set.bytes[255 * 8 + 7] = 0x01; // the last cell's last row
    Surface image(256, 256), full(256, 256);
    renderCharsetImage(image, shown, Ink, Paper);
    renderCharsetImageChanges(image, set, shown, Ink, Paper);
    renderCharsetImage(full, set, Ink, Paper);
    EXPECT_TRUE(std::equal(image.data(), image.data() + 256 * 256, full.data()));
}

TEST(CharsetRender, GlyphEditorShowsInkSquaresPaperGapsAndTheDottedGrid) {
    const std::uint8_t rows[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE};
    Surface canvas(130, 130, rgb(1, 2, 3));
    renderGlyphEditor(canvas, ConstGlyph(rows, 8), Ink, Paper);
    // Grid dots along x and y = 0, 16, ..., 112: white at even, black at odd positions. Ink
    // squares of 15 x 15 from each cell's corner lie under them; pixel (7, 7) is clear.
    expectPixels(canvas, White, {0, 0, 16, 2, 126, 112});
    expectPixels(canvas, Black, {0, 1, 1, 0, 17, 16, 112, 127});
    expectPixels(canvas, Ink, {1, 1, 14, 14, 110, 126});
    expectPixels(canvas, Paper, {15, 14, 14, 15, 113, 113});
    EXPECT_EQ(countColour(canvas, White), 8 * 64 * 2 - 64);
    EXPECT_EQ(countColour(canvas, Black), 8 * 64 * 2);
    EXPECT_EQ(countColour(canvas, Ink), 63 * 14 * 14);
    EXPECT_EQ(countColour(canvas, rgb(1, 2, 3)), 130 * 130 - 128 * 128); // nothing past 127
}

using CharsetViewRender = AppTest;

TEST_F(CharsetViewRender, CursorMarkerIsACheckerboardOnTheCanvasOnly) {
    glyph(t.app->charset, 35)[0] = 0xFF; // some ink under the marker
    select(35);
    const Surface& view = t.canvas(GadgetCharsetView);
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            ASSERT_EQ(view.pixel(48 + j, 32 + i),
                      (i + j) % 2 ? MarkerColour : t.app->charsetImage.pixel(48 + j, 32 + i));
    EXPECT_EQ(view.pixel(48, 32), White);
    EXPECT_EQ(countColour(view, MarkerColour), 128);
    EXPECT_EQ(countColour(t.app->charsetImage, MarkerColour), 0);
}

TEST_F(CharsetViewRender, HoverFrameIsGreenAndADragShowsTheGlyphAtThePointerInARedFrame) {
    std::fill_n(glyph(t.app->charset, 1).begin(), 8, 0xFF);
    refresh(*t.app);
    const Surface& view = t.canvas(GadgetCharsetView);
    drawCharsetHover(*t.app, 40, 20); // a frame of the cell at (32, 16)
    EXPECT_EQ(countColour(view, HoverColour), 60);
    expectPixels(view, HoverColour, {32, 16, 47, 31});
    expectPixels(view, MarkerColour, {1, 0});

    t.state().dragging = true;
    t.state().dragSource = 1;
    drawCharsetHover(*t.app, 37, 85); // glyph over 37..52 x 85..100, frame of (32, 80) on top
    EXPECT_EQ(countColour(view, HoverColour), 0);
    EXPECT_EQ(countColour(view, DragTargetColour), 60);
    expectPixels(view, DragTargetColour, {47, 90});
    expectPixels(view, White, {37, 85, 52, 100});
    expectPixels(view, Black, {36, 86, 53, 100, 52, 101});
    // Outside the canvas (the button is held) everything is clipped; -15..-1 are cell 0.
    drawCharsetHover(*t.app, -5, -7);
    expectPixels(view, White, {10, 8});
    expectPixels(view, Black, {11, 5});
    expectPixels(view, DragTargetColour, {15, 8});
    for (auto [x, y] : {std::pair{-20, 40}, {40, -16}, {256, 100}}) {
        drawCharsetHover(*t.app, x, y);
        EXPECT_EQ(countColour(view, DragTargetColour), 0) << x << "," << y;
        EXPECT_EQ(countColour(view, White), 256) << x << "," << y; // glyph 1 alone
    }
}

// The overview and the glyph editor are drawn again only where they changed: after each
// step they show what a whole new drawing would.
TEST_F(CharsetViewRender, ViewsDrawnInPartsShowTheWholePicture) {
    t.platform.colourAnswers = {rgb(10, 20, 30)};
    numberGlyphs();
    refresh(*t.app);
    const auto edit = [this](int code) {
        select(code);
        event(GadgetGlyphEditor, CanvasInput::LeftButtonDown, 20, 40);
        drawPending(*t.app);
    };
    const struct {
        const char* what;
        std::function<void()> step;
    } steps[] = {
        {"a glyph edited", [&] { edit(65); }},
        {"the cursor moved",
         [&] {
             select(200);
             refresh(*t.app);
         }},
        {"a glyph edited away from the cursor",
         [&] {
             glyph(t.app->charset, 3)[1] = 0x0F;
             refresh(*t.app);
         }},
        {"the hover frame, then the plain view",
         [&] {
             drawCharsetHover(*t.app, 40, 20);
             edit(2);
         }},
        {"failed drawings, then another edit",
         [&] {
             t.platform.failCanvasDrawing = {GadgetCharsetView, GadgetGlyphEditor};
             edit(7);
             t.platform.failCanvasDrawing.clear();
             edit(8);
         }},
        {"the ink colour", [&] { command(CmdInkColour); }},
    };
    for (const auto& s : steps) {
        s.step();
        Surface whole(256, 256);
        renderCharsetImage(whole, t.app->charset, t.state().inkColour, t.state().paperColour);
        renderCursorMarker(whole, t.state().cursorColumn, t.state().cursorRow);
        const Surface& view = t.canvas(GadgetCharsetView);
        EXPECT_TRUE(std::equal(view.data(), view.data() + 256 * 256, whole.data())) << s.what;
        Surface editor(128, 128);
        renderGlyphEditor(editor, glyph(std::as_const(t.app->charset), t.state().currentChar),
                          t.state().inkColour, t.state().paperColour);
        const Surface& shown = t.canvas(GadgetGlyphEditor);
        EXPECT_TRUE(std::equal(shown.data(), shown.data() + 128 * 128, editor.data())) << s.what;
    }
}

TEST(CharsetRender, EachDrawingFailureIsReportedAndTheOtherViewsAreStillDrawn) {
    for (auto [failing, message] : {std::pair{GadgetCharsetView, "draw cursor error!"},
                                    {GadgetGlyphEditor, "draw character error!"},
                                    {GadgetMapCanvas, "draw char map error!"}}) {
        SCOPED_TRACE(message);
        TestApp t;
        ASSERT_TRUE(t.start());
        t.state().mapWindowShown = true;
        t.platform.failCanvasDrawing.insert(failing);
        t.canvas(GadgetMapCanvas).fillRect(0, 0, 1, 1, Red);
        glyph(t.app->charset, 0)[0] = 0xFF;
        drawCharsetHover(*t.app, 10, 10); // the feedback never reports
        refresh(*t.app);
        EXPECT_EQ(t.platform.messages, (Messages{{"tessaly", message}}));
        const bool editor = failing == GadgetGlyphEditor; // the map is drawn after the editor
        EXPECT_EQ(t.platform.controls.at(GadgetDataField).text,
                  editor ? "0,0,0,0,0,0,0,0" : "255,0,0,0,0,0,0,0");
        EXPECT_EQ(t.canvas(GadgetMapCanvas).pixel(0, 0) == Red,
                  editor || failing == GadgetMapCanvas); // not redrawn
        // The view was redrawn over the hover frame, with the old picture if that failed.
        const Surface& view = t.canvas(GadgetCharsetView);
        EXPECT_EQ(countColour(view, HoverColour), 0);
        expectPixels(view, failing == GadgetCharsetView ? Black : White, {2, 0});
    }
}

TEST_F(CharsetViewRender, ColourCommandsStoreTheChoiceAndRedrawTheViewsAndTheMap) {
    t.platform.colourAnswers = {std::nullopt, rgb(10, 20, 30)};
    for (int id : {GadgetCharsetView, GadgetGlyphEditor, GadgetMapCanvas}) scribble(id);
    command(CmdInkColour); // cancelled
    for (int id : {GadgetCharsetView, GadgetGlyphEditor, GadgetMapCanvas})
        EXPECT_FALSE(redrawn(id)) << id;
    t.platform.failCanvasDrawing.insert(GadgetGlyphEditor); // the map is redrawn all the same
    command(CmdPaperColour);
    EXPECT_EQ(t.state().paperColour, rgb(10, 20, 30));
    EXPECT_EQ(t.state().inkColour, White);
    for (int id : {GadgetCharsetView, GadgetMapCanvas})
        EXPECT_EQ(t.canvas(id).pixel(5, 5), rgb(10, 20, 30)) << id;
}

} // namespace
} // namespace tessaly
