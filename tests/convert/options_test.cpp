#include "convert/job.h"
#include "convert/options.h"

#include "convert_test_support.h"

#include <sstream>

namespace tessaly {
namespace {

using namespace convert;

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// The usage error of a command line: from parsing or from planning; "" when it is fine.
std::string usageError(const std::string& line, Job* planned = nullptr) {
    const std::vector<std::string> args = words(line);
    const ParsedArguments parsed = parseArguments(args);
    if (!parsed.error.empty()) return parsed.error;
    Job job;
    std::string error;
    if (!planJob(parsed.options, job, error)) return error;
    if (planned) *planned = job;
    return "";
}

TEST(Options, ValuesAndDefaultsMakeTheJob) {
    Job job;
    std::string error;
    ASSERT_EQ(usageError("--first=$20 --count 0x10 --syntax z80 in.psf.gz - --to asm", &job), "");
    EXPECT_EQ(job.mode, Mode::Set);
    EXPECT_EQ(job.input.format, formatNamed("psf"));
    EXPECT_TRUE(job.input.gzip);
    EXPECT_EQ(job.output.format, formatNamed("asm"));
    EXPECT_EQ(job.first, 32);
    EXPECT_EQ(job.count, 16);
    EXPECT_EQ(job.syntax, formats::AsmSyntax::Z80);
    EXPECT_EQ(job.name, "font"); // standard output has no name to take

    ASSERT_EQ(usageError("--first 200 FONT.FNT out.PRG", &job), "");
    EXPECT_EQ(job.count, 56); // to the end of the set
    EXPECT_EQ(job.loadAddress, 0x3000);
    EXPECT_EQ(job.output.format, formatNamed("prg"));

    ASSERT_EQ(usageError("--map 40X25 --font builtin:c64 --grid -- screen.bin -x.png", &job), "");
    EXPECT_EQ(job.mode, Mode::Map);
    EXPECT_EQ(job.map.width * 100 + job.map.height, 4025);
    EXPECT_EQ(job.scale, 2); // the map window's cells
    EXPECT_EQ(job.output.path, "-x.png");

    // The --font file: its format named in front, placed by --at, a font's rows taken.
    ASSERT_EQ(usageError("--map 4x4 --font raw:chargen.psf --at 32 --skip 1 a.map b.png", &job),
              "");
    EXPECT_EQ(job.font->path, "chargen.psf");
    EXPECT_EQ(job.font->format, formatNamed("raw"));
    EXPECT_EQ(job.at * 100 + job.skip, 3201);
    ASSERT_EQ(usageError("--map 4x4 --rows 4 --size 16 --font a.ttf a.map b.xb", &job), "");
    EXPECT_EQ(job.firstRow.value_or(0) * 100 + job.pixelSize, 416);

    const std::vector<std::string> spaced = {"--name", "Tessaly Sans 8", "a.fnt", "b.bdf"};
    ASSERT_TRUE(planJob(parseArguments(spaced).options, job, error)) << error;
    EXPECT_EQ(job.name, "Tessaly Sans 8"); // a BDF family name may hold spaces

    ASSERT_EQ(usageError("--from-picture --paper #102030 --font-out set.bdf shot.bmp s.h", &job),
              "");
    EXPECT_EQ(job.paperGiven, rgb(0x10, 0x20, 0x30));
    EXPECT_EQ(job.fontOutName, "set");
    EXPECT_EQ(job.name, "s");
}

TEST(Options, UsageErrorsSayWhatToGive) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"in.fnt", "give an INPUT and an OUTPUT file"},
        {"a.fnt b.fnt c.fnt", "too many files: 'c.fnt'"},
        {"--bogus a.fnt b.s", "unknown option --bogus"},
        {"a.fnt b.s --name", "--name needs a value"},
        {"--first 256 a.fnt b.s", "--first '256': give a code from 0 to 255"},
        {"--count 0 a.fnt b.s", "--count '0': give a glyph count from 1 to 256"},
        {"--load-address 0x10000 a.fnt b.prg", "--load-address '0x10000': give an address"},
        {"--syntax nasm a.fnt b.s", "--syntax 'nasm': give ca65, acme, 64tass, xa, dasm or z80"},
        {"--ink red a.fnt b.png", "--ink 'red': give a colour #rrggbb"},
        {"--map 40 a.map b.s", "--map '40': give a size WxH"},
        {"--map 2000x1 a.map b.s", "--map '2000x1'"},
        {"--scale 0 a.fnt b.png", "--scale '0': give a scale from 1 to 16"},
        {"a.txt b.fnt", "cannot tell the format of 'a.txt' from its name: give --from FORMAT"},
        {"- b.fnt", "standard input needs --from FORMAT"},
        {"a.fnt -", "standard output needs --to FORMAT"},
        {"--from jpeg a.fnt b.s", "--from 'jpeg' is no format"},
        {"--to builtin a.fnt b", "--to 'builtin' is no format"},
        {"a.s b.fnt", "asm files cannot be read, only written"},
        {"a.a b.fnt", "asm files cannot be read, only written"},
        {"a.map b.fnt", "'a.map' is a screen map: give --map WxH"},
        {"builtin:amiga b.fnt",
         "no built-in set 'amiga'; the sets are: cga pc866 zx zx80 ace c64 atari microsha hex"},
        {"a.fnt builtin:c64", "built-in sets cannot be written"},
        {"a.fnt b.map",
         "a character set cannot be written as map, which takes a screen map (--map WxH); "
         "a set is written as raw, prg, psf, bdf, asm, c, h, png, bmp, tap or rom"},
        {"--map 4x4 a.map b.psf", "a screen map cannot be written as psf; a map is written as "
                                  "raw, prg, asm, c, h, png, bmp, com, xb, tap, rom or map"},
        {"--map 4x4 a.map b.png", "a map picture needs --font SET"},
        {"--map 40x25 a.map b.prg", "prg shows the map in its set: give --font SET"},
        {"--map 40x25 --font f.fnt --load-address 1 a.map b.prg",
         "--load-address: a C64 program that shows a map loads at $0801"},
        {"--map 80x50 --font f.fnt --load-address 1 a.map b.com",
         "--load-address: a DOS .com program always loads at offset 0x100"},
        {"--map 80x25 --font f.fnt --load-address 1 a.map b.xb", "--load-address: an XBin is art"},
        {"--map 4x4 --font a.s a.map b.png", "--font 'a.s' is no readable set"},
        {"--map 4x4 --from psf a.map b.s", "--from can only be raw, xb or map"},
        {"--map 4x4 --ink #ffffff a.map b.xb", "xb shows the map in its set: give --font SET"},
        {"--map 4x4 --from-picture a.png b.map", "--map and --from-picture exclude each other"},
        {"--from-picture a.fnt b.map", "--from-picture reads a picture: png or bmp"},
        {"--from-picture --font-out f.fnt a.png b.png",
         "--from-picture writes the map as raw, prg, asm, c, h, com, xb, tap, rom or map"},
        {"--from-picture a.png b.map", "--from-picture needs --font-out SET"},
        {"--from-picture --font-out - a.png b.map", "--font-out must name a file"},
        {"--map 4x4 --font - a.map b.png", "--font must name a file"},
        {"--font-out x.fnt a.fnt b.fnt", "--font-out needs --from-picture"},
        {"--font x.fnt a.fnt b.png",
         "--font draws a map (--map, and OUTPUT prg, png, bmp, com, xb, tap or rom)"},
        {"--map 4x4 --font chargen a.map b.png", "name it in front, as in --font raw:chargen"},
        {"--from-picture --font-out myset a.png b.map",
         "name it in front, as in --font-out raw:myset"},
        {"--first 200 --count 57 a.fnt b.fnt", "--first 200 --count 57 goes past code 255"},
        {"--map 4x4 --first 1 a.map b.s", "--first chooses the codes of a set written"},
        {"--at 32 a.bdf b.fnt", "--at places the glyphs of a file without codes (raw, prg, psf, "
                                "png, bmp or rom); bdf, ttf, otf, otb, pcf, fon, xb and builtin:NAME "
                                "keep their codes"},
        {"--skip 1 builtin:c64 b.fnt", "--skip places the glyphs of a file without codes"},
        {"--at 1 --order c64 a.psf b.fnt", "--at and --order exclude each other"},
        {"--skip 1 a.png b.fnt", "--skip leaves out glyphs at the start of a raw, prg, psf or rom"},
        {"--map 4x4 --at 1 a.map b.s", "--at places the glyphs of a file without codes"},
        {"--map 4x4 --at 1 --font f.bdf a.map b.png", "INPUT, or with --map the --font file"},
        {"--order c128 a.psf b.fnt", "--order 'c128': give one of cga"},
        {"--order c64 a.fnt b.png", "--order lays out a font that carries Unicode"},
        {"--rows 4 a.fnt b.fnt", "--rows takes 8 rows of the glyphs of a psf, bdf, ttf"},
        {"--rows 4 a.rom b.fnt", "--rows takes 8 rows of the glyphs of a psf, bdf, ttf"},
        {"--size 16 a.psf b.fnt", "--size chooses the pixel size of a ttf, otf, otb, pcf or fon"},
        {"--size 0 a.ttf b.fnt", "--size '0': give a pixel size from 1 to 128"},
        {"a.fnt b.ttf", "TrueType, OpenType, PCF and .fon fonts can be read, not written"},
        {"--info a.psf b.fnt", "--info takes one FILE, not 'b.fnt' too"},
        {"--info a.psf --first 3", "--info takes only --from, --size and --paper"},
        {"--info --crop 0,0,8x8 a.png", "--info takes only --from, --size and --paper"},
        {"--info=a.png --to png", "--info takes only --from, --size and --paper"},
        {"--info=a.psf b.fnt", "--info takes one FILE, not 'b.fnt' too"},
        {"--info= a.psf", "--info needs a value"},
        {"--grid=1 a.fnt b.png", "unknown option --grid"},
        {"--syntax acme a.fnt b.c", "--syntax needs an assembler output"},
        {"--load-address 1 a.fnt b.fnt",
         "--load-address needs OUTPUT, or --font-out, of a format that loads: prg or tap"},
        {"--name x a.fnt b.fnt",
         "--name names the array, label or font family an output holds: bdf, asm, c or h"},
        {"--name lda a.fnt b.s", "--name 'lda' is no name this output takes"},
        {"--name 2x a.fnt b.c", "--name '2x' is no name this output takes"},
        {"--name=a-b a.fnt b.bdf", "--name 'a-b' is no BDF family name"},
        {"--scale 2 a.fnt b.s", "--scale needs a picture"},
        {"--ink #ffffff a.png b.fnt",
         "--ink needs an output drawn in colours: prg, png, bmp, com, xb, tap or rom"},
        {"--grid a.fnt b.png", "--grid needs --map and a picture output"},
        {"--crop 1,2,3 a.png b.fnt", "--crop '1,2,3': give X,Y,WxH"},
        {"--crop 1,2,0x5 a.png b.fnt", "--crop '1,2,0x5': give X,Y,WxH"},
        {"--crop 0,0,8x8 a.fnt b.png", "--crop needs a picture INPUT"},
        {"--columns 0 a.fnt b.png", "--columns '0': give a glyph count from 1 to 256"},
        {"--columns 8 --map 4x4 --font f.fnt a.map b.png", "--columns needs a set picture"},
        {"--from-picture --add --font-out f.fnt a.png b.map", "--add needs --from-picture and "
                                                              "--font SET"},
        {"--from-picture --add --font f.fnt a.png b.map", "--add needs --font-out SET"},
        {"--font f.fnt a.fnt b.fnt", "--font draws a map"},
    };
    for (const auto& c : cases) {
        const std::string error = usageError(c.line);
        EXPECT_NE(error.find(c.error), std::string::npos)
            << c.line << "\n  gives: " << error << "\n  expected: " << c.error;
    }
}

TEST(Options, HelpNamesEveryOptionFormatSetAndSyntax) {
    EXPECT_EQ(parseArguments(words("a b --help")).action, Action::Help);
    EXPECT_EQ(parseArguments(words("--version")).action, Action::Version);
    const std::string help = helpText();
    for (const char* word :
         {"--from",      "--to",           "--first",  "--count",   "--load-address", "--syntax",
          "--name",      "--scale",        "--ink",    "--paper",   "--grid",         "--font",
          "--font-out",  "--from-picture", "--map",    "--version", ".fnt",           ".64c",
          ".psfu",       ".bdf",           ".inc",     ".h",        ".bmp",           "builtin:",
          "C64 CAPS",    "Hex numbers",    "microsha", "64tass",    "dasm",           "z80",
          "Exit status", "--at",           "--skip",   "--rows",    "--size",         "--order",
          "--info",      ".ttf",           ".pcf.gz",  ".fon",      "--crop",         "--columns",
          "--add"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
    EXPECT_EQ(versionText(), "tessaly-convert " TESSALY_VERSION "\nCopyright 2026 The Tessaly "
                             "developers. Released under the MIT licence.\n");
}

} // namespace
} // namespace tessaly
