#include "charset/builtin_charsets.h"

#include "app/event_loop.h"
#include "platform/ids.h"
#include "render/charset_render.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tessaly {
namespace {

// The glyph files the build embeds; a set's table must equal its file byte for byte.
std::vector<std::uint8_t> fontFile(const std::string& name) {
    const std::string path = std::string(TESSALY_TEST_DATA) + "/../../data/fonts/" + name + ".bin";
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void choose(TestApp& t, int command) {
    t.platform.pushCommand(command);
    runEventLoop(*t.app);
}

constexpr Colour Black = rgb(0, 0, 0), White = rgb(255, 255, 255);

struct Builtin {
    int command;
    const char* file;
    std::size_t bytes;
    bool inverted; // followed by an inverted copy of itself
    Colour paper, ink;
    std::vector<int> blank, full;
};

const Builtin Sets[] = {
    {CmdCharsetCga, "cga", 2048, false, Black, White, {0, 32, 255}, {219}},
    {CmdCharsetPc866, "pc866", 2048, false, Black, White, {0, 32}, {219}},
    {CmdCharsetZxSpectrum, "zxspectrum", 1152, false, rgb(203, 203, 203), Black, {0, 32, 128},
     {143}},
    {CmdCharsetZx80, "zx80", 512, true, White, Black, {0}, {64}},
    {CmdCharsetJupiterAce, "jupiterace", 1024, true, Black, White, {0, 8, 16, 24, 32},
     {128, 136, 160}},
    {CmdCharsetC64, "c64caps", 2048, false, rgb(46, 44, 155), rgb(112, 109, 235), {32, 96},
     {160, 224}},
    {CmdCharsetAtari, "atari", 1024, true, rgb(1, 78, 157), rgb(97, 174, 253), {0}, {128}},
    {CmdCharsetMicrosha, "microsha", 1024, true, Black, White, {32}, {160}},
};

TEST(BuiltinCharsets, EachSetFillsItsSpanTakesItsColoursAndLeavesTheRest) {
    for (const Builtin& set : Sets) {
        SCOPED_TRACE(set.file);
        TestApp t;
        ASSERT_TRUE(t.start());
        const std::vector<std::uint8_t> table = fontFile(set.file);
        ASSERT_EQ(table.size(), set.bytes);
        t.app->charset.bytes.fill(0x5A);
        t.state().currentChar = 77;
        t.platform.controls.at(GadgetRangeEnable).checked = true;
        t.platform.setTrackBarPosition(GadgetRangeBeginSlider, 20);

        choose(t, set.command);
        const auto once = t.app->charset.bytes;
        choose(t, set.command);
        EXPECT_EQ(t.app->charset.bytes, once); // twice is the same as once

        const auto& b = t.app->charset.bytes;
        const std::size_t end = set.inverted ? 2 * set.bytes : set.bytes;
        for (std::size_t i = 0; i < CharsetBytes; ++i) {
            const int want =
                i < set.bytes ? table[i] : i < end ? table[i - set.bytes] ^ 0xFF : 0x5A;
            ASSERT_EQ(b[i], want) << "byte " << i;
        }
        for (int code : set.blank)
            for (int r = 0; r < 8; ++r) EXPECT_EQ(b[8 * code + r], 0) << "glyph " << code;
        for (int code : set.full)
            for (int r = 0; r < 8; ++r) EXPECT_EQ(b[8 * code + r], 0xFF) << "glyph " << code;
        EXPECT_EQ(t.state().paperColour, set.paper);
        EXPECT_EQ(t.state().inkColour, set.ink);
        // The range and the current character stay; the views show its new glyph.
        EXPECT_EQ(t.state().currentChar, 77);
        EXPECT_EQ(t.platform.controls.at(GadgetDataField).text,
                  glyphDataText(glyph(t.app->charset, 77)));
        EXPECT_TRUE(t.platform.isChecked(GadgetRangeEnable));
        EXPECT_EQ(t.platform.trackBarPosition(GadgetRangeBeginSlider), 20);
    }
}

TEST(BuiltinCharsets, ZxSpectrumHasBlankCodesBeforeItsCharactersAndBlockGraphicsAfter) {
    TestApp t;
    ASSERT_TRUE(t.start());
    choose(t, CmdCharsetZxSpectrum);
    const auto& b = t.app->charset.bytes;
    for (int i = 0; i < 33 * 8; ++i) ASSERT_EQ(b[i], 0) << "codes 0..32 are blank";
    // Bit 1 lights the top left, bit 0 the top right, bit 3 the bottom left, 2 the bottom right.
    for (int q = 0; q < 16; ++q)
        for (int r = 0; r < 8; ++r) {
            const int left = r < 4 ? q & 2 : q & 8, right = r < 4 ? q & 1 : q & 4;
            EXPECT_EQ(b[8 * (128 + q) + r], (left ? 0xF0 : 0) | (right ? 0x0F : 0)) << q << r;
        }
}

TEST(BuiltinCharsets, HexNumbersShowBothDigitsOfEachCode) {
    const std::uint8_t digits[16][6] = { // rows 1..6 of 0..F; rows 0 and 7 are empty
        {0xE0, 0xA0, 0xA0, 0xA0, 0xA0, 0xE0}, {0x40, 0x40, 0x40, 0x40, 0x40, 0x40},
        {0xE0, 0x20, 0xE0, 0x80, 0xA0, 0xE0}, {0xE0, 0x20, 0xE0, 0x20, 0x20, 0xE0},
        {0x20, 0xA0, 0xA0, 0xE0, 0x20, 0x20}, {0xE0, 0x80, 0xE0, 0x20, 0x20, 0xE0},
        {0xE0, 0x80, 0xE0, 0xA0, 0xA0, 0xE0}, {0xE0, 0x20, 0x20, 0x20, 0x20, 0x20},
        {0xE0, 0xA0, 0xE0, 0xA0, 0xA0, 0xE0}, {0xE0, 0xA0, 0xE0, 0x20, 0x20, 0xE0},
        {0x40, 0xA0, 0xE0, 0xA0, 0xA0, 0xA0}, {0xE0, 0xA0, 0xC0, 0xA0, 0xA0, 0xE0},
        {0xE0, 0xA0, 0x80, 0x80, 0xA0, 0xE0}, {0xC0, 0xA0, 0xA0, 0xA0, 0xA0, 0xC0},
        {0xE0, 0x80, 0xC0, 0x80, 0x80, 0xE0}, {0xE0, 0x80, 0xC0, 0x80, 0x80, 0x80}};
    TestApp t;
    ASSERT_TRUE(t.start());
    choose(t, CmdCharsetC64);
    choose(t, CmdCharsetHex);
    EXPECT_EQ(t.state().paperColour, Black);
    EXPECT_EQ(t.state().inkColour, White);
    const auto& b = t.app->charset.bytes;
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(b[8 * code] | b[8 * code + 7], 0) << code;
        for (int r = 1; r <= 6; ++r)
            ASSERT_EQ(b[8 * code + r], digits[code / 16][r - 1] | digits[code % 16][r - 1] >> 4)
                << code << " row " << r;
    }
    EXPECT_EQ(b[8 * 0x3A + 1], 0xE4); // 3 on the left, A on the right
    EXPECT_EQ(b[8 * 0x22 + 5], 0xAA); // row 5 of the digit 2 is A0
}

} // namespace
} // namespace tessaly
