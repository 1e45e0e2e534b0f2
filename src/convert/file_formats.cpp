#include "convert/file_formats.h"

#include "convert/picture_steps.h"
#include "formats/fonts/bdf.h"
#include "formats/fonts/builtin_set.h"
#include "formats/fonts/freetype_font.h"
#include "formats/fonts/psf.h"
#include "formats/machines/c64_program.h"
#include "formats/machines/dos_program.h"
#include "formats/machines/machine_colours.h"
#include "formats/machines/msx_cartridge.h"
#include "formats/machines/prg.h"
#include "formats/machines/xbin.h"
#include "formats/machines/zx_tape.h"
#include "formats/raw/glyph_run.h"
#include "formats/raw/raw.h"
#include "formats/sources/c_source.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace tessaly::convert {

namespace {

// Glyph rows of a sequential file (raw, prg) as a font placed by place; only the glyphs
// up to `keep` are made, the rest counted.
formats::FontGlyphs rowsFont(const Bytes& rows, const std::string& format, std::size_t keep) {
    formats::FontGlyphs font;
    font.format = format;
    const std::size_t total = (rows.size() + GlyphBytes - 1) / GlyphBytes;
    const std::size_t kept = std::min(total, keep);
    font.droppedGlyphs = static_cast<int>(total - kept);
    font.glyphs.resize(kept);
    for (std::size_t i = 0; i < kept; ++i) {
        const std::size_t begin = i * GlyphBytes;
        const std::size_t end = std::min(rows.size(), begin + GlyphBytes);
        font.glyphs[i].rows.assign(rows.begin() + static_cast<std::ptrdiff_t>(begin),
                                   rows.begin() + static_cast<std::ptrdiff_t>(end));
        font.glyphs[i].rows.resize(GlyphBytes, 0);
    }
    return font;
}

// The glyphs of a set, each at its code: all 256, or the codes held.
formats::FontGlyphs
codedFont(const Charset& set, const std::string& format,
          const std::bitset<GlyphCount>& held = std::bitset<GlyphCount>{}.set()) {
    formats::FontGlyphs font;
    font.format = format;
    font.hasCodes = true;
    for (int code = 0; code < GlyphCount; ++code) {
        if (!held.test(static_cast<std::size_t>(code))) continue;
        const ConstGlyph g = glyph(set, code);
        font.glyphs.push_back({{g.begin(), g.end()}, code, {}});
    }
    return font;
}

// A picture writer that fails only when the options make the picture too large.
bool pictureFailure(bool ok, const std::string& error, WriteFailure& failure) {
    if (!ok) failure = {error, 2};
    return ok;
}

template <formats::PictureType type>
bool writeSetPicture(const Charset& set, int first, int count, const Writing& how, Bytes& out,
                     WriteFailure& failure) {
    std::string error;
    return pictureFailure(writePictureSet(set, first, count, type, how.scale, how.columns, how.ink,
                                          how.paper, out, error),
                          error, failure);
}

template <formats::PictureType type>
bool writeMapPicture(const formats::CodeMap& map, const Writing& how, Bytes& out,
                     WriteFailure& failure) {
    std::string error;
    return pictureFailure(convert::writeMapPicture(map, *how.font, type, how.scale, how.ink,
                                                   how.paper, how.grid, out, error),
                          error, failure);
}

template <bool header>
bool writeCSet(const Charset& set, int first, int count, const Writing& how, Bytes& out,
               WriteFailure&) {
    out = formats::writeCSet(set, first, count, how.name, header);
    return true;
}

template <bool header>
bool writeCMap(const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
    out = formats::writeCMap(map, how.name, header);
    return true;
}

bool cName(std::string_view name, formats::AsmSyntax) {
    return formats::cNameAllowed(name);
}

bool writeMapCodes(const formats::CodeMap& map, const Writing&, Bytes& out, WriteFailure&) {
    out = formats::writeMapCodes(map);
    return true;
}

// Only the load address can put the code where it does not fit: a usage error. When it
// was the default, the advice is the highest address where `size` bytes fit (0: none).
bool loadAddressFailure(bool ok, const Writing& how, std::size_t size, WriteFailure& failure) {
    if (ok) return true;
    failure.exitCode = 2;
    failure.message = "--load-address: " + failure.message;
    if (!how.loadAddressGiven && size > 0 && size <= 0x10000)
        failure.message += "; the default address leaves no room: give --load-address " +
                           std::to_string(0x10000 - size);
    return false;
}

// Only --load-address can make the data run past $FFFF.
bool writePrg(std::span<const std::uint8_t> data, const Writing& how, Bytes& out,
              WriteFailure& failure) {
    return loadAddressFailure(formats::writePrg(data, how.loadAddress, out, failure.message), how,
                              data.size(), failure);
}

// Each held code's character in --order, 0 for the codes the set does not hold, so that
// none of their blank glyphs is named for a character; none without --order.
std::optional<std::array<char32_t, GlyphCount>> unicodeOf(const Writing& how) {
    if (!how.order) return std::nullopt;
    std::array<char32_t, GlyphCount> unicode = how.order->unicode;
    for (std::size_t code = 0; code < GlyphCount; ++code)
        if (!how.held.test(code)) unicode[code] = 0;
    return unicode;
}

bool readRawGlyphs(std::span<const std::uint8_t> bytes, const GlyphReading& how,
                   formats::FontGlyphs& font, std::string& error) {
    Bytes rows;
    if (!formats::readRaw(bytes, rows, error)) return false;
    font = rowsFont(rows, "raw", how.keep);
    return true;
}

// The screen drawn with the set, in the C64's colours nearest to --ink and --paper.
bool writeC64Program(const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
    out = formats::writeC64Program(*how.font, map,
                                   formats::nearestColour(how.ink, formats::C64Palette),
                                   formats::nearestColour(how.paper, formats::C64Palette));
    return true;
}

// Colours of 6 bits a channel (a VGA's DAC, an XBin's palette), as channel levels.
std::string sixBitColourName(Colour colour) {
    return "6-bit colour " + std::to_string(formats::dacLevel(redOf(colour))) + ", " +
           std::to_string(formats::dacLevel(greenOf(colour))) + ", " +
           std::to_string(formats::dacLevel(blueOf(colour)));
}

ShownColours sixBitColours(Colour ink, Colour paper) {
    return {sixBitColourName(ink), sixBitColourName(paper)};
}

constexpr std::string_view XBinColoursNote =
    "the XBin's colours (palette and attributes) are not read: a set and a map hold none";

constexpr std::string_view XBinNoFont =
    "the XBin has no font of its own (viewers draw it in their default font)";

// The XBin's font by code, of its own rows (--rows takes 8 of more), into `font` after
// the notes it holds.
void takeXBinFont(const formats::XBinContent& xbin, formats::FontGlyphs& font) {
    font.format = "XBin, a map of " + std::to_string(xbin.width) + " x " +
                  std::to_string(xbin.height) + " cells";
    font.hasCodes = true;
    font.width = 8;
    font.height = xbin.fontRows;
    const auto rows = static_cast<std::size_t>(xbin.fontRows);
    for (std::size_t code = 0; code < GlyphCount; ++code) {
        const auto start = xbin.glyphRows.begin() + static_cast<std::ptrdiff_t>(code * rows);
        font.glyphs.push_back(
            {{start, start + static_cast<std::ptrdiff_t>(rows)}, static_cast<int>(code), {}});
    }
    if (xbin.font512)
        font.notes.emplace_back("the XBin's font holds 512 glyphs: the first 256 are read");
}

bool readXBinGlyphs(std::span<const std::uint8_t> bytes, const GlyphReading&,
                    formats::FontGlyphs& font, std::string& error) {
    formats::XBinContent xbin;
    if (!formats::readXBin(bytes, false, xbin, error)) return false;
    if (xbin.fontRows == 0) {
        error = XBinNoFont;
        return false;
    }
    font = {};
    font.notes.emplace_back(XBinColoursNote);
    takeXBinFont(xbin, font);
    return true;
}

bool writeZxSet(const Charset& set, int first, int count, const Writing& how, Bytes& out,
                WriteFailure& failure) {
    // PRINT takes codes 32-127 from CHARS, and the whole set would not fit at the default
    // address: all 256 codes mean those.
    if (first == 0 && count == GlyphCount) {
        first = 32;
        count = 96;
    }
    // CHARS serves codes 32-127 together: a block without them all would print garbage.
    if (first > 32 || first + count < 128) {
        failure = {"--first and --count: a tape's set holds codes 32-127, the ones PRINT takes", 2};
        return false;
    }
    const Bytes rows = formats::glyphRows(set, first, count);
    return loadAddressFailure(
        formats::writeZxSetTape(rows, first, how.loadAddress, how.name, out, failure.message), how,
        rows.size(), failure);
}

// The set's codes from --first, 32 a row, in the TMS9918 colours nearest to --ink and --paper.
bool writeMsxSet(const Charset& set, int first, int count, const Writing& how, Bytes& out,
                 WriteFailure&) {
    formats::CodeMap codes{
        formats::MsxColumns, (count + formats::MsxColumns - 1) / formats::MsxColumns, {}};
    codes.codes.assign(static_cast<std::size_t>(codes.width * codes.height), 32);
    for (int i = 0; i < count; ++i)
        codes.codes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(first + i);
    out = formats::writeMsxCartridge(set, codes, formats::msxColour(how.ink),
                                     formats::msxColour(how.paper));
    return true;
}

bool writeZxMap(const formats::CodeMap& map, const Writing& how, Bytes& out,
                WriteFailure& failure) {
    return loadAddressFailure(
        formats::writeZxMapTape(map, *how.font, formats::zxAttribute(how.ink, how.paper),
                                how.loadAddress, how.name, out, failure.message),
        how, 0, failure);
}

std::string builtinSetList() {
    std::string list;
    for (const BuiltinCharsetInfo& set : builtinCharsets())
        list += helpListLine(set.name, set.menuText);
    return list;
}

constexpr std::string_view CNameRefusal =
    "name this output takes: a letter, then letters, digits and '_', and no keyword, register "
    "or instruction name";

const Format Formats[] = {
    {.names = "raw",
     .extensions = ".fnt .bin .chr",
     .traits = Sequential | ReadsStart | ReadsMap,
     .readGlyphs = readRawGlyphs,
     .writeSet =
         [](const Charset& set, int first, int count, const Writing&, Bytes& out, WriteFailure&) {
             out = formats::glyphRows(set, first, count);
             return true;
         },
     .writeMap = writeMapCodes,
     .help = "8 bytes a glyph, top row first, no header;\n"
             "any length reads, as in the editor"},
    {.names = "prg",
     .extensions = ".prg .64c",
     .traits = Sequential | ReadsStart | LoadAddress | DrawsMap,
     .screen = {formats::C64Columns, formats::C64Rows},
     .shownColours =
         [](Colour ink, Colour paper) {
             const auto name = [](Colour c) {
                 return std::string(formats::C64ColourNames[static_cast<std::size_t>(
                     formats::nearestColour(c, formats::C64Palette))]);
             };
             return ShownColours{name(ink), name(paper)};
         },
     .readGlyphs =
         [](std::span<const std::uint8_t> bytes, const GlyphReading& how, formats::FontGlyphs& font,
            std::string& error) {
             Bytes rows;
             int address = 0;
             if (!formats::readPrg(bytes, rows, address, error)) return false;
             char text[48];
             std::snprintf(text, sizeof text, "prg, loading at $%04X",
                           static_cast<unsigned>(address));
             font = rowsFont(rows, text, how.keep);
             return true;
         },
     .writeSet =
         [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
            WriteFailure& failure) {
             return writePrg(formats::glyphRows(set, first, count), how, out, failure);
         },
     .writeMap = writeC64Program,
     .help = "a 2-byte load address, then raw bytes;\n"
             "with --map and --font, a C64 program that\n"
             "shows the map; a key gives BASIC back",
     .mapLoadAddress = 0,
     .fixedAddress = "a C64 program that shows a map loads at $0801, where BASIC runs it"},
    {.names = "psf",
     .extensions = ".psf .psfu",
     .traits = Font | Sequential | UnicodeLabels,
     .readGlyphs = [](std::span<const std::uint8_t> bytes, const GlyphReading&,
                      formats::FontGlyphs& font,
                      std::string& error) { return formats::readPsf(bytes, font, error); },
     .writeSet =
         [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
            WriteFailure&) {
             const auto unicode = unicodeOf(how);
             out = formats::writePsf(set, first, count, unicode ? &*unicode : nullptr);
             return true;
         },
     .help = "Linux console fonts, PSF 1 or 2, glyphs up to\n"
             "8 pixels wide, with their Unicode table;\n"
             "writes PSF 2 of 8x8 glyphs"},
    {.names = "bdf",
     .extensions = ".bdf",
     .traits = Font | UnicodeLabels | Descent,
     .readGlyphs =
         [](std::span<const std::uint8_t> bytes, const GlyphReading&, formats::FontGlyphs& font,
            std::string& error) {
             if (!formats::readBdf(bytes, font, error)) return false;
             if (font.glyphs.empty())
                 error = "the font has no glyph with an ENCODING from 0 to 255";
             return !font.glyphs.empty();
         },
     .writeSet =
         [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
            WriteFailure&) {
             const auto unicode = unicodeOf(how);
             out = formats::writeBdf(set, first, count, how.name, unicode ? &*unicode : nullptr,
                                     &how.held);
             return true;
         },
     .nameAllowed = [](std::string_view name,
                       formats::AsmSyntax) { return formats::bdfFamilyAllowed(name); },
     .badName = "BDF family name: printable ASCII, spaces inside, and no '-', '*', '?', '\"' "
                "or ','",
     .help = "X11 bitmap fonts; glyphs by ENCODING 0..255,\n"
             "every character of an ISO10646 font"},
    {.names = "ttf otf otb pcf fon",
     .extensions = ".ttf .otf .otb .pcf .fon",
     .traits = Font | Sized | Descent,
     .readGlyphs =
         [](std::span<const std::uint8_t> bytes, const GlyphReading& how, formats::FontGlyphs& font,
            std::string& error) {
             if (!formats::readFreeTypeFont(bytes, how.pixelSize, font, error, how.describe))
                 return false;
             if (font.glyphs.empty() && !how.describe) error = "the font holds no glyph";
             return !font.glyphs.empty() || how.describe;
         },
     .notWritten = "TrueType, OpenType, PCF and .fon fonts can be read, not written",
     .help = "TrueType, OpenType (bitmap strikes, or\n"
             "outlines at --size), PCF (.pcf.gz too) and\n"
             "Windows fonts, through FreeType"},
    {.names = "asm",
     .extensions = ".s .asm .inc .a",
     .traits = Syntax,
     .writeSet =
         [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
            WriteFailure&) {
             out = formats::writeAsmSet(set, first, count, how.syntax, how.name);
             return true;
         },
     .writeMap =
         [](const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
             out = formats::writeAsmMap(map, how.syntax, how.name);
             return true;
         },
     .nameAllowed = formats::asmLabelAllowed,
     .badName = CNameRefusal,
     .help = "assembler source, see --syntax"},
    {.names = "c",
     .extensions = ".c",
     .writeSet = writeCSet<false>,
     .writeMap = writeCMap<false>,
     .nameAllowed = cName,
     .badName = CNameRefusal,
     .help = "const unsigned char NAME[N];"},
    {.names = "h",
     .extensions = ".h",
     .writeSet = writeCSet<true>,
     .writeMap = writeCMap<true>,
     .nameAllowed = cName,
     .badName = CNameRefusal,
     .help = "the same with a guard, defined where\n"
             "NAME_IMPLEMENTATION is"},
    {.names = "png",
     .extensions = ".png",
     .traits = Picture,
     .writeSet = writeSetPicture<formats::PictureType::Png>,
     .writeMap = writeMapPicture<formats::PictureType::Png>,
     .help = "a picture of 16 glyphs a row (--columns)"},
    {.names = "bmp",
     .extensions = ".bmp",
     .traits = Picture,
     .writeSet = writeSetPicture<formats::PictureType::Bmp>,
     .writeMap = writeMapPicture<formats::PictureType::Bmp>,
     .help = "the same; reads BMPs of 1, 4, 8 (also\n"
             "RLE), 24 and 32 bits"},
    {.names = "com",
     .extensions = ".com",
     .traits = DrawsMap,
     .screen = {formats::DosColumns, formats::DosRows},
     .shownColours = sixBitColours,
     .writeMap =
         [](const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
             out = formats::writeDosProgram(*how.font, map, how.ink, how.paper);
             return true;
         },
     .help = "with --map: a DOS program for a VGA that\n"
             "shows the map in 80x50 text (cut to it) with\n"
             "the set as its font until a key is pressed;\n"
             "--ink, --paper to 6 bits a channel, rounded",
     .fixedAddress = "a DOS .com program always loads at offset 0x100"},
    {.names = "xb",
     .extensions = ".xb",
     .traits = ReadsMap | DrawsMap | TallGlyphs,
     .shownColours = sixBitColours,
     .readGlyphs = readXBinGlyphs,
     .writeMap =
         [](const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
             out = formats::writeXBin(map, *how.font, how.ink, how.paper);
             return true;
         },
     .readMap =
         [](std::span<const std::uint8_t> bytes, formats::CodeMap& map, formats::FontGlyphs& font,
            std::vector<std::string>& notes, std::string& error) {
             formats::XBinContent xbin;
             if (!formats::readXBin(bytes, true, xbin, error)) return false;
             map = std::move(xbin.map);
             notes.emplace_back(XBinColoursNote);
             if (xbin.fontRows == 0) {
                 font.refusal = XBinNoFont;
                 notes.push_back(font.refusal + ": only its map is read");
             } else {
                 takeXBinFont(xbin, font);
             }
             return true;
         },
     .help = "XBin text-mode art (ansilove, PabloDraw):\n"
             "written from --map and --font, a palette of\n"
             "--ink and --paper (6 bits a channel, the\n"
             "nearest); read: its font as a set (--rows\n"
             "for a taller one), its characters as a map\n"
             "of the size it gives (--font-out: the font)",
     .fixedAddress = "an XBin is art for a viewer, not a program that loads"},
    {.names = "tap",
     .extensions = ".tap",
     .traits = LoadAddress | DrawsMap,
     .screen = {formats::ZxScreenColumns, formats::ZxScreenRows},
     .printed = {32, 96},
     .shownColours =
         [](Colour ink, Colour paper) {
             const std::uint8_t attribute = formats::zxAttribute(ink, paper);
             return ShownColours{formats::zxInkName(attribute), formats::zxPaperName(attribute)};
         },
     .writeSet = writeZxSet,
     .writeMap = writeZxMap,
     .help = "a ZX Spectrum tape that runs after LOAD \"\":\n"
             "a set that PRINT then uses (codes 32-127;\n"
             "more codes by --first/--count load too,\n"
             "but only programs of your own use them),\n"
             "or with --map and --font a 32x24 screen\n"
             "shown until a key",
     .setLoadAddress = formats::ZxSetLoadAddress,
     .mapLoadAddress = formats::ZxMapLoadAddress},
    {.names = "rom",
     .extensions = ".rom",
     .traits = Sequential | ReadsStart | DrawsMap | ShowsSet,
     .screen = {formats::MsxColumns, formats::MsxRows},
     .readGlyphs = readRawGlyphs,
     .writeSet = writeMsxSet,
     .writeMap =
         [](const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
             out = formats::writeMsxCartridge(*how.font, map, formats::msxColour(how.ink),
                                              formats::msxColour(how.paper));
             return true;
         },
     .help = "an MSX cartridge of 16 KB: the set, 32\n"
             "codes a row, or with --map and --font a\n"
             "32x24 screen, in SCREEN 1 until a key;\n"
             "read as raw (--skip 32: the set of one\n"
             "written here)",
     .fixedAddress = "an MSX cartridge always sits at 0x4000"},
    {.names = "map",
     .extensions = ".map",
     .traits = ReadsMap,
     .writeMap = writeMapCodes,
     .help = "a screen map: its codes row by row (--map)"},
    {.names = "builtin",
     .prefix = "builtin:",
     .readGlyphs =
         [](std::span<const std::uint8_t>, const GlyphReading& how, formats::FontGlyphs& font,
            std::string&) {
             const BuiltinCharsetInfo& set = *formats::builtinSetNamed(how.setName);
             font =
                 codedFont(formats::builtinSet(set), "built-in set", formats::builtinSetCodes(set));
             return true;
         },
     .notWritten = "built-in sets cannot be written",
     .help = "the editor's built-in sets:",
     .helpList = builtinSetList},
};

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

std::string_view fileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool endsWith(std::string_view s, std::string_view end) {
    return s.size() > end.size() && s.substr(s.size() - end.size()) == end;
}

// The pieces of a text cut at each `separator`; none of an empty text.
std::vector<std::string_view> piecesOf(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(separator, at), text.size());
        pieces.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return pieces;
}

} // namespace

std::span<const Format> formats() {
    return Formats;
}

std::vector<std::string_view> wordsOf(std::string_view list) {
    return piecesOf(list, ' ');
}

const Format* formatNamed(std::string_view name) {
    for (const Format& f : Formats) {
        const std::vector<std::string_view> names = wordsOf(f.names);
        if (!f.builtin() && std::find(names.begin(), names.end(), name) != names.end()) return &f;
    }
    return nullptr;
}

const Format* formatOfPath(std::string_view path, bool& gzip) {
    gzip = false;
    for (const Format& f : Formats)
        if (f.builtin() && path.starts_with(f.prefix)) return &f;
    std::string name = lower(fileName(path));
    gzip = endsWith(name, ".gz");
    if (gzip) name.resize(name.size() - 3);
    for (const Format& f : Formats)
        for (std::string_view extension : wordsOf(f.extensions))
            if (endsWith(name, extension)) return &f;
    return nullptr;
}

std::string fileStem(std::string_view path) {
    std::string_view name = fileName(path);
    bool gzip = false;
    if (formatOfPath(name, gzip)) {
        const std::size_t dots = gzip ? 2 : 1;
        for (std::size_t i = 0; i < dots; ++i) {
            const std::size_t dot = name.find_last_of('.');
            if (dot != std::string_view::npos) name = name.substr(0, dot);
        }
    }
    return std::string(name);
}

std::string formatNames(bool (*which)(const Format&), std::string_view last) {
    std::vector<std::string> names;
    for (const Format& f : Formats)
        if (which(f)) {
            if (f.builtin())
                names.push_back(std::string(f.prefix) + "NAME");
            else
                for (std::string_view name : wordsOf(f.names))
                    names.emplace_back(name);
        }
    // Appended piece by piece: GCC 12's optimiser warns wrongly about concatenation here.
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i + 1 == names.size() && i > 0) {
            text += ' ';
            text += last;
            text += ' ';
        } else if (i > 0) {
            text += ", ";
        }
        text += names[i];
    }
    return text;
}

std::string formatTable() {
    // Names from column 2, extensions from 11, "read, write" from 33, the row's lines from
    // 47; names too long for their column take the first line, the extensions the next.
    const auto column = [](std::string& line, std::size_t at) {
        line.resize(std::max(at, line.size() + 1), ' ');
    };
    std::string table;
    for (const Format& f : Formats) {
        std::string names;
        for (std::string_view name : wordsOf(f.names))
            names += (names.empty() ? "" : ", ") + std::string(name);
        const bool reads = f.readsSet() || f.has(ReadsMap);
        const bool writes = f.writesSet() || f.writesMap();
        const std::string access = reads && writes ? "read, write" : reads ? "read" : "write";
        const std::string extensions =
            f.builtin() ? std::string(f.prefix) + "NAME" : std::string(f.extensions);
        std::vector<std::string> lines(1, "  " + names);
        if (names.size() > 8) lines.emplace_back();
        column(lines.back(), 11);
        lines.back() += extensions;
        column(lines.front(), 33);
        lines.front() += access;
        std::size_t i = 0;
        for (std::string_view text : piecesOf(f.help, '\n')) {
            if (i == lines.size()) lines.emplace_back();
            column(lines[i], 47);
            lines[i++] += text;
        }
        for (std::size_t l = 0; l < lines.size(); ++l)
            table += lines[l] + (l + 1 < lines.size() || !f.helpList ? "\n" : "");
        if (f.helpList) table += f.helpList() + "\n";
    }
    return table;
}

std::string helpListLine(std::string_view name, std::string_view text) {
    return "\n" + std::string(20, ' ') + std::string(name) +
           std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') + std::string(text);
}

} // namespace tessaly::convert
