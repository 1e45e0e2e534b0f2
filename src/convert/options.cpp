#include "convert/options.h"

#include "formats/builtin_set.h"
#include "formats/machine_orders.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#ifndef TESSALY_VERSION
#define TESSALY_VERSION "unknown"
#endif

namespace tessaly::convert {

namespace {

// Decimal, or hexadecimal after "0x" or "$".
bool parseNumber(std::string_view text, long long low, long long high, int& value) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.starts_with("$")) {
        text.remove_prefix(1);
        base = 16;
    }
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < low ||
        v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool parseColour(std::string_view text, Colour& colour) {
    if (text.starts_with("#")) text.remove_prefix(1);
    if (text.size() != 6) return false;
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + 6, v, 16);
    if (ec != std::errc() || end != text.data() + 6) return false;
    colour = rgb(static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF),
                 static_cast<int>(v & 0xFF));
    return true;
}

bool parseMapSize(std::string_view text, MapSize& size) {
    const std::size_t x = text.find_first_of("xX");
    return x != std::string_view::npos && parseNumber(text.substr(0, x), 1, 1024, size.width) &&
           parseNumber(text.substr(x + 1), 1, 1024, size.height);
}

// " cga pc866 ...": the names --order takes.
std::string orderNames() {
    std::string names;
    for (const formats::MachineOrder& order : formats::machineOrders()) {
        names += ' ';
        names += order.name;
    }
    return names;
}

// "X,Y,WxH".
bool parseCrop(std::string_view text, formats::PictureCrop& crop) {
    const std::size_t a = text.find(','), b = text.find(',', a + 1);
    if (a == std::string_view::npos || b == std::string_view::npos) return false;
    MapSize size;
    const std::string_view dims = text.substr(b + 1);
    const std::size_t x = dims.find_first_of("xX");
    if (x == std::string_view::npos || !parseNumber(dims.substr(0, x), 1, 16384, size.width) ||
        !parseNumber(dims.substr(x + 1), 1, 16384, size.height))
        return false;
    crop.width = size.width;
    crop.height = size.height;
    return parseNumber(text.substr(0, a), 0, 16383, crop.x) &&
           parseNumber(text.substr(a + 1, b - a - 1), 0, 16383, crop.y);
}

constexpr std::string_view ValueOptions[] = {
    "--from", "--to",   "--first", "--count", "--load-address", "--scale", "--syntax",
    "--name", "--ink",  "--paper", "--font",  "--font-out",     "--map",   "--at",
    "--skip", "--rows", "--size",  "--order", "--info"};
// The picture options with a value.
constexpr std::string_view PictureValueOptions[] = {"--crop", "--columns"};

bool takesValue(std::string_view name) {
    return std::find(std::begin(ValueOptions), std::end(ValueOptions), name) !=
               std::end(ValueOptions) ||
           std::find(std::begin(PictureValueOptions), std::end(PictureValueOptions), name) !=
               std::end(PictureValueOptions);
}

// Stores the value of a known option. False when it does not do, with what the option
// wants in `wants`.
bool takeValue(std::string_view option, const std::string& v, Options& o, std::string& wants) {
    int n = 0;
    Colour colour = 0;
    MapSize size;
    const auto number = [&](long long low, long long high, std::optional<int>& into,
                            const char* what) {
        wants = what;
        if (!parseNumber(v, low, high, n)) return false;
        into = n;
        return true;
    };
    const auto colourInto = [&](std::optional<Colour>& into) {
        wants = "a colour #rrggbb";
        if (!parseColour(v, colour)) return false;
        into = colour;
        return true;
    };
    if (option == "--from")
        o.from = v;
    else if (option == "--to")
        o.to = v;
    else if (option == "--name")
        o.name = v;
    else if (option == "--font")
        o.font = v;
    else if (option == "--font-out")
        o.fontOut = v;
    else if (option == "--order") {
        wants = "one of" + orderNames();
        if (!formats::machineOrderNamed(v)) return false;
        o.order = v;
    } else if (option == "--at")
        return number(0, 255, o.at, "a code from 0 to 255");
    else if (option == "--skip")
        return number(0, 65535, o.skip, "a glyph count from 0 to 65535");
    else if (option == "--rows")
        return number(0, 1023, o.rows, "a row from 0 to 1023");
    else if (option == "--size")
        return number(1, 128, o.size, "a pixel size from 1 to 128");
    else if (option == "--first")
        return number(0, 255, o.first, "a code from 0 to 255");
    else if (option == "--count")
        return number(1, 256, o.count, "a glyph count from 1 to 256");
    else if (option == "--load-address")
        return number(0, 0xFFFF, o.loadAddress, "an address from 0 to 0xFFFF");
    else if (option == "--scale")
        return number(1, 16, o.scale, "a scale from 1 to 16");
    else if (option == "--columns")
        return number(1, 256, o.columns, "a glyph count from 1 to 256");
    else if (option == "--ink")
        return colourInto(o.ink);
    else if (option == "--paper")
        return colourInto(o.paper);
    else if (option == "--syntax") {
        wants = "ca65, acme, 64tass, xa, dasm or z80";
        o.syntax = formats::asmSyntaxNamed(v);
        return o.syntax.has_value();
    } else if (option == "--crop") {
        wants = "X,Y,WxH, such as 32,35,320x200";
        formats::PictureCrop crop;
        if (!parseCrop(v, crop)) return false;
        o.crop = crop;
    } else if (option == "--map") {
        wants = "a size WxH, each from 1 to 1024, such as 40x25";
        if (!parseMapSize(v, size)) return false;
        o.map = size;
    }
    return true;
}

} // namespace

ParsedArguments parseArguments(std::span<const std::string> arguments) {
    ParsedArguments parsed;
    Options& o = parsed.options;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") return {Action::Help, {}, {}};
        if (arg == "--version") return {Action::Version, {}, {}};
        if (arg == "--grid") {
            o.grid = true;
            continue;
        }
        if (arg == "--info") {
            o.info = true;
            continue;
        }
        if (arg == "--from-picture") {
            o.fromPicture = true;
            continue;
        }
        if (arg == "--add") {
            o.add = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (!takesValue(name)) {
            parsed.error = "unknown option " + name;
            return parsed;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        std::string wants;
        if (value.empty()) {
            parsed.error = name + " needs a value";
            return parsed;
        }
        if (!takeValue(name, value, o, wants)) {
            parsed.error = name + " '" + value + "': give " + wants;
            return parsed;
        }
    }
    if (o.info) {
        if (files.size() != 1)
            parsed.error = files.empty() ? "--info needs a FILE"
                                         : "--info takes one FILE, not '" + files[1] + "' too";
        else
            o.input = files[0];
        return parsed;
    }
    if (files.size() != 2) {
        parsed.error = files.size() < 2
                           ? "give an INPUT and an OUTPUT file"
                           : "too many files: '" + files[2] + "' (one INPUT, one OUTPUT)";
        return parsed;
    }
    o.input = files[0];
    o.output = files[1];
    return parsed;
}

std::string versionText() {
    return "tessaly-convert " TESSALY_VERSION "\n"
           "Copyright 2026 The Tessaly developers. Released under the MIT licence.\n";
}

std::string helpText() {
    std::string sets;
    for (const formats::BuiltinSetName& n : formats::builtinSetNames())
        sets += "                    " + std::string(n.name) +
                std::string(10 - n.name.size(), ' ') + std::string(n.title) + "\n";
    std::string orders;
    for (const formats::MachineOrder& n : formats::machineOrders())
        orders += "                    " + std::string(n.name) +
                  std::string(10 - n.name.size(), ' ') + std::string(n.title) + "\n";
    std::string syntaxes;
    for (const formats::AsmSyntaxName& n : formats::asmSyntaxNames())
        syntaxes += "                    " + std::string(n.name) +
                    std::string(10 - n.name.size(), ' ') + std::string(n.assemblers) + "\n";
    return R"(Usage: tessaly-convert [OPTIONS] INPUT OUTPUT
       tessaly-convert [--from FORMAT] [--size PX] --info FILE

Converts character sets of 256 glyphs of 8x8 pixels, and screen maps, between the
editor's files and the formats of other tools. The format of each side comes from its
extension, or from --from / --to; "-" is standard input or output (then name the format).
A ".gz" ending reads or writes the file packed with gzip (fonts.psf.gz).

Character set formats:
  raw      .fnt .bin .chr .rom   read, write   8 bytes a glyph, top row first, no header;
                                               any length reads, as in the editor
  prg      .prg .64c             read, write   a 2-byte load address, then raw bytes
  psf      .psf .psfu            read, write   Linux console fonts, PSF 1 or 2, glyphs up to
                                               8 pixels wide, with their Unicode table;
                                               writes PSF 2 of 8x8 glyphs
  bdf      .bdf                  read, write   X11 bitmap fonts; glyphs by ENCODING 0..255,
                                               every character of an ISO10646 font
  ttf, otf, otb, pcf, fon        read          TrueType, OpenType (bitmap strikes, or
           .ttf .otf .otb .pcf .fon            outlines at --size), PCF (.pcf.gz too) and
                                               Windows fonts, through FreeType
  asm      .s .asm .inc          write         assembler source, see --syntax
  c, h     .c .h                 write         const unsigned char NAME[N]; .h with a guard
  png, bmp .png .bmp             read, write   a picture of 16 glyphs a row (--columns);
                                               BMPs of 1, 4, 8 (also RLE), 24, 32 bits
  builtin  builtin:NAME          read          the editor's built-in sets:
)" + sets + R"(
  Which codes are written: --first and --count (default all 256). Where the glyphs read
  go: a file without codes (raw, prg, psf, picture) fills codes from --at on, after
  leaving out --skip glyphs; BDF, TrueType/OpenType/PCF fonts and built-in sets keep their
  own codes; --order lays out any font that carries Unicode in a machine's order.

  Fonts fit the 8x8 cell by one rule: the left edge at the cell's left, and a font up to
  8 rows high with the bottom of its descent on the cell's bottom row (a BDF font's
  baseline is under row 7 - FONT_DESCENT). A taller font needs --rows; wider than 8 is
  an error.

Screen maps (.map: width x height codes, row by row, no size stored):
  --map WxH         read INPUT as a map of that size. A longer file is an error; a shorter
                    one fills the map from its start and the rest is 0. OUTPUT: .map, raw,
                    prg, assembler or C (the codes row by row), or a picture with --font.
  --from-picture    cut the picture INPUT into 8x8 cells, keep each distinct glyph once
                    from code --at, write the set to --font-out and the map to OUTPUT.
                    With --font SET each cell takes the code of its glyph in SET (the
                    lowest of equal glyphs); a cell that matches none is an error, or with
                    --add a new glyph, put after SET's last glyph and written to
                    --font-out with SET.
  Reading a picture, the most common colour is paper (or --paper, which the picture must
  have), and so are pixels of alpha 0; every other colour is ink.

Options:
  --from FORMAT     the format of INPUT (raw, prg, psf, bdf, ttf, otf, otb, pcf, fon,
                    png, bmp, map)
  --to FORMAT       the format of OUTPUT (raw, prg, psf, bdf, asm, c, h, png, bmp, map)
  --first CODE      the first code written (default 0)
                      --first 32 --count 96 cga.fnt ascii.bin   codes 32..127 only
  --count N         how many codes to write (default: to the end of the set)
  --at CODE         the code of the first glyph of a file without codes (default 0)
                      --at 32 zx768.bin zx.fnt           768 bytes to codes 32..127
  --skip N          leave out the first N glyphs of a raw, prg or PSF file
                      --skip 256 c64rom.bin lower.fnt     the second half of a C64 ROM
  --rows FIRST      the 8 rows from row FIRST of a taller font's glyphs
                      --rows 4 Lat15-VGA16.psf.gz lat.fnt rows 4..11 of an 8x16 font
  --size PX         the pixel size of a FreeType font: its bitmap strike, or its outlines
                    rendered (default: a bitmap font's only size, else 8)
                      --size 8 /usr/share/fonts/truetype/misaki/misaki_gothic.ttf m.fnt
  --order NAME      lay a font with Unicode out in a machine's code order, and label a
                    PSF or BDF written with each code's character; NAME is one of:
)" + orders +
           R"(                      --order c64 Lat15-VGA8.psf.gz c64.fnt  'A' at screen code 1
  --info FILE       print the format, glyph size and count, the codes held and, for a
                    font with Unicode, how much of each --order it covers
                      --info /usr/share/consolefonts/Lat15-VGA8.psf.gz
  --load-address A  the load address of a .prg (default 0x3000; $3000 and 12288 work too)
  --syntax NAME     the assembler (default ca65):
)" + syntaxes +
           R"(  --name NAME       the label or array name of assembler or C output, the family
                    name of BDF output, spaces allowed (default: from OUTPUT's file name)
  --scale N         picture pixels per glyph pixel (default 1; maps 2, as the map window)
  --ink #rrggbb     the ink of a picture written (default #ffffff)
  --paper #rrggbb   the paper of a picture (default #000000; reading without it takes
                    the most common colour)
  --grid            draw the map window's grid on a map picture
  --font SET        the character set a map picture is drawn with, or --from-picture
                    matches cells against (any readable set)
  --add             --from-picture --font: add glyphs SET lacks instead of failing
  --crop X,Y,WxH    read only that part of a picture INPUT (a capture's screen inside
                    its border)
  --columns N       glyphs a row of a set picture read or written (default 16)
  --font-out SET    where --from-picture writes the set (any writable set format)
  --help            this text
  --version         the version

Examples:
  tessaly-convert builtin:c64 c64.fnt                  the editor's C64 CAPS set as a file
  tessaly-convert --name font font.fnt font.s          a set as ca65 source
  tessaly-convert --syntax acme font.fnt font_acme.s  ... as ACME source
  tessaly-convert --first 32 --count 96 builtin:cga ascii.h
                                                       codes 32..127 as a C header
  tessaly-convert --at 32 ascii.fnt ascii.bdf          glyphs for codes 32.. as a BDF font
  tessaly-convert --load-address 0x2000 font.fnt font.prg  a .prg loading at $2000
  tessaly-convert /usr/share/consolefonts/Lat15-VGA8.psf.gz lat15.fnt
                                                       a console font into the editor
  tessaly-convert font.fnt font.psf                    a set as a console font
  tessaly-convert font.bdf font.fnt                    an X11 font into the editor
  tessaly-convert --size 13 --rows 3 /usr/share/fonts/X11/misc/6x13.pcf.gz 6x13.fnt
                                                       rows 3..10 of an X11 PCF font
  tessaly-convert --order c64 /usr/share/consolefonts/Lat15-VGA8.psf.gz c64.psf
                                                       a console font in C64 screen code
                                                       order, for the console too
  tessaly-convert font.fnt font.png                    a set as a picture
  tessaly-convert --map 40x25 screen.map screen.s      a screen's codes as ca65 source
  tessaly-convert --map 40x25 --font font.fnt screen.map screen.png
                                                       a screen as a picture
  tessaly-convert --from-picture --font-out font.fnt screen.png screen.map
                                                       a picture into a set and a map
  tessaly-convert --from-picture --crop 32,35,320x200 --font builtin:c64 shot.png s.map
                                                       a 384x272 emulator capture
                                                       matched to C64 screen codes
  cat font.fnt | tessaly-convert --from raw --to c - - a set from a pipe as C source

Exit status: 0 done; 1 an input is unreadable or malformed (nothing written);
2 a usage error.
)";
}

} // namespace tessaly::convert
