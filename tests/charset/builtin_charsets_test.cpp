#include "app/app_fixture.h"

namespace tessaly {
namespace {

struct Builtin {
    int command;
    const char* name;
    std::size_t bytes; // of the machine's table
    bool inverted;     // followed by an inverted copy of itself
    Colour paper, ink;
    int full; // a glyph with all pixels set
};
const Builtin Sets[] = {
    {CmdCharsetCga, "cga", 2048, false, Black, White, 219},
    {CmdCharsetPc866, "pc866", 2048, false, Black, White, 219},
    {CmdCharsetZxSpectrum, "zxspectrum", 1152, false, rgb(203, 203, 203), Black, 143},
    {CmdCharsetZx80, "zx80", 512, true, White, Black, 64},
    {CmdCharsetJupiterAce, "jupiterace", 1024, true, Black, White, 136},
    {CmdCharsetC64, "c64caps", 2048, false, rgb(46, 44, 155), rgb(112, 109, 235), 160},
    {CmdCharsetAtari, "atari", 1024, true, rgb(1, 78, 157), rgb(97, 174, 253), 128},
    {CmdCharsetMicrosha, "microsha", 1024, true, Black, White, 160},
};

using BuiltinCharsets = AppTest;

TEST_F(BuiltinCharsets, EachSetFillsItsSpanInvertsItsCopyTakesItsColoursAndLeavesTheRest) {
    for (const Builtin& set : Sets) {
        SCOPED_TRACE(set.name);
        // Loaded over two different stores: the span the set writes comes out the same,
        // everything beyond it keeps what was there.
        const auto& b = t.app->charset.bytes;
        t.app->charset.bytes.fill(0xA5);
        command(set.command);
        const auto overA5 = b;
        t.app->charset.bytes.fill(0x5A);
        select(set.full);
        command(set.command);
        const std::size_t end = set.inverted ? 2 * set.bytes : set.bytes;
        for (std::size_t i = 0; i < CharsetBytes; ++i) {
            if (i < set.bytes)
                ASSERT_EQ(b[i], overA5[i]) << "byte " << i;
            else if (i < end)
                ASSERT_EQ(b[i], b[i - set.bytes] ^ 0xFF) << "byte " << i;
            else {
                ASSERT_EQ(b[i], 0x5A) << "byte " << i;
                ASSERT_EQ(overA5[i], 0xA5) << "byte " << i;
            }
        }
        // Shown at once in the new colours (ink square, paper gap); the current character stays.
        EXPECT_EQ(text(GadgetDataField), "255,255,255,255,255,255,255,255");
        EXPECT_EQ(t.canvas(GadgetGlyphEditor).pixel(5, 5), set.ink);
        EXPECT_EQ(t.canvas(GadgetGlyphEditor).pixel(15, 5), set.paper);
        EXPECT_EQ(t.state().paperColour, set.paper);
        EXPECT_EQ(t.state().inkColour, set.ink);
    }
}

TEST_F(BuiltinCharsets, LettersDigitsAndSymbolsSitAtEachMachinesOwnCodes) {
    // Each row of pictures shows the glyphs of the listed codes side by side, 'X' for ink.
    struct Pictures {
        int command;
        std::vector<int> codes;
        std::array<const char*, 8> rows;
    };
    // clang-format off
    const Pictures sets[] = {
        {CmdCharsetCga, {1, 49, 65}, // smiling face, 1, A
         {".XXXXXX. ..XX.... ..XX....",
          "X......X .XXX.... .XXXX...",
          "X.X..X.X ..XX.... XX..XX..",
          "X......X ..XX.... XX..XX..",
          "X.XXXX.X ..XX.... XXXXXX..",
          "X..XX..X ..XX.... XX..XX..",
          "X......X XXXXXX.. XX..XX..",
          ".XXXXXX. ........ ........"}},
        {CmdCharsetPc866, {48, 128, 129}, // 0, Cyrillic A and BE
         {".XXXXX.. ..XXXXX. XXXXXXX.",
          "XX...XX. .XX..XX. .XX..XX.",
          "XX..XXX. XX...XX. .XX.....",
          "XX.X.XX. XX...XX. .XXXXX..",
          "XXX..XX. XXXXXXX. .XX..XX.",
          "XX...XX. XX...XX. .XX..XX.",
          ".XXXXX.. XX...XX. XXXXXX..",
          "........ ........ ........"}},
        {CmdCharsetZxSpectrum, {48, 65, 96}, // 0, A, pound
         {"........ ........ ........",
          "..XXXX.. ..XXXX.. ...XXX..",
          ".X...XX. .X....X. ..X...X.",
          ".X..X.X. .X....X. .XXXX...",
          ".X.X..X. .XXXXXX. ..X.....",
          ".XX...X. .X....X. ..X.....",
          "..XXXX.. .X....X. .XXXXXX.",
          "........ ........ ........"}},
        {CmdCharsetZx80, {28, 37, 38, 63}, // 0, 9, A, Z
         {"........ ........ ........ ........",
          "...XXX.. ..XXXXX. ..XXXXX. .XXXXXXX",
          "..X...X. .X.....X .X.....X ......X.",
          ".X.....X .X.....X .X.....X .....X..",
          ".X.....X ..XXXXXX .XXXXXXX ....X...",
          "..X...X. .......X .X.....X ...X....",
          "...XXX.. ..XXXXX. .X.....X .XXXXXXX",
          "........ ........ ........ ........"}},
        {CmdCharsetJupiterAce, {48, 65, 96}, // 0, A, pound
         {"........ ........ ........",
          "..XXXX.. ..XXXX.. ...XXX..",
          ".X...XX. .X....X. ..X...X.",
          ".X..X.X. .X....X. .XXXX...",
          ".X.X..X. .XXXXXX. ..X.....",
          ".XX...X. .X....X. ..X.....",
          "..XXXX.. .X....X. .XXXXXX.",
          "........ ........ ........"}},
        {CmdCharsetC64, {0, 1, 26, 48, 129}, // @, A, Z, 0, reversed A
         {"..XXXX.. ...XX... .XXXXXX. ..XXXX.. XXX..XXX",
          ".XX..XX. ..XXXX.. .....XX. .XX..XX. XX....XX",
          ".XX.XXX. .XX..XX. ....XX.. .XX.XXX. X..XX..X",
          ".XX.XXX. .XXXXXX. ...XX... .XXX.XX. X......X",
          ".XX..... .XX..XX. ..XX.... .XX..XX. X..XX..X",
          ".XX...X. .XX..XX. .XX..... .XX..XX. X..XX..X",
          "..XXXX.. .XX..XX. .XXXXXX. ..XXXX.. X..XX..X",
          "........ ........ ........ ........ XXXXXXXX"}},
        {CmdCharsetAtari, {16, 33, 58, 97}, // 0, A, Z, a
         {"........ ........ ........ ........",
          "..XXXX.. ...XX... .XXXXXX. ........",
          ".XX..XX. ..XXXX.. ....XX.. ..XXXX..",
          ".XX.XXX. .XX..XX. ...XX... .....XX.",
          ".XXX.XX. .XX..XX. ..XX.... ..XXXXX.",
          ".XX..XX. .XXXXXX. .XX..... .XX..XX.",
          "..XXXX.. .XX..XX. .XXXXXX. ..XXXXX.",
          "........ ........ ........ ........"}},
        {CmdCharsetMicrosha, {48, 65, 96, 98}, // 0, A, Cyrillic YU and BE
         {"..XXX... ...X.... .X..X... .XXXXX..",
          ".X...X.. ..X.X... .X.X.X.. .X......",
          ".X..XX.. .X...X.. .X.X.X.. .X......",
          ".X.X.X.. .X...X.. .XXX.X.. .XXXX...",
          ".XX..X.. .XXXXX.. .X.X.X.. .X...X..",
          ".X...X.. .X...X.. .X.X.X.. .X...X..",
          "..XXX... .X...X.. .X..X... .XXXX...",
          "........ ........ ........ ........"}},
    };
    // clang-format on
    // Glyph k of the pictures, as the store's 8 row bytes.
    auto picture = [](const Pictures& p, std::size_t k) {
        std::vector<int> bytes;
        for (const char* row : p.rows) {
            int byte = 0;
            for (std::size_t x = 0; x < 8; ++x)
                byte = byte << 1 | (row[9 * k + x] == 'X');
            bytes.push_back(byte);
        }
        return bytes;
    };
    const auto& b = t.app->charset.bytes;
    for (const Pictures& set : sets) {
        SCOPED_TRACE(set.command);
        command(set.command);
        for (std::size_t k = 0; k < set.codes.size(); ++k) {
            const int code = set.codes[k];
            EXPECT_EQ(std::vector<int>(b.begin() + 8 * code, b.begin() + 8 * code + 8),
                      picture(set, k))
                << "code " << code;
        }
    }
}

TEST_F(BuiltinCharsets, BlankFullAndBlockGlyphsAreWhereEachMachineHasThem) {
    struct Glyphs {
        int command;
        std::vector<int> blank, full;
    };
    std::vector<int> spectrumBlank;
    for (int code = 0; code <= 32; ++code) spectrumBlank.push_back(code);
    const Glyphs sets[] = {
        {CmdCharsetCga, {0, 32, 255}, {219}},      {CmdCharsetPc866, {0, 32}, {219}},
        {CmdCharsetZxSpectrum, spectrumBlank, {143}}, {CmdCharsetZx80, {0}, {64}},
        {CmdCharsetJupiterAce, {0, 8, 16, 24, 32}, {128, 136}},
        {CmdCharsetC64, {32, 96}, {160, 224}},     {CmdCharsetAtari, {0}, {128}},
        {CmdCharsetMicrosha, {32}, {160}},
    };
    const auto& b = t.app->charset.bytes;
    auto rows = [&](int code) { return std::vector<int>(b.begin() + 8 * code, b.begin() + 8 * code + 8); };
    for (const Glyphs& set : sets) {
        SCOPED_TRACE(set.command);
        command(set.command);
        for (int code : set.blank) EXPECT_EQ(rows(code), std::vector<int>(8, 0)) << code;
        for (int code : set.full) EXPECT_EQ(rows(code), std::vector<int>(8, 0xFF)) << code;
    }
    // The Spectrum's block graphics: in glyph 128 + q, bit 1 of q lights the top-left
    // quadrant, bit 0 the top-right, bit 3 the bottom-left and bit 2 the bottom-right.
    command(CmdCharsetZxSpectrum);
    for (int q = 0; q < 16; ++q) {
        const int top = (q & 2 ? 0xF0 : 0) | (q & 1 ? 0x0F : 0);
        const int bottom = (q & 8 ? 0xF0 : 0) | (q & 4 ? 0x0F : 0);
        EXPECT_EQ(rows(128 + q), (std::vector<int>{top, top, top, top, bottom, bottom, bottom, bottom}))
            << 128 + q;
    }
}

TEST_F(BuiltinCharsets, HexNumbersShowBothDigitsOfEachCodeInWhiteOnBlack) {
    // Rows 1..6 of the digits 0..F, the three pixels of each row as a hexadecimal digit.
    const std::string digits = "EAAAAE444444E2E8AEE2E22E2AAE22E8E22EE8EAAEE22222"
                               "EAEAAEEAE22E4AEAAAEACAAEEA88AECAAAACE8C88EE8C888";
    auto row = [&](int d, int r) { return std::stoi(digits.substr(6 * d + r - 1, 1), 0, 16); };
    command(CmdCharsetC64);
    command(CmdCharsetHex);
    EXPECT_EQ(t.state().paperColour, Black);
    EXPECT_EQ(t.state().inkColour, White);
    const auto& b = t.app->charset.bytes;
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(b[8 * code] | b[8 * code + 7], 0) << code;
        for (int r = 1; r <= 6; ++r)
            ASSERT_EQ(b[8 * code + r], row(code / 16, r) << 4 | row(code % 16, r)) << code << r;
    }
}

} // namespace
} // namespace tessaly
