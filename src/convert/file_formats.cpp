#include "convert/file_formats.h"

#include "convert/picture_steps.h"
#include "formats/bdf.h"
#include "formats/builtin_set.h"
#include "formats/c_source.h"
#include "formats/freetype_font.h"
#include "formats/glyph_run.h"
#include "formats/prg.h"
#include "formats/psf.h"
#include "formats/raw.h"
#include "formats/source_text.h"

#include <algorithm>
#include <cstdio>

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

bool writePrg(std::span<const std::uint8_t> data, const Writing& how, Bytes& out,
              WriteFailure& failure) {
    failure.exitCode = 1;
    return formats::writePrg(data, how.loadAddress, out, failure.message);
}

const std::array<char32_t, GlyphCount>* unicodeOf(const Writing& how) {
    return how.order ? &how.order->unicode : nullptr;
}

std::string builtinSetList() {
    std::string list;
    for (const BuiltinCharsetInfo& set : builtinCharsets())
        list += helpListLine(set.name, set.menuText);
    return list;
}

constexpr std::string_view RawNames[] = {"raw"}, RawExtensions[] = {".fnt", ".bin", ".chr", ".rom"};
constexpr std::string_view PrgNames[] = {"prg"}, PrgExtensions[] = {".prg", ".64c"};
constexpr std::string_view PsfNames[] = {"psf"}, PsfExtensions[] = {".psf", ".psfu"};
constexpr std::string_view BdfNames[] = {"bdf"}, BdfExtensions[] = {".bdf"};
constexpr std::string_view FreeTypeNames[] = {"ttf", "otf", "otb", "pcf", "fon"},
                           FreeTypeExtensions[] = {".ttf", ".otf", ".otb", ".pcf", ".fon"};
constexpr std::string_view AsmNames[] = {"asm"}, AsmExtensions[] = {".s", ".asm", ".inc"};
constexpr std::string_view CNames[] = {"c"}, CExtensions[] = {".c"};
constexpr std::string_view HNames[] = {"h"}, HExtensions[] = {".h"};
constexpr std::string_view PngNames[] = {"png"}, PngExtensions[] = {".png"};
constexpr std::string_view BmpNames[] = {"bmp"}, BmpExtensions[] = {".bmp"};
constexpr std::string_view MapNames[] = {"map"}, MapExtensions[] = {".map"};
constexpr std::string_view BuiltinNames[] = {"builtin"};

constexpr std::string_view CNameRefusal =
    "name this output takes: a letter, then letters, digits and '_', and no keyword, register "
    "or instruction name";

const Format Formats[] = {
    {.names = RawNames,
     .extensions = RawExtensions,
     .traits = Sequential | ReadsStart | ReadsMap,
     .readGlyphs = [](std::span<const std::uint8_t> bytes, const GlyphReading& how,
                      formats::FontGlyphs& font, std::string& error) {
         Bytes rows;
         if (!formats::readRaw(bytes, rows, error)) return false;
         font = rowsFont(rows, "raw", how.keep);
         return true;
     },
     .writeSet = [](const Charset& set, int first, int count, const Writing&, Bytes& out,
                    WriteFailure&) {
         out = formats::glyphRows(set, first, count);
         return true;
     },
     .writeMap = writeMapCodes,
     .help = "  raw      .fnt .bin .chr .rom   read, write   8 bytes a glyph, top row first, no "
             "header;\n"
             "                                               any length reads, as in the "
             "editor\n"},
    {.names = PrgNames,
     .extensions = PrgExtensions,
     .traits = Sequential | ReadsStart | LoadAddress,
     .readGlyphs = [](std::span<const std::uint8_t> bytes, const GlyphReading& how,
                      formats::FontGlyphs& font, std::string& error) {
         Bytes rows;
         int address = 0;
         if (!formats::readPrg(bytes, rows, address, error)) return false;
         char text[48];
         std::snprintf(text, sizeof text, "prg, loading at $%04X", static_cast<unsigned>(address));
         font = rowsFont(rows, text, how.keep);
         return true;
     },
     .writeSet = [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
                    WriteFailure& failure) {
         return writePrg(formats::glyphRows(set, first, count), how, out, failure);
     },
     .writeMap = [](const formats::CodeMap& map, const Writing& how, Bytes& out,
                    WriteFailure& failure) { return writePrg(map.codes, how, out, failure); },
     .help = "  prg      .prg .64c             read, write   a 2-byte load address, then raw "
             "bytes\n"},
    {.names = PsfNames,
     .extensions = PsfExtensions,
     .traits = Font | Sequential | UnicodeLabels,
     .readGlyphs = [](std::span<const std::uint8_t> bytes, const GlyphReading&,
                      formats::FontGlyphs& font,
                      std::string& error) { return formats::readPsf(bytes, font, error); },
     .writeSet = [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
                    WriteFailure&) {
         out = formats::writePsf(set, first, count, unicodeOf(how));
         return true;
     },
     .help = "  psf      .psf .psfu            read, write   Linux console fonts, PSF 1 or 2, "
             "glyphs up to\n"
             "                                               8 pixels wide, with their Unicode "
             "table;\n"
             "                                               writes PSF 2 of 8x8 glyphs\n"},
    {.names = BdfNames,
     .extensions = BdfExtensions,
     .traits = Font | UnicodeLabels | Descent,
     .readGlyphs = [](std::span<const std::uint8_t> bytes, const GlyphReading&,
                      formats::FontGlyphs& font, std::string& error) {
         if (!formats::readBdf(bytes, font, error)) return false;
         if (font.glyphs.empty()) error = "the font has no glyph with an ENCODING from 0 to 255";
         return !font.glyphs.empty();
     },
     .writeSet = [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
                    WriteFailure&) {
         out = formats::writeBdf(set, first, count, how.name, unicodeOf(how));
         return true;
     },
     .nameAllowed = [](std::string_view name,
                       formats::AsmSyntax) { return formats::bdfFamilyAllowed(name); },
     .badName = "BDF family name: printable ASCII, spaces inside, and no '-', '*', '?', '\"' "
                "or ','",
     .help = "  bdf      .bdf                  read, write   X11 bitmap fonts; glyphs by "
             "ENCODING 0..255,\n"
             "                                               every character of an ISO10646 "
             "font\n"},
    {.names = FreeTypeNames,
     .extensions = FreeTypeExtensions,
     .traits = Font | Sized | Descent,
     .readGlyphs = [](std::span<const std::uint8_t> bytes, const GlyphReading& how,
                      formats::FontGlyphs& font, std::string& error) {
         if (!formats::readFreeTypeFont(bytes, how.pixelSize, font, error)) return false;
         if (font.glyphs.empty()) error = "the font holds no glyph";
         return !font.glyphs.empty();
     },
     .notWritten = "TrueType, OpenType, PCF and .fon fonts can be read, not written",
     .help = "  ttf, otf, otb, pcf, fon        read          TrueType, OpenType (bitmap strikes, "
             "or\n"
             "           .ttf .otf .otb .pcf .fon            outlines at --size), PCF (.pcf.gz "
             "too) and\n"
             "                                               Windows fonts, through FreeType\n"},
    {.names = AsmNames,
     .extensions = AsmExtensions,
     .traits = Syntax,
     .writeSet = [](const Charset& set, int first, int count, const Writing& how, Bytes& out,
                    WriteFailure&) {
         out = formats::writeAsmSet(set, first, count, how.syntax, how.name);
         return true;
     },
     .writeMap = [](const formats::CodeMap& map, const Writing& how, Bytes& out, WriteFailure&) {
         out = formats::writeAsmMap(map, how.syntax, how.name);
         return true;
     },
     .nameAllowed = formats::asmLabelAllowed,
     .badName = CNameRefusal,
     .help = "  asm      .s .asm .inc          write         assembler source, see --syntax\n"},
    {.names = CNames,
     .extensions = CExtensions,
     .writeSet = writeCSet<false>,
     .writeMap = writeCMap<false>,
     .nameAllowed = cName,
     .badName = CNameRefusal,
     .help = "  c, h     .c .h                 write         const unsigned char NAME[N]; .h "
             "with a guard\n"},
    {.names = HNames,
     .extensions = HExtensions,
     .writeSet = writeCSet<true>,
     .writeMap = writeCMap<true>,
     .nameAllowed = cName,
     .badName = CNameRefusal},
    {.names = PngNames,
     .extensions = PngExtensions,
     .traits = Picture,
     .writeSet = writeSetPicture<formats::PictureType::Png>,
     .writeMap = writeMapPicture<formats::PictureType::Png>,
     .help = "  png, bmp .png .bmp             read, write   a picture of 16 glyphs a row "
             "(--columns);\n"
             "                                               BMPs of 1, 4, 8 (also RLE), 24, "
             "32 bits\n"},
    {.names = BmpNames,
     .extensions = BmpExtensions,
     .traits = Picture,
     .writeSet = writeSetPicture<formats::PictureType::Bmp>,
     .writeMap = writeMapPicture<formats::PictureType::Bmp>},
    {.names = MapNames, .extensions = MapExtensions, .traits = ReadsMap, .writeMap = writeMapCodes},
    {.names = BuiltinNames,
     .prefix = "builtin:",
     .readGlyphs = [](std::span<const std::uint8_t>, const GlyphReading& how,
                      formats::FontGlyphs& font, std::string&) {
         const Charset set = formats::builtinSet(formats::builtinSetNamed(how.setName)->set);
         font.format = "built-in set";
         font.hasCodes = true;
         font.glyphs.resize(GlyphCount);
         for (int code = 0; code < GlyphCount; ++code) {
             const ConstGlyph g = glyph(set, code);
             font.glyphs[static_cast<std::size_t>(code)].rows.assign(g.begin(), g.end());
             font.glyphs[static_cast<std::size_t>(code)].code = code;
         }
         return true;
     },
     .notWritten = "built-in sets cannot be written",
     .help = "  builtin  builtin:NAME          read          the editor's built-in sets:\n",
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

} // namespace

std::span<const Format> formats() {
    return Formats;
}

const Format* formatNamed(std::string_view name) {
    for (const Format& f : Formats)
        if (!f.builtin() && std::find(f.names.begin(), f.names.end(), name) != f.names.end())
            return &f;
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
        for (std::string_view extension : f.extensions)
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

std::string helpListLine(std::string_view name, std::string_view text) {
    return std::string(20, ' ') + std::string(name) +
           std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') + std::string(text) + "\n";
}

} // namespace tessaly::convert
