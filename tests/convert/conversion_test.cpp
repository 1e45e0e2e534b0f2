#include "convert/conversion.h"
#include "formats/fonts/gzip.h"
#include "formats/fonts/psf.h"
#include "io/file_test.h"

#include "convert_test_support.h"

#include <algorithm>
#include <optional>

namespace tessaly {
namespace {

using namespace convert;

Job plan(const std::vector<std::string>& args) {
    const ParsedArguments parsed = parseArguments(args);
    Job job;
    std::string error;
    EXPECT_TRUE(parsed.error.empty() && planJob(parsed.options, job, error))
        << parsed.error << error;
    return job;
}

Outcome run(const std::vector<std::string>& args, const Bytes& input = {}) {
    return convertBytes(plan(args), InputBytes{input, false}, nullptr);
}

TEST(Conversion, SequentialFilesLandAtAtAndAreCutAtTheEndOfTheSetAsInTheEditor) {
    const Bytes ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}; // a glyph and two rows of the next
    Outcome o = run({"--at", "254", "--first", "254", "in.fnt", "out.fnt"}, ten);
    EXPECT_EQ(o.output, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(o.notes.empty());

    o = run({"--at", "255", "--first", "255", "in.prg", "out.fnt"},
            Bytes{0x00, 0x30, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(o.output, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(o.notes,
              std::vector<std::string>{
                  "in.prg: 2 glyphs; the first 1 fill codes 255-255, the rest are left out"});

    o = run({"--load-address", "$C000", "--first", "1", "--count", "1", "in.fnt", "out.64c"}, ten);
    EXPECT_EQ(o.output, (Bytes{0x00, 0xC0, 9, 10, 0, 0, 0, 0, 0, 0}));
    o = run({"--skip", "1", "--at", "7", "--first", "7", "--count", "1", "in.fnt", "out.fnt"}, ten);
    EXPECT_EQ(o.output, (Bytes{9, 10, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(run({"--skip", "2", "in.fnt", "out.fnt"}, ten).error,
              "--skip 2 leaves no glyph: the file holds 2 glyphs");

    // A cut file counts when it may only be read from its start.
    o = convertBytes(plan({"in.fnt", "out.fnt"}), InputBytes{ten, true}, nullptr);
    EXPECT_EQ(o.exitCode, 0);
    o = convertBytes(plan({"in.psf", "out.fnt"}), InputBytes{ten, true}, nullptr);
    EXPECT_EQ(o.error, "the file is larger than 64 MiB");
}

TEST(Conversion, GzipIsReadByNameOrByItsBytesAndWrittenByName) {
    const Charset set = distinctSet();
    const Bytes psf = formats::writePsf(set, 0, 256);
    for (const char* name : {"in.psf.gz", "in.psf"}) {
        const Outcome o = run({name, "out.fnt.gz"}, formats::gzip(psf));
        ASSERT_EQ(o.exitCode, 0) << o.error;
        Bytes raw;
        std::string error;
        ASSERT_TRUE(formats::gunzip(o.output, 4096, raw, error)) << error;
        EXPECT_EQ(raw, rowsOf(set, 0, 256));
    }
    Bytes packed = formats::gzip(psf);
    packed.resize(packed.size() / 2);
    EXPECT_EQ(run({"in.psf.gz", "out.fnt"}, packed).error,
              "the gzip data is cut short at byte " + std::to_string(packed.size()));
    packed = formats::gzip(Bytes(1 << 20, 0)); // a megabyte of zeros, packed small
    Bytes out;
    std::string error;
    EXPECT_FALSE(formats::gunzip(packed, 1000, out, error));
    EXPECT_EQ(error, "the gzip data unpacks to more than 0 MiB");
    packed = formats::gzip(bytesOf("ab"));
    const Bytes second = formats::gzip(bytesOf("cd"));
    packed.insert(packed.end(), second.begin(), second.end());
    ASSERT_TRUE(formats::gunzip(packed, 100, out, error)) << error;
    EXPECT_EQ(textOf(out), "abcd");
}

TEST(Conversion, FailuresGiveTheExitCodeAndNoBytes) {
    const struct {
        std::vector<std::string> args;
        Bytes input;
        int exitCode;
        const char* error;
        std::optional<Bytes> font = std::nullopt; // the --font file
    } cases[] = {
        {{"in.fnt", "out.s"}, {}, 1, "the file is empty"},
        {{"in.prg", "out.s"},
         {0x00},
         1,
         "the two-byte load address is cut short: the file has 1 byte"},
        {{"--map", "2x2", "in.map", "out.s"},
         {1, 2, 3, 4, 5},
         1,
         "too big for a 2 x 2 map: 5 bytes, the map holds 4"},
        {{"in.bdf", "out.fnt"},
         bytesOf("STARTFONT 2.1\nFONTBOUNDINGBOX 8 8 0 0\nCHARS 0\nENDFONT\n"),
         1,
         "the font has no glyph with an ENCODING from 0 to 255"},
        {{"in.bmp", "out.fnt"}, {1}, 1, "neither a PNG nor a BMP picture"},
        {{"--map", "1024x1", "--font", "builtin:c64", "--scale", "16", "-", "out.png"},
         Bytes(1024, 1),
         2,
         "the picture is 131072 x 128 pixels"},
        {{"--from-picture", "--font-out", "f.fnt", "in.png", "out.map"}, {1}, 1, "neither a PNG"},
        {{"--load-address", "0xF801", "in.fnt", "out.prg"},
         Bytes(2048, 1),
         2,
         "--load-address: 2048 bytes from $F801 run past $FFFF (room for 2047)"},
        {{"--load-address", "65000", "in.fnt", "out.tap"},
         Bytes(2048, 1),
         2,
         "--load-address: 768 bytes from 65000 run past 65535 (room for 536)"},
        {{"--first", "0", "--count", "128", "in.fnt", "out.tap"},
         Bytes(2048, 1),
         2,
         "the default address leaves no room: give --load-address 64512"},
        {{"--first", "65", "--count", "26", "in.fnt", "out.tap"},
         Bytes(2048, 1),
         2,
         "a tape's set holds codes 32-127"},
        {{"--at", "128", "in.fnt", "out.tap"},
         Bytes(768, 1),
         2,
         "in.fnt holds no glyph for any of codes 32-127, which the text of out.tap is printed "
         "in: nothing would show; its 96 glyphs are at codes 128-223, and `tessaly-convert --at "
         "32 in.fnt out.tap` places them from code 32"},
        {{"--map", "1x1", "--font", "builtin:zx", "-", "out.png"},
         {7},
         1,
         "builtin:zx holds no glyph for code 7, which the map uses: nothing would show"},
        {{"--map", "1x1", "--font", "in.fnt", "--skip", "2", "-", "out.png"},
         {120},
         1,
         "its 94 glyphs are at codes 0-93, and `tessaly-convert --skip 2 --at 120 in.fnt "
         "in-at120.fnt` places them from code 120, to draw with --font in-at120.fnt",
         Bytes(768, 1)},
    };
    for (const auto& c : cases) {
        const InputBytes font{c.font.value_or(Bytes{}), false};
        const Outcome o =
            convertBytes(plan(c.args), InputBytes{c.input, false}, c.font ? &font : nullptr);
        EXPECT_EQ(o.exitCode, c.exitCode) << c.error;
        EXPECT_NE(o.error.find(c.error), std::string::npos) << o.error;
        EXPECT_TRUE(o.output.empty() && o.fontOutput.empty());
    }
}

// The blocks of a tape, each with its XOR check holding.
std::vector<Bytes> tapeBlocks(const Bytes& tape) {
    std::vector<Bytes> blocks;
    for (std::size_t at = 0; at + 2 <= tape.size(); at += 2 + blocks.back().size()) {
        const std::size_t length = tape[at] | tape[at + 1] << 8;
        EXPECT_LE(at + 2 + length, tape.size());
        blocks.emplace_back(
            tape.begin() + static_cast<std::ptrdiff_t>(at + 2),
            tape.begin() + static_cast<std::ptrdiff_t>(std::min(tape.size(), at + 2 + length)));
        std::uint8_t check = 0;
        for (std::uint8_t b : blocks.back())
            check ^= b;
        EXPECT_EQ(check, 0);
    }
    return blocks;
}

// Tapes: a program and a code block, each a header and data (Fuse runs them; see
// machines_test.py). A set's block holds codes 32-127 at 64600, below the UDGs; a larger map is
// cut.
TEST(Conversion, TapesHoldAProgramAndACodeBlockAndALargerMapIsCut) {
    const Charset set = distinctSet();
    const Bytes fnt(set.bytes.begin(), set.bytes.end());
    std::vector<Bytes> blocks = tapeBlocks(run({"in.fnt", "out.tap"}, fnt).output);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(Bytes(blocks[2].begin() + 12, blocks[2].end() - 3), (Bytes{0x00, 3, 0x58, 0xFC}));
    EXPECT_EQ(Bytes(blocks[3].begin() + 1, blocks[3].end() - 1),
              Bytes(fnt.begin() + 32 * 8, fnt.begin() + 128 * 8));

    // Code 7 is none of the built-in set's codes (32-143) and shows blank.
    Bytes map(1000, 'A');
    map[31] = 7;
    const Outcome o = run({"--map", "40x25", "--font", "builtin:zx", "-", "out.tap"}, map);
    EXPECT_EQ(tapeBlocks(o.output).size(), 4u);
    EXPECT_EQ(o.notes,
              (std::vector<std::string>{
                  "out.tap: the map of 40 x 25 is cut to the screen's 32 x 24 cells",
                  "builtin:zx holds no glyph for code 7, which the map uses: they show blank"}));
}

TEST(Conversion, AShortMapIsFilledWithZeroAndSaysSo) {
    const Outcome o = run({"--map", "3x2", "-", "out.map"}, {7, 8});
    EXPECT_EQ(o.output, (Bytes{7, 8, 0, 0, 0, 0}));
    EXPECT_EQ(o.notes,
              std::vector<std::string>{"standard input: 2 codes for a map of 6; the rest are 0"});
}

// A machine's program shows the map's top-left cells and says what it cut. A DOS
// program's screen is its last 80 x 50 code and attribute pairs: the map's cells in ink on
// paper (01h), the rest paper on paper (00h).
TEST(Conversion, AMachineShowsTheMapsTopLeftOnItsScreenAndSaysWhatItCut) {
    const struct {
        const char* size;
        std::size_t cells;
        const char* output;
        const char* note;
        const char* ink = "#ffffff";
    } maps[] = {
        {"40x25", 1000, "out.prg", nullptr},
        {"41x25", 1025, "out.prg",
         "out.prg: the map of 41 x 25 is cut to the screen's 40 x 25 cells"},
        {"40x26", 1040, "out.prg",
         "out.prg: the map of 40 x 26 is cut to the screen's 40 x 25 cells"},
        {"80x50", 4000, "out.com", nullptr},
        {"33x24", 792, "out.rom",
         "out.rom: the map of 33 x 24 is cut to the screen's 32 x 24 cells"},
        {"32x24", 768, "out.tap",
         "out.tap: ink and paper both become black on the machine, so the map does not show; "
         "choose --ink and --paper further apart",
         "#555555"},
    };
    for (const auto& [size, cells, output, note, ink] : maps) {
        const Outcome o =
            run({"--map", size, "--font", "builtin:c64", "--ink", ink, "in.map", output},
                Bytes(cells, 1));
        EXPECT_EQ(o.exitCode, 0) << o.error;
        EXPECT_EQ(o.notes, note ? std::vector<std::string>{note} : std::vector<std::string>{})
            << size;
    }

    Bytes big(81 * 51, 0);
    big[80] = 7; // row 0, column 80: cut
    big[81] = 9; // row 1, column 0
    const Outcome cut = run({"--map", "81x51", "--font", "builtin:cga", "-", "out.com"}, big);
    EXPECT_EQ(cut.notes, std::vector<std::string>{
                             "out.com: the map of 81 x 51 is cut to the screen's 80 x 50 cells"});
    const Bytes screen(cut.output.end() - 8000, cut.output.end());
    EXPECT_EQ(Bytes(screen.begin() + 158, screen.begin() + 162), (Bytes{0, 1, 9, 1}));

    const Outcome small = run({"--map", "1x1", "--font", "builtin:cga", "-", "out.com"}, {5});
    EXPECT_TRUE(small.notes.empty());
    EXPECT_EQ(Bytes(small.output.end() - 8000, small.output.end() - 7996), (Bytes{5, 1, 0, 0}));
}

// The editor's Charset menu over a blank store, then "Save 2048": the same bytes as the
// built-in set converted to raw.
struct BuiltinAsTheEditorSavesIt : FileTest {};

TEST_F(BuiltinAsTheEditorSavesIt, EveryBuiltinSetToRaw) {
    const std::pair<int, const char*> sets[] = {
        {CmdCharsetCga, "cga"},     {CmdCharsetPc866, "pc866"},       {CmdCharsetZxSpectrum, "zx"},
        {CmdCharsetZx80, "zx80"},   {CmdCharsetJupiterAce, "ace"},    {CmdCharsetC64, "c64"},
        {CmdCharsetAtari, "atari"}, {CmdCharsetMicrosha, "microsha"}, {CmdCharsetHex, "hex"},
    };
    for (const auto& [cmd, name] : sets) {
        t.app->charset.bytes.fill(0);
        t.state().currentChar = 0;
        AppTest::command(cmd);
        command(CmdSaveCharset2048, path(std::string(name) + ".fnt"));
        const Outcome o = run({"builtin:" + std::string(name), "out.fnt"});
        EXPECT_EQ(o.output, readFile(path(std::string(name) + ".fnt"))) << name;
    }
}

} // namespace
} // namespace tessaly
