#include "formats/pictures/picture.h"

#include "app/redraw.h"
#include "formats/picture_support.h"
#include "io/file_test.h"
#include "render/map_render.h"

#include <functional>
#include <set>

namespace tessaly::formats {
namespace {

constexpr Colour Ink = rgb(250, 240, 10), Paper = rgb(5, 60, 90);
constexpr PictureType Types[] = {PictureType::Png, PictureType::Bmp};

Surface decoded(const Bytes& bytes) {
    Surface picture;
    std::string error;
    EXPECT_TRUE(decodePicture(bytes, picture, error)) << error;
    return picture;
}

TEST(GlyphGridPicture, ReadsBackThroughPngAndBmpAtEachScaleFromAnyFirstCode) {
    struct Case {
        int scale, first, count;
        Colour ink, paper;
        bool paperGiven;
    };
    const Case cases[] = {
        {1, 0, 256, White, Black, false},
        {2, 0, 256, Ink, Paper, false},
        {3, 200, 56, Red, rgb(0, 0, 255), true},
        {1, 17, 1, Paper, Ink, true}, // one glyph: its row of 16 holds 15 blank ones
    };
    const Charset source = sparseSet(1);
    for (const Case& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale) + " from " + std::to_string(c.first));
        const Surface grid = glyphGridPicture(source, c.first, c.count, c.scale, c.ink, c.paper);
        const int rows = (c.count + 15) / 16;
        ASSERT_EQ(grid.width(), 128 * c.scale);
        ASSERT_EQ(grid.height(), 8 * c.scale * rows);
        for (PictureType type : Types) {
            const Surface picture = decoded(encodePicture(grid, type));
            ASSERT_TRUE(samePixels(picture, grid));

            Charset read;
            read.bytes.fill(0xA5); // codes the picture does not reach keep this
            int count = 0;
            PictureColours colours;
            std::string error;
            ASSERT_TRUE(glyphsFromGridPicture(picture,
                                              c.paperGiven ? c.paper : std::optional<Colour>(),
                                              c.first, 16, read, count, colours, error))
                << error;
            EXPECT_EQ(count, 16 * rows);
            EXPECT_EQ(colours.paper, c.paper);
            for (int code = 0; code < 256; ++code) {
                const bool drawn = code >= c.first && code < c.first + c.count;
                const bool blankCell = !drawn && code >= c.first && code < c.first + 16 * rows;
                for (int r = 0; r < 8; ++r)
                    ASSERT_EQ(glyph(read, code)[r], drawn       ? glyph(source, code)[r]
                                                    : blankCell ? 0
                                                                : 0xA5)
                        << "code " << code << " row " << r;
            }
        }
    }
}

using EditorOverviewPicture = FileTest;

TEST_F(EditorOverviewPicture, TheEditorsExportedPictureReadsBackToItsGlyphs) {
    t.app->charset = sparseSet(2);
    t.state().inkColour = Ink;
    t.state().paperColour = Paper;
    refresh(*t.app);
    command(CmdSaveImage, path("overview"));
    const Surface picture = decoded(readFile(path("overview.bmp")));

    // Our grid at scale 2 is the editor's overview, pixel for pixel.
    EXPECT_TRUE(samePixels(picture, glyphGridPicture(t.app->charset, 0, 256, 2, Ink, Paper)));
    Charset read;
    int count = 0;
    PictureColours colours;
    std::string error;
    ASSERT_TRUE(glyphsFromGridPicture(picture, std::nullopt, 0, 16, read, count, colours, error))
        << error;
    EXPECT_EQ(read.bytes, t.app->charset.bytes);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(colours.paper, Paper);
}

std::vector<std::uint8_t> randomCodes(int n, unsigned seed, int distinct = 256) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> codes(static_cast<std::size_t>(n));
    for (auto& c : codes)
        c = static_cast<std::uint8_t>(random() % distinct * 5);
    return codes;
}

TEST(ScreenPicture, AtScale2ItIsTheMapWindowWithAndWithoutTheGrid) {
    const Charset set = sparseSet(3);
    for (const auto& [w, h] : {std::pair{7, 5}, {80, 50}})
        for (bool grid : {false, true}) {
            SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + (grid ? " grid" : ""));
            const auto codes = randomCodes(w * h, 4);
            ScreenMap map;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    map.at(x, y) = codes[y * w + x];
            Surface window(16 * w, 16 * h, rgb(1, 2, 3));
            renderMap(window, map, set, {w, h, Ink, Paper, grid});
            EXPECT_TRUE(samePixels(screenPicture(codes, w, h, set, 2, Ink, Paper, grid), window));
        }
}

TEST(ScreenPicture, ASixteenWideScreenOfEveryCodeIsTheGlyphGridAtEachScale) {
    const Charset set = sparseSet(5);
    std::vector<std::uint8_t> codes(256);
    for (int i = 0; i < 256; ++i)
        codes[i] = static_cast<std::uint8_t>(i);
    for (int scale : {1, 2, 3})
        EXPECT_TRUE(samePixels(screenPicture(codes, 16, 16, set, scale, Ink, Paper, false),
                               glyphGridPicture(set, 0, 256, scale, Ink, Paper)))
            << "scale " << scale;
}

TEST(ScreenPicture, TheGridKeepsItsDotsAtScale1AndBadArgumentsGiveNoPicture) {
    const Charset blank;
    const std::uint8_t codes[] = {0, 0};
    const Surface s = screenPicture(codes, 2, 1, blank, 1, Ink, Paper, true);
    // Each 8 x 8 cell: ink at top-row offsets 2, 4, 6 and left-column offsets 1, 3, 5, 7.
    expectPixels(s, Ink, {2, 0, 4, 0, 6, 0, 10, 0, 14, 0, 0, 1, 0, 7, 8, 3, 8, 5});
    expectPixels(s, Paper, {0, 0, 1, 0, 7, 0, 8, 0, 9, 0, 0, 2, 8, 6, 1, 1});
    EXPECT_EQ(countColour(s, Ink), 2 * 7);

    EXPECT_TRUE(screenPicture(codes, 2, 2, blank, 1, Ink, Paper, false).empty()); // short
    EXPECT_TRUE(screenPicture(codes, 0, 1, blank, 1, Ink, Paper, false).empty());
    EXPECT_TRUE(screenPicture(codes, 2, 1, blank, 0, Ink, Paper, false).empty());
    EXPECT_TRUE(screenPicture(randomCodes(4000, 6), 2000, 2, blank, 2, Ink, Paper, false).empty());
    EXPECT_TRUE(glyphGridPicture(blank, 0, 256, 200, Ink, Paper).empty());
    EXPECT_TRUE(glyphGridPicture(blank, 256, 1, 1, Ink, Paper).empty());
}

TEST(CutScreenPicture, KeepsEachGlyphOnceInOrderOfAppearanceAndDrawsThePictureBack) {
    struct Case {
        int scale, first;
        Colour ink, paper;
        bool paperGiven;
    };
    const Case cases[] = {
        {1, 0, White, Black, false},
        {2, 100, Ink, Paper, false},
        {3, 0, Paper, Ink, true},
    };
    const Charset set = sparseSet(7);
    const int w = 23, h = 11;
    const auto codes = randomCodes(w * h, 8, 40); // 40 codes used, in no order
    std::set<std::uint64_t> bitmaps;
    for (std::uint8_t c : codes) {
        std::uint64_t key = 0;
        for (std::uint8_t r : glyph(set, c))
            key = key << 8 | r;
        bitmaps.insert(key);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale));
        const Surface picture = screenPicture(codes, w, h, set, c.scale, c.ink, c.paper, false);
        CutScreen cut;
        std::string error;
        ASSERT_TRUE(cutScreenPicture(picture, c.scale,
                                     c.paperGiven ? c.paper : std::optional<Colour>(), c.first, cut,
                                     error))
            << error;
        EXPECT_EQ(cut.width, w);
        EXPECT_EQ(cut.height, h);
        EXPECT_EQ(cut.glyphCount, static_cast<int>(bitmaps.size()));
        EXPECT_EQ(cut.colours.ink, c.ink);
        EXPECT_EQ(cut.colours.paper, c.paper);
        ASSERT_EQ(cut.codes.size(), codes.size());
        int next = c.first; // each new glyph takes the next code
        for (std::uint8_t code : cut.codes) {
            ASSERT_LE(code, next);
            ASSERT_GE(code, c.first);
            if (code == next) ++next;
        }
        EXPECT_EQ(next, c.first + cut.glyphCount);
        EXPECT_TRUE(samePixels(screenPicture(cut.codes, w, h, cut.set, c.scale, cut.colours.ink,
                                             cut.colours.paper, false),
                               picture));
    }
}

// A screen of `cells` cells in a row, cell i holding a glyph of its own (cell 0 blank).
Surface distinctGlyphs(int cells) {
    Charset set;
    std::vector<std::uint8_t> codes;
    Surface picture(8 * cells, 8, Black);
    for (int i = 0; i < cells; ++i) {
        set.bytes[0] = static_cast<std::uint8_t>(i);
        set.bytes[1] = static_cast<std::uint8_t>(i >> 8);
        const std::uint8_t zero = 0;
        picture.drawImage(screenPicture({&zero, 1}, 1, 1, set, 1, White, Black, false), 8 * i, 0);
    }
    return picture;
}

TEST(PictureReading, PicturesThatAreNoGridOrScreenAreRefusedWithTheReason) {
    const auto cut = [](const Surface& picture, int scale, int first) {
        CutScreen out;
        std::string error;
        EXPECT_FALSE(cutScreenPicture(picture, scale, std::nullopt, first, out, error));
        EXPECT_EQ(out.glyphCount, 0);
        EXPECT_TRUE(out.codes.empty());
        return error;
    };
    const auto grid = [](const Surface& picture) {
        Charset set;
        int count = 7;
        PictureColours colours;
        std::string error;
        EXPECT_FALSE(
            glyphsFromGridPicture(picture, std::nullopt, 0, 16, set, count, colours, error));
        EXPECT_EQ(count, 7);
        EXPECT_EQ(set.bytes, Charset().bytes);
        return error;
    };
    Surface mixedBlock(256, 16, Black);
    mixedBlock.setPixel(3, 0, White);
    Surface noisy(16, 8, Black); // 17 colours, as a lossy save gives
    for (int x = 0; x < 16; ++x)
        noisy.setPixel(x, 1, rgb(255, 255, 240 + x));
    const struct {
        std::function<std::string()> run;
        std::string expected;
    } cases[] = {
        {[&] { return cut(distinctGlyphs(257), 1, 0); },
         "the picture has 257 distinct glyphs; codes 0 to 255 hold only 256"},
        {[&] { return cut(distinctGlyphs(7), 1, 250); },
         "the picture has 7 distinct glyphs; codes 250 to 255 hold only 6"},
        {[&] { return cut(Surface(20, 16), 1, 0); },
         "the picture is 20 x 16 pixels: at scale 1 both must be multiples of 8"},
        {[&] { return cut(Surface(24, 24), 2, 0); },
         "the picture is 24 x 24 pixels: at scale 2 both must be multiples of 16"},
        {[&] { return cut(Surface(8, 8), 1, 256); }, "the first code 256 is not 0 to 255"},
        {[&] { return cut(mixedBlock, 2, 0); },
         "pixel (3, 0) is ink but pixel (2, 0) of its 2 x 2 block is not: no picture at "
         "scale 2"},
        {[&] { return grid(mixedBlock); },
         "pixel (3, 0) is ink but pixel (2, 0) of its 2 x 2 block is not: no picture at "
         "scale 2"},
        {[&] { return grid(Surface(100, 8)); },
         "the picture is 100 x 8 pixels: a glyph grid is 16 glyphs of 8 pixels (128) wide, or "
         "a multiple of that at a larger scale"},
        {[&] { return grid(Surface(256, 20)); },
         "the picture is 256 x 20 pixels: at scale 2 (from the width) its height must be a "
         "multiple of 16"},
        {[&] { return grid(Surface()); }, "the picture is 0 x 0 pixels: a glyph grid is"},
        {[&] { return cut(noisy, 1, 0); },
         "the picture has 17 colours: not a clean pixel picture"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.run().substr(0, c.expected.size()), c.expected);
}

TEST(MatchScreenPicture, CellsTakeTheLowestEqualCodeAndNewGlyphsFollowTheLastOne) {
    Charset font;
    std::fill_n(font.bytes.begin() + 8 * 5, 8, 0xFF); // codes 5 and 9 full, 7 a bar
    std::fill_n(font.bytes.begin() + 8 * 9, 8, 0xFF);
    font.bytes[8 * 7] = 0x3C;
    Charset drawn = font;
    drawn.bytes[8 * 20] = 0x81; // two glyphs the font lacks
    drawn.bytes[8 * 21] = 0x42;
    const std::vector<std::uint8_t> codes = {9, 7, 0, 20, 21, 20, 5, 3};
    const Surface picture = screenPicture(codes, 4, 2, drawn, 1, White, Black, false);

    CutScreen cut;
    std::string error;
    const std::bitset<GlyphCount> sixteen(0xFFFF), all = std::bitset<GlyphCount>().set();
    EXPECT_FALSE(matchScreenPicture(picture, 1, std::nullopt, font, sixteen, false, cut, error));
    EXPECT_EQ(error, "the cell at column 3, row 0 (pixel (24, 0)) matches no glyph of the font; "
                     "--add appends such glyphs");
    ASSERT_TRUE(matchScreenPicture(picture, 1, std::nullopt, font, sixteen, true, cut, error))
        << error;
    // Blank cells take code 0, the full ones 5; the new glyphs go after code 9.
    EXPECT_EQ(cut.codes, (std::vector<std::uint8_t>{5, 7, 0, 10, 11, 10, 5, 0}));
    EXPECT_EQ(cut.glyphCount, 2);
    EXPECT_EQ(cut.firstNew, 10);
    EXPECT_EQ(cut.setEnd, 12);
    EXPECT_EQ(cut.set.bytes[8 * 10], 0x81);
    EXPECT_EQ(cut.set.bytes[8 * 11], 0x42);

    // A font without a blank glyph before its end keeps the first one after it for blank
    // cells; a full font has no room left.
    Charset dense;
    dense.bytes.fill(0);
    for (int c = 0; c < 40; ++c)
        dense.bytes[8 * c] = static_cast<std::uint8_t>(c + 1);
    ASSERT_TRUE(matchScreenPicture(picture, 1, std::nullopt, dense, all, true, cut, error))
        << error;
    EXPECT_EQ(cut.codes[2], 40);
    EXPECT_EQ(cut.firstNew, 41);
    dense.bytes.fill(0x11);
    for (int c = 0; c < 256; ++c)
        dense.bytes[8 * c] = static_cast<std::uint8_t>(c);
    EXPECT_FALSE(matchScreenPicture(picture, 1, std::nullopt, dense, all, true, cut, error));
    EXPECT_EQ(error.substr(0, 52), "the cell at column 0, row 0 needs a new glyph, but t");
}

TEST(PictureColours, TransparentPixelsArePaperAndAMissingPaperIsAnError) {
    Surface picture(16, 8, Red);
    for (int x = 0; x < 10; ++x)
        picture.row(1)[x] = TransparentPixel;
    picture.setPixel(0, 0, White);
    PictureColours c;
    std::string error;
    ASSERT_TRUE(pictureColours(picture, std::nullopt, c, error));
    EXPECT_EQ(c.paper, Red);
    EXPECT_FALSE(c.transparentPaper);
    EXPECT_EQ(c.inkColours, 1);
    for (int y = 2; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            picture.row(y)[x] = TransparentPixel;
    ASSERT_TRUE(pictureColours(picture, std::nullopt, c, error));
    EXPECT_TRUE(c.transparentPaper);
    EXPECT_EQ(c.inkColours, 2); // red and white
    EXPECT_FALSE(pictureColours(picture, Black, c, error));
    EXPECT_EQ(error, "no pixel has the paper colour #000000; the most common colours are "
                     "#ff0000, #ffffff");
    // Transparent pixels stay paper beside the paper named.
    CutScreen cut;
    ASSERT_TRUE(cutScreenPicture(picture, 1, Red, 0, cut, error)) << error;
    EXPECT_EQ(glyph(cut.set, cut.codes[0])[0], 0x80);
    EXPECT_EQ(glyph(cut.set, cut.codes[1])[0], 0x00);
}

// ---- decoding ----

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP with a 40-byte header, 24 or 32 bits a pixel, in either row order.
Bytes bmp(const Surface& p, int bits, bool topDown) {
    const std::size_t stride = (static_cast<std::size_t>(p.width()) * bits + 31) / 32 * 4;
    Bytes b(54 + stride * p.height());
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(p.width()));
    put32(b, 22, static_cast<std::uint32_t>(topDown ? -p.height() : p.height()));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    for (int y = 0; y < p.height(); ++y) {
        std::size_t at = 54 + stride * (topDown ? y : p.height() - 1 - y);
        for (int x = 0; x < p.width(); ++x, at += bits / 8) {
            b[at] = static_cast<std::uint8_t>(blueOf(p.pixel(x, y)));
            b[at + 1] = static_cast<std::uint8_t>(greenOf(p.pixel(x, y)));
            b[at + 2] = static_cast<std::uint8_t>(redOf(p.pixel(x, y)));
            if (bits == 32) b[at + 3] = 0x40; // unused, or a transparent alpha: ignored
        }
    }
    return b;
}

Surface colourful(int w, int h) {
    Surface p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.setPixel(x, y, rgb(x * 40, y * 50, (x * y * 7) & 0xFF));
    return p;
}

TEST(DecodePicture, ReadsBmpsOf24And32BitsInBothRowOrders) {
    const Surface p = colourful(5, 3); // 15 bytes a row at 24 bits: padded
    for (int bits : {24, 32})
        for (bool topDown : {false, true})
            EXPECT_TRUE(samePixels(decoded(bmp(p, bits, topDown)), p))
                << bits << " bits" << (topDown ? ", top-down" : "");
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// The PNG with another width and height in its header, the header's CRC kept right.
Bytes pngSized(Bytes png, std::uint32_t w, std::uint32_t h) {
    const auto big = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    big(16, w);
    big(20, h);
    big(29, crc32(png.data() + 12, 17));
    return png;
}

Bytes patched(Bytes b, std::size_t at, std::uint32_t v) {
    put32(b, at, v);
    return b;
}

// A 4-bit BMP of `width` x `height` with the palette given and RLE4 `data`.
Bytes rle4Bmp(int width, int height, const std::vector<Colour>& palette, const Bytes& data) {
    const std::size_t offset = 54 + 4 * palette.size();
    Bytes b(offset);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(offset + data.size()));
    put32(b, 10, static_cast<std::uint32_t>(offset));
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 4;
    b[30] = 2;
    put32(b, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        b[54 + 4 * i] = static_cast<std::uint8_t>(blueOf(palette[i]));
        b[55 + 4 * i] = static_cast<std::uint8_t>(greenOf(palette[i]));
        b[56 + 4 * i] = static_cast<std::uint8_t>(redOf(palette[i]));
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

TEST(DecodePicture, Rle4RunsAbsoluteRunsJumpsAndRowEndsLandWhereTheyPoint) {
    const std::vector<Colour> palette = {Black, White, Red};
    // Bottom row: a run of 3 alternating 1 and 2, then 2, 1, 2 as they are; a jump of 1
    // right and 1 up; a run of one 1; the end. Skipped pixels take colour 0.
    const Bytes data = {3, 0x12, 0, 3, 0x21, 0x20, 0, 2, 1, 1, 1, 0x10, 0, 1};
    Surface expected(8, 2, Black);
    for (auto [x, y, c] : {std::tuple{0, 1, White},
                           {1, 1, Red},
                           {2, 1, White},
                           {3, 1, Red},
                           {4, 1, White},
                           {5, 1, Red},
                           {7, 0, White}})
        expected.setPixel(x, y, c);
    EXPECT_TRUE(samePixels(decoded(rle4Bmp(8, 2, palette, data)), expected));

    const auto refused = [](const Bytes& bytes) {
        Surface picture;
        std::string error;
        EXPECT_FALSE(decodePicture(bytes, picture, error));
        return error;
    };
    EXPECT_EQ(refused(rle4Bmp(6, 2, palette, {3, 0x12})),
              "BMP: the RLE data ends at byte 68 before its end-of-picture mark");
    EXPECT_EQ(refused(rle4Bmp(6, 2, palette, {0, 5, 0x12})),
              "BMP: the RLE data ends at byte 69 inside a run of 5 pixels");
    EXPECT_EQ(refused(rle4Bmp(6, 2, palette, {0, 2, 0, 9, 0, 1})),
              "BMP: the RLE data goes past the last row at byte 70");
    EXPECT_EQ(refused(rle4Bmp(6, 2, palette, {1, 0x30, 0, 1})),
              "BMP: pixel (0, 1) is colour 3 of a 3-colour palette");
    EXPECT_EQ(refused(rle4Bmp(6, -2, palette, data)),
              "BMP: an RLE picture cannot store its rows top-down (height at byte 22)");
    EXPECT_EQ(refused(patched(rle4Bmp(6, 2, palette, data), 46, 17)),
              "BMP: the palette size at byte 46 is 17, more than 16 colours of 4 bits");
}

TEST(DecodePicture, MalformedFilesAreRefusedWithWhatAndWhereAndLeaveThePicture) {
    const Surface p = colourful(6, 4);
    const Bytes png = encodePicture(p, PictureType::Png);
    const Bytes bmp24 = encodePicture(p, PictureType::Bmp);
    ASSERT_TRUE(samePixels(decoded(png), p));

    const auto refused = [](const Bytes& bytes) {
        Surface picture(3, 3, Red);
        std::string error;
        EXPECT_FALSE(decodePicture(bytes, picture, error));
        EXPECT_TRUE(samePixels(picture, Surface(3, 3, Red)));
        return error;
    };
    // Every truncation of either file.
    for (const Bytes* file : {&png, &bmp24})
        for (std::size_t n = 0; n < file->size(); ++n)
            EXPECT_NE(refused(Bytes(file->begin(), file->begin() + n)), "") << n << " bytes";

    Bytes brokenCrc = png;
    brokenCrc[30] ^= 1;
    Bytes bmp8 = bmp24;
    bmp8[28] = 8;
    const struct {
        Bytes bytes;
        std::string expected;
    } cases[] = {
        {Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "neither a PNG nor a BMP picture"},
        {Bytes(png.begin(), png.begin() + 60), "PNG: the data ends early, at byte 60"},
        {pngSized(png, 16385, 1), "PNG: the picture is 16385 x 1 pixels: at most 16384 a side "
                                  "and 16 Mpixel in all are read or made"},
        {pngSized(png, 10000, 10000), "PNG: the picture is 10000 x 10000 pixels: at most"},
        {pngSized(png, 4000, 4000), "PNG: 4000 x 4000 pixels cannot be held in the "},
        {pngSized(png, 0, 4), "PNG: Invalid IHDR data: Image width is zero in IHDR (near byte 33)"},
        {pngSized(png, 6, 40), "PNG: "}, // too little image data
        {brokenCrc, "PNG: IHDR: CRC error (near byte 33)"},
        {patched(bmp24, 2, 200), "BMP: the file size at byte 2 is 200 bytes, the file has 134"},
        {patched(bmp24, 14, 200), "BMP: the header size at byte 14 is 200, the file has 120 "
                                  "bytes after byte 14"},
        {patched(bmp24, 14, 12), "BMP: the 12-byte OS/2 header at byte 14 is not read"},
        {patched(bmp24, 18, 0), "BMP: the width at byte 18 is 0"},
        {patched(bmp24, 22, 0), "BMP: the height at byte 22 is 0"},
        {patched(bmp24, 18, 100000), "BMP: the picture is 100000 x 4 pixels: at most 16384"},
        {patched(patched(bmp24, 18, 16384), 22, 0xFFFFC000), // top-down, 16384 rows
         "BMP: the picture is 16384 x 16384 pixels: at most 16384 a side and 16 Mpixel"},
        {patched(bmp24, 22, 400), "BMP: 6 x 400 pixels need 8000 bytes from byte 54, the file "
                                  "has 80"},
        {bmp8, "BMP: the file ends at byte 134, inside the 256-colour palette at byte 54"},
        {patched(bmp24, 28, 16), "BMP: 16 bits a pixel (byte 28): only 1-, 4-, 8-, 24- and 32-bit"},
        {patched(bmp24, 30, 1), "BMP: the compression at byte 30 is 1: only uncompressed"},
        {patched(bmp24, 10, 135), "BMP: the pixel data offset at byte 10 is 135; the headers "
                                  "end at byte 54 and the file at byte 134"},
        {patched(bmp24, 10, 20), "BMP: the pixel data offset at byte 10 is 20"},
        {patched(bmp24, 34, 81), "BMP: the pixel data size at byte 34 is 81 bytes, the file "
                                 "has 80 after byte 54"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refused(c.bytes).substr(0, c.expected.size()), c.expected);
}

} // namespace
} // namespace tessaly::formats
