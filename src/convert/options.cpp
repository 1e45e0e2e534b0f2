#include "convert/options.h"

#include "convert/job.h"
#include "formats/machines/machine_orders.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
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

// Takers of a value: each parses it into its member of Options.
template <long long low, long long high, const char* wants, std::optional<int> Options::*into>
bool number(const std::string& value, Options& o, std::string& w) {
    int n = 0;
    w = wants;
    if (!parseNumber(value, low, high, n)) return false;
    o.*into = n;
    return true;
}

template <std::optional<std::string> Options::*into>
bool text(const std::string& value, Options& o, std::string&) {
    o.*into = value;
    return true;
}

template <std::optional<Colour> Options::*into>
bool colour(const std::string& value, Options& o, std::string& wants) {
    Colour c = 0;
    wants = "a colour #rrggbb";
    if (!parseColour(value, c)) return false;
    o.*into = c;
    return true;
}

template <bool Options::*into> bool flag(const std::string&, Options& o, std::string&) {
    o.*into = true;
    return true;
}

constexpr char ACode[] = "a code from 0 to 255";
constexpr char AGlyphCount[] = "a glyph count from 1 to 256";
constexpr char AGlyphSkip[] = "a glyph count from 0 to 65535";
constexpr char ARow[] = "a row from 0 to 1023";
constexpr char APixelSize[] = "a pixel size from 1 to 128";
constexpr char AnAddress[] = "an address from 0 to 0xFFFF";
constexpr char AScale[] = "a scale from 1 to 16";

// The sides of a job, as the options' rules ask about them.
bool pictureOut(const Job& job) {
    return job.output.is(Picture);
}
bool fontOutPicture(const Job& job) {
    return job.fontOut && job.fontOut->is(Picture);
}
bool anyPicture(const Job& job) {
    return pictureOut(job) || job.input.is(Picture) || fontOutPicture(job);
}
// A machine's program that shows a map (or a set) in --ink and --paper.
bool programOut(const Job& job) {
    return job.output.is(DrawsMap) && (job.mode != Mode::Set || job.output.is(ShowsSet));
}
bool writes(const Job& job, FormatTrait trait) {
    return job.output.is(trait) || (job.fontOut && job.fontOut->is(trait));
}
// The file read as a set: INPUT converting a set, else the --font file.
bool setRead(const Job& job, FormatTrait trait) {
    return job.mode == Mode::Set ? job.input.is(trait) : job.font && job.font->is(trait);
}
bool placed(const Format& f) {
    return f.byPlace();
}
template <FormatTrait trait> bool with(const Format& f) {
    return f.has(trait);
}
bool drawing(const Format& f) {
    return f.drawsMap();
}

// "raw, prg, ...)" in the help, from `column` on and wrapped at 88 columns: the formats
// --from (input) or --to names.
std::string formatList(std::size_t column, bool input) {
    std::string out;
    for (const Format& f : formats()) {
        if (f.builtin() ||
            !(input ? f.readsSet() || f.has(ReadsMap) : f.writesSet() || f.writesMap()))
            continue;
        for (std::string_view name : wordsOf(f.names)) {
            const std::string separator = out.empty() ? "" : ", ";
            if (column + separator.size() + name.size() + 2 > 88) {
                out += ",\n" + std::string(20, ' ');
                column = 20;
            } else {
                out += separator;
                column += separator.size();
            }
            out += name;
            column += name.size();
        }
    }
    return out + ")";
}

std::string orderList() {
    std::string list;
    for (const formats::MachineOrder& n : formats::machineOrders())
        list += helpListLine(n.name, n.title);
    return list;
}

std::string syntaxList() {
    std::string list;
    for (const formats::AsmSyntaxName& n : formats::asmSyntaxNames())
        list += helpListLine(n.name, n.assemblers);
    return list;
}

// "prg       a set at 12288 ($3000)": the default load addresses of the formats that load.
std::string loadAddressList() {
    const auto address = [](int a) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "$%04X", static_cast<unsigned>(a));
        return std::to_string(a) + " (" + hex + ")";
    };
    std::string list;
    for (const Format& f : formats()) {
        if (!f.has(LoadAddress)) continue;
        std::string text;
        if (f.writesSet()) text = "a set at " + address(f.setLoadAddress);
        if (f.writesMap() && f.mapLoadAddress != 0)
            text += (text.empty() ? "" : ", ") + std::string("a map's program at ") +
                    address(f.mapLoadAddress);
        list += helpListLine(f.name(), text);
    }
    return list;
}

constexpr std::string_view FromHelp = "the format of INPUT (", ToHelp = "the format of OUTPUT (";
std::string fromList() {
    return formatList(20 + FromHelp.size(), true);
}
std::string toList() {
    return formatList(20 + ToHelp.size(), false);
}

constexpr unsigned Converting = InSet | InMap | InFromPicture;

const Option Options_[] = {
    {.name = "--map",
     .value = "WxH",
     .take =
         [](const std::string& v, Options& o, std::string& wants) {
             MapSize size;
             wants = "a size WxH, each from 1 to 1024, such as 40x25";
             if (!parseMapSize(v, size)) return false;
             o.map = size;
             return true;
         },
     .modes = InMap,
     .mapSection = true,
     .help = R"(read INPUT as a map of that size. A longer file is an error; a shorter
                    one fills the map from its start and the rest is 0. An XBin holds its
                    size: read as a map without --map (one given must name it) when
                    OUTPUT takes no set or --font-out takes its font. OUTPUT: any format
                    that writes a map; with --font drawn in a picture or shown by a
                    machine's program (a larger map is cut to the machine's screen with
                    a note).)"},
    {.name = "--from-picture",
     .take = flag<&Options::fromPicture>,
     .modes = InFromPicture,
     .mapSection = true,
     .help = R"(cut the picture INPUT into 8x8 cells, keep each distinct glyph once
                    from code --at, write the set to --font-out and the map to OUTPUT.
                    With --font SET (a file without codes placed from --at) each cell
                    takes the code of its glyph among the codes SET holds: of equal glyphs
                    the lowest, but 32 for a blank cell where SET holds a blank at 32; a
                    cell that matches none is an error, or with --add a new glyph, put
                    after SET's last glyph and written to --font-out with SET.)"},
    {.name = "--from",
     .value = "FORMAT",
     .take = text<&Options::from>,
     .modes = Converting | InInfo,
     .help = FromHelp,
     .helpList = fromList},
    {.name = "--to",
     .value = "FORMAT",
     .take = text<&Options::to>,
     .modes = Converting,
     .help = ToHelp,
     .helpList = toList},
    {.name = "--first",
     .value = "CODE",
     .take = number<0, 255, ACode, &Options::first>,
     .modes = InSet | InFromPicture,
     .refusal = "--first chooses the codes of a set written; a map has none",
     .help = R"(the first code written (default 0)
                      --first 32 --count 96 cga.fnt ascii.bin   codes 32..127 only)"},
    {.name = "--count",
     .value = "N",
     .take = number<1, 256, AGlyphCount, &Options::count>,
     .modes = InSet | InFromPicture,
     .refusal = "--count counts the glyphs of a set written",
     .help = R"(how many codes to write (default: to the end of the set))"},
    {.name = "--at",
     .value = "CODE",
     .take = number<0, 255, ACode, &Options::at>,
     .modes = InSet | InMap | InFromPicture,
     .used =
         [](const Job& job) {
             return job.mode == Mode::FromPicture || setRead(job, Sequential) ||
                    setRead(job, Picture);
         },
     .refusal = "--at places the glyphs of a file without codes ({}): INPUT, or with --map "
                "the --font file",
     .lists = placed,
     .help = R"(the code of the first glyph of a file without codes (default 0): of
                    INPUT or, with --map or --from-picture, of the --font file
                      --at 32 zx768.bin zx.fnt           768 bytes to codes 32..127)"},
    {.name = "--skip",
     .value = "N",
     .take = number<0, 65535, AGlyphSkip, &Options::skip>,
     .modes = InSet | InMap | InFromPicture,
     .used = [](const Job& job) { return setRead(job, Sequential); },
     .refusal = "--skip leaves out glyphs at the start of a {} file: INPUT, or the --font file",
     .lists = with<Sequential>,
     .help = R"(leave out the first N glyphs of a {} file (INPUT or --font)
                      --skip 256 c64rom.bin lower.fnt     the second half of a C64 ROM)"},
    {.name = "--rows",
     .value = "FIRST",
     .take = number<0, 1023, ARow, &Options::rows>,
     .modes = InSet | InMap | InFromPicture,
     .used =
         [](const Job& job) {
             return setRead(job, Font) ||
                    (job.input.is(TallGlyphs) && (job.mode == Mode::Set || job.fontOut));
         },
     .refusal = "--rows takes 8 rows of the glyphs of a {} font (INPUT, or the --font "
                "file), or of an XBin's font read as a set or to --font-out",
     .lists = with<Font>,
     .help = R"(the 8 rows from row FIRST of a taller font's glyphs (INPUT, --font, or
                    an XBin's font)
                      --rows 4 Lat15-VGA16.psf.gz lat.fnt rows 4..11 of an 8x16 font)"},
    {.name = "--size",
     .value = "PX",
     .take = number<1, 128, APixelSize, &Options::size>,
     .modes = InSet | InMap | InFromPicture | InInfo,
     .used =
         [](const Job& job) {
             return job.mode == Mode::Info ? job.input.is(Sized) : setRead(job, Sized);
         },
     .refusal = "--size chooses the pixel size of a {} font: INPUT, or the --font file",
     .lists = with<Sized>,
     .help = R"(the pixel size of a FreeType font (INPUT or --font): its bitmap
                    strike, or its outlines rendered (default: a bitmap font's only size,
                    else 8)
                      --size 8 /usr/share/fonts/truetype/misaki/misaki_gothic.ttf m.fnt)"},
    {.name = "--order",
     .value = "NAME",
     .take =
         [](const std::string& v, Options& o, std::string& wants) {
             wants = "one of" + orderNames();
             if (!formats::machineOrderNamed(v)) return false;
             o.order = v;
             return true;
         },
     .modes = InSet | InMap | InFromPicture,
     .used = [](const Job& job) { return setRead(job, Font) || writes(job, UnicodeLabels); },
     .refusal = "--order lays out a font that carries Unicode or labels a font written "
                "({})",
     .lists = with<UnicodeLabels>,
     .help = R"(lay a font with Unicode (INPUT or --font) out in a machine's code
                    order, and label a PSF or BDF written with each code's character;
                    NAME is one of:)",
     .helpList = orderList,
     .helpAfter =
         R"(
                      --order c64 Lat15-VGA8.psf.gz c64.fnt  'A' at screen code 1)"},
    {.name = "--info",
     .value = "FILE",
     .take = flag<&Options::info>,
     .modes = InInfo,
     .help = R"(print the format, glyph size and count, the codes held and, for a
                    font with Unicode, how much of each --order it covers; of a
                    FreeType font also its sizes, the glyphs too large, and why a
                    conversion would refuse it
                      --info /usr/share/consolefonts/Lat15-VGA8.psf.gz)"},
    {.name = "--load-address",
     .value = "A",
     .take = number<0, 0xFFFF, AnAddress, &Options::loadAddress>,
     .modes = Converting,
     .used =
         [](const Job& job) {
             return (job.output.is(LoadAddress) &&
                     !(programOut(job) && job.output.format->mapLoadAddress == 0)) ||
                    (job.fontOut && job.fontOut->is(LoadAddress));
         },
     .refusal = "--load-address needs OUTPUT, or --font-out, of a format that loads: {}",
     .lists = with<LoadAddress>,
     .refuse =
         [](const Job& job) {
             const std::string_view fixed = job.output.format->fixedAddress;
             return fixed.empty() ? std::string()
                                  : "--load-address: " + std::string(fixed) + "; it takes none";
         },
     .help = R"(where the file written loads (0x3000, $3000 and 12288 alike); the
                    defaults:)",
     .helpList = loadAddressList},
    {.name = "--syntax",
     .value = "NAME",
     .take =
         [](const std::string& v, Options& o, std::string& wants) {
             wants = "ca65, acme, 64tass, xa, dasm or z80";
             o.syntax = formats::asmSyntaxNamed(v);
             return o.syntax.has_value();
         },
     .modes = Converting,
     .used = [](const Job& job) { return writes(job, Syntax); },
     .refusal = "--syntax needs an assembler output ({})",
     .lists = with<Syntax>,
     .help = R"(the assembler (default ca65):)",
     .helpList = syntaxList},
    {.name = "--name",
     .value = "NAME",
     .take = text<&Options::name>,
     .modes = Converting,
     .used = [](const Job& job) { return job.output.format->nameAllowed != nullptr; },
     .refusal = "--name names the array, label or font family an output holds: {}",
     .lists = [](const Format& f) { return f.nameAllowed != nullptr; },
     .help = R"(the label or array name of assembler or C output, the family
                    name of BDF output, spaces allowed (default: from OUTPUT's file name))"},
    {.name = "--scale",
     .value = "N",
     .take = number<1, 16, AScale, &Options::scale>,
     .modes = Converting,
     .used = anyPicture,
     .refusal = "--scale needs a picture ({})",
     .lists = with<Picture>,
     .help = R"(picture pixels per glyph pixel (default 1; maps 2, as the map window;
                    --from-picture --font tries each the picture allows))"},
    {.name = "--ink",
     .value = "#rrggbb",
     .take = colour<&Options::ink>,
     .modes = Converting,
     .used =
         [](const Job& job) { return pictureOut(job) || programOut(job) || fontOutPicture(job); },
     .refusal = "--ink needs an output drawn in colours: {}",
     .lists = drawing,
     .help = R"(the ink of a picture, XBin or machine's program written (default
                    #ffffff; a machine of fixed colours shows its nearest))"},
    {.name = "--paper",
     .value = "#rrggbb",
     .take = colour<&Options::paper>,
     .modes = Converting | InInfo,
     .used = [](const Job& job) { return anyPicture(job) || programOut(job); },
     .refusal = "--paper needs a picture read or an output drawn in colours: {}",
     .lists = drawing,
     .help = R"(the paper of a picture, XBin or machine's program (default #000000;
                    reading a picture without it takes the most common colour,
                    --from-picture --font whichever of the two most common lets every
                    cell match))"},
    {.name = "--grid",
     .take = flag<&Options::grid>,
     .modes = InMap,
     .used = pictureOut,
     .refusal = "--grid needs --map and a picture output ({})",
     .lists = with<Picture>,
     .help = R"(draw the map window's grid on a map picture)"},
    {.name = "--font",
     .value = "SET",
     .take = text<&Options::font>,
     .modes = InMap | InFromPicture,
     .help = R"(the character set a map picture or program is drawn with, or
                    --from-picture matches cells against (any readable set); a file
                    whose name does not tell its format names it in front: raw:chargen)"},
    {.name = "--add",
     .take = flag<&Options::add>,
     .modes = InFromPicture,
     .used = [](const Job& job) { return job.font.has_value(); },
     .refusal = "--add needs --from-picture and --font SET",
     .qualifies = true,
     .help = R"(--from-picture --font: add glyphs SET lacks instead of failing)"},
    {.name = "--crop",
     .value = "X,Y,WxH",
     .take =
         [](const std::string& v, Options& o, std::string& wants) {
             wants = "X,Y,WxH, such as 32,35,320x200";
             formats::PictureCrop crop;
             if (!parseCrop(v, crop)) return false;
             o.crop = crop;
             return true;
         },
     .modes = Converting,
     .used = [](const Job& job) { return job.input.is(Picture); },
     .refusal = "--crop needs a picture INPUT ({})",
     .lists = with<Picture>,
     .help = R"(read only that part of a picture INPUT (a capture's screen inside
                    its border))"},
    {.name = "--columns",
     .value = "N",
     .take = number<1, 256, AGlyphCount, &Options::columns>,
     .modes = InSet | InFromPicture,
     .used =
         [](const Job& job) {
             return (job.mode == Mode::Set && (pictureOut(job) || job.input.is(Picture))) ||
                    fontOutPicture(job);
         },
     .refusal = "--columns needs a set picture ({})",
     .lists = with<Picture>,
     .help = R"(glyphs a row of a set picture read or written (default 16))"},
    {.name = "--font-out",
     .value = "SET",
     .take = text<&Options::fontOut>,
     .modes = InFromPicture | InMap,
     .used =
         [](const Job& job) { return job.mode == Mode::FromPicture || job.input.format->readMap; },
     .refusal = "--font-out needs --from-picture, or an XBin read as a map",
     .help = R"(where --from-picture, or an XBin read as a map, writes the set (any
                    writable set format; as for --font, psf:myset names the format of a
                    file without an extension))"},
    {.name = "--help", .help = R"(this text)"},
    {.name = "--version", .help = R"(the version)"},
};

const Option* optionNamed(std::string_view name) {
    for (const Option& option : Options_)
        if (option.name == name) return &option;
    return nullptr;
}

// The text with "{}" standing for the formats the option lists.
std::string withFormats(std::string_view text, const Option& option) {
    std::string out(text);
    if (const std::size_t at = out.find("{}"); at != std::string::npos && option.lists)
        out.replace(at, 2, formatNames(option.lists));
    return out;
}

// "  --first CODE      the first ...": an option's lines in the help.
std::string optionHelp(const Option& option) {
    // Built by appending: GCC 12's optimiser warns, wrongly, about " " + std::string&&.
    std::string head = "  ";
    head += option.name;
    if (!option.value.empty()) {
        head += ' ';
        head += option.value;
    }
    head.resize(std::max<std::size_t>(head.size() + 2, 20), ' ');
    return head + withFormats(option.help, option) + (option.helpList ? option.helpList() : "") +
           std::string(option.helpAfter) + "\n";
}

} // namespace

bool Options::gave(std::string_view option) const {
    return std::find(given.begin(), given.end(), option) != given.end();
}

std::span<const Option> options() {
    return Options_;
}

std::string refusalOf(const Option& option, const Job& job) {
    const std::string made = option.refuse ? option.refuse(job) : std::string();
    return made.empty() ? withFormats(option.refusal, option) : made;
}

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
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* option = optionNamed(name);
        if (!option || !option->take) {
            parsed.error = "unknown option " + name;
            return parsed;
        }
        // A switch stands alone, but for --info, whose FILE may follow an '='.
        if (option->value.empty() || option->name == "--info") {
            if (equals != std::string::npos && option->name != "--info") {
                parsed.error = "unknown option " + name;
                return parsed;
            }
            if (equals != std::string::npos && equals + 1 == arg.size()) {
                parsed.error = name + " needs a value";
                return parsed;
            }
            std::string none;
            option->take({}, o, none);
            o.given.push_back(option->name);
            if (equals != std::string::npos) files.push_back(arg.substr(equals + 1));
            continue;
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
        if (!option->take(value, o, wants)) {
            parsed.error = name + " '" + value + "': give " + wants;
            return parsed;
        }
        o.given.push_back(option->name);
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
    std::string mapOptions, otherOptions;
    for (const Option& option : options())
        (option.mapSection ? mapOptions : otherOptions) += optionHelp(option);
    return R"(Usage: tessaly-convert [OPTIONS] INPUT OUTPUT
       tessaly-convert [--from FORMAT] [--size PX] --info FILE

Converts character sets of 256 glyphs of 8x8 pixels, and screen maps, between the
editor's files and the formats of other tools. The format of each side comes from its
extension, or from --from / --to; "-" is standard input or output (then name the format).
A ".gz" ending reads or writes the file packed with gzip (fonts.psf.gz).

Formats:
)" + formatTable() +
           R"(
  Which codes are written: --first and --count (default all 256). Where the glyphs read
  go: a file without codes fills codes from --at on, after leaving out --skip glyphs:
  )" + formatNames(placed, "and") +
           R"( files. The others keep their own codes, and
  --order lays out any font that carries Unicode in a machine's order.

  Fonts fit the 8x8 cell by one rule: the left edge at the cell's left, and a font up to
  8 rows high with the bottom of its descent on the cell's bottom row (a BDF font's
  baseline is under row 7 - FONT_DESCENT). A taller font needs --rows; wider than 8 is
  an error.

Screen maps (.map: width x height codes, row by row, no size stored):
)" + mapOptions +
           R"(  Reading a picture, the most common colour is paper (or --paper, which the picture must
  have), and so are pixels of alpha 0; every other colour is ink.

Options:
)" + otherOptions +
           R"(
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
  tessaly-convert --map 40x25 --font c64.fnt screen.map screen.prg
                                                       a C64 program that shows the screen
  tessaly-convert --map 80x50 --font builtin:cga screen.map screen.com
                                                       a DOS program that shows it
  tessaly-convert --map 80x25 --font font.fnt screen.map screen.xb
                                                       the screen as XBin art
  tessaly-convert builtin:zx zx.tap                    a ZX Spectrum tape of a set
  tessaly-convert --map 32x24 --font set.fnt screen.map screen.rom
                                                       an MSX cartridge of the screen
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
